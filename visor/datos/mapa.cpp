#include "datos/mapa.h"

#include "datos/escaner.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace zul {

char caracterCelda(long long valor) {
    // The low byte of valor + 48, in unsigned arithmetic so that saturated
    // values cannot overflow.
    const char c =
        static_cast<char>(static_cast<unsigned char>(static_cast<unsigned long long>(valor) + 48u));
    const bool especial = (c >= '0' && c <= '3') || c == '5';
    const bool propio = (valor >= 0 && valor <= 3) || valor == 5;
    return especial && !propio ? '4' : c;
}

std::size_t compruebaDimensiones(long long filas, long long columnas) {
    const std::string dimensiones = std::to_string(filas) + " × " + std::to_string(columnas);
    if (filas < 0 || columnas < 0) {
        throw ErrorFormato("El mapa declara unas dimensiones negativas: " + dimensiones + ".");
    }
    if (filas > INT_MAX || columnas > INT_MAX || (filas > 0 && columnas > INT_MAX / filas)) {
        throw ErrorFormato("El mapa declara demasiadas celdas: " + dimensiones + ".");
    }
    return static_cast<std::size_t>(filas * columnas);
}

namespace {

constexpr std::size_t kTrozo = 1 << 20;
// Without a size to go by, pieces start at this many bytes.
constexpr std::size_t kTrozoDesconocido = 1 << 16;

// Whether the digits of a "%lld" field, [inicio, fin), lie beyond what a
// long long holds: the read then saturated, and its value is not the file's.
bool desborda(const char* inicio, const char* fin) {
    const bool negativo = inicio < fin && *inicio == '-';
    if (inicio < fin && (*inicio == '-' || *inicio == '+')) {
        ++inicio;
    }
    while (fin - inicio > 1 && *inicio == '0') {
        ++inicio;
    }
    const char* limite = negativo ? "9223372036854775808" : "9223372036854775807";
    const std::size_t largo = static_cast<std::size_t>(fin - inicio);
    const std::size_t largoLimite = std::strlen(limite);
    return largo > largoLimite ||
           (largo == largoLimite && std::memcmp(inicio, limite, largoLimite) > 0);
}

// The map's stream read in pieces into one buffer. White space is dropped as
// it is passed; only the field being read is kept when more is read, and a
// field that reaches the end of the piece is read again once more is there,
// since more input could have changed its result.
class Campos {
public:
    // A file smaller than a piece, or a stream of unknown size, starts with a
    // smaller buffer.
    Campos(std::FILE* archivo, std::size_t trozo, std::size_t restantes)
        : archivo(archivo),
          buffer(std::max<std::size_t>(
              std::min(trozo, restantes > 0 ? restantes + 1 : kTrozoDesconocido), 1)),
          escaner(buffer.data(), buffer.data()) {
        carga(0);
    }

    Escaner& lector() { return escaner; }

    // Runs `lee` (a read on the Escaner) on the next field until its result
    // cannot depend on input not read yet. `inicio` is where the field starts.
    template <typename Lee> bool campo(Lee lee, const char*& inicio) {
        for (;;) {
            inicio = escaner.saltaBlancos();
            if (escaner.alFinal() && !agotado) {
                carga(0);
                continue;
            }
            const bool leido = lee(escaner);
            if (!escaner.alFinal() || agotado) {
                return leido;
            }
            conserva(inicio);
        }
    }
    template <typename Lee> bool campo(Lee lee) {
        const char* inicio = nullptr;
        return campo(lee, inicio);
    }

private:
    // Keeps [desde, end of the data) at the front and reads more after it.
    void conserva(const char* desde) {
        const std::size_t quedan = static_cast<std::size_t>(buffer.data() + usados - desde);
        if (quedan > kLargoMaximoNumero) {
            throw ErrorFormato("El mapa tiene un número de más de " +
                               std::to_string(kLargoMaximoNumero) + " caracteres.");
        }
        std::memmove(buffer.data(), desde, quedan);
        if (quedan == buffer.size()) {
            buffer.resize(std::min(buffer.size() * 2, kLargoMaximoNumero + 1));
        }
        carga(quedan);
    }
    void carga(std::size_t quedan) {
        const std::size_t pedidos = buffer.size() - quedan;
        const std::size_t leidos = std::fread(buffer.data() + quedan, 1, pedidos, archivo);
        usados = quedan + leidos;
        agotado = leidos < pedidos;
        escaner = Escaner(buffer.data(), buffer.data() + usados);
    }

    std::FILE* archivo;
    std::vector<char> buffer;
    std::size_t usados = 0;
    bool agotado = false;
    Escaner escaner;
};

// One dimension of the header; false when it cannot be read.
bool dimension(Campos& campos, long long& valor, const char* nombre) {
    const char* inicio = nullptr;
    if (!campos.campo([&](Escaner& e) { return e.enteroLargo(valor); }, inicio)) {
        return false;
    }
    if (desborda(inicio, campos.lector().posicion())) {
        throw ErrorFormato(std::string("El mapa declara un número de ") + nombre +
                           " demasiado grande para leerlo.");
    }
    return true;
}

} // namespace

void leerMapa(std::FILE* archivo, Mapa& mapa) {
    leerMapaEnTrozos(archivo, mapa, kTrozo);
}

void leerMapaEnTrozos(std::FILE* archivo, Mapa& mapa, std::size_t trozo) {
    Campos campos(archivo, trozo, bytesRestantes(archivo));
    long long filas = 0;
    long long columnas = 0;
    const bool hayFilas = dimension(campos, filas, "filas");
    if (!hayFilas || !dimension(campos, columnas, "columnas")) {
        throw ErrorFormato("El mapa no empieza con sus dos dimensiones (filas y columnas).");
    }
    const std::size_t total = compruebaDimensiones(filas, columnas);
    const std::string dimensiones = std::to_string(filas) + " × " + std::to_string(columnas);
    long long valor = 0;
    const auto celda = [&valor](Escaner& e) { return e.enteroLargo(valor); };
    // The first cell is read before the grid is allocated, so that a file that
    // declares a huge grid and holds no cell is refused without taking its memory.
    if (total > 0 && !campos.campo(celda)) {
        throw ErrorFormato("El mapa de " + dimensiones + " no tiene ninguna celda legible.");
    }
    std::string celdas;
    try {
        celdas.resize(total);
    } catch (const std::bad_alloc&) {
        throw ErrorFormato("No hay memoria para un mapa de " + dimensiones + " celdas.");
    }

    if (total > 0) {
        celdas[0] = caracterCelda(valor);
    }
    for (std::size_t indice = 1; indice < total;) {
        // Most cells are one digit and a space: those go straight in.
        indice += campos.lector().digitosSueltos(&celdas[indice], total - indice);
        if (indice == total) {
            break;
        }
        if (!campos.campo(celda)) {
            // The rest of the grid repeats the last value read: one fill, not
            // one failing read per cell.
            std::fill(celdas.begin() + static_cast<std::ptrdiff_t>(indice), celdas.end(),
                      celdas[indice - 1]);
            break;
        }
        celdas[indice++] = caracterCelda(valor);
    }
    mapa.filas = static_cast<int>(filas);
    mapa.columnas = static_cast<int>(columnas);
    mapa.celdas = std::move(celdas);
}

} // namespace zul
