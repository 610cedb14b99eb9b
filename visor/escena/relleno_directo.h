#pragma once

#include <QRectF>
#include <QRgb>

class QImage;
class QPainter;

namespace zul {

// Fills opaque blocks by writing an image's pixels directly, exactly as the
// painter's drawRects would fill them. At zoom 1 on a map of alternating
// cells a picture holds over a hundred thousand one-pixel blocks, and the
// painter spends far more on each than the pixel itself costs.
class RellenoDirecto {
public:
    // Ready only when `pintor` draws into a 32-bit image with no transform,
    // no clipping, no pen, full opacity and source-over blending: then writing a
    // pixel is what the painter would do.
    RellenoDirecto(QPainter& pintor, QRgb color);

    bool listo() const { return imagen != nullptr; }

    // Fills `bloque` and returns true when it lies wholly inside the image,
    // where the rule below matches the painter; false leaves it for the
    // painter.
    bool rellena(const QRectF& bloque);

private:
    QImage* imagen = nullptr;
    uchar* bits = nullptr;
    qsizetype paso = 0;
    int ancho = 0;
    int alto = 0;
    QRgb pixel = 0;
};

} // namespace zul
