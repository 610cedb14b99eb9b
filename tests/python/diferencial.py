#!/usr/bin/env python3
"""Differential test of the Python kit against the C library.

Generates recorded games (random maps, 1 to 150 entries, odd number forms,
angle edge cases, shots, cuts and malformed input), plays each one through a
C bot and a Python bot that run the same strategy, and compares standard
output, standard error, the exit status, the ZUL_GRABAR recording and the
ZUL_DEPURACION debug file byte for byte.

    diferencial.py BOT_C BOT_PY PYTHON KIT TRABAJO [PARTIDAS] [SEMILLA]
"""

import os
import random
import shutil
import subprocess
import sys
import tempfile

SEPARADORES = [b" ", b" ", b" ", b"\n", b"\t", b"\r\n", b"\v", b"\f", b"  \n "]

REALES_RAROS = [
    b"0", b"-0", b"+0", b"5.", b".5", b"+.5", b"-.5e3", b"1e5", b"1E-2", b"1e+", b"1e", b"1e-",
    b"0x.", b"0x1p", b"0x1p-", b"0x1.8p3", b"0X.8P-1", b"0x1p-150", b"0x1.000001p-150",
    b"0x1.6246dbp-127", b"0x1.ffffffp127", b"inf", b"-INF", b"Infinity", b"-infinity", b"nan",
    b"-nan", b"NaN", b"+nAn", b"16777217.0000000001", b"16777217", b"-16777219.0000001",
    b"3.40282357e38", b"3.4028235677973366e38", b"3.4028235677973367e38", b"1e39", b"-1e39",
    b"1e-46", b"7.006492321624085354618e-46", b"1.4e-45", b"1e400", b"1e-400",
    b"0000000000000000000000000000012.5", b"1" + b"0" * 60, b"0." + b"0" * 50 + b"1",
    b"123456789012345678901234567890e-20", b"0.1", b"0.0078125", b"33.333333333333333333",
]
# Vectors at the corners of atan2 and of the rounding to 360.
VECTORES = [
    (b"0", b"0"), (b"-0", b"0"), (b"0", b"-0"), (b"-0", b"-0"), (b"1", b"-1e-30"),
    (b"1", b"-1e-10"), (b"-1", b"0"), (b"-1", b"-0"), (b"0", b"1"), (b"0", b"-1"), (b"3", b"4"),
    (b"nan", b"1"), (b"1", b"-nan"), (b"-nan", b"nan"), (b"nan", b"-nan"), (b"inf", b"inf"),
    (b"-inf", b"1"), (b"1", b"inf"), (b"-inf", b"-inf"), (b"1e-45", b"-1e-45"),
    (b"3e38", b"3e38"), (b"-1e20", b"1e-20"), (b"1e-30", b"1e-30"),
]
ENTEROS_RAROS = [b"+7", b"-0", b"007", b"4294967297", b"-2147483649", b"2147483648",
                 b"99999999999999999999", b"-99999999999999999999", b"1" + b"0" * 5000]
# Tokens that stop scanf; the game ends there with status 1.
MALOS_REAL = [b"a", b"-", b"+", b"-a", b"nax", b"infinit ", b"infinix", b"0x ", b"0xg", b".",
              b"e5", b"--5", b"\x00", b"\xc3\xb1", b"+\n", b"-.", b"n", b"i", b"-nax", b"in"]
MALOS_ENTERO = [b"a", b"-", b"+", b"-a", b"x", b"\x01", b"\xff", b". ", b"--1", b"+\n"]


class Generador:
    def __init__(self, r):
        self.r = r

    def sep(self):
        return self.r.choice(SEPARADORES)

    def real(self):
        r = self.r
        k = r.random()
        if k < 0.45:
            return (b"%.*f" % (r.randint(0, 9), r.uniform(-600, 600)))
        if k < 0.6:
            return b"%d" % r.randint(-1000, 1000)
        if k < 0.75:
            return b"%.*e" % (r.randint(0, 20), r.uniform(-1, 1) * 10.0 ** r.randint(-47, 39))
        if k < 0.8:
            return b"0x%x.%xp%d" % (r.getrandbits(r.randint(1, 40)), r.getrandbits(20),
                                    r.randint(-170, 130))
        return r.choice(REALES_RAROS)

    def entero(self, a, b):
        if self.r.random() < 0.1:
            return self.r.choice(ENTEROS_RAROS[:-1])
        return b"%d" % self.r.randint(a, b)

    def mapa(self):
        r = self.r
        filas, columnas = r.randint(0, 12), r.randint(0, 12)
        if r.random() < 0.05:
            filas = -r.randint(1, 3)
        partes = [b"%d" % filas, b"%d" % columnas]
        for _ in range(max(filas, 0) * columnas):
            partes.append(b"%d" % r.choice([0, 1, 2, 3, 5, 5, 4, -1, 12, 99999999999]))
        return partes

    def turno(self, n):
        r = self.r
        partes = [b"%d" % n if r.random() > 0.05 else r.choice([b"0", b"-3", b"+2"])]
        cuantos = int(partes[0]) if partes[0] != b"+2" else 2
        for _ in range(max(cuantos, 0)):
            if r.random() < 0.2:
                u, v = r.choice(VECTORES)
            else:
                u, v = self.real(), self.real()
            partes += [self.real(), self.real(), u, v]
        partes.append(self.entero(-3, max(n, 1)))
        return partes

    def partida(self, turnos, maximo):
        partes = self.mapa()
        for _ in range(turnos):
            partes += self.turno(self.r.randint(1, maximo))
        return partes

    def unir(self, partes):
        salida = [self.sep() if self.r.random() < 0.3 else b""]
        for p in partes:
            salida += [p, self.sep()]
        return b"".join(salida)


