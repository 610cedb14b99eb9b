#!/usr/bin/env python3
"""Sigue la flecha de la casilla en la que está y dispara en cuanto puede (como bot.cpp).
Con ZUL_DEPURACION (zulprueba --depuracion) dibuja su objetivo y anota su decisión, para
verlos en el visor."""

from zul import (ZULmain, anota, asignarDireccion, dibujaCirculo, dibujaLinea, dibujaTexto,
                 dirrecionDelMapa, dispara, obtenerId, obtenerPosicionX, obtenerPosicionY,
                 puedoDisparar)

ANGULOS = (90, 0, 270, 180)  # abajo, derecha, arriba, izquierda
PASOS = ((0, 1), (1, 0), (0, -1), (-1, 0))


def funcionPrincipal():
    yo = obtenerId()
    x, y = obtenerPosicionX(yo), obtenerPosicionY(yo)
    flecha = dirrecionDelMapa(x, y)
    if 0 <= flecha <= 3:
        asignarDireccion(ANGULOS[flecha], 1)
        # El objetivo: el centro de la casilla a la que apunta la flecha.
        ox = int(x) + 0.5 + PASOS[flecha][0]
        oy = int(y) + 0.5 + PASOS[flecha][1]
        dibujaLinea(x, y, ox, oy, 0xFFFF00)
        dibujaCirculo(ox, oy, 0.3, 0x00FF00)
        anota("flecha %d: hacia %.0f grados", flecha, ANGULOS[flecha])
    else:
        anota("sin flecha (casilla %d): sigo igual", flecha)
    if puedoDisparar():
        dispara()
        dibujaTexto(x, y, "¡disparo!", 0xFF4040)
        anota("disparo")


if __name__ == "__main__":
    ZULmain(funcionPrincipal)
