#include "analisis/intersecciones.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>

namespace zul {

namespace {

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

struct Hallazgo {
    Interseccion interseccion;
    int jugador = 0;
};

} // namespace

std::vector<Interseccion> aprendeIntersecciones(const Mapa& mapa, const Carrera& carrera,
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
    // Of each cell, with a border of cells never visited round the map, the
    // frame of the latest record of the kart being looked at there: -1 for
    // none, and again once that kart is done.
    const std::size_t ancho = static_cast<std::size_t>(columnas) + 2;
    std::vector<std::int32_t> visitas((static_cast<std::size_t>(mapa.filas) + 2) * ancho, -1);
    const auto visita = [&](int x, int y) -> std::int32_t& {
        return visitas[static_cast<std::size_t>(y + 1) * ancho + static_cast<std::size_t>(x + 1)];
    };
    std::vector<Hallazgo> hallazgos;
    // A kart that went far away and came back has driven far: to a sample
    // of `lejos` and back within a cell, at least 8 - 1 cells out and 8
    // back, 14.5 with room for rounding. Of each kart, the length of its
    // moves from frame to frame added up since its first frame (in 1/1024
    // of a cell, rounded up, a long or unreadable move counting as that
    // far), so that only visits from the last frame it was that far
    // behind (`limite`) or earlier need looking at.
    constexpr long long kUnidad = 1024;
    constexpr long long kUmbral = 29 * kUnidad / 2;
    std::vector<long long> suma;
    const auto enMapa = [&](QPointF p) {
        return p.x() >= 0.0 && p.y() >= 0.0 && p.x() < columnas && p.y() < mapa.filas;
    };
    for (int j = 0; j < n && static_cast<std::size_t>(j) < desde.size(); ++j) {
        const long long inicio = std::max(desde[static_cast<std::size_t>(j)], 1LL);
        if (inicio >= hasta) {
            continue;
        }
        suma.resize(static_cast<std::size_t>(hasta - inicio));
        long long total = 0;
        suma[0] = 0;
        for (long long f = inicio + 1; f < hasta; ++f) {
            const QPointF d =
                carrera.posiciones[registro(f, j)] - carrera.posiciones[registro(f - 1, j)];
            const double l = std::sqrt(d.x() * d.x() + d.y() * d.y());
            total += l <= 64.0 ? static_cast<long long>(l * kUnidad) + 2 : kUmbral;
            suma[static_cast<std::size_t>(f - inicio)] = total;
        }
        long long limite = inicio - 1; // the last frame that far behind
        for (long long f = inicio; f < hasta; ++f) {
            const QPointF p = carrera.posiciones[registro(f, j)];
            const long long recorrido = suma[static_cast<std::size_t>(f - inicio)];
            // Mostly one frame further, or none or two: without a branch.
            const auto avanza = [&] {
                return static_cast<long long>(
                    (limite + 1 < f) &
                    (recorrido - suma[static_cast<std::size_t>(std::min(limite + 1, f) - inicio)] >=
                     kUmbral));
            };
            limite += avanza();
            limite += avanza();
            while (limite + 1 < f &&
                   recorrido - suma[static_cast<std::size_t>(limite + 1 - inicio)] >= kUmbral) {
                ++limite;
            }
            if (!enMapa(p)) {
                continue;
            }
            const int x = static_cast<int>(p.x());
            const int y = static_cast<int>(p.y());
            std::int32_t& aqui = visita(x, y);
            // Visits at least four frames back, and that far behind.
            const long long tope = std::min(f - 4, limite);
            if (tope < inicio) {
                aqui = static_cast<std::int32_t>(f);
                continue;
            }
            // None of the nine (a cell never visited has -1, past any tope).
            const auto hasta32 = static_cast<std::uint32_t>(tope);
            bool alguna = false;
            for (const std::int32_t* fila = &aqui - ancho - 1; fila <= &aqui + ancho - 1;
                 fila += ancho) {
                alguna |= (static_cast<std::uint32_t>(fila[0]) <= hasta32) |
                          (static_cast<std::uint32_t>(fila[1]) <= hasta32) |
                          (static_cast<std::uint32_t>(fila[2]) <= hasta32);
            }
            const int v = carrera.vueltas[registro(f, j)];
            for (int cy = std::max(y - 1, 0); alguna && cy <= std::min(y + 1, mapa.filas - 1);
                 ++cy) {
                for (int cx = std::max(x - 1, 0); cx <= std::min(x + 1, columnas - 1); ++cx) {
                    const long long u = visita(cx, cy);
                    if (u < 0 || u > tope) {
                        continue;
                    }
                    const QPointF q = carrera.posiciones[registro(u, j)];
                    if (cuadrado(q - p) > kCercania * kCercania ||
                        carrera.vueltas[registro(u, j)] != v) {
                        continue;
                    }
                    bool lejos = false;
                    for (long long c = 1; c <= 3 && !lejos; ++c) {
                        const QPointF m = carrera.posiciones[registro(u + (f - u) * c / 4, j)];
                        lejos = cuadrado(m - p) >= kLejos * kLejos;
                    }
                    QPointF antes;
                    QPointF ahora;
                    const QPointF medio = (p + q) / 2.0;
                    if (lejos && u >= 1 && rumboEn(u, j, antes) && rumboEn(f, j, ahora) &&
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
            aqui = static_cast<std::int32_t>(f);
        }
        // The next kart starts on a clean map.
        for (long long f = inicio; f < hasta; ++f) {
            const QPointF p = carrera.posiciones[registro(f, j)];
            if (enMapa(p)) {
                visita(static_cast<int>(p.x()), static_cast<int>(p.y())) = -1;
            }
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

} // namespace zul
