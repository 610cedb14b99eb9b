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

// A step may turn at most 60 degrees from the way the karts drive.
constexpr double kGiroMaximo = 0.5;

// Ways of driving, as 64 headings.
constexpr int kRumbosPosibles = 64;
constexpr std::uint8_t kSinSentido = 255;
const std::array<QPointF, kRumbosPosibles> kRumbos = [] {
    std::array<QPointF, kRumbosPosibles> r;
    for (int i = 0; i < kRumbosPosibles; ++i) {
        const double a = 2.0 * 3.14159265358979323846 * i / kRumbosPosibles;
        r[static_cast<std::size_t>(i)] = QPointF(std::cos(a), std::sin(a));
    }
    return r;
}();

std::uint8_t rumbo(QPointF v) {
    const double a = std::atan2(v.y(), v.x()) / (2.0 * 3.14159265358979323846) * kRumbosPosibles;
    return static_cast<std::uint8_t>(static_cast<int>(std::lround(a) + kRumbosPosibles) %
                                     kRumbosPosibles);
}

// How each cell is driven: its first way and, where karts went across it
// another way too (a crossing), its second; kSinSentido for none. A cell
// nobody drove takes the ways of the nearest one driven.
struct Sentidos {
    std::vector<std::uint8_t> primero;
    std::vector<std::uint8_t> segundo;
};

