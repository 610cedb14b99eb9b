// Which race frame each video picture shows, and how progress reads.
#include "video/planificacion.h"
#include "video/progreso.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <cstdio>

using namespace zul;

namespace {

struct Plan {
    long long primero, ultimo;
    int fps;
    double pasos;
    long long total;
    std::vector<long long> primeros; // race frames of the first pictures
};

class Planificado : public ::testing::TestWithParam<Plan> {};

TEST_P(Planificado, CuentaYReparte) {
    const Plan& c = GetParam();
    Planificacion plan;
    QString error;
    ASSERT_TRUE(planifica(c.primero, c.ultimo, c.fps, c.pasos, plan, error)) << error.toStdString();
    ASSERT_EQ(plan.totalCuadros(), c.total);
    for (std::size_t i = 0; i < c.primeros.size(); ++i) {
        EXPECT_EQ(plan.frameDeCuadro(static_cast<long long>(i)), c.primeros[i]) << i;
    }
    // Never past M, never backwards, and the last picture shows M when no
    // step is skipped.
    const long long ultimo = plan.frameDeCuadro(c.total - 1);
    EXPECT_LE(ultimo, c.ultimo);
    if (c.pasos <= c.fps) {
        EXPECT_EQ(ultimo, c.ultimo);
    }
    if (c.total < 100000) {
        for (long long i = 1; i < c.total; ++i) {
            ASSERT_LE(plan.frameDeCuadro(i - 1), plan.frameDeCuadro(i));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filas, Planificado,
    ::testing::Values(Plan{0, 899, 30, 30, 900, {0, 1, 2, 3}},         // one step per picture
                      Plan{10, 10, 30, 30, 1, {10}},                   // a single step
                      Plan{0, 899, 30, 60, 450, {0, 2, 4}},            // twice as fast
                      Plan{0, 9, 30, 7, 43, {0, 0, 0, 0, 0, 1}},       // ⌈10 · 30 / 7⌉ = 43
                      Plan{0, 4, 30, 20, 8, {0, 0, 1, 2, 2, 3, 4, 4}}, // ⌈7.5⌉
                      Plan{5, 6, 10, 2.5, 8, {5, 5, 5, 5, 6, 6, 6, 6}},
                      Plan{0, 99, 24, 1000, 3, {0, 41, 83}}, // skips most steps
                      Plan{0, 2, 30, 0.001, 90000, {0, 0}},  // the slowest speed
                      Plan{3, 3'000'000'002, 240, 0.001, 720'000'000'000'000, {3, 3}}));

struct PlanMalo {
    long long primero, ultimo;
    int fps;
    double pasos;
    const char* motivo;
};

class PlanNoValido : public ::testing::TestWithParam<PlanMalo> {};

TEST_P(PlanNoValido, DiceQuePorQue) {
    const PlanMalo& c = GetParam();
    Planificacion plan;
    plan.primero = 77;
    QString error;
    EXPECT_FALSE(planifica(c.primero, c.ultimo, c.fps, c.pasos, plan, error));
    EXPECT_TRUE(error.contains(QString::fromUtf8(c.motivo))) << error.toStdString();
    EXPECT_EQ(plan.primero, 77);
}

INSTANTIATE_TEST_SUITE_P(
    Filas, PlanNoValido,
    ::testing::Values(PlanMalo{5, 4, 30, 30, "está vacío"}, PlanMalo{-1, 4, 30, 30, "negativo"},
                      PlanMalo{0, 2'000'000'000'000, 30, 30, "demasiado largo"},
                      PlanMalo{0, 4, 0, 30, "entre 1 y 240"},
                      PlanMalo{0, 4, 241, 30, "entre 1 y 240"},
                      PlanMalo{0, 4, 30, 0, "pasos por segundo"},
                      PlanMalo{0, 4, 30, -3, "pasos por segundo"},
                      PlanMalo{0, 4, 30, 0.0004, "pasos por segundo"},
                      PlanMalo{0, 4, 30, std::nan(""), "pasos por segundo"},
                      PlanMalo{0, 4, 30, 2e6, "pasos por segundo"}));

TEST(Progreso, Lineas) {
    const struct {
        Progreso progreso;
        const char* linea;
    } filas[] = {
        {{0, 900, 0.0}, "Vídeo: 0 % (0 de 900 fotogramas), 0,0 fotogramas/s, quedan --:--"},
        {{405, 900, 5.6}, "Vídeo: 45 % (405 de 900 fotogramas), 72,3 fotogramas/s, quedan 0:07"},
        {{899, 900, 10.0}, "Vídeo: 99 % (899 de 900 fotogramas), 89,9 fotogramas/s, quedan 0:01"},
        {{900, 900, 12.5}, "Vídeo: 100 % (900 de 900 fotogramas), 72,0 fotogramas/s, quedan 0:00"},
        {{10, 100000, 1.0},
         "Vídeo: 0 % (10 de 100000 fotogramas), 10,0 fotogramas/s, quedan 2:46:39"},
    };
    for (const auto& f : filas) {
        EXPECT_EQ(lineaProgreso(f.progreso).toStdString(), f.linea);
    }
    EXPECT_EQ(resumenVideo(QStringLiteral("c.mp4"), {900, 900, 12.5}, 30).toStdString(),
              "Vídeo escrito en c.mp4: 900 fotogramas (0:30 de vídeo) en 12,5 s, 72,0 "
              "fotogramas/s.");
}

// One picture is "1 fotograma", and a video under a second is not called
// one second long.
TEST(Progreso, SingularYVideosDeMenosDeUnSegundo) {
    const struct {
        Progreso progreso;
        int fps;
        const char* resumen;
    } filas[] = {
        {{5, 5, 0.5},
         30,
         "Vídeo escrito en c.mp4: 5 fotogramas (0,17 s de vídeo) en 0,5 s, 10,0 "
         "fotogramas/s."},
        {{1, 1, 0.5},
         1,
         "Vídeo escrito en c.mp4: 1 fotograma (0:01 de vídeo) en 0,5 s, 2,0 "
         "fotogramas/s."},
    };
    for (const auto& f : filas) {
        EXPECT_EQ(resumenVideo(QStringLiteral("c.mp4"), f.progreso, f.fps).toStdString(),
                  f.resumen);
    }
    EXPECT_EQ(lineaProgreso({1, 1, 0.5}).toStdString(),
              "Vídeo: 100 % (1 de 1 fotograma), 2,0 fotogramas/s, quedan 0:00");
}

TEST(Progreso, DuracionRedondeaHaciaArriba) {
    const struct {
        double segundos;
        const char* texto;
    } filas[] = {{0, "0:00"},         {0.2, "0:01"},     {59.0, "0:59"}, {60.0, "1:00"},
                 {3599.5, "1:00:00"}, {3661, "1:01:01"}, {-4, "0:00"}};
    for (const auto& f : filas) {
        EXPECT_EQ(duracion(f.segundos).toStdString(), f.texto) << f.segundos;
    }
}

// A terminal gets the line rewritten in place, a few times a second; a log
// gets only the summary, and nothing at all when the video failed.
TEST(Progreso, TerminalYRegistro) {
    const auto escribe = [](bool terminal, EstadoVideo estado) {
        std::FILE* f = std::tmpfile();
        CProgresoTerminal progreso(f, terminal);
        for (long long i = 1; i <= 20; ++i) {
            progreso.informa({i, 20, 0.01 * static_cast<double>(i)});
        }
        ResultadoVideo resultado;
        resultado.estado = estado;
        resultado.progreso = {20, 20, 0.2};
        progreso.termina(QStringLiteral("c.mp4"), resultado, 10);
        std::rewind(f);
        std::string texto;
        for (int c; (c = std::fgetc(f)) != EOF;) {
            texto += static_cast<char>(c);
        }
        std::fclose(f);
        return texto;
    };
    const std::string resumen =
        "Vídeo escrito en c.mp4: 20 fotogramas (0:02 de vídeo) en 0,2 s, 100,0 fotogramas/s.\n";
    EXPECT_EQ(escribe(false, EstadoVideo::Terminado), resumen);
    EXPECT_EQ(escribe(false, EstadoVideo::Fallido), "");
    const std::string terminal = escribe(true, EstadoVideo::Terminado);
    // Pictures 1, 11 (0.1 s later) and 20 (the last), then the summary.
    EXPECT_EQ(terminal,
              "\rVídeo: 5 % (1 de 20 fotogramas), 100,0 fotogramas/s, quedan 0:01\033[K"
              "\rVídeo: 55 % (11 de 20 fotogramas), 100,0 fotogramas/s, quedan 0:01\033[K"
              "\rVídeo: 100 % (20 de 20 fotogramas), 100,0 fotogramas/s, quedan 0:00\033[K\n" +
                  resumen);
    const std::string fallido = escribe(true, EstadoVideo::Cancelado);
    EXPECT_EQ(fallido.back(), '\n');
    EXPECT_EQ(fallido.find("escrito"), std::string::npos);
}

} // namespace
