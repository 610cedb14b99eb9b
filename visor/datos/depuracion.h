#pragma once

#include "datos/error_formato.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zul {

// The debug file a contestant's bot writes through its kit (ZUL_DEPURACION):
//
//   zul-depuracion 1
//   turno N id ID m|s X Y        one block per turn, N from 0, with the command as sent
//   linea X1 Y1 X2 Y2 RRGGBB
//   circulo X Y RADIO RRGGBB
//   texto X Y RRGGBB TEXTO       the text is the rest of the line, with \\, \n and \xHH escapes
//   nota TEXTO
//   descartados K                what the kit dropped past its per-turn limits
//   fin
//
// Coordinates are map cells; numbers may be nan, inf or -inf.
struct DibujoDepuracion {
    enum Tipo : std::uint8_t { Linea, Circulo, Texto };
    Tipo tipo = Linea;
    double a = 0, b = 0, c = 0, d = 0; // x1 y1 x2 y2; x y radio; x y
    std::uint32_t color = 0;           // 0xRRGGBB
    std::string texto;                 // UTF-8, unescaped
};

struct TurnoDepuracion {
    long turno = 0;
    int id = 0;
    bool disparo = false;
    double ordenX = 0; // the command vector as sent
    double ordenY = 0;
    std::vector<DibujoDepuracion> dibujos;
    std::vector<std::string> notas;
    long descartados = 0;
};

// A debug file read so far. Complete blocks only: a block still being
// written (no "fin" yet) waits for more text, so live following never shows
// half a turn.
class Depuracion {
public:
    explicit Depuracion(std::string nombre) : nombre_(std::move(nombre)) {}

    // Reads more of the file; throws ErrorFormato naming the file and the
    // line when it does not parse.
    void anade(std::string_view texto);
    // The file ended: a block left open is a cut file, and is refused.
    void termina();

    const std::string& nombre() const { return nombre_; }
    // The player whose bot wrote the file; -1 before its first block.
    int id() const { return id_; }
    // Turns 0, 1, ... in order; a turn stays where it is while more are read.
    const std::deque<TurnoDepuracion>& turnos() const { return turnos_; }
    // The turn drawn over `frame` with a shift of `desfase` (turn frame - desfase), or null.
    const TurnoDepuracion* turnoDe(long frame, long desfase) const;

    // Throws ErrorFormato when the file cannot belong to a race of `jugadores`
    // players and `frames` frames (its id is no player, or it has more turns
    // than frames); frames < 0 skips that check (a race still growing).
    void compruebaCarrera(int jugadores, long frames) const;

private:
    [[noreturn]] void falla(const std::string& motivo) const;
    void linea(std::string_view l);

    std::string nombre_;
    std::string pendiente_; // text after the last whole line
    long numeroLinea_ = 0;
    bool cabecera_ = false;
    bool abierto_ = false; // inside a block
    TurnoDepuracion actual_;
    int id_ = -1;
    std::deque<TurnoDepuracion> turnos_;
};

// Reads a whole debug file; throws ErrorFormato naming it.
Depuracion leeDepuracion(const std::string& ruta);

// Whether a text starts as a debug file does (for a file dropped on the window).
bool pareceDepuracion(std::string_view inicio);

} // namespace zul
