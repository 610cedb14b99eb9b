// The contestant library in process, with a strategy that queries and commands
// everything the library offers. A second reading of the same bytes, with the
// C library's own conversions, says what the library should have seen, so each
// value it reports and each line it writes can be checked, not only survived.
#include "comprobaciones.h"

#include "ZULinterno.h"
#include "ZULlib.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>
#include <vector>

namespace zul::robustez {

namespace {

struct Entrada {
    float x = 0;
    float y = 0;
    float angulo = 0;
    float fuerza = 0;
};

bool mismoFloat(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What the library should hold, read independently from a stream of its own.
struct Espejo {
    std::FILE* archivo = nullptr;
    bool mapaCompleto = false;
    int largo = 0;
    int ancho = 0;
    std::vector<int> celdas;
    std::vector<Entrada> entradas; // every place a turn has written
    long turno = 0;
    int espera = 0;
    float angulo = 0;
    float fuerza = 0;
    std::string salida; // the lines the library should have written
    std::string fallo;  // the first discrepancy
    bool fin = false;   // the last failed read ran into the end of the input
};

Espejo* espejo = nullptr;

void falla(const std::string& que) {
    if (espejo->fallo.empty()) {
        std::ostringstream d;
        d << "turno " << espejo->turno << ": " << que;
        espejo->fallo = d.str();
    }
}

// A failed read that ran into the end of the input, a number cut short included, is the end
// of the game; any other is malformed input.
bool leido(int convertidos, int esperados) {
    if (convertidos == esperados) {
        return true;
    }
    espejo->fin = std::feof(espejo->archivo) != 0;
    return false;
}

bool leeEntero(int& valor) {
    return leido(std::fscanf(espejo->archivo, "%d", &valor), 1);
}

void leeMapa() {
    Espejo& e = *espejo;
    if (!leeEntero(e.largo) || !leeEntero(e.ancho)) {
        return;
    }
    if (e.largo < 0 || e.ancho < 0) {
        e.largo = e.ancho = 0;
    }
    const long long total = static_cast<long long>(e.largo) * e.ancho;
    for (long long k = 0; k < total; ++k) {
        int valor = 0;
        if (!leeEntero(valor)) {
            return;
        }
        e.celdas.push_back(valor);
    }
    e.mapaCompleto = true;
}

// Reads one whole turn block into `n`, `nuevas` and `id`; false if it is not all there.
bool leeTurno(int& n, std::vector<Entrada>& nuevas, int& id) {
    if (!leeEntero(n)) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        float v[4];
        if (!leido(std::fscanf(espejo->archivo, "%f%f%f%f", &v[0], &v[1], &v[2], &v[3]), 4)) {
            return false;
        }
        Entrada entrada;
        entrada.x = v[0];
        entrada.y = v[1];
        const double u = v[2];
        const double w = v[3];
        float a = static_cast<float>(std::atan2(w, u));
        if (a < 0) {
            a = static_cast<float>(a + 6.283185307179586);
        }
        entrada.angulo = static_cast<float>(a * 57.29577951308232);
        entrada.fuerza = static_cast<float>(std::sqrt(u * u + w * w));
        nuevas.push_back(entrada);
    }
    return leeEntero(id);
}

int celdaEsperada(float x, float y) {
    const Espejo& e = *espejo;
    if (!(x >= 0 && static_cast<double>(x) < e.ancho && y >= 0 &&
          static_cast<double>(y) < e.largo)) {
        return 5;
    }
    const long long fila = static_cast<long long>(std::floor(y));
    const long long columna = static_cast<long long>(std::floor(x));
    return e.celdas[static_cast<std::size_t>(fila * e.ancho + columna)];
}

void compruebaCelda(float x, float y) {
    const int obtenida = dirrecionDelMapa(x, y);
    const int esperada = celdaEsperada(x, y);
    if (obtenida != esperada) {
        std::ostringstream d;
        d << "dirrecionDelMapa(" << x << ", " << y << ") = " << obtenida << ", se esperaba "
          << esperada;
        falla(d.str());
    }
}

void compruebaEntrada(int i, const Entrada& esperada) {
    const Entrada obtenida{obtenerPosicionX(i), obtenerPosicionY(i), obtenerAngulo(i),
                           obtenerFuerza(i)};
    if (!mismoFloat(obtenida.x, esperada.x) || !mismoFloat(obtenida.y, esperada.y) ||
        !mismoFloat(obtenida.angulo, esperada.angulo) ||
        !mismoFloat(obtenida.fuerza, esperada.fuerza)) {
        std::ostringstream d;
        d << "la entrada " << i << " da (" << obtenida.x << ", " << obtenida.y << ", "
          << obtenida.angulo << ", " << obtenida.fuerza << "), se esperaba (" << esperada.x << ", "
          << esperada.y << ", " << esperada.angulo << ", " << esperada.fuerza << ")";
        falla(d.str());
    }
    if (!std::isnan(obtenida.angulo) && !(obtenida.angulo >= 0 && obtenida.angulo <= 360)) {
        falla("la entrada " + std::to_string(i) + " tiene un ángulo fuera de 0..360");
    }
    if (!std::isnan(obtenida.fuerza) && !(obtenida.fuerza >= 0)) {
        falla("la entrada " + std::to_string(i) + " tiene una fuerza negativa");
    }
}

// Commands that a strategy might send, odd ones included; they go out unchanged.
const float kOrdenes[][2] = {{0, 1.5f},
                             {90, 2},
                             {270, 1.5f},
                             {-45, 3},
                             {720.5f, -1},
                             {1e30f, 1e30f},
                             {std::numeric_limits<float>::infinity(), 1},
                             {std::numeric_limits<float>::quiet_NaN(), 2},
                             {45, std::numeric_limits<float>::infinity()},
                             {-0.0f, -0.0f}};

void turno() {
    Espejo& e = *espejo;
    e.espera = e.espera > 0 ? e.espera - 1 : 0;
    ++e.turno;
    if (!e.mapaCompleto) {
        falla("la biblioteca empezó los turnos sin un mapa completo");
        return;
    }
    int n = 0;
    int id = 0;
    std::vector<Entrada> nuevas;
    if (!leeTurno(n, nuevas, id)) {
        falla("la biblioteca completó un turno que la entrada no contiene");
        return;
    }
    if (zulTurnoActual() != e.turno) {
        falla("zulTurnoActual() = " + std::to_string(zulTurnoActual()));
    }
    if (noDeJugadores() != n || obtenerId() != id || largoDelMapa() != e.largo ||
        anchoDelMapa() != e.ancho) {
        falla("cabecera del turno: " + std::to_string(noDeJugadores()) + " entradas, id " +
              std::to_string(obtenerId()) + ", mapa " + std::to_string(largoDelMapa()) + " × " +
              std::to_string(anchoDelMapa()));
    }
    if (e.entradas.size() < nuevas.size()) {
        e.entradas.resize(nuevas.size());
    }
    std::copy(nuevas.begin(), nuevas.end(), e.entradas.begin());

    // This turn's entries, and a few places past them that keep older turns' values.
    const std::size_t hasta = std::min(e.entradas.size(), nuevas.size() + 8);
    for (std::size_t i = 0; i < hasta; ++i) {
        compruebaEntrada(static_cast<int>(i), e.entradas[i]);
    }
    const int guardadas = static_cast<int>(e.entradas.size());
    for (int i : {-1, INT_MIN, guardadas, guardadas + 1000, INT_MAX}) {
        compruebaEntrada(i, Entrada{});
    }

    for (std::size_t i = 0; i < std::min<std::size_t>(nuevas.size(), 32); ++i) {
        compruebaCelda(nuevas[i].x, nuevas[i].y);
        compruebaCelda(nuevas[i].x + 0.5f, nuevas[i].y - 0.5f);
    }
    const float a = static_cast<float>(e.ancho);
    const float l = static_cast<float>(e.largo);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float puntos[][2] = {
        {0, 0},         {-0.0f, -0.0f}, {-1e-30f, 0},
        {a, 0},         {0, l},         {std::nextafter(a, 0.0f), std::nextafter(l, 0.0f)},
        {a - 1, l - 1}, {a / 2, l / 2}, {nan, 0},
        {0, nan},       {inf, 0},       {-inf, -inf},
        {3e9f, 3e9f}};
    for (const auto& p : puntos) {
        compruebaCelda(p[0], p[1]);
    }

    // The command: kept from the last turn, copied from an entry, or an odd one.
    switch (e.turno % 4) {
    case 0:
        break;
    case 1:
        if (!nuevas.empty()) {
            e.angulo = nuevas[0].angulo;
            e.fuerza = nuevas[0].fuerza;
            asignarDireccion(e.angulo, e.fuerza);
        }
        break;
    default: {
        const auto& orden = kOrdenes[static_cast<std::size_t>(e.turno + id) % 10];
        e.angulo = orden[0];
        e.fuerza = orden[1];
        asignarDireccion(e.angulo, e.fuerza);
    }
    }

    bool disparo = false;
    if (puedoDisparar() != (e.espera == 0 ? 1 : 0)) {
        falla("puedoDisparar() = " + std::to_string(puedoDisparar()) + " con espera " +
              std::to_string(e.espera));
    }
    if (e.turno % 3 != 0 || (id & 1) != 0) {
        dispara();
        dispara();
        if (e.espera == 0) {
            disparo = true;
            e.espera = 100;
        }
        if (puedoDisparar() != 0) {
            falla("puedoDisparar() no es 0 tras dispara()");
        }
    }

    const double theta = static_cast<double>(e.angulo) / 180.0 * 3.141592653589793;
    char linea[1200];
    std::snprintf(linea, sizeof linea, disparo ? "s %f %f\n" : "m %f %f\n",
                  e.fuerza * std::cos(theta), e.fuerza * std::sin(theta));
    e.salida += linea;
}

// Every line "m X Y" or "s X Y", the numbers as "%f" writes them.
std::string compruebaLineas(const std::string& salida) {
    std::size_t inicio = 0;
    while (inicio < salida.size()) {
        const std::size_t fin = salida.find('\n', inicio);
        if (fin == std::string::npos) {
            return "la última línea de la salida no termina en salto de línea";
        }
        const std::string linea = salida.substr(inicio, fin - inicio);
        char letra = 0;
        char x[600];
        char y[600];
        int consumidos = 0;
        if (std::sscanf(linea.c_str(), "%c %599s %599s%n", &letra, x, y, &consumidos) != 3 ||
            (letra != 'm' && letra != 's') || linea[1] != ' ' ||
            static_cast<std::size_t>(consumidos) != linea.size()) {
            return "línea mal formada: «" + linea + "»";
        }
        for (const char* numero : {x, y}) {
            char* final = nullptr;
            std::strtod(numero, &final);
            if (*final != '\0' || std::strchr(numero, 'e') != nullptr) {
                return "número mal escrito en la línea «" + linea + "»";
            }
        }
        inicio = fin + 1;
    }
    return "";
}

} // namespace

std::string compruebaProtocolo(const std::string& bytes) {
    std::string copiaLibreria = bytes;
    std::string copiaEspejo = bytes;
    std::FILE* entrada = abreMemoria(copiaLibreria);
    Espejo e;
    e.archivo = abreMemoria(copiaEspejo);
    char* texto = nullptr;
    std::size_t largo = 0;
    std::FILE* salida = open_memstream(&texto, &largo);
    if (entrada == nullptr || e.archivo == nullptr || salida == nullptr) {
        return "no se pudieron abrir los flujos en memoria";
    }
    espejo = &e;
    leeMapa();

    zulReiniciar();
    const int estado = zulEjecutar(entrada, salida);
    const std::string mensaje = zulMensajeError();
    std::fclose(salida);
    const std::string escrito(texto, largo);
    std::free(texto);
    std::fclose(entrada);
    zulReiniciar();

    if (e.fallo.empty()) {
        // Whatever ended the library's loop, the rest of the input holds no whole turn.
        int n = 0;
        int id = 0;
        std::vector<Entrada> nuevas;
        if (e.mapaCompleto && leeTurno(n, nuevas, id)) {
            ++e.turno;
            falla("la biblioteca paró antes de un turno completo");
        }
    }
    std::fclose(e.archivo);
    espejo = nullptr;
    if (!e.fallo.empty()) {
        return e.fallo;
    }

    if ((estado == ZUL_FIN_ENTRADA) != e.fin) {
        return "estado " + std::to_string(estado) +
               (e.fin ? ", pero la entrada se acabó: " : ", pero la entrada no se acabó: ") +
               mensaje;
    }
    if (estado == ZUL_FIN_ENTRADA) {
        if (!mensaje.empty()) {
            return "fin de la entrada con mensaje: " + mensaje;
        }
    } else if (estado == ZUL_ENTRADA_NO_VALIDA) {
        if (mensaje.rfind("ZULlib: entrada no válida ", 0) != 0 ||
            mensaje.find('\n') != std::string::npos) {
            return "mensaje de entrada no válida mal formado: " + mensaje;
        }
    } else {
        return "estado " + std::to_string(estado) + " en memoria: " + mensaje;
    }
    if (escrito != e.salida) {
        return "la salida difiere\nescrita:\n" + escrito.substr(0, 2000) + "\nesperada:\n" +
               e.salida.substr(0, 2000);
    }
    return compruebaLineas(escrito);
}

} // namespace zul::robustez

// The test strategy that the library calls once per turn.
void funcionPrincipal() {
    if (zul::robustez::espejo != nullptr) {
        zul::robustez::turno();
    }
}
