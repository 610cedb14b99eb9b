// The progress round the track is worked out fast: the field with a bucket
// queue of its own and rows of vector instructions, the crossings looked for
// only near where a kart drove far enough to come back, and most records in
// one vector pass. These tests hold all three to the plain way they were
// worked out before, kept here as it was written (the field, the crossings,
// and every record's progress and sector times), bit for bit, with each
// width of vector instructions the processor has (AVX-512, AVX2, SSE4.1,
// none).
#include "analisis/analisis.h"
#include "analisis/intersecciones.h"
#include "analisis/pista.h"
#include "datos/carrera.h"
#include "datos/mapa.h"
#include "datos/vectorial.h"

#include <gtest/gtest.h>

#include <QPointF>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// The plain way, as it was: visor/analisis/pista.cpp, intersecciones.cpp and
// analisis_progreso.cpp before their fast paths (commit cd57004), copied.

namespace campo_referencia {

using namespace zul;

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

double producto(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}

QPointF centroCelda(int x, int y) {
    return {x + 0.5, y + 0.5};
}

// The field as CampoPista worked it out before its vector paths: two passes
// of a bucket queue over the bordered map, then every cell's mean and slope.
struct Campo {
    Campo(const zul::Mapa& mapa, const zul::LineaMeta& linea,
          const std::vector<zul::Interseccion>& intersecciones);

    double distanciaONegativa(const QPointF& punto, const QPointF& rumbo = QPointF()) const {
        if (!(punto.x() >= 0.0) || !(punto.y() >= 0.0) || punto.x() >= columnas ||
            punto.y() >= filas) {
            return -1.0;
        }
        const int x = static_cast<int>(punto.x());
        const int y = static_cast<int>(punto.y());
        const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
                              static_cast<std::size_t>(x);
        const float d = distancias[i];
        if (d < 0.0f) {
            return d == kInterseccion ? enInterseccion(i, punto, rumbo) : -1.0;
        }
        const double valor = d + (pendientes[2 * i] * (punto.x() - x - 0.5) +
                                  pendientes[2 * i + 1] * (punto.y() - y - 0.5)) *
                                     (1.0 / kEscalaPendiente);
        return valor < 0.0 ? 0.0 : valor < casiLargo ? valor : casiLargo;
    }

    static constexpr double kEscalaPendiente = 127.0;
    static constexpr float kInterseccion = -2.0f;

    double enInterseccion(std::size_t i, const QPointF& punto, const QPointF& rumbo) const;

