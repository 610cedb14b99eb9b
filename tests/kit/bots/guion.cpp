// Bot de prueba guiado por su entrada: la primera entrada del turno, si la hay, da la orden
// (x = ángulo, y = fuerza), y el identificador propio dice cuántas veces llamar a dispara().
#include "ZULlib.h"

#include <cstdio>

void funcionPrincipal() {
    if (noDeJugadores() >= 1) {
        asignarDireccion(obtenerPosicionX(0), obtenerPosicionY(0));
    }
    const int antes = puedoDisparar();
    for (int k = 0; k < obtenerId() && k < 5; ++k) {
        dispara();
    }
    std::fprintf(stderr, "puedo %d %d\n", antes, puedoDisparar());
}

int main() {
    ZULmain();
}
