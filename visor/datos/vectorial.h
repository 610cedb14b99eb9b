#pragma once

// The race log's common numeric field parsed with SSE4.1, for x86-64
// processors that have it (nearly all in use; the reader checks at run time
// and keeps the plain path otherwise); and the progress round the track
// worked out with AVX2 or AVX-512 where the processor has them.

namespace zul::vectorial {

// Whether the readers take the vector paths: by default, where the processor
// has the instructions. Tests turn them off to cover the plain paths too.
bool activo();
// Turns them on (only where the processor has them) or off.
void activa(bool si);
// Whether the paths with 256-bit AVX2 instructions are taken: when the
// processor has them (and SSE4.1), unless limited.
bool avx2();
// The same for the paths with 512-bit AVX-512 instructions (AVX-512F).
bool avx512();
// The widest instructions the paths may take, in bits: 512 (any, as
// activa(true)), 256 (up to AVX2), 128 (up to SSE4.1) or 0 (none, as
// activa(false)). Tests narrow it to cover every path on a processor that
// has them all.
void limita(int bits);

} // namespace zul::vectorial

#if defined(__x86_64__) && defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#define ZUL_HAY_VECTORIAL 1

#include "datos/numeros.h"

// GCC 12 warns about the undefined registers inside some AVX-512 intrinsics
// themselves (GCC bug 105593), wherever they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include <cstdint>

// Functions using the instructions carry this attribute; only code reached
// when vectorial::activo() says so may call them.
#define ZUL_VECTORIAL __attribute__((target("ssse3,sse4.1,popcnt")))
// The same for the AVX2 paths, only reached when vectorial::avx2() says so.
#define ZUL_AVX2 __attribute__((target("avx2")))
#define ZUL_AVX512 __attribute__((target("avx2,avx512f")))
// The same for every function defined between the two.
// clang-format off
#if defined(__clang__)
#define ZUL_VECTORIAL_INICIO _Pragma("clang attribute push(__attribute__((target(\"ssse3,sse4.1,popcnt\"))), apply_to = function)")
#define ZUL_VECTORIAL_FIN _Pragma("clang attribute pop")
#else
#define ZUL_VECTORIAL_INICIO _Pragma("GCC push_options") _Pragma("GCC target(\"ssse3,sse4.1,popcnt\")")
#define ZUL_VECTORIAL_FIN _Pragma("GCC pop_options")
#endif
// clang-format on

namespace zul::vectorial {

// Shuffles that drop the point after n integer digits: lane j takes byte j
// before the point and byte j + 1 from it on.
struct TablaSinPunto {
    alignas(16) std::uint8_t filas[16][16];
    constexpr TablaSinPunto() : filas() {
        for (int n = 0; n < 16; ++n) {
            for (int j = 0; j < 16; ++j) {
                const int origen = j < n ? j : j + 1;
                filas[n][j] = static_cast<std::uint8_t>(origen < 16 ? origen : 0x80);
            }
        }
    }
};
// Shuffles that move the first n bytes to the end of the register, with
// zeros (0x80 lanes) before them.
struct TablaAlineado {
    alignas(16) std::uint8_t filas[17][16];
    constexpr TablaAlineado() : filas() {
        for (int n = 0; n <= 16; ++n) {
            for (int j = 0; j < 16; ++j) {
                const int origen = j - (16 - n);
                filas[n][j] = static_cast<std::uint8_t>(origen >= 0 ? origen : 0x80);
            }
        }
    }
};
inline constexpr TablaSinPunto kSinPunto{};
inline constexpr TablaAlineado kAlineado{};

// numeros::decimalSimple for a field of [sign] digits [. digits] that ends
// at white space within sixteen bytes of its first digit; 17 bytes must be
// readable at p. Its value is the same m / 10^k, so it declines only where
// the plain path may still apply, and the caller then tries that one.
ZUL_VECTORIAL inline bool decimalCorto(const char*& p, double& valor) {
    const char* q = p;
    const bool negativo = *q == '-';
    q += (*q == '-') | (*q == '+');
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    const auto digitos = static_cast<unsigned>(numeros::mascaraDigitos(v));
    const auto puntos =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('.'))));
    const auto blancos = static_cast<unsigned>(numeros::mascaraBlancos(v));
    // Bits 16 and up of ~digitos are set, so both counts stop at 16.
    const int n1 = __builtin_ctz(~digitos);
    const bool punto = (puntos >> n1) & 1;
    const int n2 = punto ? __builtin_ctz(~digitos >> (n1 + 1)) : 0;
    const int final = punto ? n1 + 1 + n2 : n1;
    if (n1 + n2 == 0 || final >= 16 || ((blancos >> final) & 1) == 0) {
        return false;
    }
    // The n1 + n2 digits without the point, at the end of the register.
    __m128i x =
        _mm_shuffle_epi8(d, _mm_load_si128(reinterpret_cast<const __m128i*>(kSinPunto.filas[n1])));
    x = _mm_shuffle_epi8(
        x, _mm_load_si128(reinterpret_cast<const __m128i*>(kAlineado.filas[n1 + n2])));
    // Pairs, fours and eights of digits: two values of eight digits each.
    const __m128i pares = _mm_maddubs_epi16(x, _mm_set1_epi16(0x010A));
    const __m128i cuatros = _mm_madd_epi16(pares, _mm_set1_epi32(0x00010064));
    const __m128i juntos = _mm_packus_epi32(cuatros, cuatros);
    const __m128i ochos = _mm_madd_epi16(juntos, _mm_set1_epi32(0x00012710));
    const auto alto =
        static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_cvtsi128_si32(ochos)));
    const auto bajo = static_cast<std::uint32_t>(_mm_extract_epi32(ochos, 1));
    const std::uint64_t m = alto * 100000000u + bajo;
    // At most fourteen digits: m is exact, and so is 10^n2.
    const double absoluto = static_cast<double>(m) / numeros::kPotencias[n2];
    valor = negativo ? -absoluto : absoluto;
    p = q + final;
    return true;
}

} // namespace zul::vectorial

#endif
