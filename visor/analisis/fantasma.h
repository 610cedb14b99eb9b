#pragma once

#include "analisis/analisis.h"
#include "datos/carrera.h"

#include <QString>

#include <vector>

namespace zul {

// How a ghost race is laid over ours.
enum class Alineacion {
    // Ghost frame k beside our frame k.
    Paso,
    // By the followed player's laps: the ghost's lap n starts when ours does.
    Vuelta,
};

// "paso" or "vuelta"; false for anything else.
bool leeAlineacion(const QString& nombre, Alineacion& alineacion);

// One point of the delta chart: at frame `frame` the player was `delta` steps
// behind its ghost (ahead when negative).
struct PuntoDelta {
    long long frame = 0;
    double delta = 0.0;
};

// Another race on the same map, shown beside ours as a ghost, and the time
// each of our players gains or loses against its counterpart in it.
//
// A player's counterpart is the ghost player with the same name, else the one
// with the same index. The delta at a frame compares the time each took to
// reach the point where our kart is, counted from the start of the race
// (step alignment) or of the current lap (lap alignment): positive when ours
// took longer. The ghost's time to a point is found on its path through the
// same lap, at the place nearest ours (between two of its frames), the
// earliest one when it stood still; ours, from the first frame we stood there.
// Both races and their analyses must outlive it.
class CarreraFantasma {
public:
    CarreraFantasma(const Carrera& nuestra, const AnalisisCarrera& analisisNuestro,
                    const Carrera& fantasma, const AnalisisCarrera& analisisFantasma,
                    Alineacion alineacion);

    Alineacion alineacion() const { return modo; }
    const Carrera& carrera() const { return otra; }

    // The ghost player standing for our player j; -1 when there is none.
    int parejaDe(int jugador) const;

    // The ghost's frame shown with our frame k when following player j (only
    // lap alignment looks at j); -1 when the ghost has none: it has ended, or
    // it never reached our lap.
    long long frameFantasma(long long frame, int jugador) const;

    // Player j's delta at frame k in steps; NaN when it cannot be told (no
    // counterpart, the ghost never drove our lap, a position not a number).
    double delta(int jugador, long long frame) const;
    // The delta at each frame of our race where it can be told.
    std::vector<PuntoDelta> deltas(int jugador) const;

private:
    struct Vuelta {
        long long numero = 0;
        long long inicio = 0;
    };
    static Vuelta vueltaEnCurso(const AnalisisCarrera& analisis, int jugador, long long frame);
    // The frame at which the player's lap n started; -1 if it never did.
    static long long inicioVuelta(const AnalisisCarrera& analisis, int jugador, long long n);

    const Carrera& nuestra;
    const AnalisisCarrera& analisisNuestro;
    const Carrera& otra;
    const AnalisisCarrera& analisisOtra;
    Alineacion modo;
};

} // namespace zul
