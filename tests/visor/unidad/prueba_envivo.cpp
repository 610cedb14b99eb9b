// The live reading of a race log: the incremental reader given a log in
// pieces cut anywhere, and the follower on real files that grow, shrink, are
// replaced or deleted.
#include "comprobar_incremental.h"
#include "datos/carrera.h"
#include "datos/carrera_incremental.h"
#include "datos/seguidor_carrera.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using zul::robustez::compruebaIncremental;

// Ten players, so that the count has two digits; shots before, inside and
// between frames.
std::string logDePrueba() {
    std::string log = "10";
    for (int i = 0; i < 10; ++i) {
        log += " piloto_" + std::to_string(i);
    }
    log += "\ns 0.5 0.5 1 1\n";
    for (int frame = 0; frame < 3; ++frame) {
        for (int j = 0; j < 10; ++j) {
            char linea[64];
            std::snprintf(linea, sizeof linea, "p %d.%03d %d.25 -1.5708 %d\n", 10 + j, frame * 7,
                          20 + frame, frame);
            log += linea;
            if (j == 4) {
                log += "s 12.345 6.5 7e1 -0\n";
            }
        }
        log += "s 1 2 3 4\n";
    }
    return log;
}

// Where `marca` starts in `texto`, plus `mas`.
std::size_t en(const std::string& texto, const std::string& marca, std::size_t mas) {
    const std::size_t p = texto.find(marca);
    EXPECT_NE(p, std::string::npos) << marca;
    return p + mas;
}

struct CasoCorte {
    const char* nombre;
    const char* marca; // the cut falls `mas` bytes into the first occurrence of this
    std::size_t mas;
};

class Corte : public testing::TestWithParam<CasoCorte> {};

TEST_P(Corte, MismaCarreraQueElArchivoEntero) {
    const std::string log = logDePrueba();
    const std::size_t corte = en(log, GetParam().marca, GetParam().mas);
    EXPECT_EQ(compruebaIncremental(log, {corte}), "");
    // The same place in a log that ends with no white space after its last record.
    const std::string sinFinal = log.substr(0, log.size() - 1);
    EXPECT_EQ(compruebaIncremental(sinFinal, {corte}), "");
}

