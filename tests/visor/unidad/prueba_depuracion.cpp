// The bots' debug files: what the reader takes, what it refuses (naming the file and the line),
// the check against the race, and a file read while it grows.
#include "datos/depuracion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zul {
namespace {

const std::string kBueno = "zul-depuracion 1\n"
                           "turno 0 id 2 m 1.500000 0.000000\n"
                           "linea 1 2 3.5 -4e+02 ff0000\n"
                           "circulo nan inf 0.5 00ff00\n"
                           "texto 1 2 0000ff  dos\\nlíneas \\\\ \\x01\n"
                           "nota giro a la derecha\n"
                           "nota \n"
                           "descartados 3\n"
                           "fin\n"
                           "turno 1 id 2 s -nan nan\n"
                           "fin\n";

TEST(Depuracion, LeeDibujosNotasYOrden) {
    Depuracion d("bot.dep");
    d.anade(kBueno);
    d.termina();
    ASSERT_EQ(d.turnos().size(), 2u);
    EXPECT_EQ(d.id(), 2);
    const TurnoDepuracion& t = d.turnos()[0];
    EXPECT_FALSE(t.disparo);
    EXPECT_EQ(t.ordenX, 1.5);
    ASSERT_EQ(t.dibujos.size(), 3u);
    EXPECT_EQ(t.dibujos[0].tipo, DibujoDepuracion::Linea);
    EXPECT_EQ(t.dibujos[0].d, -400.0);
    EXPECT_EQ(t.dibujos[0].color, 0xff0000u);
    EXPECT_TRUE(std::isnan(t.dibujos[1].a));
    EXPECT_TRUE(std::isinf(t.dibujos[1].b));
    EXPECT_EQ(t.dibujos[2].texto, " dos\nlíneas \\ \x01");
    EXPECT_EQ(t.notas, (std::vector<std::string>{"giro a la derecha", ""}));
    EXPECT_EQ(t.descartados, 3);
    EXPECT_TRUE(d.turnos()[1].disparo);
    EXPECT_TRUE(std::isnan(d.turnos()[1].ordenX));
    EXPECT_EQ(d.turnoDe(3, 2), &d.turnos()[1]);
    EXPECT_EQ(d.turnoDe(1, 2), nullptr);
}

// Whatever the file holds, it is refused with its name and the line to blame.
TEST(Depuracion, RechazaLoQueNoEntiende) {
    const struct {
        std::string texto;
        std::string dice;
    } casos[] = {
        {"", "bot.dep: no es un archivo de depuración"},
        {"3 4\n5 5\n", "bot.dep, línea 1: no es un archivo de depuración"},
        {"zul-depuracion 1\nlinea 1 2 3 4 ff0000\n", "línea 2: se esperaba «turno N id ID"},
        {"zul-depuracion 1\nturno 1 id 0 m 0 0\nfin\n", "línea 2: se esperaba el turno 0"},
        {"zul-depuracion 1\nturno 0 id 0 x 0 0\nfin\n", "línea 2: el turno debe ser"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\nlinea 1 2 3 ff0000\nfin\n", "línea 3: la línea"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\nlinea 1 2 3 4 red\nfin\n", "línea 3: la línea"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\ncirculo 1 2 ff0000\nfin\n", "línea 3: el círc"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\ntexto 1 x ff0000 a\nfin\n", "línea 3: el texto"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\ntexto\nfin\n", "línea 3: el texto"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\nnota a\\q\nfin\n", "línea 3: escape no válido"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\npunto 1 2\nfin\n", "línea 3: línea desconocida"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\nfin\nturno 1 id 1 m 0 0\nfin\n",
         "línea 4: el identificador cambia de 0 a 1"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\n", "línea 2: el archivo acaba dentro del turno 0"},
        {"zul-depuracion 1\nturno 0 id 0 m 0 0\nfin", "línea 3: el archivo acaba a media línea"},
    };
    for (const auto& c : casos) {
        Depuracion d("bot.dep");
        try {
            d.anade(c.texto);
            d.termina();
            ADD_FAILURE() << "aceptado: " << c.texto;
        } catch (const ErrorFormato& e) {
            EXPECT_NE(std::string(e.what()).find(c.dice), std::string::npos)
                << e.what() << " no dice " << c.dice;
        }
    }
}

// A file of another race: an id that is no player, or more turns than frames.
TEST(Depuracion, DeOtraCarrera) {
    Depuracion d("bot.dep");
    d.anade(kBueno);
    d.termina();
    EXPECT_NO_THROW(d.compruebaCarrera(3, 2));
    EXPECT_NO_THROW(d.compruebaCarrera(3, -1));
    const struct {
        int jugadores;
        long frames;
        const char* dice;
    } casos[] = {{2, 5, "bot.dep: es del jugador 2, pero la carrera tiene 2 jugadores"},
                 {3, 1, "bot.dep: tiene 2 turnos, pero la carrera solo 1 pasos"}};
    for (const auto& c : casos) {
        try {
            d.compruebaCarrera(c.jugadores, c.frames);
            ADD_FAILURE() << c.dice;
        } catch (const ErrorFormato& e) {
            EXPECT_NE(std::string(e.what()).find(c.dice), std::string::npos) << e.what();
        }
    }
}

// Live following: any cut of the text gives, at each point, the complete blocks so far.
TEST(Depuracion, CreceATrozos) {
    for (size_t corte = 1; corte < kBueno.size(); corte += 7) {
        Depuracion d("bot.dep");
        size_t hecho = 0;
        for (; hecho < kBueno.size(); hecho += corte) {
            d.anade(std::string_view(kBueno).substr(hecho, corte));
            const size_t leido = std::min(hecho + corte, kBueno.size());
            const size_t completos = leido >= kBueno.size()            ? 2
                                     : leido >= kBueno.find("turno 1") ? 1
                                                                       : 0;
            ASSERT_EQ(d.turnos().size(), completos) << "corte " << corte << " en " << leido;
        }
        d.termina();
    }
}

} // namespace
} // namespace zul
