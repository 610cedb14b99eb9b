#include "carrera.h"

#include "escaner.h"
#include "indice_tokens.h"
#include "numeros.h"
#include "vectorial.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

namespace {

// Without a size to go by, pieces start at this many bytes.
constexpr std::size_t kTrozoDesconocido = 1 << 16;

// The stream read piece by piece into one buffer that is reused: a large log
// never sits whole in memory, and the buffer stays in the cache.

class Trozos {
public:
    // `restantes` is the size of the rest of the stream when known (else 0):
    // a small file or a stream of unknown size starts with a smaller buffer.
    Trozos(std::FILE* archivo, std::size_t trozo, std::size_t restantes)
        : archivo(archivo),
          buffer(std::max<std::size_t>(
              std::min(trozo, restantes > 0 ? restantes + 1 : kTrozoDesconocido), 1)) {
        lee();
    }

    const char* inicio() const { return buffer.data(); }
    const char* fin() const { return buffer.data() + usados; }
    bool hayMas() const { return !agotado; }

    // Keeps [desde, fin()) at the front of the buffer and reads more after
    // it; the buffer doubles when what is kept fills it, so every call reads
    // at least one byte or finds the end of the stream.
    void recarga(const char* desde) {
        const std::size_t quedan = static_cast<std::size_t>(fin() - desde);
        std::memmove(buffer.data(), desde, quedan);
        usados = quedan;
        if (usados == buffer.size()) {
            buffer.resize(buffer.size() * 2);
        }
        lee();
    }

private:
    void lee() {
        const std::size_t pedidos = buffer.size() - usados;
        const std::size_t leidos = std::fread(buffer.data() + usados, 1, pedidos, archivo);
        usados += leidos;
        agotado = leidos < pedidos;
    }

    std::FILE* archivo;
    std::vector<char> buffer;
    std::size_t usados = 0;
    bool agotado = false;
};

constexpr std::size_t kTrozo = 1 << 20;

// Tokens of a player or shot record: the letter and four numbers.
constexpr std::size_t kTokensRegistro = 5;
// The stretch of the buffer indexed at a time: big enough to pay for the
// indexing, small enough for the index to stay in the cache.
constexpr std::size_t kVentana = 1 << 16;

// The indexed record reader, once with the plain field reader and, where
// the processor has them, once compiled for the vector instructions with the
// vector field reader in front of the plain one.
namespace plano {
inline __attribute__((always_inline)) bool real(const char*& p, const char* fin, double& valor) {
    return numeros::decimalSimple(p, fin, valor);
}
#include "registros_indexados.inc"
} // namespace plano

#if ZUL_HAY_VECTORIAL
ZUL_VECTORIAL_INICIO
namespace vectores {
inline __attribute__((always_inline)) bool real(const char*& p, const char* fin, double& valor) {
    return (fin - p >= 17 && vectorial::decimalCorto(p, valor)) ||
           numeros::decimalSimple(p, fin, valor);
}
#include "registros_indexados.inc"
} // namespace vectores
ZUL_VECTORIAL_FIN
#endif

} // namespace

void leerCarrera(std::FILE* archivo, Carrera& carrera) {
    leerCarreraEnTrozos(archivo, carrera, kTrozo);
}

