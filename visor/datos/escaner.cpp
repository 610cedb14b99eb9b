#include "datos/escaner.h"

#include "datos/numeros.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <sys/stat.h>
#include <system_error>

namespace zul {

using numeros::decimalSimple;
using numeros::esDigito;
using numeros::esEspacio;

namespace {

bool esHex(int c) {
    return esDigito(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int minuscula(int c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// strtod in the "C" locale, whatever locale the process runs in.
double strtodC(const char* inicio, const char* fin, bool& convertido) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string copia(inicio, fin);
    char* final = nullptr;
    const double valor = strtod_l(copia.c_str(), &final, c);
    convertido = final != copia.c_str();
    return valor;
}

// The value strtod gives for the longest number at the start of [inicio, fin),
// which the caller has already delimited exactly as the C library's "%lf"
// collects it.
bool convierte(const char* inicio, const char* fin, double& valor) {
    const char* q = inicio;
    const bool negativo = q < fin && *q == '-';
    if (q < fin && (*q == '-' || *q == '+')) {
        ++q;
    }
    double absoluto = 0.0;
    if (q < fin && minuscula(*q) == 'n') {
        absoluto = std::numeric_limits<double>::quiet_NaN();
    } else if (q < fin && minuscula(*q) == 'i') {
        absoluto = std::numeric_limits<double>::infinity();
    } else {
        const bool hexa = fin - q >= 2 && q[0] == '0' && minuscula(q[1]) == 'x';
        const char* digitos = hexa ? q + 2 : q;
        const auto resultado = std::from_chars(
            digitos, fin, absoluto, hexa ? std::chars_format::hex : std::chars_format::general);
        if (resultado.ec == std::errc::invalid_argument) {
            if (!hexa) {
                return false;
            }
            absoluto = 0.0; // "0x" with no hex digits: the number is the "0"
        } else if (resultado.ec != std::errc()) {
            // Overflow or underflow: strtod's rounding (infinity, subnormals,
            // zero) is the one to match.
            bool convertido = false;
            valor = strtodC(inicio, fin, convertido);
            return convertido;
        }
    }
    valor = negativo ? -absoluto : absoluto;
    return true;
}

} // namespace

std::size_t bytesRestantes(std::FILE* archivo) {
    const int descriptor = fileno(archivo);
    struct stat datos;
    if (descriptor < 0 || fstat(descriptor, &datos) != 0 || !S_ISREG(datos.st_mode)) {
        return 0;
    }
    const long posicion = std::ftell(archivo);
    if (posicion < 0 || datos.st_size <= posicion) {
        return 0;
    }
    return static_cast<std::size_t>(datos.st_size - posicion);
}

// Mirrors the C library's collection of a floating-point field character by
// character, including which characters stay consumed when it fails.
bool Escaner::real(double& valor) {
    saltaEspacios();
    if (decimalSimple(p, fin, valor)) {
        return true;
    }
    const char* inicio = p;
    int c = lee();
    if (c == kFin) {
        return false;
    }
    bool signo = false;
    if (c == '-' || c == '+') {
        signo = true;
        c = lee();
        if (c == kFin) {
            return false;
        }
    }
    // Each letter of "nan", "inf" and "infinity" is consumed before it is
    // checked, so a mismatch stays consumed.
    auto sigue = [this](const char* letras) {
        for (; *letras != '\0'; ++letras) {
            const int l = lee();
            if (l == kFin || minuscula(l) != *letras) {
                return false;
            }
        }
        return true;
    };
    if (minuscula(c) == 'n') {
        return sigue("an") && convierte(inicio, p, valor);
    }
    if (minuscula(c) == 'i') {
        if (!sigue("nf")) {
            return false;
        }
        c = lee();
        if (c != kFin) {
            if (minuscula(c) == 'i') {
                if (!sigue("nity")) {
                    return false;
                }
            } else {
                devuelve(c);
            }
        }
        return convierte(inicio, p, valor);
    }

    bool digito = false, punto = false, exponente = false, hexa = false;
    int letraExponente = 'e';
    if (c == '0') {
        c = lee();
        if (minuscula(c) == 'x') {
            hexa = true;
            letraExponente = 'p';
            c = lee();
        } else {
            digito = true;
        }
    }
    for (;;) {
        if (esDigito(c) || (!exponente && hexa && esHex(c))) {
            digito = true;
        } else if (exponente && p - 2 >= inicio && minuscula(p[-2]) == letraExponente &&
                   (c == '-' || c == '+')) {
            // a sign right after the exponent letter
        } else if (digito && !exponente && minuscula(c) == letraExponente) {
            exponente = punto = true;
        } else if (!punto && c == '.') {
            punto = true;
        } else {
            devuelve(c);
            break;
        }
        c = lee();
        if (c == kFin) {
            break;
        }
    }
    const std::ptrdiff_t largo = p - inicio;
    if (largo == (signo ? 1 : 0) || (hexa && largo == (signo ? 3 : 2))) {
        return false;
    }
    return convierte(inicio, p, valor);
}

bool Escaner::enteroSaturado(long long& valor) {
    saltaEspacios();
    int c = lee();
    if (c == kFin) {
        return false;
    }
    const bool negativo = c == '-';
    if (c == '-' || c == '+') {
        c = lee(); // the sign stays consumed even when no digit follows
    }
    constexpr unsigned long long kLimite = 1ULL << 63;
    unsigned long long magnitud = 0; // never above kLimite
    bool hayDigitos = false;
    bool desborde = false;
    while (esDigito(c)) {
        hayDigitos = true;
        const unsigned d = static_cast<unsigned>(c - '0');
        if (desborde || magnitud > (kLimite - d) / 10) {
            desborde = true;
        } else {
            magnitud = magnitud * 10 + d;
        }
        c = lee();
    }
    devuelve(c);
    if (!hayDigitos) {
        return false;
    }
    // strtoll saturates at the limits of the type.
    if (negativo) {
        valor = desborde || magnitud == kLimite ? LLONG_MIN : -static_cast<long long>(magnitud);
    } else {
        valor = desborde || magnitud == kLimite ? LLONG_MAX : static_cast<long long>(magnitud);
    }
    return true;
}

// The first step of real(), inlined: white space and the common field.
inline __attribute__((always_inline)) bool Escaner::realRapido(double& valor) {
    saltaEspacios();
    return decimalSimple(p, fin, valor);
}

// "%d" for [sign] and one to seven digits; anything else is left to entero().
inline __attribute__((always_inline)) bool Escaner::enteroRapido(int& valor) {
    saltaEspacios();
    return numeros::enteroCorto(p, fin, valor, false);
}

// Each field's fast path gives what its own read gives; when one does not
// apply, the record is read again field by field from its start.
bool Escaner::reales3Entero(double& a, double& b, double& c, int& d) {
    const char* inicio = p;
    if (realRapido(a) && realRapido(b) && realRapido(c) && enteroRapido(d)) {
        return true;
    }
    p = inicio;
    return real(a) && real(b) && real(c) && entero(d);
}

bool Escaner::reales4(double& a, double& b, double& c, double& d) {
    const char* inicio = p;
    if (realRapido(a) && realRapido(b) && realRapido(c) && realRapido(d)) {
        return true;
    }
    p = inicio;
    return real(a) && real(b) && real(c) && real(d);
}

std::size_t Escaner::digitosSueltos(char* destino, std::size_t maximo) {
    std::size_t hechos = 0;
    for (;;) {
        saltaEspacios();
#if defined(__SSE2__)
        // Eight at a time where sixteen bytes alternate digit and white space.
        while (maximo - hechos >= 8 && fin - p >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const int digitos = numeros::mascaraDigitos(v);
            const int blancos = numeros::mascaraBlancos(v);
            if ((digitos & 0x5555) != 0x5555 || (blancos & 0xAAAA) != 0xAAAA) {
                break;
            }
            // The even bytes, the digits, side by side.
            const __m128i pares =
                _mm_packus_epi16(_mm_and_si128(v, _mm_set1_epi16(0x00FF)), _mm_setzero_si128());
            _mm_storel_epi64(reinterpret_cast<__m128i*>(destino + hechos), pares);
            hechos += 8;
            p += 15; // the last space is left, as a read of the eighth digit leaves it
            saltaEspacios();
        }
#endif
        if (hechos == maximo || fin - p < 2 || !esDigito(static_cast<unsigned char>(p[0])) ||
            !esEspacio(static_cast<unsigned char>(p[1]))) {
            return hechos;
        }
        destino[hechos++] = *p++;
    }
}

bool Escaner::enteroLargo(long long& valor) {
    return enteroSaturado(valor);
}

bool Escaner::entero(int& valor) {
    long long largo = 0;
    if (!enteroSaturado(largo)) {
        return false;
    }
    // The library converts strtol's long to int by keeping the low 32 bits.
    valor = static_cast<int>(static_cast<unsigned int>(static_cast<unsigned long long>(largo)));
    return true;
}

} // namespace zul
