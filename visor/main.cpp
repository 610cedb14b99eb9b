#include "CDialogoAbrir.h"
#include "CGestorVentanas.h"
#include "CVentana.h"
#include "renderizado.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <cstdlib>
#include <exception>
#include <memory>

int main(int argc, char* argv[]) {
    // --png, --help and --version open no window and need no display.
    if (zul::esLineaDeOrdenes(argc, argv)) {
        return zul::ejecutaLineaDeOrdenes(argc, argv);
    }
    QApplication aplicacion(argc, argv);
    // Qt's own dialogs (the file chooser, the buttons of message boxes) speak
    // Spanish like the rest of the viewer. The viewer's texts need no
    // translation: they are Spanish already.
    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&traduccionQt);
    }
    try {
        // QApplication has taken its own options out of argv already.
        CGestorVentanas gestor;
        if (argc > 2) {
            gestor.muestra(std::make_unique<CVentana>(argv[1], argv[2]), QFile::decodeName(argv[1]),
                           QFile::decodeName(argv[2]));
        } else if (!gestor.abreConDialogo(argc > 1 ? QFile::decodeName(argv[1]) : QString())) {
            return EXIT_SUCCESS; // the user cancelled the start dialog
        }
        return aplicacion.exec();
    } catch (std::exception* error) {
        std::unique_ptr<std::exception> propio(error);
        QMessageBox caja;
        explicaError(caja, *error);
        caja.show();
        aplicacion.exec();
        // The viewer could not show the race: that is a failure, whatever the
        // message box's event loop returned.
        return EXIT_FAILURE;
    }
}
