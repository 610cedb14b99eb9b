#pragma once

#include "geometria/geometria.h"

#include <QRectF>
#include <QRgb>

#include <vector>

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

    // Fills the blocks that bloquesFila gives for the rows of `filas` of a
    // grid of `columnasMapa` columns (those filaFueraDeVista leaves), with the same
    // numbers but without building each one as a rectangle. Blocks that do
    // not lie wholly inside the image, where the rule followed here does not
    // match the painter, are kept in pendientes() for the painter to draw.
    void rellena(const Encuadre& encuadre, const char* celdas, std::size_t columnasMapa,
                 Rango filas, Rango columnas, QSize vista);
    const std::vector<QRectF>& pendientes() const { return resto; }

private:
    // What a block's pixel rows depend on: the row, its width, and half the
    // width as the engine measures it. The blocks of a row mostly share
    // them, so the two divisions are done once for all of them.
    struct Vertical {
        double ancho = 0.0; // the key: the block's width
        double dx = 0.0;    // and half of it as measured
        bool valido = false;
        bool plano = false;
        double medio = 0.0;
        int y0 = 0;
        int y1 = 0;
    };

    void rellenaFila(const Encuadre& encuadre, int i, const char* fila, Rango columnas,
                     QSize vista);
    // One block of the row in hand, from x to x + w.
    void rellenaBloque(double x, double w);

    QImage* imagen = nullptr;
    uchar* bits = nullptr;
    qsizetype salto = 0;
    int ancho = 0;
    int alto = 0;
    QRgb pixel = 0;
    std::vector<QRectF> resto;

    // The left edge of each column's blocks and the right edge of those that
    // end before it, cut to the view: the same on every row.
    std::vector<double> izquierdas;
    std::vector<double> derechas;

    // The row in hand: its top, its height, the middle of its height, and
    // whether its blocks may be filled here at all.
    double arriba = 0.0;
    double altura = 0.0;
    double medioY = 0.0;
    bool filaDentro = false;
    Vertical ultima;
};

} // namespace zul
