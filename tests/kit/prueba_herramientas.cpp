// The contestant's tools: zulprueba, recording (ZUL_GRABAR) and registro().
#include "carpeta_temporal.h"
#include "proceso.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kZulprueba = ZUL_ZULPRUEBA;
const std::string kDummy = ZUL_DUMMY;
const std::string kGuion = ZUL_GUION;
const std::string kCbot = ZUL_CBOT;
const std::string kRoto = ZUL_ROTO;
const std::string kCharlatan = ZUL_CHARLATAN;
const std::string kRegistra = ZUL_REGISTRA;

// A 3 × 4 map with track in the middle row.
const std::string kMapa = "3 4\n5 5 5 5\n5 1 1 5\n5 5 5 5\n";

// ---------------------------------------------------------------------------------------------
// zulprueba against bots that keep the protocol and bots that break it.

struct CasoZulprueba {
    const char* nombre;
    std::vector<std::string> opciones;
    std::vector<std::string> bot;
    int estado;
    std::vector<std::string> dice;
};

class Zulprueba : public testing::TestWithParam<CasoZulprueba> {};

TEST_P(Zulprueba, Informe) {
    const auto& c = GetParam();
    std::vector<std::string> argv = {kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa)};
    // A generous limit, except where it is tested: the machine's timing decides nothing.
    if (std::find(c.opciones.begin(), c.opciones.end(), "--limite") == c.opciones.end()) {
        argv.insert(argv.end(), {"--limite", "20000"});
    }
    argv.insert(argv.end(), c.opciones.begin(), c.opciones.end());
    argv.push_back("--");
    argv.insert(argv.end(), c.bot.begin(), c.bot.end());
    Resultado r = ejecutar(argv, "");
    EXPECT_FALSE(r.colgado);
    EXPECT_EQ(r.estado, c.estado) << r.salida << r.errores;
    for (const auto& frase : c.dice) {
        EXPECT_NE(r.salida.find(frase), std::string::npos) << "falta «" << frase << "» en:\n"
                                                           << r.salida << r.errores;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bots, Zulprueba,
    testing::Values(
        CasoZulprueba{"dummy",
                      {"--pasos", "150"},
                      {kDummy},
                      0,
                      {"150 turnos sintéticos con 4 karts", "Turnos respondidos: 150 de 150",
                       "Tiempo por turno: media", "terminó con estado 0 al cerrarse su entrada",
                       "Resultado: el bot cumple el protocolo"}},
        // Shoots every 100 turns through the library: never too early.
        CasoZulprueba{"disparos_con_la_biblioteca",
                      {"--pasos", "250", "--jugadores", "2"},
                      {kCbot},
                      0,
                      {"Resultado: el bot cumple el protocolo"}},
        CasoZulprueba{"un_turno_un_kart",
                      {"--pasos", "1", "--jugadores", "1"},
                      {kDummy},
                      0,
                      {"1 turno sintético con 1 kart", "Turnos respondidos: 1 de 1"}},
        CasoZulprueba{"sin_turnos",
                      {"--pasos", "0"},
                      {kDummy},
                      0,
                      {"0 turnos sintéticos", "Turnos respondidos: 0 de 0",
                       "Tiempo por turno: ninguna respuesta"}},
        CasoZulprueba{"dos_lineas",
                      {"--pasos", "5"},
                      {kRoto, "doble"},
                      1,
                      {"turno 3: línea de más en el mismo turno: «m 1 0»",
                       "NO cumple el protocolo (1 infracción)"}},
        CasoZulprueba{"basura",
                      {"--pasos", "5"},
                      {kRoto, "basura"},
                      1,
                      {"turno 2: respuesta no válida «hola mundo»", "(1 infracción)"}},
        CasoZulprueba{"printf_en_la_salida",
                      {"--pasos", "5"},
                      {kCharlatan},
                      1,
                      {"turno 2: respuesta no válida «depuración: estoy en 1.500000 1.500000»",
                       "turno 2: línea de más en el mismo turno: «m 1.000000 0.000000»",
                       "(2 infracciones)"}},
        // Valid shots in turns 1 and 101; the others, too early.
        CasoZulprueba{"dispara_siempre",
                      {"--pasos", "120"},
                      {kRoto, "dispara"},
                      1,
                      {"turno 2: disparo a 1 turno del anterior (turno 1)",
                       "turno 21: disparo a 20 turnos", "y 98 infracciones más",
                       "(118 infracciones)"}},
        CasoZulprueba{"se_duerme",
                      {"--pasos", "5", "--limite", "1500"},
                      {kRoto, "duerme"},
                      1,
                      {"turno 2: sin respuesta en 1500 ms", "Turnos respondidos: 1 de 5",
                       "dejó de responder en el turno 2 (silencio); zulprueba lo detuvo"}},
        CasoZulprueba{
            "revienta",
            {"--pasos", "5"},
            {kRoto, "revienta"},
            1,
            {"turno 3: sin respuesta: el bot murió por la señal 11 (SIGSEGV) en el turno 3",
             "Turnos respondidos: 2 de 5"}},
        CasoZulprueba{"escribe_tras_el_final",
                      {"--pasos", "3"},
                      {kRoto, "eterno"},
                      1,
                      {"tras el último turno:", "líneas de más (la primera: «m 0 0»)",
                       "Turnos respondidos: 3 de 3", "zulprueba lo detuvo"}},
        CasoZulprueba{"no_termina",
                      {"--pasos", "3"},
                      {kRoto, "vivo"},
                      0,
                      {"siguió vivo tras cerrarse su entrada; zulprueba lo detuvo",
                       "Resultado: el bot cumple el protocolo"}},
        // One space between the fields and nothing more.
        CasoZulprueba{
            "tabulador",
            {"--pasos", "3"},
            {kRoto, "tabulador"},
            1,
            {"turno 2: respuesta no válida «m\\x091 0»: contiene un tabulador", "(1 infracción)"}},
        CasoZulprueba{"doble_espacio",
                      {"--pasos", "3"},
                      {kRoto, "espacios"},
                      1,
                      {"turno 2: respuesta no válida «m 1  0»: entre los campos va un solo "
                       "espacio",
                       "(1 infracción)"}},
        CasoZulprueba{
            "espacio_final",
            {"--pasos", "3"},
            {kRoto, "final"},
            1,
            {"turno 2: respuesta no válida «m 1 0 »: sobran espacios al final", "(1 infracción)"}},
        CasoZulprueba{"bot_inexistente", {"--pasos", "3"}, {"/no/existe/mibot"}, 2, {}},
        CasoZulprueba{
            "opciones_incompatibles", {"--pasos", "3", "--turnos", "/dev/null"}, {kDummy}, 2, {}}),
    [](const auto& i) { return std::string(i.param.nombre); });

