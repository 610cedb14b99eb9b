#include "datos/apertura.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zul {

const char* const kMotivoTuberia =
    "es una tubería (FIFO), no un archivo: solo --resultados lee de una tubería";

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
