#include "grabacion.h"

#include "sin_sigpipe.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zullib {

namespace {

// Reading that copies every byte read from standard input into a file (ZUL_GRABAR).
struct Grabacion {
    int archivo;
    const char* ruta;
};

ssize_t leerGrabando(void* cookie, char* buffer, size_t tam) {
    Grabacion* g = static_cast<Grabacion*>(cookie);
    ssize_t leidos;
    do {
        leidos = read(STDIN_FILENO, buffer, tam);
    } while (leidos < 0 && errno == EINTR);
    for (ssize_t hecho = 0; leidos > 0 && g->archivo >= 0 && hecho < leidos;) {
        SinSigpipe b;
        bloquearSigpipe(&b);
        ssize_t n = write(g->archivo, buffer + hecho, static_cast<size_t>(leidos - hecho));
        desbloquearSigpipe(&b, n < 0 && errno == EPIPE);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // The game goes on even if the recording fails.
            fprintf(stderr, "ZULlib: no se pudo escribir en %s (%s); se deja de grabar\n", g->ruta,
                    strerror(errno));
            close(g->archivo);
            g->archivo = -1;
            break;
        }
        hecho += n;
    }
    return leidos;
}

int cerrarGrabacion(void* cookie) {
    Grabacion* g = static_cast<Grabacion*>(cookie);
    if (g->archivo >= 0) {
        close(g->archivo);
        g->archivo = -1;
    }
    return 0;
}

} // namespace

FILE* entradaEstandar() {
    const char* ruta = getenv("ZUL_GRABAR");
    if (ruta == nullptr || ruta[0] == '\0') {
        return stdin;
    }
    static Grabacion grabacion;
    // Opened without truncating, and without waiting for a reader if it is a pipe: the checks
    // below come first.
    grabacion.archivo = open(ruta, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (grabacion.archivo < 0) {
        if (errno == ENXIO) {
            fprintf(stderr, "ZULlib: nadie lee la tubería %s; se juega sin grabar\n", ruta);
        } else {
            fprintf(stderr,
                    "ZULlib: no se pudo crear %s para grabar la entrada (%s); se juega sin "
                    "grabar\n",
                    ruta, strerror(errno));
        }
        return stdin;
    }
    struct stat destino;
    struct stat leida;
    memset(&destino, 0, sizeof destino);
    if (fstat(grabacion.archivo, &destino) == 0 && fstat(STDIN_FILENO, &leida) == 0 &&
        destino.st_dev == leida.st_dev && destino.st_ino == leida.st_ino) {
        fprintf(stderr,
                "ZULlib: %s es la propia entrada estándar; se juega sin grabar para no "
                "borrarla\n",
                ruta);
        cerrarGrabacion(&grabacion);
        return stdin;
    }
    fcntl(grabacion.archivo, F_SETFL, fcntl(grabacion.archivo, F_GETFL) & ~O_NONBLOCK);
    if (S_ISREG(destino.st_mode) && ftruncate(grabacion.archivo, 0) != 0) {
        fprintf(stderr, "ZULlib: no se pudo vaciar %s (%s); se juega sin grabar\n", ruta,
                strerror(errno));
        cerrarGrabacion(&grabacion);
        return stdin;
    }
    grabacion.ruta = ruta;
    cookie_io_functions_t funciones = {leerGrabando, nullptr, nullptr, cerrarGrabacion};
    FILE* entrada = fopencookie(&grabacion, "r", funciones);
    if (entrada == nullptr) {
        fprintf(stderr, "ZULlib: no se pudo preparar la grabación en %s; se juega sin grabar\n",
                ruta);
        cerrarGrabacion(&grabacion);
        return stdin;
    }
    return entrada;
}

} // namespace zullib
