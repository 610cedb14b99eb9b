#include "referencia.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <new>
#include <utility>

namespace zul {

void leerMapaReferencia(std::FILE* archivo, Mapa& mapa) {
    long long filas = 0;
    long long columnas = 0;
    // The C library says ERANGE when a number saturated.
    const auto dimension = [archivo](long long& valor, bool& desborda) {
        errno = 0;
        const bool leido = std::fscanf(archivo, "%lld", &valor) == 1;
        desborda = leido && errno == ERANGE;
        return leido;
    };
    bool filasDesbordan = false;
    bool columnasDesbordan = false;
    const bool hayFilas = dimension(filas, filasDesbordan);
    if (hayFilas && filasDesbordan) {
        throw ErrorFormato("El mapa declara un número de filas demasiado grande para leerlo.");
    }
    if (!hayFilas || !dimension(columnas, columnasDesbordan)) {
        throw ErrorFormato("El mapa no empieza con sus dos dimensiones (filas y columnas).");
    }
    if (columnasDesbordan) {
        throw ErrorFormato("El mapa declara un número de columnas demasiado grande para leerlo.");
    }
    const std::size_t total = compruebaDimensiones(filas, columnas);
    const std::string dimensiones = std::to_string(filas) + " × " + std::to_string(columnas);
    // The first cell is read before the grid is allocated, so that a file that
    // declares a huge grid and holds no cell is refused without taking its memory.
    long long primera = 0;
    if (total > 0 && std::fscanf(archivo, "%lld", &primera) != 1) {
        throw ErrorFormato("El mapa de " + dimensiones + " no tiene ninguna celda legible.");
    }
    std::string celdas;
    try {
        celdas.resize(total);
    } catch (const std::bad_alloc&) {
        throw ErrorFormato("No hay memoria para un mapa de " + dimensiones + " celdas.");
    }

    for (std::size_t indice = 0; indice < total; ++indice) {
        long long valor = primera;
        if (indice > 0 && std::fscanf(archivo, "%lld", &valor) != 1) {
            // The rest of the grid repeats the last value read: one fill, not
            // one failing read per cell.
            std::fill(celdas.begin() + static_cast<std::ptrdiff_t>(indice), celdas.end(),
                      celdas[indice - 1]);
            break;
        }
        celdas[indice] = caracterCelda(valor);
    }
    mapa.filas = static_cast<int>(filas);
    mapa.columnas = static_cast<int>(columnas);
    mapa.celdas = std::move(celdas);
}

} // namespace zul
