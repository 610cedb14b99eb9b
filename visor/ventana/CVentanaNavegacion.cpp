// The window's navigation: the timeline, the keyboard shortcuts with their
// rows in the F1 list, the wheel and clicks on the track, and the number
// fields that give the keys back.
#include "geometria/interaccion.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CVisualizador.h"
#include "paneles/filtro_selectores.h"
#include "ventana/CDialogoAtajos.h"
#include "ventana/CVentana.h"

#include <QAbstractSpinBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>

#include <algorithm>
#include <functional>

void CVentana::anadeAtajo(const QKeySequence& teclas, const QString& tecla, const QString& accion,
                          std::function<void()> hace) {
    auto* nuevo = new QShortcut(teclas, this);
    nuevo->setObjectName(CDialogoAtajos::kNombreAtajo);
    // What the help window shows for it; empty for the keys that share one
    // row there.
    nuevo->setProperty("tecla", tecla);
    nuevo->setWhatsThis(accion);
    connect(nuevo, &QShortcut::activated, this, std::move(hace));
}

void CVentana::montaNavegacion() {
    connect(lineaTiempo, &CLineaTiempo::frameElegido, this, &CVentana::irAFrame);
    connect(botonPasoAtras, &QPushButton::clicked, this, &CVentana::pasoAtras);

    const auto zoomEn = [this](double muescas) {
        // Through the spin box, so that it, the view and its range agree.
        selectorZoom->setValue(zul::zoomTrasMuescas(selectorZoom->value(), muescas));
    };
    const auto mira = [this](int jugador) { this->mira(jugador); };
    connect(visualizador, &CVisualizador::ruedaGirada, this, zoomEn);
    connect(visualizador, &CVisualizador::clicEnMapa, this, [this, mira](QPointF punto) {
        QVector<QPointF> posiciones;
        for (int j = 0; j < visualizador->cantidadJugadores(); ++j) {
            posiciones.append(visualizador->posicionJugador(j));
        }
        // At the zoom the camera frames with, which the whole track chooses.
        const int kart = zul::kartEnPunto(posiciones, punto, visualizador->encuadre().zoom);
        mira(kart);
        // The inspector opens on it, or closes at a second click.
        alternaFicha(kart);
    });

    const auto salta = [this](long long frames) {
        irAFrame(std::max(frameMostrado(), 0LL) + frames);
    };
    const auto atajo = [this](QKeySequence teclas, const QString& tecla, const QString& accion,
                              std::function<void()> hace) {
        anadeAtajo(teclas, tecla, accion, std::move(hace));
    };
    atajo(Qt::Key_Space, tr("Espacio"), tr("Ejecutar o pausar"), [this] { alternaEjecucion(); });
    atajo(Qt::Key_Right, tr("Flecha derecha"), tr("Un paso adelante"), [this] { step(); });
    atajo(Qt::Key_Left, tr("Flecha izquierda"), tr("Un paso atrás"), [this] { pasoAtras(); });
    atajo(Qt::Key_Home, tr("Inicio"), tr("Primer paso"), [this] { irAFrame(0); });
    atajo(Qt::Key_End, tr("Fin"), tr("Último paso"),
          [this] { irAFrame(static_cast<long long>(numeroFrames()) - 1); });
    atajo(Qt::Key_PageUp, tr("Re Pág"), tr("10 pasos adelante"), [salta] { salta(10); });
    atajo(Qt::Key_PageDown, tr("Av Pág"), tr("10 pasos atrás"), [salta] { salta(-10); });
    atajo(Qt::Key_Plus, tr("+"), tr("Acercar (más zoom)"), [zoomEn] { zoomEn(1.0); });
    atajo(Qt::Key_Minus, tr("-"), tr("Alejar (menos zoom)"), [zoomEn] { zoomEn(-1.0); });
    for (int k = 1; k <= 9; ++k) {
        atajo(Qt::Key_0 + k, k == 1 ? tr("1 … 9") : QString(),
              tr("Mirar al jugador 0 … 8 (1 → 0, 9 → 8)"), [mira, k] { mira(k - 1); });
    }
    atajo(Qt::Key_BracketLeft, tr("["), tr("Evento anterior"),
          [this] { lineaTiempo->eventoAnterior(); });
    atajo(Qt::Key_BracketRight, tr("]"), tr("Evento siguiente"),
          [this] { lineaTiempo->eventoSiguiente(); });
    atajo(Qt::Key_F1, tr("F1"), tr("Esta lista de atajos"), [this] { muestraAtajos(); });

    auto* filtro = new FiltroSelectores(visualizador, this);
    for (QWidget* selector :
         std::initializer_list<QWidget*>{selectorJugador, selectorZoom, selectorVelocidad}) {
        selector->installEventFilter(filtro);
    }
    // Enter in a number field hands the keys back to the track, so that 1-9
    // and the other shortcuts work again.
    for (QAbstractSpinBox* selector : std::initializer_list<QAbstractSpinBox*>{
             selectorJugador, selectorZoom, selectorVelocidad}) {
        connect(selector, &QAbstractSpinBox::editingFinished, this, [this, selector] {
            if (selector->hasFocus()) {
                visualizador->setFocus(Qt::OtherFocusReason);
            }
        });
    }
    // A click on the track takes the focus out of any field.
    visualizador->setFocusPolicy(Qt::ClickFocus);
}

void CVentana::muestraAtajos() {
    if (auto* abierta =
            findChild<QDialog*>(CDialogoAtajos::kNombreDialogo, Qt::FindDirectChildrenOnly)) {
        abierta->raise();
        abierta->activateWindow();
        return;
    }
    (new CDialogoAtajos(this))->show();
}
