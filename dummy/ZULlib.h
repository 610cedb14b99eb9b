/*
 * ZULlib: biblioteca del concursante de ZUL Karts.
 *
 * El programa del concursante incluye este archivo, define main() (que solo llama a ZULmain())
 * y funcionPrincipal(), y se enlaza con la biblioteca. La biblioteca habla el protocolo de
 * turnos con el árbitro:
 *
 *   - la ENTRADA ESTÁNDAR y la SALIDA ESTÁNDAR pertenecen al protocolo. El concursante nunca
 *     lee de stdin ni escribe en stdout (ni printf, ni puts, ni std::cout): una sola línea de
 *     más hace que el árbitro lea una orden equivocada. Para depurar, use registro(), que
 *     escribe en la salida de errores (stderr).
 *   - ZULmain() lee el mapa y después, en cada turno, lee el estado de los jugadores, llama a
 *     funcionPrincipal() y contesta con una línea ("m X Y" para moverse, "s X Y" para disparar).
 *   - Al acabarse la entrada estándar, el programa termina con estado 0. Un número que no se
 *     puede leer termina el programa con estado distinto de 0 y un mensaje en stderr.
 *   - Si la variable de entorno ZUL_GRABAR nombra un archivo, todo lo leído de la entrada
 *     estándar se copia en él: `./mibot < archivo` repite después la misma partida.
 *
 * Sirve igual para C que para C++.
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

/* Lo escribe el concursante: se llama una vez por turno, con el turno ya leído. */
void funcionPrincipal(void);

/* Lee el mapa y ejecuta los turnos hasta que se acaba la entrada; no vuelve. */
ZUL_NO_VUELVE void ZULmain(void);

/* Datos de la entrada i del turno actual (0 <= i < noDeJugadores()), en el orden del turno.
 * Posiciones en casillas del mapa; ángulo en grados de 0 a 360 medido desde +x hacia +y;
 * fuerza = longitud del vector. Un índice fuera de lo leído devuelve 0. */
float obtenerPosicionX(int i);
float obtenerPosicionY(int i);
float obtenerAngulo(int i);
float obtenerFuerza(int i);

/* Valor de la casilla que contiene el punto (x, y): fila floor(y), columna floor(x).
 * Fuera del mapa devuelve 5 (muro). */
int dirrecionDelMapa(float x, float y);

/* Orden que se enviará al final del turno: ángulo en grados y fuerza, tal cual.
 * Se conserva de un turno a otro hasta que se cambie; al principio es (0, 0). */
void asignarDireccion(float angulo, float fuerza);

int obtenerId(void);     /* identificador propio, el último número del turno */
int anchoDelMapa(void);  /* casillas por fila (eje x) */
int largoDelMapa(void);  /* número de filas (eje y) */
int noDeJugadores(void); /* entradas del turno actual */

/* Pide un disparo en este turno. Tras un disparo hay que esperar 100 turnos: mientras tanto
 * la petición se ignora sin aviso. */
void dispara(void);
/* 1 si dispara() tendría efecto ahora, 0 si no. */
int puedoDisparar(void);

/* Escribe una línea en stderr con el número de turno delante, al estilo de printf:
 * registro("voy a %f grados", a) escribe "[turno 12] voy a 45.000000 grados".
 * Es la forma segura de depurar: la salida estándar es del protocolo. */
ZUL_FORMATO_PRINTF(1, 2) void registro(const char* formato, ...);

#ifdef __cplusplus
}
#endif

#endif
