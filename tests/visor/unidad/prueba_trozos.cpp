// The race log reader reads its stream in pieces: wherever a piece ends (inside
// a number, a name, a run of spaces, a token longer than a name), the result is
// the fscanf reader's.
#include "datos/carrera.h"
#include "datos/vectorial.h"
#include "referencia.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Resultado {
    std::optional<zul::Carrera> carrera;
    std::string error;
};

template <typename Lector> Resultado lee(const std::string& texto, Lector lector) {
    std::string copia = texto;
    std::FILE* archivo =
        copia.empty() ? std::fopen("/dev/null", "r") : fmemopen(copia.data(), copia.size(), "r");
    if (archivo == nullptr) {
        ADD_FAILURE() << "no se pudo abrir la entrada en memoria";
        return {};
    }
    Resultado r;
    try {
        zul::Carrera carrera;
        lector(archivo, carrera);
        r.carrera = std::move(carrera);
    } catch (const zul::ErrorFormato& e) {
        r.error = e.what();
    }
    std::fclose(archivo);
    return r;
}

bool mismoDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Empty when both are the same race (doubles bit for bit) or the same error.
std::string diferencia(const Resultado& a, const Resultado& b) {
    if (a.error != b.error || a.carrera.has_value() != b.carrera.has_value()) {
        return "error «" + a.error + "» frente a «" + b.error + "»";
    }
    if (!a.carrera) {
        return "";
    }
    const zul::Carrera& x = *a.carrera;
    const zul::Carrera& y = *b.carrera;
    if (x.numJugadores != y.numJugadores || x.nombres != y.nombres) {
        return "cabecera";
    }
    if (x.posiciones.size() != y.posiciones.size() || x.vueltas != y.vueltas ||
        x.angulos.size() != y.angulos.size()) {
        return "registros de jugador: " + std::to_string(x.posiciones.size()) + " frente a " +
               std::to_string(y.posiciones.size());
    }
    for (std::size_t i = 0; i < x.posiciones.size(); ++i) {
        if (!mismoDouble(x.posiciones[i].x(), y.posiciones[i].x()) ||
            !mismoDouble(x.posiciones[i].y(), y.posiciones[i].y()) ||
            !mismoDouble(x.angulos[i], y.angulos[i])) {
            return "registro de jugador " + std::to_string(i);
        }
    }
    if (x.disparos.size() != y.disparos.size() || x.framesDisparos != y.framesDisparos) {
        return "disparos o sus pasos";
    }
    for (std::size_t i = 0; i < x.disparos.size(); ++i) {
        const auto& p = x.disparos[i];
        const auto& q = y.disparos[i];
        if (!mismoDouble(p.inicio.x(), q.inicio.x()) || !mismoDouble(p.inicio.y(), q.inicio.y()) ||
            !mismoDouble(p.fin.x(), q.fin.x()) || !mismoDouble(p.fin.y(), q.fin.y())) {
            return "disparo " + std::to_string(i);
        }
    }
    return "";
}

// Fields that end in every way the C library's reader distinguishes.
const char* const kCampos[] = {"0",
                               "-0",
                               "+1.5",
                               "12.345678",
                               "-123.456789",
                               ".5",
                               "5.",
                               "1e3",
                               "1E-2",
                               "1e",
                               "1e+",
                               "0x1.8p1",
                               "0x",
                               "0xg",
                               "inf",
                               "-INF",
                               "infinity",
                               "infx",
                               "nan",
                               "NaN(1)",
                               "na",
                               "1.2.3",
                               "5-",
                               "-",
                               ".",
                               "+.",
                               "abc",
                               "p",
                               "s",
                               "px",
                               "P",
                               "ss",
                               "7",
                               "-12",
                               "2147483648",
                               "99999999999999999999",
                               "123456789012345678.25",
                               "0.00000000000000000000000123",
                               "1234567.1234567891",
                               "9007199254740993",
                               "00000000000000000001.5"};

const char* const kSeparadores[] = {" ", "\n", "\t", "  ", "\r\n", "\v", "\f", " \n\t "};

