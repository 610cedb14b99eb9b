#pragma once

#include <QString>

class QChartView;

namespace zul {

// A chart as it shows in its view, at the view's size, saved as a PNG picture
// or an SVG drawing. An existing file is replaced only once the new one is
// whole. False, with the reason in Spanish, when it cannot be saved.
bool exportaGraficaPng(QChartView* vista, const QString& ruta, QString& error);
bool exportaGraficaSvg(QChartView* vista, const QString& ruta, QString& error);

} // namespace zul
