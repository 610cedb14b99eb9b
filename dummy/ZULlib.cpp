// The contestant library: the turn protocol over standard input and output.
//
// It uses the C runtime only (nothing of the C++ standard library), so that a contestant written
// in C can link it with the C linker.

#include "ZULlib.h"
#include "ZULinterno.h"
#include "depuracion.h"
#include "grabacion.h"
#include "sin_sigpipe.h"

#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <stdlib.h>
#include <string.h>

namespace {

constexpr int kEntradasIniciales = 100;
constexpr long long kCeldasIniciales = 513LL * 513LL;
constexpr int kTurnosEntreDisparos = 100;
constexpr int kMuro = 5;

struct Entrada {
    float x;
    float y;
    float angulo;
    float fuerza;
};

// The process's state. All of it is zero at start and after zulReiniciar().
int* mapa;               // largo × ancho cells, row by row
long long capacidadMapa; // cells allocated in mapa
long long celdasLeidas;  // cells stored in mapa
Entrada* entradas;       // the turn's entries; those past noJugadores keep older turns' values
int capacidadEntradas;   // all zero until a turn writes them
float anguloAsignado;
float fuerzaAsignada;
int largo;
int ancho;
int noJugadores;
int id;
int esperaDisparo;
bool disparoPedido;
long turno;
char mensaje[512];

enum Lectura { LEIDO, FIN, MAL_FORMADO, FALLO_ES };

// The cell store grows as cells are read, so a huge header allocates nothing that the input
// never fills.
bool asegurarCelda(long long indice, long long total) {
    if (indice < capacidadMapa) {
        return true;
    }
    long long nueva = capacidadMapa == 0 ? kCeldasIniciales : capacidadMapa * 2;
    if (nueva > total) {
        nueva = total;
    }
    if (nueva <= indice) {
        nueva = indice + 1;
    }
    void* p = realloc(mapa, static_cast<size_t>(nueva) * sizeof(int));
    if (p == nullptr) {
        return false;
    }
    mapa = static_cast<int*>(p);
    capacidadMapa = nueva;
    return true;
}

// As the cells: grows with the entries read, never with the N declared.
bool asegurarEntrada(int indice) {
    if (indice < capacidadEntradas) {
        return true;
    }
    long long nueva = capacidadEntradas == 0 ? kEntradasIniciales : capacidadEntradas * 2LL;
    if (nueva <= indice) {
        nueva = indice + 1LL;
    }
    if (nueva > 0x7fffffffLL) {
        nueva = 0x7fffffffLL;
    }
    void* p = realloc(entradas, static_cast<size_t>(nueva) * sizeof(Entrada));
    if (p == nullptr) {
        return false;
    }
    entradas = static_cast<Entrada*>(p);
    memset(entradas + capacidadEntradas, 0,
           static_cast<size_t>(nueva - capacidadEntradas) * sizeof(Entrada));
    capacidadEntradas = static_cast<int>(nueva);
    return true;
}

int memoriaAgotada() {
    snprintf(mensaje, sizeof mensaje, "ZULlib: memoria agotada al guardar %s",
             turno == 0 ? "el mapa" : "las entradas del turno");
    return ZUL_ERROR_ES;
}

// Describes what the input held where a number was expected. It looks only at the character that
// the conversion pushed back: reading more could block while the referee waits for an answer.
void describirSiguiente(FILE* entrada, char* texto, size_t tam) {
    int c = getc(entrada);
    if (c == EOF) {
        snprintf(texto, tam, "el final de la entrada");
    } else if (c > ' ' && c < 127) {
        snprintf(texto, tam, "«%c»", c);
    } else {
        snprintf(texto, tam, "el byte 0x%02X", static_cast<unsigned>(c));
    }
}

// Translates fscanf's result. For an unreadable number it leaves the message saying what was
// expected (a printf format) and where.
Lectura comprobar(int resultado, FILE* entrada, const char* queFormato, ...)
    __attribute__((format(printf, 3, 4)));

Lectura comprobar(int resultado, FILE* entrada, const char* queFormato, ...) {
    if (resultado == 1) {
        return LEIDO;
    }
    // A number cut by the end of the input ("0.5 -" and nothing more) is the end of the input
    // too: the conversion failed only because nothing followed.
    if ((resultado == EOF || resultado == 0) && feof(entrada) && !ferror(entrada)) {
        return FIN;
    }
    char que[200];
    va_list args;
    va_start(args, queFormato);
    vsnprintf(que, sizeof que, queFormato, args);
    va_end(args);
    char donde[48];
    if (turno == 0) {
        snprintf(donde, sizeof donde, "en el mapa");
    } else {
        snprintf(donde, sizeof donde, "en el turno %ld", turno);
    }
    if (resultado == EOF) {
        snprintf(mensaje, sizeof mensaje, "ZULlib: error al leer la entrada %s (%s): %s", donde,
                 que, strerror(errno));
        return FALLO_ES;
    }
    char encontrado[32];
    describirSiguiente(entrada, encontrado, sizeof encontrado);
    snprintf(mensaje, sizeof mensaje,
             "ZULlib: entrada no válida %s: se esperaba %s, pero se encontró %s", donde, que,
             encontrado);
    return MAL_FORMADO;
}

int estadoDe(Lectura l) {
    if (l == FIN) {
        return ZUL_FIN_ENTRADA;
    }
    return l == MAL_FORMADO ? ZUL_ENTRADA_NO_VALIDA : ZUL_ERROR_ES;
}

int leerMapa(FILE* entrada) {
    Lectura l =
        comprobar(fscanf(entrada, "%d", &largo), entrada, "el número de filas del mapa (entero)");
    if (l != LEIDO) {
        return estadoDe(l);
    }
    l = comprobar(fscanf(entrada, "%d", &ancho), entrada,
                  "el número de columnas del mapa (entero)");
    if (l != LEIDO) {
        return estadoDe(l);
    }
    if (largo < 0 || ancho < 0) {
        largo = 0;
        ancho = 0;
    }
    const long long total = static_cast<long long>(largo) * ancho;
    celdasLeidas = 0;
    if (!asegurarEntrada(kEntradasIniciales - 1)) {
        return memoriaAgotada();
    }
    for (long long k = 0; k < total; ++k) {
        int valor = 0;
        l = comprobar(fscanf(entrada, "%d", &valor), entrada,
                      "la casilla de la fila %lld, columna %lld (entero)", k / ancho, k % ancho);
        if (l != LEIDO) {
            return estadoDe(l);
        }
        if (!asegurarCelda(k, total)) {
            return memoriaAgotada();
        }
        mapa[k] = valor;
        celdasLeidas = k + 1;
    }
    return -1;
}

int leerEntradas(FILE* entrada) {
    static const char* const kNombres[4] = {"la coordenada x", "la coordenada y",
                                            "la componente u del vector",
                                            "la componente v del vector"};
    for (int i = 0; i < noJugadores; ++i) {
        float valores[4];
        for (int c = 0; c < 4; ++c) {
            Lectura l = comprobar(fscanf(entrada, "%f", &valores[c]), entrada,
                                  "%s de la entrada %d de %d (real)", kNombres[c], i, noJugadores);
            if (l != LEIDO) {
                return estadoDe(l);
            }
        }
        if (!asegurarEntrada(i)) {
            return memoriaAgotada();
        }
        const double u = valores[2];
        const double v = valores[3];
        // Each step is rounded to float as when stored: so a tiny negative v with a positive u
        // gives exactly 360.
        float a = static_cast<float>(atan2(v, u));
        if (a < 0) {
            a = static_cast<float>(a + 6.283185307179586);
        }
        Entrada& e = entradas[i];
        e.x = valores[0];
        e.y = valores[1];
        e.angulo = static_cast<float>(a * 57.29577951308232);
        e.fuerza = static_cast<float>(sqrt(u * u + v * v));
    }
    return -1;
}

int escribirOrden(FILE* salida) {
    const double theta = static_cast<double>(anguloAsignado) / 180.0 * 3.141592653589793;
    const double x = fuerzaAsignada * cos(theta);
    const double y = fuerzaAsignada * sin(theta);
    const bool disparo = disparoPedido;
    disparoPedido = false;
    // Room for two "%f" of the largest doubles.
    char linea[800];
    const int largoLinea = snprintf(linea, sizeof linea, disparo ? "s %f %f" : "m %f %f", x, y);
    zullib::SinSigpipe b;
    zullib::bloquearSigpipe(&b);
    const bool escrita = fprintf(salida, "%s\n", linea) >= 0 && fflush(salida) == 0;
    const int error = errno;
    if (!escrita) {
        // Dropped, or exit() would try the same write again, with SIGPIPE no longer blocked.
        __fpurge(salida);
    }
    zullib::desbloquearSigpipe(&b, !escrita && error == EPIPE);
    errno = error;
    if (!escrita) {
        snprintf(mensaje, sizeof mensaje,
                 "ZULlib: no se pudo escribir la respuesta del turno %ld: %s", turno,
                 strerror(errno));
        return ZUL_ERROR_ES;
    }
    // After the flush: the referee never waits for the debug file.
    zullib::cerrarTurnoDepuracion(turno - 1, id, linea, static_cast<size_t>(largoLinea));
    return -1;
}

} // namespace

