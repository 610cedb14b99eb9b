#!/usr/bin/python3
"""Draws the viewer's 64 x 64 application icon, zulkarts-visor.png, beside this script.

A rounded dark square with an oval track in the track colour, a dashed start line and two
karts (discs in the first two players' colours, with their heading lines), so that it reads
as the viewer's own picture at menu size. RGBA with transparent corners; standard library
only (PNG written with zlib and struct); the output is deterministic.
"""

import math
import os

from flechas import escribir_png

LADO = 64
SUBMUESTRAS = 4  # per axis, for the antialiased edges

FONDO = (24, 24, 28)
PISTA = (108, 81, 81)
BORDE_PISTA = (150, 120, 120)
LINEA = (235, 235, 235)
KARTS = (((255, 76, 76), (22.0, 16.5), 0.0), ((76, 255, 76), (44.0, 47.5), math.pi))
RADIO_KART = 5.0
RADIO_ESQUINA = 12.0


def dentro_cuadro(x, y):
    r = RADIO_ESQUINA
    cx = min(max(x, r), LADO - r)
    cy = min(max(y, r), LADO - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def elipse(x, y, rx, ry):
    return ((x - 32.0) / rx) ** 2 + ((y - 32.0) / ry) ** 2


def color_en(x, y):
    """Colour (r, g, b) and opacity of one sample point."""
    if not dentro_cuadro(x, y):
        return (0, 0, 0), 0.0
    color = FONDO
    exterior = elipse(x, y, 27.0, 19.5)
    interior = elipse(x, y, 15.0, 7.5)
    if exterior <= 1.0 and interior >= 1.0:
        color = PISTA
        if exterior >= 0.86 or interior <= 1.18:
            color = BORDE_PISTA
        # Start line: a chequered strip across the track's top straight.
        if 31.0 <= x <= 35.0 and y <= 26.0 and (int(x - 31.0) + int(y)) % 2 == 0:
            color = LINEA
    for tinte, (kx, ky), rumbo in KARTS:
        if (x - kx) ** 2 + (y - ky) ** 2 <= RADIO_KART**2:
            color = tinte
            # The heading line, one pixel wide, from the centre to the rim.
            dx, dy = math.cos(rumbo), math.sin(rumbo)
            a = (x - kx) * dx + (y - ky) * dy
            b = abs(-(x - kx) * dy + (y - ky) * dx)
            if 0.0 <= a <= RADIO_KART and b <= 0.6:
                color = (0, 0, 0)
    return color, 1.0


def pintar():
    filas = []
    for y in range(LADO):
        fila = []
        for x in range(LADO):
            suma = [0.0, 0.0, 0.0]
            opaco = 0.0
            for sy in range(SUBMUESTRAS):
                for sx in range(SUBMUESTRAS):
                    c, a = color_en(x + (sx + 0.5) / SUBMUESTRAS, y + (sy + 0.5) / SUBMUESTRAS)
                    for i in range(3):
                        suma[i] += c[i] * a
                    opaco += a
            n = SUBMUESTRAS * SUBMUESTRAS
            if opaco == 0.0:
                fila.append((0, 0, 0, 0))
            else:
                fila.append(tuple(int(round(s / opaco)) for s in suma) + (int(round(255 * opaco / n)),))
        filas.append(fila)
    return filas


def main():
    ruta = os.path.join(os.path.dirname(os.path.abspath(__file__)), "zulkarts-visor.png")
    escribir_png(ruta, pintar())
    print(os.path.basename(ruta))


if __name__ == "__main__":
    main()
