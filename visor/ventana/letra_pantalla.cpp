#include "ventana/letra_pantalla.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

#include <algorithm>

namespace zul {

double escalaPantallaCompleta(QSize pantalla) {
    // 1280 x 720 and smaller keep the usual fonts; a 1080p projector gets
    // half as large again.
    return std::clamp(std::min(pantalla.width() / 1280.0, pantalla.height() / 720.0), 1.0, 2.5);
}

double ajustaLetra(QWidget* ventana, double escala, double actual, const QList<QWidget*>& partes,
                   const QWidget* panel) {
    QFont letra = QApplication::font(ventana);
    const double base = letra.pointSizeF() > 0 ? letra.pointSizeF() : 9.0;
    for (;; escala -= 0.125) {
        escala = std::max(escala, 1.0);
        if (escala != actual) {
            letra.setPointSizeF(base * escala);
            for (QWidget* parte : partes) {
                parte->setFont(escala == 1.0 ? QFont() : letra);
            }
            actual = escala;
        }
        if (escala == 1.0 || panel->minimumSizeHint().height() <= ventana->height()) {
            return escala;
        }
    }
}

} // namespace zul
