// Race log and map readers, driven from in-memory files.
#include "datos/carrera.h"
#include "datos/mapa.h"
#include "datos/nombres.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using Archivo = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A stream over a copy of `texto`, like an opened file.
struct Flujo {
    std::string datos;
    Archivo archivo{nullptr, &std::fclose};
    explicit Flujo(std::string texto) : datos(std::move(texto)) {
        // fmemopen refuses a zero-length buffer; an empty file still reads as one.
        archivo.reset(datos.empty() ? std::fopen("/dev/null", "r")
                                    : fmemopen(datos.data(), datos.size(), "r"));
    }
};

zul::Carrera carrera(const std::string& texto) {
    Flujo flujo(texto);
    zul::Carrera c;
    zul::leerCarrera(flujo.archivo.get(), c);
    return c;
}

zul::Mapa mapa(const std::string& texto) {
    Flujo flujo(texto);
    zul::Mapa m;
    zul::leerMapa(flujo.archivo.get(), m);
    return m;
}

void compruebaInvariantes(const zul::Carrera& c) {
    EXPECT_EQ(c.posiciones.size(), c.angulos.size());
    EXPECT_EQ(c.posiciones.size(), c.vueltas.size());
    EXPECT_EQ(c.disparos.size(), c.framesDisparos.size());
    EXPECT_EQ(c.nombres.size(), static_cast<std::size_t>(c.numJugadores));
    for (std::size_t i = 1; i < c.framesDisparos.size(); ++i) {
        EXPECT_LE(c.framesDisparos[i - 1], c.framesDisparos[i]);
    }
}

const char* const kEjemplo = "2 alfa beta\n"
                             "p 1.5 2.5 0 0\n"
                             "s 1 1 3 3\n"
                             "p 4 4 1.57 0\n"
                             "p 1.6 2.5 0 0\n"
                             "p 4 4.1 1.57 1\n";

TEST(Carrera, EjemploDeDosFrames) {
    const zul::Carrera c = carrera(kEjemplo);
    compruebaInvariantes(c);
    EXPECT_EQ(c.numJugadores, 2);
    EXPECT_EQ(c.nombres, (std::vector<std::string>{"alfa", "beta"}));
    EXPECT_EQ(c.framesCompletos(), 2u);
    EXPECT_FALSE(c.ultimoFrameParcial());
    ASSERT_EQ(c.disparos.size(), 1u);
    EXPECT_EQ(c.framesDisparos[0], 0);
    EXPECT_EQ(c.disparos[0].inicio, QPointF(1, 1));
    EXPECT_EQ(c.disparos[0].fin, QPointF(3, 3));
    EXPECT_EQ(c.vueltas[1], 0); // beta, frame 0
    EXPECT_EQ(c.vueltas[3], 1); // beta, frame 1
    EXPECT_EQ(c.posiciones[3], QPointF(4, 4.1));
    EXPECT_DOUBLE_EQ(c.angulos[1], 1.57);
}

// Where a shot record stands decides its frame.
struct CasoDisparo {
    const char* nombre;
    const char* texto;
    std::vector<int> frames;
};

class FrameDeDisparo : public testing::TestWithParam<CasoDisparo> {};

