#pragma once

#include "escena/colocacion_etiquetas.h"
#include "escena/escena.h"

#include <QFont>

#include <QString>

class QPainter;

namespace zul {

// Whether kart k has another kart so close on the picture that a name
// beside it would cover that kart: then it is labelled with its number.
bool kartApinado(const Escena& escena, const Encuadre& encuadre, int k, double distancia);

// The text beside kart k: its name, or its number when crowded or nameless.
QString textoEtiqueta(const Escena& escena, int k, bool apinado);

// The labels of the karts in view, in `letra`: the followed kart's first,
// then the leaders' down the standings; a label that would touch one placed
// before moves, falls back to the number, or is left out.
std::vector<EtiquetaColocada> etiquetasKarts(const Escena& escena, const Encuadre& encuadre,
                                             const QFont& letra);

// The labels' font on a picture this size.
QFont letraEtiquetas(const QFont& base, QSize vista);

// Draws the kart labels over the picture, each on a dark plate in its disc
// colour, and a white ring around the kart the camera keeps in view.
void pintaEtiquetas(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);

} // namespace zul
