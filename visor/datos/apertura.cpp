#include "datos/apertura.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zul {

const char* const kMotivoTuberia =
    "es una tubería (FIFO), no un archivo: solo --resultados lee de una tubería";

std::string motivoDeError(int numero) {
    switch (numero) {
    case ENOENT:
        return "no existe";
    case EACCES:
    case EPERM:
        return "no hay permiso para leerlo";
    case EISDIR:
        return "es una carpeta, no un archivo";
    case ENOTDIR:
        return "una parte de la ruta no es una carpeta";
    case ENAMETOOLONG:
        return "la ruta es demasiado larga";
    case ELOOP:
        return "la ruta tiene demasiados enlaces simbólicos";
    case EMFILE:
    case ENFILE:
        return "hay demasiados archivos abiertos";
    case ENOMEM:
        return "no hay memoria suficiente";
    case ENXIO:
    case ENODEV:
        return "el dispositivo no existe o no responde";
    case EIO:
        return "error de entrada o salida";
    default:
        return "error del sistema número " + std::to_string(numero);
    }
}

Apertura abreParaLeer(const char* ruta, bool admiteTuberia) {
    Apertura apertura;
    // Never waiting in open() for a FIFO's writer: its type is known first.
    int descriptor = ::open(ruta, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        apertura.motivo = motivoDeError(errno);
        return apertura;
    }
    struct stat datos;
    if (fstat(descriptor, &datos) == 0 && S_ISDIR(datos.st_mode)) {
        ::close(descriptor);
        apertura.motivo = motivoDeError(EISDIR);
        return apertura;
    }
    if (S_ISFIFO(datos.st_mode)) {
        ::close(descriptor);
        if (!admiteTuberia) {
            apertura.motivo = kMotivoTuberia;
            return apertura;
        }
        // Read once, as a whole: waiting for its writer is what is asked.
        descriptor = ::open(ruta, O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) {
            apertura.motivo = motivoDeError(errno);
            return apertura;
        }
    } else {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    }
    apertura.archivo.reset(::fdopen(descriptor, "r"));
    if (!apertura.archivo) {
        apertura.motivo = motivoDeError(errno);
        ::close(descriptor);
    }
    return apertura;
}

} // namespace zul