// A log of a few players with records whose fields are drawn from kCampos or
// are plain decimals, stray tokens between them, and now and then a token
// longer than a name. A clean log keeps its player records readable, so it
// is read to its end.
std::string generaLog(std::mt19937& azar, bool limpio = false) {
    const auto elige = [&](int n) { return static_cast<int>(azar() % static_cast<unsigned>(n)); };
    const auto separador = [&] { return std::string(kSeparadores[elige(8)]); };
    const auto campo = [&]() -> std::string {
        if (!limpio && elige(3) == 0) {
            return kCampos[elige(static_cast<int>(std::size(kCampos)))];
        }
        char texto[32];
        std::snprintf(texto, sizeof texto, "%.*f", elige(9), (elige(2000) - 1000) / 7.0);
        return texto;
    };
    const int n = 1 + elige(3);
    std::string log = std::to_string(n);
    for (int i = 0; i < n; ++i) {
        log += separador() + "j" + std::to_string(i);
    }
    const int registros = 5 + elige(40);
    for (int r = 0; r < registros; ++r) {
        log += separador();
        switch (elige(8)) {
        case 0:
            log += "s";
            for (int c = 0; c < 4; ++c) {
                log += separador() + campo();
            }
            break;
        case 1:
            // A stray "p" would start a player record that cannot be read.
            log += limpio ? "otra" : kCampos[elige(static_cast<int>(std::size(kCampos)))];
            break;
        case 2:
            log += std::string(150 + static_cast<std::size_t>(elige(200)), 'q');
            break;
        default:
            log += "p";
            for (int c = 0; c < 3; ++c) {
                log += separador() + (!limpio && elige(12) == 0 ? campo()
                                                                : std::to_string(elige(500)) + "." +
                                                                      std::to_string(elige(1000)));
            }
            log += separador() + std::to_string(elige(5));
            break;
        }
    }
    if (elige(2) == 0) {
        log += separador();
    }
    return log;
}

template <std::size_t kTrozo> void enTrozos(std::FILE* archivo, zul::Carrera& carrera) {
    zul::leerCarreraEnTrozos(archivo, carrera, kTrozo);
}

using Lector = void (*)(std::FILE*, zul::Carrera&);

// The fast reader's vector paths on or off for a scope (on again after it).
class ConVectores {
public:
    explicit ConVectores(bool si) { zul::vectorial::activa(si); }
    ~ConVectores() { zul::vectorial::activa(true); }
    ConVectores(const ConVectores&) = delete;
    ConVectores& operator=(const ConVectores&) = delete;
};

const Lector kLectores[] = {enTrozos<1>,  enTrozos<2>,  enTrozos<3>,   enTrozos<5>,     enTrozos<8>,
                            enTrozos<13>, enTrozos<64>, enTrozos<200>, zul::leerCarrera};
const char* const kNombres[] = {"1", "2", "3", "5", "8", "13", "64", "200", "leerCarrera"};

