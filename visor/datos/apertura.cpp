#include "datos/apertura.h"

#include <cerrno>
#include <sys/stat.h>

namespace zul {

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
