// The turns that zulprueba --carrera builds from a race log.
#include "carrera_turnos.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using zulprueba::TurnosCarrera;
using zulprueba::turnosDeCarrera;

bool desdeTexto(const std::string& texto, long jugador, TurnosCarrera& t, std::string& error) {
    std::FILE* f = fmemopen(const_cast<char*>(texto.data()), texto.size(), "r");
    const bool bien = turnosDeCarrera(f, "carrera.txt", jugador, t, error);
    std::fclose(f);
    return bien;
}

const char* const kDosJugadores = "2 alfa beta\n"
                                  "s 0 0 1 1\n"
                                  "p 1.5 2.5 0 0\n"
                                  "p 4 4 1.57 0\n"
                                  "s 1 1 3 3\n"
                                  "p 1.6 2.5 0 0\n"
                                  "x p 4 4.25 1.57 1\n"
                                  "p 2 3 0 1 s 9 9 8 8\n";

TEST(CarreraTurnos, CadaPasoEsUnTurnoConElDesplazamientoAlSiguiente) {
    TurnosCarrera t;
    std::string error;
    ASSERT_TRUE(desdeTexto(kDosJugadores, 1, t, error)) << error;
    EXPECT_EQ(t.jugadores, 2);
    EXPECT_EQ(t.nombres, (std::vector<std::string>{"alfa", "beta"}));
    ASSERT_EQ(t.turnos.size(), 2u);
    EXPECT_TRUE(t.ultimoFrameIncompleto);
    // Each number in the shortest form that reads back as the same float: the bot reads floats.
    EXPECT_EQ(t.turnos[0].texto, "2\n1.5 2.5 0.1 0\n4 4 0 0.25\n1\n");
    // The last complete frame has nowhere to go.
    EXPECT_EQ(t.turnos[1].texto, "2\n1.6 2.5 0 0\n4 4.25 0 0\n1\n");
    EXPECT_EQ(t.turnos[0].u, 0);
    EXPECT_EQ(t.turnos[0].v, 0.25);
    EXPECT_EQ(zulprueba::desplazamientoReal(t.turnos[0], 1),
              "en la carrera, el jugador 1: m 0.000000 0.250000");
}

TEST(CarreraTurnos, LosDisparosVanConSuPaso) {
    TurnosCarrera t;
    std::string error;
    ASSERT_TRUE(desdeTexto(kDosJugadores, 0, t, error)) << error;
    // Before the first record and between frames 0 and 1: frame 0. The one inside the
    // partial last frame belongs to no turn.
    ASSERT_EQ(t.turnos[0].disparos.size(), 2u);
    EXPECT_EQ(t.turnos[0].disparos[1].x2, 3);
    EXPECT_TRUE(t.turnos[1].disparos.empty());
    EXPECT_EQ(t.turnos[0].u, 0.10000000000000009);
}

struct Rechazo {
    const char* texto;
    long jugador;
    const char* mensaje;
};

class CarreraRechazada : public testing::TestWithParam<Rechazo> {};

TEST_P(CarreraRechazada, ConSuMotivo) {
    TurnosCarrera t;
    std::string error;
    EXPECT_FALSE(desdeTexto(GetParam().texto, GetParam().jugador, t, error));
    EXPECT_EQ(error, GetParam().mensaje);
}

