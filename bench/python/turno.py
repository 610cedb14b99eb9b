#!/usr/bin/env python3
"""One contestant turn with 100 entries: read the turn, call the strategy,
write the line. The Python kit against the C library in the same run, on
the same bytes, each in its own process reading a file of many such turns.

    turno.py BOT_C PYTHON KIT [TURNOS]

BOT_C is a contestant built on ZULlib whose strategy does what the Python
one below does (turno_c.cpp)."""

import os
import random
import subprocess
import sys
import tempfile
import time

ESTRATEGIA = """
from zul import ZULmain, asignarDireccion, obtenerAngulo, obtenerFuerza, obtenerId
def funcionPrincipal():
    yo = obtenerId()
    asignarDireccion(obtenerAngulo(yo), obtenerFuerza(yo))
ZULmain(funcionPrincipal)
"""


def turnos(n, entradas):
    r = random.Random(100)
    partes = [b"60 90\n", b" ".join(b"%d" % r.choice((0, 1, 2, 3, 5)) for _ in range(60 * 90)),
              b"\n"]
    for _ in range(n):
        partes.append(b"%d\n" % entradas)
        for _ in range(entradas):
            partes.append(b"%.6f %.6f %.6f %.6f\n" % (r.uniform(0, 90), r.uniform(0, 60),
                                                      r.uniform(-2, 2), r.uniform(-2, 2)))
        partes.append(b"%d\n" % r.randrange(entradas))
    return b"".join(partes)


def medir(orden, ruta, entorno, veces=3):
    mejor = None
    for _ in range(veces):
        with open(ruta, "rb") as f:
            t0 = time.perf_counter()
            p = subprocess.run(orden, stdin=f, stdout=subprocess.PIPE, env=entorno, check=True)
            t = time.perf_counter() - t0
        mejor = t if mejor is None else min(mejor, t)
    return mejor, p.stdout


def main():
    bot_c, python, kit = sys.argv[1:4]
    n = int(sys.argv[4]) if len(sys.argv) > 4 else 2000
    entorno = dict(os.environ, PYTHONPATH=kit)
    with tempfile.TemporaryDirectory() as d:
        bot_py = os.path.join(d, "bot.py")
        with open(bot_py, "w") as f:
            f.write(ESTRATEGIA)
        # The fixed cost (start-up, map) is measured with one turn and subtracted.
        solo, muchos = os.path.join(d, "uno.txt"), os.path.join(d, "muchos.txt")
        with open(solo, "wb") as f:
            f.write(turnos(1, 100))
        with open(muchos, "wb") as f:
            f.write(turnos(n + 1, 100))
        res = {}
        for nombre, orden in (("C", [bot_c]), ("Python", [python, bot_py])):
            base, _ = medir(orden, solo, entorno)
            total, salida = medir(orden, muchos, entorno)
            res[nombre] = ((total - base) / n * 1e6, salida)
    if res["C"][1] != res["Python"][1]:
        print("las respuestas de los dos kits difieren")
        return 1
    c, py = res["C"][0], res["Python"][0]
    print("Turno con 100 entradas (leer, estrategia, escribir), %d turnos, mejor de 3:" % n)
    print("  ZULlib (C):     %8.1f µs" % c)
    print("  zul (Python):   %8.1f µs" % py)
    print("  cociente:       %8.1f ×" % (py / c if c > 0 else float("inf")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
