#pragma once

#include "analisis/analisis.h"

#include <vector>

namespace zul {

// A point of a chart, and the frame it stands for (a click on it shows that
// frame).
struct PuntoGrafica {
    double x = 0.0;
    double y = 0.0;
    long long frame = 0;
};

using SerieGrafica = std::vector<PuntoGrafica>;

// The three charts of a race, one series per player, in player order.
struct SeriesGraficas {
    // The lap chart: x the lap count, y the position, at the start and at
    // each lap completion.
    std::vector<SerieGrafica> posiciones;
    // x the lap, y its time in pasos; laps without a time (the later laps of
    // a jump) have no point.
    std::vector<SerieGrafica> tiempos;
    // x the frame, y the lap count, as steps: a change at frame k gives the
    // old and the new count at k; the last analysed frame closes the line.
    std::vector<SerieGrafica> vueltas;
};

// What the charts show up to `frame`, so as not to give away what comes
// later: every point of a later frame is left out, and the laps-against-
// frames staircase runs on to `frame` at the last count reached by then.
SeriesGraficas hastaFrame(const SeriesGraficas& series, long long frame);

// Costs one position count (linear in the players) per lap completion.
SeriesGraficas seriesGraficas(const AnalisisCarrera& analisis);

} // namespace zul
