// The fast readers against the fscanf readers: identical results on every
// input, generated or odd, whole or cut at any byte.
#include "comparacion_lectores.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

namespace {

::testing::AssertionResult igualCarrera(const std::string& texto) {
    const std::string diferencia = zul::comparacion::diferenciaCarrera(texto);
    if (!diferencia.empty()) {
        return ::testing::AssertionFailure() << diferencia << "\npara la entrada:\n" << texto;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult igualMapa(const std::string& texto) {
    const std::string diferencia = zul::comparacion::diferenciaMapa(texto);
    if (!diferencia.empty()) {
        return ::testing::AssertionFailure() << diferencia << "\npara la entrada:\n" << texto;
    }
    return ::testing::AssertionSuccess();
}

// Numbers in every form the C library's reader treats specially, and those
// where the whole-record reading hands a field over to the general one.
const char* const kNumerosRaros[] = {"0",
                                     "-0",
                                     "+0",
                                     "1.5",
                                     "-2.25",
                                     ".5",
                                     "5.",
                                     "1e3",
                                     "1E+3",
                                     "1e-3",
                                     "1e",
                                     "1e+",
                                     "1e-",
                                     "1e5e",
                                     "1.2.3",
                                     ".",
                                     "-.",
                                     "-",
                                     "+",
                                     "+-1",
                                     "0x1.8p1",
                                     "0X1P-2",
                                     "0x",
                                     "0x.",
                                     "0x.8",
                                     "0xg",
                                     "0x1p",
                                     "00x1",
                                     "inf",
                                     "-inf",
                                     "INF",
                                     "infinity",
                                     "Infinit",
                                     "infx",
                                     "nan",
                                     "-nan",
                                     "NaN(12)",
                                     "nax",
                                     "in",
                                     "n",
                                     "1e400",
                                     "-1e400",
                                     "1e-400",
                                     "4.9e-324",
                                     "2.2250738585072011e-308",
                                     "99999999999",
                                     "-99999999999",
                                     "9223372036854775808",
                                     "-9223372036854775809",
                                     "123456789012345678901234567890",
                                     "0.1000000000000000055511151231257827",
                                     "12ab",
                                     "p",
                                     "s",
                                     "x",
                                     "\x01",
                                     "1\xff",
                                     "e5",
                                     "0e",
                                     "1234567",
                                     "-1234567",
                                     "+7",
                                     "12345678",
                                     "-2147483649",
                                     "4294967297",
                                     "9007199254740993",
                                     "1234567890123456",
                                     "12345678.87654321",
                                     "1.5x",
                                     "7.0000001",
                                     "-1234567.1234567",
                                     "1234567.12345678",
                                     "12345678.1",
                                     "5.",
                                     "-0.000"};

std::string numeroAleatorio(std::mt19937& azar) {
    std::uniform_int_distribution<int> tipo(0, 9);
    switch (tipo(azar)) {
    case 0:
        return kNumerosRaros[azar() % (sizeof kNumerosRaros / sizeof *kNumerosRaros)];
    case 1:
        return std::to_string(static_cast<int>(azar() % 2001) - 1000);
    default: {
        char texto[64];
        std::snprintf(texto, sizeof texto, "%.*f", static_cast<int>(azar() % 5),
                      std::uniform_real_distribution<double>(-200, 200)(azar));
        return texto;
    }
    }
}

std::string carreraAleatoria(std::mt19937& azar) {
    const char* const separadores[] = {" ", "\n", "\t", "  ", "\r\n", "\v", "\f"};
    auto sep = [&] { return std::string(separadores[azar() % 7]); };
    const int n = 1 + static_cast<int>(azar() % 4);
    std::string texto = std::to_string(n);
    for (int i = 0; i < n; ++i) {
        texto += sep() + "j" + std::to_string(i);
    }
    const int registros = static_cast<int>(azar() % 40);
    for (int r = 0; r < registros; ++r) {
        texto += sep();
        const unsigned tipo = azar() % 10;
        if (tipo < 6) {
            texto += "p";
            for (int c = 0; c < 4; ++c) {
                texto += sep() + numeroAleatorio(azar);
            }
        } else if (tipo < 9) {
            texto += "s";
            const int campos = static_cast<int>(azar() % 5);
            for (int c = 0; c < campos; ++c) {
                texto += sep() + numeroAleatorio(azar);
            }
        } else {
            texto += numeroAleatorio(azar);
        }
    }
    return texto;
}

TEST(Diferencial, CarrerasGeneradas) {
    std::mt19937 azar(20261208);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(igualCarrera(carreraAleatoria(azar))) << "caso " << i;
    }
}

TEST(Diferencial, CadaNumeroRaroEnCadaCampo) {
    for (const char* numero : kNumerosRaros) {
        for (int campo = 0; campo < 4; ++campo) {
            for (const char* etiqueta : {"p", "s"}) {
                std::string registro = std::string(etiqueta);
                for (int c = 0; c < 4; ++c) {
                    registro += " " + std::string(c == campo ? numero : "1.5");
                }
                const std::string texto =
                    "2 a b p 1 2 3 4 " + registro + " p 5 6 7 8 s 1 2 3 4 p 9 9 9 9";
                ASSERT_TRUE(igualCarrera(texto));
            }
        }
        ASSERT_TRUE(igualCarrera(std::string(numero) + " a b c p 1 1 1 1"));
    }
}

// More shots than the reader keeps before it sizes their frames from the
// file, read from a real file (whose size is known) and from memory (whose
// size is not): every shot and frame as the fscanf reader gives them.
TEST(Diferencial, MuchosDisparosDesdeUnArchivo) {
    std::mt19937 azar(20261209);
    std::string texto = "2 a b\n";
    for (int k = 0; k < 150000; ++k) {
        if (k % 1000 == 0) {
            texto += "p 1 2 3 0\np 4 5 6 0\n";
        }
        texto += "s";
        for (int c = 0; c < 4; ++c) {
            // Mostly short whole numbers, as on the shortest shot lines; some
            // that no float holds, and some odd ones.
            const unsigned tipo = azar() % 8;
            char numero[32];
            if (tipo == 0) {
                const char* const raros[] = {"-0",       "inf",   "-nan", "1e-400",
                                             "4.9e-324", "1e400", "0.1",  "16777217"};
                std::snprintf(numero, sizeof numero, "%s", raros[azar() % 8]);
            } else if (tipo < 3) {
                std::snprintf(numero, sizeof numero, "%.*f", static_cast<int>(1 + azar() % 3),
                              std::uniform_real_distribution<double>(-200, 200)(azar));
            } else {
                std::snprintf(numero, sizeof numero, "%u", static_cast<unsigned>(azar() % 10));
            }
            texto += std::string(" ") + numero;
        }
        texto += "\n";
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> archivo(std::tmpfile(), &std::fclose);
    ASSERT_NE(archivo, nullptr);
    ASSERT_EQ(std::fwrite(texto.data(), 1, texto.size(), archivo.get()), texto.size());
    zul::Carrera rapida;
    zul::Carrera referencia;
    std::rewind(archivo.get());
    zul::leerCarrera(archivo.get(), rapida);
    std::rewind(archivo.get());
    zul::leerCarreraReferencia(archivo.get(), referencia);
    ASSERT_EQ(referencia.disparos.size(), 150000u);
    ASSERT_EQ(rapida.disparos.size(), referencia.disparos.size());
    ASSERT_EQ(rapida.framesDisparos, referencia.framesDisparos);
    for (std::size_t i = 0; i < rapida.disparos.size(); ++i) {
        ASSERT_TRUE(
            zul::comparacion::mismoPunto(rapida.disparos[i].inicio,
                                         referencia.disparos[i].inicio) &&
            zul::comparacion::mismoPunto(rapida.disparos[i].fin, referencia.disparos[i].fin))
            << "disparo " << i;
    }
    ASSERT_TRUE(igualCarrera(texto));
}

TEST(Diferencial, CortadaEnCadaByte) {
    const std::string entera = "3 alfa beta gamma\n"
                               "p 1.5 2.5 0.7854 0\np -3e1 4 1.57 0\np 0x1p3 .5 -0 1\n"
                               "s 1 1 3 3\ns 2 2 inf nan\n"
                               "p 1.6 2.5 0.78 0\nzz p 4 4.1 1.57 1\np 7 8 9 10\n";
    for (std::size_t corte = 0; corte <= entera.size(); ++corte) {
        ASSERT_TRUE(igualCarrera(entera.substr(0, corte))) << "corte " << corte;
    }
}

// A number read from the front of a token leaves the rest of the token as the
// next one to read: here a player tag whose fields do not follow, which ends
// the log before the plain records after it.
TEST(Diferencial, RestoDeUnToken) {
    for (const char* texto : {"1 a s 1 2 3 4p s 1 2 3 4 p 5 5 5 5 p 6 6 6 6",
                              "1 a p 1 2 3 4s p 1 2 3 4 p 5 5 5 5 p 6 6 6 6 s 1 1 1 1",
                              "1 a p 1 2 3 4.5p s 1 2 3 4 p 5 5 5 5 p 6 6 6 6"}) {
        ASSERT_TRUE(igualCarrera(texto));
    }
}

TEST(Diferencial, TokensLargosYBytesNulos) {
    const std::string largo(450, 'p');
    ASSERT_TRUE(igualCarrera("2 " + largo + " b p 1 1 1 1 p 2 2 2 2"));
    ASSERT_TRUE(
        igualCarrera(std::string("2 a\0b c p 1 1 1 1 p\0q 2 2 2 2 s\0 1 1 1 1 p 3 3 3 3", 46)));
    ASSERT_TRUE(igualCarrera("1 " + std::string(199, 'x') + "p 1 1 1 1"));
    ASSERT_TRUE(igualCarrera("1 a " + std::string(198, 'x') + "p 1 1 1 1 s 1 1 1 1"));
}

TEST(Diferencial, Mapas) {
    std::mt19937 azar(7);
    const std::string entero = "3 4\n0 1 2 3\n4 5 6 -1\n12 99999999999 +7 0\n";
    for (std::size_t corte = 0; corte <= entero.size(); ++corte) {
        ASSERT_TRUE(igualMapa(entero.substr(0, corte))) << "corte " << corte;
    }
    for (const char* raro : {"2 2 1 - 5 6", "2 2 1 +x 5", "2 2 1 2 x", "-0 4", "+2 +1 -3 -4",
                             "2 2 0x1 2 3 4", "1 1 9223372036854775808", "2 1 3 1e5"}) {
        ASSERT_TRUE(igualMapa(raro));
    }
    for (int i = 0; i < 500; ++i) {
        std::string texto = std::to_string(azar() % 5) + " " + std::to_string(azar() % 5);
        const int celdas = static_cast<int>(azar() % 30);
        for (int c = 0; c < celdas; ++c) {
            texto += " " + numeroAleatorio(azar);
        }
        ASSERT_TRUE(igualMapa(texto)) << "caso " << i;
    }
}

// Maps of mostly single digits, read eight cells at a time where the text
// allows, with odd cells and separators among them and cut at every byte.
TEST(Diferencial, MapasDeDigitos) {
    std::mt19937 azar(12);
    const char* const raras[] = {"-1",         "12",  "+5", "x", "05", "5x",
                                 "9999999999", "7.5", "-",  "a", "+"};
    const char* const separadores[] = {" ", " ", " ", "\n", "\t", "  ", "\r\n"};
    for (int caso = 0; caso < 400; ++caso) {
        const int lado = 1 + static_cast<int>(azar() % 40);
        std::string texto = std::to_string(lado) + " " + std::to_string(lado) + "\n";
        for (int c = 0; c < lado * lado; ++c) {
            const unsigned tipo = azar() % 100;
            texto += tipo < 3 ? raras[azar() % std::size(raras)]
                              : std::string(1, static_cast<char>('0' + azar() % 10));
            texto += separadores[tipo < 90 ? 0 : azar() % std::size(separadores)];
        }
        ASSERT_TRUE(igualMapa(texto)) << "caso " << caso;
        if (caso < 3) {
            for (std::size_t corte = 0; corte <= texto.size(); ++corte) {
                ASSERT_TRUE(igualMapa(texto.substr(0, corte))) << "caso " << caso;
            }
        }
    }
}

} // namespace
