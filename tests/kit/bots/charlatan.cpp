// A common mistake: debugging with printf, which writes into the protocol's output.
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
