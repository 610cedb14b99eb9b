#include "datos/vectorial.h"

#include <atomic>

namespace zul::vectorial {

namespace {

// The widest instructions of each kind of path that the processor has.
int anchoDisponible() {
#if ZUL_HAY_VECTORIAL
    if (!__builtin_cpu_supports("ssse3") || !__builtin_cpu_supports("sse4.1") ||
        !__builtin_cpu_supports("popcnt")) {
        return 0;
    }
    if (!__builtin_cpu_supports("avx2")) {
        return 128;
    }
    return __builtin_cpu_supports("avx512f") ? 512 : 256;
#else
    return 0;
#endif
}

int disponible() {
    static const int ancho = anchoDisponible();
    return ancho;
}

std::atomic<int>& limite() {
    static std::atomic<int> ancho{512};
    return ancho;
}

int ancho() {
    const int maximo = limite().load(std::memory_order_relaxed);
    return disponible() < maximo ? disponible() : maximo;
}

} // namespace

bool activo() {
    return ancho() >= 128;
}

bool avx2() {
    return ancho() >= 256;
}

bool avx512() {
    return ancho() >= 512;
}

void activa(bool si) {
    limita(si ? 512 : 0);
}

void limita(int bits) {
    limite().store(bits, std::memory_order_relaxed);
}

} // namespace zul::vectorial
