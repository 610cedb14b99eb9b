#pragma once

#include <QString>

class QWidget;

namespace zul {

// Ctrl+S's save dialog over `padre`, proposing "paso-NNNNN.png" for the
// frame on show in the working folder; a name typed without an extension
// gets ".png". Empty when the user cancels.
QString pideRutaImagen(QWidget* padre, long long frame);

} // namespace zul
