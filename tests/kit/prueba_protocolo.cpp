// The turn protocol seen from outside: real bots, real pipes.
#include "proceso.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kDummy = ZUL_DUMMY;
const std::string kSonda = ZUL_SONDA;
const std::string kGuion = ZUL_GUION;
const std::string kCbot = ZUL_CBOT;

const std::string kMapa23 = "2 3\n0 1 2\n3 5 4\n";

std::vector<std::string> separar(const std::string& texto, char c = '\n') {
    std::vector<std::string> v;
    std::stringstream ss(texto);
    for (std::string l; std::getline(ss, l, c);) {
        v.push_back(l);
    }
    return v;
}

// What the probe saw of each entry.
struct Vista {
    float x, y, angulo, fuerza;
    int celda;
};

std::vector<Vista> vistas(const Resultado& r) {
    std::vector<Vista> v;
    for (const auto& l : separar(r.errores)) {
        if (l.rfind("E ", 0) == 0) {
            std::istringstream ss(l.substr(2));
            int i;
            std::string x, y, a, f;
            Vista e{};
            ss >> i >> x >> y >> a >> f >> e.celda;
            e.x = std::strtof(x.c_str(), nullptr);
            e.y = std::strtof(y.c_str(), nullptr);
            e.angulo = std::strtof(a.c_str(), nullptr);
            e.fuerza = std::strtof(f.c_str(), nullptr);
            v.push_back(e);
        }
    }
    return v;
}

std::vector<std::string> cabecerasTurno(const Resultado& r) {
    std::vector<std::string> v;
    for (const auto& l : separar(r.errores)) {
        if (l.rfind("T ", 0) == 0) {
            v.push_back(l);
        }
    }
    return v;
}

// ---------------------------------------------------------------------------------------------
// The input ends in each phase: status 0, no message and no line for an incomplete turn.

struct CasoFin {
    const char* nombre;
    const char* entrada;
    size_t lineas;
};

class FinDeEntrada : public testing::TestWithParam<CasoFin> {};

TEST_P(FinDeEntrada, TerminaConCeroSinLineaDeMas) {
    const auto& c = GetParam();
    Resultado r = ejecutar({kDummy}, c.entrada);
    EXPECT_FALSE(r.colgado);
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.errores, "");
    auto lineas = r.lineas();
    ASSERT_EQ(lineas.size(), c.lineas) << r.salida;
    for (const auto& l : lineas) {
        EXPECT_EQ(l, "m 1.500000 0.000000");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fases, FinDeEntrada,
    testing::Values(CasoFin{"vacia", "", 0}, CasoFin{"media_cabecera", "2", 0},
                    CasoFin{"cabecera", "2 3\n", 0}, CasoFin{"mapa_a_medias", "2 3\n0 1 2\n3", 0},
                    CasoFin{"mapa_sin_turnos", "1 1\n4\n", 0},
                    CasoFin{"solo_numero_de_jugadores", "0 0\n2\n", 0},
                    CasoFin{"entrada_a_medias", "0 0\n1\n1.5 2.5 3\n", 0},
                    CasoFin{"sin_id", "0 0\n1\n1 2 3 4\n", 0},
                    CasoFin{"segundo_turno_a_medias", "0 0\n0 7\n1 1 2", 1},
                    CasoFin{"dos_turnos", "0 0\n0 7\n0 7\n", 2},
                    CasoFin{"sin_salto_final", "1 1 4 0 3", 1},
                    CasoFin{"todo_en_una_linea", "2 3 0 1 2 3 5 4 1 0.5 0.5 1 0 0 -2 1", 2},
                    // The input ends inside a number: a sign with nothing after it.
                    CasoFin{"signo_suelto_al_final", "0 0 2 1 1 1 1 1 1 1 -", 0},
                    CasoFin{"signo_suelto_en_la_entrada", "0 0\n0 1\n1\n0.5 -", 1},
                    CasoFin{"signo_suelto_en_el_id", "0 0\n0 1\n0 +", 1},
                    CasoFin{"signo_suelto_en_el_mapa", "1 1 -", 0}),
    [](const auto& i) { return std::string(i.param.nombre); });

// ---------------------------------------------------------------------------------------------
// An unreadable number: a non-zero status and one stderr line saying what and where.

