#!/usr/bin/env python3
"""Sigue la flecha de la casilla en la que está y dispara en cuanto puede (como bot.cpp)."""

from zul import (ZULmain, asignarDireccion, dirrecionDelMapa, dispara, obtenerId,
                 obtenerPosicionX, obtenerPosicionY, puedoDisparar)

ANGULOS = (90, 0, 270, 180)  # abajo, derecha, arriba, izquierda


def funcionPrincipal():
    yo = obtenerId()
    flecha = dirrecionDelMapa(obtenerPosicionX(yo), obtenerPosicionY(yo))
    if 0 <= flecha <= 3:
        asignarDireccion(ANGULOS[flecha], 1)
    if puedoDisparar():
        dispara()


if __name__ == "__main__":
    ZULmain(funcionPrincipal)
