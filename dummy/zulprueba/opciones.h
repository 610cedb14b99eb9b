// zulprueba's command line. Each option is one row of the table in opciones.cpp: its name, its
// value, its help line and what it sets.
#pragma once

#include <string>
#include <vector>

namespace zul {

struct Opciones {
    std::string mapa;           // empty: the kit's sample map
    std::string turnos;         // turns file; empty: synthetic turns
    std::string carrera;        // race log whose frames are the turns; empty: none
    long jugador = -1;          // --jugador: the race's player whose part the bot takes
    long turnosSinteticos = -1; // --pasos; -1 until given or defaulted
    int jugadores = 4;
    int limiteMs = 1000;
    std::string registro;
    std::string depuracion;       // --depuracion: ZUL_DEPURACION for the bot; empty: none
    long desde = 0;               // first turn checked, counted from 0 (earlier ones only replayed)
    long hasta = -1;              // last turn sent, counted from 0; -1: all
    std::vector<std::string> bot; // the bot's command line
    bool ayuda = false;           // --ayuda: print uso() and stop
    std::string plantilla;        // --plantilla: copy the template here and stop
};

// Throws ErrorDePrueba on bad usage, with the usage text where it helps.
Opciones leerOpciones(int argc, char** argv);

// The help text, usage line first.
std::string uso();

} // namespace zul
