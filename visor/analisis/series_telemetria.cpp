#include "analisis/series_telemetria.h"

#include <algorithm>
#include <cmath>

namespace zul {

SerieGrafica velocidadPorFrame(const Telemetria& telemetria, int jugador) {
    SerieGrafica serie;
    if (jugador < 0 || jugador >= telemetria.jugadores()) {
        return serie;
    }
    serie.reserve(static_cast<std::size_t>(telemetria.frames()));
    for (long long k = 0; k < telemetria.frames(); ++k) {
        const double v = telemetria.velocidad(jugador, k);
        if (std::isfinite(v)) {
            serie.push_back({static_cast<double>(k), v, k});
        }
    }
    return serie;
}

VueltasGrafica vueltasGrafica(const AnalisisCarrera& analisis, const Telemetria& telemetria,
                              const ProgresoVuelta& progreso, int jugador,
                              const std::function<double(long long)>& valor) {
    VueltasGrafica resultado;
    const long long frames = std::min(analisis.framesAnalizados(), telemetria.frames());
    if (jugador < 0 || jugador >= analisis.numJugadores() || jugador >= telemetria.jugadores() ||
        frames == 0) {
        return resultado;
    }
    // The laps: from frame 0, and from each completion to the next.
    long long inicio = 0;
    long long numero = analisis.vueltas(jugador, 0) + 1LL;
    for (const VueltaCompletada& v : analisis.completadas(jugador)) {
        if (v.frame >= frames) {
            break;
        }
        resultado.vueltas.push_back({v.primera, inicio, v.frame - inicio, {}});
        inicio = v.frame;
        numero = v.ultima + 1;
    }
    resultado.vueltas.push_back({numero, inicio, -1, {}});

    const bool conPista = progreso.conocido();
    double largoAnterior = 0.0;
    for (VueltaGrafica& vuelta : resultado.vueltas) {
        const long long fin = vuelta.tiempo >= 0 ? vuelta.inicio + vuelta.tiempo : frames;
        const double origen = telemetria.distancia(jugador, vuelta.inicio);
        double largo = largoAnterior;
        if (vuelta.tiempo >= 0) {
            largo = telemetria.distancia(jugador, fin) - origen;
            largoAnterior = largo;
        }
        for (long long k = vuelta.inicio; k < fin; ++k) {
            double x = 0.0;
            if (conPista) {
                const std::optional<double> f = progreso.fraccion(jugador, k);
                if (!f) {
                    continue;
                }
                x = *f;
            } else {
                if (!(largo > 0.0)) {
                    break;
                }
                x = std::clamp((telemetria.distancia(jugador, k) - origen) / largo, 0.0, 1.0);
            }
            // Round the finish line the track's fraction can stand on the
            // far side of it (a kart behind the line at the start, or past
            // it before its count rose): such a frame is not on this lap's
            // way, and would draw a line across the whole chart.
            const bool salto =
                vuelta.puntos.empty() ? x >= 0.5 : std::abs(x - vuelta.puntos.back().x) > 0.5;
            const double y = valor(k);
            if (std::isfinite(y) && std::isfinite(x) && !salto) {
                vuelta.puntos.push_back({x, y, k});
            }
        }
    }
    for (std::size_t i = 0; i < resultado.vueltas.size(); ++i) {
        const VueltaGrafica& v = resultado.vueltas[i];
        if (v.tiempo > 0 &&
            (resultado.mejor < 0 ||
             v.tiempo < resultado.vueltas[static_cast<std::size_t>(resultado.mejor)].tiempo)) {
            resultado.mejor = static_cast<int>(i);
        }
    }
    return resultado;
}

VueltasGrafica velocidadPorVuelta(const AnalisisCarrera& analisis, const Telemetria& telemetria,
                                  const ProgresoVuelta& progreso, int jugador) {
    return vueltasGrafica(analisis, telemetria, progreso, jugador,
                          [&](long long k) { return telemetria.velocidad(jugador, k); });
}

VueltasGrafica deltaPorVuelta(const CarreraFantasma& fantasma, const AnalisisCarrera& analisis,
                              const Telemetria& telemetria, const ProgresoVuelta& progreso,
                              int jugador) {
    return vueltasGrafica(analisis, telemetria, progreso, jugador,
                          [&](long long k) { return fantasma.delta(jugador, k); });
}

} // namespace zul
