#include "mapa.h"

#include "error.h"
#include "fichas.h"
#include "texto.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace zul {

namespace {

// No integer needs more; a longer word is not a cell, whatever it holds.
constexpr size_t kPalabraMaxima = 4096;

} // namespace

Mapa leerMapa(const std::string& ruta) {
    ArchivoDeDatos archivo(ruta, "el mapa");
    Mapa m;
    std::string t;
    long v = 0;
    if (!archivo.siguiente(t, kPalabraMaxima) || !entero(t, 0, INT_MAX, v)) {
        throw ErrorDePrueba(ruta + ": se esperaba el número de filas (entero no negativo)");
    }
    m.filas = static_cast<int>(v);
    if (!archivo.siguiente(t, kPalabraMaxima) || !entero(t, 0, INT_MAX, v)) {
        throw ErrorDePrueba(ruta + ": se esperaba el número de columnas (entero no negativo)");
    }
    m.columnas = static_cast<int>(v);
    const long long total = static_cast<long long>(m.filas) * m.columnas;
    for (long long k = 0; k < total; ++k) {
        if (!archivo.siguiente(t, kPalabraMaxima)) {
            throw ErrorDePrueba(formato("%s: el mapa termina tras %lld de sus %lld celdas",
                                        ruta.c_str(), k, total));
        }
        if (!entero(t, INT_MIN, INT_MAX, v)) {
            throw ErrorDePrueba(formato("%s: la celda de la fila %lld, columna %lld no es un "
                                        "entero: %s",
                                        ruta.c_str(), k / m.columnas, k % m.columnas,
                                        mostrar(t).c_str()));
        }
        m.celdas.push_back(static_cast<int>(v));
    }
    return m;
}

std::string textoMapa(const Mapa& m) {
    std::string s = formato("%d %d\n", m.filas, m.columnas);
    for (size_t k = 0; k < m.celdas.size(); ++k) {
        s += std::to_string(m.celdas[k]);
        s += (k + 1) % static_cast<size_t>(m.columnas) == 0 ? '\n' : ' ';
    }
    return s;
}

std::string mapaDeEjemplo() {
    std::vector<std::string> candidatos;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        exe[n] = '\0';
        std::string dir(exe);
        dir.erase(dir.rfind('/'));
        candidatos.push_back(dir + "/" + ZUL_MAPA_RELATIVO);
    }
    candidatos.push_back(ZUL_MAPA_FUENTE);
    for (const auto& c : candidatos) {
        if (access(c.c_str(), R_OK) == 0) {
            char limpia[PATH_MAX];
            return realpath(c.c_str(), limpia) != nullptr ? std::string(limpia) : c;
        }
    }
    std::string lista;
    for (const auto& c : candidatos) {
        lista += (lista.empty() ? "" : " ni en ") + c;
    }
    throw ErrorDePrueba("no se encontró el mapa de ejemplo (ni en " + lista +
                        "); indique uno con --mapa MAPA");
}

} // namespace zul
