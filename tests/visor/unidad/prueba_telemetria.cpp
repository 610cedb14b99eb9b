// Per-step kinematics: speed, distance, lap time so far and shots seen near a
// kart, on hand-made races.
#include "analisis/series_telemetria.h"
#include "analisis/telemetria.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr double kPi = 3.141592653589793;

// One player along positions given per frame; the lap count from `vueltas`.
zul::Carrera carreraDe(
    int frames, const std::function<QPointF(int)>& ruta,
    const std::function<int(int)>& vueltas = [](int) { return 0; }) {
    zul::Carrera c;
    c.numJugadores = 1;
    c.nombres = {"uno"};
    for (int k = 0; k < frames; ++k) {
        c.posiciones.push_back(ruta(k));
        c.angulos.push_back(0.0);
        c.vueltas.push_back(vueltas(k));
    }
    return c;
}

TEST(Telemetria, VelocidadYDistancia) {
    const double cuerda = 2.0 * 5.0 * std::sin(0.1 / 2.0); // chord of 0.1 rad on radius 5
    const struct {
        const char* caso;
        std::function<QPointF(int)> ruta;
        std::vector<double> velocidades; // from frame 0
        std::vector<double> distancias;
    } filas[] = {
        {"recta",
         [](int k) { return QPointF(3.0 + 0.5 * k, 7.0); },
         {0, 0.5, 0.5, 0.5, 0.5},
         {0, 0.5, 1.0, 1.5, 2.0}},
        {"círculo",
         [](int k) { return QPointF(20 + 5 * std::cos(0.1 * k), 20 + 5 * std::sin(0.1 * k)); },
         {0, cuerda, cuerda, cuerda, cuerda},
         {0, cuerda, 2 * cuerda, 3 * cuerda, 4 * cuerda}},
        {"parado", [](int) { return QPointF(4.25, 9.5); }, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        // Put back across the map: the jump is that step's displacement, and
        // the next step is an ordinary one again.
        {"salto",
         [](int k) { return k < 3 ? QPointF(k, 1.0) : QPointF(80.0 + (k - 3), 41.0); },
         {0, 1, 1, std::hypot(78.0, 40.0), 1},
         {0, 1, 2, 2 + std::hypot(78.0, 40.0), 3 + std::hypot(78.0, 40.0)}},
    };
    for (const auto& fila : filas) {
        SCOPED_TRACE(fila.caso);
        const zul::Carrera carrera = carreraDe(5, fila.ruta);
        const zul::AnalisisCarrera analisis(carrera);
        const zul::Telemetria telemetria(carrera, analisis);
        ASSERT_EQ(telemetria.frames(), 5);
        for (int k = 0; k < 5; ++k) {
            EXPECT_NEAR(telemetria.velocidad(0, k), fila.velocidades[k], 1e-9) << "paso " << k;
            EXPECT_NEAR(telemetria.distancia(0, k), fila.distancias[k], 1e-9) << "paso " << k;
        }
    }
}

TEST(Telemetria, PosicionNoFinitaNoTieneVelocidadNiSumaDistancia) {
    const double inf = std::numeric_limits<double>::infinity();
    const zul::Carrera carrera =
        carreraDe(4, [inf](int k) { return k == 2 ? QPointF(inf, 0.0) : QPointF(k, 0.0); });
    const zul::AnalisisCarrera analisis(carrera);
    const zul::Telemetria telemetria(carrera, analisis);
    EXPECT_EQ(telemetria.velocidad(0, 1), 1.0);
    EXPECT_TRUE(std::isnan(telemetria.velocidad(0, 2)));
    EXPECT_TRUE(std::isnan(telemetria.velocidad(0, 3)));
    EXPECT_EQ(telemetria.distancia(0, 3), 1.0);
}

TEST(Telemetria, TiempoDeLaVueltaEnCurso) {
    // Laps rise at frames 3 and 7; a drop at 8 and its regain at 9 start no lap.
    const int vueltas[] = {0, 0, 0, 1, 1, 1, 1, 2, 1, 2, 2};
    const long long esperado[] = {0, 1, 2, 0, 1, 2, 3, 0, 1, 2, 3};
    const zul::Carrera carrera = carreraDe(
        11, [](int k) { return QPointF(k, 0); }, [&](int k) { return vueltas[k]; });
    const zul::AnalisisCarrera analisis(carrera);
    const zul::Telemetria telemetria(carrera, analisis);
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(telemetria.tiempoVuelta(0, k), esperado[k]) << "paso " << k;
    }
}