::testing::AssertionResult igualEnTodosLosTrozos(const std::string& texto) {
    const Resultado referencia = lee(texto, zul::leerCarreraReferencia);
    for (const bool vectores : {true, false}) {
        const ConVectores con(vectores);
        for (std::size_t k = 0; k < std::size(kLectores); ++k) {
            const std::string d = diferencia(lee(texto, kLectores[k]), referencia);
            if (!d.empty()) {
                return ::testing::AssertionFailure()
                       << "trozos de " << kNombres[k] << " bytes"
                       << (vectores ? "" : " sin vectores") << ": " << d << "\nentrada:\n"
                       << texto;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(Trozos, LogsGeneradosLeenIgualQueFscanf) {
    std::mt19937 azar(9);
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(igualEnTodosLosTrozos(generaLog(azar))) << "log " << i;
    }
}

// Every cut of a few logs: the piece boundary then meets the end of the input
// at every possible place too.
TEST(Trozos, LogsCortadosEnCadaByte) {
    std::mt19937 azar(27);
    for (int i = 0; i < 4; ++i) {
        const std::string log = generaLog(azar);
        for (std::size_t corte = 0; corte <= log.size(); ++corte) {
            ASSERT_TRUE(igualEnTodosLosTrozos(log.substr(0, corte))) << "log " << i;
        }
    }
}

TEST(Trozos, CabecerasRaras) {
    const char* const casos[] = {"",
                                 "   ",
                                 "x",
                                 "0 p 1 2 3 4",
                                 "-3 a b c",
                                 "1001",
                                 "2",
                                 "2 uno",
                                 "3\n\n\n   a\tb\vc p 1 2 3 4",
                                 "99999999999999999999999 a",
                                 "+2 a b p 1 2 3 4 p 5 6 7 8"};
    for (const char* caso : casos) {
        EXPECT_TRUE(igualEnTodosLosTrozos(caso));
    }
    // Names longer than a name may be, and more names than fit a small piece.
    std::string largo = "3 " + std::string(450, 'n') + " b " + std::string(199, 'c') + " p 1 2 3 4";
    EXPECT_TRUE(igualEnTodosLosTrozos(largo));
}

// Logs of a few hundred kilobytes, mostly plain records with odd ones spread
// through them, read in pieces larger than a record: plain records are read
// ahead from a token index over stretches of the buffer, and every way of
// leaving and rejoining that index (an odd field, a number that stops inside
// its token, a token or a run of white space longer than a stretch, the end
// of a piece) must read as field by field.
TEST(Trozos, LogsGrandesConRegistrosRaros) {
    const Lector lectores[] = {enTrozos<997>, enTrozos<65536>, enTrozos<65543>, zul::leerCarrera};
    // None ends the log: each player record among them is whole.
    const char* const raros[] = {" s 1.5x 2 3 4",    " s 1 2 3 4.5.6", " zz",
                                 " p 1 2 3 4 5",     " s 1e3 2 3 4",   " p 1.5 2.5 3.5 7x",
                                 " p\f1 2 3 4",      " p 1 2 3 4.5",   " p 12345678901234.5 1 1 1",
                                 " p 1 2 3 12345678"};
    std::mt19937 azar(41);
    for (int caso = 0; caso < 6; ++caso) {
        std::string texto = "3 a b c";
        char linea[96];
        for (int registro = 0; registro < 8000; ++registro) {
            const unsigned tipo = azar() % 200;
            if (tipo < std::size(raros)) {
                texto += raros[tipo];
            } else if (tipo == 190 && caso % 2 == 1) {
                texto += " " + std::string(70000 + azar() % 3, 'q');
            } else if (tipo == 191 && caso % 2 == 1) {
                texto += std::string(70000 + azar() % 3, ' ');
            } else if (tipo < 180) {
                std::snprintf(linea, sizeof linea, "\np %.6f %.3f %.4f %u", (azar() % 100000) / 7.0,
                              -static_cast<double>(azar() % 1000) / 3.0, (azar() % 6283) / 1000.0,
                              static_cast<unsigned>(azar() % 9));
                texto += linea;
            } else {
                std::snprintf(linea, sizeof linea, "\ns %.2f %.2f %.2f %.2f", (azar() % 999) / 3.0,
                              1.0, (azar() % 999) / 7.0, 2.5);
                texto += linea;
            }
        }
        const Resultado referencia = lee(texto, zul::leerCarreraReferencia);
        ASSERT_TRUE(referencia.carrera.has_value());
        ASSERT_GT(referencia.carrera->posiciones.size(), 6000u) << "caso " << caso;
        for (const bool vectores : {true, false}) {
            const ConVectores con(vectores);
            for (const Lector lector : lectores) {
                ASSERT_EQ(diferencia(lee(texto, lector), referencia), "")
                    << "caso " << caso << (vectores ? "" : " sin vectores");
            }
        }
    }
}

// A real file of a few megabytes through leerCarrera itself: several full
// pieces, with the size of the file known to the reader.
TEST(Trozos, ArchivoDeVariosMegas) {
    std::mt19937 azar(3);
    std::string texto = "2 a b\n";
    while (texto.size() < 3u << 20) {
        texto += generaLog(azar, true).substr(1) + "\n";
    }
    char ruta[] = "/tmp/prueba_trozos-XXXXXX";
    const int descriptor = mkstemp(ruta);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(write(descriptor, texto.data(), texto.size()), static_cast<ssize_t>(texto.size()));
    close(descriptor);
    const auto desdeArchivo = [&](Lector lector) {
        Resultado r;
        std::FILE* archivo = std::fopen(ruta, "r");
        if (archivo == nullptr) {
            r.error = "no se pudo abrir";
            return r;
        }
        zul::Carrera carrera;
        lector(archivo, carrera);
        r.carrera = std::move(carrera);
        std::fclose(archivo);
        return r;
    };
    const Resultado rapida = desdeArchivo(zul::leerCarrera);
    const Resultado referencia = desdeArchivo(zul::leerCarreraReferencia);
    std::remove(ruta);
    ASSERT_TRUE(rapida.carrera.has_value());
    EXPECT_GT(rapida.carrera->posiciones.size(), 10000u);
    EXPECT_EQ(diferencia(rapida, referencia), "");
}

} // namespace