TEST(ZulpruebaErrores, MensajesClaros) {
    struct Caso {
        std::vector<std::string> argv;
        std::string dice;
    };
    const std::string mapaMalo = escribirArchivo("mapa_malo.txt", "2 2\n1 1\n1 x\n");
    const std::string turnosMalos = escribirArchivo("turnos_malos.txt", "1\n1 2 3\n");
    const std::vector<Caso> casos = {
        {{"--mapa", "/no/existe.txt", "--", kDummy}, "no se pudo abrir el mapa /no/existe.txt"},
        {{"--mapa", mapaMalo, "--", kDummy}, "fila 1, columna 1 no es un entero: «x»"},
        {{"--turnos", turnosMalos, "--mapa", mapaMalo, "--", kDummy}, "mapa_malo.txt"},
        {{"--mapa", escribirArchivo("m.txt", kMapa), "--turnos", turnosMalos, "--", kDummy},
         "turno 1: la entrada 0 necesita cuatro números"},
        {{"--pasos", "-1", "--", kDummy}, "--pasos necesita"},
        {{"--limite", "0", "--", kDummy}, "--limite necesita"},
        {{"--pasos", "3"}, "falta el bot"},
        {{"--mapa", escribirArchivo("m2.txt", kMapa), "--", "/no/existe/mibot"},
         "no se pudo ejecutar /no/existe/mibot: no existe"},
    };
    for (const auto& c : casos) {
        std::vector<std::string> argv = {kZulprueba};
        argv.insert(argv.end(), c.argv.begin(), c.argv.end());
        Resultado r = ejecutar(argv, "");
        EXPECT_EQ(r.estado, 2) << c.dice;
        EXPECT_NE(r.errores.find(c.dice), std::string::npos)
            << "falta «" << c.dice << "» en " << r.errores;
    }
}

