#include "guardar_png.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace zul {

bool guardaPng(const QImage& imagen, const QString& ruta, QString& error) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("No se pudo guardar la imagen en %1: %2.")
                    .arg(ruta, archivo.errorString());
        return false;
    }
    QImageWriter escritor(&archivo, "png");
    if (!escritor.write(imagen)) {
        archivo.cancelWriting();
        error = QStringLiteral("No se pudo guardar la imagen en %1: %2.")
                    .arg(ruta, escritor.errorString());
        return false;
    }
    if (!archivo.commit()) {
        error = QStringLiteral("No se pudo guardar la imagen en %1: %2.")
                    .arg(ruta, archivo.errorString());
        return false;
    }
    return true;
}

} // namespace zul
