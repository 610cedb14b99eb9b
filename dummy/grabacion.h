// The game recording: with ZUL_GRABAR naming a file, every byte read from standard input is
// copied into it, so that `./mibot < file` replays the same game.
//
// C runtime only, as the rest of the library.
#ifndef ZUL_GRABACION_H
#define ZUL_GRABACION_H

#include <stdio.h>

namespace zullib {

// The stream the library reads the game from: stdin itself, or, when ZUL_GRABAR names a file
// that can take the recording, a stream over stdin that copies what it reads into that file.
// Whatever prevents the recording is told on stderr and the game is played without it.
FILE* entradaEstandar();

} // namespace zullib

#endif
