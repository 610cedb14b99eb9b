#include "salida/guardar_png.h"

#include "datos/rutas.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <cerrno>
#include <new>

namespace zul {

namespace {

QString noSeGuardo(const QString& ruta, const QString& motivo,
                   const QString& que = QStringLiteral("la imagen")) {
    return QStringLiteral("No se pudo guardar %1 en %2: %3.").arg(que, ruta, motivo);
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

    return guardaDatos(png, ruta, QStringLiteral("la imagen"), error, llamadas);
}

bool guardaDatos(const QByteArray& datos, const QString& ruta, const QString& que, QString& error,
                 const LlamadasEscritura& llamadas) {
    const int fallo = escribeArchivo(bytesDeRuta(ruta), datos, llamadas);
    if (fallo != 0) {
        error = noSeGuardo(ruta, motivoDeEscritura(fallo), que);
        return false;
    }
    return true;
}

} // namespace zul
