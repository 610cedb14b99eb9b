#pragma once

#include "analisis/series_telemetria.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QChartView;
class QComboBox;
class QListWidget;
class QXYSeries;

// A telemetry tab of the "Gráficas" window.
// - "Velocidad": speed against steps for the players ticked in the list
//   beside it (the followed one at first), or, in the mode "Vueltas del
//   jugador seguido", that player's laps overlaid against the fraction of
//   the lap covered, the best lap in its colour and thick, the others pale.
// - "Delta": the followed player's steps behind its ghost round the lap,
//   lap by lap, with the line of no difference.
// It asks its sources for the data when it is on show, and only then.
class CGraficaTelemetria : public QWidget {
    Q_OBJECT

public:
    enum Tipo { Velocidad, Delta };
    enum Modo { PorFrames, PorVueltas };

    struct Fuentes {
        // Player j against steps (Velocidad only).
        std::function<zul::SerieGrafica(int)> porFrame;
        // Player j lap by lap.
        std::function<zul::VueltasGrafica(int)> porVuelta;
    };

    CGraficaTelemetria(Tipo tipo, QStringList nombres, Fuentes fuentes, QWidget* parent = nullptr);

    Tipo tipo() const { return clase; }
    Modo modo() const { return actual; }
    void ponModo(Modo modo);
    // The followed player: ticked in the list, and the one whose laps show.
    void ponJugadorSeguido(int jugador);
    // The data changed (the race grew, another ghost): read again when shown.
    void actualiza();

    QChartView* vista() const { return vistaGrafica; }
    // The series on show: one per ticked player, or one per lap.
    const std::vector<QXYSeries*>& series() const { return seriesMostradas; }
    // The lap drawn as the best, as an index of series(); -1 for none.
    int serieMejor() const { return mejor; }
    QListWidget* jugadores() const { return listaJugadores; }
    QComboBox* selectorModo() const { return selector; }

signals:
    // A point was clicked: the window shows its frame.
    void frameElegido(long long frame);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rellena();
    void agregaSerie(const zul::SerieGrafica& puntos, const QString& nombre, const QColor& color,
                     double grosor);

    Tipo clase;
    QStringList nombres;
    Fuentes fuentes;
    Modo actual = PorFrames;
    int seguido = -1;
    bool atrasada = true;
    QChartView* vistaGrafica = nullptr;
    QComboBox* selector = nullptr;
    QListWidget* listaJugadores = nullptr;
    std::vector<QXYSeries*> seriesMostradas;
    // What each series stands for, to find a clicked point's frame.
    std::vector<zul::SerieGrafica> datos;
    int mejor = -1;
};
