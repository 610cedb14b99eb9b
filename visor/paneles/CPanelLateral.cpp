#include "paneles/CPanelLateral.h"

#include "paneles/CPanelJugadores.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

CPanelLateral::CPanelLateral(QWidget* parent) : QWidget(parent) {
    auto* layoutPanel = new QVBoxLayout(this);
    filasVisualizacion = new QVBoxLayout;
    layoutControles = new QVBoxLayout;

    grupoControles = new QGroupBox(tr("Controles"));
    grupoJugadores = new CPanelJugadores;
    grupoVisualizacion = new QGroupBox(tr("Visualizacion"));
    reiniciar = new QPushButton(tr("Reiniciar"));
    ejecutar = new QPushButton(tr("Ejecuta&r"));
    paso = new QPushButton(tr("Pa&so"));
    pausa = new QPushButton(tr("&Pausa"));
    pasoAtras = new QPushButton(tr("Paso atras"));
    jugador = new QSpinBox;
    zoom = new QDoubleSpinBox;
    velocidad = new QDoubleSpinBox;

    zoom->setValue(10.0);
    zoom->setRange(0.1, 50.0);
    zoom->setSingleStep(0.1);
    velocidad->setRange(0.01, 50.0);
    velocidad->setValue(1.0);
    ponNumeroJugadores(0);

    // Narrow margins: the panel has to fit a 512-pixel-high window with the
    // rows of a small race whole.
    layoutPanel->setContentsMargins(6, 4, 6, 4);
    layoutPanel->setSpacing(4);
    layoutPanel->addWidget(grupoJugadores);
    layoutPanel->addWidget(grupoVisualizacion);
    layoutPanel->addWidget(grupoControles);
    grupoVisualizacion->setLayout(filasVisualizacion);
    grupoControles->setLayout(layoutControles);
    // Tight boxes: the smallest window holds ten rows of players above them.
    for (QBoxLayout* caja : {static_cast<QBoxLayout*>(filasVisualizacion),
                             static_cast<QBoxLayout*>(layoutControles)}) {
        caja->setContentsMargins(6, 2, 6, 4);
        caja->setSpacing(3);
    }

    layoutControles->setSizeConstraint(QLayout::SetMinimumSize);
    layoutControles->addWidget(ejecutar);
    layoutControles->addWidget(pausa);
    // "Paso atras" beside "Pa&so", backwards on the left.
    auto* filaPaso = new QHBoxLayout;
    filaPaso->addWidget(pasoAtras);
    filaPaso->addWidget(paso);
    layoutControles->addLayout(filaPaso);
    // "En vivo" beside "Reiniciar": the replay's controls keep their rows.
    enVivo = new QCheckBox(tr("En vivo"));
    enVivo->setToolTip(tr("Sigue el registro de carrera mientras el árbitro lo escribe (L)"));
    auto* filaReinicio = new QHBoxLayout;
    filaReinicio->addWidget(reiniciar);
    filaReinicio->addWidget(enVivo);
    layoutControles->addLayout(filaReinicio);

    filasVisualizacion->addWidget(conEtiqueta(tr("Mirar al jugador:"), jugador));
    filasVisualizacion->addWidget(conEtiqueta(tr("Zoom:"), zoom));
    filasVisualizacion->addWidget(conEtiqueta(tr("Velocidad(pasos/segundo):"), velocidad));
    estelas = new QCheckBox(tr("Estelas"));
    filasVisualizacion->addWidget(estelas);
    muestraEnMarcha(false);
}

void CPanelLateral::ponNumeroJugadores(int n) {
    const QSignalBlocker sinAvisos(jugador);
    jugador->setRange(0, std::max(n - 1, 0));
}

void CPanelLateral::muestraEnMarcha(bool enMarcha) {
    ejecutar->setEnabled(!enMarcha);
    pausa->setEnabled(enMarcha);
}

QWidget* CPanelLateral::conEtiqueta(const QString& texto, QWidget* control) {
    auto* fila = new QWidget;
    auto* layout = new QHBoxLayout(fila);
    // The box has margins of its own; doubled, they pushed the panel out of a
    // 512-pixel-high window.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(texto));
    layout->addWidget(control);
    return fila;
}
