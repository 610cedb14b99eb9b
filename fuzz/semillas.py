#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/{carrera,mapa,protocolo}.

Small valid files, the same files cut at every token boundary and inside tokens,
odd numbers in every field (signs, exponents, hex floats, inf and nan, overflow),
very long tokens, NUL and control bytes, and huge counts and dimensions.
Run it again after changing it: the corpus is rewritten from scratch.
"""

import hashlib
import os
import shutil

RAIZ = os.path.dirname(os.path.abspath(__file__))

NUMEROS_RAROS = [
    "0", "-0", "+0", "1.5", "-2.25", ".5", "5.", "1e3", "1E+3", "1e-3", "1e", "1e+", "1e-",
    "1e5e", "1.2.3", ".", "-.", "-", "+", "+-1", "0x1.8p1", "0X1P-2", "0x", "0x.", "0x.8",
    "0xg", "0x1p", "0x1p-1074", "0x1.fffffffffffffp1023", "00x1", "inf", "-inf", "INF",
    "infinity", "Infinit", "infx", "nan", "-nan", "NaN(12)", "nan(", "nax", "in", "n", "1e400",
    "-1e400", "1e-400", "4.9e-324", "2.2250738585072011e-308", "3.4028235e38", "1e39",
    "1e-46", "99999999999", "-99999999999", "2147483647", "2147483648", "-2147483649",
    "9223372036854775807", "9223372036854775808", "-9223372036854775809",
    "123456789012345678901234567890", "0.1000000000000000055511151231257827", "1" * 400,
    "0." + "0" * 400 + "1", "1e" + "9" * 30, "12ab", "p", "s", "x", "\x01", "1\xff", "e5", "0e",
]


def cortes(texto):
    """Prefixes that end at each token boundary and in the middle of each token."""
    puntos = set()
    for i, c in enumerate(texto):
        if c.isspace():
            puntos.add(i)
            puntos.add(i + 1)
    partes = texto.split()
    pos = 0
    for parte in partes:
        pos = texto.index(parte, pos)
        if len(parte) > 1:
            puntos.add(pos + len(parte) // 2)
        pos += len(parte)
    puntos.add(len(texto))
    return [texto[:p] for p in sorted(puntos) if p > 0]


def escribe(carpeta, casos):
    destino = os.path.join(RAIZ, "corpus", carpeta)
    shutil.rmtree(destino, ignore_errors=True)
    os.makedirs(destino)
    vistos = set()
    for caso in casos:
        datos = caso.encode("latin-1") if isinstance(caso, str) else caso
        nombre = hashlib.sha1(datos).hexdigest()[:16]
        if nombre in vistos:
            continue
        vistos.add(nombre)
        with open(os.path.join(destino, nombre), "wb") as f:
            f.write(datos)
    print(f"{carpeta}: {len(vistos)} semillas")


def carreras():
    base = ("2 alfa beta\n"
            "p 1.5 2.5 0 0\ns 1 1 3 3\np 4 4 1.57 0\n"
            "p 1.6 2.5 0 0\np 4 4.1 1.57 1\n")
    casos = [base, base.replace("\n", " "), base.replace("\n", "\r\n"), base.replace(" ", "\t")]
    casos += cortes(base)
    casos.append("3 a b c\ns 0 0 1 1\np 1 1 0 0 p 2 2 0 0 p 3 3 0 0 s 1 2 3 4\n"
                 "zz p 4 4 0 1 q 7 p 5 5 0 1 P 1 1 1 1 ps 2 2 2 2 p 6 6 0 1\n")
    casos.append("1 solo\n" + "".join(f"p {i}.5 {i % 7}.25 {i * 0.1:.3f} {i // 10}\n"
                                      for i in range(60)))
    casos.append("6 " + " ".join(f"j{i}" for i in range(6)) + "\n" +
                 "".join(f"p {i} {i} 0 0\n" + ("s 0 0 1 1\n" if i % 5 == 0 else "")
                         for i in range(48)))
    # Shots cut short, records broken inside.
    casos += ["1 a s 1 2 3 p 1 1 1 1", "1 a p 1 2 3", "1 a p x 1 1 1 p 2 2 2 2",
              "1 a s 1 x 3 4 p 1 1 1 1", "2 a b p 1 1 1 1 s", "1 a p 1 1 1 1.5 p 2 2 2 2"]
    # Odd numbers in every field of a player and a shot record.
    for numero in NUMEROS_RAROS:
        for campo in range(4):
            campos = ["1.5"] * 4
            campos[campo] = numero
            registro = " ".join(campos)
            casos.append(f"2 a b p 1 2 3 4 p {registro} s {registro} p 5 6 7 8 p 9 9 9 9\n")
        casos.append(f"{numero} a b c p 1 1 1 1\n")
    # Player counts: none, negative, the largest accepted, one more, overflowing.
    for n in ["0", "-1", "1000", "1001", "2147483648", "-2147483649", "99999999999999999999",
              "0x10", "+3", "6", "7", "10", "100"]:
        casos.append(f"{n}\n")
        casos.append(f"{n} a b c d e f g\np 1 1 1 1\n")
    casos.append("1000 " + " ".join(f"n{i}" for i in range(1000)) + "\np 1 1 1 1\n")
    # Long tokens: at, above and far above the 199-character limit, as names and tags.
    for largo in [198, 199, 200, 201, 450]:
        casos.append(f"2 {'x' * largo} b p 1 1 1 1 p 2 2 2 2\n")
        casos.append(f"1 a {'p' * largo} 1 1 1 1 p 2 2 2 2\n")
        casos.append(f"1 a {'z' * largo}p 1 1 1 1\n")
    # NUL and control bytes, UTF-8 and Latin-1 names.
    casos += ["2 a\0b c p 1 1 1 1 p\0q 2 2 2 2 s\0 1 1 1 1 p 3 3 3 3",
              "2 \x01\x02 \x7f p 1 1 1 1\x00 p 2 2 2 2",
              "3 Relámpago Ñandú ol\xe9 p 1 1 1 1 p 2 2 2 2 p 3 3 3 3".encode("utf-8")
              .decode("latin-1"),
              "2 caf\xe9 \xff\xfe p 1 1 1 1 p 2 2 2 2",
              "2 a b\n\v\f\r p\v1\f2\r3\t4 p 5 6 7 8", "", " ", "\n\n\n", "\0"]
    # The start of the bundled sample race.
    ejemplo = os.path.join(RAIZ, "..", "ejemplos", "carrera.txt")
    if os.path.exists(ejemplo):
        with open(ejemplo, "rb") as f:
            texto = f.read(3000).decode("latin-1")
        casos.append(texto[: texto.rfind("\n") + 1])
    return casos


def mapas():
    base = "2 3\n0 1 2\n3 5 4\n"
    casos = [base, base.replace("\n", " "), base.replace("\n", "\r\n")]
    casos += cortes(base)
    casos += [base[:i] for i in range(1, len(base))]
    casos.append("20 30\n" + "".join(" ".join(str((f * 7 + c * 3) % 13) for c in range(30)) +
                                     "\n" for f in range(20)))
    casos.append("30 30\n" + "".join(" ".join("5" if f in (0, 29) or c in (0, 29) else "4"
                                              for c in range(30)) + "\n" for f in range(30)))
    for dims in ["0 0", "0 5", "5 0", "-1 3", "3 -1", "-0 4", "+2 +1", "1 1", "1 1000", "1000 1",
                 "46340 46340", "46341 46341", "46340 46341", "2147483647 1", "1 2147483647",
                 "2147483648 1", "65536 32768", "65536 32767", "9223372036854775808 1",
                 "-9223372036854775809 2", "99999999999999999999 99999999999999999999",
                 "x", "2", "2 x", "0x2 2"]:
        casos.append(dims)
        casos.append(dims + "\n1 2 3 4 5 6\n")
        casos.append(dims + " 7")
    for numero in NUMEROS_RAROS:
        casos.append(f"2 2 1 {numero} 3 4")
        casos.append(f"2 2 {numero} 2 3 4")
        casos.append(f"{numero} 2 1 2 3 4")
    casos += ["2 2 1 - 5 6", "2 2 1 +x 5", "2 2 1 2 x", "2 2 0x1 2 3 4", "3 3 " + "9" * 300,
              "2 2 1\x002 3 4", "2\x002 1 2 3 4", "", " ", "\0", "2 2 -48 -49 207 208",
              # values whose low byte would make an arrow or the wall
              "1 8 256 261 -256 -251 4294967296 4294967301 -9223372036854775808 12"]
    return casos


def protocolos():
    mapa = "3 4\n5 5 5 5\n0 1 2 3\n5 4 12 5\n"
    turnos = "".join(f"2 {1 + t * 0.5} 1.5 1 {t % 3 - 1} 2.5 1.5 -1 0 {t % 2}\n"
                     for t in range(6))
    base = mapa + turnos
    casos = [base, "2 3 0 1 2 3 5 4 1 2.5 1.5 3 4 6\n", base.replace("\n", " ")]
    casos += cortes(base)
    # Many turns: the shot wait of 100 turns runs out.
    casos.append("1 1 4\n" + "0 7\n" * 120)
    casos.append("1 1 4\n" + "1 0.5 0.5 0 -1e-30 1\n" * 110)
    # Entry counts: none, negative, above the 100 places, announced but missing.
    casos += ["0 0 0 1\n", "0 0 -1 3\n", "0 0 -2147483648 3\n", "0 0 2000000000 1 2 3 4",
              "0 0 " + "150 " + "1.5 2.5 3 4 " * 150 + "0\n" + "3 9 9 9 9 1 1 1 1 2 2 2 2 5\n",
              "0 0 2 1 2 3 4 5 6 7 8 0\n1 9 9 9 9 0\n"]
    # Map headers: empty, negative, beyond 513, huge, unreadable.
    casos += ["0 0 1 0 0 0 0 0\n", "-1 5 1 0 0 1 1 0\n", "5 -1 1 0 0 1 1 0\n",
              "2 520 " + "1 " * 1040 + "1 519.5 1.5 1 0 0\n",
              "520 2 " + "2 " * 1040 + "1 1.5 519.5 1 0 0\n",
              "100000 100000 1 2 3 4 5", "2147483647 2147483647 7", "46340 46340",
              "x", "1 x", "2 2 1 2 3 .", "", "\0", "1 1 4 0 3 x", "1 1 4 1 1 1 1 x 0"]
    # Odd numbers in every field of an entry, in the count and in the id.
    for numero in NUMEROS_RAROS:
        for campo in range(4):
            campos = ["1.5"] * 4
            campos[campo] = numero
            casos.append(f"2 2 0 1 2 3\n1 {' '.join(campos)} 0\n1 1 1 1 1 0\n")
        casos.append(f"1 1 4\n{numero} 1 1 1 1 0\n")
        casos.append(f"1 1 4\n1 1 1 1 1 {numero}\n0 1\n")
        casos.append(f"1 {numero} 4\n0 1\n")
    # Vectors on the axes and tiny negative components (angle exactly 360).
    casos.append("1 1 4\n6 0 0 0 0 0 0 0 1 0 0 -1 0 0 0 0 -1 0 0 1 -1e-30 0 0 3 4 2\n")
    return casos


def main():
    escribe("carrera", carreras())
    escribe("mapa", mapas())
    escribe("protocolo", protocolos())


if __name__ == "__main__":
    main()
