// The window's live mode: the "En vivo" check box beside "Reiniciar" and the
// mark over the track. Following the log is the controller's.
#include "paneles/CMarcaEnVivo.h"
#include "paneles/CVisualizador.h"
#include "ventana/CVentana.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

void CVentana::montaEnVivo() {
    casillaEnVivo = new QCheckBox(tr("En vivo"));
    casillaEnVivo->setToolTip(
        tr("Sigue el registro de carrera mientras el árbitro lo escribe (L)"));
    // Beside "Reiniciar": the replay's controls keep their four rows.
    auto* fila = new QHBoxLayout;
    layoutControles->insertLayout(layoutControles->indexOf(botonReiniciar), fila);
    layoutControles->removeWidget(botonReiniciar);
    fila->addWidget(botonReiniciar);
    fila->addWidget(casillaEnVivo);
    marcaEnVivo = new CMarcaEnVivo(visualizador);
    connect(casillaEnVivo, &QCheckBox::toggled, this, &CVentana::ponEnVivo);
    connect(control, &CReproductor::enVivoCambiado, this, &CVentana::muestraEnVivo);
    muestraEnVivo();
}

void CVentana::muestraEnVivo() {
    {
        const QSignalBlocker sinAvisos(casillaEnVivo);
        casillaEnVivo->setChecked(control->enVivo());
    }
    marcaEnVivo->muestraSesion(control->sesion(), control->siguiendoLaCabeza(), numeroFrames() > 0,
                               QFileInfo(QFile::decodeName(control->ruta().c_str())).fileName());
}
