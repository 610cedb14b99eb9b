#include "datos/disparos.h"

#include <cfloat>
#include <cmath>

namespace zul {

namespace {

// Whether a float holds v exactly. Converting a double beyond the floats'
// range to float is undefined, so those are left out first; infinities fit,
// and NaN never does, so its payload is kept whole.
bool cabeEnFloat(double v) {
    if (!(std::abs(v) <= static_cast<double>(FLT_MAX))) {
        return std::isinf(v);
    }
    return static_cast<double>(static_cast<float>(v)) == v;
}

} // namespace

Disparo Disparos::operator[](std::size_t k) const {
    const Bloque& bloque = bloques[k >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (k & 63);
    const std::size_t antes =
        bloque.enterosAntes +
        static_cast<std::size_t>(__builtin_popcountll(bloque.enteros & (bit - 1)));
    if ((bloque.enteros & bit) != 0) {
        return enteros[antes];
    }
    const Compacto& c = compactos[k - antes];
    return {QPointF(c.x0, c.y0), QPointF(c.x1, c.y1)};
}

void Disparos::push_back(const Disparo& disparo) {
    if ((cuantos & 63) == 0) {
        bloques.push_back(Bloque{enteros.size(), 0});
    }
    const double x0 = disparo.inicio.x();
    const double y0 = disparo.inicio.y();
    const double x1 = disparo.fin.x();
    const double y1 = disparo.fin.y();
    if (cabeEnFloat(x0) && cabeEnFloat(y0) && cabeEnFloat(x1) && cabeEnFloat(y1)) {
        compactos.push_back(Compacto{static_cast<float>(x0), static_cast<float>(y0),
                                     static_cast<float>(x1), static_cast<float>(y1)});
    } else {
        bloques.back().enteros |= std::uint64_t{1} << (cuantos & 63);
        enteros.push_back(disparo);
    }
    ++cuantos;
}

void Disparos::clear() {
    compactos.clear();
    enteros.clear();
    bloques.clear();
    cuantos = 0;
}

void Disparos::quitaPrimeros(std::size_t n) {
    if (n == 0) {
        return;
    }
    Disparos resto;
    for (std::size_t k = n; k < cuantos; ++k) {
        resto.push_back((*this)[k]);
    }
    *this = std::move(resto);
}

} // namespace zul
