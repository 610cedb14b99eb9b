#pragma once

#include <QString>

class QImage;

namespace zul {

// Writes a picture as PNG. The file is replaced only once the whole picture
// has been written, so a failed save leaves an existing file as it was.
// False, with the reason in Spanish, when it cannot be saved.
bool guardaPng(const QImage& imagen, const QString& ruta, QString& error);

} // namespace zul