INSTANTIATE_TEST_SUITE_P(Lugares, Corte,
                         testing::Values(CasoCorte{"DentroDeLaCuenta", "10 ", 1},
                                         CasoCorte{"TrasLaCuenta", "10 ", 2},
                                         CasoCorte{"DentroDeUnNombre", "piloto_3", 4},
                                         CasoCorte{"TrasElUltimoNombre", "piloto_9", 8},
                                         CasoCorte{"DentroDeUnNumero", "12.345", 3},
                                         CasoCorte{"DentroDeUnExponente", "7e1", 2},
                                         CasoCorte{"TrasUnaEtiqueta", "\np 11.", 2},
                                         CasoCorte{"EntreRegistros", "\np 12.000", 1},
                                         CasoCorte{"DentroDeLasVueltas", "-1.5708 2", 9},
                                         CasoCorte{"EntreFrames", "s 1 2 3 4\np", 10}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(Incremental, CadaCorteYCadaByte) {
    const std::string log = logDePrueba();
    std::vector<std::size_t> todos;
    for (std::size_t corte = 0; corte <= log.size(); ++corte) {
        ASSERT_EQ(compruebaIncremental(log, {corte}), "") << "corte en " << corte;
        todos.push_back(corte);
    }
    EXPECT_EQ(compruebaIncremental(log, todos), "");
}

// The sample race and odd logs, in pieces of random sizes.
TEST(Incremental, PiezasAlAzar) {
    std::ifstream archivo(ZUL_EJEMPLOS "/carrera.txt", std::ios::binary);
    std::stringstream contenido;
    contenido << archivo.rdbuf();
    const std::string ejemplo = contenido.str();
    ASSERT_GT(ejemplo.size(), 10000u);
    const std::string raros[] = {
        ejemplo,
        "3 a b c s 1 1 1 1 p 1 2 3 4 p 1.5x 2 3 4 zz p 0x1p3 inf nan 7 s 1 x p 2 2 2 2 p 3 3 3 3",
        "2 " + std::string(300, 'n') + " b p 1 2 3 4 " + std::string(250, 'q') + "p 5 6 7 8 p 9 9",
        "1 a p 1 1 1 1 p 2 x 2 2 p 3 3 3 3",
        "  +2\n\n a\tb\r\np 1 2 3 4\fp 5 6 7 8\v",
        "x 1 a",
        "1001 a",
        "",
    };
    std::mt19937 azar(16);
    for (const std::string& log : raros) {
        for (int vez = 0; vez < 20; ++vez) {
            std::vector<std::size_t> cortes;
            for (std::size_t p = 0; p < log.size();) {
                p += 1 + azar() % (vez < 10 ? 7 : 4000);
                cortes.push_back(p);
            }
            ASSERT_EQ(compruebaIncremental(log, cortes), "") << log.substr(0, 80);
        }
    }
}

// The fuzz target's seeds (odd numbers, long tokens, cut files, huge
// counts), byte by byte, and cut in two at each third.
TEST(Incremental, SemillasDelFuzzing) {
    std::size_t vistas = 0;
    for (const auto& entrada : std::filesystem::directory_iterator(ZUL_CORPUS_CARRERA)) {
        std::ifstream archivo(entrada.path(), std::ios::binary);
        std::stringstream contenido;
        contenido << archivo.rdbuf();
        const std::string log = contenido.str();
        std::vector<std::size_t> cortes;
        const std::size_t salto = log.size() <= 4096 ? 1 : 97;
        for (std::size_t p = salto; p < log.size(); p += salto) {
            cortes.push_back(p);
        }
        ASSERT_EQ(compruebaIncremental(log, cortes), "") << entrada.path();
        ASSERT_EQ(compruebaIncremental(log, {log.size() / 3}), "") << entrada.path();
        ASSERT_EQ(compruebaIncremental(log, {2 * log.size() / 3}), "") << entrada.path();
        ++vistas;
    }
    EXPECT_GT(vistas, 100u);
}

// What waits for more bytes, and what is in the race already.
struct CasoEspera {
    const char* texto;
    bool cabecera;
    std::size_t frames;
    std::size_t disparos;
};

class Espera : public testing::TestWithParam<CasoEspera> {};

TEST_P(Espera, SoloLoQueNoPuedeCambiar) {
    const CasoEspera& caso = GetParam();
    zul::Carrera carrera;
    zul::LectorCarreraIncremental lector(carrera);
    const std::string texto = caso.texto;
    lector.anade(texto.data(), texto.size());
    EXPECT_EQ(lector.cabeceraLeida(), caso.cabecera);
    EXPECT_EQ(carrera.framesCompletos(), caso.frames);
    EXPECT_FALSE(carrera.ultimoFrameParcial());
    EXPECT_EQ(carrera.disparos.size(), caso.disparos);
}

INSTANTIATE_TEST_SUITE_P(
    Prefijos, Espera,
    testing::Values(CasoEspera{"", false, 0, 0}, CasoEspera{"1", false, 0, 0},
                    CasoEspera{"2 alf", false, 0, 0}, CasoEspera{"2 alfa beta", false, 0, 0},
                    CasoEspera{"2 alfa beta ", true, 0, 0},
                    CasoEspera{"2 a b p 1 2 3 4 p 5 6 7 8", true, 0, 0},
                    CasoEspera{"2 a b p 1 2 3 4 p 5 6 7 8\n", true, 1, 0},
                    CasoEspera{"2 a b p 1 2 3 4 p 5 6 7 8\ns 1 1 2 2", true, 1, 0},
                    CasoEspera{"2 a b p 1 2 3 4 p 5 6 7 8\ns 1 1 2 2\n", true, 1, 1},
                    // The shot of a frame still being written waits for the frame.
                    CasoEspera{"2 a b p 1 2 3 4 p 5 6 7 8 p 9 9 9 9 s 3 3 3 3 ", true, 1, 0},
                    CasoEspera{"2 a b s 0 0 0 0 p 1 2 3 4 ", true, 0, 0},
                    CasoEspera{"2 a b s 0 0 0 0 p 1 2 3 4 p 1 1 1 1 ", true, 1, 1}));

// ---- The follower, on real files ----

class Seguidor : public testing::Test {
protected:
    void SetUp() override {
        char plantilla[] = "/tmp/prueba_envivo-XXXXXX";
        ASSERT_NE(mkdtemp(plantilla), nullptr);
        carpeta = plantilla;
        ruta = carpeta + "/carrera.txt";
    }
    void TearDown() override {
        std::remove(ruta.c_str());
        std::remove((ruta + ".nuevo").c_str());
        rmdir((ruta + ".d").c_str());
        rmdir(carpeta.c_str());
    }
    void escribe(const std::string& texto, const std::string& donde = "") {
        std::ofstream(donde.empty() ? ruta : donde, std::ios::binary | std::ios::trunc) << texto;
    }
    void anade(const std::string& texto) {
        std::ofstream(ruta, std::ios::binary | std::ios::app) << texto;
    }
    zul::Carrera entera() {
        zul::Carrera c;
        std::FILE* f = std::fopen(ruta.c_str(), "r");
        zul::leerCarrera(f, c);
        std::fclose(f);
        return c;
    }

    std::string carpeta;
    std::string ruta;
};

using Estado = zul::SeguidorCarrera::Estado;
using Cambio = zul::SeguidorCarrera::Cambio;

const std::string kFrames = "p 1 1 0 0\np 2 2 0 0\np 3 3 0 1\np 4 4 0 1\n";

TEST_F(Seguidor, EsperaUnRegistroQueNoExisteYLuegoLoSigue) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    EXPECT_EQ(seguidor.sondea(), Cambio::nada);
    EXPECT_EQ(seguidor.estado(), Estado::esperando);
    escribe("2 alf");
    EXPECT_EQ(seguidor.sondea(), Cambio::nada);
    EXPECT_EQ(seguidor.estado(), Estado::esperando);
    EXPECT_EQ(carrera.numJugadores, 0);
    anade("a beta\np 1 1 0 0\np 2 2");
    EXPECT_EQ(seguidor.sondea(), Cambio::frames); // the header
    EXPECT_EQ(seguidor.estado(), Estado::siguiendo);
    EXPECT_EQ(carrera.nombres, (std::vector<std::string>{"alfa", "beta"}));
    EXPECT_EQ(carrera.framesCompletos(), 0u);
    anade(" 0 0\np 3 3 0 1\ns 1 1 2 2\n");
    EXPECT_EQ(seguidor.sondea(), Cambio::frames);
    EXPECT_EQ(carrera.framesCompletos(), 1u);
    EXPECT_EQ(seguidor.sondea(), Cambio::nada);
    anade("p 4 4 0 1\np 5 5 0 2");
    seguidor.sondea();
    EXPECT_EQ(carrera.framesCompletos(), 2u);
    EXPECT_FALSE(carrera.ultimoFrameParcial()); // "p 5 5 0 2" may go on
    seguidor.termina();
    EXPECT_EQ(zul::robustez::diferenciaCarreras(carrera, entera()), "");
    EXPECT_TRUE(carrera.ultimoFrameParcial());
}

TEST_F(Seguidor, CadaSondeoLeeSoloLoAnadido) {
    const std::string log = logDePrueba();
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    std::size_t escritos = 0;
    for (std::size_t trozo = 37; escritos < log.size(); trozo = trozo * 3 % 101 + 1) {
        const std::size_t n = std::min(trozo, log.size() - escritos);
        anade(log.substr(escritos, n));
        escritos += n;
        ASSERT_NE(seguidor.sondea(), Cambio::recargada);
        EXPECT_EQ(seguidor.bytesLeidos(), escritos);
    }
    seguidor.termina();
    EXPECT_EQ(zul::robustez::diferenciaCarreras(carrera, entera()), "");
}

// A new race in the same place: shorter, another file renamed over it, or
// the same file rewritten from its start and already longer.
struct CasoNueva {
    const char* nombre;
    int como; // 0 shorter, 1 renamed over, 2 rewritten longer
};

class NuevaCarrera : public Seguidor, public testing::WithParamInterface<CasoNueva> {};

TEST_P(NuevaCarrera, SeLeeDesdeElPrincipio) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe("2 alfa beta\n" + kFrames + kFrames);
    seguidor.sondea();
    ASSERT_EQ(carrera.framesCompletos(), 4u);
    const std::string nueva =
        "2 gamma delta\n" + kFrames + (GetParam().como == 2 ? kFrames + kFrames + kFrames : "");
    if (GetParam().como == 1) {
        escribe(nueva, ruta + ".nuevo");
        ASSERT_EQ(std::rename((ruta + ".nuevo").c_str(), ruta.c_str()), 0);
    } else {
        escribe(nueva);
    }
    EXPECT_EQ(seguidor.sondea(), Cambio::recargada);
    EXPECT_EQ(seguidor.estado(), Estado::siguiendo);
    EXPECT_EQ(carrera.nombres, (std::vector<std::string>{"gamma", "delta"}));
    EXPECT_EQ(zul::robustez::diferenciaCarreras(carrera, entera()), "");
}

