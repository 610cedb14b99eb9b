#include <ZULlib.h>

// Sigue la flecha de la casilla en la que está y dispara en cuanto puede.
void funcionPrincipal() {
    int yo = obtenerId();
    int flecha = dirrecionDelMapa(obtenerPosicionX(yo), obtenerPosicionY(yo));
    const float angulos[4] = {90, 0, 270, 180}; // abajo, derecha, arriba, izquierda
    if (flecha >= 0 && flecha <= 3) {
        asignarDireccion(angulos[flecha], 1);
    }
    if (puedoDisparar()) {
        dispara();
    }
}

int main() {
    ZULmain();
    return 0;
}