// Why a file or the bot failed, in the contestant's language, through the real zulprueba.
TEST(ZulpruebaErrores, MotivosEnCastellano) {
    const std::string mapa = escribirArchivo("m.txt", kMapa);
    const std::string sinInterprete = escribirArchivo("bot.py", "#!/no/existe/python9\n");
    ASSERT_EQ(chmod(sinInterprete.c_str(), 0755), 0);
    const std::string carpeta = rutaTemporal("carpeta");
    ASSERT_EQ(mkdir(carpeta.c_str(), 0755), 0);
    const struct {
        std::vector<std::string> argv;
        std::string dice;
    } casos[] = {
        {{"--mapa", "/no/existe.txt", "--", kDummy},
         "no se pudo abrir el mapa /no/existe.txt: no existe\n"},
        {{"--mapa", mapa, "--registro", "/no/existe/r.txt", "--", kDummy},
         "no se pudo crear el registro /no/existe/r.txt: no existe la carpeta\n"},
        {{"--mapa", mapa, "--pasos", "3", "--registro", "/dev/full", "--", kDummy},
         "no se pudo escribir el registro /dev/full: no queda espacio en el disco\n"},
        {{"--mapa", mapa, "--registro", carpeta, "--", kDummy},
         "no se pudo crear el registro " + carpeta + ": es una carpeta\n"},
        {{"--mapa", mapa, "--", sinInterprete},
         "no se pudo ejecutar " + sinInterprete +
             ": el archivo existe, pero no el intérprete que pide (su línea #!)\n"},
        {{"--mapa", mapa, "--", "/"}, "no se pudo ejecutar /: es una carpeta, no un programa\n"},
    };
    for (const auto& c : casos) {
        std::vector<std::string> argv = {kZulprueba};
        argv.insert(argv.end(), c.argv.begin(), c.argv.end());
        Resultado r = ejecutar(argv, "");
        EXPECT_EQ(r.estado, 2) << c.dice;
        EXPECT_NE(r.errores.find("zulprueba: " + c.dice), std::string::npos)
            << "falta «" << c.dice << "» en " << r.errores;
    }
}

TEST(ZulpruebaPorOmision, MapaDeEjemploYLimite) {
    if (access(ZUL_MAPA_FUENTE, R_OK) != 0) {
        GTEST_SKIP() << "aún no hay mapa de ejemplo en " << ZUL_MAPA_FUENTE;
    }
    Resultado r = ejecutar({kZulprueba, "--pasos", "0", "--", kDummy}, "");
    EXPECT_EQ(r.estado, 0) << r.salida << r.errores;
    EXPECT_NE(r.salida.find(std::string("con el mapa ") + ZUL_MAPA_FUENTE), std::string::npos)
        << r.salida;
    EXPECT_NE(r.salida.find("límite 1000 ms"), std::string::npos) << r.salida;
}

// The transcript holds what was sent (>), what was received (<) and comments (#).
std::vector<std::string> marcadas(const std::string& transcripcion, char marca) {
    std::vector<std::string> v;
    std::stringstream ss(transcripcion);
    for (std::string l; std::getline(ss, l);) {
        if (l.size() >= 2 && l[0] == marca && l[1] == ' ') {
            v.push_back(l.substr(2));
        }
    }
    return v;
}