def partidas(semilla, cuantas):
    """(name, bytes) of every game, the same ones for a given seed."""
    r = random.Random(semilla)
    g = Generador(r)
    yield "disparos", g.unir(g.partida(260, 3))
    yield "enteros_enormes", g.unir(g.mapa() + [b"1", b"1", b"2", b"3", b"4", ENTEROS_RAROS[-1]])
    yield "ciento_cincuenta", g.unir(g.partida(4, 150))
    for k in range(cuantas):
        partes = g.partida(r.randint(1, 12), r.choice([3, 10, 150]))
        final = r.random()
        if final < 0.3:
            # A malformed token in place of a random field after the map.
            i = r.randrange(len(partes))
            partes[i] = r.choice(MALOS_REAL + MALOS_ENTERO)
            datos = g.unir(partes)
        elif final < 0.5:
            datos = g.unir(partes)
            datos = datos[:r.randrange(len(datos) + 1)]
        else:
            datos = g.unir(partes)
        yield "p%03d" % k, datos


def ejecutar(orden, entrada, entorno, grabar, depurar=None):
    e = dict(entorno)
    if grabar:
        e["ZUL_GRABAR"] = grabar
    if depurar:
        e["ZUL_DEPURACION"] = depurar
    with open(entrada, "rb") as f:
        p = subprocess.run(orden, stdin=f, capture_output=True, env=e, timeout=60)
    grabado = depurado = None
    if grabar:
        with open(grabar, "rb") as g:
            grabado = g.read()
    if depurar:
        with open(depurar, "rb") as g:
            depurado = g.read()
    return p.returncode, p.stdout, p.stderr, grabado, depurado


def tuberia_rota(orden, entorno, leidas=3):
    """A referee that takes `leidas` answers, one turn at a time, then closes
    its end of the pipe: the next answer meets a broken pipe at that very
    turn, however the two programs are scheduled."""
    turno = b"1 0.5 0.5 1 0 0\n"
    with tempfile.TemporaryFile() as errores:
        p = subprocess.Popen(orden, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=errores, env=entorno)
        respuestas = []
        p.stdin.write(b"1 1 0\n")
        for _ in range(leidas):
            p.stdin.write(turno)
            p.stdin.flush()
            respuestas.append(p.stdout.readline())
        p.stdout.close()
        try:
            p.stdin.write(turno * 2)
            p.stdin.close()
        except BrokenPipeError:
            pass
        p.wait(timeout=60)
        errores.seek(0)
        return p.returncode, b"".join(respuestas), errores.read(), None


def comparar(nombre, c, py):
    partes = ("estado", "stdout", "stderr", "grabación", "depuración")
    for que, a, b in zip(partes, c, py):
        if a != b:
            if isinstance(a, bytes):
                lc, lp = a.split(b"\n"), b.split(b"\n")
                for i, (x, y) in enumerate(zip(lc, lp)):
                    if x != y:
                        a, b = "línea %d: %r" % (i + 1, x), "línea %d: %r" % (i + 1, y)
                        break
                else:
                    a, b = "%d líneas" % len(lc), "%d líneas" % len(lp)
            print("DIFERENCIA en %s (%s):\n  C:      %s\n  Python: %s" % (nombre, que, a, b))
            return False
    return True


