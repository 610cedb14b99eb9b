#include "analisis/progreso_vuelta.h"

#include <cmath>

namespace zul {

ProgresoVuelta::ProgresoVuelta(const Carrera& carrera, const AnalisisCarrera& analisis,
                               const Mapa* mapa) {
    if (analisis.conMapa()) {
        fuente = &analisis;
    } else if (mapa != nullptr) {
        propio = std::make_unique<AnalisisCarrera>(carrera, *mapa);
        fuente = propio.get();
    }
}

std::optional<double> ProgresoVuelta::en(int jugador, long long frame) const {
    if (!conocido() || frame < 0 || frame >= fuente->framesAnalizados()) {
        return std::nullopt;
    }
    return fuente->progreso(jugador, frame);
}

std::optional<double> ProgresoVuelta::fraccion(int jugador, long long frame) const {
    const std::optional<double> p = en(jugador, frame);
    if (!p) {
        return std::nullopt;
    }
    // The standings' progress is the lap count plus the fraction.
    const double f = *p - fuente->vueltas(jugador, frame);
    return f >= 0.0 && f < 1.0 ? std::optional<double>(f)
                               : std::optional<double>(*p - std::floor(*p));
}

} // namespace zul