struct CasoMal {
    const char* nombre;
    const char* entrada;
    size_t lineas;
    std::vector<std::string> dice;
};

class EntradaMalFormada : public testing::TestWithParam<CasoMal> {};

TEST_P(EntradaMalFormada, TerminaConErrorYMensaje) {
    const auto& c = GetParam();
    Resultado r = ejecutar({kDummy}, c.entrada);
    EXPECT_FALSE(r.colgado);
    EXPECT_EQ(r.estado, 1);
    EXPECT_EQ(r.lineas().size(), c.lineas) << r.salida;
    ASSERT_EQ(separar(r.errores).size(), 1u) << r.errores;
    EXPECT_EQ(r.errores.back(), '\n');
    for (const auto& frase : c.dice) {
        EXPECT_NE(r.errores.find(frase), std::string::npos)
            << "falta «" << frase << "» en " << r.errores;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Campos, EntradaMalFormada,
    testing::Values(
        CasoMal{"filas", "x", 0, {"número de filas", "en el mapa", "«x»"}},
        CasoMal{"columnas", "2 ;", 0, {"número de columnas", "«;»"}},
        CasoMal{"celda", "1 2 0 z", 0, {"fila 0, columna 1", "«z»"}},
        CasoMal{"jugadores", "0 0 abc", 0, {"número de jugadores", "turno 1", "«a»"}},
        CasoMal{"coordenada_x", "0 0 0 1 1 q", 1, {"coordenada x de la entrada 0", "turno 2"}},
        CasoMal{"id", "0 0 1 1 2 3 4 #", 0, {"identificador propio", "«#»"}},
        CasoMal{"byte_de_control", "0 0 1 1 2 3 \x01", 0, {"componente v", "0x01"}}),
    [](const auto& i) { return std::string(i.param.nombre); });

// ---------------------------------------------------------------------------------------------
// What the contestant sees of each entry: the conversion to angle and force, and the map lookup
// at its position. Each table is one turn with one entry per row.

struct CasoEntrada {
    const char* texto; // "x y u v" as it arrives
    float x, y, angulo, fuerza;
    int celda;
};

void comprobarEntradas(const std::string& mapa, const std::vector<CasoEntrada>& casos) {
    std::string entrada = mapa + std::to_string(casos.size()) + "\n";
    for (const auto& c : casos) {
        entrada += std::string(c.texto) + "\n";
    }
    entrada += "0\n";
    Resultado r = ejecutar({kSonda}, entrada);
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.lineas(), std::vector<std::string>{"m 0.000000 0.000000"});
    auto v = vistas(r);
    ASSERT_EQ(v.size(), casos.size()) << r.errores;
    for (size_t i = 0; i < casos.size(); ++i) {
        SCOPED_TRACE(casos[i].texto);
        if (std::isnan(casos[i].x)) {
            EXPECT_TRUE(std::isnan(v[i].x));
        } else {
            EXPECT_EQ(v[i].x, casos[i].x);
        }
        EXPECT_EQ(v[i].y, casos[i].y);
        EXPECT_NEAR(v[i].angulo, casos[i].angulo, 1e-4);
        EXPECT_NEAR(v[i].fuerza, casos[i].fuerza, 1e-5);
        EXPECT_EQ(v[i].celda, casos[i].celda);
    }
}

TEST(Entradas, AnguloYFuerza) {
    comprobarEntradas(kMapa23, {
                                   {"0 0 0 0", 0, 0, 0, 0, 0},
                                   {"0 0 1 0", 0, 0, 0, 1, 0},
                                   {"0 0 0 1", 0, 0, 90, 1, 0},
                                   {"0 0 -1 0", 0, 0, 180, 1, 0},
                                   {"0 0 0 -1", 0, 0, 270, 1, 0},
                                   {"0 0 3 4", 0, 0, 53.130102f, 5, 0},
                                   {"0 0 1 1", 0, 0, 45, std::sqrt(2.0f), 0},
                                   {"0 0 1 -1e-10", 0, 0, 360, 1, 0},
                                   {"0 0 0x1p1 0", 0, 0, 0, 2, 0},
                                   {"0 0 -2.5e-1 0", 0, 0, 180, 0.25f, 0},
                               });
}

