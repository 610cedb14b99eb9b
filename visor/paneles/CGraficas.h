#pragma once

#include "analisis/analisis.h"
#include "analisis/series.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QCheckBox;
class QLineSeries;
class QListWidget;
class QTabWidget;
class QXYSeries;

// The "Gráficas" window: three charts of the race analysis, one tab each.
// (a) the lap chart, every player's position at each lap completion; (b) each
// player's lap times, lap by lap; (c) laps against frames. A player's series
// has its panel colour, darkened where it would fade on white, and the
// followed player's line is thicker; a legend under the tabs, in columns that
// scroll sideways, names them all. Hovering a point names its player and
// value; a click on it asks the window to show its frame. "Hasta el paso
// actual" draws only what has happened up to the frame on show, marked by a
// vertical line, so that a projector does not give the result away.
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
    // The players' names, for the next actualiza (another race's).
    void ponNombres(QStringList nombresJugadores) { nombres = std::move(nombresJugadores); }

    // NumGraficas while another tab is on show.
    Grafica graficaVisible() const;
    void muestraGrafica(Grafica grafica);
    // Another chart beside the three, in a tab of its own that it owns now;
    // quitaPestana takes it away and deletes it.
    void agregaPestana(QWidget* pestana, const QString& titulo);
    void quitaPestana(QWidget* pestana);
    QTabWidget* pestanasGraficas() const { return pestanas; }

    QListWidget* leyenda() const { return listaLeyenda; }
    QCheckBox* casillaHastaFrame() const { return hastaFrameActual; }
    // The vertical line at the frame on show, in one chart; hidden unless
    // "Hasta el paso actual" is on.
    QLineSeries* marcaFrame(Grafica grafica) const { return marcas[grafica]; }
    // The tooltip of a point of a player's series.
    static QString textoPunto(Grafica grafica, const QString& nombre, const QPointF& punto);

public slots:
    // The frame on show in the race's window.
    void muestraFrame(long long frame);
    // The followed player's line is drawn thicker (-1: none).
    void ponJugadorSeguido(int jugador);

signals:
    // A point was clicked: the window shows this frame.
    void frameElegido(long long frame);
    // A name of the legend was clicked: the window follows this player.
    void jugadorElegido(int jugador);

private slots:
    void exportaPng();
    void exportaSvg();

private:
    void construye();
    // Puts the points of the visible chart (all of them, or those up to the
    // frame on show) into its series, with its axes and its marker.
    void rellena();
    void rellenaGrafica(Grafica grafica);
    void exporta(bool svg);
    void ponLapices();
    // The point of a player's series nearest to `punto` on screen, or -1.
    int puntoCercano(Grafica grafica, int jugador, const QPointF& punto) const;

    const zul::AnalisisCarrera* analisis;
    QStringList nombres;
    // The whole race as analysed, and what is shown of it.
    zul::SeriesGraficas completas;
    zul::SeriesGraficas datos;
    QTabWidget* pestanas = nullptr;
    QChartView* vistas[NumGraficas] = {};
    std::vector<QXYSeries*> seriesPorGrafica[NumGraficas];
    QLineSeries* marcas[NumGraficas] = {};
    QListWidget* listaLeyenda = nullptr;
    QCheckBox* hastaFrameActual = nullptr;
    long long frameActual = 0;
    int seguido = -1;
};
