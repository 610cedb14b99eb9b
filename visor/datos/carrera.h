#pragma once

#include "datos/disparos.h"
#include "datos/error_formato.h"

#include <QPointF>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace zul {

// Longest name or tag kept from a race log. A longer token is still one
// token: its first kLargoToken bytes are kept and the rest is skipped.
constexpr int kLargoToken = 199;
// Longest number field read from a race log; a longer one is unreadable, as a
// word would be, so that no field makes the reader hold more than this.
constexpr std::size_t kLargoCampo = 1 << 16;
// No race has more players; a larger count in a header is refused rather than
// allocated.
constexpr int kMaxJugadores = 1000;

// A recorded race. Player j of frame k stands at index k * numJugadores + j of
// the three per-record sequences; a length that is not a multiple of
// numJugadores means the log ended inside its last frame.
struct Carrera {
    int numJugadores = 0;
    std::vector<QPointF> posiciones;
    std::vector<double> angulos;
    Disparos disparos;
    std::vector<int> framesDisparos;
    std::vector<std::string> nombres;
    std::vector<int> vueltas;

    std::size_t framesCompletos() const {
        return numJugadores > 0 ? posiciones.size() / static_cast<std::size_t>(numJugadores) : 0;
    }
    bool ultimoFrameParcial() const {
        return numJugadores > 0 && posiciones.size() % static_cast<std::size_t>(numJugadores) != 0;
    }
};

// Checks a declared player count; throws ErrorFormato when no race can have
// it. `noCabe` says the written number is beyond what a long long holds (only
// the sign of n counts then).
int compruebaNumeroJugadores(long long n, bool noCabe = false);

// A name cut at kLargoToken bytes from a longer token: when the cut falls
// inside a UTF-8 character, that character's first bytes go too, so that a
// UTF-8 name stays UTF-8.
void quitaCaracterCortado(std::string& nombre);

// Reads a race log from an open stream into `carrera`, which should be empty.
// Throws ErrorFormato when the header has no usable player count; past the
// header it never fails: it stops at the first unusable player record and
// keeps what it has read.
void leerCarrera(std::FILE* archivo, Carrera& carrera);

// The same, reading the stream `trozo` bytes at a time (leerCarrera uses a
// megabyte); the result never depends on it. Tests use tiny pieces.
void leerCarreraEnTrozos(std::FILE* archivo, Carrera& carrera, std::size_t trozo);

} // namespace zul
