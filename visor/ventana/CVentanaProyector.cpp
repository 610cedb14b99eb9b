// The window's projector side: the cameras, kart names, full track and
// visible shots of the bar under the timeline, full screen and the panel that
// can be hidden.
#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CVisualizador.h"
#include "ventana/CVentana.h"

#include <QApplication>
#include <QCheckBox>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

void CVentana::montaProyector(QVBoxLayout* layoutPista) {
    barra = new CBarraProyector;
    layoutPista->addWidget(barra);
    connect(barra, &CBarraProyector::cambiadas, control,
            [this] { control->ponOpciones(barra->aplicaA(control->opciones())); });
}

void CVentana::muestraOpciones() {
    const zul::OpcionesEscena& opciones = control->opciones();
    visualizador->ponOpciones(opciones);
    barra->muestra(opciones);
    {
        const QSignalBlocker sinAvisos(casillaEstelas);
        casillaEstelas->setChecked(opciones.estelas);
    }
    visualizador->ponRayosRecientes(control->rayosRecientes());
    muestraPuestos();
    // The whole track marks no row.
    muestraSeguido();
}

void CVentana::alternaPantallaCompleta() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

void CVentana::alternaPanel() {
    const bool visible = !panelLateral->isVisible();
    panelLateral->setVisible(visible);
    barra->setVisible(visible);
    ajustaLetra();
    colocaClasificacion();
}

double CVentana::escalaPantallaCompleta(QSize pantalla) {
    // 1280 x 720 and smaller keep the usual fonts; a 1080p projector gets
    // half as large again.
    return std::clamp(std::min(pantalla.width() / 1280.0, pantalla.height() / 720.0), 1.0, 2.5);
}

void CVentana::ajustaLetra() {
    if (barra == nullptr) {
        return; // still building
    }
    // In full screen the panel, the bar and the timeline grow with the
    // screen, as far as the panel still fits in its height.
    double escala = isFullScreen() ? escalaPantallaCompleta(size()) : 1.0;
    QFont letra = QApplication::font(this);
    const double base = letra.pointSizeF() > 0 ? letra.pointSizeF() : 9.0;
    for (;; escala -= 0.125) {
        escala = std::max(escala, 1.0);
        if (escala != escalaLetra) {
            letra.setPointSizeF(base * escala);
            for (QWidget* parte :
                 {panelLateral, static_cast<QWidget*>(lineaTiempo), static_cast<QWidget*>(barra),
                  static_cast<QWidget*>(panelClasificacion)}) {
                parte->setFont(escala == 1.0 ? QFont() : letra);
            }
            escalaLetra = escala;
        }
        if (escala == 1.0 || panelLateral->minimumSizeHint().height() <= height()) {
            break;
        }
    }
    fijaMinimo();
}
