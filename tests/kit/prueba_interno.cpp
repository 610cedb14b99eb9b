// The library inside the process, on streams in memory: the use a fuzz target makes of it,
// running thousands of games in a row.
#include "ZULinterno.h"
#include "ZULlib.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <malloc.h>
#include <string>

namespace {

std::function<void()> estrategia;

struct Partida {
    int estado;
    std::string salida;
};

Partida jugar(const std::string& entrada) {
    FILE* in = fmemopen(const_cast<char*>(entrada.data()), entrada.size(), "r");
    char* texto = nullptr;
    size_t largo = 0;
    FILE* out = open_memstream(&texto, &largo);
    Partida p{zulEjecutar(in, out), ""};
    fclose(in);
    fclose(out);
    p.salida.assign(texto, largo);
    free(texto);
    return p;
}

size_t memoriaEnUso() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

class Interno : public testing::Test {
protected:
    void SetUp() override {
        zulReiniciar();
        estrategia = nullptr;
    }
    void TearDown() override {
        zulReiniciar();
        estrategia = nullptr;
    }
};

struct CasoEstado {
    const char* entrada;
    int estado;
    const char* mensaje;
};

TEST_F(Interno, EstadoYMensaje) {
    const CasoEstado casos[] = {
        {"", ZUL_FIN_ENTRADA, ""},
        {"1 1 4 0 3", ZUL_FIN_ENTRADA, ""},
        {"1 1 4 0 3 x", ZUL_ENTRADA_NO_VALIDA, "número de jugadores"},
        {"2 2 1 2 3", ZUL_FIN_ENTRADA, ""},
        {"2 2 1 2 3 .", ZUL_ENTRADA_NO_VALIDA, "fila 1, columna 1"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.entrada);
        zulReiniciar();
        EXPECT_EQ(jugar(c.entrada).estado, c.estado);
        EXPECT_NE(std::string(zulMensajeError()).find(c.mensaje), std::string::npos)
            << zulMensajeError();
        if (c.estado == ZUL_FIN_ENTRADA) {
            EXPECT_STREQ(zulMensajeError(), "");
        }
    }
}

TEST_F(Interno, ReiniciarDejaElEstadoInicial) {
    estrategia = [] {
        asignarDireccion(90, 2);
        dispara();
    };
    Partida p = jugar("2 3 0 1 2 3 5 4 1 2.5 1.5 3 4 6\n");
    EXPECT_EQ(p.salida, "s 0.000000 2.000000\n");
    EXPECT_EQ(obtenerId(), 6);
    EXPECT_EQ(dirrecionDelMapa(2.5f, 1.5f), 4);
    EXPECT_EQ(zulTurnoActual(), 2); // the second turn began and the input ended

    zulReiniciar();
    EXPECT_EQ(largoDelMapa(), 0);
    EXPECT_EQ(anchoDelMapa(), 0);
    EXPECT_EQ(obtenerId(), 0);
    EXPECT_EQ(noDeJugadores(), 0);
    EXPECT_EQ(obtenerFuerza(0), 0.0f);
    EXPECT_EQ(dirrecionDelMapa(2.5f, 1.5f), 5);
    EXPECT_EQ(puedoDisparar(), 1);
    EXPECT_EQ(zulTurnoActual(), 0);

    // Without the previous game's wait, the first turn may shoot again, and the command is
    // zero again.
    estrategia = [] { dispara(); };
    EXPECT_EQ(jugar("0 0 0 1\n").salida, "s 0.000000 0.000000\n");
}

TEST_F(Interno, IndicesFueraDeLoLeidoDanCero) {
    jugar("0 0 2 1 2 3 4 5 6 7 8 0\n");
    EXPECT_EQ(obtenerPosicionX(1), 5.0f);
    EXPECT_EQ(obtenerPosicionX(2), 0.0f);
    EXPECT_EQ(obtenerPosicionY(-1), 0.0f);
    EXPECT_EQ(obtenerAngulo(1000000), 0.0f);
    EXPECT_EQ(obtenerFuerza(-2147483647 - 1), 0.0f);
}

TEST_F(Interno, CantidadesDeclaradasEnormesNoReservanMemoria) {
    // Memory grows with what is read, not with what is announced.
    const char* entradas[] = {"0 0 2000000000 1 2 3 4 5 6 7 8", "100000 100000 1 2 3 4 5",
                              "2147483647 2147483647 7"};
    for (const char* entrada : entradas) {
        SCOPED_TRACE(entrada);
        zulReiniciar();
        const size_t antes = memoriaEnUso();
        EXPECT_EQ(jugar(entrada).estado, ZUL_FIN_ENTRADA) << zulMensajeError();
        EXPECT_LT(memoriaEnUso(), antes + 16 * 1024 * 1024);
    }
}

TEST_F(Interno, ElBucleDeTurnosNoReservaMemoria) {
    // A first turn with 150 entries (memory grows once); then 200 equal turns.
    std::string entrada = "20 20";
    for (int k = 0; k < 400; ++k) {
        entrada += " 1";
    }
    std::string turno = " 150";
    for (int i = 0; i < 150; ++i) {
        turno += " 1.5 2.5 3 4";
    }
    turno += " 0";
    for (int t = 0; t < 200; ++t) {
        entrada += turno;
    }
    static size_t medidas[200];
    static int n = 0;
    n = 0;
    estrategia = [] {
        if (n < 200) {
            medidas[n++] = mallinfo2().uordblks;
        }
    };
    FILE* nulo = fopen("/dev/null", "w");
    ASSERT_NE(nulo, nullptr);
    FILE* in = fmemopen(entrada.data(), entrada.size(), "r");
    EXPECT_EQ(zulEjecutar(in, nulo), ZUL_FIN_ENTRADA);
    fclose(in);
    fclose(nulo);
    ASSERT_EQ(n, 200);
    // From the third turn on (the output buffer is made at the first write) nothing changes.
    for (int t = 2; t < 200; ++t) {
        EXPECT_EQ(medidas[t], medidas[2]) << "turno " << t + 1;
    }
}

} // namespace

void funcionPrincipal() {
    if (estrategia) {
        estrategia();
    }
}
