#pragma once

#include "error_formato.h"

#include <cstddef>
#include <cstdio>
#include <string>

namespace zul {

// A track grid: cell (column x, row y) at index x + y * columns, each cell kept
// as the character '0' + its value (8-bit), so '5' is a wall.
struct Mapa {
    int filas = 0;
    int columnas = 0;
    std::string celdas;
};

// Checks declared dimensions and returns the cell count; throws ErrorFormato
// when they are negative or too many for a 32-bit count.
std::size_t compruebaDimensiones(long long filas, long long columnas);

// Reads a map file from an open stream into `mapa`. Throws ErrorFormato when the dimensions cannot
// be read, are negative, do not fit a 32-bit cell count or cannot be allocated, or when not even
// the first cell can be read. Cells that cannot be read after the first repeat the last one read.
void leerMapa(std::FILE* archivo, Mapa& mapa);

} // namespace zul
