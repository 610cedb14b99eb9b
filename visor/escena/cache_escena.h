#pragma once

#include "escena/escena.h"

#include <QImage>

#include <cstdint>

namespace zul {

class PintorEscena;

// Everything that changes a scene's picture, as it was when the picture was
// painted. Plain values are kept as they are and compared bit for bit; data
// held elsewhere (the cells, the trails, the tiles) by where it lives and the
// revision its owner bumps on every change.
//
// A new field of Escena that changes the picture joins this key: a value
// field as a copy here, compared in igual(); a view of data held elsewhere as
// its address and a revision number. A new option of OpcionesEscena needs
// nothing here, only its place in OpcionesEscena's operator==.
struct ClaveEscena {
    QSize tamano;
    double proporcion = 1.0; // device pixels per view pixel
    double zoom = 1.0;
    int mira = 0;
    int filas = 0;
    int columnas = 0;
    const char* celdas = nullptr;
    std::size_t largoCeldas = 0;
    std::uint64_t revisionCeldas = 0;
    QVector<QPointF> posiciones;
    QVector<double> angulos;
    QVector<QPointF> iniciosRayos;
    QVector<QPointF> finesRayos;
    QVector<RayoReciente> rayosRecientes;
    QStringList nombres;
    int lider = -1;
    QVector<int> puestos;
    const void* estelas = nullptr;
    std::uint64_t revisionEstelas = 0;
    const void* flechas = nullptr;
    std::uint64_t revisionFlechas = 0;
    OpcionesEscena opciones;
    CapaFantasma fantasma;
    bool conDepuracion = false;

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
