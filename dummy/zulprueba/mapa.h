// The map that zulprueba sends: read and checked from its file, and written back as the bot
// receives it.
#pragma once

#include <string>
#include <vector>

namespace zul {

constexpr int kMuro = 5;

struct Mapa {
    int filas = 0;
    int columnas = 0;
    std::vector<int> celdas; // row by row
};

// Throws ErrorDePrueba naming the file and what is wrong with it.
Mapa leerMapa(const std::string& ruta);

// The map block of the protocol: the header, then one line per row.
std::string textoMapa(const Mapa& m);

// The kit's sample map: beside the installed program (share/zul) or, in the build tree, in the
// sources. Throws ErrorDePrueba if neither exists.
std::string mapaDeEjemplo();

} // namespace zul
