#!/usr/bin/env python3
"""Concursante de ejemplo: avanza siempre hacia +x con fuerza 1.5 y nunca dispara."""

from zul import ZULmain, asignarDireccion


def funcionPrincipal():
    asignarDireccion(0, 1.5)


if __name__ == "__main__":
    ZULmain(funcionPrincipal)
