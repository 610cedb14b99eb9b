#pragma once

// motivoDeError: the reasons told in Apertura::motivo.
#include "comun/motivo_error.h"

#include <cstdio>
#include <memory>
#include <string>

namespace zul {

// An open stream, closed when it goes.
using ArchivoAbierto = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A file opened to be read, or why it could not be.
struct Apertura {
    ArchivoAbierto archivo{nullptr, &std::fclose};
    // Empty when the file opened; otherwise the reason, in Spanish and in
    // lower case, to follow "No se pudo abrir el archivo": "no existe",
    // "no hay permiso para leerlo", "es una carpeta, no un archivo", ...
    std::string motivo;
};

// Opens `ruta` to read it. A folder is refused here, though the system would
// open it: reading it would only fail later with a misleading message. So is
// a FIFO unless `admiteTuberia` (what is read once, as a whole, may come from
// one): it can be read neither twice nor again from its start. Never waits
// for a FIFO's writer then.
Apertura abreParaLeer(const char* ruta, bool admiteTuberia = false);

// The reason abreParaLeer gives for a FIFO it refuses.
extern const char* const kMotivoTuberia;

} // namespace zul
