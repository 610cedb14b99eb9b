"""Arithmetic as the C library does it: single precision storage, strtof and
strtol conversions, the libm corner cases that Python's math refuses, and
printf's "%f"."""

import math
import re
import struct
from decimal import Decimal, InvalidOperation

_F32 = struct.Struct("<f")
_pack = _F32.pack
_unpack = _F32.unpack
_inf = math.inf
_frexp = math.frexp
_floor = math.floor
_copysign = math.copysign

# x86's default NaN: what libm gives for sin and cos of an infinity.
NAN_NEGATIVO = -math.nan

_DOS_A_MENOS_126 = 2.0 ** -126
_DOS_A_149 = 2.0 ** 149
_FLT_MAX = 2.0 ** 128 - 2.0 ** 104
_UMBRAL_INFINITO = 2.0 ** 128 - 2.0 ** 103


def a_float(x):
    """Rounds a Python number to single precision, as C's (float) cast does."""
    try:
        return _unpack(_pack(x))[0]
    except (OverflowError, struct.error):
        pass
    # struct refuses everything past FLT_MAX; C rounds to nearest there too,
    # and only from the midpoint up does a value become infinite.
    try:
        x = float(x)
    except OverflowError:
        return _inf if x > 0 else -_inf
    if abs(x) < _UMBRAL_INFINITO:
        return _copysign(_FLT_MAX, x)
    return _copysign(_inf, x)


def _es_punto_medio(d):
    # True when d lies exactly halfway between two neighbouring floats, the
    # only case where rounding through double can differ from strtof.
    a = abs(d)
    if a < _DOS_A_MENOS_126:
        t = a * _DOS_A_149
    else:
        t = _frexp(a)[0] * 16777216.0
    return t - _floor(t) == 0.5


def _redondear_exacto(d, f, mayor):
    # d is a midpoint between f and its other neighbour; `mayor` is the sign of
    # (exact value - d): 1, -1 or 0 (an exact tie keeps f, which is even).
    if mayor == 0:
        return f
    otro = _copysign(_FLT_MAX, d) if math.isinf(f) else a_float(2.0 * d - f)
    if (abs(otro) > abs(d)) == ((mayor > 0) == (d > 0)):
        return otro
    return f


_DECIMAL = re.compile(rb"[-+]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][-+]?[0-9]+)?")
_HEXA = re.compile(rb"([-+]?)0[xX]((?:[0-9a-fA-F]+\.?[0-9a-fA-F]*|\.[0-9a-fA-F]+))"
                   rb"(?:[pP]([-+]?[0-9]+))?")


def _hexa(m):
    signo, cifras, exponente = m.group(1), m.group(2), m.group(3)
    entera, _, fraccion = cifras.partition(b".")
    mantisa = int(entera + fraccion or b"0", 16)
    if exponente is None:
        e = 0
    elif len(exponente.lstrip(b"+-").lstrip(b"0")) > 12:
        e = -(10**13) if exponente[:1] == b"-" else 10**13
    else:
        e = int(exponente)
    valor = _binario_a_float(mantisa, e - 4 * len(fraccion)) if mantisa else 0.0
    return -valor if signo == b"-" else valor


def _binario_a_float(m, e):
    # m * 2**e (m > 0) to single precision. Normal results round to nearest
    # even; below the normal range glibc's strtof loses the bit just past the
    # 24 it keeps when it shifts the mantissa, so it is lost here too.
    n = m.bit_length()
    if n > 24:
        quita = n - 24
        guardados = m >> quita
        redondeo = (m >> (quita - 1)) & 1
        resto = (m & ((1 << (quita - 1)) - 1)) != 0
        e += quita
    else:
        guardados = m << (24 - n)
        redondeo = 0
        resto = False
        e -= 24 - n
    if e >= -149:
        if redondeo and (resto or guardados & 1):
            guardados += 1
        try:
            return a_float(math.ldexp(guardados, e))
        except OverflowError:
            return _inf
    desplazamiento = -149 - e
    if desplazamiento > 24:
        return 0.0
    bit = (guardados >> (desplazamiento - 1)) & 1
    resto = resto or (guardados & ((1 << (desplazamiento - 1)) - 1)) != 0
    r = guardados >> desplazamiento
    if bit and (resto or r & 1):
        r += 1
    return math.ldexp(r, -149)


def strtof(texto):
    """strtof of the bytes that scanf gathered for "%f": the value of the
    longest prefix strtof accepts, or None when it accepts none."""
    c = texto[:1]
    if c in (b"-", b"+"):
        c = texto[1:2]
    if c in (b"n", b"N", b"i", b"I"):
        return float(texto)
    m = _HEXA.match(texto)
    if m is not None:
        return _hexa(m)
    m = _DECIMAL.match(texto)
    if m is None:
        return None
    return decimal_a_float(m.group())


def decimal_a_float(texto):
    """A decimal number, correctly rounded to single precision as strtof does."""
    d = float(texto)
    f = a_float(d)
    if f == d or d == 0 or f != f or math.isinf(d) or not _es_punto_medio(d):
        return f
    try:
        exacto = Decimal(texto.decode("ascii"))
        medio = Decimal(d)
    except (InvalidOperation, ValueError):
        return f
    return _redondear_exacto(d, f, (exacto > medio) - (exacto < medio))


_LONG_MAX = (1 << 63) - 1
_LONG_MIN = -(1 << 63)


def entero_c(texto):
    """What "%d" stores for a run of an optional sign and decimal digits:
    strtol's saturated long, cut to 32 bits."""
    cifras = texto.lstrip(b"+-").lstrip(b"0")
    negativo = texto[:1] == b"-"
    if len(cifras) > 19:
        v = _LONG_MIN if negativo else _LONG_MAX
    else:
        v = int(cifras or b"0")
        if negativo:
            v = -v
        if v > _LONG_MAX:
            v = _LONG_MAX
        elif v < _LONG_MIN:
            v = _LONG_MIN
    return ((v + 0x80000000) & 0xFFFFFFFF) - 0x80000000


def atan2(y, x):
    """libm's atan2: a NaN argument comes back itself, x's first."""
    if x != x:
        return x
    if y != y:
        return y
    return math.atan2(y, x)


def seno_coseno(t):
    """libm's sincos: an infinity gives the negative default NaN."""
    if t != t:
        return t, t
    if math.isinf(t):
        return NAN_NEGATIVO, NAN_NEGATIVO
    return math.sin(t), math.cos(t)


# With NaNs, x86's SSE gives the first operand's NaN, sign included; CPython's
# own float arithmetic gives whichever operand its C compiler put first, which
# differs from build to build. So the NaN is chosen here, as the C library's
# code gets it.

def producto(a, b):
    """a * b, with a NaN operand's sign kept as C keeps it: a's if a is NaN."""
    if a != a:
        return a
    if b != b:
        return b
    return a * b


def suma(a, b):
    """a + b, with a NaN operand's sign kept as C keeps it: a's if a is NaN."""
    if a != a:
        return a
    if b != b:
        return b
    return a + b


def raiz(x):
    """sqrt: a NaN comes back itself, and a negative number gives the
    negative default NaN, as sqrtsd gives them."""
    if x != x:
        return x
    if x < 0:
        return NAN_NEGATIVO
    return math.sqrt(x)


def formato_f(x):
    """printf's "%f", which keeps the sign of a NaN."""
    if x != x:
        return "-nan" if _copysign(1.0, x) < 0 else "nan"
    return "%f" % x
