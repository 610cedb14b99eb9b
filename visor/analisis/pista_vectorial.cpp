// The distance field's vector paths: its rows four cells at a time while it
// is made, and the progress of the records whose lap cannot change several
// at a time, exactly as CampoPista works out one.
#include "analisis/pista_vectorial.h"

#include "analisis/pista.h"
#include "analisis/recorrido_pista.h"
#include "datos/vectorial.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zul {

#if ZUL_HAY_VECTORIAL
namespace campoVectorial {

using recorrido::kSinCamino;
using recorrido::kUnidad;

// The mean of the two ways of a row of `n` cells, four at a time as
// CampoPista's constructor works it out one at a time (`largo5` is the lap
// in fifths), for the cells up to the last multiple of four; returns how
// many.
ZUL_AVX2 int mediasAvx2(const std::int32_t* adelante, const std::int32_t* atras, int n,
                        double largo5, double casiLargo, float* salida) {
    const __m256d porLargo = _mm256_set1_pd(largo5);
    const __m256d diez = _mm256_set1_pd(2.0 * kUnidad);
    const __m256d cero = _mm256_setzero_pd();
    const __m256d casi = _mm256_set1_pd(casiLargo);
    const __m128i sin = _mm_set1_epi32(kSinCamino);
    const __m128 ninguna = _mm_set1_ps(-1.0f);
    int x = 0;
    for (; x + 4 <= n; x += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(adelante + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(atras + x));
        const __m128i falta = _mm_or_si128(_mm_cmpeq_epi32(a, sin), _mm_cmpeq_epi32(b, sin));
        const __m256d d = _mm256_div_pd(
            _mm256_sub_pd(_mm256_add_pd(_mm256_cvtepi32_pd(a), porLargo), _mm256_cvtepi32_pd(b)),
            diez);
        // std::clamp(d, 0.0, casiLargo)
        const __m256d r =
            _mm256_blendv_pd(_mm256_blendv_pd(d, casi, _mm256_cmp_pd(casi, d, _CMP_LT_OQ)), cero,
                             _mm256_cmp_pd(d, cero, _CMP_LT_OQ));
        _mm_storeu_ps(salida + x,
                      _mm_blendv_ps(_mm256_cvtpd_ps(r), ninguna, _mm_castsi128_ps(falta)));
    }
    return x;
}

// A neighbour of four cells on the same stretch as them, or -1.
ZUL_AVX2 static inline __m128 vecina4(__m128 d, __m128 propia) {
    const __m128 valor = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    const __m128 cerca = _mm_and_ps(
        _mm_cmp_ps(d, _mm_setzero_ps(), _CMP_GE_OQ),
        _mm_cmp_ps(_mm_and_ps(_mm_sub_ps(d, propia), valor), _mm_set1_ps(2.0f), _CMP_LE_OQ));
    return _mm_blendv_ps(_mm_set1_ps(-1.0f), d, cerca);
}

// The slope of four cells of a row from two neighbours, as the constructor
// works it out one at a time.
ZUL_AVX2 static inline __m128i pendientes4(__m128 menos, __m128 propia, __m128 mas, double escala) {
    const __m128 cero = _mm_setzero_ps();
    menos = vecina4(menos, propia);
    mas = vecina4(mas, propia);
    const __m256i hayMenos =
        _mm256_cvtepi32_epi64(_mm_castps_si128(_mm_cmp_ps(menos, cero, _CMP_GE_OQ)));
    const __m256i hayMas =
        _mm256_cvtepi32_epi64(_mm_castps_si128(_mm_cmp_ps(mas, cero, _CMP_GE_OQ)));
    const __m256d ambas =
        _mm256_div_pd(_mm256_cvtps_pd(_mm_sub_ps(mas, menos)), _mm256_set1_pd(2.0));
    const __m256d soloMas = _mm256_cvtps_pd(_mm_sub_ps(mas, propia));
    const __m256d soloMenos = _mm256_cvtps_pd(_mm_sub_ps(propia, menos));
    __m256d p = _mm256_and_pd(soloMenos, _mm256_castsi256_pd(hayMenos));
    p = _mm256_blendv_pd(p, soloMas, _mm256_castsi256_pd(hayMas));
    p = _mm256_blendv_pd(p, ambas, _mm256_castsi256_pd(_mm256_and_si256(hayMenos, hayMas)));
    // std::clamp(p, -1.0, 1.0) * escala, rounded like std::lround.
    p = _mm256_min_pd(_mm256_max_pd(p, _mm256_set1_pd(-1.0)), _mm256_set1_pd(1.0));
    const __m256d x = _mm256_mul_pd(p, _mm256_set1_pd(escala));
    const __m256d t = _mm256_round_pd(x, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __m256d resto = _mm256_sub_pd(x, t);
    const __m256d uno = _mm256_set1_pd(1.0);
    const __m256d r = _mm256_sub_pd(
        _mm256_add_pd(t, _mm256_and_pd(_mm256_cmp_pd(resto, _mm256_set1_pd(0.5), _CMP_GE_OQ), uno)),
        _mm256_and_pd(_mm256_cmp_pd(resto, _mm256_set1_pd(-0.5), _CMP_LE_OQ), uno));
    return _mm256_cvttpd_epi32(r);
}

// The cells of a row of `n`, with their slopes: `c` is the row's distances
// (with the border at c[-1] and c[n]), `arriba` and `abajo` the rows above
// and below; four at a time, up to the last multiple of four; returns how
// many. Every byte of the cells is written, the padding as 0.
ZUL_AVX2 int pendientesAvx2(const float* c, const float* arriba, const float* abajo, int n,
                            double escala, void* fila) {
    auto* salida = static_cast<__m128i*>(fila);
    const __m128 cero = _mm_setzero_ps();
    const __m128i byte = _mm_set1_epi32(0xff);
    int x = 0;
    for (; x + 4 <= n; x += 4, salida += 2) {
        const __m128 d = _mm_loadu_ps(c + x);
        const __m128 hay = _mm_cmp_ps(d, cero, _CMP_GE_OQ);
        __m128i pendientes = _mm_setzero_si128();
        if (_mm_movemask_ps(hay) != 0) {
            const __m128i px =
                pendientes4(_mm_loadu_ps(c + x - 1), d, _mm_loadu_ps(c + x + 1), escala);
            const __m128i py =
                pendientes4(_mm_loadu_ps(arriba + x), d, _mm_loadu_ps(abajo + x), escala);
            pendientes = _mm_and_si128(
                _mm_or_si128(_mm_and_si128(px, byte), _mm_slli_epi32(_mm_and_si128(py, byte), 8)),
                _mm_castps_si128(hay));
        }
        const __m128i bits = _mm_castps_si128(d);
        _mm_storeu_si128(salida, _mm_unpacklo_epi32(bits, pendientes));
        _mm_storeu_si128(salida + 1, _mm_unpackhi_epi32(bits, pendientes));
    }
    return x;
}

} // namespace campoVectorial
#endif

#if ZUL_HAY_VECTORIAL
namespace {

// What the vector paths of progresosQuietos take: the cells as
// CampoPista::Celda (the distance as a float in bytes 0 to 3, the slopes in
// bytes 4 and 5; negative distances are -1, none, and kFaltaRumbo, and are
// distanciaSinRumbo as they are), what a point outside the map reads (a
// cell with no distance), and the map has fewer than 2^31 cells, so a cell's
// index is exact in a double and fits in 32 bits.
struct Tabla {
    const long long* celdas;
    long long fuera;
    int filas;
    int columnas;
    double casiLargo;
    double escala;
    double inverso;
};

// progresosQuietos four records at a time, with the arithmetic of
// distanciaSinRumbo lane by lane, so the same doubles.
ZUL_AVX2 std::size_t quietosAvx2(const Tabla& t, const QPointF* puntos, double* progresos,
                                 std::size_t cuantos, const CampoPista::Quietos& q,
                                 std::size_t fase) {
    const __m256d cero = _mm256_setzero_pd();
    const __m256d ancho = _mm256_set1_pd(t.columnas);
    const __m256d alto = _mm256_set1_pd(t.filas);
    const __m256d medio = _mm256_set1_pd(0.5);
    const __m256d porEscala = _mm256_set1_pd(t.escala);
    const __m256d casi = _mm256_set1_pd(t.casiLargo);
    const __m256d porInverso = _mm256_set1_pd(t.inverso);
    const __m256i vacia = _mm256_set1_epi64x(t.fuera);
    // The floats of the four cells first, then their slopes.
    const __m256i junta = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const auto* p = reinterpret_cast<const double*>(puntos);
    const long long* const tabla = t.celdas;
    const double* const qVueltas = q.vueltas;
    const double* const qBajo = q.bajo;
    const double* const qAlto = q.alto;
    const std::size_t periodo = q.periodo;
    std::size_t k = 0;
    for (; k < cuantos; k += 4) {
        // Lanes hold records 0, 2, 1 and 3 until the fraction, which is put
        // back in order.
        const __m256d a = _mm256_loadu_pd(p + 2 * k);
        const __m256d b = _mm256_loadu_pd(p + 2 * k + 4);
        const __m256d px = _mm256_unpacklo_pd(a, b);
        const __m256d py = _mm256_unpackhi_pd(a, b);
        const __m256d dentro = _mm256_and_pd(
            _mm256_and_pd(_mm256_cmp_pd(px, cero, _CMP_GE_OQ), _mm256_cmp_pd(py, cero, _CMP_GE_OQ)),
            _mm256_and_pd(_mm256_cmp_pd(px, ancho, _CMP_LT_OQ),
                          _mm256_cmp_pd(py, alto, _CMP_LT_OQ)));
        // Inside the map, truncating is static_cast<int>.
        const __m256d x = _mm256_round_pd(px, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m256d y = _mm256_round_pd(py, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m128i indice = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(y, ancho), x));
        const __m256i celdas =
            _mm256_mask_i32gather_epi64(vacia, tabla, indice, _mm256_castpd_si256(dentro), 8);
        const __m256i juntas = _mm256_permutevar8x32_epi32(celdas, junta);
        const __m256d d = _mm256_cvtps_pd(_mm_castsi128_ps(_mm256_castsi256_si128(juntas)));
        const __m128i pendientes = _mm256_extracti128_si256(juntas, 1);
        const __m256d pendienteX =
            _mm256_cvtepi32_pd(_mm_srai_epi32(_mm_slli_epi32(pendientes, 24), 24));
        const __m256d pendienteY =
            _mm256_cvtepi32_pd(_mm_srai_epi32(_mm_slli_epi32(pendientes, 16), 24));
        const __m256d fx = _mm256_sub_pd(_mm256_sub_pd(px, x), medio);
        const __m256d fy = _mm256_sub_pd(_mm256_sub_pd(py, y), medio);
        const __m256d valor =
            _mm256_add_pd(d, _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(pendienteX, fx),
                                                         _mm256_mul_pd(pendienteY, fy)),
                                           porEscala));
        // valor < 0 ? 0 : valor < casiLargo ? valor : casiLargo; d where it
        // is negative.
        __m256d r = _mm256_blendv_pd(_mm256_min_pd(valor, casi), cero,
                                     _mm256_cmp_pd(valor, cero, _CMP_LT_OQ));
        r = _mm256_blendv_pd(r, d, _mm256_cmp_pd(d, cero, _CMP_LT_OQ));
        const __m256d fraccion = _mm256_mul_pd(_mm256_permute4x64_pd(r, 0xD8), porInverso);
        const __m256d quieto =
            _mm256_and_pd(_mm256_cmp_pd(fraccion, _mm256_loadu_pd(qBajo + fase), _CMP_GE_OQ),
                          _mm256_cmp_pd(fraccion, _mm256_loadu_pd(qAlto + fase), _CMP_LT_OQ));
        if (_mm256_movemask_pd(quieto) != 0xF) {
            break;
        }
        _mm256_storeu_pd(progresos + k, _mm256_add_pd(_mm256_loadu_pd(qVueltas + fase), fraccion));
        fase += 4;
        fase = fase == periodo ? 0 : fase;
    }
    return k;
}

