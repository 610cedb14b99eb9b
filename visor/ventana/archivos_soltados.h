#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

namespace zul {

// The local files a drag carries, when it carries exactly two and nothing
// else; an empty list otherwise.
QStringList dosArchivosArrastrados(const QMimeData* datos);

// The local files a drag carries when every one is a bots' debug file, told
// by content; an empty list otherwise.
QStringList archivosDepuracionArrastrados(const QMimeData* datos);

// Which of two files is the race log and which the map, told by content.
// False, with the reason in Spanish, when a file cannot be read or the two
// cannot be told apart.
bool ordenaArchivos(const QStringList& rutas, QString& carrera, QString& mapa, QString& error);

} // namespace zul
