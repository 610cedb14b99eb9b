#pragma once

#include <string>

class CReproductor;
class CVisualizador;

namespace zul {

// Reads the race log into the controller (followed while it is written, in
// live mode, where a log that is not there yet is waited for) and the map
// into the controller and the view. Throws ErrorCarga for a file that cannot
// be used.
void cargaEntradas(CReproductor& control, CVisualizador& vista, const std::string& rutaCarrera,
                   const std::string& rutaMapa, bool enVivo);

} // namespace zul