// The field rules are the C library's formatted input (see Escaner), so any
// log reads the same as it would token by token with fscanf, only many times
// faster. Plain records are read from a token index of the buffer; any other
// record is parsed from the buffer by Escaner, and when its reading reached
// the end of the buffer, more of the stream might have changed it, so the
// buffer is refilled and the record read again from its start.
void leerCarreraEnTrozos(std::FILE* archivo, Carrera& carrera, std::size_t trozo) {
    // A rough record count from the file size saves most regrowth of the
    // sequences on large logs.
    const std::size_t restantes = bytesRestantes(archivo);
    const std::size_t estimados = restantes / 24;
    Trozos datos(archivo, trozo, restantes);
    Escaner escaner(datos.inicio(), datos.fin());
    IndiceTokens indice;
    bool indexado = false; // whether the index covers part of the current buffer
    std::size_t t = 0;     // the index's next token
    const auto releer = [&](const char* desde) {
        if (escaner.posicion() != datos.fin() || !datos.hayMas()) {
            return false;
        }
        datos.recarga(desde);
        escaner = Escaner(datos.inicio(), datos.fin());
        indexado = false;
        return true;
    };

    const char* token = nullptr;
    std::size_t largo = 0;
    long long n = 0;
    for (;;) {
        bool hayNumero = escaner.enteroLargo(n);
        std::vector<std::string> nombres;
        for (long long i = 0; hayNumero && i < n && i <= kMaxJugadores; ++i) {
            // A log that ends inside the name list leaves the missing names empty.
            const bool hay = escaner.token(token, largo, kLargoToken);
            nombres.push_back(hay ? comoTextoC(token, largo) : std::string());
        }
        if (releer(datos.inicio())) {
            continue;
        }
        if (!hayNumero) {
            throw ErrorFormato("El registro de carrera no empieza con el número de jugadores.");
        }
        carrera.numJugadores = compruebaNumeroJugadores(n);
        carrera.nombres = std::move(nombres);
        break;
    }

    carrera.posiciones.reserve(estimados);
    carrera.angulos.reserve(estimados);
    carrera.vueltas.reserve(estimados);

    int k = 0;
    long long j = 0;
    const auto jugador = [&](double x, double y, double angulo, int vueltas) {
        carrera.posiciones.emplace_back(x, y);
        carrera.angulos.push_back(angulo);
        carrera.vueltas.push_back(vueltas);
        if (++j == n) {
            j = 0;
            ++k;
        }
    };
    const auto disparo = [&](double x0, double y0, double x1, double y1) {
        // Before the first player record of frame k the shot still belongs
        // to frame k - 1.
        const int frame = j > 0 ? k : (k > 0 ? k - 1 : 0);
        carrera.disparos.push_back({QPointF(x0, y0), QPointF(x1, y1)});
        carrera.framesDisparos.push_back(frame);
    };
    // Puts t on the token where the escaner stands, indexing more of the
    // buffer when needed; false when the escaner stands inside a token or too
    // near the end of the buffer for a whole record to be seen.
    const auto alinea = [&]() {
        const char* q = escaner.saltaBlancos();
        if (q == datos.fin()) {
            return false;
        }
        if (indexado && q < indice.hasta()) {
            while (t < indice.cuantos() && indice.token(t) < q) {
                ++t;
            }
            if (t == indice.cuantos() || indice.token(t) != q) {
                return false;
            }
            if (t + kTokensRegistro < indice.cuantos()) {
                return true;
            }
            if (indice.hasta() == datos.fin()) {
                return false;
            }
        }
        const std::size_t quedan = static_cast<std::size_t>(datos.fin() - q);
        indice.indexa(q, q + std::min(quedan, kVentana));
        indexado = true;
        t = 0;
        return t + kTokensRegistro < indice.cuantos();
    };
#if ZUL_HAY_VECTORIAL
    const bool conVectores = vectorial::activo();
#endif
    const auto leeRegistros = [&]() {
#if ZUL_HAY_VECTORIAL
        if (conVectores) {
            return vectores::leeIndexados(indice, t, datos.fin(), jugador, disparo);
        }
#endif
        return plano::leeIndexados(indice, t, datos.fin(), jugador, disparo);
    };

    for (;;) {
        if (alinea()) {
            const std::size_t hasta = leeRegistros();
            if (hasta != t) {
                t = hasta;
                escaner.avanzaA(indice.token(t));
                continue;
            }
        }
        const char* registro = escaner.posicion();
        const bool hayToken = escaner.token(token, largo, kLargoToken);
        const bool esJugador = hayToken && esEtiqueta(token, largo, 'p');
        const bool esDisparo = hayToken && esEtiqueta(token, largo, 's');
        double a = 0, b = 0, c = 0, d = 0;
        int vueltas = 0;
        bool completo = false;
        if (esJugador) {
            completo = escaner.reales3Entero(a, b, c, vueltas);
        } else if (esDisparo) {
            completo = escaner.reales4(a, b, c, d);
        }
        if (releer(registro)) {
            continue;
        }
        if (!hayToken || (esJugador && !completo)) {
            return;
        }
        if (esJugador) {
            jugador(a, b, c, vueltas);
        } else if (esDisparo && completo) {
            disparo(a, b, c, d);
        }
    }
}

} // namespace zul
