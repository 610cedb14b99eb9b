#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string_view>

// What the cells of a track grid mean. A cell holds the character '0' + its
// value.
namespace zul {

constexpr char kMuro = '5';

// The arrow tiles, in the order the viewer keeps them.
enum Baldosa { Arriba, Abajo, Izquierda, Derecha, NumBaldosas, SinBaldosa = -1 };

// The tile a cell draws from the arrow zoom on: 0, 1, 2 and 3 point down,
// right, up and left; every other cell draws none.
constexpr Baldosa baldosaDe(char celda) {
    switch (celda) {
    case '0':
        return Abajo;
    case '1':
        return Derecha;
    case '2':
        return Arriba;
    case '3':
        return Izquierda;
    default:
        return SinBaldosa;
    }
}

// The cell under a map point of a grid of filas x columnas cells. Points
// outside the grid (or not numbers) read the nearest cell, clamped in floating
// point first so any coordinate lands on the grid; with no cells everything
// reads as wall.
inline char casillaEn(std::string_view celdas, int filas, int columnas, double x, double y) {
    if (celdas.empty() || filas <= 0 || columnas <= 0) {
        return kMuro;
    }
    const double columna = std::clamp(std::floor(x), 0.0, static_cast<double>(columnas - 1));
    const double fila = std::clamp(std::floor(y), 0.0, static_cast<double>(filas - 1));
    const std::size_t j = std::isnan(columna) ? 0 : static_cast<std::size_t>(columna);
    const std::size_t i = std::isnan(fila) ? 0 : static_cast<std::size_t>(fila);
    return celdas[j + i * static_cast<std::size_t>(columnas)];
}

} // namespace zul
