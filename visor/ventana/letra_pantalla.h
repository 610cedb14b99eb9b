#pragma once

#include <QList>
#include <QSize>

class QWidget;

namespace zul {

// How much the panel's fonts grow in full screen on a screen this size.
double escalaPantallaCompleta(QSize pantalla);

// Gives `partes` the font of `ventana` grown by `escala` (1: their usual
// font), less while `panel` would not fit the window's height. `actual` is
// the scale they have now; returns the one they get.
double ajustaLetra(QWidget* ventana, double escala, double actual, const QList<QWidget*>& partes,
                   const QWidget* panel);

} // namespace zul
