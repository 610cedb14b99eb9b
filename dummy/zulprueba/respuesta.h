// The check of one reply line against the protocol: "m X Y" or "s X Y", one space between the
// fields and nothing else, X and Y finite numbers.
#pragma once

#include <string>

namespace zul {

struct Revision {
    std::string motivo;   // why the line is not valid; empty if it is
    bool disparo = false; // a valid "s" line
};

// `linea` comes without its '\n'.
Revision comprobarRespuesta(const std::string& linea);

} // namespace zul
