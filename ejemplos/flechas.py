#!/usr/bin/python3
"""Draws the four arrow tiles that the viewer shows on direction cells at large zooms.

Writes arriba.png, abajo.png, izquierda.png and derecha.png beside this script: 64 x 64,
RGBA, fully opaque, on the track colour so that the tiles together still read as track.
Standard library only (PNG written with zlib and struct); the output is deterministic.
"""

import os
import struct
import zlib

LADO = 64
FONDO = (108, 81, 81)  # same as the track blocks at small zooms
BORDE = (92, 68, 68)  # a thin darker edge shows the cell grid
FLECHA = (200, 170, 170)
SUBMUESTRAS = 4  # per axis, for the antialiased edges

# Arrow pointing up, in tile units (0..64): a triangular head over a shaft.
PUNTA = ((32.0, 10.0), (51.0, 31.0), (13.0, 31.0))
ASTIL = (25.0, 30.0, 39.0, 54.0)  # left, top, right, bottom

# Maps a point of each tile onto the upward arrow's frame.
GIROS = {
    "arriba.png": lambda x, y: (x, y),
    "abajo.png": lambda x, y: (x, LADO - y),
    "derecha.png": lambda x, y: (y, LADO - x),
    "izquierda.png": lambda x, y: (y, x),
}


def en_triangulo(x, y, tri):
    (ax, ay), (bx, by), (cx, cy) = tri
    d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by)
    d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy)
    d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay)
    negativo = d1 < 0 or d2 < 0 or d3 < 0
    positivo = d1 > 0 or d2 > 0 or d3 > 0
    return not (negativo and positivo)


def en_flecha(u, v):
    izquierda, arriba, derecha, abajo = ASTIL
    return en_triangulo(u, v, PUNTA) or (izquierda <= u <= derecha and arriba <= v <= abajo)


def pintar(giro):
    filas = []
    for y in range(LADO):
        fila = []
        for x in range(LADO):
            if x == 0 or y == 0 or x == LADO - 1 or y == LADO - 1:
                fila.append(BORDE)
                continue
            dentro = 0
            for sy in range(SUBMUESTRAS):
                for sx in range(SUBMUESTRAS):
                    px = x + (sx + 0.5) / SUBMUESTRAS
                    py = y + (sy + 0.5) / SUBMUESTRAS
                    if en_flecha(*giro(px, py)):
                        dentro += 1
            f = dentro / (SUBMUESTRAS * SUBMUESTRAS)
            fila.append(tuple(int(round(a + f * (b - a))) for a, b in zip(FONDO, FLECHA)))
        filas.append(fila)
    return filas


def bloque(tipo, datos):
    crc = zlib.crc32(tipo + datos) & 0xFFFFFFFF
    return struct.pack(">I", len(datos)) + tipo + datos + struct.pack(">I", crc)


def escribir_png(ruta, filas):
    """Writes rows of (r, g, b) or (r, g, b, a) pixels as an 8-bit RGBA PNG."""
    alto, ancho = len(filas), len(filas[0])
    crudo = bytearray()
    for fila in filas:
        crudo.append(0)  # no filter
        for pixel in fila:
            crudo += bytes(pixel if len(pixel) == 4 else tuple(pixel) + (255,))
    cabecera = struct.pack(">IIBBBBB", ancho, alto, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(ruta, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(bloque(b"IHDR", cabecera))
        f.write(bloque(b"IDAT", zlib.compress(bytes(crudo), 9)))
        f.write(bloque(b"IEND", b""))


def main():
    carpeta = os.path.dirname(os.path.abspath(__file__))
    for nombre, giro in GIROS.items():
        filas = pintar(giro)
        assert len(filas) == LADO and all(len(f) == LADO for f in filas)
        escribir_png(os.path.join(carpeta, nombre), filas)
        print(nombre)


if __name__ == "__main__":
    main()
