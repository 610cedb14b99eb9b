#pragma once

#include <QString>
#include <QStringList>

class QImage;
class QMimeData;

namespace zul {

// Where an installed file of the viewer's own (such as an arrow picture)
// lives, beside the program: <prefix>/share/zul/<nombre> for
// <prefix>/bin/visor. Empty before the application object exists.
QString rutaDatosInstalados(const QString& nombre);

// Writes a picture as PNG. The file is replaced only once the whole picture
// has been written, so a failed save leaves an existing file as it was.
// False, with the reason in Spanish, when it cannot be saved.
bool guardaPng(const QImage& imagen, const QString& ruta, QString& error);

// The local files a drag carries, when it carries exactly two and nothing
// else; an empty list otherwise.
QStringList dosArchivosArrastrados(const QMimeData* datos);

// Which of two files is the race log and which the map, told by content.
// False, with the reason in Spanish, when a file cannot be read or the two
// cannot be told apart.
bool ordenaArchivos(const QStringList& rutas, QString& carrera, QString& mapa, QString& error);

} // namespace zul
