#pragma once

#include "datos/carrera.h"
#include "datos/mapa.h"

#include <cstdio>

namespace zul {

// The race log read exactly as its format describes, one fscanf per field.
// It is the yardstick for the viewer's reader: the same results on every
// input, and the speed the fast reader is measured against. Never used by the
// viewer itself.
void leerCarreraReferencia(std::FILE* archivo, Carrera& carrera);

// The map read with one fscanf per cell; after the first cell that cannot be
// read, the rest repeat the last value.
void leerMapaReferencia(std::FILE* archivo, Mapa& mapa);

} // namespace zul
