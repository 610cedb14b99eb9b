#include "comparacion_lectores.h"
#include "comprobaciones.h"

#include "datos/mapa.h"

#include <cstdlib>

namespace zul::robustez {

namespace {

// The input cut right after its two dimensions when they declare more cells
// than a check affords; the input itself otherwise. Read as the loaders read
// the header: the digits hold no NUL byte, so the C string view of the bytes
// sees the same header.
std::string acotada(const std::string& bytes) {
    long long filas = 0;
    long long columnas = 0;
    int consumidos = 0;
    if (std::sscanf(bytes.c_str(), "%lld %lld%n", &filas, &columnas, &consumidos) != 2 ||
        filas <= 0 || columnas <= 0) {
        return bytes;
    }
    if (filas > kMaxCeldasComprobadas || columnas > kMaxCeldasComprobadas / filas) {
        return bytes.substr(0, static_cast<std::size_t>(consumidos));
    }
    return bytes;
}

// Each cell against the value that "%lld" reads for it: only 0-3 and 5 may
// become an arrow or the wall, and those exactly their own.
std::string compruebaValores(std::string bytes, const Mapa& mapa) {
    std::FILE* archivo = abreMemoria(bytes);
    if (archivo == nullptr) {
        return "no se pudo abrir la entrada en memoria";
    }
    long long filas = 0;
    long long columnas = 0;
    std::string fallo;
    if (std::fscanf(archivo, "%lld %lld", &filas, &columnas) == 2) {
        long long valor = 0;
        for (std::size_t i = 0; i < mapa.celdas.size(); ++i) {
            if (std::fscanf(archivo, "%lld", &valor) != 1) {
                break; // the rest repeat the last cell read
            }
            const char c = mapa.celdas[i];
            const bool propio = (valor >= 0 && valor <= 3) || valor == 5;
            const bool especial = (c >= '0' && c <= '3') || c == '5';
            if (propio ? c != static_cast<char>('0' + valor) : especial) {
                fallo = "la celda " + std::to_string(i) + ", de valor " + std::to_string(valor) +
                        ", se guardó como «" + std::string(1, c) + "»";
                break;
            }
        }
    }
    std::fclose(archivo);
    return fallo;
}

} // namespace

std::string compruebaMapa(const std::string& entrada) {
    const std::string bytes = acotada(entrada);
    std::string copia = bytes;
    std::FILE* archivo = abreMemoria(copia);
    if (archivo == nullptr) {
        return "no se pudo abrir la entrada en memoria";
    }
    Mapa mapa;
    bool leido = true;
    try {
        leerMapa(archivo, mapa);
    } catch (const ErrorFormato& e) {
        leido = false;
        if (e.what()[0] == '\0') {
            std::fclose(archivo);
            return "un error de formato sin mensaje";
        }
    }
    std::fclose(archivo);
    if (leido) {
        if (mapa.filas < 0 || mapa.columnas < 0) {
            return "un mapa de dimensiones negativas";
        }
        const long long celdas = static_cast<long long>(mapa.filas) * mapa.columnas;
        if (static_cast<long long>(mapa.celdas.size()) != celdas) {
            return "un mapa de " + std::to_string(mapa.filas) + " × " +
                   std::to_string(mapa.columnas) + " con " + std::to_string(mapa.celdas.size()) +
                   " celdas";
        }
        const std::string valores = compruebaValores(bytes, mapa);
        if (!valores.empty()) {
            return valores;
        }
    }
    return comparacion::diferenciaMapa(bytes);
}

} // namespace zul::robustez
