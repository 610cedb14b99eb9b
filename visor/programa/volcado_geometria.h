#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace zul {

// The geometry picture that CVolcado writes for ZUL_VOLCADO_GEOMETRIA: every
// visible top window's visible widgets with their rectangles, the part of
// them not cut off, size hints and font size, as JSON, as it is now.
QByteArray volcadoGeometria();

// The text a widget shows, as plain text: a label's (its markup taken out),
// a button's, a box's title, a number field's or a combo box's choice.
QString textoVisible(const QWidget* w);

} // namespace zul
