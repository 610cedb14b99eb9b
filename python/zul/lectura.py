"""Standard input read the way the C library's fscanf reads it: the same
buffer sizes, one character of push-back, sticky end of input, and the
same bytes taken for "%d" and "%f"."""

import os
import re

from . import numeros

EOF_C = -1
LEIDO = 1
NO_CONVERTIDO = 0

_BUFSIZ = 8192
_ESPACIOS = frozenset(b" \t\n\v\f\r")
_DIGITOS = frozenset(b"0123456789")
_HEXDIGITOS = frozenset(b"0123456789abcdefABCDEF")
_SIGNOS = frozenset(b"+-")

_E = "[ \t\n\v\f\r]"
_REAL = r"([-+]?(?:[0-9]+(?:\.[0-9]*)?|\.[0-9]+)(?:[eE][-+]?[0-9]+)?)"
# Common forms only, and only when white space follows inside the buffer:
# then scanf would stop at that very character, so the shortcut takes the
# same bytes. Anything else goes through the character-by-character path.
_ENTERO_RAPIDO = re.compile((_E + "*([-+]?[0-9]+)(?=" + _E + ")").encode())
_ENTRADA_RAPIDA = re.compile(
    (_E + "*" + _REAL + (_E + "+" + _REAL) * 3 + "(?=" + _E + ")").encode())


def tam_lectura(fd, grabando):
    """The bytes glibc asks read() for: its BUFSIZ through the recording
    stream, else the file's block size when that is smaller."""
    if grabando:
        return _BUFSIZ
    try:
        bloque = os.fstat(fd).st_blksize
    except OSError:
        return _BUFSIZ
    return bloque if 0 < bloque < _BUFSIZ else _BUFSIZ


class Entrada:
    def __init__(self, fd, tam, grabacion=None):
        self.fd = fd
        self.tam = tam
        self.grabacion = grabacion
        self.buf = b""
        self.pos = 0
        self.fin = False
        self.error = False
        self.errno = 0

    def _llenar(self):
        if self.fin:
            return False
        try:
            datos = os.read(self.fd, self.tam)
        except OSError as e:
            self.error = True
            self.errno = e.errno or 0
            return False
        if not datos:
            self.fin = True
            return False
        if self.grabacion is not None:
            self.grabacion.copiar(datos)
        self.buf = datos
        self.pos = 0
        return True

    def car(self):
        """getc: the next byte, or EOF_C."""
        if self.pos < len(self.buf):
            c = self.buf[self.pos]
            self.pos += 1
            return c
        if not self._llenar():
            return EOF_C
        self.pos = 1
        return self.buf[0]

    def _devolver(self, c):
        if c != EOF_C:
            self.pos -= 1

    def _saltar_espacios(self):
        c = self.car()
        while c in _ESPACIOS:
            c = self.car()
        return c

    def entero(self):
        """fscanf "%d": (LEIDO, value), (NO_CONVERTIDO, None) or (EOF_C, None)."""
        m = _ENTERO_RAPIDO.match(self.buf, self.pos)
        if m is not None:
            self.pos = m.end()
            return LEIDO, numeros.entero_c(m.group(1))
        c = self._saltar_espacios()
        if c == EOF_C:
            return EOF_C, None
        texto = bytearray()
        if c in _SIGNOS:
            texto.append(c)
            c = self.car()
        while c in _DIGITOS:
            texto.append(c)
            c = self.car()
        self._devolver(c)
        if not texto or (len(texto) == 1 and texto[0] in _SIGNOS):
            return NO_CONVERTIDO, None
        return LEIDO, numeros.entero_c(bytes(texto))

    def entrada(self):
        """Four "%f" in a row when they are in the buffer in a common form;
        None sends the caller to real() for each."""
        m = _ENTRADA_RAPIDA.match(self.buf, self.pos)
        if m is None:
            return None
        self.pos = m.end()
        f = numeros.decimal_a_float
        return f(m.group(1)), f(m.group(2)), f(m.group(3)), f(m.group(4))

    def _palabra(self, texto, letras):
        # Each letter must follow; a wrong one is consumed, not pushed back.
        for letra in letras:
            c = self.car()
            if c == EOF_C or (c | 0x20) != letra:
                return False
            texto.append(c)
        return True

    def real(self):
        """fscanf "%f": (LEIDO, value), (NO_CONVERTIDO, None) or (EOF_C, None)."""
        c = self._saltar_espacios()
        if c == EOF_C:
            return EOF_C, None
        texto = bytearray()
        signo = 0
        if c in _SIGNOS:
            signo = 1
            texto.append(c)
            c = self.car()
            if c == EOF_C:
                return NO_CONVERTIDO, None
        if c in (0x6E, 0x4E):  # n: only "nan", and nothing after it is read
            texto.append(c)
            if not self._palabra(texto, b"an"):
                return NO_CONVERTIDO, None
            return LEIDO, numeros.strtof(bytes(texto))
        if c in (0x69, 0x49):  # i: "inf", or all of "infinity"
            texto.append(c)
            if not self._palabra(texto, b"nf"):
                return NO_CONVERTIDO, None
            c = self.car()
            if c != EOF_C:
                if c in (0x69, 0x49):
                    texto.append(c)
                    if not self._palabra(texto, b"nity"):
                        return NO_CONVERTIDO, None
                else:
                    self._devolver(c)
            return LEIDO, numeros.strtof(bytes(texto))
        exponente = 0x65  # e
        hexa = con_cifra = con_punto = con_e = False
        if c == 0x30:  # 0
            texto.append(c)
            c = self.car()
            if c in (0x78, 0x58):  # x
                texto.append(c)
                hexa = True
                exponente = 0x70  # p
                c = self.car()
            else:
                con_cifra = True
        while True:
            if c in _DIGITOS or (hexa and not con_e and c in _HEXDIGITOS):
                texto.append(c)
                con_cifra = True
            elif con_e and texto[-1] == exponente and c in _SIGNOS:
                texto.append(c)
            elif con_cifra and not con_e and c != EOF_C and (c | 0x20) == exponente \
                    and (0x41 <= c <= 0x5A or 0x61 <= c <= 0x7A):
                texto.append(exponente)
                con_e = con_punto = True
            elif not con_punto and c == 0x2E:  # .
                texto.append(c)
                con_punto = True
            else:
                self._devolver(c)
                break
            c = self.car()
            if c == EOF_C:
                break
        if len(texto) == signo or (hexa and len(texto) == 2 + signo):
            return NO_CONVERTIDO, None
        valor = numeros.strtof(bytes(texto))
        if valor is None:
            return NO_CONVERTIDO, None
        return LEIDO, valor