    int filas = 0;
    int columnas = 0;
    std::vector<float> distancias;
    std::vector<std::int8_t> pendientes;
    double largo = 0.0;
    double casiLargo = 0.0;
    double inverso = 0.0;
    std::vector<std::size_t> celdasInterseccion;
    std::vector<float> distanciasInterseccion;
};

Campo::Campo(const zul::Mapa& mapa, const zul::LineaMeta& linea,
             const std::vector<zul::Interseccion>& intersecciones)
    : filas(mapa.filas), columnas(mapa.columnas) {
    const QPointF u = linea.direccion;
    const QPointF normal(-u.y(), u.x());
    // Only steps near the line can cross it.
    const QPointF a = linea.centro + normal * linea.desde;
    const QPointF b = linea.centro + normal * linea.hasta;
    const int x0 = static_cast<int>(std::floor(std::min(a.x(), b.x()))) - 2;
    const int x1 = static_cast<int>(std::floor(std::max(a.x(), b.x()))) + 2;
    const int y0 = static_cast<int>(std::floor(std::min(a.y(), b.y()))) - 2;
    const int y1 = static_cast<int>(std::floor(std::max(a.y(), b.y()))) + 2;
    const auto lado = [&](int x, int y) { return producto(centroCelda(x, y) - linea.centro, u); };
    // Whether the step between two cells' centres crosses the line.
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

    // The map with a border of wall round it, so that a neighbour is an
    // offset and never out of bounds; and for each cell the steps it may
    // take (bit d: towards kDx[d], kDy[d]), diagonal ones only past two
    // track cells. A step and its opposite are allowed alike.
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
    std::vector<std::uint8_t> pista(bordeadas, 0);
    for (int y = 0; y < filas; ++y) {
        for (int x = 0; x < columnas; ++x) {
            pista[bordeada(x, y)] = esPista(mapa, x, y) ? 1 : 0;
        }
    }
    std::vector<std::uint8_t> pasos(bordeadas, 0);
    for (int y = 0; y < filas; ++y) {
        for (std::size_t p = bordeada(0, y), fin = p + static_cast<std::size_t>(columnas); p < fin;
             ++p) {
            if (pista[p] == 0) {
                continue;
            }
            std::uint8_t m = 0;
            for (int d = 0; d < 8; ++d) {
                const std::size_t q =
                    p + static_cast<std::size_t>(desplaza[static_cast<std::size_t>(d)]);
                if (pista[q] != 0 &&
                    (d < 4 || (pista[p + static_cast<std::size_t>(kDx[d])] != 0 &&
                               pista[p + static_cast<std::size_t>(
                                             static_cast<std::ptrdiff_t>(kDy[d]) * ancho)] != 0))) {
                    m = static_cast<std::uint8_t>(m | (1u << d));
                }
            }
            pasos[p] = m;
        }
    }
    // The steps across the line: taken out of the cells' steps, and kept,
    // from the side behind it, as where the ways start.
    struct Paso {
        std::size_t antes;
        std::size_t despues;
        int direccion;
        double ladoAntes;
        double ladoDespues;
    };
    std::vector<Paso> cruces;
    for (int y = std::max(y0 - 1, 0); y <= std::min(y1 + 1, filas - 1); ++y) {
        for (int x = std::max(x0 - 1, 0); x <= std::min(x1 + 1, columnas - 1); ++x) {
            const std::size_t p = bordeada(x, y);
            for (int d = 0; d < 8; ++d) {
                if ((pasos[p] >> d & 1u) == 0 || !cruza(x, y, x + kDx[d], y + kDy[d])) {
                    continue;
                }
                pasos[p] = static_cast<std::uint8_t>(pasos[p] & ~(1u << d));
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
        if (pista[p] == 0) {
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
    // start at their distance from the line: a bucket queue, since every
    // distance pending lies within kDiagonal of the one being taken.
    static constexpr std::array<int, 8> opuesto = {1, 0, 3, 2, 7, 6, 5, 4};
    const auto recorre = [&](std::vector<std::int32_t>& quintos, bool adelante,
                             const std::vector<std::pair<std::size_t, double>>& salidas) {
        quintos.assign(estados, -1);
        std::array<std::vector<std::size_t>, 8> cubos;
        std::size_t porTomar = 0;
        const auto pon = [&](std::size_t i, std::int32_t valor) {
            if (i >= estados) {
                return;
            }
            std::int32_t& d = quintos[i];
            if (d < 0 || valor < d) {
                d = valor;
                cubos[static_cast<std::size_t>(valor) & 7u].push_back(i);
                ++porTomar;
            }
        };
        for (const auto& [i, distancia] : salidas) {
            pon(i, std::clamp(static_cast<std::int32_t>(std::lround(distancia * kUnidad)), 0,
                              kDiagonal));
        }
        for (std::int32_t actual = 0; porTomar > 0; ++actual) {
            std::vector<std::size_t>& cubo = cubos[static_cast<std::size_t>(actual) & 7u];
            while (!cubo.empty()) {
                const std::size_t s = cubo.back();
                cubo.pop_back();
                --porTomar;
                if (quintos[s] != actual) {
                    continue; // reached sooner since
                }
                std::size_t p = s;
                unsigned m = 0;
                int rumbo = -1;
                if (s < bordeadas) {
                    m = pasos[p];
                } else {
                    const std::size_t k = (s - bordeadas) / 8;
                    rumbo = static_cast<int>((s - bordeadas) % 8);
                    p = celdaInterseccion[k];
                    m = pasos[p] &
                        (1u << (adelante ? rumbo : opuesto[static_cast<std::size_t>(rumbo)]));
                }
                for (; m != 0; m &= m - 1) {
                    const int e = __builtin_ctz(m);
                    const std::size_t q =
                        p + static_cast<std::size_t>(desplaza[static_cast<std::size_t>(e)]);
                    // The way the kart heads: the step's, or the opposite
                    // of the step taken backwards.
                    const int r = rumbo >= 0 ? rumbo
                                  : adelante ? e
                                             : opuesto[static_cast<std::size_t>(e)];
                    pon(estadoDe(q, r), actual + (e < 4 ? kRecto : kDiagonal));
                }
            }
        }
    };
    // Forwards from the line, and backwards from it: round a corner each
    // alone would bunch up the distances on its outside, one before the
    // apex and the other after it; their mean runs evenly along the track.
    std::vector<std::int32_t> adelante;
    std::vector<std::int32_t> atras;
    std::vector<std::pair<std::size_t, double>> salidas;
    for (const Paso& p : cruces) {
        salidas.emplace_back(estadoDe(p.despues, p.direccion), p.ladoDespues);
    }
    recorre(adelante, true, salidas);
    salidas.clear();
    for (const Paso& p : cruces) {
        salidas.emplace_back(estadoDe(p.antes, p.direccion), -p.ladoAntes);
    }
    recorre(atras, false, salidas);
    // Round to the line again: from the last cells before it.
    double menor = std::numeric_limits<double>::infinity();
    for (const Paso& p : cruces) {
        const std::size_t s = estadoDe(p.antes, p.direccion);
        if (s < estados && adelante[s] >= 0) {
            menor = std::min(menor, adelante[s] / kUnidad - p.ladoAntes);
        }
    }
    largo = std::isfinite(menor) && menor > 0.0 ? menor : 0.0;
    casiLargo = std::nextafter(largo, 0.0);
    inverso = largo > 0.0 ? 1.0 / largo : 0.0;

    const auto media = [&](std::size_t s) {
        if (s >= estados || adelante[s] < 0 || atras[s] < 0) {
            return -1.0f;
        }
        const double d = (adelante[s] + largo * kUnidad - atras[s]) / (2.0 * kUnidad);
        return static_cast<float>(std::clamp(d, 0.0, casiLargo));
    };
    distancias.assign(celdas, -1.0f);
    for (int y = 0; y < filas; ++y) {
        const std::size_t fila = static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas);
        for (int x = 0; x < columnas; ++x) {
            const std::size_t p = bordeada(x, y);
            distancias[fila + static_cast<std::size_t>(x)] =
                !interseccion.empty() && interseccion[p] >= 0 ? kInterseccion : media(p);
        }
    }
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
    // line, nor onto track the field reaches another way.
    pendientes.assign(2 * celdas, 0);
    const auto vecina = [&](int x, int y, float propia) -> float {
        if (x < 0 || y < 0 || x >= columnas || y >= filas) {
            return -1.0f;
        }
        const float d =
            distancias[static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
                       static_cast<std::size_t>(x)];
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
        return static_cast<std::int8_t>(std::lround(std::clamp(p, -1.0, 1.0) * kEscalaPendiente));
    };
    for (int y = 0; y < filas; ++y) {
        for (int x = 0; x < columnas; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
                                  static_cast<std::size_t>(x);
            const float d = distancias[i];
            if (d >= 0.0f) {
                pendientes[2 * i] = pendiente(vecina(x - 1, y, d), d, vecina(x + 1, y, d));
                pendientes[2 * i + 1] = pendiente(vecina(x, y - 1, d), d, vecina(x, y + 1, d));
            }
        }
    }
}

double Campo::enInterseccion(std::size_t i, const QPointF& punto, const QPointF& rumbo) const {
    const double largoRumbo = std::hypot(rumbo.x(), rumbo.y());
    if (!(largoRumbo > 0.0)) {
        return -1.0;
    }
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

} // namespace campo_referencia

namespace cruces_referencia {

using namespace zul;

// Two passes cross where they come within a cell, heading 60 to 120
// degrees apart (a kart coming back the way it went, round a hairpin, is no
// crossing), with the kart gone this far away in between.
constexpr double kCercania = 1.0;
constexpr double kCosenoMaximo = 0.5;
constexpr double kLejos = 8.0;
// Steps longer than this are a kart put back on the track, not driving.
constexpr double kPasoMaximo = 3.0;
constexpr int kRadioMaximo = 8;

constexpr std::array<int, 8> kDx = {1, -1, 0, 0, 1, 1, -1, -1};
constexpr std::array<int, 8> kDy = {0, 0, 1, -1, 1, -1, 1, -1};

// The neighbours' directions nearest a heading: the nearest one, and the
// next one too when it is within 30 degrees.
std::uint8_t rumbosCercanos(QPointF rumbo) {
    std::array<double, 8> cosenos{};
    for (std::size_t d = 0; d < 8; ++d) {
        cosenos[d] = (rumbo.x() * kDx[d] + rumbo.y() * kDy[d]) / std::hypot(kDx[d], kDy[d]);
    }
    const std::size_t mejor = static_cast<std::size_t>(
        std::max_element(cosenos.begin(), cosenos.end()) - cosenos.begin());
    std::uint8_t rumbos = static_cast<std::uint8_t>(1u << mejor);
    for (std::size_t d = 0; d < 8; ++d) {
        if (d != mejor && cosenos[d] >= 0.866) {
            rumbos = static_cast<std::uint8_t>(rumbos | (1u << d));
        }
    }
    return rumbos;
}

double cuadrado(QPointF d) {
    return d.x() * d.x() + d.y() * d.y();
}

// A kart's latest record in a cell.
struct Visita {
    std::int32_t frame = -1;
    std::int32_t jugador = -1;
};

struct Hallazgo {
    Interseccion interseccion;
    int jugador = 0;
};

std::vector<zul::Interseccion> intersecciones(const zul::Mapa& mapa, const zul::Carrera& carrera,
                                              const std::vector<long long>& desde,
                                              long long hasta) {
    const int n = carrera.numJugadores;
    const int columnas = mapa.columnas;
    if (n <= 0 || columnas <= 0 || mapa.filas <= 0) {
        return {};
    }
    const std::size_t celdas =
        static_cast<std::size_t>(mapa.filas) * static_cast<std::size_t>(columnas);
    const auto indice = [&](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
               static_cast<std::size_t>(x);
    };
    const auto esPista = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < columnas && y < mapa.filas &&
               mapa.celdas[indice(x, y)] != '5';
    };
    const std::size_t registros = std::min(carrera.posiciones.size(), carrera.vueltas.size());
    hasta = std::min({hasta, static_cast<long long>(registros / static_cast<std::size_t>(n)),
                      static_cast<long long>(INT32_MAX)});
    const auto registro = [&](long long f, int j) {
        return static_cast<std::size_t>(f) * static_cast<std::size_t>(n) +
               static_cast<std::size_t>(j);
    };
    // The way a kart moved into its record; nothing for no step or a jump.
    const auto rumboEn = [&](long long f, int j, QPointF& rumbo) {
        const QPointF paso =
            carrera.posiciones[registro(f, j)] - carrera.posiciones[registro(f - 1, j)];
        const double largo = std::hypot(paso.x(), paso.y());
        if (!(largo > 1e-6) || largo > kPasoMaximo) {
            return false;
        }
        rumbo = paso / largo;
        return true;
    };
    std::vector<Visita> visitas(celdas);
    std::vector<Hallazgo> hallazgos;
    for (int j = 0; j < n && static_cast<std::size_t>(j) < desde.size(); ++j) {
        for (long long f = std::max(desde[static_cast<std::size_t>(j)], 1LL); f < hasta; ++f) {
            const QPointF p = carrera.posiciones[registro(f, j)];
            if (!(p.x() >= 0.0) || !(p.y() >= 0.0) || p.x() >= columnas || p.y() >= mapa.filas) {
                continue;
            }
            const int x = static_cast<int>(p.x());
            const int y = static_cast<int>(p.y());
            const int v = carrera.vueltas[registro(f, j)];
            for (int cy = std::max(y - 1, 0); cy <= std::min(y + 1, mapa.filas - 1); ++cy) {
                for (int cx = std::max(x - 1, 0); cx <= std::min(x + 1, columnas - 1); ++cx) {
                    const Visita u = visitas[indice(cx, cy)];
                    if (u.jugador != j || f - u.frame < 4) {
                        continue;
                    }
                    const QPointF q = carrera.posiciones[registro(u.frame, j)];
                    if (cuadrado(q - p) > kCercania * kCercania ||
                        carrera.vueltas[registro(u.frame, j)] != v) {
                        continue;
                    }
                    bool lejos = false;
                    for (long long c = 1; c <= 3 && !lejos; ++c) {
                        const QPointF m =
                            carrera.posiciones[registro(u.frame + (f - u.frame) * c / 4, j)];
                        lejos = cuadrado(m - p) >= kLejos * kLejos;
                    }
                    QPointF antes;
                    QPointF ahora;
                    const QPointF medio = (p + q) / 2.0;
                    if (lejos && u.frame >= 1 && rumboEn(u.frame, j, antes) &&
                        rumboEn(f, j, ahora) &&
                        std::abs(antes.x() * ahora.x() + antes.y() * ahora.y()) < kCosenoMaximo &&
                        esPista(static_cast<int>(medio.x()), static_cast<int>(medio.y()))) {
                        hallazgos.push_back(
                            {{indice(static_cast<int>(medio.x()), static_cast<int>(medio.y())),
                              static_cast<std::uint8_t>(rumbosCercanos(antes) |
                                                        rumbosCercanos(ahora))},
                             j});
                    }
                }
            }
            visitas[indice(x, y)] = {static_cast<std::int32_t>(f), j};
        }
    }
    // A crossing every kart drives; what one kart alone shows, among
    // several, is its own wandering.
    std::vector<Interseccion> cruzadas;
    if (hallazgos.empty()) {
        return cruzadas;
    }
    std::vector<std::int32_t> quien(celdas, -1); // -2: several karts
    for (const Hallazgo& h : hallazgos) {
        std::int32_t& q = quien[h.interseccion.celda];
        q = q == -1 || q == h.jugador ? h.jugador : -2;
    }
    for (const Hallazgo& h : hallazgos) {
        const int x = static_cast<int>(h.interseccion.celda % static_cast<std::size_t>(columnas));
        const int y = static_cast<int>(h.interseccion.celda / static_cast<std::size_t>(columnas));
        bool confirmada = n == 1;
        for (int cy = std::max(y - 1, 0); cy <= std::min(y + 1, mapa.filas - 1) && !confirmada;
             ++cy) {
            for (int cx = std::max(x - 1, 0); cx <= std::min(x + 1, columnas - 1); ++cx) {
                const std::int32_t q = quien[indice(cx, cy)];
                confirmada = confirmada || q == -2 || (q >= 0 && q != h.jugador);
            }
        }
        if (confirmada) {
            cruzadas.push_back(h.interseccion);
        }
    }
    // Out to the nearest wall round each: the whole of where the stretches
    // overlap, whatever line the karts took through it.
    std::vector<Interseccion> resultado;
    for (const Interseccion& c : cruzadas) {
        const int x = static_cast<int>(c.celda % static_cast<std::size_t>(columnas));
        const int y = static_cast<int>(c.celda / static_cast<std::size_t>(columnas));
        int radio = kRadioMaximo;
        for (std::size_t d = 0; d < 8; ++d) {
            int r = 1;
            while (r < radio && esPista(x + r * kDx[d], y + r * kDy[d])) {
                ++r;
            }
            radio = std::min(radio, r);
        }
        for (int cy = y - radio; cy <= y + radio; ++cy) {
            for (int cx = x - radio; cx <= x + radio; ++cx) {
                if (esPista(cx, cy)) {
                    resultado.push_back(
                        {static_cast<std::size_t>(cy) * static_cast<std::size_t>(columnas) +
                             static_cast<std::size_t>(cx),
                         c.rumbos});
                }
            }
        }
    }
    // One entry a cell, with every way driven through it.
    std::sort(resultado.begin(), resultado.end(),
              [](const Interseccion& a, const Interseccion& b) { return a.celda < b.celda; });
    std::vector<Interseccion> unidas;
    for (const Interseccion& c : resultado) {
        if (!unidas.empty() && unidas.back().celda == c.celda) {
            unidas.back().rumbos = static_cast<std::uint8_t>(unidas.back().rumbos | c.rumbos);
        } else {
            unidas.push_back(c);
        }
    }
    return unidas;
}

} // namespace cruces_referencia

// Every record's progress and every kart's sector times, as AnalisisCarrera
// worked them out: every record through the same steps, in frame order.
struct TiemposSectores {
    long long frame = 0;
    std::array<long long, zul::kSectores> ultimo{};
    std::array<long long, zul::kSectores> mejor{};
};

struct Progreso {
    std::vector<double> progresos;
    std::vector<std::vector<TiemposSectores>> sectores;
};

Progreso progresoReferencia(const zul::Carrera& carrera, const zul::CampoPista& campo,
                            long long frames) {
    struct Recorrido {
        bool visto = false;
        QPointF posicion;
        QPointF rumbo;
        int vueltas = 0;
        double fraccion = 0.0;
        long long maximo = 0;
        int vueltasAntes = 0;
        int sector = 0;
        long long inicioSector = 0;
        bool sectorObservado = false;
        std::array<long long, zul::kSectores> ultimo{-1, -1, -1};
        std::array<long long, zul::kSectores> mejor{-1, -1, -1};
    };
    constexpr double kCasiUno = 1.0 - 1e-9;
    const auto sectorDe = [](double fraccion) {
        return fraccion < 1.0 / zul::kSectores ? 0 : fraccion < 2.0 / zul::kSectores ? 1 : 2;
    };
    const std::size_t n = static_cast<std::size_t>(carrera.numJugadores);
    Progreso resultado;
    resultado.sectores.resize(n);
    std::vector<Recorrido> recorridos(n);
    for (long long f = 0; f < frames; ++f) {
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t i = static_cast<std::size_t>(f) * n + j;
            const int v = carrera.vueltas[i];
            const QPointF& posicion = carrera.posiciones[i];
            Recorrido& r = recorridos[j];
            if (f == 0) {
                r.maximo = v;
                r.vueltasAntes = v;
            }
            const bool completa = v > r.maximo;
            const bool salto = v - r.maximo > 1;
            const bool baja = v < r.vueltasAntes;
            r.maximo = std::max<long long>(r.maximo, v);
            r.vueltasAntes = v;
            if (f > 0 && (posicion.x() != r.posicion.x() || posicion.y() != r.posicion.y())) {
                r.rumbo = posicion - r.posicion;
            }
            r.posicion = posicion;
            const double distancia = campo.distanciaONegativa(posicion, r.rumbo);
            if (distancia >= 0.0) {
                const double bruta = distancia * campo.inversoLargo();
                double fraccion = bruta;
                if (r.visto && v > r.vueltas) {
                    fraccion = bruta > 0.75 ? 0.0 : bruta;
                } else if (r.visto && v == r.vueltas) {
                    if (r.fraccion >= 0.75 && bruta < 0.25) {
                        fraccion = kCasiUno;
                    } else if (r.fraccion < 0.25 && bruta >= 0.75) {
                        fraccion = 0.0;
                    }
                }
                r.visto = true;
                r.vueltas = v;
                r.fraccion = fraccion;
            } else if (!r.visto || r.vueltas != v) {
                r.visto = true;
                r.vueltas = v;
                r.fraccion = 0.0;
            }
            resultado.progresos.push_back(v + r.fraccion);
            const auto registra = [&](int sector, long long tiempo) {
                const std::size_t s = static_cast<std::size_t>(sector);
                r.ultimo[s] = tiempo;
                r.mejor[s] = r.mejor[s] < 0 ? tiempo : std::min(r.mejor[s], tiempo);
                resultado.sectores[j].push_back({f, r.ultimo, r.mejor});
            };
            if (f == 0 || baja) {
                r.sector = sectorDe(r.fraccion);
                r.inicioSector = f;
                r.sectorObservado = false;
            } else if (completa) {
                if (!salto && r.sector == zul::kSectores - 1 && r.sectorObservado) {
                    registra(zul::kSectores - 1, f - r.inicioSector);
                }
                r.sector = 0;
                r.inicioSector = f;
                r.sectorObservado = !salto;
            } else if (distancia >= 0.0) {
                const int s = sectorDe(r.fraccion);
                if (s == r.sector + 1) {
                    if (r.sectorObservado) {
                        registra(r.sector, f - r.inicioSector);
                    }
                    r.sectorObservado = true;
                } else if (s > r.sector + 1) {
                    r.sectorObservado = false;
                }
                if (s > r.sector) {
                    r.sector = s;
                    r.inicioSector = f;
                }
            }
        }
    }
    return resultado;
}

// ---------------------------------------------------------------------------
// Tracks and races.

// Uniform in [0, 1), the same on every machine.
class Azar {
public:
    explicit Azar(std::uint64_t semilla) : estado(semilla * 2654435761ULL + 1) {}
    double real() {
        estado = estado * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(estado >> 11) * (1.0 / 9007199254740992.0);
    }
    int entero(int n) { return static_cast<int>(real() * n); }

private:
    std::uint64_t estado;
};

using Camino = std::vector<QPointF>; // closed: the last point joins the first

double largo(const Camino& c) {
    double total = 0.0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const QPointF d = c[(i + 1) % c.size()] - c[i];
        total += std::hypot(d.x(), d.y());
    }
    return total;
}

QPointF puntoEn(const Camino& c, double s) {
    const double l = largo(c);
    s = std::fmod(s, l);
    if (s < 0.0) {
        s += l;
    }
    for (std::size_t i = 0;; i = (i + 1) % c.size()) {
        const QPointF d = c[(i + 1) % c.size()] - c[i];
        const double tramo = std::hypot(d.x(), d.y());
        if (s <= tramo) {
            return c[i] + d * (s / tramo);
        }
        s -= tramo;
    }
}

double distanciaASegmento(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double t =
        std::clamp(QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d), 0.0, 1.0);
    const QPointF q = a + d * t - p;
    return std::hypot(q.x(), q.y());
}

