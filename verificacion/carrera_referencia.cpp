#include "referencia.h"

#include <cerrno>
#include <cstring>

namespace zul {

namespace {

// "%199s", and the rest of a longer token skipped: a token is one token
// however long it is. `cortado` says whether there was a rest.
bool leeToken(std::FILE* archivo, char (&token)[kLargoToken + 1], bool& cortado) {
    static_assert(kLargoToken == 199, "the \"%199s\" format below spells the token length");
    int antes = 0;
    int despues = 0;
    if (std::fscanf(archivo, "%199s%n%*[^ \t\n\v\f\r]%n", token, &antes, &despues) != 1) {
        return false;
    }
    cortado = despues > antes;
    return true;
}

} // namespace

void leerCarreraReferencia(std::FILE* archivo, Carrera& carrera) {
    long long n = 0;
    errno = 0;
    if (std::fscanf(archivo, "%lld", &n) != 1) {
        throw ErrorFormato("El registro de carrera no empieza con el número de jugadores.");
    }
    // The C library saturates a count beyond long long and says so in errno.
    carrera.numJugadores = compruebaNumeroJugadores(n, errno == ERANGE);

    char token[kLargoToken + 1];
    bool cortado = false;
    carrera.nombres.reserve(static_cast<std::size_t>(n));
    for (long long i = 0; i < n; ++i) {
        if (!leeToken(archivo, token, cortado)) {
            token[0] = '\0'; // the log ended inside the name list
        }
        carrera.nombres.emplace_back(token);
        if (cortado && carrera.nombres.back().size() == static_cast<std::size_t>(kLargoToken)) {
            quitaCaracterCortado(carrera.nombres.back());
        }
    }
    if (std::feof(archivo)) {
        return;
    }

    int k = 0;
    for (;;) {
        int j = 0;
        while (j < n) {
            if (!leeToken(archivo, token, cortado)) {
                return;
            }
            if (std::strcmp(token, "p") == 0) {
                double x, y, angulo;
                int vueltas;
                if (std::fscanf(archivo, "%lf %lf %lf %d", &x, &y, &angulo, &vueltas) != 4) {
                    return;
                }
                carrera.posiciones.emplace_back(x, y);
                carrera.angulos.push_back(angulo);
                carrera.vueltas.push_back(vueltas);
                ++j;
            } else if (std::strcmp(token, "s") == 0) {
                double x1, y1, x2, y2;
                if (std::fscanf(archivo, "%lf %lf %lf %lf", &x1, &y1, &x2, &y2) == 4) {
                    // Before the first player record of frame k the shot still
                    // belongs to frame k - 1.
                    const int frame = j > 0 ? k : (k > 0 ? k - 1 : 0);
                    carrera.disparos.push_back({QPointF(x1, y1), QPointF(x2, y2)});
                    carrera.framesDisparos.push_back(frame);
                }
            }
        }
        if (std::feof(archivo)) {
            return;
        }
        ++k;
    }
}

} // namespace zul
