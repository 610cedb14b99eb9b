"""ZUL_GRABAR: every byte read from standard input is copied to a file, so
that `python3 mibot.py < archivo` plays the same game again."""

import errno
import os
import stat


def _escribir_error(texto):
    try:
        os.write(2, texto)
    except OSError:
        pass


def _motivo(e):
    return os.strerror(e.errno or 0).encode()


class Grabacion:
    def __init__(self, fd, ruta):
        self.fd = fd
        self.ruta = ruta

    def copiar(self, datos):
        hecho = 0
        while self.fd >= 0 and hecho < len(datos):
            try:
                n = os.write(self.fd, datos[hecho:])
            except InterruptedError:
                continue
            except OSError as e:
                # The game goes on without the recording.
                _escribir_error(b"ZULlib: no se pudo escribir en %s (%s); se deja de grabar\n"
                                % (self.ruta, _motivo(e)))
                os.close(self.fd)
                self.fd = -1
                return
            hecho += n


def _es_la_entrada(destino):
    try:
        leida = os.fstat(0)
    except OSError:
        return False
    return (destino.st_dev, destino.st_ino) == (leida.st_dev, leida.st_ino)


def abrir():
    """The recording that ZUL_GRABAR asks for, or None. The C library's checks
    in its order: opened without emptying it and without waiting for a reader
    if it is a pipe, never the standard input itself, and only then emptied."""
    ruta = os.environb.get(b"ZUL_GRABAR")
    if not ruta:
        return None
    try:
        fd = os.open(ruta, os.O_WRONLY | os.O_CREAT | os.O_NONBLOCK | os.O_CLOEXEC, 0o644)
    except OSError as e:
        if e.errno == errno.ENXIO:
            _escribir_error("ZULlib: nadie lee la tubería %s; se juega sin grabar\n"
                            .encode() % ruta)
        else:
            _escribir_error(b"ZULlib: no se pudo crear %s para grabar la entrada (%s); se juega "
                            b"sin grabar\n" % (ruta, _motivo(e)))
        return None
    try:
        destino = os.fstat(fd)
    except OSError:
        destino = None
    if destino is not None and _es_la_entrada(destino):
        _escribir_error("ZULlib: %s es la propia entrada estándar; se juega sin grabar para no "
                        "borrarla\n".encode() % ruta)
        os.close(fd)
        return None
    os.set_blocking(fd, True)
    if destino is not None and stat.S_ISREG(destino.st_mode):
        try:
            os.ftruncate(fd, 0)
        except OSError as e:
            _escribir_error(b"ZULlib: no se pudo vaciar %s (%s); se juega sin grabar\n"
                            % (ruta, _motivo(e)))
            os.close(fd)
            return None
    return Grabacion(fd, ruta)
