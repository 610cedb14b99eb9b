#pragma once

#include "escena/escena.h"

class QPainter;

namespace zul {

// The bots' debug layer over the picture (datos/depuracion.h): for each
// turn of the scene, its lines, circles and texts in their colours, in map
// cells like everything else; the command it sent as a white arrow from its
// kart (force 1 reaching one cell past the disc's edge); and, when it asked for a shot, a
// red ring around the kart. Drawings with numbers that are not finite, or
// far outside the picture, are left out.
void pintaDepuracion(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);

} // namespace zul
