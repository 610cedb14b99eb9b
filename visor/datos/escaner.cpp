#include "escaner.h"

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

namespace {

bool esEspacio(int c) {
    return c == ' ' || static_cast<unsigned>(c - '\t') < 5;
}
bool esDigito(int c) {
    return c >= '0' && c <= '9';
}
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

// Exact powers of ten up to the largest a double holds exactly.
constexpr double kPotencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads the run of decimal digits at q, at most eight of them, into its value;
// returns how many there were. Eight bytes at a time where the input allows.
// Inlined: a call per digit run costs more than the run.
inline __attribute__((always_inline)) int ochoDigitos(const char* q, const char* fin,
                                                      std::uint64_t& valor) {
    if (fin - q < 8) {
        int n = 0;
        valor = 0;
        while (n < 8 && q + n < fin && esDigito(static_cast<unsigned char>(q[n]))) {
            valor = valor * 10 + static_cast<unsigned>(q[n] - '0');
            ++n;
        }
        return n;
    }
    std::uint64_t w;
    std::memcpy(&w, q, 8);
    // A byte is a digit when its top bit is clear, it is at least '0' and below
    // ':'. Each test is done on seven bits, so no carry crosses bytes.
    constexpr std::uint64_t kAltos = 0x8080808080808080ULL;
    const std::uint64_t siete = w & ~kAltos;
    const std::uint64_t noDigito =
        (w | ~(siete + 0x5050505050505050ULL) | (siete + 0x4646464646464646ULL)) & kAltos;
    // The first character is the lowest byte (little-endian load).
    const int n = noDigito == 0 ? 8 : __builtin_ctzll(noDigito) / 8;
    if (n == 0) {
        valor = 0;
        return 0;
    }
    // Only the n leading bytes matter: shifted to the top, the rest become
    // leading zero digits. Bytes past them may borrow, but only upwards.
    std::uint64_t v = (w - 0x3030303030303030ULL) << (8 * (8 - n));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    valor = v;
    return n;
}

// The classification of ochoDigitos: the top bit of each byte of w that is
// not a decimal digit.
inline std::uint64_t noDigitos(std::uint64_t w) {
    constexpr std::uint64_t kAltos = 0x8080808080808080ULL;
    const std::uint64_t siete = w & ~kAltos;
    return (w | ~(siete + 0x5050505050505050ULL) | (siete + 0x4646464646464646ULL)) & kAltos;
}

// The value of the n (1 to 8) leading digits of w, as in ochoDigitos.
inline std::uint64_t valorDigitos(std::uint64_t w, int n) {
    std::uint64_t v = (w - 0x3030303030303030ULL) << (8 * (8 - n));
    v = v * 10 + (v >> 8);
    return (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
            (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
           32;
}

// decimalSimple's most common field, 1-7 digits, a point, 0-7 digits and
// white space, from two loads of eight bytes: where the fraction starts comes
// from the first one's digit mask, not from another load, which shortens the
// chain from one field to the next. False (and nothing changed) otherwise.
inline __attribute__((always_inline)) bool decimalCorto(const char*& p, const char* q,
                                                        bool negativo, double& valor) {
    std::uint64_t w0, w1;
    std::memcpy(&w0, q, 8);
    std::memcpy(&w1, q + 8, 8);
    const std::uint64_t nd0 = noDigitos(w0);
    if (nd0 == 0) {
        return false;
    }
    const int n1 = __builtin_ctzll(nd0) / 8;
    if (n1 == 0 || ((w0 >> (8 * n1)) & 0xFF) != '.') {
        return false;
    }
    // Bytes n1 + 1 .. n1 + 8 of the sixteen: 8 * (n1 + 1) is 16 to 64 bits.
    const int corrimiento = 8 * (n1 + 1);
    const std::uint64_t f =
        corrimiento == 64 ? w1 : (w0 >> corrimiento) | (w1 << (64 - corrimiento));
    const std::uint64_t ndf = noDigitos(f);
    if (ndf == 0) {
        return false;
    }
    const int n2 = __builtin_ctzll(ndf) / 8;
    if (!esEspacio(static_cast<int>((f >> (8 * n2)) & 0xFF))) {
        return false;
    }
    std::uint64_t m = valorDigitos(w0, n1);
    if (n2 > 0) {
        constexpr std::uint64_t kPotencias10[] = {1,     10,     100,     1000,
                                                  10000, 100000, 1000000, 10000000};
        m = m * kPotencias10[n2] + valorDigitos(f, n2);
    }
    // At most 14 digits: m is exact, and so is 10^n2.
    const double absoluto = static_cast<double>(m) / kPotencias[n2];
    valor = negativo ? -absoluto : absoluto;
    p = q + n1 + 1 + n2;
    return true;
}

// The common field: [sign] digits [. digits] ending at white space or at the
// end of the input, with at most 16 digits and at most 22 decimals. Its value
// is m / 10^k with m and 10^k both exact doubles, so the one division rounds
// it exactly as strtod does. Anything else (exponents, hex, inf, nan, longer
// numbers, a field that runs into other characters) is left to the general
// path, and `p` is then untouched.
inline __attribute__((always_inline)) bool decimalSimple(const char*& p, const char* fin,
                                                         double& valor) {
    constexpr std::uint64_t kPotencias10[] = {1,      10,      100,      1000,     10000,
                                              100000, 1000000, 10000000, 100000000};
    const char* q = p;
    const bool negativo = q < fin && *q == '-';
    if (q < fin && (*q == '-' || *q == '+')) {
        ++q;
    }
    if (fin - q >= 16 && decimalCorto(p, q, negativo, valor)) {
        return true;
    }
    std::uint64_t m = 0;
    int digitos = 0;
    int decimales = 0;
    // Up to 16 integer digits, then up to 16 in all.
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        std::uint64_t parte = 0;
        const int n = ochoDigitos(q, fin, parte);
        m = m * kPotencias10[n] + parte;
        digitos += n;
        q += n;
        if (n < 8) {
            break;
        }
    }
    if (q < fin && *q == '.') {
        ++q;
        for (int vuelta = 0; vuelta < 2 && digitos <= 16; ++vuelta) {
            std::uint64_t parte = 0;
            const int n = ochoDigitos(q, fin, parte);
            m = m * kPotencias10[n] + parte;
            digitos += n;
            decimales += n;
            q += n;
            if (n < 8) {
                break;
            }
        }
    }
    if (digitos == 0 || digitos > 16 || m > (1ULL << 53) || decimales > 22 ||
        (q < fin && !esEspacio(static_cast<unsigned char>(*q)))) {
        return false;
    }
    const double absoluto = static_cast<double>(m) / kPotencias[decimales];
    valor = negativo ? -absoluto : absoluto;
    p = q;
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

std::string leeTodo(std::FILE* archivo) {
    std::string datos;
    std::size_t leidos = 0;
    // A file's size lets one read fill the buffer, without copies as it grows;
    // one byte more shows the end was reached. A file that grows meanwhile is
    // still read whole by the doubling below.
    std::size_t capacidad = std::max<std::size_t>(bytesRestantes(archivo) + 1, 1 << 16);
    for (;;) {
        datos.resize(capacidad);
        leidos += std::fread(&datos[leidos], 1, capacidad - leidos, archivo);
        if (leidos < capacidad) {
            break;
        }
        capacidad *= 2;
    }
    datos.resize(leidos);
    return datos;
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

// "%d" for [sign] and one to seven digits, which cannot saturate; anything
// else is left to entero().
inline __attribute__((always_inline)) bool Escaner::enteroRapido(int& valor) {
    saltaEspacios();
    const char* q = p;
    const bool negativo = q < fin && *q == '-';
    if (q < fin && (*q == '-' || *q == '+')) {
        ++q;
    }
    std::uint64_t magnitud = 0;
    const int n = ochoDigitos(q, fin, magnitud);
    if (n == 0 || n == 8) {
        return false;
    }
    const int v = static_cast<int>(magnitud);
    valor = negativo ? -v : v;
    p = q + n;
    return true;
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
