#!/usr/bin/env python3
"""Waits until the viewer's debug dump (ZUL_VOLCADO) meets a condition:

    volcado.py VOLCADO CARRERA CONDICIÓN [SEGUNDOS]

CONDICIÓN is a Python expression over what the "ZUL Karts" window shows:
paso and total ("Paso X de Y"; paso is -1 for "-"), vivo ("EN VIVO" on
show), esperando ("Esperando la carrera…"), camara (the "Cámara" choice),
seguido (the "Mirar al jugador:" field), fila (the marked "Jugadores" row),
tabla (the standings' bold row), primero (the standings' first row), anillo (the player the view rings, -1 for
none), mira (the view's followed player); players are indices into the
names of CARRERA's header, -1 for none. Prints those values and exits 0 once
the condition holds, 1 when it does not within SEGUNDOS (20 by default).
"""

import json
import re
import sys
import time


def valores(volcado, nombres):
    with open(volcado, encoding="utf-8") as f:
        datos = json.load(f)
    ventana = next(v for v in datos["ventanas"] if v.get("titulo") == "ZUL Karts")
    v = {"paso": None, "total": None, "vivo": False, "esperando": False, "camara": None,
         "seguido": None, "fila": -1, "tabla": -1, "primero": -1, "anillo": None, "mira": None}
    for w in ventana["widgets"]:
        texto = w.get("texto", "")
        m = re.fullmatch(r"Paso (\d+|-) de (\d+)", texto)
        if m:
            v["paso"] = -1 if m.group(1) == "-" else int(m.group(1))
            v["total"] = int(m.group(2))
        if w["clase"] == "CMarcaEnVivo":
            v["vivo"] = v["vivo"] or texto == "EN VIVO"
            v["esperando"] = v["esperando"] or texto.startswith("Esperando la carrera")
        if w["clase"] == "QComboBox" and v["camara"] is None:
            v["camara"] = texto
        if w["clase"] == "QSpinBox" and v["seguido"] is None:
            v["seguido"] = w["valor"]
        if w["clase"] == "QLabel" and w.get("negrita") and texto in nombres:
            v["fila"] = nombres.index(texto)
        if w.get("filas"):
            jugador = lambda f: next((nombres.index(c) for c in f.split("|") if c in nombres), -1)
            v["primero"] = jugador(w["filas"][0])
            if w["filasNegrita"]:
                v["tabla"] = jugador(w["filas"][w["filasNegrita"][0]])
        if w["clase"] == "CVisualizador":
            v["anillo"] = w["propiedades"]["enfocado"]
            v["mira"] = w["propiedades"]["mira"]
    return v


def main():
    volcado, carrera, condicion = sys.argv[1:4]
    plazo = time.monotonic() + (float(sys.argv[4]) if len(sys.argv) > 4 else 20.0)
    with open(carrera, encoding="utf-8") as f:
        cabecera = f.read(4096).split()
    nombres = cabecera[1:1 + int(cabecera[0])]
    v = None
    while True:
        try:
            v = valores(volcado, nombres)
            if eval(condicion, {}, dict(v)):
                print(v)
                return 0
        except (OSError, ValueError, StopIteration, KeyError, TypeError):
            pass  # not written yet, or the window is not up yet
        if time.monotonic() > plazo:
            print(f"no se cumplió «{condicion}»: {v}", file=sys.stderr)
            return 1
        time.sleep(0.05)


if __name__ == "__main__":
    sys.exit(main())
