// zulprueba --carrera and --plantilla through the real program.
#include "carpeta_temporal.h"
#include "proceso.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kZulprueba = ZUL_ZULPRUEBA;
const std::string kDummy = ZUL_DUMMY;
const std::string kCarrera = ZUL_EJEMPLOS "/carrera.txt";

bool contiene(const std::string& texto, const std::string& frase) {
    return texto.find(frase) != std::string::npos;
}

// The sample race read plainly (it holds only "p" and "s" records): the positions of each frame
// and the starts of its shots.
struct Paso {
    std::vector<double> x, y;
    std::vector<std::pair<double, double>> disparos;
};

std::vector<Paso> pasosDeEjemplo() {
    std::ifstream f(kCarrera);
    int n = 0;
    f >> n;
    std::string palabra;
    for (int j = 0; j < n; ++j) {
        f >> palabra;
    }
    std::vector<Paso> pasos;
    Paso actual;
    while (f >> palabra) {
        double a, b, c, d;
        f >> a >> b >> c >> d;
        if (palabra == "p") {
            actual.x.push_back(a);
            actual.y.push_back(b);
            if (actual.x.size() == static_cast<size_t>(n)) {
                pasos.push_back(actual);
                actual = Paso();
            }
        } else {
            // The log writes a frame's shots after its records.
            pasos.back().disparos.emplace_back(a, b);
        }
    }
    return pasos;
}

// What the transcript holds for one turn: the lines sent and the comments.
struct TurnoTranscrito {
    std::vector<std::string> enviado;
    std::vector<std::string> notas;
};

std::vector<TurnoTranscrito> turnosTranscritos(const std::string& transcripcion) {
    std::vector<TurnoTranscrito> turnos;
    std::istringstream lineas(transcripcion);
    std::string l;
    while (std::getline(lineas, l)) {
        if (l.rfind("# turno ", 0) == 0) {
            turnos.emplace_back();
        } else if (!turnos.empty() && l.rfind("> ", 0) == 0) {
            turnos.back().enviado.push_back(l.substr(2));
        } else if (!turnos.empty() && l.rfind("# en la carrera", 0) == 0) {
            turnos.back().notas.push_back(l.substr(2));
        }
    }
    return turnos;
}

std::string conPuntoFijo(const char* f, double a, double b) {
    char s[200];
    std::snprintf(s, sizeof s, f, a, b);
    return s;
}

