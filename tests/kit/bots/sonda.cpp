// A test bot: writes to stderr all that the library lets it see each turn, and looks up the map
// at each entry's position. It never sets a command.
#include "ZULlib.h"

#include <cstdio>

void funcionPrincipal() {
    std::fprintf(stderr, "T id=%d n=%d mapa=%dx%d puedo=%d\n", obtenerId(), noDeJugadores(),
                 largoDelMapa(), anchoDelMapa(), puedoDisparar());
    for (int i = 0; i < noDeJugadores(); ++i) {
        const float x = obtenerPosicionX(i);
        const float y = obtenerPosicionY(i);
        std::fprintf(stderr, "E %d %.9g %.9g %.9g %.9g %d\n", i, x, y, obtenerAngulo(i),
                     obtenerFuerza(i), dirrecionDelMapa(x, y));
    }
}

int main() {
    ZULmain();
}
