// Strategy that exercises everything the library offers and logs what it sees with
// registro(). espejo.py does exactly the same with the Python kit; the differential test
// compares the two programs byte for byte.
#include "ZULlib.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

uint64_t semilla = 1;

uint32_t azar() {
    semilla = semilla * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(semilla >> 33);
}

unsigned bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

const double kAngulos[] = {0,    90,    180,      270,       360,  45,    -90,
                           1e30, -1e30, INFINITY, -INFINITY, NAN,  -NAN,  1e-45,
                           3e38, 720.5, 33.3,     -0.0,      1e39, 0.125, 359.9999};
const double kFuerzas[] = {1.5,      2,   0,    -0.0,  -1,    1e30,      1e39,
                           INFINITY, NAN, -NAN, 1e-40, 7e-46, 0.0078125, 1e300};
long turno = 0;

// Texts that the debug file must escape, count or drop.
const char* const kTextos[] = {
    "", "hola", "dos\nlíneas", "barra \\ y \\n", "\x01\x1f\x7f", "ñandú 🏁", "  espacios  ", "%d"};
const double kNumeros[] = {0.5,  -0.0,  1e30, -1e39,     INFINITY,     -INFINITY, NAN,
                           -NAN, 1e-45, 0.1,  123456789, 3.4028235e38, -7.25,     16777217.0};

double numeroRaro() {
    return kNumeros[azar() % (sizeof kNumeros / sizeof(double))];
}

// A few of the debug calls each turn; now and then enough to pass the turn's limits.
void dibujar(int id) {
    const uint32_t cuantos = azar() % 5;
    for (uint32_t k = 0; k < cuantos; ++k) {
        const uint32_t que = azar() % 6;
        const int color = static_cast<int>(azar());
        if (que == 0) {
            const float x1 = static_cast<float>(numeroRaro());
            const float y1 = obtenerPosicionY(0);
            const float x2 = obtenerPosicionX(0);
            dibujaLinea(x1, y1, x2, static_cast<float>(numeroRaro()), color);
        } else if (que == 1) {
            const float x = obtenerPosicionX(1);
            const float r = static_cast<float>(numeroRaro());
            dibujaCirculo(x, obtenerPosicionY(1), r, color);
        } else if (que == 2) {
            const char* texto = kTextos[azar() % (sizeof kTextos / sizeof(char*))];
            const float x = static_cast<float>(numeroRaro());
            dibujaTexto(x, 2.5f, texto, color);
        } else if (que == 3) {
            const char* texto = kTextos[azar() % (sizeof kTextos / sizeof(char*))];
            anota("decisión %d: %s", id, texto);
        } else if (que == 4 && azar() % 16 == 0) {
            const std::string largo(static_cast<size_t>(azar() % 40000) + 30000, 'x');
            anota("%s", largo.c_str());
            dibujaTexto(1, 1, largo.c_str(), color);
        } else if (que == 5 && azar() % 32 == 0) {
            for (int i = 0; i < 10002; ++i) {
                dibujaCirculo(static_cast<float>(i), 0.5f, 1, i);
            }
        }
    }
}

} // namespace

void funcionPrincipal() {
    ++turno;
    const int n = noDeJugadores();
    const int id = obtenerId();
    semilla = (semilla ^ static_cast<uint32_t>(n) ^
               (static_cast<uint64_t>(static_cast<uint32_t>(id)) << 32));
    registro("T %ld n=%d id=%d mapa=%dx%d puedo=%d", turno, n, id, largoDelMapa(), anchoDelMapa(),
             puedoDisparar());
    const int hasta = n < 160 ? n + 2 : 162;
    for (int i = -1; i < hasta; ++i) {
        registro("E %d %08x %08x %08x %08x", i, bits(obtenerPosicionX(i)),
                 bits(obtenerPosicionY(i)), bits(obtenerAngulo(i)), bits(obtenerFuerza(i)));
    }
    const double ancho = anchoDelMapa();
    const double largo = largoDelMapa();
    const double puntos[] = {
        -0.0,     -1e-30, 0.5,       ancho - 0.5, ancho,       ancho + 0.5, ancho - 1e-9, 1e30,
        INFINITY, NAN,    -INFINITY, 16777217.0,  largo - 0.5, largo,       largo - 1e-7, 2.5};
    std::string linea = "D";
    for (double x : puntos) {
        for (double y : puntos) {
            linea += ' ';
            linea += std::to_string(dirrecionDelMapa(static_cast<float>(x), static_cast<float>(y)));
        }
    }
    for (int i = 0; i < n && i < 20; ++i) {
        linea += ' ';
        linea += std::to_string(dirrecionDelMapa(obtenerPosicionX(i), obtenerPosicionY(i)));
    }
    registro("%s", linea.c_str());
    const uint32_t eleccion = azar() % 8;
    if (eleccion < 3) {
        // One draw after the other: argument evaluation order is unspecified.
        const double angulo = kAngulos[azar() % (sizeof kAngulos / sizeof(double))];
        const double fuerza = kFuerzas[azar() % (sizeof kFuerzas / sizeof(double))];
        asignarDireccion(static_cast<float>(angulo), static_cast<float>(fuerza));
    } else if (eleccion < 6) {
        const int j = static_cast<int>(azar() % static_cast<uint32_t>(n > 0 ? n + 2 : 2)) - 1;
        asignarDireccion(obtenerAngulo(j), obtenerFuerza(j));
    }
    if (azar() % 4 == 0) {
        dispara();
        if (azar() % 2 == 0) {
            dispara();
        }
    }
    registro("P %d", puedoDisparar());
    dibujar(id);
}

int main() {
    ZULmain();
}
