#pragma once

#include "analisis/analisis.h"
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <memory>
#include <optional>

namespace zul {

// Progress round the track of each player at each frame: the laps completed
// plus the fraction of the current lap covered, as the standings measure it
// (AnalisisCarrera::progreso). Telemetry, the speed chart and the delta
// against a ghost all read it from here. An analysis without the map is
// analysed again with it. Where the track gives no progress (no map, a finish
// line not learnt yet) it is not known. The race, the analysis and the map
// must outlive it.
class ProgresoVuelta {
public:
    ProgresoVuelta(const Carrera& carrera, const AnalisisCarrera& analisis, const Mapa* mapa);

    // Laps + fraction of player j at frame k; nothing when unknown or when
    // the frame was not analysed.
    std::optional<double> en(int jugador, long long frame) const;
    // The fraction of its lap alone, from 0 to 1.
    std::optional<double> fraccion(int jugador, long long frame) const;
    // False when no frame has a known progress, so callers can fall back
    // to the distance driven.
    bool conocido() const { return fuente != nullptr && fuente->campo() != nullptr; }

private:
    std::unique_ptr<AnalisisCarrera> propio;
    const AnalisisCarrera* fuente = nullptr;
};

} // namespace zul
