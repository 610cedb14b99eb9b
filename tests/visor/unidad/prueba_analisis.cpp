// Standings, lap times and lap completions from the race log's lap counts.
#include "analisis/analisis.h"
#include "carrera_de_vueltas.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A row of the standings; -1 stands for a value that does not exist.
struct Fila {
    int jugador;
    int vueltas;
    long long paso;
    long long ultima;
    long long mejor;
    long long diferenciaVueltas;
    long long diferenciaPasos;
};

std::string texto(const Fila& f) {
    return "j" + std::to_string(f.jugador) + " v" + std::to_string(f.vueltas) + " paso " +
           std::to_string(f.paso) + " ultima " + std::to_string(f.ultima) + " mejor " +
           std::to_string(f.mejor) + " dif " + std::to_string(f.diferenciaVueltas) + "/" +
           std::to_string(f.diferenciaPasos);
}

std::vector<std::string> textos(const std::vector<zul::Puesto>& puestos) {
    std::vector<std::string> lista;
    for (const zul::Puesto& p : puestos) {
        lista.push_back(texto({p.jugador, p.vueltas, p.frameVuelta, p.ultimaVuelta.value_or(-1),
                               p.mejorVuelta.value_or(-1), p.diferenciaVueltas,
                               p.diferenciaPasos.value_or(-1)}));
    }
    return lista;
}

std::vector<std::string> textos(const std::vector<Fila>& filas) {
    std::vector<std::string> lista;
    for (const Fila& f : filas) {
        lista.push_back(texto(f));
    }
    return lista;
}

struct CasoClasificacion {
    const char* nombre;
    int jugadores;
    std::vector<std::vector<int>> vueltas;
    long long frame;
    std::vector<Fila> filas; // best first
};

class Clasificacion : public ::testing::TestWithParam<CasoClasificacion> {};

TEST_P(Clasificacion, SigueLasReglas) {
    const CasoClasificacion& caso = GetParam();
    const zul::AnalisisCarrera analisis(carreraDeVueltas(caso.jugadores, caso.vueltas));
    const std::vector<zul::Puesto> puestos = analisis.clasificacion(caso.frame);
    EXPECT_EQ(textos(puestos), textos(caso.filas));
    for (std::size_t i = 0; i < puestos.size(); ++i) {
        EXPECT_EQ(puestos[i].posicion, static_cast<int>(i) + 1);
        EXPECT_EQ(analisis.posicion(puestos[i].jugador, caso.frame), puestos[i].posicion);
    }
}

std::string nombreCaso(const ::testing::TestParamInfo<CasoClasificacion>& info) {
    return info.param.nombre;
}

