#include "datos/tipo_archivo.h"

#include "datos/apertura.h"

#include <cstdio>

namespace zul {

namespace {

bool esBlanco(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// An optional sign and at least one decimal digit, as a map's "%d" reads it.
bool esEntero(std::string_view token) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        ++i;
    }
    if (i == token.size()) {
        return false;
    }
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

bool pareceMapa(std::string_view texto, bool completo) {
    std::size_t enteros = 0;
    std::size_t i = 0;
    while (i < texto.size()) {
        while (i < texto.size() && esBlanco(texto[i])) {
            ++i;
        }
        const std::size_t inicio = i;
        while (i < texto.size() && !esBlanco(texto[i])) {
            ++i;
        }
        if (inicio == i) {
            break;
        }
        const bool cortado = i == texto.size() && !completo;
        if (cortado) {
            // The file goes on: this token may be longer than what was read.
            // A sign and digits so far may still be an integer; anything else
            // is already not one.
            if (!esEntero(texto.substr(inicio)) && texto.substr(inicio) != "-" &&
                texto.substr(inicio) != "+") {
                return false;
            }
            break;
        }
        if (!esEntero(texto.substr(inicio, i - inicio))) {
            return false;
        }
        ++enteros;
    }
    return enteros >= 2;
}

std::string leeMuestra(const std::string& ruta, bool& completo) {
    const Apertura apertura = abreParaLeer(ruta.c_str());
    const ArchivoAbierto& archivo = apertura.archivo;
    if (!archivo) {
        throw ErrorFormato("No se pudo abrir el archivo " + ruta + ": " + apertura.motivo + ".");
    }
    std::string muestra(kMuestraTipo, '\0');
    const std::size_t leidos = std::fread(muestra.data(), 1, muestra.size(), archivo.get());
    if (std::ferror(archivo.get())) {
        throw ErrorFormato("No se pudo leer el archivo " + ruta + ".");
    }
    muestra.resize(leidos);
    // A sample that filled the buffer is whole only if nothing follows it.
    completo = leidos < kMuestraTipo || std::fgetc(archivo.get()) == EOF;
    return muestra;
}

ParArchivos ordenaPorContenido(const std::string& a, const std::string& b) {
    bool completoA = false;
    bool completoB = false;
    const bool mapaA = pareceMapa(leeMuestra(a, completoA), completoA);
    const bool mapaB = pareceMapa(leeMuestra(b, completoB), completoB);
    if (mapaA && mapaB) {
        throw ErrorFormato("Los dos archivos parecen mapas (" + a + " y " + b +
                           "); hace falta un registro de carrera y un mapa.");
    }
    if (!mapaA && !mapaB) {
        throw ErrorFormato("Ninguno de los dos archivos parece un mapa (" + a + " y " + b +
                           "); un mapa empieza con dos enteros y solo contiene enteros.");
    }
    return mapaA ? ParArchivos{b, a} : ParArchivos{a, b};
}

} // namespace zul