TEST(ZulpruebaRegistro, TranscribeTodoElIntercambio) {
    const std::string registro = rutaTemporal("registro.txt");
    const std::string turnos = escribirArchivo("turnos.txt", "1 0 1.5 0 0 0\n0\n2\n");
    Resultado r = ejecutar({kZulprueba, "--mapa", escribirArchivo("m3.txt", kMapa), "--turnos",
                            turnos, "--registro", registro, "--limite", "20000", "--", kRegistra},
                           "");
    ASSERT_EQ(r.estado, 0) << r.salida << r.errores;
    const std::string t = leerArchivo(registro);
    EXPECT_EQ(marcadas(t, '>'), (std::vector<std::string>{"3 4", "5 5 5 5", "5 1 1 5", "5 5 5 5",
                                                          "1", "0 1.5 0 0", "0", "0", "2"}));
    EXPECT_EQ(marcadas(t, '<'),
              (std::vector<std::string>{"m 0.000000 1.000000", "m 0.000000 1.000000"}));
    auto errores = marcadas(t, '!');
    ASSERT_EQ(errores.size(), 4u) << t;
    EXPECT_EQ(errores[0], "[turno 1] id=0 n=1");
    EXPECT_NE(t.find("# turno 2"), std::string::npos);
    EXPECT_NE(t.find("# Resultado: el bot cumple el protocolo"), std::string::npos);
    // What the bot writes to stderr is also shown at once.
    EXPECT_NE(r.errores.find("[turno 2] con salto final\n"), std::string::npos);
}

// --desde K plays the earlier turns unchecked, so that the bot reaches K with its state: the
// shot wait and the kept command. guion shoots whenever it may (id 1) and keeps its command on
// turns without entries; its answers from K on must be the whole run's.
TEST(ZulpruebaDesde, RespuestasComoEnLaPartidaEntera) {
    std::string turnos;
    for (int k = 0; k < 240; ++k) {
        turnos += k % 7 == 3 ? "0\n1\n" : "1\n" + std::to_string(k) + " 1 0 0\n1\n";
    }
    const std::string archivo = escribirArchivo("turnos_desde.txt", turnos);
    const std::string mapa = escribirArchivo("m_desde.txt", kMapa);
    const auto jugar = [&](std::vector<std::string> tramo, const std::string& nombre) {
        const std::string registro = rutaTemporal(nombre);
        std::vector<std::string> argv = {kZulprueba,   "--mapa", mapa,       "--turnos", archivo,
                                         "--registro", registro, "--limite", "20000"};
        argv.insert(argv.end(), tramo.begin(), tramo.end());
        argv.insert(argv.end(), {"--", kGuion});
        Resultado r = ejecutar(argv, "");
        EXPECT_EQ(r.estado, 0) << r.salida << r.errores;
        return std::make_pair(r.salida, marcadas(leerArchivo(registro), '<'));
    };
    const auto entera = jugar({}, "entera.txt");
    ASSERT_EQ(entera.second.size(), 240u);
    ASSERT_EQ(entera.second[200].substr(0, 2), "s ") << "guion dispara cada 100 turnos";
    // K = 150 falls between two shots and on a turn without entries (150 % 7 == 3).
    const struct {
        std::vector<std::string> tramo;
        size_t desde, hasta;
        const char* cuenta;
    } casos[] = {{{"--desde", "150"}, 150, 239, "Turnos respondidos: 90 de 90"},
                 {{"--desde", "150", "--hasta", "210"}, 150, 210, "Turnos respondidos: 61 de 61"},
                 {{"--hasta", "0"}, 0, 0, "Turnos respondidos: 1 de 1"}};
    for (const auto& c : casos) {
        const auto tramo = jugar(c.tramo, "tramo.txt");
        EXPECT_NE(tramo.first.find(c.cuenta), std::string::npos) << tramo.first;
        ASSERT_EQ(tramo.second.size(), c.hasta + 1);
        for (size_t k = c.desde; k <= c.hasta; ++k) {
            EXPECT_EQ(tramo.second[k], entera.second[k]) << "turno " << k;
        }
    }
    Resultado r = ejecutar({kZulprueba, "--turnos", archivo, "--desde", "240", "--", kGuion}, "");
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find("--desde 240 pasa del último turno: hay 240 (del 0 al 239)"),
              std::string::npos)
        << r.errores;
}

