#include "fichas.h"

#include "comun/motivo_error.h"
#include "error.h"
#include "texto.h"

#include <cctype>
#include <cerrno>
#include <sys/stat.h>

namespace zul {

ArchivoDeDatos::ArchivoDeDatos(const std::string& ruta, const char* que) : ruta_(ruta) {
    f_ = std::fopen(ruta.c_str(), "r");
    if (f_ == nullptr) {
        throw ErrorDePrueba(formato("no se pudo abrir %s %s: %s", que, ruta.c_str(),
                                    zul::motivoDelSistema(errno).c_str()));
    }
    struct stat st;
    std::string motivo;
    if (fstat(fileno(f_), &st) != 0) {
        motivo = zul::motivoDelSistema(errno);
    } else if (S_ISDIR(st.st_mode)) {
        motivo = "es una carpeta";
    } else if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) {
        motivo = "no es un archivo normal";
    }
    if (!motivo.empty()) {
        std::fclose(f_);
        f_ = nullptr;
        throw ErrorDePrueba(
            formato("no se puede usar %s %s: %s", que, ruta.c_str(), motivo.c_str()));
    }
}

ArchivoDeDatos::~ArchivoDeDatos() {
    if (f_ != nullptr) {
        std::fclose(f_);
    }
}

bool ArchivoDeDatos::siguiente(std::string& palabra, size_t maximo) {
    palabra.clear();
    int c;
    while ((c = getc(f_)) != EOF && std::isspace(c)) {
    }
    while (c != EOF && !std::isspace(c)) {
        palabra += static_cast<char>(c);
        if (maximo > 0 && palabra.size() > maximo) {
            throw ErrorDePrueba(formato("%s: una palabra de más de %zu bytes: %s", ruta_.c_str(),
                                        maximo, mostrar(palabra).c_str()));
        }
        if (c < ' ' || c == 127) {
            break;
        }
        c = getc(f_);
    }
    if (std::ferror(f_)) {
        throw ErrorDePrueba(
            formato("no se pudo leer %s: %s", ruta_.c_str(), zul::motivoDelSistema(errno).c_str()));
    }
    return !palabra.empty();
}

} // namespace zul
