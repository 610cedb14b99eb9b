#include "analisis/pista.h"

#include "datos/vectorial.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

namespace zul {

namespace {

// Distances are whole fifths of a cell: a straight step costs 5, a diagonal
// one 7, so that one bucket queue orders them.
constexpr std::int32_t kRecto = 5;
constexpr std::int32_t kDiagonal = 7;
constexpr double kUnidad = 5.0;

// The eight steps to a neighbour: straight ones first.
constexpr std::array<int, 8> kDx = {1, -1, 0, 0, 1, 1, -1, -1};
constexpr std::array<int, 8> kDy = {0, 0, 1, -1, 1, -1, 1, -1};

bool esPista(const Mapa& mapa, int x, int y) {
    return x >= 0 && y >= 0 && x < mapa.columnas && y < mapa.filas &&
           mapa.celdas[static_cast<std::size_t>(y) * static_cast<std::size_t>(mapa.columnas) +
                       static_cast<std::size_t>(x)] != '5';
}

bool esPista(const Mapa& mapa, QPointF p) {
    return p.x() >= 0.0 && p.y() >= 0.0 && p.x() < mapa.columnas && p.y() < mapa.filas &&
           esPista(mapa, static_cast<int>(p.x()), static_cast<int>(p.y()));
}

double producto(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}

QPointF centroCelda(int x, int y) {
    return {x + 0.5, y + 0.5};
}

} // namespace

std::optional<LineaMeta> aprendeLinea(const Mapa& mapa, const std::vector<Cruce>& cruces) {
    QPointF suma;
    QPointF sumaDirecciones;
    int validos = 0;
    for (const Cruce& c : cruces) {
        const QPointF paso = c.despues - c.antes;
        const double largo = std::hypot(paso.x(), paso.y());
        if (!(largo > 0.0) || !std::isfinite(largo)) {
            continue;
        }
        suma += (c.antes + c.despues) / 2.0;
        sumaDirecciones += paso / largo;
        ++validos;
    }
    if (validos == 0) {
        return std::nullopt;
    }
    const double largo = std::hypot(sumaDirecciones.x(), sumaDirecciones.y());
    // Karts that cross it every which way draw no line.
    if (largo < 0.5 * validos) {
        return std::nullopt;
    }
    LineaMeta linea;
    linea.centro = suma / validos;
    linea.direccion = sumaDirecciones / largo;
    if (!esPista(mapa, linea.centro)) {
        return std::nullopt;
    }
    const QPointF normal(-linea.direccion.y(), linea.direccion.x());
    // Out to the first wall or the map's edge on either side.
    const double paso = 0.05;
    const double maximo = 2.0 * (mapa.filas + mapa.columnas) + 2.0;
    for (double signo : {-1.0, 1.0}) {
        double t = 0.0;
        while (t < maximo && esPista(mapa, linea.centro + normal * (signo * (t + paso)))) {
            t += paso;
        }
        (signo < 0 ? linea.desde : linea.hasta) = signo * (t + paso);
    }
    return linea;
}

namespace {

// No way reaches the state (yet).
constexpr std::int32_t kSinCamino = std::numeric_limits<std::int32_t>::max();

// The states waiting in a bucket queue, by distance modulo 8: every distance
// pending lies within kDiagonal of the one being taken. `Indice` numbers the
// states: 32 bits unless there are more.
template <typename Indice> class Cubos {
public:
    std::vector<Indice>& cubo(std::int32_t distancia) {
        return datos[static_cast<std::size_t>(distancia) & 7u];
    }
    std::size_t& cuenta(std::int32_t distancia) {
        return cuentas[static_cast<std::size_t>(distancia) & 7u];
    }
    void pon(std::int32_t distancia, Indice estado) {
        std::vector<Indice>& c = cubo(distancia);
        std::size_t& n = cuenta(distancia);
        if (n == c.size()) {
            c.resize(std::max<std::size_t>(64, 2 * c.size()));
        }
        c[n++] = estado;
        ++pendientes;
    }
    // Room for `mas` more states at `distancia`, written through a pointer.
    Indice* sitio(std::int32_t distancia, std::size_t mas) {
        std::vector<Indice>& c = cubo(distancia);
        const std::size_t n = cuenta(distancia);
        if (n + mas > c.size()) {
            c.resize(std::max(n + mas, 2 * c.size()));
        }
        return c.data() + n;
    }
    // Takes the states written through a pointer from sitio.
    void anota(std::int32_t distancia, const Indice* fin) {
        const std::size_t n = static_cast<std::size_t>(fin - cubo(distancia).data());
        pendientes += n - cuenta(distancia);
        cuenta(distancia) = n;
    }
    std::size_t pendientes = 0;

private:
    std::array<std::vector<Indice>, 8> datos;
    std::array<std::size_t, 8> cuentas{};
};

// The moves (bit d: towards kDx[d], kDy[d]) to the cells of bits 0 to 8 of
// the index: the cells round one, row by row from the top left, the centre
// (bit 4) included.
struct TablaVecinas {
    std::array<std::uint8_t, 512> movimientos{};
    constexpr TablaVecinas() {
        for (unsigned i = 0; i < 512; ++i) {
            unsigned m = 0;
            for (unsigned d = 0; d < 8; ++d) {
                const unsigned bit = static_cast<unsigned>((kDy[d] + 1) * 3 + kDx[d] + 1);
                m |= ((i >> bit) & 1u) << d;
            }
            movimientos[i] = static_cast<std::uint8_t>(m);
        }
    }
};
constexpr std::array<std::uint8_t, 512> kMovimientosDeVecinas = TablaVecinas().movimientos;

// Rounds like std::lround, for the slopes' small values, without a call.
std::int8_t redondea(double x) {
    const long long t = static_cast<long long>(x);
    const double resto = x - static_cast<double>(t);
    return static_cast<std::int8_t>(t + static_cast<long long>(resto >= 0.5) -
                                    static_cast<long long>(resto <= -0.5));
}

#if ZUL_HAY_VECTORIAL
// The mean of the two ways of a row of `n` cells, four at a time as
// CampoPista's constructor works it out one at a time (`largo5` is the lap
// in fifths), for the cells up to the last multiple of four; returns how
// many.
ZUL_AVX2 int mediasAvx2(const std::int32_t* adelante, const std::int32_t* atras, int n,
                        double largo5, double casiLargo, float* salida) {
    const __m256d porLargo = _mm256_set1_pd(largo5);
    const __m256d diez = _mm256_set1_pd(2.0 * kUnidad);
    const __m256d cero = _mm256_setzero_pd();
    const __m256d casi = _mm256_set1_pd(casiLargo);
    const __m128i sin = _mm_set1_epi32(kSinCamino);
    const __m128 ninguna = _mm_set1_ps(-1.0f);
    int x = 0;
    for (; x + 4 <= n; x += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(adelante + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(atras + x));
        const __m128i falta = _mm_or_si128(_mm_cmpeq_epi32(a, sin), _mm_cmpeq_epi32(b, sin));
        const __m256d d = _mm256_div_pd(
            _mm256_sub_pd(_mm256_add_pd(_mm256_cvtepi32_pd(a), porLargo), _mm256_cvtepi32_pd(b)),
            diez);
        // std::clamp(d, 0.0, casiLargo)
        const __m256d r =
            _mm256_blendv_pd(_mm256_blendv_pd(d, casi, _mm256_cmp_pd(casi, d, _CMP_LT_OQ)), cero,
                             _mm256_cmp_pd(d, cero, _CMP_LT_OQ));
        _mm_storeu_ps(salida + x,
                      _mm_blendv_ps(_mm256_cvtpd_ps(r), ninguna, _mm_castsi128_ps(falta)));
    }
    return x;
}

// A neighbour of four cells on the same stretch as them, or -1.
ZUL_AVX2 inline __m128 vecina4(__m128 d, __m128 propia) {
    const __m128 valor = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    const __m128 cerca = _mm_and_ps(
        _mm_cmp_ps(d, _mm_setzero_ps(), _CMP_GE_OQ),
        _mm_cmp_ps(_mm_and_ps(_mm_sub_ps(d, propia), valor), _mm_set1_ps(2.0f), _CMP_LE_OQ));
    return _mm_blendv_ps(_mm_set1_ps(-1.0f), d, cerca);
}

// The slope of four cells of a row from two neighbours, as the constructor
// works it out one at a time.
ZUL_AVX2 inline __m128i pendientes4(__m128 menos, __m128 propia, __m128 mas, double escala) {
    const __m128 cero = _mm_setzero_ps();
    menos = vecina4(menos, propia);
    mas = vecina4(mas, propia);
    const __m256i hayMenos =
        _mm256_cvtepi32_epi64(_mm_castps_si128(_mm_cmp_ps(menos, cero, _CMP_GE_OQ)));
    const __m256i hayMas =
        _mm256_cvtepi32_epi64(_mm_castps_si128(_mm_cmp_ps(mas, cero, _CMP_GE_OQ)));
    const __m256d ambas =
        _mm256_div_pd(_mm256_cvtps_pd(_mm_sub_ps(mas, menos)), _mm256_set1_pd(2.0));
    const __m256d soloMas = _mm256_cvtps_pd(_mm_sub_ps(mas, propia));
    const __m256d soloMenos = _mm256_cvtps_pd(_mm_sub_ps(propia, menos));
    __m256d p = _mm256_and_pd(soloMenos, _mm256_castsi256_pd(hayMenos));
    p = _mm256_blendv_pd(p, soloMas, _mm256_castsi256_pd(hayMas));
    p = _mm256_blendv_pd(p, ambas, _mm256_castsi256_pd(_mm256_and_si256(hayMenos, hayMas)));
    // std::clamp(p, -1.0, 1.0) * escala, rounded like std::lround.
    p = _mm256_min_pd(_mm256_max_pd(p, _mm256_set1_pd(-1.0)), _mm256_set1_pd(1.0));
    const __m256d x = _mm256_mul_pd(p, _mm256_set1_pd(escala));
    const __m256d t = _mm256_round_pd(x, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __m256d resto = _mm256_sub_pd(x, t);
    const __m256d uno = _mm256_set1_pd(1.0);
    const __m256d r = _mm256_sub_pd(
        _mm256_add_pd(t, _mm256_and_pd(_mm256_cmp_pd(resto, _mm256_set1_pd(0.5), _CMP_GE_OQ), uno)),
        _mm256_and_pd(_mm256_cmp_pd(resto, _mm256_set1_pd(-0.5), _CMP_LE_OQ), uno));
    return _mm256_cvttpd_epi32(r);
}

// The cells of a row of `n`, with their slopes: `c` is the row's distances
// (with the border at c[-1] and c[n]), `arriba` and `abajo` the rows above
// and below; four at a time, up to the last multiple of four; returns how
// many. Every byte of the cells is written, the padding as 0.
ZUL_AVX2 int pendientesAvx2(const float* c, const float* arriba, const float* abajo, int n,
                            double escala, void* fila) {
    auto* salida = static_cast<__m128i*>(fila);
    const __m128 cero = _mm_setzero_ps();
    const __m128i byte = _mm_set1_epi32(0xff);
    int x = 0;
    for (; x + 4 <= n; x += 4, salida += 2) {
        const __m128 d = _mm_loadu_ps(c + x);
        const __m128 hay = _mm_cmp_ps(d, cero, _CMP_GE_OQ);
        __m128i pendientes = _mm_setzero_si128();
        if (_mm_movemask_ps(hay) != 0) {
            const __m128i px =
                pendientes4(_mm_loadu_ps(c + x - 1), d, _mm_loadu_ps(c + x + 1), escala);
            const __m128i py =
                pendientes4(_mm_loadu_ps(arriba + x), d, _mm_loadu_ps(abajo + x), escala);
            pendientes = _mm_and_si128(
                _mm_or_si128(_mm_and_si128(px, byte), _mm_slli_epi32(_mm_and_si128(py, byte), 8)),
                _mm_castps_si128(hay));
        }
        const __m128i bits = _mm_castps_si128(d);
        _mm_storeu_si128(salida, _mm_unpacklo_epi32(bits, pendientes));
        _mm_storeu_si128(salida + 1, _mm_unpackhi_epi32(bits, pendientes));
    }
    return x;
}
#endif

} // namespace

CampoPista::CampoPista(const Mapa& mapa, const LineaMeta& linea,
                       const std::vector<Interseccion>& intersecciones)
    : filas(mapa.filas), columnas(mapa.columnas) {
    const QPointF u = linea.direccion;
    const QPointF normal(-u.y(), u.x());
    // Only moves near the line can cross it.
    const QPointF a = linea.centro + normal * linea.desde;
    const QPointF b = linea.centro + normal * linea.hasta;
    const int x0 = static_cast<int>(std::floor(std::min(a.x(), b.x()))) - 2;
    const int x1 = static_cast<int>(std::floor(std::max(a.x(), b.x()))) + 2;
    const int y0 = static_cast<int>(std::floor(std::min(a.y(), b.y()))) - 2;
    const int y1 = static_cast<int>(std::floor(std::max(a.y(), b.y()))) + 2;
    const auto lado = [&](int x, int y) { return producto(centroCelda(x, y) - linea.centro, u); };
    // Whether the move between two cells' centres crosses the line.
    const auto cruza = [&](int xa, int ya, int xb, int yb) {
        const double sa = lado(xa, ya);
        const double sb = lado(xb, yb);
        if ((sa < 0.0) == (sb < 0.0)) {
            return false;
        }
        const QPointF pa = centroCelda(xa, ya);
        const QPointF punto = pa + (centroCelda(xb, yb) - pa) * (sa / (sa - sb));
        const double w = producto(punto - linea.centro, normal);
        return w >= linea.desde && w <= linea.hasta;
    };

    // For each cell the moves it may make (bit d: towards kDx[d], kDy[d]),
    // diagonal ones only past two track cells, with a border of cells with
    // none round the map, so that a neighbour is an offset and never out of
    // bounds. A move and its opposite are allowed alike.
    const int ancho = columnas + 2;
    const std::size_t celdas = static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas);
    const std::size_t bordeadas =
        static_cast<std::size_t>(filas + 2) * static_cast<std::size_t>(ancho);
    const auto bordeada = [&](int x, int y) {
        return static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(ancho) +
               static_cast<std::size_t>(x + 1);
    };
    std::array<std::ptrdiff_t, 8> desplaza{};
    for (int d = 0; d < 8; ++d) {
        desplaza[static_cast<std::size_t>(d)] =
            static_cast<std::ptrdiff_t>(kDy[d]) * ancho + kDx[d];
    }
    // Whether a cell is track, a row at a time with a wall at each end,
    // for the row, the one above and the one below.
    const auto esPistaFila = [&](int y, std::uint8_t* fila) {
        std::fill(fila, fila + ancho, std::uint8_t{0});
        if (y < 0 || y >= filas) {
            return;
        }
        const char* deMapa =
            mapa.celdas.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas);
        for (int x = 0; x < columnas; ++x) {
            fila[x + 1] = deMapa[x] != '5' ? 1 : 0;
        }
    };
    std::vector<std::uint8_t> filasPista(3 * static_cast<std::size_t>(ancho));
    std::uint8_t* arriba = filasPista.data();
    std::uint8_t* c = arriba + ancho;
    std::uint8_t* abajo = c + ancho;
    esPistaFila(-1, arriba);
    esPistaFila(0, c);
    std::vector<std::uint8_t> movimientos(bordeadas, 0);
    for (int y = 0; y < filas; ++y) {
        esPistaFila(y + 1, abajo);
        std::uint8_t* m = movimientos.data() + bordeada(0, y) - 1;
        for (int x = 1; x <= columnas; ++x) {
            const unsigned derecha = c[x + 1];
            const unsigned izquierda = c[x - 1];
            const unsigned bajo = abajo[x];
            const unsigned alto = arriba[x];
            m[x] = static_cast<std::uint8_t>(
                (derecha | izquierda << 1 | bajo << 2 | alto << 3 |
                 (abajo[x + 1] & derecha & bajo) << 4 | (arriba[x + 1] & derecha & alto) << 5 |
                 (abajo[x - 1] & izquierda & bajo) << 6 | (arriba[x - 1] & izquierda & alto) << 7) *
                c[x]);
        }
        std::swap(arriba, c);
        std::swap(c, abajo);
    }
    // The moves across the line: taken out of the cells' moves, and kept,
    // from the side behind it, as where the ways start.
    struct Cruzado {
        std::size_t antes;
        std::size_t despues;
        int direccion;
        double ladoAntes;
        double ladoDespues;
    };
    std::vector<Cruzado> cruces;
    for (int y = std::max(y0 - 1, 0); y <= std::min(y1 + 1, filas - 1); ++y) {
        for (int x = std::max(x0 - 1, 0); x <= std::min(x1 + 1, columnas - 1); ++x) {
            const std::size_t p = bordeada(x, y);
            for (int d = 0; d < 8; ++d) {
                if ((movimientos[p] >> d & 1u) == 0 || !cruza(x, y, x + kDx[d], y + kDy[d])) {
                    continue;
                }
                movimientos[p] = static_cast<std::uint8_t>(movimientos[p] & ~(1u << d));
                if (lado(x, y) < 0.0) {
                    cruces.push_back({p, bordeada(x + kDx[d], y + kDy[d]), d, lado(x, y),
                                      lado(x + kDx[d], y + kDy[d])});
                }
            }
        }
    }

