// Error típico: depurar con printf, que escribe en la salida del protocolo.
#include "ZULlib.h"

#include <cstdio>

void funcionPrincipal() {
    static int turno = 0;
    asignarDireccion(0, 1);
    if (++turno == 2) {
        printf("depuración: estoy en %f %f\n", obtenerPosicionX(0), obtenerPosicionY(0));
    }
}

int main() {
    ZULmain();
}
