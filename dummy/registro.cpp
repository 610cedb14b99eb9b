// registro(): the contestant's log lines on standard error, each tagged with its turn.
//
// C runtime only, as the rest of the library.

#include "ZULinterno.h"
#include "ZULlib.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

extern "C" {

void registro(const char* formato, ...) {
    char local[1024];
    char* texto = local;
    const int prefijo = snprintf(local, sizeof local, "[turno %ld] ", zulTurnoActual());
    va_list args;
    va_list copia;
    va_start(args, formato);
    va_copy(copia, args);
    const int largoTexto = vsnprintf(local + prefijo, sizeof local - prefijo, formato, args);
    va_end(args);
    if (largoTexto < 0) {
        va_end(copia);
        return;
    }
    size_t total = static_cast<size_t>(prefijo) + static_cast<size_t>(largoTexto);
    if (total + 2 > sizeof local) {
        // Long lines: just enough is allocated instead of cutting them.
        texto = static_cast<char*>(malloc(total + 2));
        if (texto == nullptr) {
            va_end(copia);
            return;
        }
        memcpy(texto, local, static_cast<size_t>(prefijo));
        vsnprintf(texto + prefijo, total + 2 - prefijo, formato, copia);
    }
    va_end(copia);
    while (total > static_cast<size_t>(prefijo) && texto[total - 1] == '\n') {
        --total;
    }
    texto[total++] = '\n';
    fwrite(texto, 1, total, stderr);
    if (texto != local) {
        free(texto);
    }
}

} // extern "C"
