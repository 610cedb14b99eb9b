#pragma once

#include "analisis/analisis.h"
#include "analisis/fantasma.h"
#include "analisis/telemetria.h"

#include <QString>
#include <QStringList>

namespace zul {

// What the kart inspector says about one player at one frame, worded: one
// line per fact, "Etiqueta: valor". Plain text, so the card needs no
// analysis and tests read it as the user does.
struct FichaKart {
    int jugador = 0;
    long long frame = 0;
    QString titulo; // the player's name and number
    QStringList lineas;
};

// `fantasma` may be null (no ghost on show).
FichaKart fichaKart(const Telemetria& telemetria, const AnalisisCarrera& analisis,
                    const CarreraFantasma* fantasma, const QString& nombre, int jugador,
                    long long frame);

// A number of cells or degrees as the card writes it: two decimals, a
// decimal comma; "-" when it is not a number.
QString textoDecimal(double valor);

} // namespace zul
