#include "analisis/progreso_vuelta.h"

namespace zul {

// The recorded race only says laps, not where on the lap a kart is, so for
// now no progress is known.
ProgresoVuelta::ProgresoVuelta(const Carrera&, const AnalisisCarrera&, const Mapa*) {}

std::optional<double> ProgresoVuelta::en(int, long long) const {
    return std::nullopt;
}

} // namespace zul
