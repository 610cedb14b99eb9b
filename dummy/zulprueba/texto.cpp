#include "texto.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace zul {

std::string formato(const char* f, ...) {
    va_list args;
    va_start(args, f);
    va_list copia;
    va_copy(copia, args);
    const int n = vsnprintf(nullptr, 0, f, args);
    va_end(args);
    std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    vsnprintf(s.data(), s.size() + 1, f, copia);
    va_end(copia);
    return s;
}

std::string mostrar(const std::string& s) {
    std::string r;
    for (unsigned char c : s.substr(0, 80)) {
        if (c < ' ' || c == 127) {
            r += formato("\\x%02X", c);
        } else {
            r += static_cast<char>(c);
        }
    }
    if (s.size() > 80) {
        r += "…";
    }
    return "«" + r + "»";
}

namespace {

// strtol and strtof stop at the first NUL; a word with one inside is no number.
bool hastaElFinal(const std::string& s, const char* fin) {
    return !s.empty() && fin == s.c_str() + s.size();
}

} // namespace

bool entero(const std::string& s, long minimo, long maximo, long& valor) {
    errno = 0;
    char* fin = nullptr;
    const long v = strtol(s.c_str(), &fin, 10);
    if (errno != 0 || !hastaElFinal(s, fin) || v < minimo || v > maximo) {
        return false;
    }
    valor = v;
    return true;
}

bool real(const std::string& s) {
    char* fin = nullptr;
    strtof(s.c_str(), &fin);
    return hastaElFinal(s, fin);
}

} // namespace zul
