#pragma once

#include "datos/carrera.h"

#include <vector>

// A race of n players from their lap counts alone, frame after frame; a last
// frame may be short. Positions and headings are all zero.
inline zul::Carrera carreraDeVueltas(int n, const std::vector<std::vector<int>>& vueltas) {
    zul::Carrera c;
    c.numJugadores = n;
    c.nombres.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    for (const std::vector<int>& frame : vueltas) {
        for (int v : frame) {
            c.posiciones.emplace_back(0.0, 0.0);
            c.angulos.push_back(0.0);
            c.vueltas.push_back(v);
        }
    }
    return c;
}
