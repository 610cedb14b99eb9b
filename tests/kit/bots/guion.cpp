// A test bot driven by its input: the turn's first entry, if any, gives the command
// (x = angle, y = force), and the own id says how many times to call dispara().
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
