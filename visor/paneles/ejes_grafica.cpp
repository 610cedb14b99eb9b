#include "paneles/ejes_grafica.h"

#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace zul {

void ajustaEje(QValueAxis* eje, double minimo, double maximo) {
    if (!(minimo <= maximo)) {
        minimo = 0.0;
        maximo = 1.0;
    }
    double intervalo = 1.0;
    for (double escala = 1.0; (maximo - minimo) / intervalo > 8.0; escala *= 10.0) {
        for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
            intervalo = factor * escala;
            if ((maximo - minimo) / intervalo <= 8.0) {
                break;
            }
        }
    }
    minimo = std::floor(minimo / intervalo) * intervalo;
    maximo = std::max(minimo + intervalo, std::ceil(maximo / intervalo) * intervalo);
    eje->setRange(minimo, maximo);
    eje->setTickType(QValueAxis::TicksDynamic);
    eje->setTickAnchor(minimo);
    eje->setTickInterval(intervalo);
    eje->setLabelFormat(QStringLiteral("%.0f"));
}

void ajustaEjeContinuo(QValueAxis* eje, double minimo, double maximo, int decimales) {
    if (!(minimo <= maximo) || !std::isfinite(minimo) || !std::isfinite(maximo)) {
        minimo = 0.0;
        maximo = 1.0;
    }
    if (maximo - minimo < 1e-9) {
        // A flat line (a copy of the ghost: zero everywhere) in the middle.
        minimo -= 1.0;
        maximo += 1.0;
    }
    eje->setTickType(QValueAxis::TicksFixed);
    eje->setRange(minimo, maximo);
    eje->applyNiceNumbers();
    eje->setLabelFormat(QStringLiteral("%.") + QString::number(decimales) + QStringLiteral("f"));
}

} // namespace zul
