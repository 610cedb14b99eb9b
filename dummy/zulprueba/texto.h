// Text helpers shared by zulprueba's parts.
#pragma once

#include <string>

namespace zul {

// printf into a std::string.
std::string formato(const char* f, ...) __attribute__((format(printf, 1, 2)));

// Received text fit for one line of a report: cut at 80 bytes, control bytes escaped, quoted.
std::string mostrar(const std::string& s);

// A whole decimal integer between `minimo` and `maximo`.
bool entero(const std::string& s, long minimo, long maximo, long& valor);

// A whole number as strtof reads it.
bool real(const std::string& s);

} // namespace zul
