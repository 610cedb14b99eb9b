#include "analisis/pista.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zul {

namespace {

// Distances are whole fifths of a cell: a straight step costs 5, a diagonal
// one 7, so that one bucket queue orders them.
constexpr std::int32_t kRecto = 5;
constexpr std::int32_t kDiagonal = 7;
constexpr double kUnidad = 5.0;

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

CampoPista::CampoPista(const Mapa& mapa, const LineaMeta& linea)
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
    const auto cerca = [&](int x, int y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
    const auto lado = [&](int x, int y) { return producto(centroCelda(x, y) - linea.centro, u); };
    // Whether the step between two cells' centres crosses the line.
    const auto cruza = [&](int xa, int ya, int xb, int yb) {
        if (!cerca(xa, ya) && !cerca(xb, yb)) {
            return false;
        }
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
    static constexpr std::array<int, 8> dx = {1, -1, 0, 0, 1, 1, -1, -1};
    static constexpr std::array<int, 8> dy = {0, 0, 1, -1, 1, -1, 1, -1};
    // A step to a neighbour: diagonal ones only past two track cells.
    const auto puedePasar = [&](int x, int y, int d) {
        const int nx = x + dx[d];
        const int ny = y + dy[d];
        if (!esPista(mapa, nx, ny)) {
            return false;
        }
        return d < 4 || (esPista(mapa, nx, y) && esPista(mapa, x, ny));
    };
    const auto indice = [&](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
               static_cast<std::size_t>(x);
    };

    // The cells near the line, on either side of it, and the steps that
    // cross it.
    const int cx0 = std::max(x0, 0);
    const int cx1 = std::min(x1, columnas - 1);
    const int cy0 = std::max(y0, 0);
    const int cy1 = std::min(y1, filas - 1);
    struct Paso {
        std::size_t antes;
        std::size_t despues;
        double ladoAntes;
        double ladoDespues;
    };
    std::vector<Paso> cruces;
    for (int y = cy0; y <= cy1; ++y) {
        for (int x = cx0; x <= cx1; ++x) {
            if (!esPista(mapa, x, y) || lado(x, y) >= 0.0) {
                continue;
            }
            for (int d = 0; d < 8; ++d) {
                if (puedePasar(x, y, d) && cruza(x, y, x + dx[d], y + dy[d])) {
                    cruces.push_back({indice(x, y), indice(x + dx[d], y + dy[d]), lado(x, y),
                                      lado(x + dx[d], y + dy[d])});
                }
            }
        }
    }

    // Shortest ways over cells that never cross the line, from cells that
    // start at their distance from it: a bucket queue, since every distance
    // pending lies within kDiagonal of the one being taken.
    const auto recorre = [&](std::vector<std::int32_t>& quintos,
                             const std::vector<std::pair<std::size_t, double>>& salidas) {
        std::array<std::vector<std::int32_t>, 8> cubos;
        std::size_t porTomar = 0;
        const auto pon = [&](std::size_t i, std::int32_t valor) {
            std::int32_t& d = quintos[i];
            if (d < 0 || valor < d) {
                d = valor;
                cubos[static_cast<std::size_t>(valor) & 7u].push_back(static_cast<std::int32_t>(i));
                ++porTomar;
            }
        };
        for (const auto& [i, distancia] : salidas) {
            pon(i, std::clamp(static_cast<std::int32_t>(std::lround(distancia * kUnidad)), 0,
                              kDiagonal));
        }
        for (std::int32_t actual = 0; porTomar > 0; ++actual) {
            std::vector<std::int32_t>& cubo = cubos[static_cast<std::size_t>(actual) & 7u];
            while (!cubo.empty()) {
                const std::int32_t i = cubo.back();
                cubo.pop_back();
                --porTomar;
                if (quintos[static_cast<std::size_t>(i)] != actual) {
                    continue; // reached sooner since
                }
                const int x = i % columnas;
                const int y = i / columnas;
                for (int d = 0; d < 8; ++d) {
                    if (puedePasar(x, y, d) && !cruza(x, y, x + dx[d], y + dy[d])) {
                        pon(indice(x + dx[d], y + dy[d]), actual + (d < 4 ? kRecto : kDiagonal));
                    }
                }
            }
        }
    };
    // Forwards from the line, and backwards from it: round a corner each
    // alone would bunch up the distances on its outside, one before the
    // apex and the other after it; their mean runs evenly along the track.
    const std::size_t celdas = static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas);
    std::vector<std::int32_t> adelante(celdas, -1);
    std::vector<std::int32_t> atras(celdas, -1);
    std::vector<std::pair<std::size_t, double>> salidas;
    for (const Paso& p : cruces) {
        salidas.emplace_back(p.despues, p.ladoDespues);
    }
    recorre(adelante, salidas);
    salidas.clear();
    for (const Paso& p : cruces) {
        salidas.emplace_back(p.antes, -p.ladoAntes);
    }
    recorre(atras, salidas);
    // Round to the line again: from the last cells before it.
    double menor = std::numeric_limits<double>::infinity();
    for (const Paso& p : cruces) {
        if (adelante[p.antes] >= 0) {
            menor = std::min(menor, adelante[p.antes] / kUnidad - p.ladoAntes);
        }
    }
    largo = std::isfinite(menor) && menor > 0.0 ? menor : 0.0;
    casiLargo = std::nextafter(largo, 0.0);

    distancias.assign(celdas, -1.0f);
    for (std::size_t i = 0; i < celdas; ++i) {
        if (adelante[i] >= 0 && atras[i] >= 0) {
            const double d = (adelante[i] + largo * kUnidad - atras[i]) / (2.0 * kUnidad);
            distancias[i] = static_cast<float>(std::clamp(d, 0.0, casiLargo));
        }
    }
    // The slope from the neighbours on the same stretch: not across the
    // line, nor onto track the field reaches another way.
    pendientes.assign(2 * celdas, 0);
    const auto vecina = [&](int x, int y, float propia) -> float {
        if (x < 0 || y < 0 || x >= columnas || y >= filas) {
            return -1.0f;
        }
        const float d = distancias[indice(x, y)];
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
            const std::size_t i = indice(x, y);
            const float d = distancias[i];
            if (d >= 0.0f) {
                pendientes[2 * i] = pendiente(vecina(x - 1, y, d), d, vecina(x + 1, y, d));
                pendientes[2 * i + 1] = pendiente(vecina(x, y - 1, d), d, vecina(x, y + 1, d));
            }
        }
    }
}

} // namespace zul