// --depuracion hands the bot ZUL_DEPURACION: one block per turn sent, numbered from 0.
TEST(ZulpruebaDepuracion, UnBloquePorTurno) {
    const std::string depuracion = rutaTemporal("bot.dep");
    Resultado r = ejecutar({kZulprueba, "--mapa", escribirArchivo("m_dep.txt", kMapa), "--pasos",
                            "5", "--hasta", "2", "--depuracion", depuracion, "--", kDummy},
                           "");
    ASSERT_EQ(r.estado, 0) << r.salida << r.errores;
    EXPECT_EQ(leerArchivo(depuracion), "zul-depuracion 1\n"
                                       "turno 0 id 0 m 1.500000 0.000000\nfin\n"
                                       "turno 1 id 0 m 1.500000 0.000000\nfin\n"
                                       "turno 2 id 0 m 1.500000 0.000000\nfin\n");
}

// A bot named without a path is looked for in PATH, as the shell does; the message says how to
// name the one in the working folder.
TEST(ZulpruebaErrores, BotDeLaCarpetaSinRuta) {
    const std::string bot = escribirArchivo("bot.py", "#!/bin/sh\nexit 0\n");
    ASSERT_EQ(chmod(bot.c_str(), 0755), 0);
    const std::string carpeta = bot.substr(0, bot.rfind('/'));
    Resultado r =
        ejecutar({"/bin/sh", "-c", "cd \"$0\" && exec \"$1\" -- bot.py", carpeta, kZulprueba}, "");
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find("no se pudo ejecutar bot.py: no está en el PATH; para el de esta "
                             "carpeta escriba ./bot.py"),
              std::string::npos)
        << r.errores;
}

// Files that are no data files, or whose words cannot be cells or turns: refused at once, with
// the file named, before the bot starts.
TEST(ZulpruebaErrores, ArchivosQueNoSonDeDatos) {
    struct Caso {
        std::string opcion;
        std::string ruta;
        std::string dice;
    };
    const std::string carpeta = rutaTemporal("carpeta");
    ASSERT_EQ(mkdir(carpeta.c_str(), 0755), 0);
    const std::vector<Caso> casos = {
        {"--turnos", carpeta,
         "no se puede usar el archivo de turnos " + carpeta + ": es una carpeta"},
        {"--mapa", carpeta, "no se puede usar el mapa " + carpeta + ": es una carpeta"},
        {"--turnos", "/dev/zero", "/dev/zero: no es un archivo normal"},
        {"--mapa", "/dev/zero", "/dev/zero: no es un archivo normal"},
        {"--turnos", escribirArchivo("ceros.txt", std::string(1 << 20, '\0')),
         "se esperaba el número de jugadores (entero), no «\\x00»"},
        {"--mapa", escribirArchivo("ceros_mapa.txt", "2 2 " + std::string(1 << 20, '\0')),
         "fila 0, columna 0 no es un entero: «\\x00»"},
        {"--mapa", escribirArchivo("celda_larga.txt", "1 1 " + std::string(5000, '7')),
         "una palabra de más de 4096 bytes"},
    };
    const std::string mapa = escribirArchivo("mapa.txt", kMapa);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.opcion + " " + c.ruta);
        std::vector<std::string> argv = {kZulprueba, "--mapa", mapa,  c.opcion,
                                         c.ruta,     "--",     kDummy};
        Resultado r = ejecutar(argv, "", {}, 10000);
        EXPECT_FALSE(r.colgado);
        EXPECT_EQ(r.estado, 2);
        EXPECT_NE(r.errores.find(c.dice), std::string::npos) << r.errores;
        EXPECT_EQ(r.salida, "") << "el bot no debía arrancar";
    }
}

#if !defined(__SANITIZE_ADDRESS__)
// A turns file too big for the memory zulprueba may use.
TEST(ZulpruebaErrores, MemoriaAgotada) {
    Proceso p({kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa), "--turnos", "/dev/stdin",
               "--", kDummy},
              {}, 256LL << 20);
    p.escribir("1 ");
    const std::string trozo(1 << 20, '1');
    for (int k = 0; k < 600; ++k) {
        p.escribir(trozo);
    }
    Resultado r = p.terminar();
    EXPECT_EQ(r.senal, 0);
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find("zulprueba: memoria agotada"), std::string::npos) << r.errores;
}
#endif

