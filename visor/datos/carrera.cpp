#include "datos/carrera.h"

#include "datos/analizador_carrera.h"
#include "datos/escaner.h"

#include <algorithm>
#include <cstring>

namespace zul {

int compruebaNumeroJugadores(long long n, bool noCabe) {
    const std::string maximo = std::to_string(kMaxJugadores);
    if (noCabe && n < 0) {
        throw ErrorFormato("El registro de carrera declara un número de jugadores negativo; hace "
                           "falta al menos uno.");
    }
    if (noCabe) {
        throw ErrorFormato("El registro de carrera declara un número de jugadores demasiado "
                           "grande para leerlo; el máximo es " +
                           maximo + ".");
    }
    if (n < 1) {
        throw ErrorFormato("El registro de carrera declara " + std::to_string(n) +
                           " jugadores; hace falta al menos uno.");
    }
    if (n > kMaxJugadores) {
        throw ErrorFormato("El registro de carrera declara " + std::to_string(n) +
                           " jugadores; el máximo es " + maximo + ".");
    }
    return static_cast<int>(n);
}

void quitaCaracterCortado(std::string& nombre) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(nombre[i]); };
    std::size_t i = nombre.size();
    std::size_t continuaciones = 0;
    while (continuaciones < 3 && i > 0 && (byte(i - 1) & 0xC0) == 0x80) {
        --i;
        ++continuaciones;
    }
    if (i == 0) {
        return;
    }
    const unsigned char primero = byte(i - 1);
    const std::size_t faltan = primero >= 0xF0 && primero <= 0xF4  ? 3
                               : primero >= 0xE0 && primero < 0xF0 ? 2
                               : primero >= 0xC2 && primero < 0xE0 ? 1
                                                                   : 0;
    if (continuaciones < faltan) {
        nombre.resize(i - 1);
    }
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

} // namespace

void leerCarrera(std::FILE* archivo, Carrera& carrera) {
    leerCarreraEnTrozos(archivo, carrera, kTrozo);
}

void leerCarreraEnTrozos(std::FILE* archivo, Carrera& carrera, std::size_t trozo) {
    // A rough record count from the file size saves most regrowth of the
    // sequences on large logs. A shot record takes ten bytes at the least
    // ("s 1 2 3 4" and a separator): a log that turns out to hold many shots
    // gets room for that many frames at once, which keeps millions of them
    // from being copied to grow; memory reserved and never written takes no
    // page.
    const std::size_t restantes = bytesRestantes(archivo);
    AnalizadorCarrera analizador(carrera, restantes / 24, restantes / 10);
    Trozos datos(archivo, trozo, restantes);
    for (;;) {
        const bool final = !datos.hayMas();
        const char* resto = analizador.analiza(datos.inicio(), datos.fin(), final);
        if (final || analizador.terminado()) {
            return;
        }
        datos.recarga(resto);
    }
}

} // namespace zul
