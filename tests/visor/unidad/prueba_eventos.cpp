// Race events for the timeline, and the geometry behind the mouse on the
// track: plain code, no widgets.
#include "datos/eventos.h"
#include "geometria/geometria.h"
#include "geometria/interaccion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace zul {

// How a failed comparison shows an event.
void PrintTo(const Evento& e, std::ostream* os) {
    *os << (e.tipo == Evento::Disparo ? "disparo" : "vuelta") << "@" << e.frame << "/" << e.jugador;
}

} // namespace zul

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using zul::Evento;

Evento disparo(long long frame) {
    return {frame, Evento::Disparo, -1};
}

Evento vuelta(long long frame, int jugador) {
    return {frame, Evento::Vuelta, jugador};
}

// A race of n players from their lap counts, frame after frame (a last frame
// may be short), and the frames of its shots.
zul::Carrera carrera(int n, const std::vector<std::vector<int>>& vueltas,
                     const std::vector<int>& framesDisparos) {
    zul::Carrera c;
    c.numJugadores = n;
    for (const std::vector<int>& frame : vueltas) {
        for (int v : frame) {
            c.posiciones.emplace_back(0.0, 0.0);
            c.angulos.push_back(0.0);
            c.vueltas.push_back(v);
        }
    }
    for (int f : framesDisparos) {
        c.disparos.push_back({QPointF(0, 0), QPointF(1, 1)});
        c.framesDisparos.push_back(f);
    }
    return c;
}

struct CasoEventos {
    const char* nombre;
    zul::Carrera carrera;
    std::vector<Evento> eventos;
};

std::string nombreCaso(const ::testing::TestParamInfo<CasoEventos>& info) {
    std::string nombre = info.param.nombre;
    for (char& c : nombre) {
        if (c == ' ') {
            c = '_';
        }
    }
    return nombre;
}

class Eventos : public ::testing::TestWithParam<CasoEventos> {};

TEST_P(Eventos, EnOrdenDeFrames) {
    EXPECT_EQ(zul::eventosCarrera(GetParam().carrera), GetParam().eventos);
}

INSTANTIATE_TEST_SUITE_P(
    Carreras, Eventos,
    ::testing::Values(
        CasoEventos{"solo cabecera", carrera(2, {}, {}), {}},
        CasoEventos{"sin jugadores", carrera(0, {}, {0}), {}},
        CasoEventos{
            "disparos y vueltas",
            carrera(2, {{0, 0}, {1, 0}, {1, 1}, {2, 2}}, {0, 0, 2}),
            {disparo(0), vuelta(1, 0), disparo(2), vuelta(2, 1), vuelta(3, 0), vuelta(3, 1)}},
        CasoEventos{
            "vueltas que bajan o saltan", carrera(1, {{3}, {1}, {1}, {4}}, {}), {vuelta(3, 0)}},
        CasoEventos{"el primer frame no tiene anterior", carrera(2, {{5, 5}}, {}), {}},
        CasoEventos{
            "disparos fuera de la carrera", carrera(1, {{0}, {0}}, {-1, 1, 2, 7}), {disparo(1)}},
        CasoEventos{"ultimo frame parcial",
                    carrera(2, {{0, 0}, {0, 0}, {1}}, {2}),
                    {disparo(2), vuelta(2, 0)}}),
    nombreCaso);

TEST(Eventos, FramesDistintosYOrdenados) {
    EXPECT_EQ(zul::framesDeEventos({disparo(4), vuelta(4, 1), vuelta(2, 0), disparo(9)}),
              (std::vector<long long>{2, 4, 9}));
    EXPECT_TRUE(zul::framesDeEventos({}).empty());
}

struct CasoSalto {
    long long desde;
    long long siguiente;
    long long anterior;
};

class Saltos : public ::testing::TestWithParam<CasoSalto> {};

TEST_P(Saltos, AlEventoMasCercano) {
    const std::vector<long long> frames = {3, 7, 20};
    EXPECT_EQ(zul::frameEventoSiguiente(frames, GetParam().desde), GetParam().siguiente);
    EXPECT_EQ(zul::frameEventoAnterior(frames, GetParam().desde), GetParam().anterior);
}

INSTANTIATE_TEST_SUITE_P(Frames, Saltos,
                         ::testing::Values(CasoSalto{-1, 3, -1}, CasoSalto{0, 3, -1},
                                           CasoSalto{3, 7, -1}, CasoSalto{4, 7, 3},
                                           CasoSalto{7, 20, 3}, CasoSalto{19, 20, 7},
                                           CasoSalto{20, -1, 7}, CasoSalto{500, -1, 20}));

TEST(Saltos, SinEventos) {
    EXPECT_EQ(zul::frameEventoSiguiente({}, 0), -1);
    EXPECT_EQ(zul::frameEventoAnterior({}, 10), -1);
}

// The worked example of the track view: a 512 x 512 view at zoom 10
// following (20.5, 30.5).
zul::Encuadre ejemplo(double zoom = 10.0) {
    zul::Encuadre e;
    e.ancla = 256.0;
    e.zoom = zoom;
    e.centro = QPointF(20.5, 30.5);
    return e;
}

struct CasoPixel {
    double zoom;
    QPointF pixel;
    QPointF punto;
};

class PixelAMapa : public ::testing::TestWithParam<CasoPixel> {};

