#pragma once

#include "escena/escena.h"

class QPainter;

namespace zul {

// Draws a scene's texts over its picture: each name beside its kart (for the
// karts whose disc is drawn), the step in the top-left corner and the
// standings in the top-right one. Text sizes follow the picture's height, so
// a 512-pixel still and a 1080p video read alike.
void pintaRotulos(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);

// Pixel height of the overlay's text for a picture of this height.
int altoLetraRotulos(int altoImagen);

} // namespace zul