INSTANTIATE_TEST_SUITE_P(
    Filas, CarreraRechazada,
    testing::Values(
        Rechazo{"", 0, "carrera.txt: la carrera no empieza con el número de jugadores"},
        Rechazo{"dos a b", 0, "carrera.txt: la carrera no empieza con el número de jugadores"},
        Rechazo{"0", 0, "carrera.txt: la carrera declara 0 jugadores; hace falta al menos uno"},
        Rechazo{"1001", 0, "carrera.txt: la carrera declara 1001 jugadores; el máximo es 1000"},
        Rechazo{"2 a b p 1 1 0 0 p 2 2 0 0", 2,
                "el jugador 2 no está en la carrera carrera.txt, que tiene 2 jugadores (de 0 a "
                "1)"},
        Rechazo{"2 a b p 1 1 0 0 p 2 2 0 0", -1,
                "el jugador -1 no está en la carrera carrera.txt, que tiene 2 jugadores (de 0 "
                "a 1)"},
        Rechazo{"3 a b c", 0,
                "carrera.txt: la carrera no tiene ningún paso completo (3 jugadores, 0 "
                "registros p)"},
        Rechazo{"3 a b c p 1 1 0 0 p 2 2 0 0 s 1 1 2 2", 1,
                "carrera.txt: la carrera no tiene ningún paso completo (3 jugadores, 2 "
                "registros p)"},
        // A player record that does not read whole ends the log there.
        Rechazo{"1 a p 1 uno 0 0 p 2 2 0 0", 0,
                "carrera.txt: la carrera no tiene ningún paso completo (1 jugadores, 0 "
                "registros p)"}));

TEST(CarreraTurnos, UnArchivoQueNoSeAbreSeNombra) {
    TurnosCarrera t;
    std::string error;
    EXPECT_FALSE(turnosDeCarrera("/no/existe/carrera.txt", 0, t, error));
    EXPECT_EQ(error, "no se pudo abrir la carrera /no/existe/carrera.txt: no existe");
}

TEST(CarreraTurnos, LaCarreraDeEjemplo) {
    TurnosCarrera t;
    std::string error;
    ASSERT_TRUE(turnosDeCarrera(ZUL_EJEMPLOS "/carrera.txt", 3, t, error)) << error;
    EXPECT_EQ(t.jugadores, 5);
    EXPECT_EQ(t.nombres[3], "Bala");
    ASSERT_EQ(t.turnos.size(), 900u);
    EXPECT_FALSE(t.ultimoFrameIncompleto);
    // Frame 0 of the log: player 3 at (26, 6.3), next at (26.377, 6.345).
    std::istringstream primero(t.turnos[0].texto);
    int n = 0;
    primero >> n;
    ASSERT_EQ(n, 5);
    double x[5], y[5], u[5], v[5];
    for (int j = 0; j < 5; ++j) {
        primero >> x[j] >> y[j] >> u[j] >> v[j];
    }
    int id = -1;
    primero >> id;
    EXPECT_EQ(id, 3);
    EXPECT_EQ(x[3], 26.0);
    EXPECT_EQ(y[3], 6.3);
    EXPECT_EQ(static_cast<float>(u[3]), static_cast<float>(26.377 - 26.0));
    EXPECT_EQ(static_cast<float>(v[3]), static_cast<float>(6.345 - 6.3));
    EXPECT_EQ(static_cast<float>(t.turnos[0].u), static_cast<float>(u[3]));
    size_t disparos = 0;
    for (const auto& turno : t.turnos) {
        disparos += turno.disparos.size();
        EXPECT_EQ(turno.texto.back(), '\n');
    }
    EXPECT_GT(disparos, 0u);
    EXPECT_EQ(t.turnos.back().u, 0);
}

// The turns are valid protocol: zulprueba --turnos sends them to the sample contestant.
TEST(CarreraTurnos, ElDummyLosJuegaEnZulprueba) {
    TurnosCarrera t;
    std::string error;
    ASSERT_TRUE(turnosDeCarrera(ZUL_EJEMPLOS "/carrera.txt", 0, t, error)) << error;
    const std::string ruta = testing::TempDir() + "turnos_carrera.txt";
    {
        std::ofstream f(ruta);
        for (const auto& turno : t.turnos) {
            f << turno.texto;
        }
    }
    const std::string orden = std::string(ZUL_ZULPRUEBA) + " --mapa " ZUL_EJEMPLOS "/mapa.txt" +
                              " --turnos " + ruta + " -- " ZUL_DUMMY " > " + ruta + ".salida";
    EXPECT_EQ(std::system(orden.c_str()), 0);
    std::ifstream salida(ruta + ".salida");
    std::stringstream s;
    s << salida.rdbuf();
    EXPECT_NE(s.str().find("Turnos respondidos: 900 de 900"), std::string::npos) << s.str();
}

} // namespace
