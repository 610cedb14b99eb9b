// Debugs the right way: with registro(), which writes to stderr after the turn number.
#include "ZULlib.h"

#include <string>

void funcionPrincipal() {
    asignarDireccion(90, 1);
    registro("id=%d n=%d", obtenerId(), noDeJugadores());
    if (obtenerId() == 2) {
        registro("con salto final\n");
        registro("%s", std::string(3000, 'x').c_str());
    }
}

int main() {
    ZULmain();
}
