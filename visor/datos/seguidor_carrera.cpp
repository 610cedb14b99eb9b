#include "datos/seguidor_carrera.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

namespace zul {

namespace {

// Enough of the start of a log to tell one race from the next: the header
// and the first frames.
constexpr std::size_t kInicioGuardado = 4096;
// And of the last bytes read, to tell a log rewritten and already longer.
constexpr std::size_t kUltimos = 256;
constexpr std::size_t kBloque = 1 << 20;

std::string motivoDe(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "No hay permiso para leer el registro de carrera.";
    case EISDIR:
        return "El registro de carrera es una carpeta, no un archivo.";
    case ESPIPE:
        // What is read from a pipe is gone: it cannot be followed, nor read
        // again from its start when the log changes.
        return "El registro de carrera es una tubería (FIFO), no un archivo: en vivo se sigue un "
               "archivo que el árbitro va escribiendo.";
    default:
        return "No se pudo leer el registro de carrera (error " + std::to_string(error) + ").";
    }
}

bool mismoInstante(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

SeguidorCarrera::SeguidorCarrera(std::string ruta, Carrera& destino, std::size_t maximoPorSondeo)
    : camino(std::move(ruta)), destino(destino), maximo(std::max<std::size_t>(maximoPorSondeo, 1)) {
    reinicia();
}

SeguidorCarrera::~SeguidorCarrera() {
    cierra();
}

void SeguidorCarrera::cierra() {
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}

void SeguidorCarrera::reinicia() {
    destino = Carrera();
    lector = std::make_unique<LectorCarreraIncremental>(destino);
    conArchivo = false;
    terminado = false;
    leidos = 0;
    inicio.clear();
    ultimos.clear();
    tamanoVisto = -1;
    cambioVisto = timespec{};
    situacion = Estado::esperando;
    porque.clear();
    formatoRoto = false;
}

void SeguidorCarrera::falla(std::string texto) {
    situacion = Estado::error;
    porque = std::move(texto);
}

SeguidorCarrera::Cambio SeguidorCarrera::sondea() {
    Cambio cambio = Cambio::nada;
    const auto recarga = [&] {
        cierra();
        reinicia();
        cambio = Cambio::recargada;
    };

    struct stat datos;
    if (::stat(camino.c_str(), &datos) != 0) {
        const int error = errno;
        cierra();
        if (error == ENOENT || error == ENOTDIR) {
            situacion = conArchivo ? Estado::borrado : Estado::esperando;
        } else {
            falla(motivoDe(error));
        }
        return cambio;
    }
    if (S_ISDIR(datos.st_mode) || S_ISFIFO(datos.st_mode)) {
        // Refused before anything else: a race on show stays as it was.
        cierra();
        falla(motivoDe(S_ISDIR(datos.st_mode) ? EISDIR : ESPIPE));
        return cambio;
    }
    if (descriptor >= 0 && (datos.st_dev != dispositivo || datos.st_ino != inodo)) {
        recarga(); // another file at the path: a new race
    }
    if (descriptor < 0) {
        // Without waiting for a writer, should a FIFO have come in since.
        const int abierto = ::open(camino.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (abierto < 0) {
            const int error = errno;
            if (error == ENOENT) {
                situacion = conArchivo ? Estado::borrado : Estado::esperando;
            } else {
                falla(motivoDe(error));
            }
            return cambio;
        }
        struct stat propio {};
        const int error = ::fstat(abierto, &propio) != 0 ? errno
                          : S_ISDIR(propio.st_mode)      ? EISDIR
                          : S_ISFIFO(propio.st_mode)     ? ESPIPE
                                                         : 0;
        if (error != 0) {
            ::close(abierto);
            falla(motivoDe(error));
            return cambio;
        }
        if (conArchivo) {
            recarga(); // the log came back after a deletion: a new race
        }
        descriptor = abierto;
        datos = propio;
        dispositivo = datos.st_dev;
        inodo = datos.st_ino;
        conArchivo = true;
    } else if (::fstat(descriptor, &datos) != 0) {
        falla(motivoDe(errno));
        return cambio;
    }

    const bool movido = datos.st_size != tamanoVisto || !mismoInstante(datos.st_mtim, cambioVisto);
    // Shorter than what was read, or rewritten from its start: a new race in
    // the same file. And after termina(), which took the end of the file for
    // the end of the log, a log that went on is read again with what follows.
    if (static_cast<std::size_t>(datos.st_size) < leidos ||
        (movido && leidos > 0 && inicioCambiado()) || (terminado && movido)) {
        reinicia();
        conArchivo = true;
        cambio = Cambio::recargada;
    }
    tamanoVisto = datos.st_size;
    cambioVisto = datos.st_mtim;

    if (formatoRoto || terminado) {
        return cambio;
    }
    // A file that could not be opened or read before can be now.
    situacion = lector->cabeceraLeida() ? Estado::siguiendo : Estado::esperando;
    porque.clear();
    const auto tamano = [this] {
        return destino.posiciones.size() + destino.disparos.size() +
               static_cast<std::size_t>(destino.numJugadores);
    };
    const std::size_t antes = tamano();
    lee();
    if (cambio == Cambio::nada && tamano() != antes) {
        cambio = Cambio::frames;
    }
    return cambio;
}

// Whether the bytes read so far are still in the file: its first ones and
// the last ones read are compared. A log rewritten with the very same bytes
// up to there reads on the same from where reading stopped.
bool SeguidorCarrera::inicioCambiado() {
    const auto distinto = [this](const std::string& antes, std::size_t desde) {
        std::string ahora(antes.size(), '\0');
        std::size_t hechos = 0;
        while (hechos < ahora.size()) {
            const ssize_t r = ::pread(descriptor, &ahora[hechos], ahora.size() - hechos,
                                      static_cast<off_t>(desde + hechos));
            if (r <= 0) {
                return true;
            }
            hechos += static_cast<std::size_t>(r);
        }
        return ahora != antes;
    };
    return distinto(inicio, 0) || distinto(ultimos, leidos - ultimos.size());
}

// Reads what was appended, up to the limit per call; returns how many bytes.
std::size_t SeguidorCarrera::lee() {
    if (bloque.empty()) {
        bloque.resize(std::min(kBloque, maximo));
    }
    std::size_t esta = 0;
    while (esta < maximo && !lector->terminado()) {
        const std::size_t pedidos = std::min(bloque.size(), maximo - esta);
        const ssize_t r = ::pread(descriptor, bloque.data(), pedidos, static_cast<off_t>(leidos));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            break;
        }
        const auto largo = static_cast<std::size_t>(r);
        if (inicio.size() < kInicioGuardado) {
            inicio.append(bloque.data(), std::min(largo, kInicioGuardado - inicio.size()));
        }
        // The last kUltimos bytes read.
        ultimos.append(bloque.data() + (largo > kUltimos ? largo - kUltimos : 0),
                       std::min(largo, kUltimos));
        if (ultimos.size() > kUltimos) {
            ultimos.erase(0, ultimos.size() - kUltimos);
        }
        leidos += largo;
        esta += largo;
        try {
            lector->anade(bloque.data(), largo);
        } catch (const ErrorFormato& error) {
            formatoRoto = true;
            falla(error.what());
            break;
        }
    }
    if (situacion != Estado::error) {
        if (lector->terminado()) {
            situacion = Estado::detenido;
            porque = "Un registro de jugador no se puede leer: no se lee nada de lo que le sigue.";
        } else {
            situacion = lector->cabeceraLeida() ? Estado::siguiendo : Estado::esperando;
        }
    }
    return esta;
}

void SeguidorCarrera::termina() {
    if (terminado) {
        return;
    }
    sondea();
    if (descriptor < 0 || situacion == Estado::error) {
        return;
    }
    while (lee() > 0 && situacion != Estado::error) {
    }
    struct stat datos;
    if (::fstat(descriptor, &datos) == 0) {
        tamanoVisto = datos.st_size;
        cambioVisto = datos.st_mtim;
    }
    terminado = true;
    if (situacion == Estado::error) {
        return;
    }
    try {
        lector->termina();
    } catch (const ErrorFormato& error) {
        formatoRoto = true;
        falla(error.what());
        return;
    }
    situacion = lector->cabeceraLeida() ? Estado::siguiendo : Estado::esperando;
}

} // namespace zul
