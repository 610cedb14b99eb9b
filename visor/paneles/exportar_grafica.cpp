#include "paneles/exportar_grafica.h"

#include "datos/rutas.h"
#include "salida/guardar_png.h"

#include <QBuffer>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace zul {

namespace {

// A view that was never laid out still exports at a readable size.
QSize tamanoExportado(const QChartView* vista) {
    const QSize tamano = vista->size();
    return tamano.width() >= 200 && tamano.height() >= 150 ? tamano : QSize(1200, 800);
}

} // namespace

bool exportaGraficaPng(QChartView* vista, const QString& ruta, QString& error) {
    const QSize tamano = tamanoExportado(vista);
    if (vista->size() != tamano) {
        vista->resize(tamano);
    }
    QImage imagen(tamano, QImage::Format_ARGB32);
    if (imagen.isNull()) {
        error = QStringLiteral("No hay memoria para una imagen de %1x%2 píxeles.")
                    .arg(tamano.width())
                    .arg(tamano.height());
        return false;
    }
    imagen.fill(Qt::white);
    {
        QPainter pintor(&imagen);
        pintor.setRenderHint(QPainter::Antialiasing);
        vista->render(&pintor);
    }
    return guardaPng(imagen, ruta, error);
}

bool exportaGraficaSvg(QChartView* vista, const QString& ruta, QString& error,
                       const LlamadasEscritura& llamadas) {
    const QSize tamano = tamanoExportado(vista);
    if (vista->size() != tamano) {
        vista->resize(tamano);
    }
    // Drawn whole in memory first, then written as any other file is.
    QByteArray svg;
    QBuffer memoria(&svg);
    memoria.open(QIODevice::WriteOnly);
    QSvgGenerator generador;
    generador.setOutputDevice(&memoria);
    generador.setSize(tamano);
    generador.setViewBox(QRect(QPoint(0, 0), tamano));
    // The drawing measures what the view measures on screen.
    generador.setResolution(vista->logicalDpiX());
    generador.setTitle(vista->chart() != nullptr ? vista->chart()->title() : QString());
    generador.setDescription(QStringLiteral("ZUL Karts"));
    {
        QPainter pintor;
        if (!pintor.begin(&generador)) {
            error = QStringLiteral("No se pudo dibujar la gráfica en %1.").arg(ruta);
            return false;
        }
        // White like the PNG, not transparent round the chart's corners.
        pintor.fillRect(QRect(QPoint(0, 0), tamano), Qt::white);
        vista->render(&pintor);
    }
    const int fallo = escribeArchivo(bytesDeRuta(ruta), svg, llamadas);
    if (fallo != 0) {
        error = QStringLiteral("No se pudo guardar la gráfica en %1: %2.")
                    .arg(ruta, motivoDeEscritura(fallo));
        return false;
    }
    return true;
}

} // namespace zul
