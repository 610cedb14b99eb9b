#pragma once

#include "analisis/pista.h"
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <cstddef>
#include <vector>

namespace zul {

// Where the track crosses itself, as the karts drove it from frame desde[j]
// (for kart j: its first completion, where its whole laps start) up to frame
// `hasta`:
// the cells where one kart, on one lap count, came within a cell of where it
// had been some track before, heading 60 to 120 degrees away from the way it
// went then, having gone far away in between; where another kart did the
// same (unless there is one); and the track round each such cell out to the
// nearest wall,
// each with both ways (the neighbours nearest each heading). Sorted by cell;
// a track that never crosses itself has none.
std::vector<Interseccion> aprendeIntersecciones(const Mapa& mapa, const Carrera& carrera,
                                                const std::vector<long long>& desde,
                                                long long hasta);

} // namespace zul
