#include <ZULlib.h>

// Sigue la flecha de la casilla en la que está y dispara en cuanto puede. Con ZUL_DEPURACION
// (zulprueba --depuracion) dibuja su objetivo y anota su decisión, para verlos en el visor.
void funcionPrincipal() {
    const int yo = obtenerId();
    const float x = obtenerPosicionX(yo);
    const float y = obtenerPosicionY(yo);
    const int flecha = dirrecionDelMapa(x, y);
    const float angulos[4] = {90, 0, 270, 180}; // abajo, derecha, arriba, izquierda
    const float desplazamientoX[4] = {0, 1, 0, -1};
    const float desplazamientoY[4] = {1, 0, -1, 0};
    if (flecha >= 0 && flecha <= 3) {
        asignarDireccion(angulos[flecha], 1);
        // El objetivo: el centro de la casilla a la que apunta la flecha.
        const float ox = static_cast<int>(x) + 0.5f + desplazamientoX[flecha];
        const float oy = static_cast<int>(y) + 0.5f + desplazamientoY[flecha];
        dibujaLinea(x, y, ox, oy, 0xffff00);
        dibujaCirculo(ox, oy, 0.3f, 0x00ff00);
        anota("flecha %d: hacia %.0f grados", flecha, angulos[flecha]);
    } else {
        anota("sin flecha (casilla %d): sigo igual", flecha);
    }
    if (puedoDisparar()) {
        dispara();
        dibujaTexto(x, y, "¡disparo!", 0xff4040);
        anota("disparo");
    }
}

int main() {
    ZULmain();
    return 0;
}