// The same eight records at a time.
ZUL_AVX512 std::size_t quietosAvx512(const Tabla& t, const QPointF* puntos, double* progresos,
                                     std::size_t cuantos, const CampoPista::Quietos& q,
                                     std::size_t fase) {
    const __m512d cero = _mm512_setzero_pd();
    const __m512d ancho = _mm512_set1_pd(t.columnas);
    const __m512d alto = _mm512_set1_pd(t.filas);
    const __m512d medio = _mm512_set1_pd(0.5);
    const __m512d porEscala = _mm512_set1_pd(t.escala);
    const __m512d casi = _mm512_set1_pd(t.casiLargo);
    const __m512d porInverso = _mm512_set1_pd(t.inverso);
    const __m512i vacia = _mm512_set1_epi64(t.fuera);
    const __m512i pares = _mm512_setr_epi64(0, 2, 4, 6, 8, 10, 12, 14);
    const __m512i impares = _mm512_setr_epi64(1, 3, 5, 7, 9, 11, 13, 15);
    const auto* p = reinterpret_cast<const double*>(puntos);
    const long long* const tabla = t.celdas;
    const double* const qVueltas = q.vueltas;
    const double* const qBajo = q.bajo;
    const double* const qAlto = q.alto;
    const std::size_t periodo = q.periodo;
    std::size_t k = 0;
    for (; k < cuantos; k += 8) {
        const __m512d a = _mm512_loadu_pd(p + 2 * k);
        const __m512d b = _mm512_loadu_pd(p + 2 * k + 8);
        const __m512d px = _mm512_permutex2var_pd(a, pares, b);
        const __m512d py = _mm512_permutex2var_pd(a, impares, b);
        __mmask8 dentro = _mm512_cmp_pd_mask(px, cero, _CMP_GE_OQ);
        dentro = _mm512_mask_cmp_pd_mask(dentro, py, cero, _CMP_GE_OQ);
        dentro = _mm512_mask_cmp_pd_mask(dentro, px, ancho, _CMP_LT_OQ);
        dentro = _mm512_mask_cmp_pd_mask(dentro, py, alto, _CMP_LT_OQ);
        const __m512d x = _mm512_roundscale_pd(px, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m512d y = _mm512_roundscale_pd(py, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
        const __m256i indice = _mm512_cvttpd_epi32(_mm512_add_pd(_mm512_mul_pd(y, ancho), x));
        const __m512i celdas = _mm512_mask_i32gather_epi64(vacia, dentro, indice, tabla, 8);
        const __m512d d = _mm512_cvtps_pd(_mm256_castsi256_ps(_mm512_cvtepi64_epi32(celdas)));
        const __m256i pendientes = _mm512_cvtepi64_epi32(_mm512_srli_epi64(celdas, 32));
        const __m512d pendienteX =
            _mm512_cvtepi32_pd(_mm256_srai_epi32(_mm256_slli_epi32(pendientes, 24), 24));
        const __m512d pendienteY =
            _mm512_cvtepi32_pd(_mm256_srai_epi32(_mm256_slli_epi32(pendientes, 16), 24));
        const __m512d fx = _mm512_sub_pd(_mm512_sub_pd(px, x), medio);
        const __m512d fy = _mm512_sub_pd(_mm512_sub_pd(py, y), medio);
        const __m512d valor =
            _mm512_add_pd(d, _mm512_mul_pd(_mm512_add_pd(_mm512_mul_pd(pendienteX, fx),
                                                         _mm512_mul_pd(pendienteY, fy)),
                                           porEscala));
        __m512d r = _mm512_mask_mov_pd(_mm512_min_pd(valor, casi),
                                       _mm512_cmp_pd_mask(valor, cero, _CMP_LT_OQ), cero);
        r = _mm512_mask_mov_pd(r, _mm512_cmp_pd_mask(d, cero, _CMP_LT_OQ), d);
        const __m512d fraccion = _mm512_mul_pd(r, porInverso);
        __mmask8 quieto = _mm512_cmp_pd_mask(fraccion, _mm512_loadu_pd(qBajo + fase), _CMP_GE_OQ);
        quieto =
            _mm512_mask_cmp_pd_mask(quieto, fraccion, _mm512_loadu_pd(qAlto + fase), _CMP_LT_OQ);
        if (quieto != 0xFF) {
            break;
        }
        _mm512_storeu_pd(progresos + k, _mm512_add_pd(_mm512_loadu_pd(qVueltas + fase), fraccion));
        fase += 8;
        fase = fase == periodo ? 0 : fase;
    }
    return k;
}

} // namespace
#endif

std::size_t CampoPista::grupoVectorial() {
    return vectorial::avx512() ? 8 : vectorial::avx2() ? 4 : 0;
}

std::size_t CampoPista::progresosQuietos(const QPointF* puntos, double* progresos,
                                         std::size_t cuantos, const Quietos& quietos,
                                         std::size_t fase) const {
#if ZUL_HAY_VECTORIAL
    static_assert(sizeof(QPointF) == 2 * sizeof(double) && sizeof(Celda) == 8 &&
                  offsetof(Celda, pendienteX) == 4 && offsetof(Celda, pendienteY) == 5);
    static_assert(kFaltaRumbo == kInterseccion);
    const std::size_t grupo = grupoVectorial();
    if (grupo == 0 || tabla.size() >= (std::size_t{1} << 31)) {
        return 0;
    }
    // A cell with no distance (-1) and no slope.
    const float sinDistancia = -1.0f;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &sinDistancia, sizeof bits);
    const Tabla t{reinterpret_cast<const long long*>(tabla.data()),
                  static_cast<long long>(bits),
                  filas,
                  columnas,
                  casiLargo,
                  1.0 / kEscalaPendiente,
                  inverso};
    return (grupo == 8 ? quietosAvx512 : quietosAvx2)(t, puntos, progresos, cuantos, quietos, fase);
#else
    (void)puntos;
    (void)progresos;
    (void)cuantos;
    (void)quietos;
    (void)fase;
    return 0;
#endif
}

} // namespace zul
