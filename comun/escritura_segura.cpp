#include "comun/escritura_segura.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zul {

namespace {

// Every byte, through short writes and interruptions; 0 or the errno value.
int escribeTodo(const LlamadasEscritura& llamadas, int fd, const char* p, size_t quedan) {
    while (quedan > 0) {
        const ssize_t n = llamadas.escribe(fd, p, quedan);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A write that takes nothing will never finish: the disk is full.
            return n < 0 ? errno : ENOSPC;
        }
        p += n;
        quedan -= static_cast<size_t>(n);
    }
    return 0;
}

// Eight hex digits no other writer is likely to pick at the same moment.
std::string colaAlAzar() {
    thread_local std::mt19937 generador{std::random_device{}()};
    char texto[9];
    std::snprintf(texto, sizeof texto, "%08x", static_cast<unsigned>(generador()));
    return texto;
}

// The partial files, in fixed slots a signal handler can read: a slot is
// free (0), being filled or emptied (1), or holds a path (2).
constexpr int kParciales = 16;
struct Parcial {
    std::atomic<int> estado{0};
    char ruta[PATH_MAX];
};
Parcial parciales[kParciales];

extern "C" void alTerminar(int numero) {
    terminaPorSenal(numero);
}

constexpr int kSenales[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

} // namespace

const LlamadasEscritura& llamadasDelSistema() {
    static const LlamadasEscritura reales = {&::write, &::fsync, &::close};
    return reales;
}

DestinoEscritura destinoDe(const std::string& ruta) {
    DestinoEscritura destino;
    destino.final = ruta;
    struct stat estado;
    if (::stat(ruta.c_str(), &estado) != 0) {
        return destino;
    }
    destino.existe = true;
    destino.regular = S_ISREG(estado.st_mode);
    destino.permisos = estado.st_mode & 07777;
    char real[PATH_MAX];
    if (::realpath(ruta.c_str(), real) != nullptr) {
        destino.final = real;
    }
    return destino;
}

int creaTemporal(const DestinoEscritura& destino, const std::string& prefijo,
                 const std::string& sufijo, std::string& temporal) {
    const std::string& final = destino.final;
    const size_t barra = final.rfind('/');
    const std::string carpeta = barra == std::string::npos ? "./" : final.substr(0, barra + 1);
    const std::string nombre = barra == std::string::npos ? final : final.substr(barra + 1);
    const std::string inicio = prefijo.empty() ? "." + nombre + "." : prefijo;
    for (int intento = 0; intento < 100; ++intento) {
        temporal = carpeta + inicio + colaAlAzar() + sufijo;
        // 0666 lets the umask decide for a new file, as for any file the user
        // makes; one that replaces another gets its permissions.
        const int fd = ::open(temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              destino.existe ? 0600 : 0666);
        if (fd >= 0) {
            registraParcial(temporal);
            if (destino.existe && ::fchmod(fd, destino.permisos) != 0) {
                const int error = errno;
                ::close(fd);
                descartaTemporal(temporal);
                errno = error;
                return -1;
            }
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

int publicaTemporal(const std::string& temporal, const DestinoEscritura& destino) {
    if (::rename(temporal.c_str(), destino.final.c_str()) != 0) {
        const int error = errno;
        descartaTemporal(temporal);
        return error;
    }
    olvidaParcial(temporal);
    return 0;
}

void descartaTemporal(const std::string& temporal) {
    ::unlink(temporal.c_str());
    olvidaParcial(temporal);
}

int abreEnSuSitio(const std::string& ruta) {
    const int fd = ::open(ruta.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

int escribeArchivo(const std::string& ruta, const char* datos, size_t largo,
                   const LlamadasEscritura& llamadas) {
    const DestinoEscritura destino = destinoDe(ruta);
    if (destino.existe && !destino.regular) {
        // A device or a pipe is no file to replace, and a partial write there
        // cannot be taken back.
        const int fd = abreEnSuSitio(ruta);
        if (fd < 0) {
            return errno;
        }
        int fallo = escribeTodo(llamadas, fd, datos, largo);
        if (llamadas.cierra(fd) != 0 && fallo == 0 && errno != EINTR) {
            fallo = errno;
        }
        return fallo;
    }
    std::string temporal;
    const int fd = creaTemporal(destino, ".zul-", ".tmp", temporal);
    if (fd < 0) {
        return errno;
    }
    int fallo = escribeTodo(llamadas, fd, datos, largo);
    // Some file systems report a full disk only when the data is flushed or
    // the file closed.
    if (fallo == 0 && llamadas.sincroniza(fd) != 0 && errno != EINVAL && errno != EROFS) {
        fallo = errno;
    }
    if (llamadas.cierra(fd) != 0 && fallo == 0 && errno != EINTR) {
        fallo = errno;
    }
    if (fallo != 0) {
        descartaTemporal(temporal);
        return fallo;
    }
    return publicaTemporal(temporal, destino);
}

void registraParcial(const std::string& ruta) {
    if (ruta.size() >= PATH_MAX) {
        return;
    }
    for (Parcial& p : parciales) {
        int libre = 0;
        if (p.estado.compare_exchange_strong(libre, 1)) {
            std::memcpy(p.ruta, ruta.c_str(), ruta.size() + 1);
            p.estado.store(2);
            return;
        }
    }
}

void olvidaParcial(const std::string& ruta) {
    for (Parcial& p : parciales) {
        int lleno = 2;
        if (p.estado.load() == 2 && std::strcmp(p.ruta, ruta.c_str()) == 0 &&
            p.estado.compare_exchange_strong(lleno, 0)) {
            return;
        }
    }
}

void borraParciales() {
    for (Parcial& p : parciales) {
        if (p.estado.load() == 2) {
            ::unlink(p.ruta);
        }
    }
}

void terminaPorSenal(int numero) {
    borraParciales();
    struct sigaction omision {};
    omision.sa_handler = SIG_DFL;
    sigemptyset(&omision.sa_mask);
    sigaction(numero, &omision, nullptr);
    sigset_t senal;
    sigemptyset(&senal);
    sigaddset(&senal, numero);
    pthread_sigmask(SIG_UNBLOCK, &senal, nullptr);
    raise(numero);
}

void instalaLimpiezaAlTerminar() {
    struct sigaction accion {};
    accion.sa_handler = alTerminar;
    sigemptyset(&accion.sa_mask);
    for (int numero : kSenales) {
        struct sigaction antes {};
        // A signal ignored on purpose (nohup) stays ignored.
        if (sigaction(numero, nullptr, &antes) == 0 && antes.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(numero, &accion, nullptr);
    }
}

} // namespace zul