Sentidos sentidosDe(const Mapa& mapa, const std::vector<Movimiento>& movimientos) {
    const std::size_t celdas =
        static_cast<std::size_t>(mapa.filas) * static_cast<std::size_t>(mapa.columnas);
    Sentidos s{std::vector<std::uint8_t>(celdas, kSinSentido),
               std::vector<std::uint8_t>(celdas, kSinSentido)};
    if (movimientos.empty()) {
        return s;
    }
    struct Suma {
        std::array<QPointF, 2> total;
        std::array<int, 2> veces{0, 0};
    };
    std::unordered_map<std::size_t, Suma> vistas;
    for (const Movimiento& m : movimientos) {
        const QPointF v = m.hasta - m.desde;
        const double l = std::hypot(v.x(), v.y());
        // Standing still says nothing; a jump is no driving.
        if (!(l > 0.02) || !(l < 4.0)) {
            continue;
        }
        const QPointF u = v / l;
        const int trozos = static_cast<int>(std::ceil(l / 0.5));
        for (int t = 0; t < trozos; ++t) {
            const QPointF p = m.desde + v * (static_cast<double>(t) / trozos);
            if (!esPista(mapa, p)) {
                continue;
            }
            Suma& suma =
                vistas[static_cast<std::size_t>(p.y()) * static_cast<std::size_t>(mapa.columnas) +
                       static_cast<std::size_t>(p.x())];
            std::size_t k = 0;
            if (suma.veces[0] > 0 &&
                producto(u, suma.total[0]) <
                    kGiroMaximo * std::hypot(suma.total[0].x(), suma.total[0].y())) {
                const bool nuevo = suma.veces[1] == 0;
                const double p0 =
                    producto(u, suma.total[0]) / std::hypot(suma.total[0].x(), suma.total[0].y());
                const double p1 = nuevo ? 1.0
                                        : producto(u, suma.total[1]) /
                                              std::hypot(suma.total[1].x(), suma.total[1].y());
                k = p1 >= kGiroMaximo || p1 > p0 ? 1 : 0;
            }
            suma.total[k] += u;
            ++suma.veces[k];
        }
    }
    std::vector<std::size_t> frente;
    for (const auto& [i, suma] : vistas) {
        s.primero[i] = rumbo(suma.total[0]);
        const QPointF a = suma.total[0] / std::hypot(suma.total[0].x(), suma.total[0].y());
        // A second way only when karts kept to it, and not just a kart
        // driving back the way the others came.
        if (suma.veces[1] >= std::max(2, suma.veces[0] / 5)) {
            const QPointF b = suma.total[1] / std::hypot(suma.total[1].x(), suma.total[1].y());
            if (producto(a, b) > -kGiroMaximo) {
                s.segundo[i] = rumbo(b);
            }
        }
        frente.push_back(i);
    }
    // Out to the cells nobody drove, nearest first.
    const int columnas = mapa.columnas;
    for (std::size_t f = 0; f < frente.size(); ++f) {
        const std::size_t i = frente[f];
        const int x = static_cast<int>(i % static_cast<std::size_t>(columnas));
        const int y = static_cast<int>(i / static_cast<std::size_t>(columnas));
        const int vx[] = {1, -1, 0, 0};
        const int vy[] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            if (!esPista(mapa, x + vx[d], y + vy[d])) {
                continue;
            }
            const std::size_t j =
                static_cast<std::size_t>(y + vy[d]) * static_cast<std::size_t>(columnas) +
                static_cast<std::size_t>(x + vx[d]);
            if (s.primero[j] == kSinSentido) {
                s.primero[j] = s.primero[i];
                s.segundo[j] = s.segundo[i];
                frente.push_back(j);
            }
        }
    }
    return s;
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
                       const std::vector<Movimiento>& movimientos)
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
    std::vector<Paso> pasosLinea;
    for (int y = cy0; y <= cy1; ++y) {
        for (int x = cx0; x <= cx1; ++x) {
            if (!esPista(mapa, x, y) || lado(x, y) >= 0.0) {
                continue;
            }
            for (int d = 0; d < 8; ++d) {
                if (puedePasar(x, y, d) && cruza(x, y, x + dx[d], y + dy[d])) {
                    pasosLinea.push_back({indice(x, y), indice(x + dx[d], y + dy[d]), lado(x, y),
                                          lado(x + dx[d], y + dy[d])});
                }
            }
        }
    }

    const std::size_t celdas = static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas);
    const Sentidos sentidos = sentidosDe(mapa, movimientos);
    // The way of state k of a cell (its first or second sense); none for a
    // cell nobody drove near.
    const auto sentido = [&](std::size_t i, int k) -> const QPointF* {
        const std::uint8_t c = k == 0 ? sentidos.primero[i] : sentidos.segundo[i];
        return c == kSinSentido ? nullptr : &kRumbos[c];
    };
    // The state of cell i that goes on most as `referencia` does; -1 when
    // none is within 60 degrees of it.
    const auto estadoPara = [&](std::size_t i, QPointF referencia) {
        const QPointF* s0 = sentido(i, 0);
        if (s0 == nullptr) {
            return 0;
        }
        const QPointF* s1 = sentido(i, 1);
        const double p0 = producto(*s0, referencia);
        const double p1 = s1 != nullptr ? producto(*s1, referencia) : -2.0;
        const int k = p1 > p0 ? 1 : 0;
        return std::max(p0, p1) >= kGiroMaximo ? k : -1;
    };
    static const std::array<QPointF, 8> pasos = [] {
        std::array<QPointF, 8> p;
        for (std::size_t d = 0; d < 8; ++d) {
            const double l = std::hypot(dx[d], dy[d]);
            p[d] = QPointF(dx[d] / l, dy[d] / l);
        }
        return p;
    }();

    // Shortest ways over cells that never cross the line, from cells that
    // start at their distance from it, in states (cell, sense): a bucket
    // queue, since every distance pending lies within kDiagonal of the one
    // being taken. `marcha` is 1 going forwards, -1 backwards.
    const auto recorre = [&](std::vector<std::int32_t>& quintos,
                             const std::vector<std::pair<std::size_t, double>>& salidas,
                             double marcha) {
        std::array<std::vector<std::size_t>, 8> cubos;
        std::size_t porTomar = 0;
        const auto pon = [&](std::size_t estado, std::int32_t valor) {
            std::int32_t& d = quintos[estado];
            if (d < 0 || valor < d) {
                d = valor;
                cubos[static_cast<std::size_t>(valor) & 7u].push_back(estado);
                ++porTomar;
            }
        };
        for (const auto& [i, distancia] : salidas) {
            const int k = estadoPara(i, u);
            if (k >= 0) {
                pon(2 * i + static_cast<std::size_t>(k),
                    std::clamp(static_cast<std::int32_t>(std::lround(distancia * kUnidad)), 0,
                               kDiagonal));
            }
        }
        for (std::int32_t actual = 0; porTomar > 0; ++actual) {
            std::vector<std::size_t>& cubo = cubos[static_cast<std::size_t>(actual) & 7u];
            while (!cubo.empty()) {
                const std::size_t estado = cubo.back();
                cubo.pop_back();
                --porTomar;
                if (quintos[estado] != actual) {
                    continue; // reached sooner since
                }
                const std::size_t i = estado / 2;
                const QPointF* propio = sentido(i, static_cast<int>(estado % 2));
                const int x = static_cast<int>(i % static_cast<std::size_t>(columnas));
                const int y = static_cast<int>(i / static_cast<std::size_t>(columnas));
                for (std::size_t d = 0; d < 8; ++d) {
                    const int di = static_cast<int>(d);
                    if (!puedePasar(x, y, di) || cruza(x, y, x + dx[d], y + dy[d])) {
                        continue;
                    }
                    const QPointF paso = pasos[d] * marcha;
                    if (propio != nullptr && producto(paso, *propio) < kGiroMaximo) {
                        continue;
                    }
                    const std::size_t j = indice(x + dx[d], y + dy[d]);
                    const int k = estadoPara(j, propio != nullptr ? *propio : paso);
                    if (k >= 0) {
                        pon(2 * j + static_cast<std::size_t>(k),
                            actual + (d < 4 ? kRecto : kDiagonal));
                    }
                }
            }
        }
    };
    // Forwards from the line, and backwards from it: round a corner each
    // alone would bunch up the distances on its outside, one before the
    // apex and the other after it; their mean runs evenly along the track.
    std::vector<std::int32_t> adelante(2 * celdas, -1);
    std::vector<std::int32_t> atras(2 * celdas, -1);
    std::vector<std::pair<std::size_t, double>> salidas;
    for (const Paso& p : pasosLinea) {
        salidas.emplace_back(p.despues, p.ladoDespues);
    }
    recorre(adelante, salidas, 1.0);
    salidas.clear();
    for (const Paso& p : pasosLinea) {
        salidas.emplace_back(p.antes, -p.ladoAntes);
    }
    recorre(atras, salidas, -1.0);
    // Round to the line again: from the last cells before it.
    double menor = std::numeric_limits<double>::infinity();
    for (const Paso& p : pasosLinea) {
        const int k = estadoPara(p.antes, u);
        const std::size_t e = 2 * p.antes + static_cast<std::size_t>(std::max(k, 0));
        if (k >= 0 && adelante[e] >= 0) {
            menor = std::min(menor, adelante[e] / kUnidad - p.ladoAntes);
        }
    }
    largo = std::isfinite(menor) && menor > 0.0 ? menor : 0.0;
    casiLargo = std::nextafter(largo, 0.0);

    const auto media = [&](std::size_t estado) -> float {
        if (adelante[estado] < 0 || atras[estado] < 0) {
            return -1.0f;
        }
        const double d = (adelante[estado] + largo * kUnidad - atras[estado]) / (2.0 * kUnidad);
        return static_cast<float>(std::clamp(d, 0.0, casiLargo));
    };
    distancias.assign(celdas, -1.0f);
    for (std::size_t i = 0; i < celdas; ++i) {
        const QPointF* s1 = sentido(i, 1);
        if (s1 == nullptr) {
            distancias[i] = media(2 * i);
        } else {
            distancias[i] = kCruce;
            cruces.emplace(i, Cruzada{{*sentido(i, 0), *s1}, {media(2 * i), media(2 * i + 1)}});
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

std::optional<double> CampoPista::enCruce(std::size_t celda, QPointF direccion) const {
    const auto it = cruces.find(celda);
    if (it == cruces.end()) {
        return std::nullopt;
    }
    const Cruzada& c = it->second;
    const int k = producto(direccion, c.sentido[1]) > producto(direccion, c.sentido[0]) ? 1 : 0;
    if (c.distancia[static_cast<std::size_t>(k)] < 0.0f) {
        return std::nullopt;
    }
    return c.distancia[static_cast<std::size_t>(k)];
}

} // namespace zul
