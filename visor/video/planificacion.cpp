#include "video/planificacion.h"

#include <cmath>

namespace zul {

namespace {

// Keeps (M − K + 1) · F · 1000 well inside 64 bits.
constexpr long long kFramesMaximos = 1'000'000'000'000LL;

} // namespace

long long Planificacion::totalCuadros() const {
    const long long pasos = ultimo - primero + 1;
    const long long numerador = pasos * fps * 1000;
    return (numerador + milipasosPorSegundo - 1) / milipasosPorSegundo;
}

long long Planificacion::frameDeCuadro(long long cuadro) const {
    // cuadro < totalCuadros, so cuadro · S < (pasos · F · 1000 + S): no overflow.
    return primero + cuadro * milipasosPorSegundo / (static_cast<long long>(fps) * 1000);
}

bool planifica(long long primero, long long ultimo, int fps, double pasosPorSegundo,
               Planificacion& plan, QString& error) {
    if (primero < 0 || ultimo < primero) {
        error = QStringLiteral("El intervalo de pasos %1 a %2 está vacío o es negativo.")
                    .arg(primero)
                    .arg(ultimo);
        return false;
    }
    if (ultimo - primero >= kFramesMaximos) {
        error = QStringLiteral("El intervalo de pasos %1 a %2 es demasiado largo.")
                    .arg(primero)
                    .arg(ultimo);
        return false;
    }
    if (fps < 1 || fps > kFpsMaximo) {
        error = QStringLiteral("Los fotogramas por segundo deben estar entre 1 y %1; se pidió %2.")
                    .arg(kFpsMaximo)
                    .arg(fps);
        return false;
    }
    if (!(pasosPorSegundo >= kPasosPorSegundoMinimo && pasosPorSegundo <= kPasosPorSegundoMaximo)) {
        error = QStringLiteral("Los pasos por segundo deben estar entre %1 y %2; se pidió %3.")
                    .arg(kPasosPorSegundoMinimo)
                    .arg(kPasosPorSegundoMaximo, 0, 'f', 0)
                    .arg(pasosPorSegundo);
        return false;
    }
    plan.primero = primero;
    plan.ultimo = ultimo;
    plan.fps = fps;
    plan.milipasosPorSegundo = std::llround(pasosPorSegundo * 1000.0);
    return true;
}

} // namespace zul