TEST(ZulpruebaCarrera, CadaPasoEsUnTurnoDelJugador) {
    const std::string registro = rutaTemporal("transcripcion.txt");
    const Resultado r = ejecutar({kZulprueba, "--carrera", kCarrera, "--jugador", "3", "--registro",
                                  registro, "--limite", "20000", "--", kDummy},
                                 "");
    ASSERT_EQ(r.estado, 0) << r.salida << r.errores;
    EXPECT_TRUE(
        contiene(r.salida, "900 turnos de la carrera " + kCarrera + " como el jugador 3 («Bala»)"))
        << r.salida;
    // The sample map when none is given.
    EXPECT_TRUE(contiene(r.salida, "mapa.txt (60 filas × 90 columnas)")) << r.salida;
    EXPECT_TRUE(contiene(r.salida, "Turnos respondidos: 900 de 900"));
    EXPECT_TRUE(contiene(r.salida, "terminó con estado 0 al cerrarse su entrada"));

    const std::vector<Paso> pasos = pasosDeEjemplo();
    const std::string transcripcion = leerArchivo(registro);
    const std::vector<TurnoTranscrito> turnos = turnosTranscritos(transcripcion);
    ASSERT_EQ(pasos.size(), 900u);
    ASSERT_EQ(turnos.size(), pasos.size());
    size_t disparosPropios = 0;
    for (size_t k = 0; k < turnos.size(); ++k) {
        SCOPED_TRACE("turno " + std::to_string(k + 1));
        const auto& enviado = turnos[k].enviado;
        ASSERT_EQ(enviado.size(), 7u);
        EXPECT_EQ(enviado[0], "5");
        EXPECT_EQ(enviado[6], "3");
        for (size_t j = 0; j < 5; ++j) {
            double x, y, u, v;
            ASSERT_EQ(std::sscanf(enviado[j + 1].c_str(), "%lf %lf %lf %lf", &x, &y, &u, &v), 4);
            EXPECT_EQ(x, pasos[k].x[j]);
            EXPECT_EQ(y, pasos[k].y[j]);
            // The race's end: the last frame goes nowhere. Sent as the float the bot reads.
            EXPECT_EQ(
                static_cast<float>(u),
                static_cast<float>(k + 1 < pasos.size() ? pasos[k + 1].x[j] - pasos[k].x[j] : 0));
            EXPECT_EQ(
                static_cast<float>(v),
                static_cast<float>(k + 1 < pasos.size() ? pasos[k + 1].y[j] - pasos[k].y[j] : 0));
        }
        const double u = k + 1 < pasos.size() ? pasos[k + 1].x[3] - pasos[k].x[3] : 0;
        const double v = k + 1 < pasos.size() ? pasos[k + 1].y[3] - pasos[k].y[3] : 0;
        ASSERT_FALSE(turnos[k].notas.empty());
        EXPECT_EQ(turnos[k].notas[0], conPuntoFijo("en la carrera, el jugador 3: m %f %f", u, v));
        // Player 3's shots start where it stands; the others' are not its own.
        std::vector<std::string> disparos;
        for (const auto& d : pasos[k].disparos) {
            if (d.first == pasos[k].x[3] && d.second == pasos[k].y[3]) {
                disparos.push_back(conPuntoFijo("en la carrera, el jugador 3 disparó de (%g, %g)",
                                                d.first, d.second));
            }
        }
        ASSERT_EQ(turnos[k].notas.size(), disparos.size() + 1);
        for (size_t d = 0; d < disparos.size(); ++d) {
            EXPECT_EQ(turnos[k].notas[d + 1].rfind(disparos[d], 0), 0u) << turnos[k].notas[d + 1];
        }
        disparosPropios += disparos.size();
    }
    EXPECT_GT(disparosPropios, 0u);
    EXPECT_TRUE(contiene(transcripcion, "# fin de la entrada"));
}

struct CasoCarrera {
    const char* nombre;
    std::string carrera; // contents; empty: the sample race
    std::vector<std::string> opciones;
    std::vector<std::string> bot;
    int estado;
    std::vector<std::string> dice; // on standard output, or on standard error for status 2
};

class ZulpruebaCarreraCasos : public testing::TestWithParam<CasoCarrera> {};

