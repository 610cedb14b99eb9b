#include "CVentana.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <exception>

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    try {
        // QApplication has taken its own options out of argv already.
        CVentana ventana(argc > 1 ? argv[1] : nullptr, argc > 2 ? argv[2] : nullptr);
        ventana.show();
        return aplicacion.exec();
    } catch (std::exception* error) {
        QMessageBox caja;
        caja.setText(QObject::tr(error->what()));
        if (auto* deArchivo = dynamic_cast<CVentana::excepcionArchivo*>(error)) {
            const QString ruta = QString::fromLocal8Bit(deArchivo->ruta());
            caja.setInformativeText(ruta.isEmpty() ? QObject::tr("Falta la ruta del archivo.")
                                                   : QObject::tr("Archivo: %1").arg(ruta));
        }
        delete error;
        caja.show();
        aplicacion.exec();
        // The viewer could not show the race: that is a failure, whatever the
        // message box's event loop returned.
        return EXIT_FAILURE;
    }
}
