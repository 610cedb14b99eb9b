// The window's projector side: the cameras, kart names, full track and
// visible shots of the bar under the timeline, full screen and the panel that
// can be hidden.
#include "escena/camara.h"
#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelJugadores.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/disparos_recientes.h"
#include "reproduccion/protagonista.h"
#include "ventana/CVentana.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

void CVentana::montaProyector(QVBoxLayout* layoutPista) {
    barra = new CBarraProyector;
    layoutPista->addWidget(barra);
    connect(barra, &CBarraProyector::cambiadas, this, &CVentana::aplicaOpciones);
    connect(selectorJugador, &QSpinBox::valueChanged, this, [this] { muestraExtras(); });
    connect(jugadores, &CPanelJugadores::jugadorElegido, this, &CVentana::mira);
    // An event jump follows the player the event is about; the whole track
    // already shows it, so there only the marked player changes.
    connect(lineaTiempo, &CLineaTiempo::eventoElegido, this, [this](long long frame) {
        const int j =
            zul::protagonistaEvento(reproduccion, eventos, frame, selectorJugador->value());
        if (j < 0) {
            return;
        }
        if (barra->camara() == zul::Camara::Pista) {
            selectorJugador->setValue(j);
        } else {
            mira(j);
        }
    });

    anadeAtajo(Qt::Key_0, tr("0"), tr("Cámara «Pista entera»: todo el mapa"),
               [this] { ponCamara(zul::Camara::Pista); });
    anadeAtajo(Qt::Key_D, tr("D"), tr("Cámara «Director»: sigue al líder"),
               [this] { ponCamara(zul::Camara::Director); });
    anadeAtajo(Qt::Key_N, tr("N"), tr("Nombres de los karts"),
               [this] { barra->alternaEtiquetas(); });
    anadeAtajo(Qt::Key_F11, tr("F11"), tr("Pantalla completa"),
               [this] { alternaPantallaCompleta(); });
    anadeAtajo(Qt::Key_H, tr("H"), tr("Ocultar o mostrar el panel"), [this] { alternaPanel(); });
    anadeAtajo(Qt::Key_Escape, tr("Esc"),
               tr("Cerrar la ficha del kart, salir de un campo o de la pantalla completa"), [this] {
                   if (cierraFicha()) {
                       return;
                   }
                   if (isFullScreen()) {
                       alternaPantallaCompleta();
                   }
               });
    // The row of the player followed from the start.
    muestraExtras();
}

void CVentana::aplicaOpciones() {
    visualizador->ponOpciones(barra->aplicaA(visualizador->opcionesEscena()));
    muestraExtras();
}

void CVentana::muestraExtras() {
    if (barra == nullptr) {
        return; // still building
    }
    const long long frame = reproduccion.frameEnPantalla();
    const zul::OpcionesEscena& opciones = visualizador->opcionesEscena();
    int lider = -1;
    if (opciones.camara == zul::Camara::Director && frame >= 0) {
        // The analysis grows with the race in live mode.
        const std::vector<zul::Puesto> puestos = analisis.clasificacion(frame);
        lider = puestos.empty() ? -1 : puestos.front().jugador;
    }
    visualizador->ponLider(lider);
    QVector<zul::RayoReciente> recientes;
    if (opciones.disparosVisibles && frame >= 0) {
        for (const zul::DisparoReciente& d :
             zul::disparosRecientes(reproduccion, frame, zul::kPasosRayoVisible)) {
            const zul::Disparo& disparo = carrera().disparos[d.indice];
            recientes.append({disparo.inicio, disparo.fin, d.edad});
        }
    }
    visualizador->ponRayosRecientes(recientes);
    jugadores->marca(zul::jugadorEnfocado(visualizador->escena()));
}

void CVentana::mira(int jugador) {
    // A player the race does not have is no reason to follow another one.
    if (jugador < 0 || jugador >= carrera().numJugadores) {
        return;
    }
    const zul::Camara camara = barra->camara();
    if (camara == zul::Camara::Pista || camara == zul::Camara::Director) {
        ponCamara(zul::Camara::Seguir);
    }
    selectorJugador->setValue(jugador);
    muestraExtras();
}

void CVentana::ponCamara(zul::Camara camara) {
    barra->ponCamara(camara);
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
                 {panelLateral, static_cast<QWidget*>(lineaTiempo), static_cast<QWidget*>(barra)}) {
                parte->setFont(escala == 1.0 ? QFont() : letra);
            }
            escalaLetra = escala;
        }
        if (escala == 1.0 || panelLateral->minimumSizeHint().height() <= height()) {
            break;
        }
    }
    // Never smaller than what shows every control whole; a full-screen
    // window is the screen's size anyway.
    if (!isFullScreen()) {
        setMinimumSize(divisor->minimumSizeHint().expandedTo(QSize(1, 1)));
    }
}
