#!/usr/bin/env python3
"""Checks the viewer's layout from its geometry dump (ZUL_VOLCADO_GEOMETRIA).

Usage: comprueba_geometria.py VOLCADO [--tamano AxB] [--clasificacion si|no]
                              [--lista-entera] [--letra-de OTRO_VOLCADO]

In the "ZUL Karts" window: no control overlaps another or is cut (by the
window, by its box, or below the size its text needs); the track keeps half
the window's width; the standings, when asked, show every column or a
horizontal scroll bar; with --lista-entera the "Jugadores" list does not
scroll; with --letra-de, every text has grown by one factor against the
other dump. Prints each fault and exits 1 on any. Standard library only.
"""

import argparse
import json
import statistics
import sys

CONTROLES = {"pista", "boton", "etiqueta", "selector", "deslizador", "lista"}
TEXTOS = {"boton", "etiqueta", "selector", "lista", "cabecera", "caja"}


def ventana_principal(volcado):
    for v in volcado["ventanas"]:
        if v["clase"] == "CVentana":
            return v
    sys.exit("FALLO: no hay ventana CVentana en el volcado")


def area(r):
    return max(0, r[2]) * max(0, r[3])


def cruce(a, b):
    x = max(0, min(a[0] + a[2], b[0] + b[2]) - max(a[0], b[0]))
    y = max(0, min(a[1] + a[3], b[1] + b[3]) - max(a[1], b[1]))
    return x * y


def antepasados(widgets, i):
    resultado = []
    while widgets[i]["padre"] >= 0:
        i = widgets[i]["padre"]
        resultado.append(i)
    return resultado


def claves(widgets):
    """A path of class names and sibling places that names a widget in both dumps."""
    lugar = {}
    vistos = {}
    for i, w in enumerate(widgets):
        n = vistos.get(w["padre"], 0)
        vistos[w["padre"]] = n + 1
        lugar[i] = f"{w['clase']}[{n}]"
    return {i: "/".join(lugar[j] for j in reversed([i] + antepasados(widgets, i)))
            for i in range(len(widgets))}


def describe(w):
    texto = w["texto"].replace("\n", " ")[:30]
    return f"{w['clase']} «{texto}» en {w['rect']}"


def comprueba(ventana, args):
    fallos = []
    widgets = ventana["widgets"]
    ancho, alto = ventana["tamano"]
    if args.tamano:
        esperado = [int(v) for v in args.tamano.split("x")]
        if [ancho, alto] != esperado:
            fallos.append(f"ventana de {ancho}x{alto}, se esperaba {args.tamano}")
    if ventana["minimo"][0] > ancho or ventana["minimo"][1] > alto:
        fallos.append(f"ventana de {ancho}x{alto} por debajo de su mínimo {ventana['minimo']}")
    sube = {i: antepasados(widgets, i) for i in range(len(widgets))}
    # Inside a list or a scroll area a widget may be scrolled away on purpose.
    desplazable = {i: any(widgets[j]["tipo"] in ("area", "lista") for j in sube[i])
                   for i in range(len(widgets))}
    controles = [i for i, w in enumerate(widgets)
                 if w["tipo"] in CONTROLES and area(w["visible"]) > 0]
    for i in controles:
        w = widgets[i]
        if desplazable[i]:
            continue
        if w["visible"] != w["rect"]:
            fallos.append(f"cortado por su caja o la ventana: {describe(w)} (se ve {w['visible']})")
        if w["tipo"] in ("boton", "etiqueta") and w["texto"] and w["rect"][2] < w["sugerido"][0] - 1:
            fallos.append(f"texto cortado: {describe(w)}, necesita {w['sugerido'][0]} de ancho")
        if w["tipo"] == "selector" and w["rect"][2] < w["minimo"][0] - 1:
            fallos.append(f"selector cortado: {describe(w)}, necesita {w['minimo'][0]}")
    for a_i, a in enumerate(controles):
        for b in controles[a_i + 1:]:
            if a in sube[b] or b in sube[a]:
                continue
            if cruce(widgets[a]["visible"], widgets[b]["visible"]) > 0:
                fallos.append(f"se solapan: {describe(widgets[a])} y {describe(widgets[b])}")
    pistas = [w for w in widgets if w["tipo"] == "pista"]
    if not pistas or pistas[0]["rect"][2] * 2 < ancho:
        fallos.append(f"la pista no tiene la mitad del ancho ({pistas[0]['rect'] if pistas else '-'})")
    tablas = [w for w in widgets if w["clase"] == "QTableView"]
    if args.clasificacion == "si":
        if not tablas:
            fallos.append("no se ve la clasificación")
        for t in tablas:
            if t["desborde"][0] and not t["barras"][0]:
                fallos.append(f"la clasificación pierde columnas sin barra: {t['rect']}")
    elif args.clasificacion == "no" and tablas:
        fallos.append("se ve la clasificación")
    if args.lista_entera:
        listas = [w for w in widgets if w["clase"] == "QScrollArea"
                  and widgets[w["padre"]]["clase"] == "CPanelJugadores"]
        if not listas or listas[0]["desborde"][1]:
            fallos.append("la lista de jugadores no cabe entera")
    return fallos


def compara_letra(ventana, otra):
    """Every text grows by the same factor from `otra` to `ventana`."""
    fallos = []
    propios, ajenos = claves(ventana["widgets"]), claves(otra["widgets"])
    antes = {propio: otra["widgets"][i]["letra"] for i, propio in ajenos.items()
             if otra["widgets"][i]["tipo"] in TEXTOS}
    razones = []
    for i, clave in propios.items():
        w = ventana["widgets"][i]
        if w["tipo"] in TEXTOS and clave in antes and antes[clave] > 0:
            razones.append((w["letra"] / antes[clave], w))
    if not razones:
        return ["no hay textos que comparar"]
    mediana = statistics.median(r for r, _ in razones)
    if mediana < 1.2:
        fallos.append(f"los textos no crecen (factor {mediana:.2f})")
    for r, w in razones:
        if abs(r - mediana) > 0.15 * mediana:
            fallos.append(f"crece {r:.2f} y no {mediana:.2f}: {describe(w)}")
    return fallos


def main():
    p = argparse.ArgumentParser()
    p.add_argument("volcado")
    p.add_argument("--tamano")
    p.add_argument("--clasificacion", choices=["si", "no"])
    p.add_argument("--lista-entera", action="store_true")
    p.add_argument("--letra-de")
    args = p.parse_args()
    with open(args.volcado, encoding="utf-8") as f:
        ventana = ventana_principal(json.load(f))
    fallos = comprueba(ventana, args)
    if args.letra_de:
        with open(args.letra_de, encoding="utf-8") as f:
            fallos += compara_letra(ventana, ventana_principal(json.load(f)))
    for fallo in fallos:
        print("FALLO:", fallo, file=sys.stderr)
    sys.exit(1 if fallos else 0)


if __name__ == "__main__":
    main()
