#include "carrera.h"

#include "escaner.h"

namespace zul {

namespace {

// A token as a C string: a NUL byte inside it ends it, as it would end the
// token read into a char buffer.
std::string comoTextoC(const char* inicio, std::size_t largo) {
    std::size_t n = 0;
    while (n < largo && inicio[n] != '\0') {
        ++n;
    }
    return std::string(inicio, n);
}

bool esEtiqueta(const char* inicio, std::size_t largo, char letra) {
    return largo >= 1 && inicio[0] == letra && (largo == 1 || inicio[1] == '\0');
}

} // namespace

int compruebaNumeroJugadores(long long n) {
    if (n < 1) {
        throw ErrorFormato("El registro de carrera declara " + std::to_string(n) +
                           " jugadores; hace falta al menos uno.");
    }
    if (n > kMaxJugadores) {
        throw ErrorFormato("El registro de carrera declara " + std::to_string(n) +
                           " jugadores; el máximo es " + std::to_string(kMaxJugadores) + ".");
    }
    return static_cast<int>(n);
}

// The whole file is read at once and parsed in memory; the field rules are the
// C library's formatted input (see Escaner), so any log reads the same as it
// would token by token with fscanf, only many times faster.
void leerCarrera(std::FILE* archivo, Carrera& carrera) {
    const std::string datos = leeTodo(archivo);
    Escaner escaner(datos.data(), datos.data() + datos.size());

    long long n = 0;
    if (!escaner.enteroLargo(n)) {
        throw ErrorFormato("El registro de carrera no empieza con el número de jugadores.");
    }
    carrera.numJugadores = compruebaNumeroJugadores(n);

    const char* token = nullptr;
    std::size_t largo = 0;
    carrera.nombres.reserve(static_cast<std::size_t>(n));
    for (long long i = 0; i < n; ++i) {
        // A log that ends inside the name list leaves the missing names empty.
        const bool hay = escaner.token(token, largo, kLargoToken);
        carrera.nombres.push_back(hay ? comoTextoC(token, largo) : std::string());
    }

    // A rough record count from the file size saves most regrowth of the
    // sequences on large logs.
    const std::size_t estimados = datos.size() / 24;
    carrera.posiciones.reserve(estimados);
    carrera.angulos.reserve(estimados);
    carrera.vueltas.reserve(estimados);

    int k = 0;
    for (;;) {
        int j = 0;
        while (j < n) {
            if (!escaner.token(token, largo, kLargoToken)) {
                return;
            }
            if (esEtiqueta(token, largo, 'p')) {
                double x, y, angulo;
                int vueltas;
                if (!escaner.real(x) || !escaner.real(y) || !escaner.real(angulo) ||
                    !escaner.entero(vueltas)) {
                    return;
                }
                carrera.posiciones.emplace_back(x, y);
                carrera.angulos.push_back(angulo);
                carrera.vueltas.push_back(vueltas);
                ++j;
            } else if (esEtiqueta(token, largo, 's')) {
                double x1, y1, x2, y2;
                if (escaner.real(x1) && escaner.real(y1) && escaner.real(x2) && escaner.real(y2)) {
                    // Before the first player record of frame k the shot still
                    // belongs to frame k - 1.
                    const int frame = j > 0 ? k : (k > 0 ? k - 1 : 0);
                    carrera.disparos.push_back({QPointF(x1, y1), QPointF(x2, y2)});
                    carrera.framesDisparos.push_back(frame);
                }
            }
        }
        ++k;
    }
}

} // namespace zul
