#include "datos/vectorial.h"

#include <atomic>

namespace zul::vectorial {

namespace {

bool disponible() {
#if ZUL_HAY_VECTORIAL
    return __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("sse4.1") &&
           __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

std::atomic<bool>& estado() {
    static std::atomic<bool> activo{disponible()};
    return activo;
}

} // namespace

bool avx2() {
#if ZUL_HAY_VECTORIAL
    static const bool disponible = __builtin_cpu_supports("avx2");
    return disponible && activo();
#else
    return false;
#endif
}

bool avx512() {
#if ZUL_HAY_VECTORIAL
    static const bool disponible =
        __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f");
    return disponible && activo();
#else
    return false;
#endif
}

bool activo() {
    return estado().load(std::memory_order_relaxed);
}

void activa(bool si) {
    estado().store(si && disponible(), std::memory_order_relaxed);
}

} // namespace zul::vectorial
