#!/usr/bin/env python3
"""The strategy of espejo.cpp with the Python kit, call for call."""

import math
import struct

from zul import (ZULmain, anchoDelMapa, anota, asignarDireccion, dibujaCirculo, dibujaLinea,
                 dibujaTexto, dirrecionDelMapa, dispara, largoDelMapa, noDeJugadores,
                 obtenerAngulo, obtenerFuerza, obtenerId, obtenerPosicionX, obtenerPosicionY,
                 puedoDisparar, registro)

_M = (1 << 64) - 1
semilla = 1
turno = 0
INF = math.inf
NAN = math.nan

ANGULOS = [0, 90, 180, 270, 360, 45, -90, 1e30, -1e30, INF, -INF, NAN, -NAN, 1e-45, 3e38,
           720.5, 33.3, -0.0, 1e39, 0.125, 359.9999]
FUERZAS = [1.5, 2, 0, -0.0, -1, 1e30, 1e39, INF, NAN, -NAN, 1e-40, 7e-46, 0.0078125, 1e300]

TEXTOS = ["", "hola", "dos\nlíneas", "barra \\ y \\n", "\x01\x1f\x7f", "ñandú 🏁",
          "  espacios  ", "%d"]
NUMEROS = [0.5, -0.0, 1e30, -1e39, INF, -INF, NAN, -NAN, 1e-45, 0.1, 123456789, 3.4028235e38,
           -7.25, 16777217.0]


def azar():
    global semilla
    semilla = (semilla * 6364136223846793005 + 1442695040888963407) & _M
    return semilla >> 33


def bits(f):
    return struct.unpack("<I", struct.pack("<f", f))[0]


def funcionPrincipal():
    global semilla, turno
    turno += 1
    n = noDeJugadores()
    ident = obtenerId()
    semilla = semilla ^ (n & 0xFFFFFFFF) ^ ((ident & 0xFFFFFFFF) << 32)
    registro("T %d n=%d id=%d mapa=%dx%d puedo=%d", turno, n, ident, largoDelMapa(),
             anchoDelMapa(), puedoDisparar())
    hasta = n + 2 if n < 160 else 162
    for i in range(-1, hasta):
        registro("E %d %08x %08x %08x %08x", i, bits(obtenerPosicionX(i)),
                 bits(obtenerPosicionY(i)), bits(obtenerAngulo(i)), bits(obtenerFuerza(i)))
    ancho = float(anchoDelMapa())
    largo = float(largoDelMapa())
    puntos = [-0.0, -1e-30, 0.5, ancho - 0.5, ancho, ancho + 0.5, ancho - 1e-9, 1e30, INF, NAN,
              -INF, 16777217.0, largo - 0.5, largo, largo - 1e-7, 2.5]
    linea = ["D"]
    for x in puntos:
        for y in puntos:
            linea.append(str(dirrecionDelMapa(x, y)))
    for i in range(min(n, 20)):
        linea.append(str(dirrecionDelMapa(obtenerPosicionX(i), obtenerPosicionY(i))))
    registro("%s", " ".join(linea))
    eleccion = azar() % 8
    if eleccion < 3:
        a = ANGULOS[azar() % len(ANGULOS)]
        asignarDireccion(a, FUERZAS[azar() % len(FUERZAS)])
    elif eleccion < 6:
        j = azar() % (n + 2 if n > 0 else 2) - 1
        asignarDireccion(obtenerAngulo(j), obtenerFuerza(j))
    if azar() % 4 == 0:
        dispara()
        if azar() % 2 == 0:
            dispara()
    registro("P %d", puedoDisparar())
    dibujar(ident)


def numero_raro():
    return NUMEROS[azar() % len(NUMEROS)]


def dibujar(ident):
    for _ in range(azar() % 5):
        que = azar() % 6
        color = azar()
        if que == 0:
            x1 = numero_raro()
            dibujaLinea(x1, obtenerPosicionY(0), obtenerPosicionX(0), numero_raro(), color)
        elif que == 1:
            x = obtenerPosicionX(1)
            dibujaCirculo(x, obtenerPosicionY(1), numero_raro(), color)
        elif que == 2:
            texto = TEXTOS[azar() % len(TEXTOS)]
            dibujaTexto(numero_raro(), 2.5, texto, color)
        elif que == 3:
            anota("decisión %d: %s", ident, TEXTOS[azar() % len(TEXTOS)])
        elif que == 4 and azar() % 16 == 0:
            largo = "x" * (azar() % 40000 + 30000)
            anota("%s", largo)
            dibujaTexto(1, 1, largo, color)
        elif que == 5 and azar() % 32 == 0:
            for i in range(10002):
                dibujaCirculo(i, 0.5, 1, i)


ZULmain(funcionPrincipal)
