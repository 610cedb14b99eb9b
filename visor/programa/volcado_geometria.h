#pragma once

#include <QByteArray>

namespace zul {

// The geometry picture that CVolcado writes for ZUL_VOLCADO_GEOMETRIA: every
// visible top window's visible widgets with their rectangles, the part of
// them not cut off, size hints and font size, as JSON, as it is now.
QByteArray volcadoGeometria();

} // namespace zul
