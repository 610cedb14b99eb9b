"""ZUL_GRABAR: every byte read from standard input is copied to a file, so
that `python3 mibot.py < archivo` plays the same game again."""

import os


def _escribir_error(texto):
    try:
        os.write(2, texto)
    except OSError:
        pass


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
                                % (self.ruta, os.strerror(e.errno).encode()))
                os.close(self.fd)
                self.fd = -1
                return
            hecho += n


def abrir():
    """The recording that ZUL_GRABAR asks for, or None."""
    ruta = os.environb.get(b"ZUL_GRABAR")
    if not ruta:
        return None
    try:
        fd = os.open(ruta, os.O_WRONLY | os.O_CREAT | os.O_TRUNC | os.O_CLOEXEC, 0o644)
    except OSError as e:
        _escribir_error(b"ZULlib: no se pudo crear %s para grabar la entrada (%s); se juega sin "
                        b"grabar\n" % (ruta, os.strerror(e.errno).encode()))
        return None
    return Grabacion(fd, ruta)
