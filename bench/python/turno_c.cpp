// The C side of turno.py: the same strategy as its Python bot.
#include "ZULlib.h"

void funcionPrincipal() {
    const int yo = obtenerId();
    asignarDireccion(obtenerAngulo(yo), obtenerFuerza(yo));
}

int main() {
    ZULmain();
}
