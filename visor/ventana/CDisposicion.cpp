#include "ventana/CDisposicion.h"

#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CPanelLateral.h"
#include "paneles/CVisualizador.h"
#include "paneles/CZonaPista.h"

#include <QApplication>
#include <QFont>
#include <QSplitter>

#include <algorithm>

CDisposicion::CDisposicion(QWidget* ventana, QSplitter* divisor, CZonaPista* zona,
                           CPanelLateral* lateral)
    : QObject(ventana), ventana(ventana), divisor(divisor), zona(zona), lateral(lateral) {
    // The track takes whatever width the panel does not need, and no pane
    // folds away.
    divisor->setStretchFactor(0, 1);
    divisor->setStretchFactor(1, 0);
    divisor->setChildrenCollapsible(false);
    zona->vista()->setMinimumSize(160, 120);
}

double CDisposicion::escalaPantallaCompleta(QSize pantalla) {
    // 1280 x 720 and smaller keep the usual fonts; a 1080p projector gets
    // half as large again.
    return std::clamp(std::min(pantalla.width() / 1280.0, pantalla.height() / 720.0), 1.0, 2.5);
}

void CDisposicion::ajusta() {
    ajustaLetra();
    colocaClasificacion();
}

void CDisposicion::alternaPanel() {
    const bool visible = !lateral->isVisible();
    lateral->setVisible(visible);
    zona->barra()->setVisible(visible);
    ajusta();
}

void CDisposicion::alternaClasificacion() {
    zona->clasificacion()->alterna();
    colocaClasificacion();
}

void CDisposicion::ponMinimo() {
    // A full-screen window is the screen's size anyway.
    if (!ventana->isFullScreen()) {
        ventana->setMinimumSize(divisor->minimumSizeHint().expandedTo(QSize(1, 1)));
    }
}

void CDisposicion::colocaClasificacion() {
    // The panel gets what it asks for and no more.
    zona->colocaClasificacion(ventana->width(),
                              lateral->isHidden() ? 0 : lateral->sizeHint().width());
    ponMinimo();
}

void CDisposicion::ajustaLetra() {
    // In full screen the panel, the bar and the timeline grow with the
    // screen, as far as the panel still fits in its height.
    double escala = ventana->isFullScreen() ? escalaPantallaCompleta(ventana->size()) : 1.0;
    QFont letra = QApplication::font(ventana);
    const double base = letra.pointSizeF() > 0 ? letra.pointSizeF() : 9.0;
    for (;; escala -= 0.125) {
        escala = std::max(escala, 1.0);
        if (escala != escalaLetra) {
            letra.setPointSizeF(base * escala);
            for (QWidget* parte :
                 {static_cast<QWidget*>(lateral), static_cast<QWidget*>(zona->lineaTiempo()),
                  static_cast<QWidget*>(zona->barra()),
                  static_cast<QWidget*>(zona->clasificacion())}) {
                parte->setFont(escala == 1.0 ? QFont() : letra);
            }
            escalaLetra = escala;
        }
        if (escala == 1.0 || lateral->minimumSizeHint().height() <= ventana->height()) {
            break;
        }
    }
    ponMinimo();
}
