// The distance field's rows four cells at a time with vector instructions,
// exactly as CampoPista's constructor works them out one at a time.
#pragma once

#include "datos/vectorial.h"

#include <cstdint>

namespace zul::campoVectorial {

#if ZUL_HAY_VECTORIAL
// The mean of the two ways of a row of `n` cells (`largo5` is the lap in
// fifths), for the cells up to the last multiple of four; returns how many.
ZUL_AVX2 int mediasAvx2(const std::int32_t* adelante, const std::int32_t* atras, int n,
                        double largo5, double casiLargo, float* salida);
// The cells of a row of `n`, with their slopes, into CampoPista's table;
// returns how many.
ZUL_AVX2 int pendientesAvx2(const float* c, const float* arriba, const float* abajo, int n,
                            double escala, void* fila);
#endif

} // namespace zul::campoVectorial
