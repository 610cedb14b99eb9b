// The live session on real files: what the replay shows as the log grows,
// whether it follows the head, and what happens to the race on show when the
// log is replaced, deleted or cannot be read.
#include "analisis/analisis.h"
#include "envivo/sesion_en_vivo.h"
#include "reproduccion/reproduccion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using Estado = zul::SeguidorCarrera::Estado;

// Two players; player 0 of frame k stands at x = 100 + k, so the frame on
// show is read from the karts. `disparo` adds a shot after the frame.
std::string frame(int k, bool disparo = false) {
    std::string texto = "p " + std::to_string(100 + k) + " 5 0 " + std::to_string(k / 3) + "\n" +
                        "p " + std::to_string(200 + k) + " 5 0 0\n";
    if (disparo) {
        texto += "s " + std::to_string(k) + " 0 1 1\n";
    }
    return texto;
}

std::string frames(int desde, int hasta) {
    std::string texto;
    for (int k = desde; k < hasta; ++k) {
        texto += frame(k);
    }
    return texto;
}

const std::string kCabecera = "2 alfa beta\n";

class Sesion : public testing::Test {
protected:
    void SetUp() override {
        char plantilla[] = "/tmp/prueba_sesion-XXXXXX";
        ASSERT_NE(mkdtemp(plantilla), nullptr);
        carpeta = plantilla;
        ruta = carpeta + "/carrera.txt";
    }
    void TearDown() override {
        std::remove(ruta.c_str());
        std::remove((ruta + ".nuevo").c_str());
        rmdir(carpeta.c_str());
    }
    void escribe(const std::string& texto, const std::string& donde = "") {
        std::ofstream(donde.empty() ? ruta : donde, std::ios::binary | std::ios::trunc) << texto;
    }
    void anade(const std::string& texto) {
        std::ofstream(ruta, std::ios::binary | std::ios::app) << texto;
    }
    long long frameEnVista() const {
        const zul::Foto& foto = reproduccion.enPantalla();
        return foto.frame < 0 ? -1 : static_cast<long long>(foto.karts.at(0).posicion.x()) - 100;
    }
    // The x of the shots on show: the frames they were written after.
    std::string disparosEnVista() const {
        std::string lista;
        const zul::Foto& foto = reproduccion.enPantalla();
        for (std::size_t i = foto.primerDisparo; i < foto.finDisparos; ++i) {
            lista +=
                (lista.empty() ? "" : ",") +
                std::to_string(static_cast<int>(reproduccion.carrera().disparos[i].inicio.x()));
        }
        return lista;
    }

    std::string carpeta;
    std::string ruta;
    zul::Reproduccion reproduccion;
    zul::AnalisisCarrera analisis;
};

TEST_F(Sesion, EsperaYEmpiezaEnCuantoLlegaLaCabecera) {
    zul::SesionEnVivo sesion(ruta, reproduccion, analisis, false);
    EXPECT_EQ(sesion.estado(), Estado::esperando);
    EXPECT_FALSE(sesion.sondea(false).crecio);
    escribe("2 alfa be");
    EXPECT_FALSE(sesion.sondea(false).otraCarrera);
    EXPECT_EQ(sesion.estado(), Estado::esperando);
    anade("ta\n");
    EXPECT_TRUE(sesion.sondea(false).otraCarrera); // the panel gets its players
    EXPECT_EQ(sesion.estado(), Estado::siguiendo);
    EXPECT_EQ(frameEnVista(), -1);
    anade(frames(0, 3));
    EXPECT_TRUE(sesion.sondea(false).crecio);
    // Paused with nothing on show: frame 0, as a race opened whole.
    EXPECT_EQ(frameEnVista(), 0);
    EXPECT_EQ(analisis.framesAnalizados(), 3);
}

struct CasoCabeza {
    const char* nombre;
    bool enMarcha;
    int mostrado; // frame on show before the new ones come; -1: the last
    int esperado; // frame on show after
};

class Cabeza : public Sesion, public testing::WithParamInterface<CasoCabeza> {};

TEST_P(Cabeza, SoloSeSigueEnMarchaYEnElUltimoPaso) {
    const CasoCabeza& caso = GetParam();
    escribe(kCabecera + frames(0, 5));
    zul::SesionEnVivo sesion(ruta, reproduccion, analisis, false);
    reproduccion.irAFrame(caso.mostrado < 0 ? 4 : caso.mostrado);
    anade(frames(5, 9));
    EXPECT_TRUE(sesion.sondea(caso.enMarcha).crecio);
    EXPECT_EQ(reproduccion.numeroFrames(), 9u);
    EXPECT_EQ(frameEnVista(), caso.esperado);
    EXPECT_EQ(sesion.sigueLaCabeza(caso.enMarcha), caso.esperado == 8);
}

