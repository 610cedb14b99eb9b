#include "referencia.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

namespace zul {

void leerMapaReferencia(std::FILE* archivo, Mapa& mapa) {
    long long filas = 0;
    long long columnas = 0;
    if (std::fscanf(archivo, "%lld %lld", &filas, &columnas) != 2) {
        throw ErrorFormato("El mapa no empieza con sus dos dimensiones (filas y columnas).");
    }
    const std::size_t total = compruebaDimensiones(filas, columnas);
    const std::string dimensiones = std::to_string(filas) + " × " + std::to_string(columnas);
    // The first cell is read before the grid is allocated, so that a file that
    // declares a huge grid and holds no cell is refused without taking its memory.
    int primera = 0;
    if (total > 0 && std::fscanf(archivo, "%d", &primera) != 1) {
        throw ErrorFormato("El mapa de " + dimensiones + " no tiene ninguna celda legible.");
    }
    std::string celdas;
    try {
        celdas.resize(total);
    } catch (const std::bad_alloc&) {
        throw ErrorFormato("No hay memoria para un mapa de " + dimensiones + " celdas.");
    }

    for (std::size_t indice = 0; indice < total; ++indice) {
        int valor = primera;
        if (indice > 0 && std::fscanf(archivo, "%d", &valor) != 1) {
            // The rest of the grid repeats the last value read: one fill, not
            // one failing read per cell.
            std::fill(celdas.begin() + static_cast<std::ptrdiff_t>(indice), celdas.end(),
                      celdas[indice - 1]);
            break;
        }
        celdas[indice] =
            static_cast<char>(static_cast<unsigned char>(static_cast<unsigned>(valor) + 48u));
    }
    mapa.filas = static_cast<int>(filas);
    mapa.columnas = static_cast<int>(columnas);
    mapa.celdas = std::move(celdas);
}

} // namespace zul
