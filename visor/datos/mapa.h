#pragma once

#include "datos/error_formato.h"

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

// A number in a map file longer than this many characters (white space
// before it not counted) is refused: reading on would keep it all in memory.
constexpr std::size_t kLargoMaximoNumero = std::size_t{1} << 20;

// The character kept for a cell value: '0' + value in 8 bits, except that a
// value other than 0-3 and 5 whose character would wrap round onto an arrow
// or the wall ('0'-'3', '5') becomes '4', plain track, as every other value is.
char caracterCelda(long long valor);

// Checks declared dimensions and returns the cell count; throws ErrorFormato
// when they are negative or too many for a 32-bit count.
std::size_t compruebaDimensiones(long long filas, long long columnas);

// Reads a map file from an open stream into `mapa`. Throws ErrorFormato when the dimensions cannot
// be read, are too large to read, are negative, do not fit a 32-bit cell count or cannot be
// allocated, when not even the first cell can be read, or when a number is longer than
// kLargoMaximoNumero. Cells that cannot be read after the first repeat the last one read.
// The stream is read in pieces, so white space is never kept, and reading stops after the last
// cell: a stream that never ends is no trouble.
void leerMapa(std::FILE* archivo, Mapa& mapa);

// The same, reading pieces of `trozo` bytes, so that tests can put the end of
// a piece anywhere.
void leerMapaEnTrozos(std::FILE* archivo, Mapa& mapa, std::size_t trozo);

} // namespace zul