extern "C" {

int zulEjecutar(FILE* entrada, FILE* salida) {
    mensaje[0] = '\0';
    disparoPedido = false;
    zullib::abrirDepuracion();
    int estado = leerMapa(entrada);
    if (estado >= 0) {
        return estado;
    }
    for (;;) {
        if (esperaDisparo > 0) {
            --esperaDisparo;
        }
        ++turno;
        Lectura l = comprobar(fscanf(entrada, "%d", &noJugadores), entrada,
                              "el número de jugadores (entero)");
        if (l != LEIDO) {
            return estadoDe(l);
        }
        estado = leerEntradas(entrada);
        if (estado >= 0) {
            return estado;
        }
        l = comprobar(fscanf(entrada, "%d", &id), entrada,
                      "el identificador propio tras %d entradas (entero)", noJugadores);
        if (l != LEIDO) {
            return estadoDe(l);
        }
        funcionPrincipal();
        estado = escribirOrden(salida);
        if (estado >= 0) {
            return estado;
        }
    }
}

const char* zulMensajeError(void) {
    return mensaje;
}

void zulReiniciar(void) {
    free(mapa);
    free(entradas);
    mapa = nullptr;
    entradas = nullptr;
    capacidadMapa = celdasLeidas = 0;
    capacidadEntradas = 0;
    anguloAsignado = fuerzaAsignada = 0;
    largo = ancho = noJugadores = id = esperaDisparo = 0;
    disparoPedido = false;
    turno = 0;
    mensaje[0] = '\0';
    zullib::reiniciarDepuracion();
}

long zulTurnoActual(void) {
    return turno;
}

void ZULmain(void) {
    int estado = zulEjecutar(zullib::entradaEstandar(), stdout);
    if (mensaje[0] != '\0') {
        fprintf(stderr, "%s\n", mensaje);
    }
    exit(estado);
}

float obtenerPosicionX(int i) {
    return i >= 0 && i < capacidadEntradas ? entradas[i].x : 0.0f;
}
float obtenerPosicionY(int i) {
    return i >= 0 && i < capacidadEntradas ? entradas[i].y : 0.0f;
}
float obtenerAngulo(int i) {
    return i >= 0 && i < capacidadEntradas ? entradas[i].angulo : 0.0f;
}
float obtenerFuerza(int i) {
    return i >= 0 && i < capacidadEntradas ? entradas[i].fuerza : 0.0f;
}

int dirrecionDelMapa(float x, float y) {
    // Compared in double: exact also for widths that a float cannot hold.
    if (!(x >= 0 && static_cast<double>(x) < ancho && y >= 0 && static_cast<double>(y) < largo)) {
        return kMuro;
    }
    const long long indice = static_cast<long long>(y) * ancho + static_cast<long long>(x);
    return indice < celdasLeidas ? mapa[indice] : kMuro;
}

void asignarDireccion(float angulo, float fuerza) {
    anguloAsignado = angulo;
    fuerzaAsignada = fuerza;
}

int obtenerId(void) {
    return id;
}
int anchoDelMapa(void) {
    return ancho;
}
int largoDelMapa(void) {
    return largo;
}
int noDeJugadores(void) {
    return noJugadores;
}

void dispara(void) {
    if (esperaDisparo != 0) {
        return;
    }
    disparoPedido = true;
    esperaDisparo = kTurnosEntreDisparos;
}

int puedoDisparar(void) {
    return esperaDisparo == 0 ? 1 : 0;
}

} // extern "C"
