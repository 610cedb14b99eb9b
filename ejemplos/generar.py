#!/usr/bin/python3
"""Writes the bundled sample track (mapa.txt) and race (carrera.txt) beside this script.

The output is deterministic: the same script always writes the same two files.
Run it with /usr/bin/python3; it uses the standard library only.
"""

import math
import os
import random

SEMILLA = 20261208
COLUMNAS = 90
FILAS = 60
MEDIO_ANCHO = 3.0  # half the track width, in cells
PASO = 0.05  # spacing of the centreline samples, in cells
NUM_FRAMES = 900
NOMBRES = ["Relampago", "Tortuga", "Cometa", "Bala", "Trueno"]
# Laps each kart should roughly complete; the speeds are derived from these.
VUELTAS_OBJETIVO = [6.8, 3.1, 5.3, 6.6, 4.2]
# Grid order, front first: the slow karts start ahead so the race has overtakes.
PARRILLA = [1, 4, 2, 0, 3]

PARED = 5
LLANA = 4
# Cell values of the four directions of travel.
ABAJO, DERECHA, ARRIBA, IZQUIERDA = 0, 1, 2, 3

# Control points of the racing line, in driving order (clockwise on screen).
PUNTOS = [
    (24.0, 7.5),  # start/finish line, on the main straight heading right
    (38.0, 7.5),
    (62.0, 7.5),
    (75.0, 9.5),  # long fast right-hand sweeper
    (82.5, 18.0),
    (84.0, 33.0),  # right-hand side, heading down
    (81.0, 47.0),  # tighter right turn onto the bottom straight
    (72.0, 53.0),
    (58.0, 53.5),
    (44.0, 53.1),  # right-hand hairpin, back up into the infield
    (39.9, 51.4),
    (38.2, 47.3),
    (39.9, 43.2),
    (44.0, 41.5),
    (58.0, 41.5),
    (67.0, 38.5),  # left turn, heading up
    (70.0, 30.0),
    (66.5, 21.5),  # left turn onto the back straight, heading left
    (57.0, 18.5),
    (51.0, 18.5),  # chicane
    (47.0, 19.5),
    (43.0, 23.0),
    (37.0, 24.0),
    (28.0, 22.5),
    (22.0, 28.0),  # left turn, heading down
    (21.0, 38.0),
    (18.5, 45.5),  # right turn at the bottom left
    (13.0, 51.0),
    (7.0, 49.3),
    (5.5, 43.0),  # up the left-hand side
    (6.5, 24.0),
    (8.0, 12.0),  # right turn back onto the start straight
    (14.0, 7.5),
]


def catmull_rom(puntos, pasos_por_tramo):
    """Closed centripetal Catmull-Rom curve through the points (no cusps or loops)."""
    n = len(puntos)
    salida = []
    for i in range(n):
        p0, p1, p2, p3 = (puntos[(i + k) % n] for k in (-1, 0, 1, 2))

        def nudo(t, a, b):
            return t + math.hypot(b[0] - a[0], b[1] - a[1]) ** 0.5

        t0 = 0.0
        t1 = nudo(t0, p0, p1)
        t2 = nudo(t1, p1, p2)
        t3 = nudo(t2, p2, p3)
        for s in range(pasos_por_tramo):
            t = t1 + (t2 - t1) * s / pasos_por_tramo

            def mezcla(a, b, ta, tb):
                if tb == ta:
                    return a
                wa = (tb - t) / (tb - ta)
                wb = (t - ta) / (tb - ta)
                return (wa * a[0] + wb * b[0], wa * a[1] + wb * b[1])

            a1 = mezcla(p0, p1, t0, t1)
            a2 = mezcla(p1, p2, t1, t2)
            a3 = mezcla(p2, p3, t2, t3)
            b1 = mezcla(a1, a2, t0, t2)
            b2 = mezcla(a2, a3, t1, t3)
            salida.append(mezcla(b1, b2, t1, t2))
    return salida


def remuestrear(curva, paso):
    """Resamples a closed polyline at equal arc-length steps; returns (samples, length)."""
    acumulado = [0.0]
    cerrada = curva + [curva[0]]
    for a, b in zip(cerrada, cerrada[1:]):
        acumulado.append(acumulado[-1] + math.hypot(b[0] - a[0], b[1] - a[1]))
    total = acumulado[-1]
    n = int(total / paso)
    muestras = []
    k = 0
    for i in range(n):
        s = i * total / n
        while acumulado[k + 1] < s:
            k += 1
        a, b = cerrada[k], cerrada[k + 1]
        largo = acumulado[k + 1] - acumulado[k]
        f = 0.0 if largo == 0 else (s - acumulado[k]) / largo
        muestras.append((a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1])))
    return muestras, total


