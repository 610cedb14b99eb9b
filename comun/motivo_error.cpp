#include "comun/motivo_error.h"

#include <cerrno>

namespace zul {

namespace {

struct Motivo {
    int numero;
    const char* texto;
};

const Motivo kDelSistema[] = {
    {ENOENT, "no existe"},
    {EACCES, "no hay permiso"},
    {EPERM, "no hay permiso"},
    {EISDIR, "es una carpeta"},
    {ENOTDIR, "una parte de la ruta no es una carpeta"},
    {ENAMETOOLONG, "la ruta es demasiado larga"},
    {ELOOP, "la ruta tiene demasiados enlaces simbólicos"},
    {EEXIST, "ya existe"},
    {EROFS, "el sistema de archivos es de solo lectura"},
    {ENOSPC, "no queda espacio en el disco"},
    {EDQUOT, "se acabó la cuota de disco"},
    {EFBIG, "el archivo sería demasiado grande"},
    {EPIPE, "el otro extremo cerró la tubería"},
    {ENOEXEC, "no es un programa que el sistema sepa ejecutar (ni binario ni guion con #!)"},
    {ETXTBSY, "el programa está abierto para escritura"},
    {E2BIG, "los argumentos son demasiado largos"},
    {ENOMEM, "no hay memoria suficiente"},
    {EAGAIN, "el sistema no tiene recursos libres (¿demasiados procesos?)"},
    {EMFILE, "hay demasiados archivos abiertos"},
    {ENFILE, "hay demasiados archivos abiertos"},
    {ENXIO, "el dispositivo no existe o no responde"},
    {ENODEV, "el dispositivo no existe o no responde"},
    {EIO, "error de entrada o salida"},
};

const Motivo kAlLeer[] = {
    {EACCES, "no hay permiso para leerlo"},
    {EPERM, "no hay permiso para leerlo"},
    {EISDIR, "es una carpeta, no un archivo"},
};

const Motivo kAlCrear[] = {
    {ENOENT, "no existe la carpeta"},
    {EACCES, "no hay permiso para escribir ahí"},
    {EPERM, "no hay permiso para escribir ahí"},
};

// The text of `numero` in `tabla`, or null.
template <std::size_t N> const char* busca(const Motivo (&tabla)[N], int numero) {
    for (const Motivo& motivo : tabla) {
        if (motivo.numero == numero) {
            return motivo.texto;
        }
    }
    return nullptr;
}

} // namespace

std::string motivoDelSistema(int numero) {
    const char* texto = busca(kDelSistema, numero);
    return texto != nullptr ? texto : "error del sistema número " + std::to_string(numero);
}

std::string motivoDeError(int numero) {
    const char* texto = busca(kAlLeer, numero);
    return texto != nullptr ? texto : motivoDelSistema(numero);
}

std::string motivoAlCrear(int numero) {
    const char* texto = busca(kAlCrear, numero);
    return texto != nullptr ? texto : motivoDelSistema(numero);
}

} // namespace zul
