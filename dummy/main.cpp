// The sample contestant: always heads towards +x with force 1.5 and never shoots.
#include "ZULlib.h"

void funcionPrincipal() {
    asignarDireccion(0, 1.5);
}

int main() {
    ZULmain();
    return 0;
}