TEST(Telemetria, DisparosCercaSinLosPropios) {
    // Two karts 2 cells apart, standing still for 40 frames; shots by either.
    zul::Carrera c;
    c.numJugadores = 2;
    c.nombres = {"a", "b"};
    for (int k = 0; k < 40; ++k) {
        for (const QPointF p : {QPointF(10, 10), QPointF(12, 10)}) {
            c.posiciones.push_back(p);
            c.angulos.push_back(0);
            c.vueltas.push_back(0);
        }
    }
    const struct {
        int frame;
        zul::Disparo disparo;
    } disparos[] = {
        {2, {{12, 10}, {30, 10}}},  // b's, away from a but its start is near a
        {5, {{12, 10}, {12, 30}}},  // b's, 2 cells from a
        {20, {{40, 11}, {0, 11}}},  // from off the track, past both
        {21, {{10, 10}, {10, 0}}},  // a's own
        {25, {{30, 30}, {35, 35}}}, // far from both
    };
    for (const auto& d : disparos) {
        c.disparos.push_back(d.disparo);
        c.framesDisparos.push_back(d.frame);
    }
    const zul::AnalisisCarrera analisis(c);
    const zul::Telemetria telemetria(c, analisis);
    const struct {
        int jugador;
        long long frame;
        int cuantos;
    } filas[] = {
        {0, 1, 0},  {0, 2, 1}, {0, 5, 2}, {0, 21, 3}, {1, 21, 2}, // a's own shot passes b: b saw it
        {0, 31, 3}, // frame 2 is the oldest in the window
        {0, 32, 2}, // and now it has left
        {0, 35, 1}, // so did frame 5
    };
    for (const auto& fila : filas) {
        EXPECT_EQ(telemetria.disparosCerca(fila.jugador, fila.frame), fila.cuantos)
            << "jugador " << fila.jugador << ", paso " << fila.frame;
    }
}

TEST(Telemetria, AnguloComoElKit) {
    const struct {
        double radianes;
        double grados;
    } filas[] = {{0, 0},          {kPi / 2, 90},     {kPi, 180},
                 {-kPi / 2, 270}, {5 * kPi / 2, 90}, {-0.1194, 353.15888}};
    for (const auto& fila : filas) {
        EXPECT_NEAR(zul::anguloKit(fila.radianes), fila.grados, 1e-4) << fila.radianes;
    }
    EXPECT_TRUE(std::isnan(zul::anguloKit(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Telemetria, VelocidadVueltaAVuelta) {
    // One cell a step along a line; laps of 40, 30 and 35 steps, then 10
    // steps of a lap on the way. With no map the lap's share of its distance
    // places each step round it; the open lap is measured against the last.
    const int limites[] = {40, 70, 105};
    const zul::Carrera carrera = carreraDe(
        115, [](int k) { return QPointF(k, 2.0); },
        [&limites](int k) {
            return static_cast<int>(std::upper_bound(limites, limites + 3, k) - limites);
        });
    const zul::AnalisisCarrera analisis(carrera);
    const zul::Telemetria telemetria(carrera, analisis);
    const zul::ProgresoVuelta progreso(carrera, analisis, nullptr);
    ASSERT_FALSE(progreso.conocido());
    const zul::VueltasGrafica laps = zul::velocidadPorVuelta(analisis, telemetria, progreso, 0);
    const struct {
        long long numero, inicio, tiempo, largo;
    } filas[] = {{1, 0, 40, 40}, {2, 40, 30, 30}, {3, 70, 35, 35}, {4, 105, -1, 35}};
    ASSERT_EQ(laps.vueltas.size(), std::size(filas));
    EXPECT_EQ(laps.mejor, 1);
    for (std::size_t i = 0; i < std::size(filas); ++i) {
        SCOPED_TRACE(i);
        const zul::VueltaGrafica& v = laps.vueltas[i];
        EXPECT_EQ(v.numero, filas[i].numero);
        EXPECT_EQ(v.inicio, filas[i].inicio);
        EXPECT_EQ(v.tiempo, filas[i].tiempo);
        ASSERT_EQ(v.puntos.size(), static_cast<std::size_t>(v.tiempo > 0 ? v.tiempo : 10));
        for (const zul::PuntoGrafica& p : v.puntos) {
            EXPECT_NEAR(p.x, double(p.frame - v.inicio) / filas[i].largo, 1e-12) << p.frame;
            EXPECT_EQ(p.y, p.frame == 0 ? 0.0 : 1.0) << p.frame;
        }
    }
    const zul::SerieGrafica porFrame = zul::velocidadPorFrame(telemetria, 0);
    ASSERT_EQ(porFrame.size(), 115u);
    EXPECT_EQ(porFrame[57].x, 57.0);
    EXPECT_EQ(porFrame[57].y, 1.0);
}

} // namespace
