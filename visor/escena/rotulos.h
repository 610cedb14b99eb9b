#pragma once

#include <QString>
#include <QVector>

namespace zul {

// One row of the standings overlay, already worded.
struct FilaRotulos {
    int posicion = 0; // from 1
    int jugador = 0;  // its colour
    QString nombre;
    QString vueltas;
    QString diferencia;
};

// The texts a published picture carries over the track: each player's name
// beside its kart, which step it is, and the standings of that step. Plain
// texts, so the scene painter needs no race analysis.
struct Rotulos {
    QVector<QString> nombres; // by player index
    QString frame;            // "Paso k de N"
    QVector<FilaRotulos> clasificacion;
};

// Rows the standings overlay shows at most.
constexpr int kFilasRotulos = 10;

} // namespace zul
