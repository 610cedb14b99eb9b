#include "salida/guardar_png.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <cerrno>
#include <new>

namespace zul {

namespace {

QString noSeGuardo(const QString& ruta, const QString& motivo) {
    return QStringLiteral("No se pudo guardar la imagen en %1: %2.").arg(ruta, motivo);
}

} // namespace

bool guardaPng(const QImage& imagen, const QString& ruta, QString& error,
               const LlamadasEscritura& llamadas) {
    return guardaEnFormato(imagen, ruta, "png", -1, error, llamadas);
}

bool guardaEnFormato(const QImage& imagen, const QString& ruta, const char* formato, int calidad,
                     QString& error, const LlamadasEscritura& llamadas) {
    // The whole picture is encoded first: what reaches the disk is only ever
    // a complete picture.
    QByteArray png;
    try {
        QBuffer memoria(&png);
        memoria.open(QIODevice::WriteOnly);
        QImageWriter escritor(&memoria, formato);
        escritor.setQuality(calidad);
        if (!escritor.write(imagen)) {
            error = noSeGuardo(ruta, escritor.errorString());
            return false;
        }
    } catch (const std::bad_alloc&) {
        error = noSeGuardo(ruta, motivoDeEscritura(ENOMEM));
        return false;
    }

    const int fallo = escribeArchivo(QFile::encodeName(ruta), png, llamadas);
    if (fallo != 0) {
        error = noSeGuardo(ruta, motivoDeEscritura(fallo));
        return false;
    }
    return true;
}

} // namespace zul
