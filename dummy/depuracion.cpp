#include "depuracion.h"

#include "ZULlib.h"
#include "sin_sigpipe.h"

#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zullib {

namespace {

const char kCabecera[] = "zul-depuracion 1\n";

enum Estado { SIN_ABRIR, ACTIVA, INACTIVA };

Estado estado;
int archivo = -1;
const char* ruta;
char* bloque; // what the turn drew, ready to write
size_t largoBloque;
size_t capacidadBloque;
long dibujos;
size_t bytesTexto;
long descartados;
bool avisado;
long turnoActual; // counted from 0, for the limit's warning

void avisar(const char* formato, ...) __attribute__((format(printf, 1, 2)));

void avisar(const char* formato, ...) {
    va_list args;
    va_start(args, formato);
    vfprintf(stderr, formato, args);
    va_end(args);
}

void cerrar() {
    if (archivo >= 0) {
        close(archivo);
    }
    archivo = -1;
    estado = INACTIVA;
}

bool escribirTodo(const char* datos, size_t largo) {
    while (largo > 0) {
        SinSigpipe b;
        bloquearSigpipe(&b);
        const ssize_t n = write(archivo, datos, largo);
        desbloquearSigpipe(&b, n < 0 && errno == EPIPE);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // The game goes on without the debug file.
            avisar("ZULlib: no se pudo escribir en %s (%s); se deja de guardar la depuración\n",
                   ruta, n < 0 ? strerror(errno) : "no cabe nada más");
            cerrar();
            return false;
        }
        datos += n;
        largo -= static_cast<size_t>(n);
    }
    return true;
}

bool activa() {
    if (estado == SIN_ABRIR) {
        abrirDepuracion();
    }
    return estado == ACTIVA;
}

bool anadir(const char* datos, size_t largo) {
    if (largoBloque + largo > capacidadBloque) {
        size_t nueva = capacidadBloque == 0 ? 4096 : capacidadBloque * 2;
        while (nueva < largoBloque + largo) {
            nueva *= 2;
        }
        void* p = realloc(bloque, nueva);
        if (p == nullptr) {
            return false;
        }
        bloque = static_cast<char*>(p);
        capacidadBloque = nueva;
    }
    memcpy(bloque + largoBloque, datos, largo);
    largoBloque += largo;
    return true;
}

bool anadirTexto(const char* s) {
    return anadir(s, strlen(s));
}

// The shortest "%g" that reads back as the same float; non-finite values spelt out, so that no
// NaN sign depends on how the value was made.
void numero(char* buf, size_t tam, float f) {
    if (isnan(f)) {
        snprintf(buf, tam, "nan");
        return;
    }
    if (isinf(f)) {
        snprintf(buf, tam, f > 0 ? "inf" : "-inf");
        return;
    }
    for (int p = 1; p <= 9; ++p) {
        snprintf(buf, tam, "%.*g", p, static_cast<double>(f));
        if (strtof(buf, nullptr) == f) {
            return;
        }
    }
}

// One line of text inside the block: a backslash, a line break or another control byte would
// break the format, so they are written as escapes.
bool anadirEscapado(const char* texto, size_t largo) {
    char trozo[256];
    size_t n = 0;
    for (size_t k = 0; k < largo; ++k) {
        const unsigned char c = static_cast<unsigned char>(texto[k]);
        if (n + 4 >= sizeof trozo) {
            if (!anadir(trozo, n)) {
                return false;
            }
            n = 0;
        }
        if (c == '\\') {
            trozo[n++] = '\\';
            trozo[n++] = '\\';
        } else if (c == '\n') {
            trozo[n++] = '\\';
            trozo[n++] = 'n';
        } else if (c < 0x20 || c == 0x7f) {
            n += static_cast<size_t>(snprintf(trozo + n, 5, "\\x%02x", c));
        } else {
            trozo[n++] = static_cast<char>(c);
        }
    }
    return anadir(trozo, n);
}

// Whether one more item with `texto` bytes of text fits in the turn; counts it if so.
bool cabe(size_t texto) {
    if (dibujos < kMaxDibujosPorTurno && texto <= kMaxTextoPorTurno - bytesTexto) {
        ++dibujos;
        bytesTexto += texto;
        return true;
    }
    ++descartados;
    if (!avisado) {
        avisado = true;
        avisar("ZULlib: el turno %ld pasa de %ld dibujos o %zu bytes de texto de depuración; lo "
               "que sobra no se guarda en %s (este aviso sale una vez por partida)\n",
               turnoActual, kMaxDibujosPorTurno, kMaxTextoPorTurno, ruta);
    }
    return false;
}

unsigned rgb(int color) {
    return static_cast<unsigned>(color) & 0xffffffu;
}

void figura(const char* tipo, const float* valores, int cuantos, int color) {
    if (!activa() || !cabe(0)) {
        return;
    }
    char linea[256];
    size_t n = static_cast<size_t>(snprintf(linea, sizeof linea, "%s", tipo));
    for (int k = 0; k < cuantos; ++k) {
        char buf[32];
        numero(buf, sizeof buf, valores[k]);
        n += static_cast<size_t>(snprintf(linea + n, sizeof linea - n, " %s", buf));
    }
    n += static_cast<size_t>(snprintf(linea + n, sizeof linea - n, " %06x\n", rgb(color)));
    anadir(linea, n); // all or nothing
}

} // namespace