// Words of any length reach the bot exactly as the file has them.
TEST(ZulpruebaTurnos, PalabrasLargasTalCual) {
    for (size_t largo : {4096u, 4097u, 100000u}) {
        SCOPED_TRACE(largo);
        const std::string x = "1." + std::string(largo - 3, '0') + "1";
        const std::string id = std::string(largo - 1, '0') + "2";
        const std::string turnos = "1\n" + x + " 1 0 0\n" + id + "\n";
        const std::string grabacion = rutaTemporal("grabacion" + std::to_string(largo));
        Resultado r =
            ejecutar({kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa), "--turnos",
                      escribirArchivo("turnos.txt", turnos), "--limite", "20000", "--", kGuion},
                     "", {"ZUL_GRABAR=" + grabacion});
        EXPECT_EQ(r.estado, 0) << r.salida << r.errores;
        EXPECT_EQ(leerArchivo(grabacion), kMapa + turnos);
    }
}

// The bot's last stderr line, without its '\n', reaches the transcript before the summary.
TEST(ZulpruebaRegistro, UltimaLineaDeErroresSinSalto) {
    for (int vez = 0; vez < 5; ++vez) {
        const std::string registro = rutaTemporal("registro.txt");
        Resultado r =
            ejecutar({kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa), "--pasos", "2",
                      "--registro", registro, "--limite", "20000", "--", kRoto, "sinsalto"},
                     "");
        ASSERT_EQ(r.senal, 0);
        ASSERT_EQ(r.estado, 0) << r.salida << r.errores;
        const std::string t = leerArchivo(registro);
        const size_t linea = t.find("\n! adiós sin salto\n");
        ASSERT_NE(linea, std::string::npos) << t;
        EXPECT_LT(linea, t.find("# Turnos respondidos"));
    }
}

// The transcript replaces its file as the viewer's outputs do: through a symbolic link, keeping
// the old file's permissions, and only once complete.
TEST(ZulpruebaRegistro, SustituyeElArchivoEntero) {
    const std::string destino = escribirArchivo("destino.txt", "el de antes\n");
    ASSERT_EQ(chmod(destino.c_str(), 0640), 0);
    const std::string enlace = rutaTemporal("enlace.txt");
    ASSERT_EQ(symlink(destino.c_str(), enlace.c_str()), 0);
    Resultado r = ejecutar({kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa), "--pasos",
                            "2", "--registro", enlace, "--limite", "20000", "--", kDummy},
                           "");
    ASSERT_EQ(r.estado, 0) << r.salida << r.errores;
    struct stat estado;
    ASSERT_EQ(lstat(enlace.c_str(), &estado), 0);
    EXPECT_TRUE(S_ISLNK(estado.st_mode));
    ASSERT_EQ(stat(destino.c_str(), &estado), 0);
    EXPECT_EQ(estado.st_mode & 07777, 0640u);
    EXPECT_NE(leerArchivo(destino).find("# Resultado: el bot cumple el protocolo"),
              std::string::npos);
}

// The files in the folder of `ruta` whose names start with `inicio`.
int archivosQueEmpiezan(const std::string& ruta, const std::string& inicio) {
    const std::string carpeta = ruta.substr(0, ruta.rfind('/'));
    int n = 0;
    if (DIR* d = opendir(carpeta.c_str())) {
        while (const dirent* e = readdir(d)) {
            n += std::string(e->d_name).rfind(inicio, 0) == 0 ? 1 : 0;
        }
        closedir(d);
    }
    return n;
}

// Stopped while the bot plays, zulprueba leaves no partial transcript and the old one as it was.
TEST(ZulpruebaRegistro, SenalSinArchivoParcial) {
    for (int senal : {SIGTERM, SIGHUP}) {
        const std::string registro = escribirArchivo("registro.txt", "el de antes\n");
        Proceso p({kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa), "--pasos", "3",
                   "--limite", "60000", "--registro", registro, "--", kRoto, "hijos", "duerme"});
        ASSERT_TRUE(p.esperarErrores("hijos "));
        EXPECT_EQ(archivosQueEmpiezan(registro, ".registro.txt."), 1);
        kill(p.pid(), senal);
        Resultado r = p.terminar();
        EXPECT_EQ(r.estado, 128 + senal) << r.errores;
        EXPECT_EQ(archivosQueEmpiezan(registro, ".registro.txt."), 0) << sigabbrev_np(senal);
        EXPECT_EQ(leerArchivo(registro), "el de antes\n");
    }
}

