#include "video/archivo_parcial.h"

#include "video/formatos.h"

#include "datos/escritura_segura.h"
#include "datos/rutas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zul {

namespace {

constexpr int kBufer = 1 << 16;

} // namespace

QString motivoSistema(int numero, const QString& carpeta) {
    switch (numero) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("el disco está lleno");
    case ENOENT:
        return QStringLiteral("la carpeta %1 no existe").arg(carpeta);
    case ENOTDIR:
        return QStringLiteral("%1 no es una carpeta").arg(carpeta);
    case EACCES:
    case EPERM:
        return QStringLiteral("no hay permiso para escribir en la carpeta %1").arg(carpeta);
    case EROFS:
        return QStringLiteral("la carpeta %1 es de solo lectura").arg(carpeta);
    case EIO:
        return QStringLiteral("error de entrada/salida en el disco");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre del archivo es demasiado largo");
    default:
        return QString::fromLocal8Bit(std::strerror(numero));
    }
}

CArchivoParcial::~CArchivoParcial() {
    descarta();
}

bool CArchivoParcial::abre(const QString& ruta, QString& error) {
    descarta();
    destino = ruta;
    final = destinoDe(bytesDeRuta(ruta));
    if (final.existe && !final.regular) {
        error = errorAlEmpezar(ruta, QStringLiteral("ya existe y no es un archivo normal"));
        return false;
    }
    const QString carpeta = QDir::toNativeSeparators(QFileInfo(ruta).absolutePath());
    descriptor = creaTemporal(final, QByteArray(), ".parcial", parcial);
    if (descriptor < 0) {
        parcial.clear();
        error = errno == EEXIST ? errorAlEmpezar(destino, QStringLiteral("no se pudo crear un "
                                                                         "archivo temporal en %1")
                                                              .arg(carpeta))
                                : errorAlEmpezar(destino, motivoSistema(errno, carpeta));
        return false;
    }
    auto* bufer = static_cast<unsigned char*>(av_malloc(kBufer));
    if (bufer != nullptr) {
        avio = avio_alloc_context(bufer, kBufer, 1, this, nullptr, &CArchivoParcial::escribeFfmpeg,
                                  &CArchivoParcial::busca);
    }
    if (avio == nullptr) {
        av_free(bufer);
        descarta();
        error = errorAlEmpezar(destino, QStringLiteral("no hay memoria suficiente"));
        return false;
    }
    return true;
}

int CArchivoParcial::escribe(void* propio, const std::uint8_t* datos, int tamano) {
    auto* self = static_cast<CArchivoParcial*>(propio);
    if (self->errorEscritura != 0) {
        return AVERROR(self->errorEscritura);
    }
    if (self->limite >= 0 && self->escritos + tamano > self->limite) {
        self->errorEscritura = ENOSPC;
        return AVERROR(ENOSPC);
    }
    int hechos = 0;
    while (hechos < tamano) {
        const ssize_t n =
            ::write(self->descriptor, datos + hechos, static_cast<std::size_t>(tamano - hechos));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            self->errorEscritura = errno;
            return AVERROR(errno);
        }
        hechos += static_cast<int>(n);
    }
    self->escritos += tamano;
    return tamano;
}

std::int64_t CArchivoParcial::busca(void* propio, std::int64_t posicion, int desde) {
    auto* self = static_cast<CArchivoParcial*>(propio);
    desde &= ~AVSEEK_FORCE;
    if (desde == AVSEEK_SIZE) {
        struct stat estado {};
        if (::fstat(self->descriptor, &estado) != 0) {
            return AVERROR(errno);
        }
        return estado.st_size;
    }
    const off_t resultado = ::lseek(self->descriptor, static_cast<off_t>(posicion), desde);
    return resultado < 0 ? AVERROR(errno) : static_cast<std::int64_t>(resultado);
}

QString CArchivoParcial::motivoFallo() const {
    if (errorEscritura == 0) {
        return QString();
    }
    return motivoSistema(errorEscritura,
                         QDir::toNativeSeparators(QFileInfo(destino).absolutePath()));
}

bool CArchivoParcial::publica(QString& error) {
    if (descriptor < 0 || avio == nullptr) {
        error = errorAlEscribir(destino, QStringLiteral("el archivo no está abierto"));
        return false;
    }
    avio_flush(avio);
    if (errorEscritura == 0 && avio->error < 0) {
        errorEscritura = EIO;
    }
    // Some file systems report a full disk only when the data reaches it.
    if (errorEscritura == 0 && ::fdatasync(descriptor) != 0 && errno != EINVAL) {
        errorEscritura = errno;
    }
    const int numero = descriptor;
    descriptor = -1;
    if (::close(numero) != 0 && errorEscritura == 0) {
        errorEscritura = errno;
    }
    if (errorEscritura != 0) {
        error = errorAlEscribir(destino, motivoFallo());
        descarta();
        return false;
    }
    const int fallo = publicaTemporal(parcial, final);
    if (fallo != 0) {
        parcial.clear();
        const QString motivo =
            fallo == EISDIR
                ? QStringLiteral("ya existe una carpeta con ese nombre")
                : motivoSistema(fallo, QDir::toNativeSeparators(QFileInfo(destino).absolutePath()));
        error = errorAlEscribir(destino, motivo);
        descarta();
        return false;
    }
    parcial.clear();
    cierra();
    return true;
}

void CArchivoParcial::cierra() {
    if (avio != nullptr) {
        av_freep(&avio->buffer);
        avio_context_free(&avio);
    }
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}

void CArchivoParcial::descarta() {
    cierra();
    if (!parcial.isEmpty()) {
        descartaTemporal(parcial);
        parcial.clear();
    }
    escritos = 0;
    errorEscritura = 0;
}

} // namespace zul
