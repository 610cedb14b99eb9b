#pragma once

#include "datos/escritura_segura.h"

#include <QString>

class QChartView;

namespace zul {

// A chart as it shows in its view, at the view's size, saved as a PNG picture
// or an SVG drawing. An existing file is replaced only once the new one is
// whole, through a symbolic link and with the replaced file's permissions
// (see escribeArchivo). False, with the reason in Spanish, when it cannot be saved.
bool exportaGraficaPng(QChartView* vista, const QString& ruta, QString& error);
bool exportaGraficaSvg(QChartView* vista, const QString& ruta, QString& error,
                       const LlamadasEscritura& llamadas = llamadasDelSistema());

} // namespace zul
