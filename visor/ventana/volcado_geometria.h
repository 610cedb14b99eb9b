#pragma once

#include <QByteArray>

class QObject;

namespace zul {

// The variable that names the file of the geometry dump.
constexpr const char* kVariableVolcado = "ZUL_VOLCADO_GEOMETRIA";

// Debug aid for checking the layout from outside the program (scenario
// tests, bug reports): with ZUL_VOLCADO_GEOMETRIA set to a path, every top
// window's visible widgets are written there as JSON, a moment after the
// last resize, show, hide or font change settles. Without it, nothing.
void activaVolcadoGeometria(QObject* aplicacion);

// The dump of every visible top window, as it is now.
QByteArray volcadoGeometria();

} // namespace zul
