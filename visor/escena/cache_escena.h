#pragma once

#include "escena/escena.h"

#include <QImage>

#include <cstdint>

namespace zul {

class PintorEscena;

// A scene as it was when its picture was painted. Plain values are compared
// bit for bit; data held elsewhere (the cells, the trails, the tiles) by
// where it lives and the revision its owner bumps on every change. The fields
// are Escena's own (Escena::campos), so a new field of the scene is part of
// the key at once.
struct ClaveEscena {
    Escena escena;
    double proporcion = 1.0; // device pixels per view pixel
    std::uint64_t revisionEstelas = 0;
    std::uint64_t revisionFlechas = 0;

    static ClaveEscena de(const Escena& escena, double proporcion);
    bool igual(const ClaveEscena& otra) const;
};

// The last picture of a scene. A repaint that would draw the same picture, as
// while the replay is paused or between its steps, gets it back instead of
// painting it again, pixel for pixel the same.
class CacheEscena {
public:
    // The picture of `escena` at `proporcion` device pixels per pixel: the
    // kept one when nothing in the scene's key changed, else painted anew by
    // `pintor`. Valid until the next call.
    const QImage& imagen(const Escena& escena, PintorEscena& pintor, double proporcion = 1.0);

    // Forgets the picture, so the next call paints.
    void vacia();

    // Whether the last call painted (for tests and measurements).
    bool pintoUltima() const { return pinto; }

private:
    ClaveEscena clave;
    bool valida = false;
    bool pinto = false;
    QImage lienzo;
};

} // namespace zul
