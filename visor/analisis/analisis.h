#pragma once

#include "datos/carrera.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zul {

// One lap completion of a player: the frame at which its lap count rose above
// the highest count it had held before. A jump completes several laps at once;
// only the first of them has a time.
struct VueltaCompletada {
    long long frame = 0;
    // The laps completed, as lap counts: primera .. ultima (ultima is the count
    // reached at this frame).
    long long primera = 0;
    long long ultima = 0;
    // Frames since the previous completion (or since frame 0), for lap `primera`.
    long long tiempo = 0;
};

// A player's lap count from a frame on.
struct CambioVueltas {
    long long frame = 0;
    int vueltas = 0;
};

// One row of the standings at a frame.
struct Puesto {
    int posicion = 0; // from 1
    int jugador = 0;  // index in the race log
    int vueltas = 0;  // the log's lap count at that frame
    long long paso = 0;
    std::optional<long long> ultimaVuelta;
    std::optional<long long> mejorVuelta;
    // Laps behind the leader; 0 on the leader's lap.
    long long diferenciaVueltas = 0;
    // Frames behind the leader; only on the leader's lap.
    std::optional<long long> diferenciaPasos;
};

// What the race log says about laps and positions, computed once in one pass
// over the complete frames. A partial last frame is left out until it is
// complete: the race may grow (extiende), and only whole frames can be ranked.
//
// Laps that go down (a referee's correction) change `paso` but complete
// nothing; regaining them completes nothing either. A lap is completed only
// when the count passes the highest count held so far, so each lap is
// completed once and lap times never count a lap twice.
class AnalisisCarrera {
public:
    explicit AnalisisCarrera(int numJugadores = 0);
    explicit AnalisisCarrera(const Carrera& carrera);

    // Takes in the frames of `carrera` completed since the last call. The race
    // must be the same one, grown at its end.
    void extiende(const Carrera& carrera);

    int numJugadores() const { return jugadores; }
    long long framesAnalizados() const { return frames; }

    // Standings at `frame`, best first. A frame past the analysed ones gives
    // the last analysed frame; empty when there is none.
    std::vector<Puesto> clasificacion(long long frame) const;
    // The standings at the last complete frame; empty when there is none.
    std::vector<Puesto> resultados() const { return clasificacion(frames - 1); }

    // Position (from 1) of one player at `frame`, without sorting everyone;
    // 0 when the frame does not exist.
    int posicion(int jugador, long long frame) const;

    // The lap count and `paso` of a player at a frame (clamped like
    // clasificacion); the frame must exist.
    int vueltas(int jugador, long long frame) const { return estado(jugador, frame).vueltas; }
    long long paso(int jugador, long long frame) const { return estado(jugador, frame).paso; }

    // Every completion of a player, in frame order.
    const std::vector<VueltaCompletada>& completadas(int jugador) const {
        return vueltasCompletadas[static_cast<std::size_t>(jugador)];
    }
    // Of each player, its lap count at frame 0 and at every frame where it
    // changed (up or down), in frame order.
    std::vector<std::vector<CambioVueltas>> cambios() const;

private:
    // A player's state from one change of its lap count to the next.
    struct Estado {
        long long paso = 0;
        long long ultima = -1; // -1: no time
        long long mejor = -1;
        int vueltas = 0;
        int jugador = 0;
    };
    // Of each player, what the latest analysed frame left.
    struct Actual {
        std::uint32_t estado = 0;
        long long maximo = 0; // highest lap count so far
        long long ultimaCompletada = 0;
    };

    const Estado& estado(int jugador, long long frame) const;

    int jugadores = 0;
    long long frames = 0;
    std::vector<Estado> estados;
    // Per record (frame * jugadores + jugador): the index of the player's
    // state at that frame, so any frame reads each player in constant time.
    std::vector<std::uint32_t> indices;
    std::vector<Actual> actuales;
    std::vector<std::vector<VueltaCompletada>> vueltasCompletadas;
};

} // namespace zul