// Track within `medioAncho` of the closed path, with arrows along it or
// not, and a share `ruido` of cells turned at random into wall or track.
zul::Mapa mapaDe(int filas, int columnas, const Camino& camino, double medioAncho, bool flechas,
                 double ruido, Azar& azar) {
    zul::Mapa m;
    m.filas = filas;
    m.columnas = columnas;
    m.celdas.assign(static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas), '5');
    for (int y = 0; y < filas; ++y) {
        for (int x = 0; x < columnas; ++x) {
            const QPointF centro(x + 0.5, y + 0.5);
            double mejor = 1e9;
            QPointF direccion;
            for (std::size_t i = 0; i < camino.size(); ++i) {
                const QPointF a = camino[i];
                const QPointF b = camino[(i + 1) % camino.size()];
                const double d = distanciaASegmento(centro, a, b);
                if (d < mejor) {
                    mejor = d;
                    direccion = b - a;
                }
            }
            char& celda = m.celdas[static_cast<std::size_t>(y * columnas + x)];
            if (mejor <= medioAncho) {
                celda = !flechas ? '4'
                        : std::abs(direccion.x()) >= std::abs(direccion.y())
                            ? (direccion.x() > 0 ? '1' : '3')
                            : (direccion.y() > 0 ? '0' : '2');
            }
            if (ruido > 0.0 && azar.real() < ruido) {
                celda = azar.real() < 0.5 ? '5' : '4';
            }
        }
    }
    return m;
}