    // Where the track crosses itself a cell is driven two ways: there each
    // way is a state of its own, which only goes straight on, so no way
    // turns from one stretch onto the other.
    std::vector<std::int32_t> interseccion;
    std::vector<std::size_t> celdaInterseccion;
    std::vector<std::uint8_t> rumbosInterseccion;
    for (const Interseccion& c : intersecciones) {
        if (c.celda >= celdas || c.rumbos == 0) {
            continue;
        }
        if (interseccion.empty()) {
            interseccion.assign(bordeadas, -1);
        }
        const std::size_t p =
            bordeada(static_cast<int>(c.celda % static_cast<std::size_t>(columnas)),
                     static_cast<int>(c.celda / static_cast<std::size_t>(columnas)));
        if (mapa.celdas[c.celda] == '5') {
            continue;
        }
        if (interseccion[p] < 0) {
            interseccion[p] = static_cast<std::int32_t>(celdaInterseccion.size());
            celdaInterseccion.push_back(p);
            rumbosInterseccion.push_back(0);
            celdasInterseccion.push_back(c.celda);
        }
        rumbosInterseccion[static_cast<std::size_t>(interseccion[p])] |= c.rumbos;
    }
    std::sort(celdasInterseccion.begin(), celdasInterseccion.end());
    const std::size_t estados = bordeadas + 8 * celdaInterseccion.size();
    // No state (`estados`) for a way not driven there.
    const auto estadoDe = [&](std::size_t p, int rumbo) {
        if (interseccion.empty() || interseccion[p] < 0) {
            return p;
        }
        const std::size_t k = static_cast<std::size_t>(interseccion[p]);
        return (rumbosInterseccion[k] >> rumbo & 1u) != 0
                   ? bordeadas + 8 * k + static_cast<std::size_t>(rumbo)
                   : estados;
    };

