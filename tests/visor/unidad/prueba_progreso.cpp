// Standings by progress round the track: karts driven along a path on small
// maps drawn around that path, so that where each kart is along the lap is
// known exactly and every ranking, interval and sector can be checked.
#include "analisis/analisis.h"
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Camino = std::vector<QPointF>; // closed: the last point joins the first

double largo(const Camino& c) {
    double total = 0.0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const QPointF d = c[(i + 1) % c.size()] - c[i];
        total += std::hypot(d.x(), d.y());
    }
    return total;
}

QPointF puntoEn(const Camino& c, double s) {
    s = std::fmod(s, largo(c));
    for (std::size_t i = 0;; i = (i + 1) % c.size()) {
        const QPointF d = c[(i + 1) % c.size()] - c[i];
        const double l = std::hypot(d.x(), d.y());
        if (s <= l) {
            return c[i] + d * (s / l);
        }
        s -= l;
    }
}

double distanciaASegmento(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double t =
        std::clamp(QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d), 0.0, 1.0);
    const QPointF q = a + d * t - p;
    return std::hypot(q.x(), q.y());
}

// Track wherever a cell's centre is within `medioAncho` of a path's segment;
// with arrows, each track cell points the way of its nearest segment.
zul::Mapa mapaDe(int filas, int columnas, const std::vector<std::vector<QPointF>>& tramos,
                 double medioAncho, bool flechas) {
    zul::Mapa m;
    m.filas = filas;
    m.columnas = columnas;
    m.celdas.assign(static_cast<std::size_t>(filas * columnas), '5');
    for (int y = 0; y < filas; ++y) {
        for (int x = 0; x < columnas; ++x) {
            const QPointF centro(x + 0.5, y + 0.5);
            double mejor = 1e9;
            QPointF direccion;
            for (const auto& tramo : tramos) {
                for (std::size_t i = 0; i + 1 < tramo.size(); ++i) {
                    const double d = distanciaASegmento(centro, tramo[i], tramo[i + 1]);
                    if (d < mejor) {
                        mejor = d;
                        direccion = tramo[i + 1] - tramo[i];
                    }
                }
            }
            if (mejor <= medioAncho) {
                char c = '4';
                if (flechas) {
                    c = std::abs(direccion.x()) >= std::abs(direccion.y())
                            ? (direccion.x() > 0 ? '1' : '3')
                            : (direccion.y() > 0 ? '0' : '2');
                }
                m.celdas[static_cast<std::size_t>(y * columnas + x)] = c;
            }
        }
    }
    return m;
}

std::vector<QPointF> cerrado(Camino c) {
    c.push_back(c.front());
    return c;
}

struct Kart {
    double inicio;    // along the path, ahead of the line
    double velocidad; // cells per step
};

struct Caso {
    const char* nombre = "";
    std::function<zul::Mapa()> mapa;
    Camino camino;
    // The player that leaves the track, from which step to which (included),
    // and where it stands meanwhile; -1 for none.
    int fuera = -1;
    long long desde = 0;
    long long hasta = 0;
    QPointF dondeFuera;
};

const std::vector<Kart> kKarts = {{1.0, 0.62}, {3.0, 0.45}, {2.0, 0.55}};
constexpr long long kFrames = 320;

// Along the path. A kart off the track comes back where it left it, and the
// ranking keeps it there meanwhile.
double recorrido(const Caso& caso, int j, long long k) {
    if (j == caso.fuera && k >= caso.desde) {
        k = std::min(k, caso.desde - 1) + std::max(0LL, k - caso.hasta);
    }
    const Kart& kart = kKarts[static_cast<std::size_t>(j)];
    return kart.inicio + kart.velocidad * static_cast<double>(k);
}

zul::Carrera carreraDe(const Caso& caso, long long frames) {
    zul::Carrera c;
    c.numJugadores = static_cast<int>(kKarts.size());
    c.nombres = {"a", "b", "c"};
    const double l = largo(caso.camino);
    for (long long k = 0; k < frames; ++k) {
        for (int j = 0; j < c.numJugadores; ++j) {
            const double s = recorrido(caso, j, k);
            const bool fuera = j == caso.fuera && k >= caso.desde && k <= caso.hasta;
            c.posiciones.push_back(fuera ? caso.dondeFuera : puntoEn(caso.camino, s));
            c.angulos.push_back(0.0);
            c.vueltas.push_back(static_cast<int>(std::floor(s / l)));
        }
    }
    return c;
}