class Circuito:
    """The racing line as equally spaced samples, with tangents and curvature."""

    def __init__(self, puntos):
        self.muestras, self.longitud = remuestrear(catmull_rom(puntos, 200), PASO)
        self.n = len(self.muestras)
        self.paso = self.longitud / self.n
        self.tangentes = []
        for i in range(self.n):
            a = self.muestras[i - 1]
            b = self.muestras[(i + 1) % self.n]
            d = math.hypot(b[0] - a[0], b[1] - a[1])
            self.tangentes.append(((b[0] - a[0]) / d, (b[1] - a[1]) / d))
        # Curvature from the turn of the tangent over about one cell either side, and a
        # smoother one over four cells that marks whole corners.
        self.curvaturas = self.curvatura_media(1.0)
        self.curvas = self.curvatura_media(4.0)

    def curvatura_media(self, alcance):
        v = max(1, int(round(alcance / self.paso)))
        salida = []
        for i in range(self.n):
            ta = self.tangentes[i - v]
            tb = self.tangentes[(i + v) % self.n]
            giro = math.atan2(ta[0] * tb[1] - ta[1] * tb[0], ta[0] * tb[0] + ta[1] * tb[1])
            salida.append(giro / (2 * v * self.paso))
        return salida

    def indice(self, s):
        return int(math.floor(s / self.paso)) % self.n

    def punto(self, s, desvio):
        """Point at arc length s, moved sideways by desvio (positive: driver's right)."""
        s %= self.longitud
        f = s / self.paso
        i = int(math.floor(f)) % self.n
        j = (i + 1) % self.n
        f -= math.floor(f)
        a, b = self.muestras[i], self.muestras[j]
        x = a[0] + f * (b[0] - a[0])
        y = a[1] + f * (b[1] - a[1])
        tx, ty = self.tangentes[i]
        # With y growing downwards, the driver's right of (tx, ty) is (-ty, tx).
        return x - ty * desvio, y + tx * desvio

    def curvatura(self, s):
        return self.curvaturas[self.indice(s)]


def direccion(tx, ty):
    """Quantises a tangent to the cell value of the nearest of the four directions."""
    cuadrante = int(round(math.atan2(ty, tx) / (math.pi / 2))) % 4
    return [DERECHA, ABAJO, IZQUIERDA, ARRIBA][cuadrante]


def construir_mapa(c):
    """Grid of cell values: track within MEDIO_ANCHO of the line, walls elsewhere."""
    mejor = [[None] * COLUMNAS for _ in range(FILAS)]  # (distance, sample index)
    alcance = int(math.ceil(MEDIO_ANCHO + 3))
    for k, (x, y) in enumerate(c.muestras):
        for i in range(int(y) - alcance, int(y) + alcance + 1):
            for j in range(int(x) - alcance, int(x) + alcance + 1):
                if 0 <= i < FILAS and 0 <= j < COLUMNAS:
                    d = math.hypot(j + 0.5 - x, i + 0.5 - y)
                    if mejor[i][j] is None or d < mejor[i][j][0]:
                        mejor[i][j] = (d, k)
    mapa = [[PARED] * COLUMNAS for _ in range(FILAS)]
    for i in range(FILAS):
        for j in range(COLUMNAS):
            m = mejor[i][j]
            if m is None:
                continue
            d, k = m
            if d < MEDIO_ANCHO:
                mapa[i][j] = direccion(*c.tangentes[k])
                # Start/finish line: one cell thick, right across the track.
                if k * c.paso < 1.0:
                    mapa[i][j] = LLANA
            elif d < MEDIO_ANCHO + 2.0:
                # Run-off on the outside of the tight corners.
                kappa = c.curvas[k]
                x, y = c.muestras[k]
                tx, ty = c.tangentes[k]
                lado = (-ty) * (j + 0.5 - x) + tx * (i + 0.5 - y)  # > 0: driver's right
                if abs(kappa) > 0.14 and lado * kappa < 0:
                    mapa[i][j] = LLANA
    # Pit lane along the inside of the start/finish straight.
    for j in range(24, 52):
        for i in (10, 11):
            if mapa[i][j] == PARED and mapa[i - 1][j] != PARED:
                mapa[i][j] = LLANA
    return mapa