INSTANTIATE_TEST_SUITE_P(Formas, NuevaCarrera,
                         testing::Values(CasoNueva{"MasCorta", 0}, CasoNueva{"Renombrada", 1},
                                         CasoNueva{"ReescritaMasLarga", 2}),
                         [](const auto& info) { return std::string(info.param.nombre); });

// A new race whose first kilobytes are those of the last one (same players,
// same start), already longer when it is seen.
TEST_F(Seguidor, ReescritaIgualAlPrincipio) {
    std::string comun = "2 alfa beta\n";
    while (comun.size() < 6000) {
        comun += kFrames;
    }
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe(comun + "p 1 1 0 0\np 2 2 0 0\n");
    seguidor.sondea();
    escribe(comun + "p 7 7 7 7\np 8 8 8 8\n" + kFrames + kFrames);
    EXPECT_EQ(seguidor.sondea(), Cambio::recargada);
    EXPECT_EQ(zul::robustez::diferenciaCarreras(carrera, entera()), "");
}

TEST_F(Seguidor, BorradoConservaLoLeido) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe("2 alfa beta\n" + kFrames);
    seguidor.sondea();
    ASSERT_EQ(carrera.framesCompletos(), 2u);
    ASSERT_EQ(std::remove(ruta.c_str()), 0);
    EXPECT_EQ(seguidor.sondea(), Cambio::nada);
    EXPECT_EQ(seguidor.estado(), Estado::borrado);
    EXPECT_EQ(carrera.framesCompletos(), 2u);
    EXPECT_EQ(seguidor.sondea(), Cambio::nada);
    EXPECT_EQ(seguidor.estado(), Estado::borrado);
    // A log that appears again is another race.
    escribe("1 solo\np 1 1 0 0\n");
    EXPECT_EQ(seguidor.sondea(), Cambio::recargada);
    EXPECT_EQ(carrera.nombres, (std::vector<std::string>{"solo"}));
    EXPECT_EQ(carrera.framesCompletos(), 1u);
}

