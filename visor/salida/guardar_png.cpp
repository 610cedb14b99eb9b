#include "salida/guardar_png.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace zul {

namespace {

// Why a file could not be written, in Spanish, to follow the file's name.
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
    default:
        return QStringLiteral("error del sistema número %1").arg(numero);
    }
}

QString noSeGuardo(const QString& ruta, const QString& motivo,
                   const QString& que = QStringLiteral("la imagen")) {
    return QStringLiteral("No se pudo guardar %1 en %2: %3.").arg(que, ruta, motivo);
}

// A new file of our own in the final one's folder, so that a rename puts it
// in place; a short name of its own, since the final name may already be as
// long as the folder allows. The same permissions as any new file (0666 less
// the umask).
int creaTemporal(const QByteArray& final, QByteArray& temporal) {
    const int barra = final.lastIndexOf('/');
    const QByteArray carpeta = barra < 0 ? QByteArray(".") : final.left(barra + 1);
    for (int intento = 0; intento < 100; ++intento) {
        temporal = carpeta + (barra < 0 ? "/" : "") + ".zulpng-" +
                   QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        const int fd = ::open(temporal.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

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

} // namespace

const LlamadasEscritura& llamadasDelSistema() {
    static const LlamadasEscritura reales = {&::write, &::fsync, &::close};
    return reales;
}

bool guardaPng(const QImage& imagen, const QString& ruta, QString& error,
               const LlamadasEscritura& llamadas) {
    return guardaEnFormato(imagen, ruta, "png", -1, error, llamadas);
}

bool guardaEnFormato(const QImage& imagen, const QString& ruta, const char* formato, int calidad,
                     QString& error, const LlamadasEscritura& llamadas) {
    // The whole picture is encoded first: what reaches the disk is only ever
    // a complete picture.
    QByteArray png;
    try {
        QBuffer memoria(&png);
        memoria.open(QIODevice::WriteOnly);
        QImageWriter escritor(&memoria, formato);
        escritor.setQuality(calidad);
        if (!escritor.write(imagen)) {
            error = noSeGuardo(ruta, escritor.errorString());
            return false;
        }
    } catch (const std::bad_alloc&) {
        error = noSeGuardo(ruta, motivoDeEscritura(ENOMEM));
        return false;
    }

    return guardaDatos(png, ruta, QStringLiteral("la imagen"), error, llamadas);
}

bool guardaDatos(const QByteArray& datos, const QString& ruta, const QString& que, QString& error,
                 const LlamadasEscritura& llamadas) {
    QByteArray final = QFile::encodeName(ruta);
    struct stat estado;
    const bool existe = ::stat(final.constData(), &estado) == 0;
    if (existe && !S_ISREG(estado.st_mode)) {
        // A device or a pipe (/dev/stdout, a FIFO) is written in place: it is
        // no file to replace, and a partial file there cannot be taken back.
        const int fd = ::open(final.constData(), O_WRONLY | O_CLOEXEC);
        int fallo = fd < 0 ? errno : escribeTodo(llamadas, fd, datos);
        if (fd >= 0 && llamadas.cierra(fd) != 0 && fallo == 0 && errno != EINTR) {
            fallo = errno;
        }
        if (fallo != 0) {
            error = noSeGuardo(ruta, motivoDeEscritura(fallo), que);
            return false;
        }
        return true;
    }
    // Through a symbolic link, the file it points to is replaced, not the link.
    char real[PATH_MAX];
    if (existe && ::realpath(final.constData(), real) != nullptr) {
        final = real;
    }
    QByteArray temporal;
    const int fd = creaTemporal(final, temporal);
    if (fd < 0) {
        error = noSeGuardo(ruta, motivoDeEscritura(errno), que);
        return false;
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
    if (fallo == 0 && ::rename(temporal.constData(), final.constData()) != 0) {
        fallo = errno;
    }
    if (fallo != 0) {
        ::unlink(temporal.constData());
        error = noSeGuardo(ruta, motivoDeEscritura(fallo), que);
        return false;
    }
    return true;
}

} // namespace zul
