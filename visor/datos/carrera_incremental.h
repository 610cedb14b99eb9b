#pragma once

#include "datos/analizador_carrera.h"
#include "datos/carrera.h"

#include <cstddef>
#include <string>

namespace zul {

// Reads a race log while the referee is still writing it, from the bytes
// appended since the last call. The race it fills only ever holds whole
// frames with their shots: a record still being written (nothing after its
// last token yet) and the records of the frame being written wait for more
// bytes. Once termina() has been called with the whole log given, the race is
// exactly what leerCarrera gives for the same file.
class LectorCarreraIncremental {
public:
    // Frames go to `destino`, which should be empty; it must outlive the reader.
    explicit LectorCarreraIncremental(Carrera& destino);
    LectorCarreraIncremental(const LectorCarreraIncremental&) = delete;
    LectorCarreraIncremental& operator=(const LectorCarreraIncremental&) = delete;

    // Reads `largo` more bytes of the log. Returns how many frames were added
    // to the race. Throws ErrorFormato when the header has no usable player
    // count; after that, or after termina(), later bytes are ignored.
    std::size_t anade(const char* datos, std::size_t largo);

    // The log ends here: what was waiting is read as the end of the log, and
    // a partial last frame goes into the race as leerCarrera leaves it.
    void termina();

    // The player count and every name are in the race; before that the race
    // has no players (the log does not exist yet or holds part of its header).
    bool cabeceraLeida() const { return analizador.cabeceraLeida(); }
    // A player record could not be read, or termina() was called: nothing
    // that follows in the log will be read.
    bool terminado() const { return analizador.terminado() || cerrado; }

private:
    std::size_t publica(bool todo);

    Carrera& destino;
    // What the parser has read and the race does not hold yet: the frame
    // being written and its shots.
    Carrera leido;
    AnalizadorCarrera analizador{leido};
    std::string pendiente;
    bool cerrado = false;
    bool fallido = false;
};

} // namespace zul