TEST_P(PixelAMapa, InversaDeAPixel) {
    const CasoPixel c = GetParam();
    const zul::Encuadre e = ejemplo(c.zoom);
    const QPointF punto = e.aMapa(c.pixel);
    EXPECT_DOUBLE_EQ(punto.x(), c.punto.x());
    EXPECT_DOUBLE_EQ(punto.y(), c.punto.y());
    const QPointF vuelta = e.aPixel(punto);
    EXPECT_NEAR(vuelta.x(), c.pixel.x(), 1e-9);
    EXPECT_NEAR(vuelta.y(), c.pixel.y(), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Pixeles, PixelAMapa,
    ::testing::Values(CasoPixel{10.0, QPointF(256, 256), QPointF(20.5, 30.5)},
                      CasoPixel{10.0, QPointF(251, 251), QPointF(20, 30)},
                      CasoPixel{10.0, QPointF(0, 0), QPointF(-5.1, 4.9)},
                      CasoPixel{10.0, QPointF(511.5, 0.5), QPointF(46.05, 4.95)},
                      CasoPixel{0.5, QPointF(266, 246), QPointF(40.5, 10.5)},
                      CasoPixel{50.0, QPointF(-44, 306), QPointF(14.5, 31.5)}));

TEST(PixelAMapa, ZoomQueNoEsUnNumeroPositivo) {
    for (double zoom : {0.0, -2.0, kNaN, kInf}) {
        const QPointF punto = ejemplo(zoom).aMapa(QPointF(256, 256));
        EXPECT_TRUE(std::isnan(punto.x()) && std::isnan(punto.y())) << zoom;
    }
}

struct CasoKart {
    const char* nombre;
    double zoom;
    QPointF punto;
    int kart;
};

class KartEnPunto : public ::testing::TestWithParam<CasoKart> {};

// Two karts half a cell apart; at zoom 10 a disc has a radius of 25 pixels,
// 2.5 cells; at zoom 2 of 6 pixels, 3 cells.
TEST_P(KartEnPunto, ElDiscoDeArriba) {
    const QVector<QPointF> karts = {QPointF(5, 5), QPointF(5.5, 5)};
    EXPECT_EQ(zul::kartEnPunto(karts, GetParam().punto, GetParam().zoom), GetParam().kart);
}

INSTANTIATE_TEST_SUITE_P(
    Clics, KartEnPunto,
    ::testing::Values(CasoKart{"centro del de abajo", 10.0, QPointF(5, 5), 1},
                      CasoKart{"solo el primero", 10.0, QPointF(2.6, 5), 0},
                      CasoKart{"borde exacto", 10.0, QPointF(2.5, 5), 0},
                      CasoKart{"justo fuera", 10.0, QPointF(2.49, 5), -1},
                      CasoKart{"solo el segundo", 10.0, QPointF(7.9, 5), 1},
                      CasoKart{"lejos", 10.0, QPointF(5, 9), -1},
                      CasoKart{"zoom pequeno", 2.0, QPointF(8.4, 5), 1},
                      CasoKart{"zoom pequeno fuera", 2.0, QPointF(8.6, 5), -1},
                      CasoKart{"punto que no es un numero", 10.0, QPointF(kNaN, 5), -1},
                      CasoKart{"zoom cero", 0.0, QPointF(5, 5), -1},
                      CasoKart{"zoom que no es un numero", kNaN, QPointF(5, 5), -1}),
    [](const ::testing::TestParamInfo<CasoKart>& info) {
        std::string nombre = info.param.nombre;
        for (char& c : nombre) {
            if (c == ' ') {
                c = '_';
            }
        }
        return nombre;
    });

TEST(KartEnPunto, SinKartsOConPosicionesRaras) {
    EXPECT_EQ(zul::kartEnPunto({}, QPointF(0, 0), 10.0), -1);
    // A kart at no position is never hit; the others still are.
    EXPECT_EQ(zul::kartEnPunto({QPointF(1, 1), QPointF(kNaN, kNaN)}, QPointF(1, 1), 10.0), 0);
    EXPECT_EQ(zul::kartEnPunto({QPointF(kInf, 1)}, QPointF(kInf, 1), 10.0), -1);
}

TEST(ZoomTrasMuescas, FactorPorMuesca) {
    EXPECT_DOUBLE_EQ(zul::zoomTrasMuescas(10.0, 1.0), 12.5);
    EXPECT_DOUBLE_EQ(zul::zoomTrasMuescas(10.0, -1.0), 8.0);
    EXPECT_DOUBLE_EQ(zul::zoomTrasMuescas(10.0, 2.0), 15.625);
    EXPECT_DOUBLE_EQ(zul::zoomTrasMuescas(10.0, 0.5), 10.0 * std::sqrt(1.25));
    EXPECT_DOUBLE_EQ(zul::zoomTrasMuescas(10.0, 0.0), 10.0);
    // Turns and zooms that lead nowhere keep the zoom.
    EXPECT_EQ(zul::zoomTrasMuescas(10.0, kNaN), 10.0);
    EXPECT_EQ(zul::zoomTrasMuescas(10.0, 1e6), 10.0);
    EXPECT_EQ(zul::zoomTrasMuescas(10.0, -1e6), 10.0);
    EXPECT_EQ(zul::zoomTrasMuescas(0.0, 1.0), 0.0);
}

} // namespace
