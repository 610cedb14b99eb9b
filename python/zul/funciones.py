"""The functions a contestant calls from funcionPrincipal, with the C
library's names and results."""

import os

from .depuracion import D
from .estado import E
from .numeros import a_float

_MURO = 5
_TURNOS_ENTRE_DISPAROS = 100


def _indice(i):
    # C converts the argument to int; floats truncate as they would there.
    if type(i) is int:
        return i
    return int(i)


def _entrada(lista, i):
    i = _indice(i)
    if 0 <= i < len(lista):
        return lista[i]
    return 0.0


def obtenerPosicionX(i):
    """x de la entrada i del turno actual, en casillas."""
    return _entrada(E.xs, i)


def obtenerPosicionY(i):
    """y de la entrada i del turno actual, en casillas."""
    return _entrada(E.ys, i)


def obtenerAngulo(i):
    """Dirección del vector de la entrada i, en grados de 0 a 360, desde +x hacia +y."""
    return _entrada(E.angulos, i)


def obtenerFuerza(i):
    """Longitud del vector de la entrada i."""
    return _entrada(E.fuerzas, i)


def dirrecionDelMapa(x, y):
    """Valor de la casilla de fila floor(y) y columna floor(x); 5 (muro) fuera del mapa."""
    x = a_float(x)
    y = a_float(y)
    if not (x >= 0 and x < E.ancho and y >= 0 and y < E.largo):
        return _MURO
    k = int(y) * E.ancho + int(x)
    return E.mapa[k] if k < len(E.mapa) else _MURO


def asignarDireccion(angulo, fuerza):
    """Orden del turno: ángulo en grados y fuerza, tal cual. Se conserva hasta que se cambie."""
    E.angulo_asignado = a_float(angulo)
    E.fuerza_asignada = a_float(fuerza)


def obtenerId():
    """El identificador propio, el último número del turno."""
    return E.id


def anchoDelMapa():
    """Casillas por fila (eje x)."""
    return E.ancho


def largoDelMapa():
    """Número de filas (eje y)."""
    return E.largo


def noDeJugadores():
    """Entradas del turno actual, tal como llegó el número."""
    return E.no_jugadores


def dispara():
    """Pide un disparo en este turno; tras uno hay que esperar 100 turnos."""
    if E.espera_disparo != 0:
        return
    E.disparo_pedido = True
    E.espera_disparo = _TURNOS_ENTRE_DISPAROS


def puedoDisparar():
    """1 si dispara() tendría efecto ahora, 0 si no."""
    return 1 if E.espera_disparo == 0 else 0


def registro(formato, *args):
    """Escribe una línea en stderr con el número de turno delante:
    registro("voy a %f grados", a) escribe "[turno 12] voy a 45.000000 grados".
    Con argumentos, formato % args; sin ellos, el texto tal cual."""
    texto = formato % args if args else str(formato)
    cuerpo = texto.encode("utf-8", "surrogateescape").rstrip(b"\n")
    linea = b"[turno %d] %s\n" % (E.turno, cuerpo)
    while linea:
        try:
            n = os.write(2, linea)
        except OSError:
            return
        linea = linea[n:]


def dibujaLinea(x1, y1, x2, y2, color):
    """Dibuja en este turno una línea de (x1, y1) a (x2, y2), en casillas; color 0xRRGGBB.
    Solo se guarda si ZUL_DEPURACION nombra un archivo."""
    D.figura(b"linea", (x1, y1, x2, y2), color)


def dibujaCirculo(x, y, radio, color):
    """Dibuja en este turno un círculo de centro (x, y) y ese radio, en casillas."""
    D.figura(b"circulo", (x, y, radio), color)


def dibujaTexto(x, y, texto, color):
    """Escribe en este turno un texto en el punto (x, y) del mapa."""
    D.texto(x, y, texto, color)


def anota(formato, *args):
    """Una nota de este turno, como registro(): anota("giro a %d", ident). El visor lista
    las notas del paso a la vista."""
    if not D.activa():
        return
    D.nota(formato % args if args else formato)
