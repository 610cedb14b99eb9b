#pragma once

#include "escena/escena.h"

#include <QString>

class QPainter;

namespace zul {

// Whether kart k has another kart so close on the picture that a name
// beside it would cover that kart: then it is labelled with its number.
bool kartApinado(const Escena& escena, const Encuadre& encuadre, int k, double distancia);

// The text beside kart k: its name, or its number when crowded or nameless.
QString textoEtiqueta(const Escena& escena, int k, bool apinado);

// Draws the kart labels over the picture: each kart's text on a dark plate
// to its right (to its left near the right edge; the number where the name
// would lie over another kart's disc),
// in its disc colour, and a white ring around the kart the camera keeps in
// view.
void pintaEtiquetas(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);

} // namespace zul
