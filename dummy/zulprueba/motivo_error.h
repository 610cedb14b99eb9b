// Why a system call failed, as zulprueba's messages tell it: the shared reasons of
// comun/motivo_error.h, in lower case, to follow "no se pudo abrir el mapa RUTA: ".
#pragma once

#include "comun/motivo_error.h"

#include <string>

namespace zulprueba {

// The reason for an errno value, whatever zulprueba was doing; an unusual one is told by its
// number.
inline std::string motivoDeError(int numero) {
    return zul::motivoDelSistema(numero);
}

// The same for creating a file or a folder, where a missing or forbidden part is the folder it
// goes in.
using zul::motivoAlCrear;

} // namespace zulprueba