// A rectangle round an inner wall, corridors three cells wide; the line is
// on the top straight.
const Camino kOvalo = {{8.0, 2.5}, {21.5, 2.5}, {21.5, 11.5}, {2.5, 11.5}, {2.5, 2.5}};
// Two loops through one crossing, where the track runs straight on across
// itself at right angles.
const Camino kOcho = {{19.0, 6.0}, {22.0, 9.0}, {17.0, 14.0}, {12.0, 9.0}, {7.0, 4.0},
                      {2.0, 9.0},  {7.0, 14.0}, {12.0, 9.0},  {17.0, 4.0}};

Caso caso(const char* nombre, std::function<zul::Mapa()> mapa, const Camino& camino) {
    Caso c;
    c.nombre = nombre;
    c.mapa = std::move(mapa);
    c.camino = camino;
    return c;
}

std::vector<Caso> casos() {
    std::vector<Caso> lista;
    lista.push_back(caso(
        "Ovalo", [] { return mapaDe(14, 24, {cerrado(kOvalo)}, 1.5, true); }, kOvalo));
    lista.push_back(caso(
        "OchoConCruce", [] { return mapaDe(18, 25, {cerrado(kOcho)}, 1.0, false); }, kOcho));
    lista.push_back(caso(
        "SinFlechas", [] { return mapaDe(14, 24, {cerrado(kOvalo)}, 1.5, false); }, kOvalo));
    // A dead end off the bottom straight, and one off the line itself.
    lista.push_back(caso(
        "RamalSinSalida",
        [] {
            return mapaDe(20, 24,
                          {cerrado(kOvalo), {{12.0, 11.5}, {12.0, 18.0}}, {{6.0, 2.5}, {6.0, 6.0}}},
                          1.5, false);
        },
        kOvalo));
    Caso fuera = caso(
        "KartFueraDePista", [] { return mapaDe(14, 24, {cerrado(kOvalo)}, 1.5, true); }, kOvalo);
    fuera.fuera = 2;
    fuera.desde = 60;
    fuera.hasta = 70;
    fuera.dondeFuera = {11.5, 7.0}; // on the inner wall
    lista.push_back(fuera);
    return lista;
}

void PrintTo(const Caso& caso, std::ostream* os) {
    *os << caso.nombre;
}

class Progreso : public ::testing::TestWithParam<Caso> {};

// The ranking at every step is the order along the path, an overtake showing
// on the step it happens; the interval is the steps since the kart ahead was
// where this one is.
TEST_P(Progreso, OrdenEIntervalos) {
    const Caso& caso = GetParam();
    const zul::Mapa mapa = caso.mapa();
    const zul::AnalisisCarrera analisis(carreraDe(caso, kFrames), mapa);
    ASSERT_TRUE(analisis.campo() != nullptr);
    EXPECT_NEAR(analisis.campo()->largoVuelta(), largo(caso.camino), 0.2 * largo(caso.camino));
    int adelantamientos = 0;
    std::vector<int> antes;
    for (long long k = 0; k < kFrames; ++k) {
        const std::vector<zul::Puesto> puestos = analisis.clasificacion(k);
        ASSERT_EQ(puestos.size(), kKarts.size());
        std::vector<int> orden;
        for (const zul::Puesto& p : puestos) {
            ASSERT_TRUE(p.progreso.has_value());
            orden.push_back(p.jugador);
        }
        for (std::size_t i = 1; i < puestos.size(); ++i) {
            const int a = puestos[i - 1].jugador;
            const int b = puestos[i].jugador;
            const double sa = recorrido(caso, a, k);
            const double sb = recorrido(caso, b, k);
            // Side by side, cells cannot tell them apart.
            if (std::abs(sa - sb) > 0.3) {
                EXPECT_GT(sa, sb) << "paso " << k << ": " << a << " delante de " << b;
            }
            if (puestos[i].intervaloPasos && sa - sb < largo(caso.camino) &&
                sb > recorrido(caso, a, 0) && !(a == caso.fuera && k >= caso.desde) &&
                !(b == caso.fuera && k >= caso.desde && k <= caso.hasta)) {
                long long cuando = 0;
                while (recorrido(caso, a, cuando) < sb) {
                    ++cuando;
                }
                EXPECT_NEAR(static_cast<double>(*puestos[i].intervaloPasos),
                            static_cast<double>(k - cuando), 1.0)
                    << "paso " << k << ", " << b << " tras " << a;
            }
        }
        if (!antes.empty() && orden != antes) {
            ++adelantamientos;
        }
        antes = orden;
    }
    EXPECT_GE(adelantamientos, 3);
}

