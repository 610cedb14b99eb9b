// Why a system call failed, as zulprueba's messages tell it: in Spanish and in lower case, to
// follow "no se pudo abrir el mapa RUTA: ".
#pragma once

#include <string>

namespace zulprueba {

// The reason for an errno value; an unusual one is told by its number.
std::string motivoDeError(int numero);

// The same for creating a file or a folder, where a missing or forbidden part is the folder it
// goes in.
std::string motivoAlCrear(int numero);

} // namespace zulprueba
