#include "analisis/pista.h"

#include <algorithm>
#include <array>
#include <cmath>
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

CampoPista::CampoPista(const Mapa& mapa, const LineaMeta& linea,
                       const std::vector<Interseccion>& intersecciones)
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

double CampoPista::enInterseccion(std::size_t i, const QPointF& punto, const QPointF& rumbo) const {
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

} // namespace zul