// A kart's last three sector times add up to the lap it has just completed.
TEST_P(Progreso, SectoresSumanLaVuelta) {
    const Caso& caso = GetParam();
    const zul::Mapa mapa = caso.mapa();
    const zul::AnalisisCarrera analisis(carreraDe(caso, kFrames), mapa);
    int vueltas = 0;
    for (int j = 0; j < static_cast<int>(kKarts.size()); ++j) {
        const auto& completadas = analisis.completadas(j);
        for (std::size_t v = 1; v < completadas.size(); ++v) {
            const long long f = completadas[v].frame;
            for (const zul::Puesto& p : analisis.clasificacion(f)) {
                if (p.jugador != j) {
                    continue;
                }
                ASSERT_TRUE(p.ultimaVuelta && p.ultimoSector[0] && p.ultimoSector[1] &&
                            p.ultimoSector[2])
                    << "jugador " << j << ", paso " << f;
                EXPECT_EQ(*p.ultimoSector[0] + *p.ultimoSector[1] + *p.ultimoSector[2],
                          *p.ultimaVuelta);
                ASSERT_TRUE(p.vueltaIdeal.has_value());
                ++vueltas;
            }
        }
    }
    EXPECT_GE(vueltas, 4);
}

// Until somebody completes a lap the line is not known: the ranking is the
// one without a map (laps, step of the last lap change, index).
TEST_P(Progreso, SinLineaLaReglaDeSiempre) {
    const Caso& caso = GetParam();
    const zul::Mapa mapa = caso.mapa();
    const zul::Carrera carrera = carreraDe(caso, 40);
    const zul::AnalisisCarrera conMapa(carrera, mapa);
    const zul::AnalisisCarrera sinMapa(carrera);
    ASSERT_FALSE(conMapa.linea().has_value());
    for (long long k : {0LL, 20LL, 39LL}) {
        const std::vector<zul::Puesto> a = conMapa.clasificacion(k);
        const std::vector<zul::Puesto> b = sinMapa.clasificacion(k);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].jugador, b[i].jugador);
            EXPECT_EQ(a[i].diferenciaPasos, b[i].diferenciaPasos);
            EXPECT_FALSE(a[i].progreso.has_value());
        }
    }
}

// Growing frame by frame, as a live race does, ends as reading it whole.
TEST_P(Progreso, PorPartesIgualQueEntera) {
    const Caso& caso = GetParam();
    const zul::Mapa mapa = caso.mapa();
    const zul::Carrera entera = carreraDe(caso, kFrames);
    const zul::AnalisisCarrera deUnaVez(entera, mapa);
    zul::Carrera vacia;
    vacia.numJugadores = 3;
    vacia.nombres = entera.nombres;
    zul::AnalisisCarrera porPartes(vacia, mapa);
    const std::size_t n = kKarts.size();
    for (std::size_t hasta = 0; hasta <= entera.posiciones.size(); hasta += 7 * n + 1) {
        zul::Carrera c = entera;
        c.posiciones.resize(hasta);
        c.angulos.resize(hasta);
        c.vueltas.resize(hasta);
        porPartes.extiende(c);
    }
    porPartes.extiende(entera);
    for (long long k = 0; k < kFrames; k += 13) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(porPartes.progreso(j, k), deUnaVez.progreso(j, k)) << k << " " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Mapas, Progreso, ::testing::ValuesIn(casos()),
                         [](const ::testing::TestParamInfo<Caso>& info) {
                             return std::string(info.param.nombre);
                         });

} // namespace