TEST_P(FrameDeDisparo, Asignado) {
    const zul::Carrera c = carrera(GetParam().texto);
    compruebaInvariantes(c);
    EXPECT_EQ(c.framesDisparos, GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(
    Posiciones, FrameDeDisparo,
    testing::Values(
        CasoDisparo{"AntesDelPrimerRegistro", "1 a s 0 0 1 1 p 0 0 0 0 p 1 1 0 0", {0}},
        CasoDisparo{"EntreFrames", "2 a b p 0 0 0 0 p 0 0 0 0 s 0 0 1 1 p 0 0 0 0 p 0 0 0 0", {0}},
        CasoDisparo{"DentroDelSegundoFrame",
                    "2 a b p 0 0 0 0 p 0 0 0 0 p 0 0 0 0 s 0 0 1 1 p 0 0 0 0",
                    {1}},
        CasoDisparo{"VariosYUnoIncompleto",
                    "1 a p 0 0 0 0 s 1 1 1 1 s 2 2 p 3 3 0 0 s 3 3 3 3 s 4 4 4 4",
                    {0, 1, 1}},
        CasoDisparo{"TrasElUltimoFrame", "1 a p 0 0 0 0 p 1 1 0 0 s 9 9 9 9\n", {1}}),
    [](const auto& info) { return std::string(info.param.nombre); });

// Layout and stray content that must not change what is read.
struct CasoEquivalente {
    const char* nombre;
    const char* texto;
};

class CarreraEquivalente : public testing::TestWithParam<CasoEquivalente> {};

TEST_P(CarreraEquivalente, LeeLoMismoQueElEjemplo) {
    const zul::Carrera referencia = carrera(kEjemplo);
    const zul::Carrera c = carrera(GetParam().texto);
    EXPECT_EQ(c.nombres, referencia.nombres);
    EXPECT_EQ(c.posiciones, referencia.posiciones);
    EXPECT_EQ(c.angulos, referencia.angulos);
    EXPECT_EQ(c.vueltas, referencia.vueltas);
    EXPECT_EQ(c.framesDisparos, referencia.framesDisparos);
}

INSTANTIATE_TEST_SUITE_P(
    Formas, CarreraEquivalente,
    testing::Values(
        CasoEquivalente{"UnaLinea", "2 alfa beta p 1.5 2.5 0 0 s 1 1 3 3 p 4 4 1.57 0 p 1.6 2.5 "
                                    "0 0 p 4 4.1 1.57 1"},
        CasoEquivalente{"UnCampoPorLinea", "2\nalfa\nbeta\np\n1.5\n2.5\n0\n0\ns\n1\n1\n3\n3\np\n4\n"
                                           "4\n1.57\n0\np\n1.6\n2.5\n0\n0\np\n4\n4.1\n1.57\n1"},
        CasoEquivalente{"Tabuladores", "2\talfa\tbeta\r\np 1.5\t2.5 0 0\r\ns 1 1 3 3\r\np 4 4 1.57 "
                                       "0\r\np 1.6 2.5 0 0\r\np 4 4.1 1.57 1\r\n"},
        CasoEquivalente{"PalabrasSueltas", "2 alfa beta P pp sx 17 p 1.5 2.5 0 0 q s 1 1 3 3 p 4 4 "
                                           "1.57 0 hola p 1.6 2.5 0 0 p 4 4.1 1.57 1 fin"},
        CasoEquivalente{"NotacionesDeNumero", "+2 alfa beta p 15e-1 0x1.4p1 0 0 s 1 1 3 3 p 4 4 "
                                              "157e-2 0 p 1.6 2.5 -0 +0 p 4.0 4.1 1.57 1"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(Carrera, DisparoIncompletoSeDescartaYSigue) {
    const zul::Carrera c = carrera("1 a p 0 0 0 0 s 1 2 x p 1 1 0 0");
    compruebaInvariantes(c);
    EXPECT_TRUE(c.disparos.empty());
    // "x" is skipped as a stray token; the loader goes on.
    EXPECT_EQ(c.framesCompletos(), 2u);
}

TEST(Carrera, RegistroDeJugadorRotoTerminaLaLectura) {
    const zul::Carrera c = carrera("2 a b p 0 0 0 0 p 1 1 0 0 p x 1 0 0 p 2 2 0 0 p 3 3 0 0");
    compruebaInvariantes(c);
    EXPECT_EQ(c.posiciones.size(), 2u);
}

TEST(Carrera, FrameParcialAlFinal) {
    const zul::Carrera c = carrera("3 a b c p 0 0 0 0 p 1 1 0 0 p 2 2 0 0 p 3 3 0 0");
    compruebaInvariantes(c);
    EXPECT_EQ(c.framesCompletos(), 1u);
    EXPECT_TRUE(c.ultimoFrameParcial());
    EXPECT_EQ(c.posiciones.size(), 4u);
}

TEST(Carrera, SoloCabecera) {
    for (const char* texto : {"2 a b", "2 a b\n", "2 a b \n\n"}) {
        const zul::Carrera c = carrera(texto);
        compruebaInvariantes(c);
        EXPECT_TRUE(c.posiciones.empty()) << texto;
        EXPECT_TRUE(c.disparos.empty()) << texto;
    }
}

TEST(Carrera, NombresQueFaltanQuedanVacios) {
    const zul::Carrera c = carrera("3 uno");
    compruebaInvariantes(c);
    EXPECT_EQ(c.nombres, (std::vector<std::string>{"uno", "", ""}));
}

// A token longer than a name is still one token: a long name keeps its first
// 199 bytes (never half a UTF-8 character) and the rest of it is skipped, so
// the names after it and the race stay where they are.
struct CasoTokenLargo {
    const char* nombre;
    std::string texto;
    std::vector<std::string> nombres;
    std::size_t registros;
};

class TokenLargo : public testing::TestWithParam<CasoTokenLargo> {};

TEST_P(TokenLargo, UnSoloToken) {
    const zul::Carrera c = carrera(GetParam().texto);
    compruebaInvariantes(c);
    EXPECT_EQ(c.nombres, GetParam().nombres);
    EXPECT_EQ(c.posiciones.size(), GetParam().registros);
}

const std::string kEnie = "\xC3\xB1"; // ñ in UTF-8

INSTANTIATE_TEST_SUITE_P(
    Nombres, TokenLargo,
    testing::Values(CasoTokenLargo{"NombreLargo",
                                   "2 " + std::string(250, 'n') + " b p 0 0 0 0 p 1 1 0 0",
                                   {std::string(199, 'n'), "b"},
                                   2},
                    CasoTokenLargo{"NombreEnorme",
                                   "2 " + std::string(100000, 'n') + " b p 0 0 0 0 p 1 1 0 0",
                                   {std::string(199, 'n'), "b"},
                                   2},
                    CasoTokenLargo{"DeDoscientos",
                                   "1 " + std::string(200, 'x') + " p 1 1 0 0",
                                   {std::string(199, 'x')},
                                   1},
                    CasoTokenLargo{"JustoElLimite",
                                   "1 " + std::string(199, 'x') + " p 1 1 0 0",
                                   {std::string(199, 'x')},
                                   1},
                    // 99 ñ and one more byte: the cut falls inside the hundredth ñ.
                    CasoTokenLargo{"CorteDentroDeUnCaracter",
                                   "1 x" +
                                       [] {
                                           std::string s;
                                           for (int i = 0; i < 120; ++i) {
                                               s += kEnie;
                                           }
                                           return s;
                                       }() +
                                       " p 1 1 0 0",
                                   {"x" +
                                    [] {
                                        std::string s;
                                        for (int i = 0; i < 99; ++i) {
                                            s += kEnie;
                                        }
                                        return s;
                                    }()},
                                   1},
                    // Once a long tag or stray token was cut, its rest could read as "p".
                    CasoTokenLargo{"EtiquetaLarga",
                                   "1 a p 0 0 0 0 " + std::string(199, 'q') + "p 7 7 7 7 p 1 1 0 0",
                                   {"a"},
                                   2},
                    CasoTokenLargo{"PalabraLarga",
                                   "1 a p 0 0 0 0 " + std::string(5000, 'q') + " p 1 1 0 0",
                                   {"a"},
                                   2}),
    [](const auto& info) { return std::string(info.param.nombre); });

struct CasoRechazo {
    const char* nombre;
    const char* texto;
    const char* fragmento; // part of the message
};

class CarreraRechazada : public testing::TestWithParam<CasoRechazo> {};

TEST_P(CarreraRechazada, ConMensaje) {
    try {
        carrera(GetParam().texto);
        FAIL() << "se esperaba un rechazo";
    } catch (const zul::ErrorFormato& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().fragmento), std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cabeceras, CarreraRechazada,
    testing::Values(CasoRechazo{"Vacio", "", "número de jugadores"},
                    CasoRechazo{"Palabra", "dos a b", "número de jugadores"},
                    CasoRechazo{"Cero", "0 p 1 1 0 0", "declara 0 jugadores"},
                    CasoRechazo{"Negativo", "-3 a b c", "declara -3 jugadores"},
                    CasoRechazo{"Enorme", "1000000000 a", "el máximo es 1000"},
                    CasoRechazo{"Desbordado", "99999999999999999999999 a", "el máximo es 1000"},
                    CasoRechazo{"DesbordadoSeDiceDemasiadoGrande", "99999999999999999999999 a",
                                "número de jugadores demasiado grande para leerlo; el máximo es "
                                "1000."},
                    CasoRechazo{"DosALaSesentaYTres", "9223372036854775808 a",
                                "demasiado grande para leerlo"},
                    CasoRechazo{"ElMayorQueCabe", "9223372036854775807 a",
                                "declara 9223372036854775807 jugadores; el máximo es 1000."},
                    CasoRechazo{"NegativoDesbordado", "-99999999999999999999999 a",
                                "número de jugadores negativo; hace falta al menos uno."}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(Carrera, MilJugadoresSeAceptan) {
    const zul::Carrera c = carrera("1000");
    EXPECT_EQ(c.numJugadores, 1000);
    EXPECT_EQ(c.nombres.size(), 1000u);
}

// ---- Map file ----

TEST(Mapa, TresLineas) {
    for (const char* texto :
         {"2 3\n0 1 2\n3 5 4\n", "2 3 0 1 2 3 5 4", "2\n3\n0\n1\n2\n3\n5\n4 9 9"}) {
        const zul::Mapa m = mapa(texto);
        EXPECT_EQ(m.filas, 2) << texto;
        EXPECT_EQ(m.columnas, 3) << texto;
        EXPECT_EQ(m.celdas, "012354") << texto;
    }
}

struct CasoMapa {
    const char* nombre;
    const char* texto;
    int filas;
    int columnas;
    const char* celdas;
};

class MapaLeido : public testing::TestWithParam<CasoMapa> {};

TEST_P(MapaLeido, Celdas) {
    const zul::Mapa m = mapa(GetParam().texto);
    EXPECT_EQ(m.filas, GetParam().filas);
    EXPECT_EQ(m.columnas, GetParam().columnas);
    EXPECT_EQ(m.celdas, GetParam().celdas);
    EXPECT_EQ(m.celdas.size(),
              static_cast<std::size_t>(m.filas) * static_cast<std::size_t>(m.columnas));
}

INSTANTIATE_TEST_SUITE_P(Casos, MapaLeido,
                         testing::Values(CasoMapa{"AcabaPronto", "2 3 0 1 7", 2, 3, "017777"},
                                         CasoMapa{"UnaSolaCelda", "2 2 4", 2, 2, "4444"},
                                         CasoMapa{"PalabraEnMedio", "1 4 1 2 x 3", 1, 4, "1222"},
                                         CasoMapa{"ValorDoce", "1 1 12", 1, 1, "<"},
                                         CasoMapa{"ValorNegativoEnOchoBits", "1 2 -1 256", 1, 2,
                                                  "/4"},
                                         // Values that would wrap round onto an arrow or the
                                         // wall are plain track; the others keep their
                                         // character, single digits on the fast path too.
                                         CasoMapa{"ValoresQueDanLaVuelta",
                                                  "1 11 256 261 -256 -251 4294967296 "
                                                  "-99999999999999999999 99999999999999999999 262 "
                                                  "12 5 3",
                                                  1, 11, "444444/6<53"},
                                         CasoMapa{"SinFilas", "0 5", 0, 5, ""},
                                         CasoMapa{"SinColumnas", "7 0 1 2 3", 7, 0, ""},
                                         CasoMapa{"CeroYCero", "0 0", 0, 0, ""}),
                         [](const auto& info) { return std::string(info.param.nombre); });

class MapaRechazado : public testing::TestWithParam<CasoRechazo> {};

TEST_P(MapaRechazado, ConMensaje) {
    try {
        mapa(GetParam().texto);
        FAIL() << "se esperaba un rechazo";
    } catch (const zul::ErrorFormato& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().fragmento), std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cabeceras, MapaRechazado,
    testing::Values(CasoRechazo{"Vacio", "", "dos dimensiones"},
                    CasoRechazo{"UnaDimension", "5", "dos dimensiones"},
                    CasoRechazo{"Palabra", "5 x 1", "dos dimensiones"},
                    CasoRechazo{"FilasNegativas", "-1 3 0 0 0", "negativas"},
                    CasoRechazo{"ColumnasNegativas", "3 -1", "negativas"},
                    CasoRechazo{"ProductoDesbordado", "65536 65536 0", "demasiadas celdas"},
                    CasoRechazo{"DimensionEnorme", "1 99999999999 0", "demasiadas celdas"},
                    CasoRechazo{"FilasIlegiblesDeGrandes", "99999999999999999999 3 0",
                                "número de filas demasiado grande"},
                    CasoRechazo{"ColumnasIlegiblesDeGrandes", "3 +00099999999999999999999 0",
                                "número de columnas demasiado grande"},
                    CasoRechazo{"NegativasIlegiblesDeGrandes", "-9223372036854775809 3",
                                "número de filas demasiado grande"},
                    CasoRechazo{"SinCeldas", "2 2", "ninguna celda"},
                    CasoRechazo{"PrimeraCeldaIlegible", "2 2 x 1 1 1", "ninguna celda"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(Mapa, NingunValorFueraDeSuSitioEsFlechaNiMuro) {
    for (long long v = -70000; v <= 70000; ++v) {
        const char c = zul::caracterCelda(v);
        const bool propio = (v >= 0 && v <= 3) || v == 5;
        const bool especial = (c >= '0' && c <= '3') || c == '5';
        ASSERT_EQ(propio, especial) << v;
        if (propio) {
            ASSERT_EQ(c, '0' + v);
        }
    }
}

// Wherever a piece of the stream ends (inside a number, a run of spaces, the
// header), the map reads as from one piece.
TEST(Mapa, CualquierCorteDeTrozoDaLoMismo) {
    for (const char* texto :
         {"2 3\n0 1 2\n3 5 4\n", "3 3 1 2 3 45 6 789 12 -3 +4", "2  2   1\t\n 22 x 3", "1 4 9 9 9",
          "10 1 0 1 2 3 4 5 6 7 8 9", "1 1 0000000000000000000000012",
          "00000000000000000000002 2 1 2 3", "99999999999999999999 1 1", "2 2", "2 2 -", ""}) {
        std::string entero;
        {
            Flujo flujo(texto);
            zul::Mapa m;
            try {
                zul::leerMapa(flujo.archivo.get(), m);
                entero =
                    std::to_string(m.filas) + "x" + std::to_string(m.columnas) + ":" + m.celdas;
            } catch (const zul::ErrorFormato& e) {
                entero = e.what();
            }
        }
        for (std::size_t trozo = 1; trozo <= 24; ++trozo) {
            Flujo flujo(texto);
            zul::Mapa m;
            std::string enTrozos;
            try {
                zul::leerMapaEnTrozos(flujo.archivo.get(), m, trozo);
                enTrozos =
                    std::to_string(m.filas) + "x" + std::to_string(m.columnas) + ":" + m.celdas;
            } catch (const zul::ErrorFormato& e) {
                enTrozos = e.what();
            }
            EXPECT_EQ(enTrozos, entero) << "«" << texto << "» en trozos de " << trozo;
        }
    }
}

// ---- Names ----

TEST(Nombres, Utf8OLatin1) {
    EXPECT_EQ(zul::textoNombre("Pe\xC3\xB1"
                               "a"),
              QString::fromUtf8("Peña"));
    EXPECT_EQ(zul::textoNombre("Pe\xF1"
                               "a"),
              QString::fromUtf8("Peña")); // Latin-1
    EXPECT_EQ(zul::textoNombre("\xE2\x82\xAC"), QString::fromUtf8("€"));
    EXPECT_EQ(zul::textoNombre("\xC3"), QString::fromUtf8("Ã")); // cut UTF-8: Latin-1
    EXPECT_EQ(zul::textoNombre("<b>x</b>"), QString::fromUtf8("<b>x</b>"));
    EXPECT_EQ(zul::textoNombre(""), QString());
}

} // namespace
