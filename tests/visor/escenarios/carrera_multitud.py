#!/usr/bin/env python3
"""Writes a race log of many players from a smaller one, for testing crowds.

Usage: carrera_multitud.py CARRERA JUGADORES PASOS SALIDA

Player i drives the path of player i mod n of CARRERA a few steps behind it
and slightly to one side, so the karts start bunched and stay close. Standard
library only; the output depends on the arguments alone.
"""

import math
import sys

NOMBRES = ["Rayo", "Tortuga", "Cometa", "Bala", "Trueno", "Ciclon", "Halcon", "Centella"]


def lee(ruta):
    with open(ruta, encoding="latin-1") as f:
        fichas = f.read().split()
    n = int(fichas[0])
    registros = []
    i = 1 + n
    while i < len(fichas):
        if fichas[i] == "p":
            x, y, a, v = fichas[i + 1:i + 5]
            registros.append((float(x), float(y), float(a), int(v)))
            i += 5
        elif fichas[i] == "s":
            i += 5
        else:
            i += 1
    return n, [registros[k:k + n] for k in range(0, len(registros) - n + 1, n)]


def main():
    origen, jugadores, pasos, salida = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    n, frames = lee(origen)
    lineas = [str(jugadores)]
    lineas.append(" ".join(
        f"{NOMBRES[j % len(NOMBRES)]}{j // len(NOMBRES) + 1}" for j in range(jugadores)))
    for paso in range(pasos):
        for j in range(jugadores):
            retraso = 2 * (j // n)
            x, y, a, v = frames[max(0, min(paso - retraso, len(frames) - 1))][j % n]
            lado = 0.5 * ((j // n) % 3 - 1)
            lineas.append(f"p {x - math.sin(a) * lado:.3f} {y + math.cos(a) * lado:.3f} {a:.4f} {v}")
    with open(salida, "w", encoding="latin-1") as f:
        f.write("\n".join(lineas) + "\n")


if __name__ == "__main__":
    main()
