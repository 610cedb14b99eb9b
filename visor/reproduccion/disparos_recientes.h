#pragma once

#include "reproduccion/reproduccion.h"

#include <cstddef>
#include <vector>

namespace zul {

// A shot recorded in one of the steps before the one on show.
struct DisparoReciente {
    std::size_t indice = 0; // into carrera().disparos
    int edad = 1;           // steps between its frame and the one on show
};

// The shots of the `pasos` - 1 frames before `frame`, as fotoFrame would show
// them on their own frame, newest first.
std::vector<DisparoReciente> disparosRecientes(const Reproduccion& reproduccion, long long frame,
                                               int pasos);

} // namespace zul
