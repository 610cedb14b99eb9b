#include "analisis/pista.h"

#include "analisis/pista_vectorial.h"
#include "analisis/recorrido_pista.h"
#include "datos/vectorial.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace zul {

namespace {

using recorrido::kDx;
using recorrido::kDy;
using recorrido::kSinCamino;
using recorrido::kUnidad;

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

// Rounds like std::lround, for the slopes' small values, without a call.
std::int8_t redondea(double x) {
    const long long t = static_cast<long long>(x);
    const double resto = x - static_cast<double>(t);
    return static_cast<std::int8_t>(t + static_cast<long long>(resto >= 0.5) -
                                    static_cast<long long>(resto <= -0.5));
}

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
    recorrido::Grafo grafo;
    grafo.ancho = ancho;
    grafo.bordeadas = bordeadas;
    std::array<std::ptrdiff_t, 8>& desplaza = grafo.desplaza;
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
    std::vector<std::uint8_t>& movimientos = grafo.movimientos;
    movimientos.assign(bordeadas, 0);
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
    std::vector<std::int32_t>& interseccion = grafo.interseccion;
    std::vector<std::size_t>& celdaInterseccion = grafo.celdaInterseccion;
    std::vector<std::uint8_t>& rumbosInterseccion = grafo.rumbosInterseccion;
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
    grafo.estados = estados;
    const auto estadoDe = [&](std::size_t p, int rumbo) { return grafo.estadoDe(p, rumbo); };
    // Forwards from the line, and backwards from it: round a corner each
    // alone would bunch up the distances on its outside, one before the
    // apex and the other after it; their mean runs evenly along the track.
    std::vector<std::int32_t> adelante;
    std::vector<std::int32_t> atras;
    std::vector<std::pair<std::size_t, double>> salidas;
    for (const Cruzado& p : cruces) {
        salidas.emplace_back(estadoDe(p.despues, p.direccion), p.ladoDespues);
    }
    recorrido::recorre(grafo, adelante, true, salidas);
    salidas.clear();
    for (const Cruzado& p : cruces) {
        salidas.emplace_back(estadoDe(p.antes, p.direccion), -p.ladoAntes);
    }
    recorrido::recorre(grafo, atras, false, salidas);
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
            x = campoVectorial::mediasAvx2(adelante.data() + inicio, atras.data() + inicio,
                                           columnas, largo * kUnidad, casiLargo, fila + 1);
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
            x = campoVectorial::pendientesAvx2(c, arriba, abajo, columnas, kEscalaPendiente, fila);
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
