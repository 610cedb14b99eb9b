#pragma once

#include "escena/escena.h"

#include <QString>

namespace zul {

// The player the scene's camera keeps in view: the followed one, the leader
// for the Director camera (the followed one while no leader is known), and
// -1 for the whole track or an index that is not a player.
int seguidoEnCamara(const Escena& escena);

// The camera's name on the command line ("seguir", "centrado", "pista",
// "director") and back; false for a name that is none of them.
QString nombreCamara(Camara camara);
bool leeCamara(const QString& nombre, Camara& camara);

} // namespace zul
