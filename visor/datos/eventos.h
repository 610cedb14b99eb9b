#pragma once

#include "datos/carrera.h"

#include <vector>

namespace zul {

// A moment of the race worth jumping to: a frame with a shot, or a frame in
// which one player's lap count goes up.
struct Evento {
    enum Tipo { Disparo, Vuelta };

    long long frame = 0;
    Tipo tipo = Disparo;
    // The player who completes a lap; -1 for a shot (the log does not say
    // who fired).
    int jugador = -1;

    bool operator==(const Evento& otro) const {
        return frame == otro.frame && tipo == otro.tipo && jugador == otro.jugador;
    }
};

// The events of a race, in frame order: one Disparo for each frame that has
// at least one shot, then one Vuelta for each player whose lap count in that
// frame is higher than in the frame before, by player. Only frames of the race
// count, a partial last frame included: a shot recorded past the last frame is
// never shown, so it is no event.
std::vector<Evento> eventosCarrera(const Carrera& carrera);

// The distinct frames of some events, in increasing order.
std::vector<long long> framesDeEventos(const std::vector<Evento>& eventos);

// The first of `frames` (increasing) after `frame`, or -1 when there is none.
long long frameEventoSiguiente(const std::vector<long long>& frames, long long frame);
// The last of `frames` (increasing) before `frame`, or -1 when there is none.
long long frameEventoAnterior(const std::vector<long long>& frames, long long frame);

} // namespace zul
