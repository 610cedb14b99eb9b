/*
 * ZULlib: the ZUL Karts contestant library.
 *
 * The contestant's program includes this file, defines main() (which only calls ZULmain()) and
 * funcionPrincipal(), and links with the library. The library speaks the turn protocol with the
 * referee:
 *
 *   - STANDARD INPUT and STANDARD OUTPUT belong to the protocol. The contestant never reads
 *     stdin nor writes to stdout (no printf, puts or std::cout): one extra line makes the referee
 *     read a wrong command. To debug, use registro(), which writes to standard error.
 *   - ZULmain() reads the map and then, each turn, reads the players' state, calls
 *     funcionPrincipal() and answers with one line ("m X Y" to move, "s X Y" to shoot).
 *   - When standard input ends, even inside a number, the program exits with status 0. A number
 *     that cannot be read ends it with status 1, and a failed read or write (a closed standard
 *     output included) with status 2, each with a line on stderr.
 *   - If the environment variable ZUL_GRABAR names a file, everything read from standard input
 *     is copied into it: `./mibot < file` then replays the same game.
 *   - If ZUL_DEPURACION names a file, the drawings and notes of each turn (dibujaLinea(),
 *     dibujaCirculo(), dibujaTexto(), anota()) are saved in it with the turn's command, for the
 *     viewer to show over the race. Without it those calls do nothing.
 *
 * It serves C as well as C++.
 */
#ifndef ZULLIB_H
#define ZULLIB_H

#if defined(__GNUC__) || defined(__clang__)
#define ZUL_NO_VUELVE __attribute__((noreturn))
#define ZUL_FORMATO_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define ZUL_NO_VUELVE
#define ZUL_FORMATO_PRINTF(f, a)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Written by the contestant: called once per turn, once the turn has been read. */
void funcionPrincipal(void);

/* Reads the map and plays the turns until the input ends; never returns. */
ZUL_NO_VUELVE void ZULmain(void);

/* Entry i of the current turn (0 <= i < noDeJugadores()), in the turn's order. Positions in map
 * cells; the angle in degrees from 0 to 360, measured from +x towards +y; the force is the
 * vector's length. An index outside what was read gives 0. */
float obtenerPosicionX(int i);
float obtenerPosicionY(int i);
float obtenerAngulo(int i);
float obtenerFuerza(int i);

/* The value of the cell holding the point (x, y): row floor(y), column floor(x).
 * Off the map it returns 5 (wall). */
int dirrecionDelMapa(float x, float y);

/* The command sent at the end of the turn: angle in degrees and force, as they are.
 * Kept from turn to turn until changed; (0, 0) at start. */
void asignarDireccion(float angulo, float fuerza);

int obtenerId(void);     /* the own id, the turn's last number */
int anchoDelMapa(void);  /* cells per row (x axis) */
int largoDelMapa(void);  /* number of rows (y axis) */
int noDeJugadores(void); /* entries of the current turn */

/* Asks for a shot this turn. After a shot there are 100 turns to wait: meanwhile the request is
 * dropped without notice. */
void dispara(void);
/* 1 if dispara() would take effect now, else 0. */
int puedoDisparar(void);

/* Writes one line to stderr after the turn number, as printf does:
 * registro("voy a %f grados", a) writes "[turno 12] voy a 45.000000 grados".
 * It is the safe way to debug: standard output belongs to the protocol. */
ZUL_FORMATO_PRINTF(1, 2) void registro(const char* formato, ...);

/* Debug drawings of this turn, in map cells as everywhere; `color` is 0xRRGGBB (0xff0000 is
 * red). They are saved only when ZUL_DEPURACION names a file, and shown by the viewer over the
 * frame of that turn. Per turn at most 10000 drawings and notes and 64 KiB of text are kept;
 * the rest is dropped, with one warning on stderr per game. */
void dibujaLinea(float x1, float y1, float x2, float y2, int color);
void dibujaCirculo(float x, float y, float radio, int color);
void dibujaTexto(float x, float y, const char* texto, int color);
/* A note for this turn, as printf does: anota("giro a %d", id). The viewer lists the notes of
 * the frame on show. */
ZUL_FORMATO_PRINTF(1, 2) void anota(const char* formato, ...);

#ifdef __cplusplus
}
#endif

#endif
