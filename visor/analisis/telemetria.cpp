#include "analisis/telemetria.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zul {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNoSe = std::numeric_limits<double>::quiet_NaN();

bool finito(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

double desplazamiento(QPointF desde, QPointF hasta) {
    if (!finito(desde) || !finito(hasta)) {
        return kNoSe;
    }
    // Far apart finite points can still overflow; that is no speed either.
    const double d = std::hypot(hasta.x() - desde.x(), hasta.y() - desde.y());
    return std::isfinite(d) ? d : kNoSe;
}

double distanciaASegmento(QPointF p, QPointF a, QPointF b) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double largo2 = dx * dx + dy * dy;
    double t = 0.0;
    if (largo2 > 0.0) {
        t = std::clamp(((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / largo2, 0.0, 1.0);
    }
    return std::hypot(p.x() - (a.x() + t * dx), p.y() - (a.y() + t * dy));
}

} // namespace

double anguloKit(double radianes) {
    if (!std::isfinite(radianes)) {
        return kNoSe;
    }
    // As the kit does: atan2 of the heading's vector, moved into [0, 2π).
    double a = std::atan2(std::sin(radianes), std::cos(radianes));
    if (a < 0.0) {
        a += 2.0 * kPi;
    }
    return a * (180.0 / kPi);
}

Telemetria::Telemetria(const Carrera& carrera, const AnalisisCarrera& analisis)
    : carrera(carrera), analisis(analisis), n(std::max(0, carrera.numJugadores)) {
    extiende();
}

void Telemetria::extiende() {
    if (n == 0) {
        return;
    }
    const long long completos = static_cast<long long>(carrera.framesCompletos());
    const std::size_t jn = static_cast<std::size_t>(n);
    distancias.reserve(static_cast<std::size_t>(completos) * jn);
    for (long long k = numFrames; k < completos; ++k) {
        for (std::size_t j = 0; j < jn; ++j) {
            const std::size_t i = static_cast<std::size_t>(k) * jn + j;
            double d = 0.0;
            if (k > 0) {
                d = distancias[i - jn];
                const double v = desplazamiento(carrera.posiciones[i - jn], carrera.posiciones[i]);
                if (!std::isnan(v)) {
                    d += v;
                }
            }
            distancias.push_back(d);
        }
    }
    numFrames = std::max(numFrames, completos);
}

std::size_t Telemetria::indice(int jugador, long long frame) const {
    const long long k = std::clamp(frame, 0LL, numFrames - 1);
    return static_cast<std::size_t>(k) * static_cast<std::size_t>(n) +
           static_cast<std::size_t>(jugador);
}

QPointF Telemetria::posicion(int jugador, long long frame) const {
    return carrera.posiciones[indice(jugador, frame)];
}

double Telemetria::rumbo(int jugador, long long frame) const {
    return carrera.angulos[indice(jugador, frame)];
}

double Telemetria::velocidad(int jugador, long long frame) const {
    const std::size_t i = indice(jugador, frame);
    const std::size_t jn = static_cast<std::size_t>(n);
    if (i < jn) {
        return finito(carrera.posiciones[i]) ? 0.0 : kNoSe;
    }
    return desplazamiento(carrera.posiciones[i - jn], carrera.posiciones[i]);
}

double Telemetria::distancia(int jugador, long long frame) const {
    return distancias[indice(jugador, frame)];
}

long long Telemetria::tiempoVuelta(int jugador, long long frame) const {
    const long long k = std::clamp(frame, 0LL, numFrames - 1);
    const std::vector<VueltaCompletada>& hechas = analisis.completadas(jugador);
    const auto despues =
        std::upper_bound(hechas.begin(), hechas.end(), k,
                         [](long long f, const VueltaCompletada& v) { return f < v.frame; });
    return despues == hechas.begin() ? k : k - std::prev(despues)->frame;
}

int Telemetria::disparosCerca(int jugador, long long frame) const {
    const long long k = std::clamp(frame, 0LL, numFrames - 1);
    const std::vector<int>& frames = carrera.framesDisparos;
    const long long desde = k - kPasosDisparosCerca + 1;
    auto it = std::lower_bound(frames.begin(), frames.end(), desde,
                               [](int f, long long d) { return f < d; });
    const std::size_t jn = static_cast<std::size_t>(n);
    int cuantos = 0;
    for (; it != frames.end() && *it <= k; ++it) {
        const std::size_t s = static_cast<std::size_t>(it - frames.begin());
        const Disparo disparo = carrera.disparos[s];
        const std::size_t base = static_cast<std::size_t>(*it) * jn;
        const QPointF yo = carrera.posiciones[base + static_cast<std::size_t>(jugador)];
        if (!(distanciaASegmento(yo, disparo.inicio, disparo.fin) <= kRadioDisparoCerca)) {
            continue;
        }
        // Whose shot: the kart nearest its start, if within half a cell.
        int tirador = -1;
        double mejor = 0.5;
        for (std::size_t o = 0; o < jn; ++o) {
            const QPointF p = carrera.posiciones[base + o];
            const double d = std::hypot(p.x() - disparo.inicio.x(), p.y() - disparo.inicio.y());
            if (d <= mejor) {
                mejor = d;
                tirador = static_cast<int>(o);
            }
        }
        if (tirador != jugador) {
            ++cuantos;
        }
    }
    return cuantos;
}

} // namespace zul
