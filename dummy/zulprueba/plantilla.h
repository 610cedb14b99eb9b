// `zulprueba --plantilla CARPETA`: copies the installed contestant project out.
#pragma once

#include <string>
#include <vector>

namespace zulprueba {

// The installed template: share/zul/plantilla beside the program (`dirPrograma` is the folder
// holding zulprueba), else the one in the source tree. Empty when neither exists.
std::string carpetaPlantilla(const std::string& dirPrograma);

// Copies every file under `origen` into `destino`, creating the folders it needs. Refuses to
// overwrite: when any of the files already exists in `destino`, nothing is copied and `error`
// names them. `copiados` gets the paths written, in order. On any failure, `error` says why in
// Spanish and names the file.
bool copiarPlantilla(const std::string& origen, const std::string& destino,
                     std::vector<std::string>& copiados, std::string& error);

} // namespace zulprueba