INSTANTIATE_TEST_SUITE_P(
    Reglas, Clasificacion,
    ::testing::Values(
        // Equal laps: the one that got there first leads; gaps in frames.
        CasoClasificacion{"EmpatePorPaso",
                          3,
                          {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}},
                          3,
                          {{1, 1, 1, 1, 1, 0, 0}, {0, 1, 2, 2, 2, 0, 1}, {2, 1, 3, 3, 3, 0, 2}}},
        CasoClasificacion{"EmpatePorIndice",
                          3,
                          {{0, 0, 0}, {1, 0, 1}, {1, 1, 1}},
                          2,
                          {{0, 1, 1, 1, 1, 0, 0}, {2, 1, 1, 1, 1, 0, 0}, {1, 1, 2, 2, 2, 0, 1}}},
        // More laps beat an earlier paso; the others count laps behind.
        CasoClasificacion{"VueltasAntesQuePaso",
                          3,
                          {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 1, 2}},
                          3,
                          {{2, 2, 3, 1, 1, 0, 0}, {0, 1, 1, 1, 1, 1, -1}, {1, 1, 3, 3, 3, 1, -1}}},
        // A jump of three: the first lap takes the time, the last has none.
        CasoClasificacion{"SaltoDeVariasVueltas",
                          2,
                          {{0, 0}, {0, 0}, {3, 1}},
                          2,
                          {{0, 3, 2, -1, 2, 0, 0}, {1, 1, 2, 2, 2, 2, -1}}},
        CasoClasificacion{"TrasUnSaltoLaVueltaSiguienteTieneTiempo",
                          1,
                          {{0}, {2}, {2}, {2}, {3}},
                          4,
                          {{0, 3, 4, 3, 1, 0, 0}}},
        // Going down is a change of paso, not a completion.
        CasoClasificacion{"VueltasQueBajan",
                          2,
                          {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                          3,
                          {{1, 1, 2, 2, 2, 0, 0}, {0, 0, 3, 1, 1, 1, -1}}},
        CasoClasificacion{"RecuperarVueltasNoLasCompleta",
                          2,
                          {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {1, 1}},
                          4,
                          {{1, 1, 2, 2, 2, 0, 0}, {0, 1, 4, 1, 1, 0, 2}}},
        CasoClasificacion{"PasarElMaximoCompletaDesdeLaUltima",
                          1,
                          {{0}, {1}, {0}, {1}, {2}},
                          4,
                          {{0, 2, 4, 3, 1, 0, 0}}},
        CasoClasificacion{
            "NadieCompletaUnaVuelta",
            3,
            {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}},
            2,
            {{0, 5, 0, -1, -1, 0, 0}, {1, 5, 0, -1, -1, 0, 0}, {2, 5, 0, -1, -1, 0, 0}}},
        // Frame 0 ranks the starting counts and completes nothing.
        CasoClasificacion{"FrameCero",
                          2,
                          {{2, 3}, {2, 3}},
                          0,
                          {{1, 3, 0, -1, -1, 0, 0}, {0, 2, 0, -1, -1, 1, -1}}},
        CasoClasificacion{"UnJugador", 1, {{0}, {0}, {1}, {1}, {2}}, 4, {{0, 2, 4, 2, 2, 0, 0}}},
        CasoClasificacion{"MejorYUltimaDistintas",
                          1,
                          {{0}, {0}, {0}, {1}, {2}, {2}, {2}, {3}},
                          7,
                          {{0, 3, 7, 3, 1, 0, 0}}},
        // A partial last frame is left out: frames past the last complete one
        // rank like it.
        CasoClasificacion{"UltimoFrameParcial",
                          2,
                          {{0, 0}, {1, 0}, {2}},
                          2,
                          {{0, 1, 1, 1, 1, 0, 0}, {1, 0, 0, -1, -1, 1, -1}}},
        CasoClasificacion{"FrameNegativo",
                          2,
                          {{0, 1}, {1, 1}},
                          -5,
                          {{1, 1, 0, -1, -1, 0, 0}, {0, 0, 0, -1, -1, 1, -1}}}),
    nombreCaso);

TEST(Analisis, SinFramesCompletosNoHayClasificacion) {
    for (const zul::Carrera& c : {carreraDeVueltas(3, {}), carreraDeVueltas(3, {{1, 2}})}) {
        const zul::AnalisisCarrera analisis(c);
        EXPECT_EQ(analisis.framesAnalizados(), 0);
        EXPECT_TRUE(analisis.resultados().empty());
        EXPECT_TRUE(analisis.clasificacion(0).empty());
        EXPECT_EQ(analisis.posicion(0, 0), 0);
    }
}

TEST(Analisis, CompletadasGuardanElSaltoYSuTiempo) {
    const zul::AnalisisCarrera analisis(carreraDeVueltas(1, {{0}, {0}, {3}, {2}, {3}, {5}}));
    const std::vector<zul::VueltaCompletada>& lista = analisis.completadas(0);
    ASSERT_EQ(lista.size(), 2u);
    EXPECT_EQ(lista[0].frame, 2);
    EXPECT_EQ(lista[0].primera, 1);
    EXPECT_EQ(lista[0].ultima, 3);
    EXPECT_EQ(lista[0].tiempo, 2);
    EXPECT_EQ(lista[1].frame, 5);
    EXPECT_EQ(lista[1].primera, 4);
    EXPECT_EQ(lista[1].ultima, 5);
    EXPECT_EQ(lista[1].tiempo, 3);
    const std::vector<zul::CambioVueltas> cambios = analisis.cambios()[0];
    ASSERT_EQ(cambios.size(), 5u);
    const long long frames[] = {0, 2, 3, 4, 5};
    const int vueltas[] = {0, 3, 2, 3, 5};
    for (std::size_t i = 0; i < cambios.size(); ++i) {
        EXPECT_EQ(cambios[i].frame, frames[i]);
        EXPECT_EQ(cambios[i].vueltas, vueltas[i]);
    }
}

