#pragma once

#include "reproduccion/reproduccion.h"

#include <QString>

// What a headless output asks of the race, checked before anything is drawn:
// false, with the reason in Spanish, for a step or a player the race has not.
namespace zul {

bool existeFrame(const Reproduccion& reproduccion, long long frame, QString& error);
bool existeJugador(const Reproduccion& reproduccion, int jugador, QString& error);

} // namespace zul
