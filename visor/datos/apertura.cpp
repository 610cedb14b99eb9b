#include "datos/apertura.h"

#include <cerrno>
#include <sys/stat.h>

namespace zul {

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

Apertura abreParaLeer(const char* ruta) {
    Apertura apertura;
    errno = 0;
    apertura.archivo.reset(std::fopen(ruta, "r"));
    if (!apertura.archivo) {
        apertura.motivo = motivoDeError(errno);
        return apertura;
    }
    struct stat datos;
    if (fstat(fileno(apertura.archivo.get()), &datos) == 0 && S_ISDIR(datos.st_mode)) {
        apertura.archivo.reset();
        apertura.motivo = motivoDeError(EISDIR);
    }
    return apertura;
}

} // namespace zul