TEST(Entradas, ExactosEnLosEjes) {
    // With each step rounded to float, the axes give exact values (and a tiny negative v gives
    // 360, not something less).
    Resultado r = ejecutar({kSonda}, "0 0\n5\n0 0 0 1\n0 0 -1 0\n0 0 0 -1\n0 0 1 -1e-10\n"
                                     "0 0 3 4\n0\n");
    auto v = vistas(r);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(v[0].angulo, 90.0f);
    EXPECT_EQ(v[1].angulo, 180.0f);
    EXPECT_EQ(v[2].angulo, 270.0f);
    EXPECT_EQ(v[3].angulo, 360.0f);
    EXPECT_EQ(v[4].fuerza, 5.0f);
}

TEST(Entradas, FormasDeNumeroDePosicion) {
    comprobarEntradas(kMapa23, {
                                   {"0x1.8p1 -2.5e-1 0 0", 3, -0.25f, 0, 0, 5},
                                   {"+1.5 .5 0 0", 1.5f, 0.5f, 0, 0, 1},
                                   {"nan 0 0 0", NAN, 0, 0, 0, 5},
                                   {"-inf 1 0 0", -INFINITY, 1, 0, 0, 5},
                                   {"1e30 0.5 0 0", 1e30f, 0.5f, 0, 0, 5},
                               });
}

// A map of 2 rows and 3 columns: 0 1 2 / 3 5 4.
TEST(DirrecionDelMapa, BordesDeUnMapaNoCuadrado) {
    comprobarEntradas(kMapa23, {
                                   {"0 0 0 0", 0, 0, 0, 0, 0},
                                   {"-0 -0 0 0", -0.0f, -0.0f, 0, 0, 0},
                                   {"2.99999 0.5 0 0", 2.99999f, 0.5f, 0, 0, 2},
                                   {"3 0.5 0 0", 3, 0.5f, 0, 0, 5},
                                   {"0.5 1.99999 0 0", 0.5f, 1.99999f, 0, 0, 3},
                                   {"0.5 2 0 0", 0.5f, 2, 0, 0, 5},
                                   {"-0.001 0.5 0 0", -0.001f, 0.5f, 0, 0, 5},
                                   {"0.5 -0.001 0 0", 0.5f, -0.001f, 0, 0, 5},
                                   {"2.5 1.5 0 0", 2.5f, 1.5f, 0, 0, 4},
                                   {"1.5 1.5 0 0", 1.5f, 1.5f, 0, 0, 5},
                                   // x is bounded by the columns and y by the rows.
                                   {"2.5 0.5 0 0", 2.5f, 0.5f, 0, 0, 2},
                                   {"0.5 2.5 0 0", 0.5f, 2.5f, 0, 0, 5},
                               });
}

TEST(DirrecionDelMapa, MapasVacios) {
    const std::vector<CasoEntrada> fuera = {{"0 0 0 0", 0, 0, 0, 0, 5},
                                            {"0.5 0.5 0 0", 0.5f, 0.5f, 0, 0, 5},
                                            {"-1 -1 0 0", -1, -1, 0, 0, 5}};
    comprobarEntradas("0 0\n", fuera);
    comprobarEntradas("3 0\n", fuera);
    comprobarEntradas("0 3\n", fuera);
    // Negative dimensions: a 0 × 0 map, with no cells to read.
    comprobarEntradas("-2 3\n", fuera);
    comprobarEntradas("2 -3\n", fuera);
}

TEST(DirrecionDelMapa, DimensionesNegativasSeLeenComoCero) {
    Resultado r = ejecutar({kSonda}, "-2 3\n0 7\n");
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(cabecerasTurno(r), std::vector<std::string>{"T id=7 n=0 mapa=0x0 puedo=1"});
}

// Maps beyond 513: each cell holds row * 1000 + column.
struct CasoMapaGrande {
    int filas, columnas;
};

class MapaGrande : public testing::TestWithParam<CasoMapaGrande> {};

