#pragma once

#include "escena/escena.h"

#include <QRectF>

#include <memory>

class QPainter;

namespace zul {

// Draws a scene into any painter: a widget, an image, a video frame. The
// picture covers the scene's size from the painter's origin:
//  - black, then the track: blocks below the arrow zoom, arrow tiles from it;
//  - the trails, under the karts, when they are on;
//  - each kart's disc in its colour with its heading line;
//  - the shots, as yellow lines (thicker, and fading over the steps after,
//    with "Disparos visibles");
//  - the names, step and standings, when the overlays are on;
//  - the kart labels and the ring, when they are on.
// The camera (camara.h) decides the framing.
// Lines are cut to the picture and nothing far outside it is drawn, so any
// number in a scene is safe to paint.
class PintorEscena {
public:
    // Capacity of the rectangle batch that the track blocks fill.
    static constexpr int kCapacidadLote = 262144;

    PintorEscena();
    ~PintorEscena();

    void pinta(QPainter& pintor, const Escena& escena);

    // The parts of pinta, for painters that draw the track their own way.
    void pintaPista(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);
    static void pintaKarts(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);
    static void pintaRayos(QPainter& pintor, const Escena& escena, const Encuadre& encuadre);

private:
    void pintaBloques(QPainter& pintor, const Escena& escena, const Encuadre& encuadre,
                      Rango filasV, Rango columnasV, bool soloSinFlecha);
    static void pintaFlechas(QPainter& pintor, const Escena& escena, const Encuadre& encuadre,
                             Rango filasV, Rango columnasV);

    std::unique_ptr<QRectF[]> lote;
};

} // namespace zul