    // Shortest ways over the states, forwards or backwards, from states that
    // start at their distance from the line, in fifths of a cell: a bucket
    // queue, since every distance pending lies within kDiagonal of the one
    // being taken.
    static constexpr std::array<int, 8> opuesto = {1, 0, 3, 2, 7, 6, 5, 4};
    const auto recorre = [&](auto indice, std::vector<std::int32_t>& quintos, bool adelante,
                             const std::vector<std::pair<std::size_t, double>>& salidas) {
        using Indice = decltype(indice);
        // One more, never reached, for reading the last cell's neighbours
        // four at a time.
        quintos.assign(estados + 1, kSinCamino);
        Cubos<Indice> cubos;
        const auto pon = [&](std::size_t i, std::int32_t valor) {
            if (i < estados && valor < quintos[i]) {
                quintos[i] = valor;
                cubos.pon(valor, static_cast<Indice>(i));
            }
        };
        for (const auto& [i, distancia] : salidas) {
            pon(i, std::clamp(static_cast<std::int32_t>(std::lround(distancia * kUnidad)), 0,
                              kDiagonal));
        }
        if (interseccion.empty()) {
            // Every state is a cell, and every move leads to one.
            std::array<Indice, 8> salto{};
            for (std::size_t d = 0; d < 8; ++d) {
                salto[d] = static_cast<Indice>(desplaza[d]);
            }
            std::int32_t* q = quintos.data();
            const std::uint8_t* m = movimientos.data();
            for (std::int32_t actual = 0; cubos.pendientes > 0; ++actual) {
                const std::size_t n = cubos.cuenta(actual);
                cubos.cuenta(actual) = 0;
                cubos.pendientes -= n;
                Indice* r = cubos.sitio(actual + kRecto, 4 * n);
                Indice* g = cubos.sitio(actual + kDiagonal, 4 * n);
                const Indice* cubo = cubos.cubo(actual).data();
                const std::int32_t dr = actual + kRecto;
                const std::int32_t dg = actual + kDiagonal;
#if ZUL_HAY_VECTORIAL
                if (vectorial::activo()) {
                    // The nine cells round each one in three rows of four,
                    // compared at once with what a move would bring them.
                    const __m128i filaExterior = _mm_setr_epi32(dg, dr, dg, kSinCamino);
                    const __m128i filaCentral = _mm_setr_epi32(dr, kSinCamino, dr, kSinCamino);
                    for (std::size_t k = 0; k < n; ++k) {
                        const Indice s = cubo[k];
                        if (q[s] != actual) {
                            continue; // reached sooner since
                        }
                        const std::int32_t* c = q + s;
                        const auto mejora = [&](const std::int32_t* fila, __m128i nuevo) {
                            const __m128i antes =
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(fila - 1));
                            return static_cast<unsigned>(
                                _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(antes, nuevo))));
                        };
                        const unsigned mejoras =
                            kMovimientosDeVecinas[mejora(c - ancho, filaExterior) |
                                                  mejora(c, filaCentral) << 3 |
                                                  mejora(c + ancho, filaExterior) << 6] &
                            m[s];
                        for (unsigned b = mejoras & 0xFu; b != 0; b &= b - 1) {
                            const Indice t = s + salto[static_cast<std::size_t>(__builtin_ctz(b))];
                            q[t] = dr;
                            *r++ = t;
                        }
                        for (unsigned b = mejoras >> 4; b != 0; b &= b - 1) {
                            const Indice t =
                                s + salto[4 + static_cast<std::size_t>(__builtin_ctz(b))];
                            q[t] = dg;
                            *g++ = t;
                        }
                    }
                    cubos.anota(actual + kRecto, r);
                    cubos.anota(actual + kDiagonal, g);
                    continue;
                }
#endif
                for (std::size_t k = 0; k < n; ++k) {
                    const Indice s = cubo[k];
                    if (q[s] != actual) {
                        continue; // reached sooner since
                    }
                    const unsigned ms = m[s];
                    for (std::size_t d = 0; d < 4; ++d) {
                        const Indice t = s + salto[d];
                        const std::int32_t antes = q[t];
                        const bool mejor = ((ms >> d) & 1u) != 0 && dr < antes;
                        q[t] = mejor ? dr : antes;
                        *r = t;
                        r += mejor;
                    }
                    for (std::size_t d = 4; d < 8; ++d) {
                        const Indice t = s + salto[d];
                        const std::int32_t antes = q[t];
                        const bool mejor = ((ms >> d) & 1u) != 0 && dg < antes;
                        q[t] = mejor ? dg : antes;
                        *g = t;
                        g += mejor;
                    }
                }
                cubos.anota(actual + kRecto, r);
                cubos.anota(actual + kDiagonal, g);
            }
            return;
        }
        for (std::int32_t actual = 0; cubos.pendientes > 0; ++actual) {
            const std::size_t n = cubos.cuenta(actual);
            cubos.cuenta(actual) = 0;
            cubos.pendientes -= n;
            // Nothing is put back at this distance while it is taken, so
            // the bucket stays where it is.
            const Indice* cubo = cubos.cubo(actual).data();
            for (std::size_t k = 0; k < n; ++k) {
                const std::size_t s = cubo[k];
                if (quintos[s] != actual) {
                    continue; // reached sooner since
                }
                std::size_t p = s;
                unsigned m = 0;
                int rumbo = -1;
                if (s < bordeadas) {
                    m = movimientos[p];
                } else {
                    const std::size_t c = (s - bordeadas) / 8;
                    rumbo = static_cast<int>((s - bordeadas) % 8);
                    p = celdaInterseccion[c];
                    m = movimientos[p] &
                        (1u << (adelante ? rumbo : opuesto[static_cast<std::size_t>(rumbo)]));
                }
                for (; m != 0; m &= m - 1) {
                    const int e = __builtin_ctz(m);
                    const std::size_t t =
                        p + static_cast<std::size_t>(desplaza[static_cast<std::size_t>(e)]);
                    // The way the kart heads: the move's, or the opposite
                    // of the move made backwards.
                    const int r = rumbo >= 0 ? rumbo
                                  : adelante ? e
                                             : opuesto[static_cast<std::size_t>(e)];
                    pon(estadoDe(t, r), actual + (e < 4 ? kRecto : kDiagonal));
                }
            }
        }
    };
    // States are numbered in 32 bits unless there are more.
    const auto recorreTodo = [&](std::vector<std::int32_t>& quintos, bool adelante,
                                 const std::vector<std::pair<std::size_t, double>>& salidas) {
        if (estados <= std::numeric_limits<std::uint32_t>::max()) {
            recorre(std::uint32_t{}, quintos, adelante, salidas);
        } else {
            recorre(std::size_t{}, quintos, adelante, salidas);
        }
    };
    // Forwards from the line, and backwards from it: round a corner each
    // alone would bunch up the distances on its outside, one before the
    // apex and the other after it; their mean runs evenly along the track.
    std::vector<std::int32_t> adelante;
    std::vector<std::int32_t> atras;
    std::vector<std::pair<std::size_t, double>> salidas;
    for (const Cruzado& p : cruces) {
        salidas.emplace_back(estadoDe(p.despues, p.direccion), p.ladoDespues);
    }
    recorreTodo(adelante, true, salidas);
    salidas.clear();
    for (const Cruzado& p : cruces) {
        salidas.emplace_back(estadoDe(p.antes, p.direccion), -p.ladoAntes);
    }
    recorreTodo(atras, false, salidas);
    // Round to the line again: from the last cells before it.
    double menor = std::numeric_limits<double>::infinity();
    for (const Cruzado& p : cruces) {
        const std::size_t s = estadoDe(p.antes, p.direccion);
        if (s < estados && adelante[s] != kSinCamino) {
            menor = std::min(menor, adelante[s] / kUnidad - p.ladoAntes);
        }
    }
    largo = std::isfinite(menor) && menor > 0.0 ? menor : 0.0;
    casiLargo = std::nextafter(largo, 0.0);
    inverso = largo > 0.0 ? 1.0 / largo : 0.0;

    const auto media = [&](std::size_t s) {
        if (s >= estados || adelante[s] == kSinCamino || atras[s] == kSinCamino) {
            return -1.0f;
        }
        const double d = (adelante[s] + largo * kUnidad - atras[s]) / (2.0 * kUnidad);
        return static_cast<float>(std::clamp(d, 0.0, casiLargo));
    };
