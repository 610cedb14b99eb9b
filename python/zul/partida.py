"""ZULmain: the map, then the turn loop, with the C library's answers, exit
statuses and error lines."""

import os
import signal
import sys

from . import grabacion, numeros
from .depuracion import D
from .estado import E
from .lectura import EOF_C, LEIDO, NO_CONVERTIDO, Entrada, tam_lectura

FIN_ENTRADA = 0
ENTRADA_NO_VALIDA = 1
ERROR_ES = 2

_NOMBRES = ("la coordenada x", "la coordenada y", "la componente u del vector",
            "la componente v del vector")
_DOS_PI = 6.283185307179586
_GRADOS = 57.29577951308232
_PI = 3.141592653589793


class _Fin(Exception):
    def __init__(self, estado, mensaje=""):
        super().__init__(estado)
        self.estado = estado
        self.mensaje = mensaje


def _encontrado(entrada):
    # Only the character the conversion pushed back is looked at.
    c = entrada.car()
    if c == EOF_C:
        return "el final de la entrada"
    if 0x20 < c < 127:
        return "«%c»" % c
    return "el byte 0x%02X" % c


def _comprobar(resultado, entrada, que):
    if resultado == LEIDO:
        return
    # A number cut short by the end of input is the end of input too: the
    # referee stopped writing in the middle of a turn.
    if resultado in (EOF_C, NO_CONVERTIDO) and entrada.fin and not entrada.error:
        raise _Fin(FIN_ENTRADA)
    donde = "en el mapa" if E.turno == 0 else "en el turno %d" % E.turno
    if resultado == EOF_C:
        raise _Fin(ERROR_ES, "ZULlib: error al leer la entrada %s (%s): %s"
                   % (donde, que, os.strerror(entrada.errno)))
    raise _Fin(ENTRADA_NO_VALIDA, "ZULlib: entrada no válida %s: se esperaba %s, pero se "
               "encontró %s" % (donde, que, _encontrado(entrada)))


def _leer_mapa(entrada):
    r, largo = entrada.entero()
    _comprobar(r, entrada, "el número de filas del mapa (entero)")
    E.largo = largo
    r, ancho = entrada.entero()
    _comprobar(r, entrada, "el número de columnas del mapa (entero)")
    E.ancho = ancho
    if E.largo < 0 or E.ancho < 0:
        E.largo = E.ancho = 0
    total = E.largo * E.ancho
    mapa = E.mapa = []
    leer = entrada.entero
    for k in range(total):
        r, valor = leer()
        if r != LEIDO:
            _comprobar(r, entrada, "la casilla de la fila %d, columna %d (entero)"
                       % (k // E.ancho, k % E.ancho))
        mapa.append(valor)


def _guardar(i, x, y, u, v):
    a = numeros.a_float(numeros.atan2(v, u))
    if a < 0:
        a = numeros.a_float(a + _DOS_PI)
    angulo = numeros.a_float(a * _GRADOS)
    fuerza = numeros.a_float(numeros.raiz(numeros.suma(numeros.producto(u, u),
                                                           numeros.producto(v, v))))
    if i < len(E.xs):
        E.xs[i] = x
        E.ys[i] = y
        E.angulos[i] = angulo
        E.fuerzas[i] = fuerza
    else:
        E.xs.append(x)
        E.ys.append(y)
        E.angulos.append(angulo)
        E.fuerzas.append(fuerza)


def _leer_entradas(entrada):
    n = E.no_jugadores
    for i in range(n):
        valores = entrada.entrada()
        if valores is None:
            valores = []
            for c in range(4):
                r, valor = entrada.real()
                if r != LEIDO:
                    _comprobar(r, entrada, "%s de la entrada %d de %d (real)"
                               % (_NOMBRES[c], i, n))
                valores.append(valor)
        _guardar(i, *valores)


def _linea():
    theta = E.angulo_asignado / 180.0 * _PI
    seno, coseno = numeros.seno_coseno(theta)
    f = E.fuerza_asignada
    # The operand order is the one the C library's compiled code has: with
    # two NaNs, the first one's sign is the one printed.
    x = numeros.producto(coseno, f)
    y = numeros.producto(f, seno)
    letra = "s" if E.disparo_pedido else "m"
    E.disparo_pedido = False
    return ("%s %s %s" % (letra, numeros.formato_f(x), numeros.formato_f(y))).encode()


def _escribir(linea):
    try:
        if sys.stdout is not None:
            # What the contestant printed goes first, as it shares C's stdout buffer.
            sys.stdout.flush()
        while linea:
            linea = linea[os.write(1, linea):]
    except OSError as e:
        # What is left unsent is dropped, as the C library drops it: the
        # interpreter's own flush at exit must not try the closed pipe again.
        try:
            os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
        except OSError:
            pass
        raise _Fin(ERROR_ES, "ZULlib: no se pudo escribir la respuesta del turno %d: %s"
                   % (E.turno, os.strerror(e.errno or 0)))


def ejecutar(entrada, funcion_principal):
    """Reads the map and plays turns until the input ends or fails; returns
    (exit status, error line or "")."""
    E.disparo_pedido = False
    D.abrir()
    try:
        try:
            _leer_mapa(entrada)
        except MemoryError:
            raise _Fin(ERROR_ES, "ZULlib: memoria agotada al guardar el mapa") from None
        while True:
            if E.espera_disparo > 0:
                E.espera_disparo -= 1
            E.turno += 1
            r, n = entrada.entero()
            _comprobar(r, entrada, "el número de jugadores (entero)")
            E.no_jugadores = n
            try:
                _leer_entradas(entrada)
            except MemoryError:
                raise _Fin(ERROR_ES, "ZULlib: memoria agotada al guardar las entradas del "
                           "turno") from None
            r, ident = entrada.entero()
            _comprobar(r, entrada, "el identificador propio tras %d entradas (entero)" % n)
            E.id = ident
            funcion_principal()
            linea = _linea()
            _escribir(linea + b"\n")
            # After the answer: the referee never waits for the debug file.
            D.cerrar_turno(E.turno - 1, E.id, linea)
    except _Fin as fin:
        return fin.estado, fin.mensaje


def _principal_de_main():
    principal = getattr(sys.modules.get("__main__"), "funcionPrincipal", None)
    if not callable(principal):
        raise TypeError("ZULmain necesita la función de la estrategia: ZULmain(funcionPrincipal)")
    return principal


def ZULmain(funcionPrincipal=None):
    """Lee el mapa y juega los turnos, llamando a funcionPrincipal() una vez por turno, hasta
    que se acaba la entrada; entonces termina el programa. No vuelve."""
    if funcionPrincipal is None:
        funcionPrincipal = _principal_de_main()
    elif not callable(funcionPrincipal):
        raise TypeError("ZULmain necesita una función, no %r" % (funcionPrincipal,))
    # A reader that went away makes the write fail (status 2 and a line), as
    # in the C library, rather than killing the bot.
    signal.signal(signal.SIGPIPE, signal.SIG_IGN)
    grab = grabacion.abrir()
    entrada = Entrada(0, tam_lectura(0, grab is not None), grab)
    estado, mensaje = ejecutar(entrada, funcionPrincipal)
    if mensaje:
        try:
            os.write(2, mensaje.encode() + b"\n")
        except OSError:
            pass
    sys.exit(estado)