TEST(Analisis, ExtremosDeLasVueltasNoDesbordan) {
    const int minimo = std::numeric_limits<int>::min();
    const int maximo = std::numeric_limits<int>::max();
    const zul::AnalisisCarrera analisis(carreraDeVueltas(2, {{minimo, 0}, {maximo, 0}}));
    const std::vector<zul::Puesto> puestos = analisis.resultados();
    ASSERT_EQ(puestos.size(), 2u);
    EXPECT_EQ(puestos[0].jugador, 0);
    EXPECT_EQ(puestos[1].diferenciaVueltas, static_cast<long long>(maximo));
    ASSERT_EQ(analisis.completadas(0).size(), 1u);
    EXPECT_EQ(analisis.completadas(0)[0].ultima - analisis.completadas(0)[0].primera,
              static_cast<long long>(maximo) - minimo - 1);
}

TEST(Analisis, MilJugadores) {
    // Odd players finish lap 1 at frame 1, even ones at frame 2.
    const int n = 1000;
    std::vector<std::vector<int>> vueltas(3, std::vector<int>(n, 0));
    for (int j = 0; j < n; ++j) {
        vueltas[1][static_cast<std::size_t>(j)] = j % 2;
        vueltas[2][static_cast<std::size_t>(j)] = 1;
    }
    const zul::AnalisisCarrera analisis(carreraDeVueltas(n, vueltas));
    const std::vector<zul::Puesto> puestos = analisis.resultados();
    ASSERT_EQ(puestos.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const zul::Puesto& p = puestos[static_cast<std::size_t>(i)];
        const bool impar = i < n / 2;
        EXPECT_EQ(p.jugador, impar ? 2 * i + 1 : 2 * (i - n / 2));
        EXPECT_EQ(p.diferenciaPasos, impar ? 0 : 1);
        EXPECT_EQ(p.ultimaVuelta, impar ? 1 : 2);
    }
    EXPECT_EQ(analisis.posicion(999, 2), 500);
    EXPECT_EQ(analisis.posicion(0, 2), 501);
}

// A race that grows, analysed piece by piece, ends as if analysed at once.
TEST(Analisis, ExtenderDaLoMismoQueAnalizarDeUnaVez) {
    std::vector<std::vector<int>> vueltas;
    unsigned semilla = 12345;
    std::vector<int> actual(4, 0);
    for (int f = 0; f < 60; ++f) {
        for (int& v : actual) {
            semilla = semilla * 1103515245u + 12345u;
            const unsigned r = (semilla >> 16) % 10;
            v += r < 2 ? 1 : (r == 2 ? -1 : (r == 3 ? 2 : 0));
        }
        vueltas.push_back(actual);
    }
    const zul::Carrera entera = carreraDeVueltas(4, vueltas);
    const zul::AnalisisCarrera deUnaVez(entera);

    zul::AnalisisCarrera porPartes(4);
    zul::Carrera creciendo;
    creciendo.numJugadores = 4;
    for (std::size_t registros = 0; registros <= entera.vueltas.size(); registros += 7) {
        creciendo.vueltas.assign(entera.vueltas.begin(),
                                 entera.vueltas.begin() + static_cast<long>(registros));
        creciendo.posiciones.resize(registros);
        porPartes.extiende(creciendo);
        EXPECT_EQ(porPartes.framesAnalizados(), static_cast<long long>(registros / 4));
    }
    porPartes.extiende(entera);
    ASSERT_EQ(porPartes.framesAnalizados(), 60);
    for (long long f = 0; f < 60; ++f) {
        EXPECT_EQ(textos(porPartes.clasificacion(f)), textos(deUnaVez.clasificacion(f)))
            << "frame " << f;
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(porPartes.posicion(j, f), deUnaVez.posicion(j, f));
        }
    }
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(porPartes.completadas(j).size(), deUnaVez.completadas(j).size());
    }
}

TEST(Analisis, OtraCarreraSeRechaza) {
    zul::AnalisisCarrera analisis(carreraDeVueltas(2, {{0, 0}}));
    EXPECT_THROW(analisis.extiende(carreraDeVueltas(3, {{0, 0, 0}})), std::invalid_argument);
}

} // namespace