#if ZUL_HAY_VECTORIAL
    const bool avx2 = vectorial::avx2();
#endif
    distanciasInterseccion.resize(8 * celdaInterseccion.size());
    for (std::size_t c = 0; c < celdasInterseccion.size(); ++c) {
        const std::size_t i = celdasInterseccion[c];
        const std::size_t p = bordeada(static_cast<int>(i % static_cast<std::size_t>(columnas)),
                                       static_cast<int>(i / static_cast<std::size_t>(columnas)));
        for (int r = 0; r < 8; ++r) {
            distanciasInterseccion[8 * c + static_cast<std::size_t>(r)] = media(estadoDe(p, r));
        }
    }
    // The slope from the neighbours on the same stretch: not across the
    // line, nor onto track the field reaches another way (nor off the map,
    // where the border has none).
    const auto vecina = [](float d, float propia) {
        return d >= 0.0f && std::abs(d - propia) <= 2.0f ? d : -1.0f;
    };
    const auto pendiente = [](float menos, float propia, float mas) {
        double p = 0.0;
        if (menos >= 0.0f && mas >= 0.0f) {
            p = (mas - menos) / 2.0;
        } else if (mas >= 0.0f) {
            p = mas - propia;
        } else if (menos >= 0.0f) {
            p = propia - menos;
        }
        return redondea(std::clamp(p, -1.0, 1.0) * kEscalaPendiente);
    };
    // Every cell's distance, a row at a time with none at each end, for
    // the row, the one above and the one below.
    const auto distanciasFila = [&](int y, float* fila) {
        std::fill(fila, fila + ancho, -1.0f);
        if (y < 0 || y >= filas) {
            return;
        }
        const std::size_t inicio = bordeada(0, y);
        int x = 0;
#if ZUL_HAY_VECTORIAL
        if (avx2) {
            x = mediasAvx2(adelante.data() + inicio, atras.data() + inicio, columnas,
                           largo * kUnidad, casiLargo, fila + 1);
        }
#endif
        for (; x < columnas; ++x) {
            fila[x + 1] = media(inicio + static_cast<std::size_t>(x));
        }
        if (!interseccion.empty()) {
            for (x = 0; x < columnas; ++x) {
                if (interseccion[inicio + static_cast<std::size_t>(x)] >= 0) {
                    fila[x + 1] = kInterseccion;
                }
            }
        }
    };
    std::vector<float> filasDistancia(3 * static_cast<std::size_t>(ancho));
    float* arribaD = filasDistancia.data();
    float* centroD = arribaD + ancho;
    float* abajoD = centroD + ancho;
    distanciasFila(-1, arribaD);
    distanciasFila(0, centroD);
    tabla.resize(celdas);
    for (int y = 0; y < filas; ++y) {
        distanciasFila(y + 1, abajoD);
        const float* c = centroD + 1;
        const float* arriba = arribaD + 1;
        const float* abajo = abajoD + 1;
        Celda* fila =
            tabla.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas);
        int x = 0;
