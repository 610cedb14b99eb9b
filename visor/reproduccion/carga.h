#pragma once

#include "carrera.h"
#include "mapa.h"

#include <exception>
#include <string>

namespace zul {

// A race log or map that cannot be loaded. It names the file; what() says
// why, in Spanish.
class ErrorCarga : public std::exception {
public:
    ErrorCarga(std::string ruta, std::string motivo, bool noAbre)
        : rutaArchivo(std::move(ruta)), texto(std::move(motivo)), sinAbrir(noAbre) {}
    const std::string& ruta() const { return rutaArchivo; }
    // True when the file could not be opened at all.
    bool noAbre() const { return sinAbrir; }
    const char* what() const noexcept override { return texto.c_str(); }

private:
    std::string rutaArchivo;
    std::string texto;
    bool sinAbrir;
};

// Read a whole file with the plain readers. Throw ErrorCarga when the path is
// empty or the file cannot be opened ("No se pudo abrir el archivo"), when its
// content cannot be used (the reader's reason) and when memory runs out.
Carrera cargaCarrera(const std::string& ruta);
Mapa cargaMapa(const std::string& ruta);

} // namespace zul
