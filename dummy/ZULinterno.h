/*
 * Puntos de entrada internos de ZULlib, para las pruebas y los objetivos de fuzzing.
 * El concursante no los necesita: su programa usa ZULlib.h y ZULmain().
 */
#ifndef ZULINTERNO_H
#define ZULINTERNO_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Resultado de zulEjecutar(); ZULmain() termina el proceso con este mismo valor. */
enum {
    ZUL_FIN_ENTRADA = 0, /* la entrada se acabó (en el mapa o en cualquier punto de un turno) */
    ZUL_ENTRADA_NO_VALIDA = 1, /* un número no se pudo convertir; ver zulMensajeError() */
    ZUL_ERROR_ES = 2           /* error de lectura o escritura, o memoria agotada */
};

/* Lee el mapa de `entrada` y ejecuta turnos, escribiendo cada respuesta en `salida`, hasta que
 * la entrada se acaba o falla. Parte del estado que haya: para una partida nueva, llame antes a
 * zulReiniciar(). Llama a funcionPrincipal() una vez por turno completo. */
int zulEjecutar(FILE* entrada, FILE* salida);

/* Mensaje (una línea, sin salto final) del último zulEjecutar() que no acabó en
 * ZUL_FIN_ENTRADA; cadena vacía si no lo hay. */
const char* zulMensajeError(void);

/* Deja el estado como al arrancar el proceso y libera toda la memoria de la biblioteca. */
void zulReiniciar(void);

/* Número del turno en curso: 1 en el primer turno, 0 antes de él. */
long zulTurnoActual(void);

#ifdef __cplusplus
}
#endif

#endif