#if ZUL_HAY_VECTORIAL
        if (avx2) {
            x = pendientesAvx2(c, arriba, abajo, columnas, kEscalaPendiente, fila);
        }
#endif
        for (; x < columnas; ++x) {
            const float d = c[x];
            Celda& t = fila[x];
            t.distancia = d;
            t.pendienteX = 0;
            t.pendienteY = 0;
            if (d >= 0.0f) {
                t.pendienteX = pendiente(vecina(c[x - 1], d), d, vecina(c[x + 1], d));
                t.pendienteY = pendiente(vecina(arriba[x], d), d, vecina(abajo[x], d));
            }
        }
        std::swap(arribaD, centroD);
        std::swap(centroD, abajoD);
    }
}

#if ZUL_HAY_VECTORIAL
namespace {

// What the vector paths of progresosQuietos take: the cells as
// CampoPista::Celda (the distance as a float in bytes 0 to 3, the slopes in
// bytes 4 and 5; negative distances are -1, none, and kFaltaRumbo, and are
// distanciaSinRumbo as they are), what a point outside the map reads (a
// cell with no distance), and the map has fewer than 2^31 cells, so a cell's
// index is exact in a double and fits in 32 bits.
struct Tabla {
    const long long* celdas;
    long long fuera;
    int filas;
    int columnas;
    double casiLargo;
    double escala;
    double inverso;
};

// progresosQuietos four records at a time, with the arithmetic of
// distanciaSinRumbo lane by lane, so the same doubles.
ZUL_AVX2 std::size_t quietosAvx2(const Tabla& t, const QPointF* puntos, double* progresos,
                                 std::size_t cuantos, const CampoPista::Quietos& q,
                                 std::size_t fase) {
    const __m256d cero = _mm256_setzero_pd();
    const __m256d ancho = _mm256_set1_pd(t.columnas);
    const __m256d alto = _mm256_set1_pd(t.filas);
    const __m256d medio = _mm256_set1_pd(0.5);
    const __m256d porEscala = _mm256_set1_pd(t.escala);
    const __m256d casi = _mm256_set1_pd(t.casiLargo);
    const __m256d porInverso = _mm256_set1_pd(t.inverso);
    const __m256i vacia = _mm256_set1_epi64x(t.fuera);
    // The floats of the four cells first, then their slopes.
    const __m256i junta = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const auto* p = reinterpret_cast<const double*>(puntos);
    const long long* const tabla = t.celdas;
    const double* const qVueltas = q.vueltas;
    const double* const qBajo = q.bajo;
    const double* const qAlto = q.alto;
    const std::size_t periodo = q.periodo;
    std::size_t k = 0;
    for (; k < cuantos; k += 4) {
        // Lanes hold records 0, 2, 1 and 3 until the fraction, which is put
        // back in order.
        const __m256d a = _mm256_loadu_pd(p + 2 * k);
        const __m256d b = _mm256_loadu_pd(p + 2 * k + 4);
        const __m256d px = _mm256_unpacklo_pd(a, b);
        const __m256d py = _mm256_unpackhi_pd(a, b);
        const __m256d dentro = _mm256_and_pd(
            _mm256_and_pd(_mm256_cmp_pd(px, cero, _CMP_GE_OQ), _mm256_cmp_pd(py, cero, _CMP_GE_OQ)),
            _mm256_and_pd(_mm256_cmp_pd(px, ancho, _CMP_LT_OQ),
                          _mm256_cmp_pd(py, alto, _CMP_LT_OQ)));
        // Inside the map, truncating is static_cast<int>.
        const __m256d x = _mm256_round_pd(px, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m256d y = _mm256_round_pd(py, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m128i indice = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(y, ancho), x));
        const __m256i celdas =
            _mm256_mask_i32gather_epi64(vacia, tabla, indice, _mm256_castpd_si256(dentro), 8);
        const __m256i juntas = _mm256_permutevar8x32_epi32(celdas, junta);
        const __m256d d = _mm256_cvtps_pd(_mm_castsi128_ps(_mm256_castsi256_si128(juntas)));
        const __m128i pendientes = _mm256_extracti128_si256(juntas, 1);
        const __m256d pendienteX =
            _mm256_cvtepi32_pd(_mm_srai_epi32(_mm_slli_epi32(pendientes, 24), 24));
        const __m256d pendienteY =
            _mm256_cvtepi32_pd(_mm_srai_epi32(_mm_slli_epi32(pendientes, 16), 24));
        const __m256d fx = _mm256_sub_pd(_mm256_sub_pd(px, x), medio);
        const __m256d fy = _mm256_sub_pd(_mm256_sub_pd(py, y), medio);
        const __m256d valor =
            _mm256_add_pd(d, _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(pendienteX, fx),
                                                         _mm256_mul_pd(pendienteY, fy)),
                                           porEscala));
        // valor < 0 ? 0 : valor < casiLargo ? valor : casiLargo; d where it
        // is negative.
        __m256d r = _mm256_blendv_pd(_mm256_min_pd(valor, casi), cero,
                                     _mm256_cmp_pd(valor, cero, _CMP_LT_OQ));
        r = _mm256_blendv_pd(r, d, _mm256_cmp_pd(d, cero, _CMP_LT_OQ));
        const __m256d fraccion = _mm256_mul_pd(_mm256_permute4x64_pd(r, 0xD8), porInverso);
        const __m256d quieto =
            _mm256_and_pd(_mm256_cmp_pd(fraccion, _mm256_loadu_pd(qBajo + fase), _CMP_GE_OQ),
                          _mm256_cmp_pd(fraccion, _mm256_loadu_pd(qAlto + fase), _CMP_LT_OQ));
        if (_mm256_movemask_pd(quieto) != 0xF) {
            break;
        }
        _mm256_storeu_pd(progresos + k, _mm256_add_pd(_mm256_loadu_pd(qVueltas + fase), fraccion));
        fase += 4;
        fase = fase == periodo ? 0 : fase;
    }
    return k;
}