INSTANTIATE_TEST_SUITE_P(Casos, Cabeza,
                         testing::Values(CasoCabeza{"EnMarchaEnLaCabeza", true, -1, 8},
                                         CasoCabeza{"EnPausaEnLaCabeza", false, -1, 4},
                                         CasoCabeza{"EnMarchaAtras", true, 2, 2},
                                         CasoCabeza{"EnPausaAtras", false, 2, 2}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(Sesion, NingunDisparoSePierde) {
    escribe(kCabecera + frame(0));
    zul::SesionEnVivo sesion(ruta, reproduccion, analisis, true);
    EXPECT_EQ(frameEnVista(), 0);
    // A shot written after the frame it belongs to was shown shows with it.
    anade("s 0 0 1 1\n");
    sesion.sondea(true);
    EXPECT_EQ(frameEnVista(), 0);
    EXPECT_EQ(disparosEnVista(), "0");
    // Frames that come in together bring every shot of theirs.
    anade(frame(1, true) + frame(2, true) + frame(3));
    sesion.sondea(true);
    EXPECT_EQ(frameEnVista(), 3);
    EXPECT_EQ(disparosEnVista(), "1,2");
}

TEST_F(Sesion, OtraCarreraEmpiezaDeNuevo) {
    escribe(kCabecera + frames(0, 6));
    zul::SesionEnVivo sesion(ruta, reproduccion, analisis, false);
    reproduccion.irAFrame(5);
    // Shorter, with other players: a new race in the same file.
    escribe("3 x y z\np 100 0 0 0\np 1 1 0 0\np 2 2 0 0\n");
    const zul::SesionEnVivo::Novedades novedades = sesion.sondea(false);
    EXPECT_TRUE(novedades.otraCarrera);
    EXPECT_EQ(reproduccion.carrera().numJugadores, 3);
    EXPECT_EQ(reproduccion.numeroFrames(), 1u);
    EXPECT_EQ(frameEnVista(), 0);
    EXPECT_EQ(analisis.numJugadores(), 3);
    EXPECT_EQ(analisis.framesAnalizados(), 1);
}

TEST_F(Sesion, UnaCarreraEnPantallaNoSePierde) {
    // The race opened whole; the log goes, and live mode is switched on.
    escribe(kCabecera + frames(0, 6));
    zul::SesionEnVivo primera(ruta, reproduccion, analisis, false);
    primera.termina();
    reproduccion.irAFrame(3);
    std::remove(ruta.c_str());
    {
        zul::SesionEnVivo sesion(ruta, reproduccion, analisis, false);
        EXPECT_EQ(sesion.estado(), Estado::borrado);
        EXPECT_EQ(reproduccion.numeroFrames(), 6u);
        // Neither a log that does not start like a race empties it.
        escribe("dos jugadores\n");
        EXPECT_FALSE(sesion.sondea(false).crecio);
        EXPECT_EQ(sesion.estado(), Estado::error);
        EXPECT_FALSE(sesion.motivo().empty());
        EXPECT_EQ(reproduccion.numeroFrames(), 6u);
        EXPECT_EQ(frameEnVista(), 3);
        // The same race back, longer: the frame on show stays.
        escribe(kCabecera + frames(0, 8));
        const zul::SesionEnVivo::Novedades novedades = sesion.sondea(false);
        EXPECT_TRUE(novedades.crecio);
        EXPECT_FALSE(novedades.otraCarrera);
        EXPECT_EQ(sesion.estado(), Estado::siguiendo);
        EXPECT_EQ(reproduccion.numeroFrames(), 8u);
        EXPECT_EQ(frameEnVista(), 3);
        EXPECT_EQ(analisis.framesAnalizados(), 8);
    }
}

TEST_F(Sesion, TerminarLeeElUltimoPasoParcial) {
    escribe(kCabecera + frames(0, 2) + "p 102 5 0 0");
    zul::SesionEnVivo sesion(ruta, reproduccion, analisis, true);
    EXPECT_EQ(reproduccion.numeroFrames(), 2u);
    EXPECT_EQ(frameEnVista(), 1);
    EXPECT_TRUE(sesion.termina().crecio);
    EXPECT_EQ(reproduccion.numeroFrames(), 3u); // the partial last frame, as a whole read
    EXPECT_EQ(analisis.framesAnalizados(), 2);
}

} // namespace
