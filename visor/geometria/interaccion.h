#pragma once

#include <QPointF>
#include <QVector>

namespace zul {

// One notch of the mouse wheel, or one press of + or -, zooms by this factor.
constexpr double kFactorZoom = 1.25;

// The zoom after turning the wheel by `muescas` notches (negative: out).
// Fractions of a notch, from fine-grained wheels and touch pads, zoom by
// the matching fraction. A zoom or a turn that is not a number is kept.
double zoomTrasMuescas(double zoom, double muescas);

// The player whose kart disc, drawn at this zoom, holds the map point; the
// one drawn last (on top) when several do, -1 when none does.
int kartEnPunto(const QVector<QPointF>& posiciones, QPointF punto, double zoom);

} // namespace zul
