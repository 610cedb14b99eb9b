#pragma once

// The fast paths of the race log's numeric fields, shared by Escaner and the
// record-at-a-time reader of the race log. Each one either gives exactly what
// the C library's formatted input would for the field at hand, or declines
// and changes nothing, leaving the field to the general path.

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zul::numeros {

inline bool esEspacio(int c) {
    return c == ' ' || static_cast<unsigned>(c - '\t') < 5;
}
inline bool esDigito(int c) {
    return c >= '0' && c <= '9';
}

#if defined(__SSE2__)
// Sixteen bytes at a time: a mask with one bit per byte (the lowest for the
// first byte) of the bytes that are decimal digits, and of those that are
// white space (' ' and '\t' to '\r', as in the "C" locale).
inline int mascaraDigitos(__m128i v) {
    const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
}
inline int mascaraBlancos(__m128i v) {
    // '\t' to '\r' are the bytes at most 4 above '\t'.
    const __m128i t = _mm_sub_epi8(v, _mm_set1_epi8('\t'));
    return _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(4)), t),
                                          _mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
}
#endif

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

// "%d" for [sign] and one to seven digits, which cannot saturate. With
// `token`, the digits must also end at white space, so that the field is
// exactly one whitespace-separated token.
inline __attribute__((always_inline)) bool enteroCorto(const char*& p, const char* fin, int& valor,
                                                       bool token) {
    const char* q = p;
    const bool negativo = q < fin && *q == '-';
    if (q < fin && (*q == '-' || *q == '+')) {
        ++q;
    }
    std::uint64_t magnitud = 0;
    const int n = ochoDigitos(q, fin, magnitud);
    if (n == 0 || n == 8 ||
        (token && (q + n == fin || !esEspacio(static_cast<unsigned char>(q[n]))))) {
        return false;
    }
    const int v = static_cast<int>(magnitud);
    valor = negativo ? -v : v;
    p = q + n;
    return true;
}

} // namespace zul::numeros
