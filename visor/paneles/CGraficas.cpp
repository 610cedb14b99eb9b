#include "paneles/CGraficas.h"

#include "geometria/colores.h"
#include "paneles/exportar_grafica.h"

#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Past this many players the legend would hide the charts.
constexpr int kMaxLeyenda = 24;

struct Descripcion {
    const char* pestana;
    const char* titulo;
    const char* ejeX;
    const char* ejeY;
    const char* archivo;
};

const Descripcion kDescripciones[CGraficas::NumGraficas] = {
    {"Posiciones", "Posición al completar cada vuelta", "Vuelta", "Posición", "posiciones"},
    {"Tiempos de vuelta", "Tiempo de cada vuelta", "Vuelta", "Tiempo (pasos)", "tiempos"},
    {"Vueltas", "Vueltas a lo largo de la carrera", "Paso", "Vueltas", "vueltas"},
};

const zul::SerieGrafica& serieDe(const zul::SeriesGraficas& datos, CGraficas::Grafica g, int j) {
    const std::size_t i = static_cast<std::size_t>(j);
    switch (g) {
    case CGraficas::Posiciones:
        return datos.posiciones[i];
    case CGraficas::Tiempos:
        return datos.tiempos[i];
    default:
        return datos.vueltas[i];
    }
}

// An axis of whole numbers (laps, places, frames): ticks every 1, 2 or 5
// times a power of ten, at most about eight of them, and the ends on ticks.
void ajustaEje(QValueAxis* eje, double minimo, double maximo) {
    if (!(minimo <= maximo)) {
        minimo = 0.0;
        maximo = 1.0;
    }
    double paso = 1.0;
    for (double escala = 1.0; (maximo - minimo) / paso > 8.0; escala *= 10.0) {
        for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
            paso = factor * escala;
            if ((maximo - minimo) / paso <= 8.0) {
                break;
            }
        }
    }
    minimo = std::floor(minimo / paso) * paso;
    maximo = std::max(minimo + paso, std::ceil(maximo / paso) * paso);
    eje->setRange(minimo, maximo);
    eje->setTickType(QValueAxis::TicksDynamic);
    eje->setTickAnchor(minimo);
    eje->setTickInterval(paso);
    eje->setLabelFormat(QStringLiteral("%.0f"));
}

} // namespace

CGraficas::CGraficas(const zul::AnalisisCarrera* analisis, QStringList nombres, QWidget* parent)
    : QWidget(parent), analisis(analisis), nombres(std::move(nombres)) {
    setWindowTitle(tr("Gráficas"));
    auto* layout = new QVBoxLayout(this);
    pestanas = new QTabWidget;
    for (int g = 0; g < NumGraficas; ++g) {
        vistas[g] = new QChartView;
        vistas[g]->setRenderHint(QPainter::Antialiasing);
        pestanas->addTab(vistas[g], tr(kDescripciones[g].pestana));
    }
    layout->addWidget(pestanas, 1);

    auto* botones = new QHBoxLayout;
    auto* botonPng = new QPushButton(tr("Exportar &PNG..."));
    auto* botonSvg = new QPushButton(tr("Exportar &SVG..."));
    botones->addStretch(1);
    botones->addWidget(botonPng);
    botones->addWidget(botonSvg);
    layout->addLayout(botones);
    connect(botonPng, &QPushButton::clicked, this, &CGraficas::exportaPng);
    connect(botonSvg, &QPushButton::clicked, this, &CGraficas::exportaSvg);

    resize(1000, 700);
    construye();
}

QChartView* CGraficas::vista(Grafica grafica) const {
    return vistas[grafica];
}

QChart* CGraficas::grafica(Grafica grafica) const {
    return vistas[grafica]->chart();
}

const std::vector<QXYSeries*>& CGraficas::series(Grafica grafica) const {
    return seriesPorGrafica[grafica];
}

long long CGraficas::frameDelPunto(Grafica grafica, int jugador, const QPointF& punto) const {
    if (jugador < 0 || jugador >= static_cast<int>(seriesPorGrafica[grafica].size())) {
        return -1;
    }
    const zul::SerieGrafica& serie = serieDe(datos, grafica, jugador);
    QChart* chart = vistas[grafica]->chart();
    QXYSeries* s = seriesPorGrafica[grafica][static_cast<std::size_t>(jugador)];
    // The nearest point on screen: a click on a line lands between points, and
    // the axes have very different scales.
    const QPointF pantalla = chart->mapToPosition(punto, s);
    long long frame = -1;
    double mejor = std::numeric_limits<double>::infinity();
    for (const zul::PuntoGrafica& p : serie) {
        const QPointF otro = chart->mapToPosition(QPointF(p.x, p.y), s);
        const double d = std::hypot(otro.x() - pantalla.x(), otro.y() - pantalla.y());
        if (d < mejor) {
            mejor = d;
            frame = p.frame;
        }
    }
    return frame;
}

