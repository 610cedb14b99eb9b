#pragma once

#include "analisis/analisis.h"
#include "analisis/fantasma.h"
#include "analisis/progreso_vuelta.h"
#include "analisis/series.h"
#include "analisis/telemetria.h"

#include <functional>
#include <vector>

namespace zul {

// One lap of a player as the lap charts overlay it: x the fraction of the lap
// covered, from 0 to 1, y a value at that frame.
struct VueltaGrafica {
    // The lap's number as the lap times chart gives it: the lap count that
    // completing it reaches.
    long long numero = 0;
    long long inicio = 0; // its first frame
    // Steps it took; -1 while it is not complete.
    long long tiempo = -1;
    SerieGrafica puntos;
};

// The laps of one player, and the quickest complete one (-1: none).
struct VueltasGrafica {
    std::vector<VueltaGrafica> vueltas;
    int mejor = -1;
};

// Speed against steps: x the frame, y cells per step; frames whose speed is
// not known have no point.
SerieGrafica velocidadPorFrame(const Telemetria& telemetria, int jugador);

// Player j's laps, each frame placed at its fraction of the lap: the track's
// progress when it is known, else the share of the lap's distance driven
// (the lap on the way measured against the last complete one, and left out
// while there is none). `valor(frame)` gives y; a NaN leaves the frame out.
VueltasGrafica vueltasGrafica(const AnalisisCarrera& analisis, const Telemetria& telemetria,
                              const ProgresoVuelta& progreso, int jugador,
                              const std::function<double(long long)>& valor);

// Speed round the lap, lap by lap.
VueltasGrafica velocidadPorVuelta(const AnalisisCarrera& analisis, const Telemetria& telemetria,
                                  const ProgresoVuelta& progreso, int jugador);

// Steps behind the ghost (ahead when negative) round the lap, lap by lap.
VueltasGrafica deltaPorVuelta(const CarreraFantasma& fantasma, const AnalisisCarrera& analisis,
                              const Telemetria& telemetria, const ProgresoVuelta& progreso,
                              int jugador);

} // namespace zul
