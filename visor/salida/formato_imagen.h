#pragma once

#include <QByteArray>
#include <QString>

class QImage;

namespace zul {

// The picture format a file name asks for, from its extension: "png",
// "jpg" (for .jpg and .jpeg), "bmp", "ppm" or "webp" where the system's
// Qt can write it; a name with no extension is PNG. False, with the reason
// in Spanish naming the file, for an extension no picture format has.
bool formatoDeRuta(const QString& ruta, QByteArray& formato, QString& error);

// Writes a picture in the format of its file name (formatoDeRuta), as
// guardaEnFormato does: the file is replaced only once the whole picture is
// on disk, so a failed save (a full disk too) leaves an existing file as it
// was.
bool guardaImagen(const QImage& imagen, const QString& ruta, QString& error);

} // namespace zul
