/*
 * ZULlib's internal entry points, for the tests and the fuzz targets.
 * Contestants do not need them: their programs use ZULlib.h and ZULmain().
 */
#ifndef ZULINTERNO_H
#define ZULINTERNO_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* zulEjecutar()'s result; ZULmain() exits the process with this same value. */
enum {
    ZUL_FIN_ENTRADA = 0, /* the input ended (in the map or anywhere in a turn, a number included) */
    ZUL_ENTRADA_NO_VALIDA = 1, /* a number could not be converted; see zulMensajeError() */
    ZUL_ERROR_ES = 2           /* a read or write failed, or memory ran out */
};

/* Reads the map from `entrada` and plays turns, writing each reply to `salida`, until the input
 * ends or fails. It starts from whatever state there is: for a new game, call zulReiniciar()
 * first. Calls funcionPrincipal() once per whole turn. */
int zulEjecutar(FILE* entrada, FILE* salida);

/* The message (one line, without its '\n') of the last zulEjecutar() that did not end in
 * ZUL_FIN_ENTRADA; the empty string if there is none. */
const char* zulMensajeError(void);

/* Puts the state back as at process start and frees all of the library's memory. */
void zulReiniciar(void);

/* The number of the current turn: 1 in the first turn, 0 before it. */
long zulTurnoActual(void);

#ifdef __cplusplus
}
#endif

#endif
