#!/usr/bin/env python3
"""The Python kit beyond what the differential test compares: the numbers
whose C results are known by heart, registro(), ZULmain's arguments, the
sample under zulprueba and `pip install` from the source tree.

    prueba_kit.py KIT ZULPRUEBA TRABAJO
"""

import os
import shutil
import struct
import subprocess
import sys
import unittest

KIT, ZULPRUEBA, TRABAJO = sys.argv[1:4]
sys.path.insert(0, KIT)
from zul import numeros  # noqa: E402


def bits(f):
    return struct.unpack(">I", struct.pack(">f", f))[0]


def python(codigo, entrada=b"", **entorno):
    e = dict(os.environ, PYTHONPATH=KIT, **entorno)
    return subprocess.run([sys.executable, "-c", codigo], input=entrada, capture_output=True,
                          env=e, timeout=60)


class Numeros(unittest.TestCase):
    def test_strtof_como_glibc(self):
        # Bits measured with glibc's strtof.
        filas = [
            (b"16777217.0000000001", 0x4B800001), (b"16777217", 0x4B800000),
            (b"-16777216.9999999999", 0xCB800000), (b"0x.", 0), (b"1e+", 0x3F800000),
            (b"3.4028235677973366e38", 0x7F7FFFFF), (b"3.4028235677973367e38", 0x7F800000),
            (b"0x1.6246dbp-127", 0x005891B6), (b"0x1p-150", 0), (b"0x1.8p-150", 1),
            (b"1e-400", 0), (b"-1e-400", 0x80000000), (b"-nan", 0xFFC00000),
            (b"infinity", 0x7F800000),
        ]
        for texto, esperado in filas:
            with self.subTest(texto=texto):
                self.assertEqual(bits(numeros.strtof(texto)), esperado)

    def test_entero_satura_y_corta_a_32_bits(self):
        filas = [(b"4294967297", 1), (b"99999999999999999999", -1),
                 (b"-99999999999999999999", 0), (b"2147483648", -2147483648),
                 (b"+007", 7), (b"1" + b"0" * 5000, -1)]
        for texto, esperado in filas:
            with self.subTest(texto=texto[:30]):
                self.assertEqual(numeros.entero_c(texto), esperado)

    def test_formato_f_con_signo_de_nan(self):
        filas = [(-numeros.math.nan, "-nan"), (numeros.math.nan, "nan"), (-1e-9, "-0.000000"),
                 (0.0078125, "0.007812"), (float("-inf"), "-inf")]
        for x, esperado in filas:
            with self.subTest(x=x):
                self.assertEqual(numeros.formato_f(x), esperado)

    def test_signo_de_nan_como_en_c_con_cualquier_interprete(self):
        # The NaN that C's SSE code keeps when two meet: the first operand's.
        # CPython's own arithmetic keeps whichever its compiler chose.
        estrategia = ("import struct\nfrom zul import *\ndef funcionPrincipal():\n"
                      "    f = obtenerFuerza(0)\n"
                      "    registro('%08x', struct.unpack('<I', struct.pack('<f', f))[0])\n"
                      "    asignarDireccion(obtenerAngulo(0), f)\nZULmain(funcionPrincipal)")
        filas = [(b"-nan nan", b"ffc00000", b"m -nan -nan\n"),
                 (b"nan -nan", b"7fc00000", b"m nan nan\n"),
                 (b"-nan 1", b"ffc00000", b"m -nan -nan\n"),
                 (b"1 -nan", b"ffc00000", b"m -nan -nan\n"),
                 (b"inf -nan", b"ffc00000", b"m -nan -nan\n")]
        for vector, fuerza, orden in filas:
            with self.subTest(vector=vector):
                p = python(estrategia, b"1 1 0\n1 0 0 " + vector + b" 0\n")
                self.assertEqual((p.stderr, p.stdout), (b"[turno 1] " + fuerza + b"\n", orden))


class Programa(unittest.TestCase):
    def test_registro_sin_argumentos_deja_el_texto_tal_cual(self):
        p = python("import zul\nzul.registro('100%% y 50%')\nzul.registro('a %d b', 3)\n"
                   "zul.registro('fin\\n\\n')")
        self.assertEqual(p.stderr, b"[turno 0] 100%% y 50%\n[turno 0] a 3 b\n[turno 0] fin\n")

    def test_zulmain_busca_funcionPrincipal_en_el_programa(self):
        p = python("from zul import *\ndef funcionPrincipal():\n    asignarDireccion(90, 2)\n"
                   "ZULmain()", b"0 0 0 0\n")
        self.assertEqual((p.returncode, p.stdout), (0, b"m 0.000000 2.000000\n"))

    def test_zulmain_sin_estrategia_lo_explica(self):
        p = python("import zul\nzul.ZULmain()", b"0 0 0 0\n")
        self.assertNotEqual(p.returncode, 0)
        self.assertIn("ZULmain necesita la función de la estrategia", p.stderr.decode())

    def test_print_del_concursante_sale_antes_que_su_orden(self):
        # As in C, where printf and the answer share stdout's buffer.
        p = python("from zul import *\ndef funcionPrincipal():\n    print('hola')\n"
                   "ZULmain(funcionPrincipal)", b"0 0 0 0\n")
        self.assertEqual(p.stdout, b"hola\nm 0.000000 0.000000\n")

    def test_dummy_cumple_el_protocolo_en_zulprueba(self):
        dummy = os.path.join(KIT, "dummy.py")
        p = subprocess.run([ZULPRUEBA, "--pasos", "150", "--", sys.executable, dummy],
                           capture_output=True, env=dict(os.environ, PYTHONPATH=KIT),
                           timeout=120)
        self.assertEqual(p.returncode, 0, p.stdout.decode())
        self.assertIn("Resultado: el bot cumple el protocolo", p.stdout.decode())

    def test_pip_install_sin_red(self):
        entorno = os.path.join(TRABAJO, "venv")
        shutil.rmtree(TRABAJO, ignore_errors=True)
        subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", "--without-pip",
                        entorno], check=True)
        fuente = os.path.join(TRABAJO, "fuente")
        shutil.copytree(KIT, fuente, ignore=shutil.ignore_patterns("__pycache__", "build",
                                                                   "*.egg-info"))
        py = os.path.join(entorno, "bin", "python")
        p = subprocess.run([py, "-m", "pip", "install", "--no-build-isolation", "--no-index",
                            "--no-cache-dir", "-q", fuente], capture_output=True, timeout=300)
        self.assertEqual(p.returncode, 0, p.stderr.decode())
        p = subprocess.run([py, "-c", "import zul, os; print(zul.__version__, "
                            "os.path.dirname(zul.__file__).startswith(%r))" % entorno],
                           capture_output=True, cwd=TRABAJO, env={"PATH": os.environ["PATH"]})
        self.assertEqual(p.stdout, b"1.0.0 True\n", p.stderr.decode())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
