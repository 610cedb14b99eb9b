#pragma once

#include "datos/eventos.h"
#include "reproduccion/reproduccion.h"

#include <vector>

namespace zul {

// The player an event frame is about, so that a jump to it can follow that
// player: one who completes a lap there (the followed one when it is among
// them, else the first); for a frame with shots only, the kart nearest to
// where its first shot starts, since the log does not say who fired. -1 when
// the frame has no event.
int protagonistaEvento(const Reproduccion& reproduccion, const std::vector<Evento>& eventos,
                       long long frame, int seguido);

} // namespace zul
