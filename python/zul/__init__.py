"""zul: el kit del concursante de ZUL Karts en Python.

El programa define funcionPrincipal(), que se llama una vez por turno, y
llama a ZULmain(funcionPrincipal). La biblioteca habla el protocolo de turnos
por la entrada y la salida estándar, byte a byte como la biblioteca de C:

    from zul import *

    def funcionPrincipal():
        asignarDireccion(0, 1.5)

    ZULmain(funcionPrincipal)

La salida estándar es del protocolo: no use print() para depurar; use
registro(), que escribe en la salida de errores con el turno delante.
Si la variable de entorno ZUL_GRABAR nombra un archivo, todo lo leído se copia
en él, y `python3 mibot.py < archivo` repite la partida. Si ZUL_DEPURACION
nombra un archivo, los dibujos y notas de cada turno (dibujaLinea,
dibujaCirculo, dibujaTexto, anota) se guardan en él para verlos en el visor.
"""

from .funciones import (anchoDelMapa, anota, asignarDireccion, dibujaCirculo, dibujaLinea,
                        dibujaTexto, dirrecionDelMapa, dispara, largoDelMapa, noDeJugadores,
                        obtenerAngulo, obtenerFuerza, obtenerId, obtenerPosicionX,
                        obtenerPosicionY, puedoDisparar, registro)
from .partida import ZULmain

__all__ = [
    "ZULmain", "obtenerPosicionX", "obtenerPosicionY", "obtenerAngulo", "obtenerFuerza",
    "dirrecionDelMapa", "asignarDireccion", "obtenerId", "anchoDelMapa", "largoDelMapa",
    "noDeJugadores", "dispara", "puedoDisparar", "registro", "dibujaLinea", "dibujaCirculo",
    "dibujaTexto", "anota",
]
__version__ = "1.0.0"
