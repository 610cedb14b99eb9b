#pragma once

class QValueAxis;

namespace zul {

// An axis of whole numbers (laps, places, frames): ticks every 1, 2 or 5
// times a power of ten, at most about eight of them, and the ends on ticks.
void ajustaEje(QValueAxis* eje, double minimo, double maximo);

// An axis of measures (speeds, fractions, deltas): round ends and ticks,
// with `decimales` decimals in its labels.
void ajustaEjeContinuo(QValueAxis* eje, double minimo, double maximo, int decimales);

} // namespace zul