TEST_P(MapaGrande, CeldasLejanasLegibles) {
    const auto [filas, columnas] = GetParam();
    std::string mapa = std::to_string(filas) + " " + std::to_string(columnas) + "\n";
    for (int f = 0; f < filas; ++f) {
        for (int c = 0; c < columnas; ++c) {
            mapa += std::to_string(f * 1000 + c) + (c + 1 < columnas ? " " : "\n");
        }
    }
    auto punto = [](float x, float y) {
        std::ostringstream ss;
        ss << x << " " << y << " 0 0";
        return ss.str();
    };
    std::vector<std::string> textos;
    std::vector<CasoEntrada> casos;
    auto consulta = [&](float x, float y, int celda) {
        textos.push_back(punto(x, y));
        casos.push_back({nullptr, x, y, 0, 0, celda});
    };
    const float xf = columnas - 0.5f, yf = filas - 0.5f;
    consulta(0.5f, 0.5f, 0);
    consulta(xf, 0.5f, columnas - 1);
    consulta(0.5f, yf, (filas - 1) * 1000);
    consulta(xf, yf, (filas - 1) * 1000 + columnas - 1);
    consulta(static_cast<float>(columnas), 0.5f, 5);
    consulta(0.5f, static_cast<float>(filas), 5);
    for (size_t i = 0; i < casos.size(); ++i) {
        casos[i].texto = textos[i].c_str();
    }
    comprobarEntradas(mapa, casos);
}

INSTANTIATE_TEST_SUITE_P(MasAllaDe513, MapaGrande,
                         testing::Values(CasoMapaGrande{600, 600}, CasoMapaGrande{3, 700},
                                         CasoMapaGrande{700, 2}),
                         [](const auto& i) {
                             return std::to_string(i.param.filas) + "x" +
                                    std::to_string(i.param.columnas);
                         });

// ---------------------------------------------------------------------------------------------
// The number of entries per turn.

TEST(Turnos, CientoCincuentaEntradas) {
    std::string entrada = "0 0\n150\n";
    for (int i = 0; i < 150; ++i) {
        entrada += std::to_string(i) + " " + std::to_string(i) + ".5 0 " + std::to_string(i) + "\n";
    }
    entrada += "77\n2\n1 1 1 0\n2 2 0 1\n5\n";
    Resultado r = ejecutar({kSonda}, entrada);
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.lineas().size(), 2u);
    EXPECT_EQ(cabecerasTurno(r), (std::vector<std::string>{"T id=77 n=150 mapa=0x0 puedo=1",
                                                           "T id=5 n=2 mapa=0x0 puedo=1"}));
    auto v = vistas(r);
    ASSERT_EQ(v.size(), 152u);
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(v[i].x, static_cast<float>(i));
        EXPECT_EQ(v[i].y, i + 0.5f);
        EXPECT_EQ(v[i].fuerza, static_cast<float>(i));
    }
    EXPECT_EQ(v[151].angulo, 90.0f);
}

TEST(Turnos, CeroYNegativoNoLeenEntradas) {
    // After N = 0 or N < 0 the next number is the own id.
    Resultado r = ejecutar({kSonda}, "0 0\n0 4\n-3 9\n1 1 2 0 0 6\n");
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.lineas().size(), 3u);
    EXPECT_EQ(cabecerasTurno(r), (std::vector<std::string>{"T id=4 n=0 mapa=0x0 puedo=1",
                                                           "T id=9 n=-3 mapa=0x0 puedo=1",
                                                           "T id=6 n=1 mapa=0x0 puedo=1"}));
}

// ---------------------------------------------------------------------------------------------
// The command: its components, how it lasts from turn to turn, and shots.

struct Turno {
    std::string entradas; // "" = none; else "angle force" of the only entry
    int disparos;         // calls of dispara() in the turn
    std::string linea;    // the expected reply
};

std::string textoTurnos(const std::vector<Turno>& turnos) {
    std::string t = "0 0\n";
    for (const auto& tu : turnos) {
        t += tu.entradas.empty() ? "0\n" : "1\n" + tu.entradas + " 0 0\n";
        t += std::to_string(tu.disparos) + "\n";
    }
    return t;
}

