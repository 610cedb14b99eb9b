#include "salida/formato_imagen.h"

#include "salida/guardar_png.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

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
    for (const char* conocido : {"png", "jpg", "bmp", "ppm", "webp"}) {
        if (pedido == conocido && QImageWriter::supportedImageFormats().contains(pedido)) {
            formato = pedido;
            return true;
        }
    }
    error = QStringLiteral("%1: la extensión «.%2» no es de ningún formato de imagen que el visor "
                           "sepa escribir (.png, .jpg, .jpeg, .bmp, .ppm, .webp)")
                .arg(ruta, info.suffix());
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