// The same eight records at a time.
ZUL_AVX512 std::size_t quietosAvx512(const Tabla& t, const QPointF* puntos, double* progresos,
                                     std::size_t cuantos, const CampoPista::Quietos& q,
                                     std::size_t fase) {
    const __m512d cero = _mm512_setzero_pd();
    const __m512d ancho = _mm512_set1_pd(t.columnas);
    const __m512d alto = _mm512_set1_pd(t.filas);
    const __m512d medio = _mm512_set1_pd(0.5);
    const __m512d porEscala = _mm512_set1_pd(t.escala);
    const __m512d casi = _mm512_set1_pd(t.casiLargo);
    const __m512d porInverso = _mm512_set1_pd(t.inverso);
    const __m512i vacia = _mm512_set1_epi64(t.fuera);
    const __m512i pares = _mm512_setr_epi64(0, 2, 4, 6, 8, 10, 12, 14);
    const __m512i impares = _mm512_setr_epi64(1, 3, 5, 7, 9, 11, 13, 15);
    const auto* p = reinterpret_cast<const double*>(puntos);
    const long long* const tabla = t.celdas;
    const double* const qVueltas = q.vueltas;
    const double* const qBajo = q.bajo;
    const double* const qAlto = q.alto;
    const std::size_t periodo = q.periodo;
    std::size_t k = 0;
    for (; k < cuantos; k += 8) {
        const __m512d a = _mm512_loadu_pd(p + 2 * k);
        const __m512d b = _mm512_loadu_pd(p + 2 * k + 8);
        const __m512d px = _mm512_permutex2var_pd(a, pares, b);
        const __m512d py = _mm512_permutex2var_pd(a, impares, b);
        __mmask8 dentro = _mm512_cmp_pd_mask(px, cero, _CMP_GE_OQ);
        dentro = _mm512_mask_cmp_pd_mask(dentro, py, cero, _CMP_GE_OQ);
        dentro = _mm512_mask_cmp_pd_mask(dentro, px, ancho, _CMP_LT_OQ);
        dentro = _mm512_mask_cmp_pd_mask(dentro, py, alto, _CMP_LT_OQ);
        const __m512d x = _mm512_roundscale_pd(px, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m512d y = _mm512_roundscale_pd(py, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m256i indice = _mm512_cvttpd_epi32(_mm512_add_pd(_mm512_mul_pd(y, ancho), x));
        const __m512i celdas = _mm512_mask_i32gather_epi64(vacia, dentro, indice, tabla, 8);
        const __m512d d = _mm512_cvtps_pd(_mm256_castsi256_ps(_mm512_cvtepi64_epi32(celdas)));
        const __m256i pendientes = _mm512_cvtepi64_epi32(_mm512_srli_epi64(celdas, 32));
        const __m512d pendienteX =
            _mm512_cvtepi32_pd(_mm256_srai_epi32(_mm256_slli_epi32(pendientes, 24), 24));
        const __m512d pendienteY =
            _mm512_cvtepi32_pd(_mm256_srai_epi32(_mm256_slli_epi32(pendientes, 16), 24));
        const __m512d fx = _mm512_sub_pd(_mm512_sub_pd(px, x), medio);
        const __m512d fy = _mm512_sub_pd(_mm512_sub_pd(py, y), medio);
        const __m512d valor =
            _mm512_add_pd(d, _mm512_mul_pd(_mm512_add_pd(_mm512_mul_pd(pendienteX, fx),
                                                         _mm512_mul_pd(pendienteY, fy)),
                                           porEscala));
        __m512d r = _mm512_mask_mov_pd(_mm512_min_pd(valor, casi),
                                       _mm512_cmp_pd_mask(valor, cero, _CMP_LT_OQ), cero);
        r = _mm512_mask_mov_pd(r, _mm512_cmp_pd_mask(d, cero, _CMP_LT_OQ), d);
        const __m512d fraccion = _mm512_mul_pd(r, porInverso);
        __mmask8 quieto = _mm512_cmp_pd_mask(fraccion, _mm512_loadu_pd(qBajo + fase), _CMP_GE_OQ);
        quieto =
            _mm512_mask_cmp_pd_mask(quieto, fraccion, _mm512_loadu_pd(qAlto + fase), _CMP_LT_OQ);
        if (quieto != 0xFF) {
            break;
        }
        _mm512_storeu_pd(progresos + k, _mm512_add_pd(_mm512_loadu_pd(qVueltas + fase), fraccion));
        fase += 8;
        fase = fase == periodo ? 0 : fase;
    }
    return k;
}

} // namespace
#endif

std::size_t CampoPista::grupoVectorial() {
    return vectorial::avx512() ? 8 : vectorial::avx2() ? 4 : 0;
}

std::size_t CampoPista::progresosQuietos(const QPointF* puntos, double* progresos,
                                         std::size_t cuantos, const Quietos& quietos,
                                         std::size_t fase) const {
#if ZUL_HAY_VECTORIAL
    static_assert(sizeof(QPointF) == 2 * sizeof(double) && sizeof(Celda) == 8 &&
                  offsetof(Celda, pendienteX) == 4 && offsetof(Celda, pendienteY) == 5);
    static_assert(kFaltaRumbo == kInterseccion);
    const std::size_t grupo = grupoVectorial();
    if (grupo == 0 || tabla.size() >= (std::size_t{1} << 31)) {
        return 0;
    }
    // A cell with no distance (-1) and no slope.
    const float sinDistancia = -1.0f;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &sinDistancia, sizeof bits);
    const Tabla t{reinterpret_cast<const long long*>(tabla.data()),
                  static_cast<long long>(bits),
                  filas,
                  columnas,
                  casiLargo,
                  1.0 / kEscalaPendiente,
                  inverso};
    return (grupo == 8 ? quietosAvx512 : quietosAvx2)(t, puntos, progresos, cuantos, quietos, fase);
#else
    (void)puntos;
    (void)progresos;
    (void)cuantos;
    (void)quietos;
    (void)fase;
    return 0;
#endif
}