def comprobar_circuito(c, mapa):
    # The whole track stays inside the grid with a wall border around it.
    for i in range(FILAS):
        for j in range(COLUMNAS):
            if i in (0, FILAS - 1) or j in (0, COLUMNAS - 1):
                assert mapa[i][j] == PARED, (j, i)
    # Separate stretches of the track never touch: at least one wall cell between them.
    salto = int(4 * MEDIO_ANCHO / c.paso)
    cada = max(1, int(0.5 / c.paso))
    indices = list(range(0, c.n, cada))
    for a in indices:
        xa, ya = c.muestras[a]
        for b in indices:
            separacion = min(abs(a - b), c.n - abs(a - b))
            if separacion > salto:
                xb, yb = c.muestras[b]
                assert math.hypot(xa - xb, ya - yb) > 2 * MEDIO_ANCHO + 1.5, (a, b)


def escribir_mapa(ruta, mapa):
    with open(ruta, "w", encoding="ascii", newline="\n") as f:
        f.write("%d %d\n" % (FILAS, COLUMNAS))
        for fila in mapa:
            f.write(" ".join(str(v) for v in fila) + "\n")


def simular(c, rnd):
    """Returns per frame a list of (x, y, angle, laps) per kart, and the shots per frame."""
    n = len(NOMBRES)
    velocidades = [v * c.longitud / NUM_FRAMES for v in VUELTAS_OBJETIVO]
    recorrido = [0.0] * n
    desvio = [0.0] * n
    # Staggered two-column grid just past the start/finish line.
    for puesto, k in enumerate(PARRILLA):
        recorrido[k] = 2.0 + 3.0 * (n - 1 - puesto)
        desvio[k] = 1.2 if puesto % 2 else -1.2
    objetivo = list(desvio)
    fase = [rnd.uniform(0, 2 * math.pi) for _ in range(n)]
    limite = MEDIO_ANCHO - 0.85  # keeps every kart inside the track cells
    trazas = []  # per frame: (x, y, travelled) per kart
    for t in range(NUM_FRAMES):
        fila = []
        for k in range(n):
            if t > 0:
                # Slower in the corners, plus a slow personal wobble; a standing start.
                kappa = max(abs(c.curvatura(recorrido[k] + e)) for e in (0.0, 1.0, 2.0))
                freno = 1.0 - 0.45 * min(1.0, kappa * 4.0)
                ritmo = 1.0 + 0.12 * math.sin(0.03 * t + fase[k])
                arranque = min(1.0, 0.15 + t / 40.0)
                avance = velocidades[k] * freno * ritmo * arranque
                # No kart turns more than about a third of a radian per frame.
                if kappa > 1e-6:
                    avance = min(avance, 0.35 * max(0.5, 1.0 / kappa - abs(desvio[k])))
                if rnd.random() < 0.02:
                    objetivo[k] = rnd.uniform(-limite, limite)
                # Keep clear of karts alongside or just ahead: move over to the side
                # this kart is already on, or to the other one when the wall is there.
                for m in range(n):
                    if m == k:
                        continue
                    delante = (recorrido[m] - recorrido[k]) % c.longitud
                    if delante > c.longitud / 2:
                        delante -= c.longitud
                    if -2.5 < delante < 8.0 and abs(desvio[m] - desvio[k]) < 1.6:
                        lado = 1.0 if (desvio[k], k) > (desvio[m], m) else -1.0
                        meta = desvio[m] + lado * 1.8
                        if abs(meta) > limite:
                            meta = desvio[m] - lado * 1.8
                        objetivo[k] = max(-limite, min(limite, meta))
                # Boxed in behind a kart on the same line: follow it until there is room.
                for m in range(n):
                    delante = (recorrido[m] - recorrido[k]) % c.longitud
                    if m != k and delante < 4.0 and abs(desvio[m] - desvio[k]) < 1.2:
                        avance = max(0.35 * avance, min(avance, delante - 1.5))
                recorrido[k] += avance
                # Sideways moves stay gentle next to the forward motion.
                lateral = 0.12 * avance
                desvio[k] += max(-lateral, min(lateral, objetivo[k] - desvio[k]))
            x, y = c.punto(recorrido[k], desvio[k])
            fila.append((x, y, recorrido[k]))
        trazas.append(fila)

    frames = []
    for t in range(NUM_FRAMES):
        fila = []
        for k in range(n):
            a = trazas[max(0, t - 1)][k]
            b = trazas[min(NUM_FRAMES - 1, t + 1)][k]
            angulo = math.atan2(b[1] - a[1], b[0] - a[0])
            x, y, s = trazas[t][k]
            vueltas = int(s // c.longitud)
            fila.append((round(x, 3), round(y, 3), round(angulo, 4), vueltas))
        frames.append(fila)

    disparos = []
    for t in range(NUM_FRAMES):
        lista = []
        if t > 20 and rnd.random() < 1.0 / 14:
            # Whoever has a rival in its sights shoots at it; otherwise anyone, at random.
            apuntados = []
            for k in range(n):
                x, y, angulo, _ = frames[t][k]
                for m in range(n):
                    dx, dy = frames[t][m][0] - x, frames[t][m][1] - y
                    d = math.hypot(dx, dy)
                    desvio = math.atan2(dy, dx) - angulo
                    desvio = (desvio + math.pi) % (2 * math.pi) - math.pi
                    if m != k and 2.0 < d < 11.0 and abs(desvio) < 0.3:
                        apuntados.append((k, d))
            if apuntados:
                k, d = apuntados[rnd.randrange(len(apuntados))]
                largo = max(6.0, min(12.0, d + 1.0))
            else:
                k = rnd.randrange(n)
                largo = rnd.uniform(6.0, 12.0)
            x, y, angulo, _ = frames[t][k]
            lista.append(
                (x, y, round(x + largo * math.cos(angulo), 3), round(y + largo * math.sin(angulo), 3))
            )
        disparos.append(lista)
    return frames, disparos


def comprobar_carrera(frames, disparos, mapa):
    n = len(NOMBRES)
    for t, fila in enumerate(frames):
        assert len(fila) == n
        for k, (x, y, angulo, vueltas) in enumerate(fila):
            j, i = int(math.floor(x)), int(math.floor(y))
            assert 0 <= j < COLUMNAS and 0 <= i < FILAS, (t, k)
            assert mapa[i][j] != PARED, ("kart on a wall", t, k, x, y)
            if t > 0:
                px, py, _, pv = frames[t - 1][k]
                assert vueltas in (pv, pv + 1), ("laps", t, k)
                if vueltas == pv + 1:
                    # A lap is counted only where the kart goes over the start/finish line.
                    cruce = [mapa[int(py)][c] == LLANA for c in range(int(px), int(x) + 1)]
                    assert any(cruce) and abs(x - PUNTOS[0][0]) < 3.0, ("lap", t, k)
                dx, dy = x - px, y - py
                assert math.hypot(dx, dy) > 0.05, ("kart stands still", t, k)
                diferencia = math.atan2(dy, dx) - angulo
                diferencia = (diferencia + math.pi) % (2 * math.pi) - math.pi
                assert abs(diferencia) < 0.3, ("heading", t, k, diferencia, x, y)
            else:
                assert vueltas == 0
    for t, lista in enumerate(disparos):
        for x1, y1, x2, y2 in lista:
            assert 6.0 - 0.01 <= math.hypot(x2 - x1, y2 - y1) <= 12.0 + 0.01, t
    finales = [fila[3] for fila in frames[-1]]
    assert 4 <= max(finales) <= 6 and 2 <= min(finales) <= 3, finales


def escribir_carrera(ruta, frames, disparos):
    with open(ruta, "w", encoding="ascii", newline="\n") as f:
        f.write("%d\n" % len(NOMBRES))
        f.write(" ".join(NOMBRES) + "\n")
        for fila, lista in zip(frames, disparos):
            for x, y, angulo, vueltas in fila:
                f.write("p %.3f %.3f %.4f %d\n" % (x, y, angulo, vueltas))
            for x1, y1, x2, y2 in lista:
                f.write("s %.3f %.3f %.3f %.3f\n" % (x1, y1, x2, y2))


def main():
    rnd = random.Random(SEMILLA)
    carpeta = os.path.dirname(os.path.abspath(__file__))
    circuito = Circuito(PUNTOS)
    mapa = construir_mapa(circuito)
    comprobar_circuito(circuito, mapa)
    frames, disparos = simular(circuito, rnd)
    comprobar_carrera(frames, disparos, mapa)
    escribir_mapa(os.path.join(carpeta, "mapa.txt"), mapa)
    escribir_carrera(os.path.join(carpeta, "carrera.txt"), frames, disparos)
    finales = ", ".join("%s %d" % (a, b[3]) for a, b in zip(NOMBRES, frames[-1]))
    print("circuito de %.1f casillas; vueltas al final: %s" % (circuito.longitud, finales))
    print("%d disparos en %d frames" % (sum(len(l) for l in disparos), NUM_FRAMES))


if __name__ == "__main__":
    main()
