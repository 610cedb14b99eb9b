// The live reader against the whole-file reader: the same log given in pieces
// must end as the same race, and in between hold only a part of it.
#pragma once

#include "datos/carrera.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zul::robustez {

// Empty when both races are the same, field by field (doubles bit for bit);
// otherwise what differs first.
std::string diferenciaCarreras(const Carrera& a, const Carrera& b);

// Gives `bytes` to LectorCarreraIncremental cut at `cortes` (offsets in
// increasing order; others are ignored), then termina(). After every piece
// the race must hold whole frames only, each the same as in leerCarrera's
// race, with their shots; at the end, exactly leerCarrera's race, or the
// same error. Empty when all of that held.
std::string compruebaIncremental(const std::string& bytes, const std::vector<std::size_t>& cortes);

} // namespace zul::robustez
