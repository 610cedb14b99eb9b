#include "motivo_error.h"

#include <cerrno>

namespace zulprueba {

std::string motivoDeError(int numero) {
    switch (numero) {
    case ENOENT:
        return "no existe";
    case EACCES:
    case EPERM:
        return "no hay permiso";
    case EISDIR:
        return "es una carpeta";
    case ENOTDIR:
        return "una parte de la ruta no es una carpeta";
    case ENAMETOOLONG:
        return "la ruta es demasiado larga";
    case ELOOP:
        return "la ruta tiene demasiados enlaces simbólicos";
    case EEXIST:
        return "ya existe";
    case EROFS:
        return "el sistema de archivos es de solo lectura";
    case ENOSPC:
        return "no queda espacio en el disco";
    case EDQUOT:
        return "se acabó la cuota de disco";
    case EFBIG:
        return "el archivo sería demasiado grande";
    case EPIPE:
        return "el otro extremo cerró la tubería";
    case ENOEXEC:
        return "no es un programa que el sistema sepa ejecutar (ni binario ni guion con #!)";
    case ETXTBSY:
        return "el programa está abierto para escritura";
    case E2BIG:
        return "los argumentos son demasiado largos";
    case ENOMEM:
        return "no hay memoria suficiente";
    case EAGAIN:
        return "el sistema no tiene recursos libres (¿demasiados procesos?)";
    case EMFILE:
    case ENFILE:
        return "hay demasiados archivos abiertos";
    case ENXIO:
    case ENODEV:
        return "el dispositivo no existe o no responde";
    case EIO:
        return "error de entrada o salida";
    default:
        return "error del sistema número " + std::to_string(numero);
    }
}

std::string motivoAlCrear(int numero) {
    switch (numero) {
    case ENOENT:
        return "no existe la carpeta";
    case EACCES:
    case EPERM:
        return "no hay permiso para escribir ahí";
    default:
        return motivoDeError(numero);
    }
}

} // namespace zulprueba
