#include "mapa.h"

#include "escaner.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

namespace zul {

std::size_t compruebaDimensiones(long long filas, long long columnas) {
    const std::string dimensiones = std::to_string(filas) + " × " + std::to_string(columnas);
    if (filas < 0 || columnas < 0) {
        throw ErrorFormato("El mapa declara unas dimensiones negativas: " + dimensiones + ".");
    }
    if (filas > INT_MAX || columnas > INT_MAX || (filas > 0 && columnas > INT_MAX / filas)) {
        throw ErrorFormato("El mapa declara demasiadas celdas: " + dimensiones + ".");
    }
    return static_cast<std::size_t>(filas * columnas);
}

void leerMapa(std::FILE* archivo, Mapa& mapa) {
    const std::string datos = leeTodo(archivo);
    Escaner escaner(datos.data(), datos.data() + datos.size());
    long long filas = 0;
    long long columnas = 0;
    if (!escaner.enteroLargo(filas) || !escaner.enteroLargo(columnas)) {
        throw ErrorFormato("El mapa no empieza con sus dos dimensiones (filas y columnas).");
    }
    const std::size_t total = compruebaDimensiones(filas, columnas);
    const std::string dimensiones = std::to_string(filas) + " × " + std::to_string(columnas);
    // The first cell is read before the grid is allocated, so that a file that
    // declares a huge grid and holds no cell is refused without taking its memory.
    int primera = 0;
    if (total > 0 && !escaner.entero(primera)) {
        throw ErrorFormato("El mapa de " + dimensiones + " no tiene ninguna celda legible.");
    }
    std::string celdas;
    try {
        celdas.resize(total);
    } catch (const std::bad_alloc&) {
        throw ErrorFormato("No hay memoria para un mapa de " + dimensiones + " celdas.");
    }

    for (std::size_t indice = 0; indice < total; ++indice) {
        if (indice > 0) {
            // Most cells are one digit and a space: those go straight in.
            indice += escaner.digitosSueltos(&celdas[indice], total - indice);
            if (indice == total) {
                break;
            }
        }
        int valor = primera;
        if (indice > 0 && !escaner.entero(valor)) {
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
