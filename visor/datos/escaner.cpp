#include "escaner.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <system_error>

namespace zul {

namespace {

bool esEspacio(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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

} // namespace

std::string leeTodo(std::FILE* archivo) {
    std::string datos;
    std::size_t leidos = 0;
    std::size_t capacidad = 1 << 16;
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

void Escaner::saltaEspacios() {
    while (p < fin && esEspacio(static_cast<unsigned char>(*p))) {
        ++p;
    }
}

bool Escaner::token(const char*& inicio, std::size_t& largo, std::size_t ancho) {
    saltaEspacios();
    if (p == fin) {
        return false;
    }
    inicio = p;
    while (p < fin && static_cast<std::size_t>(p - inicio) < ancho &&
           !esEspacio(static_cast<unsigned char>(*p))) {
        ++p;
    }
    largo = static_cast<std::size_t>(p - inicio);
    return true;
}

// Mirrors the C library's collection of a floating-point field character by
// character, including which characters stay consumed when it fails.
bool Escaner::real(double& valor) {
    saltaEspacios();
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