TEST_F(Seguidor, CabeceraRotaEsUnErrorHastaQueCambia) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe("dos alfa beta\n");
    seguidor.sondea();
    EXPECT_EQ(seguidor.estado(), Estado::error);
    EXPECT_EQ(seguidor.motivo(), "El registro de carrera no empieza con el número de jugadores.");
    anade(kFrames);
    seguidor.sondea();
    EXPECT_EQ(seguidor.estado(), Estado::error);
    escribe("2 alfa beta\n" + kFrames);
    EXPECT_EQ(seguidor.sondea(), Cambio::recargada);
    EXPECT_EQ(seguidor.estado(), Estado::siguiendo);
    EXPECT_EQ(carrera.framesCompletos(), 2u);
}

TEST_F(Seguidor, UnaCarpetaNoEsUnRegistro) {
    ASSERT_EQ(mkdir((ruta + ".d").c_str(), 0700), 0);
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta + ".d", carrera);
    seguidor.sondea();
    EXPECT_EQ(seguidor.estado(), Estado::error);
    EXPECT_EQ(seguidor.motivo(), "El registro de carrera es una carpeta, no un archivo.");
}

// A FIFO can be read neither twice nor from its start again: refused at once,
// never waited on in open(), and one swapped in for the log leaves the race on
// show as it was.
TEST_F(Seguidor, UnaTuberiaNoEsUnRegistro) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe("2 alfa beta\n" + kFrames);
    seguidor.sondea();
    ASSERT_EQ(carrera.framesCompletos(), 2u);
    ASSERT_EQ(mkfifo((ruta + ".nuevo").c_str(), 0600), 0);
    ASSERT_EQ(std::rename((ruta + ".nuevo").c_str(), ruta.c_str()), 0);
    EXPECT_EQ(seguidor.sondea(), Cambio::nada);
    EXPECT_EQ(seguidor.estado(), Estado::error);
    EXPECT_NE(seguidor.motivo().find("es una tubería (FIFO), no un archivo"), std::string::npos);
    EXPECT_EQ(carrera.framesCompletos(), 2u);
    zul::Carrera otra;
    zul::SeguidorCarrera desdeElPrincipio(ruta, otra);
    desdeElPrincipio.sondea();
    EXPECT_EQ(desdeElPrincipio.estado(), Estado::error);
}

// A player record that cannot be read ends the reading, as in a whole read;
// the follower says so instead of following on as if all were well.
TEST_F(Seguidor, UnRegistroIlegibleDetieneLaLectura) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe("2 alfa beta\n" + kFrames + "p 1 uno 0 0\n" + kFrames);
    seguidor.sondea();
    EXPECT_EQ(seguidor.estado(), Estado::detenido);
    EXPECT_EQ(seguidor.motivo(),
              "Un registro de jugador no se puede leer: no se lee nada de lo que le sigue.");
    EXPECT_EQ(carrera.framesCompletos(), 2u);
}

// termina() takes the end of the file as the end of the log; a log that goes
// on afterwards is read again, whole.
TEST_F(Seguidor, TerminarYSeguirCreciendo) {
    zul::Carrera carrera;
    zul::SeguidorCarrera seguidor(ruta, carrera);
    escribe("2 alfa beta\np 1 1 0 0\np 2 2 0 0\np 3 3 0 1\np 4.");
    seguidor.termina();
    EXPECT_EQ(zul::robustez::diferenciaCarreras(carrera, entera()), "");
    anade("5 4 0 1\n");
    EXPECT_EQ(seguidor.sondea(), Cambio::recargada);
    EXPECT_EQ(carrera.framesCompletos(), 2u);
    EXPECT_DOUBLE_EQ(carrera.posiciones.back().x(), 4.5);
}

} // namespace
