#include "analisis/fantasma.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zul {

namespace {

constexpr double kNoSe = std::numeric_limits<double>::quiet_NaN();
// A lap window longer than this (a race whose laps never change) is searched
// only this far around the aligned frame, so a chart costs a bounded time
// per frame.
constexpr long long kMediaVentana = 2048;

QPointF posicionDe(const Carrera& carrera, int jugador, long long frame) {
    return carrera.posiciones[static_cast<std::size_t>(frame) *
                                  static_cast<std::size_t>(carrera.numJugadores) +
                              static_cast<std::size_t>(jugador)];
}

bool finito(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

bool leeAlineacion(const QString& nombre, Alineacion& alineacion) {
    if (nombre == QLatin1String("paso")) {
        alineacion = Alineacion::Paso;
    } else if (nombre == QLatin1String("vuelta")) {
        alineacion = Alineacion::Vuelta;
    } else {
        return false;
    }
    return true;
}

CarreraFantasma::CarreraFantasma(const Carrera& nuestra, const AnalisisCarrera& analisisNuestro,
                                 const Carrera& fantasma, const AnalisisCarrera& analisisFantasma,
                                 Alineacion alineacion)
    : nuestra(nuestra), analisisNuestro(analisisNuestro), otra(fantasma),
      analisisOtra(analisisFantasma), modo(alineacion) {}

int CarreraFantasma::parejaDe(int jugador) const {
    if (jugador < 0 || jugador >= nuestra.numJugadores) {
        return -1;
    }
    const std::size_t j = static_cast<std::size_t>(jugador);
    if (j < nuestra.nombres.size()) {
        const auto mismo = std::find(otra.nombres.begin(), otra.nombres.end(), nuestra.nombres[j]);
        if (mismo != otra.nombres.end() &&
            mismo - otra.nombres.begin() < static_cast<std::ptrdiff_t>(otra.numJugadores)) {
            return static_cast<int>(mismo - otra.nombres.begin());
        }
    }
    return jugador < otra.numJugadores ? jugador : -1;
}

CarreraFantasma::Vuelta CarreraFantasma::vueltaEnCurso(const AnalisisCarrera& analisis, int jugador,
                                                       long long frame) {
    const std::vector<VueltaCompletada>& hechas = analisis.completadas(jugador);
    const auto despues =
        std::upper_bound(hechas.begin(), hechas.end(), frame,
                         [](long long f, const VueltaCompletada& v) { return f < v.frame; });
    if (despues == hechas.begin()) {
        return {analisis.vueltas(jugador, 0), 0};
    }
    return {std::prev(despues)->ultima, std::prev(despues)->frame};
}

long long CarreraFantasma::inicioVuelta(const AnalisisCarrera& analisis, int jugador, long long n) {
    if (analisis.framesAnalizados() == 0) {
        return -1;
    }
    if (n == analisis.vueltas(jugador, 0)) {
        return 0;
    }
    for (const VueltaCompletada& v : analisis.completadas(jugador)) {
        if (v.primera <= n && n <= v.ultima) {
            return v.frame;
        }
    }
    return -1;
}

long long CarreraFantasma::frameFantasma(long long frame, int jugador) const {
    const long long frames = analisisOtra.framesAnalizados();
    long long f = frame;
    if (modo == Alineacion::Vuelta) {
        const int pareja = parejaDe(jugador);
        if (pareja < 0 || analisisNuestro.framesAnalizados() == 0) {
            return -1;
        }
        const Vuelta nuestraVuelta = vueltaEnCurso(analisisNuestro, jugador, frame);
        const long long inicio = inicioVuelta(analisisOtra, pareja, nuestraVuelta.numero);
        if (inicio < 0) {
            return -1;
        }
        f = inicio + (frame - nuestraVuelta.inicio);
    }
    return f >= 0 && f < frames ? f : -1;
}

double CarreraFantasma::delta(int jugador, long long frame) const {
    const int pareja = parejaDe(jugador);
    if (pareja < 0 || frame < 0 || frame >= analisisNuestro.framesAnalizados()) {
        return kNoSe;
    }
    const QPointF punto = posicionDe(nuestra, jugador, frame);
    if (!finito(punto)) {
        return kNoSe;
    }
    const Vuelta vuelta = vueltaEnCurso(analisisNuestro, jugador, frame);
    const long long inicioOtra = inicioVuelta(analisisOtra, pareja, vuelta.numero);
    if (inicioOtra < 0) {
        return kNoSe;
    }
    // The ghost's lap: from its start to the start of its next lap.
    long long finOtra = analisisOtra.framesAnalizados() - 1;
    for (const VueltaCompletada& v : analisisOtra.completadas(pareja)) {
        if (v.frame > inicioOtra) {
            finOtra = v.frame;
            break;
        }
    }
    const long long alineado = inicioOtra + (frame - vuelta.inicio);
    long long desde = inicioOtra;
    long long hasta = finOtra;
    if (hasta - desde > 2 * kMediaVentana) {
        desde = std::clamp(alineado - kMediaVentana, inicioOtra, finOtra);
        hasta = std::clamp(alineado + kMediaVentana, inicioOtra, finOtra);
    }
    // The nearest place on the ghost's path, between two of its frames.
    double mejor = std::numeric_limits<double>::infinity();
    double tiempoOtra = kNoSe;
    for (long long f = desde; f <= hasta; ++f) {
        const QPointF a = posicionDe(otra, pareja, f);
        const QPointF b = f < hasta ? posicionDe(otra, pareja, f + 1) : a;
        if (!finito(a) || !finito(b)) {
            continue;
        }
        const double dx = b.x() - a.x();
        const double dy = b.y() - a.y();
        const double largo2 = dx * dx + dy * dy;
        double u = 0.0;
        if (largo2 > 0.0) {
            u = std::clamp(((punto.x() - a.x()) * dx + (punto.y() - a.y()) * dy) / largo2, 0.0,
                           1.0);
        }
        const double d = std::hypot(punto.x() - (a.x() + u * dx), punto.y() - (a.y() + u * dy));
        if (d < mejor) {
            mejor = d;
            tiempoOtra = static_cast<double>(f) + u;
        }
    }
    if (std::isnan(tiempoOtra)) {
        return kNoSe;
    }
    // Ours: from the first frame of this lap at which we stood where we stand.
    long long llegada = frame;
    while (llegada > vuelta.inicio && posicionDe(nuestra, jugador, llegada - 1) == punto) {
        --llegada;
    }
    const long long origenNuestro = modo == Alineacion::Vuelta ? vuelta.inicio : 0;
    const long long origenOtra = modo == Alineacion::Vuelta ? inicioOtra : 0;
    return static_cast<double>(llegada - origenNuestro) -
           (tiempoOtra - static_cast<double>(origenOtra));
}

std::vector<PuntoDelta> CarreraFantasma::deltas(int jugador) const {
    std::vector<PuntoDelta> puntos;
    for (long long k = 0; k < analisisNuestro.framesAnalizados(); ++k) {
        const double d = delta(jugador, k);
        if (std::isfinite(d)) {
            puntos.push_back({k, d});
        }
    }
    return puntos;
}

} // namespace zul
