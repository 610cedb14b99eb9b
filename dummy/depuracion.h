// The debug file: with ZUL_DEPURACION naming a file, each turn's drawings and notes are saved in
// it, one block per turn after the turn's command, for the viewer to show over the race.
//
// C runtime only, as the rest of the library.
#ifndef ZUL_DEPURACION_H
#define ZUL_DEPURACION_H

#include <stddef.h>

namespace zullib {

// Per turn: drawings and notes, and bytes of text; past either, the rest of the turn is dropped.
constexpr long kMaxDibujosPorTurno = 10000;
constexpr size_t kMaxTextoPorTurno = 64 * 1024;

// Opens the file that ZUL_DEPURACION names, once per game. Whatever prevents it is told on stderr
// and the game is played without it.
void abrirDepuracion();

// Writes the turn's block: `turno` counted from 0, the own id and the command line as sent
// (without its '\n'), then what the turn drew. Empties the turn.
void cerrarTurnoDepuracion(long turno, int id, const char* orden, size_t largo);

// Closes the file and forgets everything, for a new game.
void reiniciarDepuracion();

} // namespace zullib

#endif
