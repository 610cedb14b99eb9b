#pragma once

#include "datos/carrera.h"
#include "datos/mapa.h"

#include <utility>

#include <exception>
#include <string>

namespace zul {

// A race log or map that cannot be loaded. It names the file; what() says
// why, in Spanish.
class ErrorCarga : public std::exception {
public:
    ErrorCarga(std::string ruta, std::string motivo, bool noAbre)
        : rutaArchivo(std::move(ruta)), texto(std::move(motivo)), sinAbrir(noAbre) {}
    // A file that did not open, and why ("no existe", ...; empty when unknown).
    static ErrorCarga archivoSinAbrir(std::string ruta, std::string motivo);

    const std::string& ruta() const { return rutaArchivo; }
    // True when the file could not be opened at all.
    bool noAbre() const { return sinAbrir; }
    // Why it did not open; empty when it did, or when that is not known.
    const std::string& motivoApertura() const { return motivoNoAbre; }
    const char* what() const noexcept override { return texto.c_str(); }

private:
    std::string rutaArchivo;
    std::string texto;
    bool sinAbrir;
    std::string motivoNoAbre;
};

// Read a whole file with the plain readers. Throw ErrorCarga when the path is
// empty or the file cannot be opened ("No se pudo abrir el archivo"), when its
// content cannot be used (the reader's reason) and when memory runs out.
Carrera cargaCarrera(const std::string& ruta);
Mapa cargaMapa(const std::string& ruta);

} // namespace zul
