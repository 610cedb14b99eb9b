#pragma once

#include <QLineF>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QVector>

#include "geometria/casillas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zul {

// Below this zoom the track is drawn as plain blocks; from it on, the
// direction cells are drawn as arrow tiles.
constexpr double kZoomFlechas = 7.0;

// Discs and heading lines never grow past this many pixels: a disc of this
// radius centred inside any view already covers all of it, and a longer line
// would only be cut at the view's edge.
constexpr double kLargoMaximo = 65536.0;

// Points this many pixels away or farther are not drawn: past them a double
// no longer places a pixel exactly and the painter's own arithmetic overflows.
constexpr double kLejosMaximo = 1e12;

// How the map lands on the view: the map point `centro` is drawn at the pixel
// (ancla, ancla), and one cell takes `zoom` pixels.
struct Encuadre {
    double ancla = 0.0;
    double zoom = 1.0;
    QPointF centro;

    // Left edge of column j, top edge of row i.
    double X(int j) const { return ancla + (static_cast<double>(j) - centro.x()) * zoom; }
    double Y(int i) const { return ancla + (static_cast<double>(i) - centro.y()) * zoom; }
    QPointF aPixel(QPointF punto) const {
        return QPointF(ancla + (punto.x() - centro.x()) * zoom,
                       ancla + (punto.y() - centro.y()) * zoom);
    }
    // The map point drawn at a pixel: the inverse of aPixel. Not a number
    // when the zoom is not a positive number, since then no point is drawn
    // at any particular pixel.
    QPointF aMapa(QPointF pixel) const;
};

// The anchor pixel is the centre of the top-left square of the view, so a wide
// view shows more of the track to the right of the followed kart, not both sides.
double anclaVista(int ancho, int alto);

// The map point the view centres on: the followed player's position; the middle
// of the map when that index is not a player or its position is not a number;
// (0, 0) when there is no grid either.
QPointF eligeCentro(const QVector<QPointF>& posiciones, int mira, int filas, int columnas);

// A half-open range of rows or columns.
struct Rango {
    int inicio = 0;
    int fin = 0;
    bool vacio() const { return inicio >= fin; }
};

// The framing of a view of `vista` pixels on `centro` at `zoom`: the one
// place where the anchor rule is applied.
Encuadre encuadra(QSize vista, double zoom, QPointF centro);

// Rows (or columns) worth examining: from the first whose edge lies no more
// than two cells before the view to one past the last whose edge lies less
// than one cell past its far side `limite`. Empty with no cells, or when the
// zoom is not a positive number.
Rango rangoVisible(double ancla, double centro, double zoom, int cuantas, int limite);
Rango filasVisibles(const Encuadre& encuadre, int filas, int alto);
Rango columnasVisibles(const Encuadre& encuadre, int columnas, int ancho);

// A run of track cells of one row: its first and last column.
struct Tramo {
    int inicio = 0;
    int fin = 0;
};

// Calls emite(Tramo) for every run of cells other than walls among the columns
// of `rango`, left to right; a run ends at a wall or at the end of the range.
template <typename F> void recorreTramos(const char* fila, Rango rango, F&& emite) {
    int j = rango.inicio;
    while (j < rango.fin) {
        while (j < rango.fin && fila[j] == kMuro) {
            ++j;
        }
        if (j == rango.fin) {
            return;
        }
        const int inicio = j;
        while (j < rango.fin && fila[j] != kMuro) {
            ++j;
        }
        emite(Tramo{inicio, j - 1});
    }
}

// The block of a run of row i: from the left edge of its first cell to the right
// edge of its last one taken up to the next whole pixel, and as tall as the zoom
// taken up to the next whole pixel. It is cut to the view widened by one pixel,
// which changes no pixel of the view and keeps the painter's numbers small; an
// empty rectangle means nothing of the run shows.
QRectF rectanguloTramo(const Encuadre& encuadre, int fila, Tramo tramo, QSize vista);

// Calls emite(QRectF) with the blocks that cover the track runs of one row.
// Blocks that touch or overlap are joined into one, which covers the same
// pixels: at small zooms many runs share a pixel, and painting one block each
// would cost far more than the picture shows.
template <typename F>
void bloquesFila(const Encuadre& encuadre, int i, const char* fila, Rango columnas, QSize vista,
                 F&& emite) {
    bool hay = false;
    QRectF pendiente;
    recorreTramos(fila, columnas, [&](Tramo tramo) {
        const QRectF r = rectanguloTramo(encuadre, i, tramo, vista);
        if (r.isEmpty()) {
            return;
        }
        if (hay && r.left() <= pendiente.right()) {
            pendiente.setRight(std::max(pendiente.right(), r.right()));
            return;
        }
        if (hay) {
            emite(pendiente);
        }
        pendiente = r;
        hay = true;
    });
    if (hay) {
        emite(pendiente);
    }
}

// Whether a whole row of blocks would fall outside the view; then its cells
// need not be read.
bool filaFueraDeVista(const Encuadre& encuadre, int fila, QSize vista);

// Top-left corner of the arrow tile of cell (columna, fila): the cell's own
// corner, each coordinate truncated towards zero. False when a tile of size
// `baldosa` there would not reach into the view (nothing to draw).
bool esquinaBaldosa(const Encuadre& encuadre, int fila, int columna, QSize baldosa, QSize vista,
                    QPoint& esquina);

// Kart disc radius in whole pixels and heading line length, for a zoom.
double radioDisco(double zoom);
double largoRumbo(double zoom);

// Whether a pixel point lies inside a view of that size (0 <= x < width and
// 0 <= y < height); false for points that are not numbers.
bool dentroDeVista(QPointF punto, QSize vista);

// End of the heading line that starts at `punto`.
QPointF puntaRumbo(QPointF punto, double angulo, double largo);

// Cuts a line to the part inside `caja`. False when nothing of it is inside,
// or when an end is not a number or lies kLejosMaximo pixels away or farther.
// A line wholly inside is left exactly as it was.
bool recortaSegmento(QLineF& linea, const QRectF& caja);

// The box lines are cut to for a view: the view widened by a few pixels, so
// that cutting never changes a pixel of the view.
QRectF cajaRecorte(QSize vista);

} // namespace zul
