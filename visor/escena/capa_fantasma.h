#pragma once

#include "geometria/geometria.h"

#include <QColor>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QVector>

class QPainter;

namespace zul {

// One kart of a ghost race, as the scene draws it.
struct KartFantasma {
    QPointF posicion;
    double angulo = 0.0;
    QString nombre;
    QColor color;

    bool operator==(const KartFantasma& otro) const {
        return posicion == otro.posicion && angulo == otro.angulo && nombre == otro.nombre &&
               color == otro.color;
    }
};

// The karts of another run on the same track, drawn under ours: translucent
// discs with a dashed outline in their colour, each with its name, so a ghost
// reads apart from the race and a ghost of other players reads clearly.
// Empty: no ghost on show.
struct CapaFantasma {
    QVector<KartFantasma> karts;

    bool operator==(const CapaFantasma& otra) const { return karts == otra.karts; }
    bool operator!=(const CapaFantasma& otra) const { return !(*this == otra); }
};

// Opacity of a ghost disc's fill, out of 255.
constexpr int kOpacidadFantasma = 80;

void pintaFantasma(QPainter& pintor, const CapaFantasma& capa, const Encuadre& encuadre,
                   QSize vista);

} // namespace zul