def main():
    bot_c, bot_py, python, kit, trabajo = sys.argv[1:6]
    cuantas = int(sys.argv[6]) if len(sys.argv) > 6 else 100
    semilla = int(sys.argv[7]) if len(sys.argv) > 7 else 20
    shutil.rmtree(trabajo, ignore_errors=True)
    os.makedirs(trabajo)
    entorno = dict(os.environ, PYTHONPATH=kit, LC_ALL="C")
    orden_c, orden_py = [bot_c], [python, bot_py]
    fallos = total = 0
    for k, (nombre, datos) in enumerate(partidas(semilla, cuantas)):
        ruta = os.path.join(trabajo, nombre + ".txt")
        with open(ruta, "wb") as f:
            f.write(datos)
        grabar = k % 5 == 0
        depurar = k % 3 != 2
        c = ejecutar(orden_c, ruta, entorno, grabar and os.path.join(trabajo, "c.grab"),
                     depurar and os.path.join(trabajo, "bot.dep"))
        py = ejecutar(orden_py, ruta, entorno, grabar and os.path.join(trabajo, "py.grab"),
                      depurar and os.path.join(trabajo, "bot.dep"))
        total += 1
        if not comparar(nombre, c, py):
            fallos += 1
            print("  partida guardada en", ruta)
        if depurar and k % 4 == 1:
            # The debug file changes nothing of the protocol.
            total += 1
            sin = ejecutar(orden_c, ruta, entorno, None)
            if not comparar(nombre + " sin depuración", sin[:2], c[:2]):
                fallos += 1
    # Larger than glibc's buffers, broken early: the recording holds just what was read.
    grande = os.path.join(trabajo, "grande.txt")
    with open(grande, "wb") as f:
        f.write(b"2 2 1 1 1 1\n1 a\n" + b"1 1 1 1 1 0\n" * 3000)
    for tubo in (False, True):
        total += 1
        res = []
        for orden, g in ((orden_c, "c.grab"), (orden_py, "py.grab")):
            e = dict(entorno, ZUL_GRABAR=os.path.join(trabajo, g))
            if tubo:
                p = subprocess.run(["sh", "-c", 'cat "$0" | "$@"', grande] + orden,
                                   capture_output=True, env=e, timeout=60)
            else:
                with open(grande, "rb") as f:
                    p = subprocess.run(orden, stdin=f, capture_output=True, env=e, timeout=60)
            with open(os.path.join(trabajo, g), "rb") as f:
                res.append((p.returncode, p.stdout, p.stderr, f.read()))
        fallos += not comparar("grande" + (" por tubería" if tubo else ""), *res)
    total += 1
    fallos += not comparar("tubería rota", *(tuberia_rota(o, entorno) for o in (orden_c, orden_py)))
    # Streams the shell sets up: output closed, a recording that cannot be
    # created, and recordings that must not be made: into the input itself
    # (through another name too), and into a pipe nobody reads, which must not
    # wait for one. (A directory as input is left out: the Python interpreter
    # itself refuses to start with one.)
    fifo = os.path.join(trabajo, "fifo")
    os.mkfifo(fifo)
    casos = {
        "salida cerrada": 'exec "$@" < "$ENTRADA" >&-',
        "grabación imposible": 'ZUL_GRABAR=/nonexistent/dir/x exec "$@" < "$ENTRADA"',
        "grabación en la entrada": 'cp "$ENTRADA" "$ENTRADA.copia"; '
                                   'ZUL_GRABAR="$ENTRADA.copia" "$@" < "$ENTRADA.copia"; '
                                   'e=$?; wc -c < "$ENTRADA.copia"; exit $e',
        "grabación en la entrada por otro nombre": 'cp "$ENTRADA" "$ENTRADA.copia"; '
                                   'ln -f "$ENTRADA.copia" "$ENTRADA.enlace"; '
                                   'ZUL_GRABAR="$ENTRADA.enlace" "$@" < "$ENTRADA.copia"; '
                                   'e=$?; wc -c < "$ENTRADA.copia"; exit $e',
        "grabación en una tubería sin lector": 'ZUL_GRABAR="$FIFO" exec timeout 20 "$@" '
                                               '< "$ENTRADA"',
        "depuración imposible": 'ZUL_DEPURACION=/nonexistent/dir/x exec "$@" < "$ENTRADA"',
        "depuración sin sitio": 'ZUL_DEPURACION=/dev/full exec "$@" < "$ENTRADA"',
        "depuración sobre la entrada": 'ZUL_DEPURACION="$ENTRADA" exec "$@" < "$ENTRADA"',
    }
    turnos = os.path.join(trabajo, "turnos.txt")
    with open(turnos, "wb") as f:
        f.write(b"1 1 0\n" + b"1 0.5 0.5 1 0 0\n" * 300)
    for nombre, guion in casos.items():
        total += 1
        res = []
        for orden in (orden_c, orden_py):
            e = dict(entorno, ENTRADA=turnos, FIFO=fifo)
            p = subprocess.run(["bash", "-c", guion, "bash"] + orden, capture_output=True,
                               env=e, timeout=60)
            res.append((p.returncode, p.stdout, p.stderr, None))
        fallos += not comparar(nombre, *res)
    print("%d passed, %d failed" % (total - fallos, fallos))
    return 1 if fallos else 0


if __name__ == "__main__":
    sys.exit(main())
