#pragma once

#include "datos/error_formato.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zul {

// Bytes read from the start of a file to tell what it is: far more than the
// header of any race log, and a map that is all integers this far is a map.
constexpr std::size_t kMuestraTipo = 64 * 1024;

// Whether a text reads as the start of a map file: two integers and then only
// integers, separated by whitespace. A race log starts with an integer too,
// but its names and its "p" and "s" tags are words. `completo` says whether
// the text is the whole file; when it is only the start, a token cut at its
// end is not judged.
bool pareceMapa(std::string_view texto, bool completo);

// The start of a file (at most kMuestraTipo bytes); `completo` tells
// whether that is the whole file. Throws ErrorFormato naming the file when it
// cannot be opened or read.
std::string leeMuestra(const std::string& ruta, bool& completo);

struct ParArchivos {
    std::string carrera;
    std::string mapa;
};

// Tells, by their content, which of two files is the map and which the race
// log. Throws ErrorFormato, saying why in Spanish, when a file cannot be read
// or when not exactly one of the two looks like a map.
ParArchivos ordenaPorContenido(const std::string& a, const std::string& b);

} // namespace zul
