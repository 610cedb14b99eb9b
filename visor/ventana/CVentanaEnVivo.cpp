// The window's live mode: the "En vivo" check box and its key, the look at
// the race log on every repaint tick, and what the window rebuilds when the
// log grows or holds another race. What grew is the session's to say.
#include "datos/eventos.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CMarcaEnVivo.h"
#include "paneles/CVisualizador.h"
#include "ventana/CDialogoAtajos.h"
#include "ventana/CVentana.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

void CVentana::montaEnVivo(bool encendido) {
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

    auto* atajo = new QShortcut(QKeySequence(Qt::Key_L), this);
    atajo->setObjectName(CDialogoAtajos::kNombreAtajo);
    atajo->setProperty("tecla", tr("L"));
    atajo->setWhatsThis(tr("Encender o apagar el modo en vivo"));
    connect(atajo, &QShortcut::activated, casillaEnVivo, &QCheckBox::toggle);

    if (encendido) {
        // The session exists already: the constructor needed the players.
        const QSignalBlocker sinAvisos(casillaEnVivo);
        casillaEnVivo->setChecked(true);
        // On a projector the race shows as it comes, without a click.
        ejecutar();
    }
    actualizaMarcaEnVivo();
}

void CVentana::ponEnVivo(bool encendido) {
    if (casillaEnVivo->isChecked() != encendido) {
        const QSignalBlocker sinAvisos(casillaEnVivo);
        casillaEnVivo->setChecked(encendido);
    }
    if (encendido == enVivo()) {
        return;
    }
    if (encendido) {
        sesionEnVivo = std::make_unique<zul::SesionEnVivo>(rutaCarrera, reproduccion, analisis,
                                                           temporizador->isActive());
        aplicaNovedades(sesionEnVivo->alEmpezar());
    } else {
        // What is left of the log is read, as a whole read would.
        const zul::SesionEnVivo::Novedades ultimas = sesionEnVivo->termina();
        sesionEnVivo.reset();
        aplicaNovedades(ultimas);
    }
    ponCarreraEnCurso(encendido);
    actualizaMarcaEnVivo();
}

void CVentana::sondeaEnVivo() {
    if (sesionEnVivo) {
        aplicaNovedades(sesionEnVivo->sondea(temporizador->isActive()));
    }
    actualizaMarcaEnVivo();
}

void CVentana::aplicaNovedades(const zul::SesionEnVivo::Novedades& novedades) {
    if (novedades.otraCarrera) {
        const int n = carrera().numJugadores;
        montaFilasJugadores();
        visualizador->ponNumeroJugadores(static_cast<unsigned int>(n));
        // The trails of the race before must not stay drawn.
        visualizador->ponEstelas(nullptr, 0, n);
        visualizador->quitaRayo();
        selectorJugador->setRange(0, std::max(n - 1, 0));
    }
    if (novedades.crecio) {
        eventos = zul::eventosCarrera(carrera());
        lineaTiempo->ponCarrera(numeroFrames(), eventos, nombresJugadores());
        carreraCrecida();
        muestraFoto();
    }
}

void CVentana::actualizaMarcaEnVivo() {
    if (marcaEnVivo == nullptr) {
        return;
    }
    if (!sesionEnVivo) {
        marcaEnVivo->muestra(CMarcaEnVivo::Aviso::ninguno);
        return;
    }
    const QString archivo = QFileInfo(QFile::decodeName(rutaCarrera.c_str())).fileName();
    using Estado = zul::SeguidorCarrera::Estado;
    switch (sesionEnVivo->estado()) {
    case Estado::esperando:
        marcaEnVivo->muestra(CMarcaEnVivo::Aviso::esperando, archivo);
        break;
    case Estado::siguiendo:
        marcaEnVivo->muestra(numeroFrames() > 0 &&
                                     sesionEnVivo->sigueLaCabeza(temporizador->isActive())
                                 ? CMarcaEnVivo::Aviso::enVivo
                                 : CMarcaEnVivo::Aviso::ninguno);
        break;
    case Estado::borrado:
        marcaEnVivo->muestra(CMarcaEnVivo::Aviso::borrado, archivo);
        break;
    case Estado::detenido:
        marcaEnVivo->muestra(CMarcaEnVivo::Aviso::detenido,
                             archivo + QStringLiteral(": ") +
                                 QString::fromUtf8(sesionEnVivo->motivo().c_str()));
        break;
    case Estado::error:
        marcaEnVivo->muestra(CMarcaEnVivo::Aviso::error,
                             archivo + QStringLiteral(": ") +
                                 QString::fromUtf8(sesionEnVivo->motivo().c_str()));
        break;
    }
}
