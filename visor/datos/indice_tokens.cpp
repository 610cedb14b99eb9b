#include "datos/indice_tokens.h"

#include "datos/numeros.h"
#include "datos/vectorial.h"

#include <cstring>

namespace zul {

namespace {

constexpr std::size_t kBloque = 64;

// One bit per byte of the 64 at b, set where the byte is white space as the C
// library's "C" locale has it: ' ' and '\t' to '\r'.
inline std::uint64_t blancosDelBloque(const char* b) {
#if defined(__SSE2__)
    std::uint64_t mascara = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
        mascara |=
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(numeros::mascaraBlancos(v)))
            << (16 * k);
    }
    return mascara;
#else
    std::uint64_t mascara = 0;
    for (std::size_t k = 0; k < kBloque; ++k) {
        mascara |= static_cast<std::uint64_t>(numeros::esEspacio(static_cast<unsigned char>(b[k])))
                   << k;
    }
    return mascara;
#endif
}

// Writes the offsets of the tokens of [desde, desde + largo) to salida, which
// has room for largo / 2 + 17 of them; returns how many there are.
inline __attribute__((always_inline)) std::size_t apunta(const char* desde, std::size_t largo,
                                                         std::uint32_t* salida0) {
    std::size_t n = 0;
    std::uint64_t anterior = 1; // what precedes desde counts as white space
    for (std::size_t o = 0; o < largo; o += kBloque) {
        std::uint64_t blancos;
        if (largo - o >= kBloque) {
            blancos = blancosDelBloque(desde + o);
        } else {
            // The last bytes, padded with white space, which starts no token.
            char bloque[kBloque];
            std::memset(bloque, ' ', kBloque);
            std::memcpy(bloque, desde + o, largo - o);
            blancos = blancosDelBloque(bloque);
        }
        std::uint64_t comienzos = ~blancos & ((blancos << 1) | anterior);
        anterior = blancos >> 63;

        // Eight entries are written whatever the count, which avoids a branch
        // per token; entries past the count are overwritten later. The top bit
        // keeps the count of trailing zeros defined on an empty mask.
        const int cuenta = __builtin_popcountll(comienzos);
        const auto desplazamiento = static_cast<std::uint32_t>(o);
        std::uint32_t* salida = salida0 + n;
        constexpr std::uint64_t kAlto = 1ULL << 63;
        for (int k = 0; k < 8; ++k) {
            salida[k] =
                desplazamiento + static_cast<std::uint32_t>(__builtin_ctzll(comienzos | kAlto));
            comienzos &= comienzos - 1;
        }
        if (cuenta > 8) {
            for (int k = 8; k < 16; ++k) {
                salida[k] =
                    desplazamiento + static_cast<std::uint32_t>(__builtin_ctzll(comienzos | kAlto));
                comienzos &= comienzos - 1;
            }
            for (int k = 16; comienzos != 0; ++k) {
                salida[k] = desplazamiento + static_cast<std::uint32_t>(__builtin_ctzll(comienzos));
                comienzos &= comienzos - 1;
            }
        }
        n += static_cast<std::size_t>(cuenta);
    }
    return n;
}

std::size_t apuntaPlano(const char* desde, std::size_t largo, std::uint32_t* salida) {
    return apunta(desde, largo, salida);
}

#if ZUL_HAY_VECTORIAL
// The same with the processor's own bit count.
ZUL_VECTORIAL std::size_t apuntaVectorial(const char* desde, std::size_t largo,
                                          std::uint32_t* salida) {
    return apunta(desde, largo, salida);
}
#endif

} // namespace

void IndiceTokens::indexa(const char* desde, const char* hasta) {
    base = desde;
    fin = hasta;
    const std::size_t largo = static_cast<std::size_t>(hasta - desde);
    // At most one token per two bytes, and the unrolled writes go up to
    // sixteen entries past the last one.
    const std::size_t capacidad = largo / 2 + 1 + 16;
    if (inicios.size() < capacidad) {
        inicios.resize(capacidad);
    }
#if ZUL_HAY_VECTORIAL
    if (vectorial::activo()) {
        n = apuntaVectorial(desde, largo, inicios.data());
        return;
    }
#endif
    n = apuntaPlano(desde, largo, inicios.data());
}

} // namespace zul