TEST(Orden, ComponentesYPermanencia) {
    const std::vector<Turno> turnos = {
        {"", 0, "m 0.000000 0.000000"}, // no asignarDireccion yet
        {"0 1.5", 0, "m 1.500000 0.000000"},
        {"90 2", 0, "m 0.000000 2.000000"},
        {"270 1.5", 0, "m -0.000000 -1.500000"},
        {"", 0, "m -0.000000 -1.500000"}, // kept
        {"180 1", 0, "m -1.000000 0.000000"},
        {"45 -2", 0, "m -1.414214 -1.414214"}, // negative force as it is
        {"450 1", 0, "m 0.000000 1.000000"},   // angle outside 0..360 as it is
        {"-90 0.5", 0, "m 0.000000 -0.500000"},
    };
    std::string texto = textoTurnos(turnos);
    // A turn with a negative N does not change the command either.
    texto += "-4 0\n";
    Resultado r = ejecutar({kGuion}, texto);
    ASSERT_EQ(r.estado, 0) << r.errores;
    auto lineas = r.lineas();
    ASSERT_EQ(lineas.size(), turnos.size() + 1);
    for (size_t i = 0; i < turnos.size(); ++i) {
        EXPECT_EQ(lineas[i], turnos[i].linea) << "turno " << i + 1;
    }
    EXPECT_EQ(lineas.back(), "m 0.000000 -0.500000");
}

TEST(Orden, EsperaDeCienTurnosEntreDisparos) {
    // Turn 1: two dispara() make one shot. Turns 2 to 100: asked for and ignored.
    // Turn 101: it may again. Turn 102: waiting again.
    std::vector<Turno> turnos = {{"0 1", 2, "s 1.000000 0.000000"}};
    for (int t = 2; t <= 100; ++t) {
        turnos.push_back({"", 1, "m 1.000000 0.000000"});
    }
    turnos.push_back({"90 1", 1, "s 0.000000 1.000000"});
    turnos.push_back({"", 3, "m 0.000000 1.000000"});
    Resultado r = ejecutar({kGuion}, textoTurnos(turnos));
    ASSERT_EQ(r.estado, 0) << r.errores;
    auto lineas = r.lineas();
    ASSERT_EQ(lineas.size(), turnos.size());
    for (size_t i = 0; i < turnos.size(); ++i) {
        EXPECT_EQ(lineas[i], turnos[i].linea) << "turno " << i + 1;
    }
    // puedoDisparar() before and after asking for the shot, turn by turn.
    auto puedo = separar(r.errores);
    ASSERT_EQ(puedo.size(), turnos.size());
    EXPECT_EQ(puedo[0], "puedo 1 0");
    for (size_t i = 1; i < 100; ++i) {
        EXPECT_EQ(puedo[i], "puedo 0 0") << "turno " << i + 1;
    }
    EXPECT_EQ(puedo[100], "puedo 1 0");
    EXPECT_EQ(puedo[101], "puedo 0 0");
}

// ---------------------------------------------------------------------------------------------
// The sample contestant, and one written in C.

TEST(Dummy, RespondeCadaTurnoEnCuantoLoLee) {
    // The next turn is sent only once the reply has arrived: if the output were not flushed
    // every turn, this would not move on.
    Proceso p({kDummy});
    p.escribir(kMapa23);
    for (int t = 0; t < 5; ++t) {
        p.escribir("1\n0.5 0.5 1 0\n0\n");
        std::string linea;
        ASSERT_TRUE(p.leerLinea(linea)) << "turno " << t + 1;
        EXPECT_EQ(linea, "m 1.500000 0.000000");
    }
    Resultado r = p.terminar();
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida, "");
    EXPECT_EQ(r.errores, "");
}

// Nobody reads the answers any more: status 2 and a line on stderr, never death by SIGPIPE.
TEST(SalidaCerrada, EstadoDosYMensaje) {
    for (const std::string& bot : {kDummy, kCbot}) {
        SCOPED_TRACE(bot);
        Proceso p({bot});
        p.cerrarSalida();
        p.escribir("0 0\n0 1\n0 1\n");
        Resultado r = p.terminar();
        EXPECT_EQ(r.senal, 0);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.errores.find("ZULlib: no se pudo escribir la respuesta del turno 1"),
                  std::string::npos)
            << r.errores;
    }
}

TEST(ConcursanteEnC, JuegaIgual) {
    Resultado r = ejecutar({kCbot}, kMapa23 + "1\n2.5 1.5 0 0\n4\n0\n8\n");
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.lineas(), (std::vector<std::string>{"s 0.000000 2.000000", "m 0.000000 2.000000"}));
    // In the turn without entries, entry 0 keeps what the previous turn left.
    EXPECT_EQ(separar(r.errores), (std::vector<std::string>{"C 4 2 3 1 4", "C 8 2 3 0 4"}));
}

} // namespace