// ---------------------------------------------------------------------------------------------
// Nothing that the bot starts outlives the check, however it ends.

std::vector<pid_t> procesosDelBot(const std::string& errores) {
    const size_t k = errores.find("hijos ");
    std::vector<pid_t> v;
    if (k != std::string::npos) {
        std::istringstream ss(errores.substr(k + 6));
        for (int pid; v.size() < 3 && ss >> pid;) {
            v.push_back(pid);
        }
    }
    return v;
}

bool terminan(const std::vector<pid_t>& procesos) {
    for (int espera = 0; espera < 200; ++espera) {
        if (std::all_of(procesos.begin(), procesos.end(),
                        [](pid_t p) { return kill(p, 0) != 0 && errno == ESRCH; })) {
            return true;
        }
        usleep(10000);
    }
    return false;
}

class ZulpruebaProcesos : public testing::TestWithParam<int> {};

TEST_P(ZulpruebaProcesos, NingunoSobrevive) {
    const int senal = GetParam();
    std::vector<std::string> argv = {kZulprueba, "--mapa", escribirArchivo("mapa.txt", kMapa),
                                     "--pasos",  "3",      "--limite",
                                     "60000",    "--",     kRoto,
                                     "hijos"};
    if (senal != 0) {
        argv.push_back("duerme");
    }
    Proceso p(argv);
    ASSERT_TRUE(p.esperarErrores("hijos "));
    if (senal != 0) {
        kill(p.pid(), senal);
    }
    Resultado r = p.terminar();
    const auto procesos = procesosDelBot(r.errores);
    ASSERT_EQ(procesos.size(), 3u) << r.errores;
    EXPECT_FALSE(r.colgado);
    EXPECT_EQ(r.estado, senal == 0 ? 0 : 128 + senal) << r.salida << r.errores;
    EXPECT_TRUE(terminan(procesos)) << r.errores;
}

INSTANTIATE_TEST_SUITE_P(Finales, ZulpruebaProcesos, testing::Values(0, SIGHUP, SIGINT, SIGTERM),
                         [](const auto& i) {
                             return i.param == 0 ? std::string("bot_que_termina")
                                                 : std::string("SIG") + sigabbrev_np(i.param);
                         });

// ---------------------------------------------------------------------------------------------
// Recording: ZUL_GRABAR copies every byte read; the recording replays the game.

TEST(Grabacion, PartidaInteractivaReproducida) {
    // A game turn by turn through zulprueba, with varied commands and shots.
    std::string turnos;
    for (int t = 0; t < 130; ++t) {
        turnos += t % 7 == 0 ? "0\n" : "1\n" + std::to_string(t * 13 % 360) + " 1.25e0 0 0\n";
        turnos += std::to_string(t % 3) + "\n";
    }
    const std::string grabacion = rutaTemporal("grabacion.txt");
    const std::string registro = rutaTemporal("registro2.txt");
    Resultado vivo = ejecutar({kZulprueba, "--mapa", escribirArchivo("m4.txt", kMapa), "--turnos",
                               escribirArchivo("turnos2.txt", turnos), "--registro", registro,
                               "--limite", "20000", "--", kGuion},
                              "", {"ZUL_GRABAR=" + grabacion});
    ASSERT_EQ(vivo.estado, 0) << vivo.salida;
    const std::string transcripcion = leerArchivo(registro);
    const auto respuestas = marcadas(transcripcion, '<');
    ASSERT_EQ(respuestas.size(), 130u);

    // The recording is exactly what was sent.
    std::string enviado;
    for (const auto& l : marcadas(transcripcion, '>')) {
        enviado += l + "\n";
    }
    const std::string grabado = leerArchivo(grabacion);
    EXPECT_EQ(grabado, enviado);

    Resultado repeticion = ejecutar({kGuion}, grabado);
    EXPECT_EQ(repeticion.estado, 0);
    EXPECT_EQ(repeticion.lineas(), respuestas);
}

