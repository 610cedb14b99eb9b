#include "datos/escritura_segura.h"

#include <cerrno>

namespace zul {

int creaTemporal(const DestinoEscritura& destino, const QByteArray& prefijo,
                 const QByteArray& sufijo, QByteArray& temporal) {
    std::string nombre;
    const int fd = creaTemporal(destino, prefijo.toStdString(), sufijo.toStdString(), nombre);
    temporal = QByteArray::fromStdString(nombre);
    return fd;
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

} // namespace zul