void abrirDepuracion() {
    if (estado != SIN_ABRIR) {
        return;
    }
    estado = INACTIVA;
    ruta = getenv("ZUL_DEPURACION");
    if (ruta == nullptr || ruta[0] == '\0') {
        return;
    }
    // Not truncated before the checks, and without waiting for a reader if it is a pipe.
    archivo = open(ruta, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (archivo < 0) {
        avisar("ZULlib: no se pudo crear %s para la depuración (%s); se juega sin ella\n", ruta,
               errno == ENXIO ? "nadie lee la tubería" : strerror(errno));
        return;
    }
    struct stat destino;
    memset(&destino, 0, sizeof destino);
    fstat(archivo, &destino);
    const int propios[] = {STDIN_FILENO, STDOUT_FILENO};
    for (int fd : propios) {
        struct stat otro;
        if (fstat(fd, &otro) == 0 && S_ISREG(destino.st_mode) && destino.st_dev == otro.st_dev &&
            destino.st_ino == otro.st_ino) {
            avisar("ZULlib: %s es la propia entrada o salida estándar; se juega sin depuración "
                   "para no borrarla\n",
                   ruta);
            cerrar();
            return;
        }
    }
    fcntl(archivo, F_SETFL, fcntl(archivo, F_GETFL) & ~O_NONBLOCK);
    if (S_ISREG(destino.st_mode) && ftruncate(archivo, 0) != 0) {
        avisar("ZULlib: no se pudo vaciar %s (%s); se juega sin depuración\n", ruta,
               strerror(errno));
        cerrar();
        return;
    }
    estado = ACTIVA;
    escribirTodo(kCabecera, sizeof kCabecera - 1);
}

void cerrarTurnoDepuracion(long turno, int id, const char* orden, size_t largo) {
    if (activa()) {
        char cabeza[64];
        char pie[64];
        const int n = snprintf(cabeza, sizeof cabeza, "turno %ld id %d ", turno, id);
        const int m = descartados > 0
                          ? snprintf(pie, sizeof pie, "descartados %ld\nfin\n", descartados)
                          : snprintf(pie, sizeof pie, "fin\n");
        // Header and end go around what the turn drew, in one write.
        char* todo = static_cast<char*>(
            malloc(static_cast<size_t>(n) + largo + 1 + largoBloque + static_cast<size_t>(m)));
        if (todo == nullptr) {
            avisar("ZULlib: memoria agotada al guardar la depuración en %s; se deja de "
                   "guardar\n",
                   ruta);
            cerrar();
        } else {
            size_t k = 0;
            memcpy(todo, cabeza, static_cast<size_t>(n));
            k += static_cast<size_t>(n);
            memcpy(todo + k, orden, largo);
            k += largo;
            todo[k++] = '\n';
            if (largoBloque > 0) {
                memcpy(todo + k, bloque, largoBloque);
                k += largoBloque;
            }
            memcpy(todo + k, pie, static_cast<size_t>(m));
            k += static_cast<size_t>(m);
            escribirTodo(todo, k);
            free(todo);
        }
    }
    largoBloque = 0;
    dibujos = 0;
    bytesTexto = 0;
    descartados = 0;
    turnoActual = turno + 1;
}

void reiniciarDepuracion() {
    if (archivo >= 0) {
        close(archivo);
    }
    archivo = -1;
    estado = SIN_ABRIR;
    free(bloque);
    bloque = nullptr;
    largoBloque = capacidadBloque = 0;
    dibujos = 0;
    bytesTexto = 0;
    descartados = 0;
    avisado = false;
    turnoActual = 0;
}

} // namespace zullib

extern "C" {

void dibujaLinea(float x1, float y1, float x2, float y2, int color) {
    const float v[] = {x1, y1, x2, y2};
    zullib::figura("linea", v, 4, color);
}

void dibujaCirculo(float x, float y, float radio, int color) {
    const float v[] = {x, y, radio};
    zullib::figura("circulo", v, 3, color);
}

void dibujaTexto(float x, float y, const char* texto, int color) {
    using namespace zullib;
    const size_t largo = texto == nullptr ? 0 : strlen(texto);
    if (!activa() || !cabe(largo)) {
        return;
    }
    char linea[128];
    char bx[32];
    char by[32];
    numero(bx, sizeof bx, x);
    numero(by, sizeof by, y);
    const int n = snprintf(linea, sizeof linea, "texto %s %s %06x ", bx, by, rgb(color));
    const size_t antes = largoBloque;
    if (!anadir(linea, static_cast<size_t>(n)) || !anadirEscapado(texto, largo) ||
        !anadir("\n", 1)) {
        largoBloque = antes; // never half a line
    }
}

void anota(const char* formato, ...) {
    using namespace zullib;
    if (!activa() || formato == nullptr) {
        return;
    }
    va_list args;
    va_start(args, formato);
    char* texto = nullptr;
    const int largo = vasprintf(&texto, formato, args);
    va_end(args);
    if (largo < 0) {
        return;
    }
    const size_t antes = largoBloque;
    if (cabe(static_cast<size_t>(largo)) &&
        (!anadirTexto("nota ") || !anadirEscapado(texto, static_cast<size_t>(largo)) ||
         !anadir("\n", 1))) {
        largoBloque = antes; // never half a line
    }
    free(texto);
}

} // extern "C"
