#pragma once

#include "analisis/analisis.h"
#include "datos/carrera.h"

#include <QPointF>

#include <cstddef>
#include <vector>

namespace zul {

// Shots seen near a kart: those of the last kPasosDisparosCerca frames (the
// one on show included) that passed within kRadioDisparoCerca cells of it.
constexpr int kPasosDisparosCerca = 30;
constexpr double kRadioDisparoCerca = 3.0;

// A heading of the race log (radians) as the contestant kit measures it:
// degrees from +x towards +y, from 0 up to 360. NaN for a heading that is not
// a number.
double anguloKit(double radianes);

// Per-step kinematics of every player, computed once over the complete
// frames of a race:
//  - speed, in cells per step: the length of the displacement since the frame
//    before (0 at frame 0). A kart put back elsewhere by the referee moves as
//    far as it jumped in that step.
//  - distance, the sum of those speeds from frame 0.
// A position that is not a finite number leaves the speed unknown (NaN) for
// the steps into and out of it, and the distance unchanged.
// The race must outlive it; extiende takes in frames added since.
class Telemetria {
public:
    Telemetria(const Carrera& carrera, const AnalisisCarrera& analisis);

    void extiende();

    int jugadores() const { return n; }
    long long frames() const { return numFrames; }

    QPointF posicion(int jugador, long long frame) const;
    // The race log's heading, in radians.
    double rumbo(int jugador, long long frame) const;
    // Frames outside the race are clamped to it; a race with no frame has
    // no answers.
    double velocidad(int jugador, long long frame) const;
    double distancia(int jugador, long long frame) const;
    // Steps since the player's current lap started (frame 0, or the frame
    // at which its lap count last rose above its best).
    long long tiempoVuelta(int jugador, long long frame) const;
    // Shots of other karts that passed near it in the last steps (see above).
    // A shot is a kart's own when it starts within half a cell of it and no
    // other kart is nearer its start.
    int disparosCerca(int jugador, long long frame) const;

private:
    std::size_t indice(int jugador, long long frame) const;

    const Carrera& carrera;
    const AnalisisCarrera& analisis;
    int n = 0;
    long long numFrames = 0;
    std::vector<double> distancias; // per record
};

} // namespace zul
