#include "datos/escritura_segura.h"

#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zul {

namespace {

// Every byte, through short writes and interruptions; 0 or the errno value.
int escribeTodo(const LlamadasEscritura& llamadas, int fd, const QByteArray& datos) {
    const char* p = datos.constData();
    size_t quedan = static_cast<size_t>(datos.size());
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

DestinoEscritura destinoDe(const QByteArray& ruta) {
    DestinoEscritura destino;
    destino.final = ruta;
    struct stat estado;
    if (::stat(ruta.constData(), &estado) != 0) {
        return destino;
    }
    destino.existe = true;
    destino.regular = S_ISREG(estado.st_mode);
    destino.permisos = estado.st_mode & 07777;
    char real[PATH_MAX];
    if (::realpath(ruta.constData(), real) != nullptr) {
        destino.final = real;
    }
    return destino;
}

int creaTemporal(const DestinoEscritura& destino, const QByteArray& prefijo,
                 const QByteArray& sufijo, QByteArray& temporal) {
    const QByteArray& final = destino.final;
    const int barra = final.lastIndexOf('/');
    const QByteArray carpeta = barra < 0 ? QByteArray("./") : final.left(barra + 1);
    const QByteArray inicio = prefijo.isEmpty() ? "." + final.mid(barra + 1) + "." : prefijo;
    for (int intento = 0; intento < 100; ++intento) {
        temporal =
            carpeta + inicio +
            QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0') +
            sufijo;
        // 0666 lets the umask decide for a new file, as for any file the user
        // makes; one that replaces another gets its permissions.
        const int fd = ::open(temporal.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
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

int publicaTemporal(const QByteArray& temporal, const DestinoEscritura& destino) {
    if (::rename(temporal.constData(), destino.final.constData()) != 0) {
        const int error = errno;
        descartaTemporal(temporal);
        return error;
    }
    olvidaParcial(temporal);
    return 0;
}

void descartaTemporal(const QByteArray& temporal) {
    ::unlink(temporal.constData());
    olvidaParcial(temporal);
}

int escribeArchivo(const QByteArray& ruta, const QByteArray& datos,
                   const LlamadasEscritura& llamadas) {
    const DestinoEscritura destino = destinoDe(ruta);
    if (destino.existe && !destino.regular) {
        // A device or a pipe is no file to replace, and a partial write there
        // cannot be taken back. Not waiting for a reader of a FIFO.
        const int fd = ::open(ruta.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            return errno;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        int fallo = escribeTodo(llamadas, fd, datos);
        if (llamadas.cierra(fd) != 0 && fallo == 0 && errno != EINTR) {
            fallo = errno;
        }
        return fallo;
    }
    QByteArray temporal;
    const int fd = creaTemporal(destino, ".zul-", ".tmp", temporal);
    if (fd < 0) {
        return errno;
    }
    int fallo = escribeTodo(llamadas, fd, datos);
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

QString motivoDeEscritura(int numero) {
    switch (numero) {
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
    case EDQUOT:
        return QStringLiteral("se acabó la cuota de disco");
    case EFBIG:
        return QStringLiteral("el archivo es demasiado grande");
    case EIO:
        return QStringLiteral("error de entrada o salida");
    case EACCES:
    case EPERM:
        return QStringLiteral("no hay permiso para escribir ahí");
    case EROFS:
        return QStringLiteral("el sistema de archivos es de solo lectura");
    case ENOENT:
        return QStringLiteral("la carpeta no existe");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    case ENOMEM:
        return QStringLiteral("no hay memoria suficiente");
    case ENXIO:
        return QStringLiteral("nadie lee de esa tubería");
    case EPIPE:
        return QStringLiteral("quien leía la salida la cerró");
    default:
        return QStringLiteral("error del sistema número %1").arg(numero);
    }
}

void registraParcial(const QByteArray& ruta) {
    if (ruta.size() >= PATH_MAX) {
        return;
    }
    for (Parcial& p : parciales) {
        int libre = 0;
        if (p.estado.compare_exchange_strong(libre, 1)) {
            std::memcpy(p.ruta, ruta.constData(), static_cast<size_t>(ruta.size()) + 1);
            p.estado.store(2);
            return;
        }
    }
}

void olvidaParcial(const QByteArray& ruta) {
    for (Parcial& p : parciales) {
        int lleno = 2;
        if (p.estado.load() == 2 && std::strcmp(p.ruta, ruta.constData()) == 0 &&
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
