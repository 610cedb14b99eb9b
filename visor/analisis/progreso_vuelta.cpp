#include "analisis/progreso_vuelta.h"

#include <algorithm>

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
    // The standings' progress is the lap count plus the fraction, which may
    // round up to a whole lap at the very end of one.
    return std::clamp(*p - fuente->vueltas(jugador, frame), 0.0, 1.0);
}

} // namespace zul
