#pragma once

#include <QString>

// Which race frame each video picture shows. Steps per second are kept in
// thousandths so the arithmetic is exact integer work: a count computed here
// is the count the encoder writes, with no rounding drift over long races.
namespace zul {

struct Planificacion {
    long long primero = 0;           // first race frame, K
    long long ultimo = 0;            // last race frame, M (included)
    int fps = 30;                    // video pictures per second, F
    long long milipasosPorSegundo{}; // race steps per second of video, S, in thousandths

    // ⌈(M − K + 1) · F / S⌉: every step of the range gets its share of time.
    long long totalCuadros() const;
    // Race frame shown by video picture `cuadro` (0-based): K + ⌊cuadro · S / F⌋.
    long long frameDeCuadro(long long cuadro) const;
};

constexpr int kFpsMaximo = 240;
constexpr double kPasosPorSegundoMinimo = 0.001;
constexpr double kPasosPorSegundoMaximo = 1e6;

// Builds the schedule for frames K to M at F pictures per second and S steps
// per second (S rounded to thousandths). False, with the reason in Spanish,
// when a value is out of range; then `plan` is left as it was.
bool planifica(long long primero, long long ultimo, int fps, double pasosPorSegundo,
               Planificacion& plan, QString& error);

} // namespace zul
