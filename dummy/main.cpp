// Concursante de ejemplo: avanza siempre hacia +x con fuerza 1.5 y nunca dispara.
#include "ZULlib.h"

void funcionPrincipal() {
    asignarDireccion(0, 1.5);
}

int main() {
    ZULmain();
    return 0;
}
