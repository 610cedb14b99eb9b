#!/usr/bin/env python3
"""Replays a finished race log into SALIDA slowly, as the referee writes a race
that is running, to try the viewer's live mode:

    scripts/carrera_en_vivo.py SALIDA [--pasos-por-segundo N] [--carrera CARRERA]

SALIDA is written from scratch: the header at once, then one step (one record
per player, with the shots that follow it) every 1/N seconds (10 by default).
CARRERA is ejemplos/carrera.txt by default. Ctrl+C stops it.
"""

import argparse
import os
import sys
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def pasos(tokens, jugadores):
    """The body's records grouped into steps: a step ends with its last
    player record and takes the records that follow it up to the next "p"."""
    paso, registros = [], 0
    i = 0
    while i < len(tokens):
        etiqueta = tokens[i]
        if etiqueta in ("p", "s"):
            registro, i = tokens[i:i + 5], i + 5
        else:
            registro, i = [etiqueta], i + 1
        if etiqueta == "p" and registros == jugadores:
            yield paso
            paso, registros = [], 0
        paso.append(" ".join(registro))
        if etiqueta == "p":
            registros += 1
    if paso:
        yield paso


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    argumentos.add_argument("salida", metavar="SALIDA")
    argumentos.add_argument("--pasos-por-segundo", type=float, default=10.0, metavar="N")
    argumentos.add_argument("--carrera", default=os.path.join(RAIZ, "ejemplos", "carrera.txt"))
    opciones = argumentos.parse_args()
    if not opciones.pasos_por_segundo > 0:
        argumentos.error("--pasos-por-segundo debe ser mayor que 0")
    try:
        with open(opciones.carrera, encoding="utf-8", errors="surrogateescape") as f:
            tokens = f.read().split()
    except OSError as error:
        sys.exit(f"carrera_en_vivo: no se pudo leer {opciones.carrera}: {error.strerror}")
    try:
        jugadores = int(tokens[0])
        if jugadores < 1:
            raise ValueError
    except (IndexError, ValueError):
        sys.exit(f"carrera_en_vivo: {opciones.carrera} no empieza con el número de jugadores")
    cabecera, cuerpo = tokens[:1 + jugadores], tokens[1 + jugadores:]

    pausa = 1.0 / opciones.pasos_por_segundo
    try:
        with open(opciones.salida, "w", encoding="utf-8", errors="surrogateescape") as salida:
            salida.write(" ".join(cabecera) + "\n")
            salida.flush()
            siguiente = time.monotonic()
            for numero, paso in enumerate(pasos(cuerpo, jugadores)):
                siguiente += pausa
                time.sleep(max(0.0, siguiente - time.monotonic()))
                salida.write("\n".join(paso) + "\n")
                salida.flush()
                print(f"\rpaso {numero}", end="", flush=True)
        print()
    except KeyboardInterrupt:
        print()
    except OSError as error:
        sys.exit(f"carrera_en_vivo: no se pudo escribir {opciones.salida}: {error.strerror}")


if __name__ == "__main__":
    main()