double CampoPista::enInterseccion(const QPointF& punto, const QPointF& rumbo) const {
    const double largoRumbo = std::hypot(rumbo.x(), rumbo.y());
    if (!(largoRumbo > 0.0)) {
        return -1.0;
    }
    const std::size_t i = static_cast<std::size_t>(punto.y()) * static_cast<std::size_t>(columnas) +
                          static_cast<std::size_t>(punto.x());
    const auto it = std::lower_bound(celdasInterseccion.begin(), celdasInterseccion.end(), i);
    const std::size_t c = static_cast<std::size_t>(it - celdasInterseccion.begin());
    // The way nearest the kart's own that the field reaches, within 67.5
    // degrees: the one it is driving.
    int mejor = -1;
    double coseno = 0.38;
    for (int r = 0; r < 8; ++r) {
        const double cr =
            (rumbo.x() * kDx[r] + rumbo.y() * kDy[r]) / (largoRumbo * std::hypot(kDx[r], kDy[r]));
        if (cr > coseno && distanciasInterseccion[8 * c + static_cast<std::size_t>(r)] >= 0.0f) {
            coseno = cr;
            mejor = r;
        }
    }
    if (mejor < 0) {
        return -1.0;
    }
    // Along that way the distance grows as the kart moves.
    const double d = distanciasInterseccion[8 * c + static_cast<std::size_t>(mejor)];
    const double x = punto.x() - std::floor(punto.x()) - 0.5;
    const double y = punto.y() - std::floor(punto.y()) - 0.5;
    const double valor = d + (x * kDx[mejor] + y * kDy[mejor]) / std::hypot(kDx[mejor], kDy[mejor]);
    return valor < 0.0 ? 0.0 : valor < casiLargo ? valor : casiLargo;
}

} // namespace zul
