#include "ventana/CGestorVentanas.h"

#include "ventana/CDialogoAbrir.h"
#include "ventana/CSeleccionarArchivo.h"

#include <QAction>
#include <QKeySequence>

CGestorVentanas::CGestorVentanas(QObject* parent) : QObject(parent) {}

CGestorVentanas::~CGestorVentanas() {
    delete ventana.data();
}

void CGestorVentanas::muestra(std::unique_ptr<CVentana> nueva, const QString& rutaCarrera,
                              const QString& rutaMapa) {
    if (!nueva) {
        return;
    }
    CVentana* vieja = ventana;
    ventana = nueva.release();
    carrera = rutaCarrera;
    mapa = rutaMapa;
    // Closing the window is the end of it: it holds the whole recorded race.
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    // On screen, the end of the race is where the replay stops.
    ventana->reproductor()->ponPausaAlFinal(true);
    auto* abrir = new QAction(tr("Abrir otra carrera"), ventana);
    abrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    abrir->setStatusTip(abrir->text());
    connect(abrir, &QAction::triggered, this, &CGestorVentanas::abreOtra);
    ventana->addAction(abrir);
    // Two files dropped on the window open in its place too.
    connect(ventana, &CVentana::abrirArchivos, this, &CGestorVentanas::abre);
    if (vieja != nullptr) {
        ventana->setGeometry(vieja->geometry());
        ventana->setWindowState(vieja->windowState());
    }
    // The new window shows before the old one closes, so the application never
    // runs out of windows and quits in between.
    ventana->show();
    if (vieja != nullptr) {
        vieja->close();
    }
}

bool CGestorVentanas::abreConDialogo(const QString& rutaCarrera) {
    CDialogoAbrir dialogo;
    dialogo.selectorCarrera()->ponRuta(rutaCarrera);
    return muestraSiAcepta(dialogo);
}

bool CGestorVentanas::abreOtra() {
    CDialogoAbrir dialogo(ventana);
    dialogo.selectorCarrera()->ponRuta(carrera);
    dialogo.selectorMapa()->ponRuta(mapa);
    return muestraSiAcepta(dialogo);
}

bool CGestorVentanas::muestraSiAcepta(CDialogoAbrir& dialogo) {
    if (dialogo.exec() != QDialog::Accepted) {
        return false;
    }
    muestra(dialogo.tomarVentana(), dialogo.selectorCarrera()->ruta(),
            dialogo.selectorMapa()->ruta());
    return true;
}

bool CGestorVentanas::abre(const QString& rutaCarrera, const QString& rutaMapa) {
    std::unique_ptr<CVentana> nueva =
        CDialogoAbrir::construyeVentana(rutaCarrera, rutaMapa, ventana);
    if (!nueva) {
        return false;
    }
    muestra(std::move(nueva), rutaCarrera, rutaMapa);
    return true;
}