void CGraficas::actualiza() {
    construye();
}

CGraficas::Grafica CGraficas::graficaVisible() const {
    return static_cast<Grafica>(pestanas->currentIndex());
}

void CGraficas::muestraGrafica(Grafica grafica) {
    pestanas->setCurrentIndex(grafica);
}

void CGraficas::construye() {
    datos = analisis != nullptr ? zul::seriesGraficas(*analisis) : zul::SeriesGraficas{};
    const int n = static_cast<int>(datos.posiciones.size());
    for (int g = 0; g < NumGraficas; ++g) {
        const Grafica grafica = static_cast<Grafica>(g);
        auto* chart = new QChart;
        chart->setTitle(tr(kDescripciones[g].titulo));
        chart->legend()->setVisible(n <= kMaxLeyenda);
        chart->legend()->setAlignment(Qt::AlignRight);
        auto* ejeX = new QValueAxis;
        auto* ejeY = new QValueAxis;
        ejeX->setTitleText(tr(kDescripciones[g].ejeX));
        ejeY->setTitleText(tr(kDescripciones[g].ejeY));
        chart->addAxis(ejeX, Qt::AlignBottom);
        chart->addAxis(ejeY, Qt::AlignLeft);

        double minX = std::numeric_limits<double>::infinity();
        double maxX = -minX;
        double minY = minX;
        double maxY = -minX;
        seriesPorGrafica[g].clear();
        for (int j = 0; j < n; ++j) {
            auto* serie = new QLineSeries;
            serie->setName(j < nombres.size() ? nombres[j] : QString::number(j));
            QPen lapiz(QColor(QLatin1Char('#') + QLatin1String(zul::colorEtiqueta(j))));
            lapiz.setWidthF(2.0);
            serie->setPen(lapiz);
            // Laps against frames is a staircase of many points; the others
            // show each lap as a point to click.
            serie->setPointsVisible(grafica != Vueltas);
            QList<QPointF> puntos;
            for (const zul::PuntoGrafica& p : serieDe(datos, grafica, j)) {
                puntos.append(QPointF(p.x, p.y));
                minX = std::min(minX, p.x);
                maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y);
                maxY = std::max(maxY, p.y);
            }
            serie->replace(puntos);
            chart->addSeries(serie);
            serie->attachAxis(ejeX);
            serie->attachAxis(ejeY);
            connect(serie, &QXYSeries::clicked, this, [this, grafica, j](const QPointF& punto) {
                const long long frame = frameDelPunto(grafica, j, punto);
                if (frame >= 0) {
                    emit frameElegido(frame);
                }
            });
            seriesPorGrafica[g].push_back(serie);
        }
        if (grafica == Posiciones) {
            // First place on top.
            ajustaEje(ejeY, 1.0, std::max(1, n));
            ejeY->setReverse(true);
        } else {
            ajustaEje(ejeY, grafica == Tiempos ? 0.0 : minY, maxY);
        }
        ajustaEje(ejeX, minX, maxX);
        // The view owns its chart and drops the previous one.
        QChart* anterior = vistas[g]->chart();
        vistas[g]->setChart(chart);
        delete anterior;
    }
}

void CGraficas::exportaPng() {
    exporta(false);
}

void CGraficas::exportaSvg() {
    exporta(true);
}

void CGraficas::exporta(bool svg) {
    const Grafica g = graficaVisible();
    const QString extension = svg ? QStringLiteral("svg") : QStringLiteral("png");
    const QString ruta = QFileDialog::getSaveFileName(
        this, svg ? tr("Exportar la gráfica como SVG") : tr("Exportar la gráfica como PNG"),
        QLatin1String(kDescripciones[g].archivo) + QLatin1Char('.') + extension,
        svg ? tr("Dibujos SVG (*.svg)") : tr("Imágenes PNG (*.png)"));
    if (ruta.isEmpty()) {
        return;
    }
    QString error;
    const bool bien = svg ? zul::exportaGraficaSvg(vistas[g], ruta, error)
                          : zul::exportaGraficaPng(vistas[g], ruta, error);
    if (!bien) {
        QMessageBox::warning(this, tr("Gráficas"), error);
    }
}