TEST_P(ZulpruebaCarreraCasos, Informe) {
    const auto& c = GetParam();
    const std::string carrera =
        c.carrera.empty() ? kCarrera : escribirArchivo("carrera.txt", c.carrera);
    std::vector<std::string> argv = {kZulprueba, "--carrera", carrera, "--limite", "20000"};
    argv.insert(argv.end(), c.opciones.begin(), c.opciones.end());
    argv.push_back("--");
    argv.insert(argv.end(), c.bot.begin(), c.bot.end());
    const Resultado r = ejecutar(argv, "");
    EXPECT_FALSE(r.colgado);
    EXPECT_EQ(r.estado, c.estado) << r.salida << r.errores;
    const std::string& donde = c.estado == 2 ? r.errores : r.salida;
    for (const auto& frase : c.dice) {
        EXPECT_TRUE(contiene(donde, frase)) << "falta «" << frase << "» en:\n"
                                            << r.salida << r.errores;
    }
    if (c.estado == 2) {
        EXPECT_FALSE(contiene(r.salida, "Turnos respondidos")) << "el bot no debía arrancar";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ZulpruebaCarreraCasos,
    testing::Values(
        // Shooting through the library keeps the wait of 100 turns over the race's turns too.
        CasoCarrera{"disparos_validos",
                    "",
                    {"--jugador", "0"},
                    {ZUL_CBOT},
                    0,
                    {"900 turnos de la carrera", "Resultado: el bot cumple el protocolo"}},
        CasoCarrera{"disparos_seguidos",
                    "",
                    {"--jugador", "4"},
                    {ZUL_ROTO, "dispara"},
                    1,
                    {"como el jugador 4 («Trueno»)", "turno 2: disparo a 1 turno del anterior"}},
        CasoCarrera{"ultimo_paso_incompleto",
                    "2 alfa beta\np 1.5 1.5 0 0\np 2.5 1.5 0 0\np 1.5 1.5 0 0\n",
                    {"--jugador", "1", "--mapa", ZUL_EJEMPLOS "/mapa.txt"},
                    {ZUL_DUMMY},
                    0,
                    {"1 turno de la carrera",
                     "(sin su último paso, incompleto) como el "
                     "jugador 1 («beta»)",
                     "Turnos respondidos: 1 de 1"}},
        CasoCarrera{"jugador_de_mas",
                    "",
                    {"--jugador", "5"},
                    {ZUL_DUMMY},
                    2,
                    {"el jugador 5 no está en la carrera", "que tiene 5 jugadores (de 0 a 4)"}},
        CasoCarrera{"jugador_negativo",
                    "",
                    {"--jugador", "-1"},
                    {ZUL_DUMMY},
                    2,
                    {"el jugador -1 no está en la carrera"}},
        CasoCarrera{"jugador_no_numerico",
                    "",
                    {"--jugador", "tres"},
                    {ZUL_DUMMY},
                    2,
                    {"--jugador necesita un número entero, no «tres»"}},
        CasoCarrera{"jugador_enorme",
                    "",
                    {"--jugador", "99999999999"},
                    {ZUL_DUMMY},
                    2,
                    {"el jugador 99999999999 no está en la carrera"}},
        CasoCarrera{"jugador_fuera_de_long",
                    "",
                    {"--jugador", "99999999999999999999"},
                    {ZUL_DUMMY},
                    2,
                    {"--jugador necesita un número entre -9223372036854775808 y "
                     "9223372036854775807, no «99999999999999999999»"}},
        CasoCarrera{"sin_jugador", "", {}, {ZUL_DUMMY}, 2, {"--carrera necesita --jugador J"}},
        CasoCarrera{"con_pasos",
                    "",
                    {"--jugador", "0", "--pasos", "3"},
                    {ZUL_DUMMY},
                    2,
                    {"--turnos, --pasos y --carrera se excluyen"}},
        CasoCarrera{"con_jugadores",
                    "",
                    {"--jugador", "0", "--jugadores", "3"},
                    {ZUL_DUMMY},
                    2,
                    {"--jugadores es para los turnos sintéticos"}},
        CasoCarrera{"sin_pasos",
                    "3 a b c\n",
                    {"--jugador", "0"},
                    {ZUL_DUMMY},
                    2,
                    {"carrera.txt: la carrera no tiene ningún paso completo (3 jugadores, 0 "
                     "registros p)"}},
        CasoCarrera{"paso_a_medias",
                    "3 a b c\np 1 1 0 0\ns 1 1 2 2\n",
                    {"--jugador", "2"},
                    {ZUL_DUMMY},
                    2,
                    {"la carrera no tiene ningún paso completo (3 jugadores, 1 registros p)"}},
        CasoCarrera{"sin_cabecera",
                    "p 1 1 0 0\n",
                    {"--jugador", "0"},
                    {ZUL_DUMMY},
                    2,
                    {"carrera.txt: la carrera no empieza con el número de jugadores"}}),
    [](const testing::TestParamInfo<CasoCarrera>& i) { return std::string(i.param.nombre); });

TEST(ZulpruebaCarrera, ArchivosQueNoSonUnaCarrera) {
    const struct {
        std::string ruta;
        const char* dice;
    } casos[] = {
        {rutaTemporal("no-existe.txt"), "no se pudo abrir la carrera"},
        {testing::TempDir(), "es una carpeta"},
        {"/dev/zero", "no es un archivo normal"},
    };
    for (const auto& c : casos) {
        const Resultado r =
            ejecutar({kZulprueba, "--carrera", c.ruta, "--jugador", "0", "--", kDummy}, "");
        EXPECT_FALSE(r.colgado) << c.ruta;
        EXPECT_EQ(r.estado, 2) << c.ruta;
        EXPECT_TRUE(contiene(r.errores, c.dice)) << r.errores;
        EXPECT_TRUE(contiene(r.errores, c.ruta)) << r.errores;
    }
}

TEST(ZulpruebaCarrera, JugadorSinCarrera) {
    const Resultado r = ejecutar({kZulprueba, "--jugador", "0", "--", kDummy}, "");
    EXPECT_EQ(r.estado, 2);
    EXPECT_TRUE(contiene(r.errores, "--jugador va con --carrera CARRERA")) << r.errores;
}

// ---------------------------------------------------------------------------------------------
// --plantilla

const char* const kArchivosPlantilla[] = {"CMakeLists.txt", "README.md", "bot.cpp", "bot.py"};

TEST(ZulpruebaPlantilla, SeCopiaEnUnaCarpetaNuevaOVacia) {
    fs::create_directories(rutaTemporal("vacia"));
    for (const std::string& destino : {rutaTemporal("nueva/mibot"), rutaTemporal("vacia")}) {
        const Resultado r = ejecutar({kZulprueba, "--plantilla", destino}, "");
        ASSERT_EQ(r.estado, 0) << r.salida << r.errores;
        EXPECT_TRUE(contiene(r.salida, "plantilla copiada")) << r.salida;
        for (const char* a : kArchivosPlantilla) {
            EXPECT_TRUE(contiene(r.salida, destino + "/" + a)) << r.salida;
            EXPECT_EQ(leerArchivo(destino + "/" + a),
                      leerArchivo(ZUL_PLANTILLA "/" + std::string(a)))
                << a;
        }
    }
}

TEST(ZulpruebaPlantilla, UnArchivoQueYaEstaNoSeToca) {
    const std::string destino = rutaTemporal("mibot");
    fs::create_directories(destino);
    escribirArchivo("mibot/bot.cpp", "mi estrategia\n");
    const Resultado r = ejecutar({kZulprueba, "--plantilla", destino}, "");
    EXPECT_EQ(r.estado, 2);
    EXPECT_TRUE(contiene(r.errores, "no se copia nada: ya existe " + destino + "/bot.cpp"))
        << r.errores;
    EXPECT_EQ(leerArchivo(destino + "/bot.cpp"), "mi estrategia\n");
    for (const char* a : {"CMakeLists.txt", "README.md", "bot.py"}) {
        EXPECT_FALSE(fs::exists(destino + "/" + a)) << a;
    }
}

TEST(ZulpruebaPlantilla, SitiosDondeNoSePuedeEscribir) {
    const std::string archivo = escribirArchivo("archivo", "x");
    const struct {
        std::string destino;
        const char* dice;
    } casos[] = {
        {archivo, " ya existe y no es una carpeta"},
        {archivo + "/mibot", "una parte de la ruta no es una carpeta"},
        // Not even root makes folders in /proc.
        {"/proc/zulprueba-plantilla", "no se pudo crear la carpeta /proc/zulprueba-plantilla"},
    };
    for (const auto& c : casos) {
        const Resultado r = ejecutar({kZulprueba, "--plantilla", c.destino}, "");
        EXPECT_EQ(r.estado, 2) << c.destino;
        EXPECT_TRUE(contiene(r.errores, c.dice)) << r.errores;
        EXPECT_TRUE(contiene(r.errores, c.destino)) << r.errores;
        EXPECT_TRUE(r.salida.empty()) << r.salida;
    }
    EXPECT_EQ(leerArchivo(archivo), "x");
}

TEST(ZulpruebaPlantilla, VaSola) {
    for (const std::vector<std::string>& resto :
         {std::vector<std::string>{"--", kDummy}, {"--pasos", "3"}}) {
        std::vector<std::string> argv = {kZulprueba, "--plantilla", rutaTemporal("mibot")};
        argv.insert(argv.end(), resto.begin(), resto.end());
        const Resultado r = ejecutar(argv, "");
        EXPECT_EQ(r.estado, 2);
        EXPECT_TRUE(contiene(r.errores, "--plantilla va sola")) << r.errores;
        EXPECT_FALSE(fs::exists(rutaTemporal("mibot")));
    }
}

} // namespace
