#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <functional>
#include <vector>

namespace zul {

// A kart that wants a label: where it is drawn, the text it would like and
// the shorter one it settles for.
struct PedidoEtiqueta {
    int jugador = 0;
    QPointF punto; // pixel of the kart's centre
    QString largo; // the name
    QString corto; // the number
};

// A label that found room.
struct EtiquetaColocada {
    int jugador = 0;
    QString texto;
    QRectF caja;
};

struct ReglasEtiquetas {
    QSizeF tamano;           // the picture
    double alto = 12.0;      // of a box
    double relleno = 3.0;    // on each side of the text, inside the box
    double separacion = 6.0; // from the kart's centre to the box's near edge
    double radio = 6.0;      // of the discs a long text keeps off
    // Above the kart first (the names of a published picture), else beside it.
    bool arribaPrimero = false;
};

// Gives each kart a label box that no other box touches. Karts are served
// in the order given, which is their priority: each tries a few places
// around it, with its long text or, where only another kart's disc is in the
// way, its short one; then ever less fussy (cut by the picture's edge, over
// other discs), and gives up (no label) when every place touches a box
// already placed. Only the first kart's long text may cover a disc, and only
// when nothing else is left. `ancho` measures a text.
std::vector<EtiquetaColocada> colocaEtiquetas(const std::vector<PedidoEtiqueta>& pedidos,
                                              const ReglasEtiquetas& reglas,
                                              const std::function<double(const QString&)>& ancho);

// The order in which karts are served: the followed one, then the standings
// from the leader down, then every other player by number. Repeats and
// players out of range are skipped.
std::vector<int> prioridadEtiquetas(int seguido, const QVector<int>& puestos, int jugadores);

} // namespace zul
