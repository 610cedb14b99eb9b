// Turns of a recorded race, for feeding a bot the situations of a real race.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zulprueba {

struct DisparoCarrera {
    double x1, y1, x2, y2;
};

struct TurnoCarrera {
    // The turn as the protocol sends it: N, N times "x y u v", the own id.
    std::string texto;
    // What player J actually did: its displacement to the next frame (0 0 in the last one).
    double u = 0;
    double v = 0;
    // Shots the log records for this frame.
    std::vector<DisparoCarrera> disparos;
    // Those of them that player J fired: a shot starts where its shooter is.
    std::vector<DisparoCarrera> propios;
};

struct TurnosCarrera {
    int jugadores = 0;
    std::vector<std::string> nombres;
    // One turn per complete frame.
    std::vector<TurnoCarrera> turnos;
    // The log ended inside a frame; that frame is not turned into a turn.
    bool ultimoFrameIncompleto = false;
};

// Reads the race log `ruta` (the viewer's format, with the viewer's fscanf rules) and builds the
// turns for player `jugador`: each frame gives every player's entry, with x and y from the log
// and as u v the player's displacement to the next frame, and `jugador` as the own id. False,
// with a Spanish message naming the file in `error`, when the file cannot be opened, its header
// has no usable player count, `jugador` is not a player of the race, or no frame is complete.
bool turnosDeCarrera(const std::string& ruta, long jugador, TurnosCarrera& salida,
                     std::string& error);

// The transcript's note beside the bot's answer: what player `jugador` did in this turn of the
// race, as the answer line that would have moved it so, e.g.
// "en la carrera, el jugador 3: m 0.377000 0.045000".
std::string desplazamientoReal(const TurnoCarrera& turno, long jugador);

// The same over an open stream; `nombre` names it in the messages.
bool turnosDeCarrera(std::FILE* archivo, const std::string& nombre, long jugador,
                     TurnosCarrera& salida, std::string& error);

} // namespace zulprueba
