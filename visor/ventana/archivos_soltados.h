#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QWidget;

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

// A drag of two local files is accepted; any other is not.
void aceptaDosArchivos(QDragEnterEvent* evento);

// Two files dropped on `ventana`: `abre(carrera, mapa)` once the drop is
// over, when their content tells which is which; else a warning over it.
void sueltaDosArchivos(QDropEvent* evento, QWidget* ventana,
                       const std::function<void(const QString&, const QString&)>& abre);

} // namespace zul
