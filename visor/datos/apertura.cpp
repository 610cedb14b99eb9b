#include "datos/apertura.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
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
    if (S_ISFIFO(datos.st_mode) && !admiteTuberia) {
        ::close(descriptor);
        apertura.motivo = kMotivoTuberia;
        return apertura;
    }
    if (S_ISFIFO(datos.st_mode)) {
        // Read once, as a whole: waiting for its writer is what is asked. The
        // descriptor open now stays: closing it to open again would throw
        // away what a writer that came at once has written, and then wait
        // for one forever. Until a writer comes a read would see the end.
        pollfd espera{descriptor, POLLIN, 0};
        while (::poll(&espera, 1, -1) < 0 && errno == EINTR) {
        }
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    apertura.archivo.reset(::fdopen(descriptor, "r"));
    if (!apertura.archivo) {
        apertura.motivo = motivoDeError(errno);
        ::close(descriptor);
    }
    return apertura;
}

} // namespace zul