TEST(Grabacion, SinPoderGrabarSeJuegaIgual) {
    const std::string entrada = "1 1 4\n1\n90 2 0 0\n1\n0 0\n";
    Resultado normal = ejecutar({kGuion}, entrada);
    Resultado r = ejecutar({kGuion}, entrada, {"ZUL_GRABAR=/no/existe/dir/g.txt"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida, normal.salida);
    EXPECT_NE(r.errores.find("no se pudo crear /no/existe/dir/g.txt"), std::string::npos)
        << r.errores;
}

// ZUL_GRABAR naming the file that is the bot's standard input: the file is left whole.
TEST(Grabacion, LaPropiaEntradaNoSeBorra) {
    const std::string entrada = "1 1 4\n1\n90 2 0 0\n1\n0 0\n";
    const std::string ruta = escribirArchivo("partida.txt", entrada);
    const std::string enlace = rutaTemporal("enlace.txt");
    ASSERT_EQ(symlink(ruta.c_str(), enlace.c_str()), 0);
    const Resultado normal = ejecutar({kGuion}, entrada);
    for (const std::string& grabar : {ruta, enlace, std::string("/dev/stdin")}) {
        SCOPED_TRACE(grabar);
        Resultado r = ejecutar({"/bin/sh", "-c", "exec \"$0\" < \"$1\"", kGuion, ruta}, "",
                               {"ZUL_GRABAR=" + grabar});
        EXPECT_EQ(r.estado, 0);
        EXPECT_EQ(r.salida, normal.salida);
        EXPECT_NE(r.errores.find("es la propia entrada estándar; se juega sin grabar"),
                  std::string::npos)
            << r.errores;
        EXPECT_EQ(leerArchivo(ruta), entrada);
    }
}

// A FIFO with nobody reading it does not block the bot.
TEST(Grabacion, TuberiaSinLector) {
    const std::string fifo = rutaTemporal("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string entrada = "1 1 4\n1\n90 2 0 0\n1\n";
    Resultado r = ejecutar({kGuion}, entrada, {"ZUL_GRABAR=" + fifo}, 5000);
    EXPECT_FALSE(r.colgado);
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.lineas(), ejecutar({kGuion}, entrada).lineas());
    EXPECT_NE(r.errores.find("nadie lee la tubería " + fifo), std::string::npos) << r.errores;
}

// A FIFO whose reader goes away mid-game: the bot stops recording and plays on.
TEST(Grabacion, LectorQueSeVa) {
    const std::string fifo = rutaTemporal("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int lector = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(lector, 0);
    Proceso p({kGuion}, {"ZUL_GRABAR=" + fifo});
    p.escribir("0 0\n1\n0 1 0 0\n0\n");
    std::string linea;
    ASSERT_TRUE(p.leerLinea(linea));
    close(lector);
    for (int t = 0; t < 20; ++t) {
        p.escribir("1\n90 2 0 0\n0\n");
    }
    Resultado r = p.terminar();
    EXPECT_EQ(r.senal, 0) << r.errores;
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.lineas(), std::vector<std::string>(20, "m 0.000000 2.000000"));
    EXPECT_NE(r.errores.find("se deja de grabar"), std::string::npos) << r.errores;
}

// ---------------------------------------------------------------------------------------------

TEST(Registro, LineasEnStderrConElTurno) {
    Resultado r = ejecutar({kRegistra}, "0 0\n0 1\n1 1 2 3 4 2\n");
    ASSERT_EQ(r.estado, 0);
    EXPECT_EQ(r.lineas(), (std::vector<std::string>{"m 0.000000 1.000000", "m 0.000000 1.000000"}));
    EXPECT_EQ(r.errores, "[turno 1] id=1 n=0\n"
                         "[turno 2] id=2 n=1\n"
                         "[turno 2] con salto final\n"
                         "[turno 2] " +
                             std::string(3000, 'x') + "\n");
}

} // namespace