// How the karts of a race misbehave.
struct Manera {
    int jugadores = 3;
    long long frames = 400;
    double temblor = 0.0; // cells of jitter
    double fuera = 0.0;   // chance per record of being anywhere, NaN or infinite
    double baja = 0.0;    // chance per record of a lap count lower for a while
    double atras = 0.0;   // chance per record of driving backwards for a while
    double parado = 0.0;  // chance per record of standing still for a while
};

zul::Carrera carreraEn(const Camino& camino, const Manera& manera, int filas, int columnas,
                       Azar& azar) {
    zul::Carrera c;
    c.numJugadores = manera.jugadores;
    const std::size_t n = static_cast<std::size_t>(manera.jugadores);
    c.nombres.resize(n);
    const double l = largo(camino);
    std::vector<double> s(n);
    std::vector<double> velocidad(n);
    std::vector<long long> atrasHasta(n, -1);
    std::vector<long long> bajaHasta(n, -1);
    std::vector<long long> paradoHasta(n, -1);
    for (std::size_t j = 0; j < n; ++j) {
        s[j] = 1.0 + 2.0 * azar.real();
        velocidad[j] = 0.3 + 0.4 * azar.real();
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinito = std::numeric_limits<double>::infinity();
    for (long long k = 0; k < manera.frames; ++k) {
        for (std::size_t j = 0; j < n; ++j) {
            if (azar.real() < manera.atras) {
                atrasHasta[j] = k + 5 + azar.entero(40);
            }
            if (azar.real() < manera.baja) {
                bajaHasta[j] = k + 1 + azar.entero(30);
            }
            if (azar.real() < manera.parado) {
                paradoHasta[j] = k + 1 + azar.entero(30);
            }
            if (k > 0 && paradoHasta[j] < k) {
                s[j] += (atrasHasta[j] >= k ? -1.0 : 1.0) * velocidad[j];
            }
            QPointF p = puntoEn(camino, s[j]);
            p +=
                QPointF((azar.real() - 0.5) * manera.temblor, (azar.real() - 0.5) * manera.temblor);
            if (azar.real() < manera.fuera) {
                const double r = azar.real();
                p = r < 0.1    ? QPointF(nan, 3.0)
                    : r < 0.2  ? QPointF(-3.0, 5.0)
                    : r < 0.25 ? QPointF(columnas, filas - 0.5)
                    : r < 0.3  ? QPointF(infinito, 2.0)
                               : QPointF(azar.real() * columnas, azar.real() * filas);
            }
            c.posiciones.push_back(p);
            c.angulos.push_back(0.0);
            int v = static_cast<int>(std::floor(s[j] / l));
            if (bajaHasta[j] >= k) {
                v -= 1 + (azar.real() < 0.2 ? 1 : 0);
            }
            c.vueltas.push_back(v);
        }
    }
    return c;
}

Camino escala(const Camino& c, double factor, QPointF desplazamiento) {
    Camino r;
    for (const QPointF& p : c) {
        r.push_back(p * factor + desplazamiento);
    }
    return r;
}

// A rectangle round an inner wall, and two loops through one crossing.
const Camino kOvalo = {{8.0, 2.5}, {21.5, 2.5}, {21.5, 11.5}, {2.5, 11.5}, {2.5, 2.5}};
const Camino kOcho = {{19.0, 6.0}, {22.0, 9.0}, {17.0, 14.0}, {12.0, 9.0}, {7.0, 4.0},
                      {2.0, 9.0},  {7.0, 14.0}, {12.0, 9.0},  {17.0, 4.0}};

struct Caso {
    std::string nombre;
    zul::Mapa mapa;
    zul::Carrera carrera;
};

// Both tracks at two sizes, with karts of every kind: steady, jittery,
// wandering off and out of the map, losing laps, reversing, stopping.
std::vector<Caso> casos() {
    std::vector<Caso> lista;
    for (int forma = 0; forma < 2; ++forma) {
        for (int variante = 0; variante < 12; ++variante) {
            Azar azar(static_cast<std::uint64_t>(100 + forma * 31 + variante));
            const double factor = variante < 6 ? 1.0 : 2.5;
            const Camino camino =
                escala(forma == 0 ? kOvalo : kOcho, factor, QPointF(variante % 3, 0.0));
            const int filas = static_cast<int>((forma == 0 ? 14 : 18) * factor) + 2;
            const int columnas = static_cast<int>((forma == 0 ? 24 : 25) * factor) + 3;
            const double medioAncho = forma == 0 ? 1.5 * factor : std::max(1.0, factor);
            Caso caso;
            caso.nombre = std::string(forma == 0 ? "ovalo" : "ocho") + std::to_string(variante);
            caso.mapa = mapaDe(filas, columnas, camino, medioAncho, variante % 2 == 0,
                               variante % 5 == 4 ? 0.02 : 0.0, azar);
            Manera manera;
            manera.jugadores = 1 + variante % 5;
            manera.frames = 400 + 150 * (variante % 4) * static_cast<long long>(factor);
            manera.temblor = (variante % 3) * 0.6;
            manera.fuera = variante % 4 == 1 ? 0.01 : 0.0;
            manera.baja = variante % 6 == 2 ? 0.003 : 0.0;
            manera.atras = variante % 7 == 3 ? 0.004 : 0.0;
            manera.parado = variante % 4 == 3 ? 0.01 : 0.0;
            caso.carrera = carreraEn(camino, manera, filas, columnas, azar);
            lista.push_back(std::move(caso));
        }
    }
    return lista;
}

// ---------------------------------------------------------------------------
// Comparisons.

bool mismos(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Sets the widest vector instructions for a test, and all of them again
// after it.
class Ancho {
public:
    explicit Ancho(int bits) { zul::vectorial::limita(bits); }
    ~Ancho() { zul::vectorial::limita(512); }
    Ancho(const Ancho&) = delete;
    Ancho& operator=(const Ancho&) = delete;
};

constexpr std::array<int, 4> kAnchos = {512, 256, 128, 0};

void compruebaCampo(const zul::CampoPista& campo, const campo_referencia::Campo& referencia,
                    const zul::Mapa& mapa, Azar& azar) {
    ASSERT_TRUE(mismos(campo.largoVuelta(), referencia.largo));
    ASSERT_TRUE(mismos(campo.inversoLargo(), referencia.inverso));
    ASSERT_EQ(campo.intersecciones(), referencia.celdasInterseccion);
    for (int y = 0; y < mapa.filas; ++y) {
        for (int x = 0; x < mapa.columnas; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(mapa.columnas) +
                static_cast<std::size_t>(x);
            ASSERT_EQ(campo.celda(x, y), referencia.distancias[i]) << x << ", " << y;
            // The corners and the centre show both slopes; anywhere, and
            // with any heading, the crossings.
            const std::array<QPointF, 4> puntos = {QPointF(x, y), QPointF(x + 0.5, y + 0.5),
                                                   QPointF(x + 0.999, y + 0.001),
                                                   QPointF(x + azar.real(), y + azar.real())};
            for (const QPointF& p : puntos) {
                const QPointF rumbo(azar.real() * 2.0 - 1.0, azar.real() * 2.0 - 1.0);
                ASSERT_TRUE(mismos(campo.distanciaONegativa(p, rumbo),
                                   referencia.distanciaONegativa(p, rumbo)))
                    << p.x() << ", " << p.y();
                ASSERT_TRUE(mismos(campo.distanciaONegativa(p), referencia.distanciaONegativa(p)));
            }
        }
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const QPointF& p : {QPointF(nan, 1.0), QPointF(-0.0, 0.0), QPointF(-0.5, 1.0),
                             QPointF(mapa.columnas, 0.0), QPointF(0.0, mapa.filas)}) {
        EXPECT_TRUE(mismos(campo.distanciaONegativa(p), referencia.distanciaONegativa(p)));
    }
}

// The first completion of each kart, and the frame after the eighth of the
// race, as the analysis learns the crossings from.
std::pair<std::vector<long long>, long long> tramoDeCruces(const zul::AnalisisCarrera& a) {
    std::vector<long long> desde;
    std::vector<long long> frames;
    for (int j = 0; j < a.numJugadores(); ++j) {
        const auto& lista = a.completadas(j);
        desde.push_back(lista.empty() ? a.framesAnalizados() : lista.front().frame);
        for (const zul::VueltaCompletada& c : lista) {
            frames.push_back(c.frame);
        }
    }
    std::sort(frames.begin(), frames.end());
    const long long hasta =
        frames.empty() ? 0 : frames[std::min<std::size_t>(frames.size() - 1, 7)] + 1;
    return {desde, hasta};
}

} // namespace

// The field, on every test track and on random lines with random crossings.
TEST(ProgresoExacto, CampoComoAntes) {
    int campos = 0;
    int conCruces = 0;
    for (const Caso& caso : casos()) {
        const zul::AnalisisCarrera analisis(caso.carrera, caso.mapa);
        if (!analisis.linea()) {
            continue;
        }
        const auto [desde, hasta] = tramoDeCruces(analisis);
        const std::vector<zul::Interseccion> cruces =
            cruces_referencia::intersecciones(caso.mapa, caso.carrera, desde, hasta);
        const campo_referencia::Campo referencia(caso.mapa, *analisis.linea(), cruces);
        for (int bits : kAnchos) {
            SCOPED_TRACE(caso.nombre + ", " + std::to_string(bits) + " bits");
            const Ancho ancho(bits);
            Azar azar(7);
            compruebaCampo(zul::CampoPista(caso.mapa, *analisis.linea(), cruces), referencia,
                           caso.mapa, azar);
        }
        ++campos;
        conCruces += cruces.empty() ? 0 : 1;
    }
    // Lines anywhere, across walls and the map's edge, and crossings in
    // random cells with random ways, walls and cells off the map included.
    Azar azar(999);
    const zul::Mapa anillo =
        mapaDe(40, 52, escala(kOvalo, 2.0, QPointF(1.0, 1.0)), 3.0, false, 0.0, azar);
    for (int k = 0; k < 40; ++k) {
        zul::Mapa mapa = anillo;
        if (k % 3 == 1) {
            for (char& c : mapa.celdas) {
                if (azar.real() < 0.05) {
                    c = azar.real() < 0.5 ? '5' : '4';
                }
            }
        }
        if (k % 7 == 6) {
            mapa.celdas.assign(mapa.celdas.size(), '4');
        }
        std::vector<zul::Cruce> cruces;
        for (int i = 1 + azar.entero(4); i > 0; --i) {
            const QPointF p(azar.real() * mapa.columnas, azar.real() * mapa.filas);
            const double a = azar.real() * 6.3;
            cruces.push_back({p, p + QPointF(std::cos(a), std::sin(a)) * 0.7});
        }
        if (k % 2 == 0) {
            const double x = 44.0 + azar.real();
            cruces = {zul::Cruce{{x, 12.0}, {x, 13.0 + azar.real()}}};
        }
        const std::optional<zul::LineaMeta> linea = zul::aprendeLinea(mapa, cruces);
        if (!linea) {
            continue;
        }
        std::vector<zul::Interseccion> intersecciones;
        if (k % 4 == 3) {
            for (int i = azar.entero(120); i > 0; --i) {
                intersecciones.push_back({static_cast<std::size_t>(azar.entero(
                                              static_cast<int>(mapa.celdas.size()) + 5)),
                                          static_cast<std::uint8_t>(azar.entero(256))});
            }
        }
        const campo_referencia::Campo referencia(mapa, *linea, intersecciones);
        for (int bits : kAnchos) {
            SCOPED_TRACE("línea " + std::to_string(k) + ", " + std::to_string(bits) + " bits");
            const Ancho ancho(bits);
            Azar puntos(static_cast<std::uint64_t>(k));
            compruebaCampo(zul::CampoPista(mapa, *linea, intersecciones), referencia, mapa, puntos);
        }
        ++campos;
    }
    EXPECT_GE(campos, 40);
    EXPECT_GE(conCruces, 5);
}

// Where the track crosses itself, from every kart's first completion to
// several ends, karts that wander and jump included.
TEST(ProgresoExacto, CrucesComoAntes) {
    int hallados = 0;
    for (const Caso& caso : casos()) {
        SCOPED_TRACE(caso.nombre);
        const zul::AnalisisCarrera analisis(caso.carrera);
        auto [desde, hasta] = tramoDeCruces(analisis);
        const long long frames = analisis.framesAnalizados();
        for (long long fin : {hasta, frames / 2, frames, frames + 10}) {
            const std::vector<zul::Interseccion> esperadas =
                cruces_referencia::intersecciones(caso.mapa, caso.carrera, desde, fin);
            const std::vector<zul::Interseccion> halladas =
                zul::aprendeIntersecciones(caso.mapa, caso.carrera, desde, fin);
            ASSERT_EQ(halladas.size(), esperadas.size()) << fin;
            for (std::size_t i = 0; i < halladas.size(); ++i) {
                EXPECT_EQ(halladas[i].celda, esperadas[i].celda);
                EXPECT_EQ(halladas[i].rumbos, esperadas[i].rumbos);
            }
            hallados += halladas.empty() ? 0 : 1;
        }
        // From the first frame of every kart.
        std::fill(desde.begin(), desde.end(), 0);
        const auto esperadas =
            cruces_referencia::intersecciones(caso.mapa, caso.carrera, desde, frames);
        const auto halladas = zul::aprendeIntersecciones(caso.mapa, caso.carrera, desde, frames);
        ASSERT_EQ(halladas.size(), esperadas.size());
        for (std::size_t i = 0; i < halladas.size(); ++i) {
            EXPECT_EQ(halladas[i].celda, esperadas[i].celda);
            EXPECT_EQ(halladas[i].rumbos, esperadas[i].rumbos);
        }
    }
    EXPECT_GE(hallados, 10);
}

// Every record's progress, and every kart's sector times at every frame,
// read whole and grown a few frames at a time as a live race is.
TEST(ProgresoExacto, ProgresoComoAntes) {
    int conProgreso = 0;
    for (const Caso& caso : casos()) {
        for (int bits : kAnchos) {
            SCOPED_TRACE(caso.nombre + ", " + std::to_string(bits) + " bits");
            const Ancho ancho(bits);
            const zul::AnalisisCarrera entera(caso.carrera, caso.mapa);
            zul::Carrera vacia;
            vacia.numJugadores = caso.carrera.numJugadores;
            vacia.nombres = caso.carrera.nombres;
            zul::AnalisisCarrera porPartes(vacia, caso.mapa);
            Azar azar(static_cast<std::uint64_t>(bits) + 3);
            const std::size_t total = caso.carrera.posiciones.size();
            for (std::size_t hasta = 0; hasta < total;) {
                hasta = std::min(total, hasta + 1 + static_cast<std::size_t>(azar.entero(40)));
                zul::Carrera parte = caso.carrera;
                parte.posiciones.resize(hasta);
                parte.angulos.resize(hasta);
                parte.vueltas.resize(hasta);
                porPartes.extiende(parte);
            }
            if (entera.campo() == nullptr) {
                EXPECT_EQ(porPartes.campo(), nullptr);
                continue;
            }
            ASSERT_NE(porPartes.campo(), nullptr);
            const long long frames = entera.framesAnalizados();
            const Progreso referencia = progresoReferencia(caso.carrera, *entera.campo(), frames);
            const int n = caso.carrera.numJugadores;
            for (const zul::AnalisisCarrera* a :
                 std::array<const zul::AnalisisCarrera*, 2>{&entera, &porPartes}) {
                for (long long f = 0; f < frames; ++f) {
                    for (int j = 0; j < n; ++j) {
                        const std::optional<double> p = a->progreso(j, f);
                        ASSERT_TRUE(p.has_value());
                        ASSERT_TRUE(
                            mismos(*p, referencia.progresos[static_cast<std::size_t>(f * n + j)]))
                            << "frame " << f << ", jugador " << j;
                    }
                    for (const zul::Puesto& puesto : a->clasificacion(f)) {
                        const auto& lista =
                            referencia.sectores[static_cast<std::size_t>(puesto.jugador)];
                        const auto it = std::upper_bound(
                            lista.begin(), lista.end(), f,
                            [](long long k, const TiemposSectores& t) { return k < t.frame; });
                        for (std::size_t s = 0; s < zul::kSectores; ++s) {
                            const long long ultimo = it == lista.begin() ? -1 : (it - 1)->ultimo[s];
                            const long long mejor = it == lista.begin() ? -1 : (it - 1)->mejor[s];
                            ASSERT_EQ(puesto.ultimoSector[s].value_or(-1), ultimo)
                                << "frame " << f << ", jugador " << puesto.jugador;
                            ASSERT_EQ(puesto.mejorSector[s].value_or(-1), mejor)
                                << "frame " << f << ", jugador " << puesto.jugador;
                        }
                    }
                }
            }
            ++conProgreso;
        }
    }
    EXPECT_GE(conProgreso, 60);
}
