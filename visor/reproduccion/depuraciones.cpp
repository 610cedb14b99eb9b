#include "reproduccion/depuraciones.h"

#include "comun/motivo_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace zul {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

[[noreturn]] void noAbre(const std::string& ruta, int error) {
    throw ErrorFormato("No se pudo abrir el archivo de depuración " + ruta + ": " +
                       motivoDeError(error));
}

} // namespace

bool Depuraciones::lee(Archivo& a) {
    // Without waiting for a writer, should the path be a FIFO.
    const Descriptor archivo(::open(a.ruta.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (archivo.fd < 0) {
        if (errno == ENOENT && a.siguiendo) {
            return false; // not written yet, or gone: what was read stays
        }
        noAbre(a.ruta, errno);
    }
    struct stat datos {};
    if (::fstat(archivo.fd, &datos) != 0) {
        noAbre(a.ruta, errno);
    }
    if (S_ISDIR(datos.st_mode)) {
        noAbre(a.ruta, EISDIR);
    }
    if (!S_ISREG(datos.st_mode)) {
        throw ErrorFormato(a.ruta + ": no es un archivo normal (¿una tubería?): el archivo de "
                                    "depuración se lee del disco");
    }
    const std::size_t antes = a.datos.turnos().size();
    // Another file at the path, or a shorter one: the bot ran again.
    bool deNuevo = a.abierto && (datos.st_dev != a.dispositivo || datos.st_ino != a.inodo ||
                                 datos.st_size < a.leidos);
    const auto empieza = [&a] {
        a.datos = Depuracion(a.ruta);
        a.leidos = 0;
    };
    if (deNuevo) {
        empieza();
    }
    a.abierto = true;
    a.dispositivo = datos.st_dev;
    a.inodo = datos.st_ino;
    for (bool reintento = false;; reintento = true) {
        try {
            char bloque[1 << 16];
            for (;;) {
                const ssize_t r = ::pread(archivo.fd, bloque, sizeof bloque, a.leidos);
                if (r < 0 && errno == EINTR) {
                    continue;
                }
                if (r < 0) {
                    noAbre(a.ruta, errno);
                }
                if (r == 0) {
                    break;
                }
                a.leidos += r;
                a.datos.anade(std::string_view(bloque, static_cast<std::size_t>(r)));
            }
            break;
        } catch (const ErrorFormato&) {
            // A file rewritten in place, already past what was read, reads
            // wrong from there: once more from its start before refusing it.
            if (reintento || !a.siguiendo || a.leidos == 0) {
                throw;
            }
            empieza();
            deNuevo = true;
        }
    }
    return deNuevo || a.datos.turnos().size() != antes;
}

void Depuraciones::anade(const std::string& ruta, int jugadores, long frames, bool siguiendo) {
    auto archivo = std::make_unique<Archivo>(ruta);
    archivo->siguiendo = siguiendo;
    lee(*archivo);
    if (!siguiendo) {
        archivo->datos.termina();
    }
    // While the log's header is not in, there are no players to check against.
    if (jugadores > 0) {
        archivo->datos.compruebaCarrera(jugadores, frames);
    }
    archivos.push_back(std::move(archivo));
}

bool Depuraciones::sondea(int jugadores, std::vector<std::string>& rechazos) {
    bool cambio = false;
    for (auto it = archivos.begin(); it != archivos.end();) {
        Archivo& a = **it;
        try {
            if (a.siguiendo) {
                cambio = lee(a) || cambio;
                if (jugadores > 0) {
                    a.datos.compruebaCarrera(jugadores, -1);
                }
            }
            ++it;
        } catch (const ErrorFormato& error) {
            // Never drawn wrongly: the whole file goes.
            rechazos.emplace_back(error.what());
            it = archivos.erase(it);
            cambio = true;
        }
    }
    return cambio;
}

void Depuraciones::dejaDeSeguir() {
    for (auto& a : archivos) {
        a->siguiendo = false;
    }
}

std::vector<const TurnoDepuracion*> Depuraciones::turnos(long long frame) const {
    std::vector<const TurnoDepuracion*> hallados;
    if (frame < 0) {
        return hallados;
    }
    for (const auto& a : archivos) {
        if (const TurnoDepuracion* t = a->datos.turnoDe(static_cast<long>(frame), desplazamiento)) {
            hallados.push_back(t);
        }
    }
    return hallados;
}

std::vector<std::string> Depuraciones::notas(long long frame, int jugador) const {
    std::vector<std::string> todas;
    for (const TurnoDepuracion* t : turnos(frame)) {
        if (t->id == jugador) {
            todas.insert(todas.end(), t->notas.begin(), t->notas.end());
        }
    }
    return todas;
}

std::string ordenRepeticion(const std::string& rutaCarrera, int jugador, long long frame) {
    // Bare when every byte is one the shell takes as it is; else in single
    // quotes, each quote written as '\''.
    const auto cita = [](const std::string& palabra) {
        bool simple = !palabra.empty();
        for (const char c : palabra) {
            const bool comun = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                               (c >= '0' && c <= '9') ||
                               std::string_view("_-./+,:=@%").find(c) != std::string_view::npos;
            simple = simple && comun;
        }
        if (simple) {
            return palabra;
        }
        std::string citada = "'";
        for (const char c : palabra) {
            citada += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return citada + "'";
    };
    return "zulprueba --carrera " + cita(rutaCarrera) + " --jugador " + std::to_string(jugador) +
           " --desde " + std::to_string(frame) + " -- ./mibot";
}

} // namespace zul
