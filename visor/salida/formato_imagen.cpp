#include "salida/formato_imagen.h"

#include "salida/guardar_png.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QStringList>

namespace zul {

bool formatoDeRuta(const QString& ruta, QByteArray& formato, QString& error) {
    const QFileInfo info(ruta);
    const QString extension = info.suffix().toLower();
    // A dot that starts the file name (".png") is no extension.
    if (extension.isEmpty() || info.fileName().size() == extension.size() + 1) {
        formato = "png";
        return true;
    }
    const QByteArray pedido =
        extension == QLatin1String("jpeg") ? QByteArray("jpg") : extension.toLatin1();
    // Only what this Qt can write: WebP, say, needs a plugin that may be missing.
    const QList<QByteArray> escribibles = QImageWriter::supportedImageFormats();
    QStringList extensiones;
    for (const char* conocido : {"png", "jpg", "bmp", "ppm", "webp"}) {
        if (!escribibles.contains(conocido)) {
            continue;
        }
        if (pedido == conocido) {
            formato = pedido;
            return true;
        }
        extensiones << QStringLiteral(".%1").arg(QLatin1String(conocido));
        if (qstrcmp(conocido, "jpg") == 0) {
            extensiones << QStringLiteral(".jpeg");
        }
    }
    error = QStringLiteral("%1: la extensión «.%2» no es de ningún formato de imagen que el visor "
                           "sepa escribir (%3)")
                .arg(ruta, info.suffix(), extensiones.join(QStringLiteral(", ")));
    return false;
}

bool guardaImagen(const QImage& imagen, const QString& ruta, QString& error) {
    QByteArray formato;
    if (!formatoDeRuta(ruta, formato, error)) {
        return false;
    }
    // Sharp enough for the track's thin lines.
    const int calidad = formato == "jpg" ? 92 : -1;
    return guardaEnFormato(imagen, ruta, formato.constData(), calidad, error);
}

} // namespace zul
