#include "geometria/interaccion.h"

#include "geometria/geometria.h"

#include <cmath>

namespace zul {

double zoomTrasMuescas(double zoom, double muescas) {
    const double nuevo = zoom * std::pow(kFactorZoom, muescas);
    return std::isfinite(nuevo) && nuevo > 0.0 ? nuevo : zoom;
}

int kartEnPunto(const QVector<QPointF>& posiciones, QPointF punto, double zoom) {
    if (!(zoom > 0.0) || !std::isfinite(zoom)) {
        return -1;
    }
    // Compared in pixels, where the disc radius is defined.
    const double radio = radioDisco(zoom);
    for (int k = static_cast<int>(posiciones.size()) - 1; k >= 0; --k) {
        const double dx = (posiciones[k].x() - punto.x()) * zoom;
        const double dy = (posiciones[k].y() - punto.y()) * zoom;
        if (std::hypot(dx, dy) <= radio) {
            return k;
        }
    }
    return -1;
}

} // namespace zul
