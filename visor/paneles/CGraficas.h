#pragma once

#include "analisis/analisis.h"
#include "analisis/series.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QTabWidget;
class QXYSeries;

// The "Gráficas" window: three charts of the race analysis, one tab each.
// (a) the lap chart, every player's position at each lap completion; (b) each
// player's lap times, lap by lap; (c) laps against frames. A player's series
// has its panel colour; a click on a point asks the window to show its frame.
class CGraficas : public QWidget {
    Q_OBJECT

public:
    enum Grafica { Posiciones, Tiempos, Vueltas, NumGraficas };

    // `analisis` must outlive the window.
    CGraficas(const zul::AnalisisCarrera* analisis, QStringList nombres, QWidget* parent = nullptr);

    QChartView* vista(Grafica grafica) const;
    QChart* grafica(Grafica grafica) const;
    // The series of one chart, one per player in player order.
    const std::vector<QXYSeries*>& series(Grafica grafica) const;
    // The frame a point of one player's series stands for, or -1.
    long long frameDelPunto(Grafica grafica, int jugador, const QPointF& punto) const;

    // Builds the charts again from the analysis, after it took in more frames.
    void actualiza();

    Grafica graficaVisible() const;
    void muestraGrafica(Grafica grafica);

signals:
    // A point was clicked: the window shows this frame.
    void frameElegido(long long frame);

private slots:
    void exportaPng();
    void exportaSvg();

private:
    void construye();
    void exporta(bool svg);

    const zul::AnalisisCarrera* analisis;
    QStringList nombres;
    zul::SeriesGraficas datos;
    QTabWidget* pestanas = nullptr;
    QChartView* vistas[NumGraficas] = {};
    std::vector<QXYSeries*> seriesPorGrafica[NumGraficas];
};
