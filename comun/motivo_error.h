// Why a system call failed, in Spanish and in lower case, to follow "No se pudo abrir el
// archivo" or "no se pudo abrir el mapa RUTA: ".
#pragma once

#include <string>

namespace zul {

// The reason for an errno value; an unusual one is told by its number.
std::string motivoDelSistema(int numero);

// The same for opening a file to read it: a forbidden file is one the user may not read, and a
// folder is not a file.
std::string motivoDeError(int numero);

// The same for creating a file or a folder, where a missing or forbidden part is the folder it
// goes in.
std::string motivoAlCrear(int numero);

} // namespace zul
