#pragma once

#include "geometria/geometria.h"

#include <QPointF>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <vector>

class QPainter;

namespace zul {

// The recent paths of the karts, as the replay hands them to the track view at
// every step. They come straight from the recorded race: frame after
// frame, player j of the i-th frame at i * jugadores + j (the last frame may
// lack its later players).
class Estelas {
public:
    // Copies the points into a buffer that is reused, so a steady replay
    // allocates nothing.
    void pon(const QPointF* puntos, std::size_t cuantos, int jugadores);
    void vacia();

    int jugadores() const { return n; }
    // Goes up whenever the points or the player count change.
    std::uint64_t revision() const { return cambios; }
    const std::vector<QPointF>& puntos() const { return datos; }

    // Each player's path (but `salvo`'s) as thin lines in the player's disc
    // colour, cut to the view.
    void pinta(QPainter& pintor, const Encuadre& encuadre, QSize vista, int salvo = -1) const;

private:
    std::vector<QPointF> datos;
    int n = 0;
    std::uint64_t cambios = 0;
};

} // namespace zul
