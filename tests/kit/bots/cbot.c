/* A contestant written in C: linked with the C linker, without the C++ runtime. */
#include "ZULlib.h"

#include <stdio.h>

void funcionPrincipal(void) {
    asignarDireccion(90.0f, 2.0f);
    if (puedoDisparar()) {
        dispara();
    }
    fprintf(stderr, "C %d %d %d %d %d\n", obtenerId(), largoDelMapa(), anchoDelMapa(),
            noDeJugadores(), dirrecionDelMapa(obtenerPosicionX(0), obtenerPosicionY(0)));
}

int main(void) {
    ZULmain();
    return 0;
}
