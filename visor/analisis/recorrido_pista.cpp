#include "analisis/recorrido_pista.h"

#include "datos/vectorial.h"

#include <algorithm>
#include <cmath>

namespace zul::recorrido {

namespace {

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

// A bucket queue, since every distance pending lies within kDiagonal of the
// one being taken. `Indice` numbers the states: 32 bits unless there are more.
template <typename Indice>
void recorreCon(const Grafo& grafo, std::vector<std::int32_t>& quintos, bool adelante,
                const std::vector<std::pair<std::size_t, double>>& salidas) {
    static constexpr std::array<int, 8> opuesto = {1, 0, 3, 2, 7, 6, 5, 4};
    const std::size_t estados = grafo.estados;
    const std::size_t bordeadas = grafo.bordeadas;
    const int ancho = grafo.ancho;
    const std::array<std::ptrdiff_t, 8>& desplaza = grafo.desplaza;
    const std::vector<std::uint8_t>& movimientos = grafo.movimientos;
    const std::vector<std::int32_t>& interseccion = grafo.interseccion;
    const std::vector<std::size_t>& celdaInterseccion = grafo.celdaInterseccion;
    const auto estadoDe = [&](std::size_t p, int rumbo) { return grafo.estadoDe(p, rumbo); };
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
        pon(i,
            std::clamp(static_cast<std::int32_t>(std::lround(distancia * kUnidad)), 0, kDiagonal));
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
                        const Indice t = s + salto[4 + static_cast<std::size_t>(__builtin_ctz(b))];
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
}

} // namespace

void recorre(const Grafo& grafo, std::vector<std::int32_t>& quintos, bool adelante,
             const std::vector<std::pair<std::size_t, double>>& salidas) {
    if (grafo.estados <= std::numeric_limits<std::uint32_t>::max()) {
        recorreCon<std::uint32_t>(grafo, quintos, adelante, salidas);
    } else {
        recorreCon<std::size_t>(grafo, quintos, adelante, salidas);
    }
}

} // namespace zul::recorrido
