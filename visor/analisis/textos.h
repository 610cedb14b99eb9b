#pragma once

#include "analisis/analisis.h"

#include <QString>

#include <optional>

namespace zul {

// How the standings read on screen and in the text table, in one place so
// that both say the same.

// A lap time in pasos, or "-" when it does not exist.
QString textoTiempo(const std::optional<long long>& tiempo);

// The gap to the leader: "Líder" for the leader, "+n pasos" on the leader's
// lap, "+n vueltas" on fewer laps (singular for one).
QString textoDiferencia(const Puesto& puesto);

// The interval to the kart just ahead, worded like the gap; "-" for the
// leader.
QString textoIntervalo(const Puesto& puesto);

// Progress as laps plus the fraction covered, with three decimals; "-" while
// the track is not known.
QString textoProgreso(const Puesto& puesto);

} // namespace zul
