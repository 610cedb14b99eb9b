#pragma once

#include "geometria/casillas.h"

#include <QPixmap>

#include <cstdint>

namespace zul {

// The arrow tiles: the four pictures as loaded, and the same scaled to one
// cell of the current zoom. The picture in the working directory wins, so
// users can replace the tiles; then the installed one beside the program;
// otherwise the copy built into the program. Needs a QGuiApplication.
class Flechas {
public:
    Flechas();

    // Scales the tiles to a cell of this zoom plus one pixel. Below the arrow
    // zoom, and past a side that would outgrow any view, the tiles are left
    // as they are.
    void ajustaA(double zoom);

    const QPixmap& flecha(int direccion) const { return escaladas[direccion]; }
    // Goes up whenever the scaled tiles change.
    std::uint64_t revision() const { return cambios; }

private:
    QPixmap originales[NumBaldosas];
    QPixmap escaladas[NumBaldosas];
    int ladoEscaladas = 0; // the side they were scaled to; 0: not yet
    std::uint64_t cambios = 0;
};

} // namespace zul
