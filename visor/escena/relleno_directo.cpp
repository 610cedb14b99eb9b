#include "relleno_directo.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zul {

namespace {

// The painter's raster engine draws a rectangle of drawRects as a thick line
// through the middle of its height, turned upright, and fills the pixels whose
// centres that line covers. Its arithmetic is followed step by step, because
// on half-pixel edges its rounding decides which pixels go.
struct Pixeles {
    int x0 = 0;
    int x1 = 0;
    int y0 = 0;
    int y1 = 0;
};

bool mismo26Dot6(double a, double b) {
    return static_cast<int>(a * 64) == static_cast<int>(b * 64);
}

bool casiIgual(double a, double b) {
    return std::abs(a - b) * 1000000000000.0 <= std::min(std::abs(a), std::abs(b));
}

// False when the engine would draw nothing or take another road.
bool pixelesDe(const QRectF& rect, Pixeles& p) {
    if (rect.isEmpty()) {
        return false;
    }
    const QPointF a = (rect.topLeft() + rect.bottomLeft()) * 0.5f;
    const QPointF b = (rect.topRight() + rect.bottomRight()) * 0.5f;
    if (a == b || !casiIgual(a.y(), b.y())) {
        return false;
    }
    double ancho = rect.height() / rect.width();
    const double x = (a.x() + b.x()) * 0.5f;
    const double dx = std::abs(b.x() - a.x()) * 0.5f;
    const double dy = ancho * dx;
    const double arriba = a.y() - dy;
    const double abajo = a.y() + dy;
    ancho = 1 / ancho;
    if (!(arriba <= abajo)) {
        return false;
    }
    const double medio = 0.5f * ancho * (abajo - arriba);
    const double izquierda = x - medio;
    const double derecha = x + medio;
    if (mismo26Dot6(izquierda, derecha) || mismo26Dot6(arriba, abajo)) {
        p = Pixeles{};
        return true;
    }
    p.x0 = static_cast<int>(izquierda + 0.5);
    p.x1 = static_cast<int>(derecha + 0.5);
    p.y0 = static_cast<int>(arriba + 0.5);
    p.y1 = static_cast<int>(abajo + 0.5);
    return true;
}

} // namespace

RellenoDirecto::RellenoDirecto(QPainter& pintor, QRgb color) : pixel(color | 0xff000000u) {
    QPaintDevice* dispositivo = pintor.device();
    if (dispositivo == nullptr || dispositivo->devType() != QInternal::Image ||
        !pintor.isActive() || pintor.hasClipping() || pintor.pen().style() != Qt::NoPen ||
        !pintor.deviceTransform().isIdentity() || pintor.opacity() != 1.0 ||
        pintor.compositionMode() != QPainter::CompositionMode_SourceOver ||
        pintor.testRenderHint(QPainter::Antialiasing)) {
        return;
    }
    auto* destino = static_cast<QImage*>(dispositivo);
    const QImage::Format formato = destino->format();
    if (formato != QImage::Format_RGB32 && formato != QImage::Format_ARGB32 &&
        formato != QImage::Format_ARGB32_Premultiplied) {
        return;
    }
    if (destino->devicePixelRatio() != 1.0) {
        return;
    }
    // The painter already holds the image alone, so this never copies it;
    // if it did, the painter would go on drawing into the other copy.
    const uchar* antes = destino->constBits();
    bits = destino->bits();
    if (bits == nullptr || bits != antes) {
        bits = nullptr;
        return;
    }
    imagen = destino;
    paso = destino->bytesPerLine();
    ancho = destino->width();
    alto = destino->height();
}

bool RellenoDirecto::rellena(const QRectF& bloque) {
    // The engine's own rounding was checked on blocks inside the image; at
    // its edges it clips first, which this does not follow.
    if (imagen == nullptr || !(bloque.left() >= 0.0 && bloque.top() >= 0.0 &&
                               bloque.right() <= ancho && bloque.bottom() <= alto)) {
        return false;
    }
    Pixeles p;
    if (!pixelesDe(bloque, p)) {
        return false;
    }
    const int x0 = std::clamp(p.x0, 0, ancho);
    const int x1 = std::clamp(p.x1, 0, ancho);
    const int y0 = std::clamp(p.y0, 0, alto);
    const int y1 = std::clamp(p.y1, 0, alto);
    for (int y = y0; y < y1; ++y) {
        QRgb* linea = reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * paso);
        std::fill(linea + x0, linea + x1, pixel);
    }
    return true;
}

} // namespace zul
