#pragma once

#include "geometria/geometria.h"

#include <QColor>
#include <QSize>

class QPainter;

namespace zul {

class Estelas;

// The colour of a speed on the scale from `minima` (blue) through green and
// yellow to `maxima` (red); the middle of the scale when both are equal.
QColor colorVelocidad(double velocidad, double minima, double maxima);

// The slowest and fastest step of player j's trail; false when no step of it
// has a speed.
bool rangoVelocidad(const Estelas& estelas, int jugador, double& minima, double& maxima);

// "Trazada por velocidad": player j's trail, each step's segment in the
// colour of its length (the speed of that step, in cells per step) on the
// scale of rangoVelocidad.
void pintaTrazadaVelocidad(QPainter& pintor, const Estelas& estelas, int jugador,
                           const Encuadre& encuadre, QSize vista);

// That scale, with its two ends written, in the picture's bottom-left corner
// (over everything else).
void pintaEscalaVelocidad(QPainter& pintor, const Estelas& estelas, int jugador, QSize vista);

} // namespace zul
