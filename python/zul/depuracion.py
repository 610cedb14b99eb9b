"""ZUL_DEPURACION: each turn's drawings and notes saved in a file, one block
per turn after the turn's command, byte for byte as the C library writes
them."""

import errno
import os
import stat

from .grabacion import _escribir_error as _avisar, _motivo
from .numeros import a_float, decimal_a_float

MAX_DIBUJOS = 10000
MAX_TEXTO = 64 * 1024
_CABECERA = b"zul-depuracion 1\n"

_SIN_ABRIR, _ACTIVA, _INACTIVA = range(3)


def _numero(f):
    """The shortest "%g" that reads back as the same float; non-finite
    values spelt out, with no sign for a NaN."""
    if f != f:
        return b"nan"
    if f in (float("inf"), float("-inf")):
        return b"inf" if f > 0 else b"-inf"
    for p in range(1, 10):
        texto = b"%.*g" % (p, f)
        if decimal_a_float(texto) == f:
            return texto
    return texto


def _bytes(texto):
    if isinstance(texto, (bytes, bytearray)):
        return bytes(texto)
    texto = str(texto)
    try:
        return texto.encode("utf-8", "surrogateescape")
    except UnicodeEncodeError:
        return texto.encode("utf-8", "replace")


def _escapar(datos):
    # A backslash, a line break or another control byte would break the
    # line, so they are written as escapes.
    partes = []
    for c in datos:
        if c == 0x5C:
            partes.append(b"\\\\")
        elif c == 0x0A:
            partes.append(b"\\n")
        elif c < 0x20 or c == 0x7F:
            partes.append(b"\\x%02x" % c)
        else:
            partes.append(bytes((c,)))
    return b"".join(partes)


def _color(c):
    try:
        return int(c) & 0xFFFFFF
    except (TypeError, ValueError, OverflowError):
        return 0


class Depuracion:
    def __init__(self):
        self.reiniciar()

    def reiniciar(self):
        if getattr(self, "fd", -1) >= 0:
            try:
                os.close(self.fd)
            except OSError:
                pass
        self.estado = _SIN_ABRIR
        self.fd = -1
        self.ruta = b""
        self.bloque = []
        self.dibujos = 0
        self.bytes_texto = 0
        self.descartados = 0
        self.avisado = False
        self.turno = 0

    def _cerrar(self):
        if self.fd >= 0:
            try:
                os.close(self.fd)
            except OSError:
                pass
        self.fd = -1
        self.estado = _INACTIVA

    def abrir(self):
        if self.estado != _SIN_ABRIR:
            return
        self.estado = _INACTIVA
        ruta = os.environb.get(b"ZUL_DEPURACION")
        if not ruta:
            return
        self.ruta = ruta
        try:
            self.fd = os.open(ruta, os.O_WRONLY | os.O_CREAT | os.O_NONBLOCK | os.O_CLOEXEC,
                              0o644)
        except OSError as e:
            motivo = b"nadie lee la tuber\xc3\xada" if e.errno == errno.ENXIO else _motivo(e)
            _avisar(b"ZULlib: no se pudo crear %s para la depuraci\xc3\xb3n (%s); se juega sin "
                    b"ella\n" % (ruta, motivo))
            return
        try:
            destino = os.fstat(self.fd)
        except OSError:
            destino = None
        regular = destino is not None and stat.S_ISREG(destino.st_mode)
        for fd in (0, 1):
            try:
                otro = os.fstat(fd)
            except OSError:
                continue
            if regular and (destino.st_dev, destino.st_ino) == (otro.st_dev, otro.st_ino):
                _avisar(b"ZULlib: %s es la propia entrada o salida est\xc3\xa1ndar; se juega sin "
                        b"depuraci\xc3\xb3n para no borrarla\n" % ruta)
                self._cerrar()
                return
        os.set_blocking(self.fd, True)
        if regular:
            try:
                os.ftruncate(self.fd, 0)
            except OSError as e:
                _avisar(b"ZULlib: no se pudo vaciar %s (%s); se juega sin depuraci\xc3\xb3n\n"
                        % (ruta, _motivo(e)))
                self._cerrar()
                return
        self.estado = _ACTIVA
        self._escribir(_CABECERA)

    def _escribir(self, datos):
        while datos:
            try:
                n = os.write(self.fd, datos)
            except InterruptedError:
                continue
            except OSError as e:
                # The game goes on without the debug file.
                _avisar(b"ZULlib: no se pudo escribir en %s (%s); se deja de guardar la "
                        b"depuraci\xc3\xb3n\n" % (self.ruta, _motivo(e)))
                self._cerrar()
                return
            if n <= 0:
                _avisar(b"ZULlib: no se pudo escribir en %s (no cabe nada m\xc3\xa1s); se deja "
                        b"de guardar la depuraci\xc3\xb3n\n" % self.ruta)
                self._cerrar()
                return
            datos = datos[n:]

    def activa(self):
        if self.estado == _SIN_ABRIR:
            self.abrir()
        return self.estado == _ACTIVA

    def _cabe(self, texto):
        if self.dibujos < MAX_DIBUJOS and texto <= MAX_TEXTO - self.bytes_texto:
            self.dibujos += 1
            self.bytes_texto += texto
            return True
        self.descartados += 1
        if not self.avisado:
            self.avisado = True
            _avisar(b"ZULlib: el turno %d pasa de %d dibujos o %d bytes de texto de "
                    b"depuraci\xc3\xb3n; lo que sobra no se guarda en %s (este aviso sale una vez "
                    b"por partida)\n" % (self.turno, MAX_DIBUJOS, MAX_TEXTO, self.ruta))
        return False

    def figura(self, tipo, valores, color):
        if not self.activa() or not self._cabe(0):
            return
        numeros = b" ".join(_numero(a_float(v)) for v in valores)
        self.bloque.append(b"%s %s %06x\n" % (tipo, numeros, _color(color)))

    def texto(self, x, y, texto, color):
        if not self.activa():
            return
        datos = _bytes(texto)
        if not self._cabe(len(datos)):
            return
        self.bloque.append(b"texto %s %s %06x %s\n" % (_numero(a_float(x)), _numero(a_float(y)),
                                                       _color(color), _escapar(datos)))

    def nota(self, texto):
        if not self.activa():
            return
        datos = _bytes(texto)
        if not self._cabe(len(datos)):
            return
        self.bloque.append(b"nota %s\n" % _escapar(datos))

    def cerrar_turno(self, turno, ident, orden):
        """The turn's block, after its command line (`orden`, without its
        line break) was sent; empties the turn."""
        if self.activa():
            pie = b"descartados %d\nfin\n" % self.descartados if self.descartados else b"fin\n"
            self._escribir(b"turno %d id %d %s\n%s%s" % (turno, ident, orden,
                                                         b"".join(self.bloque), pie))
        self.bloque = []
        self.dibujos = 0
        self.bytes_texto = 0
        self.descartados = 0
        self.turno = turno + 1


D = Depuracion()
