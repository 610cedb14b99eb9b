// The shortest ways round the track over its cells, for the distance field
// of pista.cpp: the cells' moves, and where the track crosses itself, a
// state for each way a cell is driven.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace zul::recorrido {

// Distances are whole fifths of a cell: a straight step costs 5, a diagonal
// one 7, so that one bucket queue orders them.
constexpr std::int32_t kRecto = 5;
constexpr std::int32_t kDiagonal = 7;
constexpr double kUnidad = 5.0;

// The eight steps to a neighbour: straight ones first.
constexpr std::array<int, 8> kDx = {1, -1, 0, 0, 1, 1, -1, -1};
constexpr std::array<int, 8> kDy = {0, 0, 1, -1, 1, -1, 1, -1};

// No way reaches the state (yet).
constexpr std::int32_t kSinCamino = std::numeric_limits<std::int32_t>::max();

// The states the ways go over: a cell of the map with a border round it
// (`bordeadas` of them, a neighbour `desplaza[d]` away), then eight for each
// cell where the track crosses itself.
struct Grafo {
    std::size_t estados = 0;
    std::size_t bordeadas = 0;
    int ancho = 0;
    std::array<std::ptrdiff_t, 8> desplaza{};
    // For each cell the moves it may make (bit d: towards kDx[d], kDy[d]).
    std::vector<std::uint8_t> movimientos;
    // The crossing of a cell, or -1; empty where the track never crosses.
    std::vector<std::int32_t> interseccion;
    std::vector<std::size_t> celdaInterseccion;
    std::vector<std::uint8_t> rumbosInterseccion;

    // The state of cell p driven heading `rumbo`; `estados`, none, for a way
    // not driven there.
    std::size_t estadoDe(std::size_t p, int rumbo) const {
        if (interseccion.empty() || interseccion[p] < 0) {
            return p;
        }
        const std::size_t k = static_cast<std::size_t>(interseccion[p]);
        return (rumbosInterseccion[k] >> rumbo & 1u) != 0
                   ? bordeadas + 8 * k + static_cast<std::size_t>(rumbo)
                   : estados;
    }
};

// Shortest ways over the states, forwards or backwards, from states that
// start at their distance from the line (`salidas`), into `quintos`, in
// fifths of a cell.
void recorre(const Grafo& grafo, std::vector<std::int32_t>& quintos, bool adelante,
             const std::vector<std::pair<std::size_t, double>>& salidas);

} // namespace zul::recorrido
