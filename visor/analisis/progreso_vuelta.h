#pragma once

#include "analisis/analisis.h"
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <optional>

namespace zul {

// Progress round the track of each player at each frame: the laps completed
// plus the fraction of the current lap covered. Telemetry, the speed chart
// and the delta against a ghost all read it from here, so its source can
// change in one place. Where the track gives no progress (no map, a kart off
// the racing surface) it is not known.
class ProgresoVuelta {
public:
    ProgresoVuelta(const Carrera& carrera, const AnalisisCarrera& analisis, const Mapa* mapa);

    // Laps + fraction of player j at frame k; nothing when unknown.
    std::optional<double> en(int jugador, long long frame) const;
    // False when no frame has a known progress, so callers can fall back
    // to matching positions.
    bool conocido() const { return disponible; }

private:
    bool disponible = false;
};

} // namespace zul
