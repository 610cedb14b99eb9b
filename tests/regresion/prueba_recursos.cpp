// Files that declare far more than they hold: the loaders refuse them or load
// them without taking memory for what is not there, and a failed allocation is
// a clear refusal, never an abort. Each case runs in a child process so that its
// memory can be limited and measured on its own.
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define ZUL_CON_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUL_CON_ASAN 1
#endif
#endif

namespace {

struct Resultado {
    bool terminoBien = false; // the child exited normally with status 0
    std::string texto;        // what the work returned
    long maximoKb = 0;        // the child's peak resident memory
};

// Runs `trabajo` in a child, with its address space capped at `limite` bytes
// more than it starts with (0: no cap).
Resultado enHijo(const std::function<std::string()>& trabajo, long long limite) {
    int tubo[2];
    if (pipe(tubo) != 0) {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t hijo = fork();
    if (hijo == 0) {
        close(tubo[0]);
        if (limite > 0) {
            long paginas = 0;
            std::ifstream statm("/proc/self/statm");
            statm >> paginas;
            const rlim_t tope = static_cast<rlim_t>(paginas) * sysconf(_SC_PAGESIZE) + limite;
            const rlimit r{tope, tope};
            if (setrlimit(RLIMIT_AS, &r) != 0) {
                _exit(3);
            }
        }
        const std::string texto = trabajo();
        const ssize_t escritos = write(tubo[1], texto.data(), texto.size());
        _exit(escritos == static_cast<ssize_t>(texto.size()) ? 0 : 4);
    }
    close(tubo[1]);
    Resultado resultado;
    char bloque[4096];
    ssize_t n;
    while ((n = read(tubo[0], bloque, sizeof bloque)) > 0) {
        resultado.texto.append(bloque, static_cast<std::size_t>(n));
    }
    close(tubo[0]);
    int estado = 0;
    rusage uso{};
    wait4(hijo, &estado, 0, &uso);
    resultado.terminoBien = WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
    resultado.maximoKb = uso.ru_maxrss;
    return resultado;
}

template <typename Datos, typename Describe>
std::function<std::string()> carga(const std::string& texto, void (*lector)(std::FILE*, Datos&),
                                   Describe describe) {
    return [texto, lector, describe] {
        std::string copia = texto;
        std::FILE* archivo = fmemopen(copia.data(), copia.size(), "r");
        Datos r;
        try {
            lector(archivo, r);
        } catch (const zul::ErrorFormato& e) {
            std::fclose(archivo);
            return "rechazado: " + std::string(e.what());
        }
        std::fclose(archivo);
        return describe(r);
    };
}

std::string describeMapa(const zul::Mapa& m) {
    return "cargado: " + std::to_string(m.filas) + " × " + std::to_string(m.columnas) + ", " +
           std::to_string(m.celdas.size()) + " celdas";
}

std::string describeCarrera(const zul::Carrera& c) {
    std::size_t conNombre = 0;
    for (const std::string& nombre : c.nombres) {
        conNombre += nombre.empty() ? 0 : 1;
    }
    return "cargado: " + std::to_string(c.numJugadores) + " jugadores, " +
           std::to_string(c.nombres.size()) + " nombres (" + std::to_string(conNombre) +
           " escritos), " + std::to_string(c.posiciones.size()) + " registros";
}

constexpr long kTopeKb = 256 * 1024; // far below any of the declared sizes below

struct CasoMapa {
    const char* texto;
    const char* esperado;
};

TEST(Recursos, MapaQueDeclaraMuchoYNoTraeCeldasSeRechazaSinReservar) {
    const CasoMapa casos[] = {
        {"46340 46340", "rechazado: El mapa de 46340 × 46340 no tiene ninguna celda legible."},
        {"46340 46340\n", "rechazado: El mapa de 46340 × 46340 no tiene ninguna celda legible."},
        {"65536 32767 x", "rechazado: El mapa de 65536 × 32767 no tiene ninguna celda legible."},
        {"46341 46341 1", "rechazado: El mapa declara demasiadas celdas: 46341 × 46341."},
        {"9223372036854775807 9223372036854775807 1",
         "rechazado: El mapa declara demasiadas celdas: 9223372036854775807 × "
         "9223372036854775807."},
    };
    for (const CasoMapa& caso : casos) {
        SCOPED_TRACE(caso.texto);
        const Resultado r = enHijo(carga(caso.texto, zul::leerMapa, describeMapa), 0);
        EXPECT_TRUE(r.terminoBien);
        EXPECT_EQ(r.texto, caso.esperado);
        EXPECT_LT(r.maximoKb, kTopeKb);
    }
}

TEST(Recursos, MapaQueNoCabeEnMemoriaSeRechazaConMensaje) {
#ifdef ZUL_CON_ASAN
    // AddressSanitizer reserves its shadow memory up front, which no address
    // space limit leaves room for.
    GTEST_SKIP() << "sin límite de espacio de direcciones bajo AddressSanitizer";
#else
    // One cell read: the grid of 2 147 395 600 cells is allocated whole, and
    // with 512 MB of address space that fails.
    const Resultado r =
        enHijo(carga(std::string("46340 46340 7"), zul::leerMapa, describeMapa), 512LL << 20);
    EXPECT_TRUE(r.terminoBien);
    EXPECT_EQ(r.texto, "rechazado: No hay memoria para un mapa de 46340 × 46340 celdas.");
#endif
}

TEST(Recursos, MapaDeTamanoRazonableSeCargaBajoElMismoLimite) {
#ifdef ZUL_CON_ASAN
    GTEST_SKIP() << "sin límite de espacio de direcciones bajo AddressSanitizer";
#else
    // 100 MB of grid from one cell: the refusal above is about the size, not the limit.
    const Resultado r =
        enHijo(carga(std::string("10000 10000 7"), zul::leerMapa, describeMapa), 512LL << 20);
    EXPECT_TRUE(r.terminoBien);
    EXPECT_EQ(r.texto, "cargado: 10000 × 10000, 100000000 celdas");
#endif
}

// A stream of `prefijo`, then `cuantos` bytes of `relleno` (without end when
// cuantos is negative), then `sufijo`: a file as large as wanted, or one that
// never ends, without writing it anywhere.
struct Interminable {
    std::string prefijo;
    char relleno;
    long long cuantos;
    std::string sufijo;
    long long servidos = 0;
};

ssize_t sirve(void* cookie, char* destino, std::size_t tam) {
    auto& f = *static_cast<Interminable*>(cookie);
    const long long largoRelleno = f.cuantos < 0 ? LLONG_MAX / 2 : f.cuantos;
    std::size_t hechos = 0;
    while (hechos < tam) {
        const long long p = f.servidos;
        const long long prefijo = static_cast<long long>(f.prefijo.size());
        if (p < prefijo) {
            destino[hechos++] = f.prefijo[static_cast<std::size_t>(p)];
        } else if (p < prefijo + largoRelleno) {
            const std::size_t n = static_cast<std::size_t>(std::min<long long>(
                static_cast<long long>(tam - hechos), prefijo + largoRelleno - p));
            std::memset(destino + hechos, f.relleno, n);
            hechos += n;
            f.servidos += static_cast<long long>(n);
            continue;
        } else if (p < prefijo + largoRelleno + static_cast<long long>(f.sufijo.size())) {
            destino[hechos++] = f.sufijo[static_cast<std::size_t>(p - prefijo - largoRelleno)];
        } else {
            break;
        }
        ++f.servidos;
    }
    return static_cast<ssize_t>(hechos);
}

// Reads a map from `archivo` and closes it.
std::string cargaMapaDesde(std::FILE* archivo) {
    zul::Mapa m;
    try {
        zul::leerMapa(archivo, m);
    } catch (const zul::ErrorFormato& e) {
        std::fclose(archivo);
        return "rechazado: " + std::string(e.what());
    }
    std::fclose(archivo);
    return describeMapa(m);
}

std::function<std::string()> cargaMapaDe(Interminable fuente) {
    return [fuente]() mutable {
        return cargaMapaDesde(fopencookie(&fuente, "r", {sirve, nullptr, nullptr, nullptr}));
    };
}

constexpr long kTopeFlujoKb = 64 * 1024;

TEST(Recursos, MapaSinFinOConMuchoBlancoNoCreceEnMemoria) {
    const struct {
        const char* nombre;
        Interminable fuente;
        const char* esperado;
    } casos[] = {
        {"una cifra sin fin",
         {"2 2 1 ", '7', -1, ""},
         "rechazado: El mapa tiene un número de más de 1048576 caracteres."},
        {"blanco sin fin tras la última celda",
         {"1 2 3 4", ' ', -1, ""},
         "cargado: 1 × 2, 2 celdas"},
        {"128 MB de blanco entre celdas",
         {"2 2 1", '\n', 128LL << 20, "2 3 4"},
         "cargado: 2 × 2, 4 celdas"},
        // Leading zeros up to the limit still make a number; one more does not.
        {"número de 1048576 caracteres",
         {"1 2 1 ", '0', (1LL << 20) - 1, "3"},
         "cargado: 1 × 2, 2 celdas"},
        {"número de 1048577 caracteres",
         {"1 2 1 ", '0', 1LL << 20, "3"},
         "rechazado: El mapa tiene un número de más de 1048576 caracteres."},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        const Resultado r = enHijo(cargaMapaDe(caso.fuente), 0);
        EXPECT_TRUE(r.terminoBien);
        EXPECT_EQ(r.texto, caso.esperado);
        EXPECT_LT(r.maximoKb, kTopeFlujoKb);
    }
}

TEST(Recursos, MapaDesdeDevZeroSeRechazaAlMomento) {
    const Resultado r = enHijo([] { return cargaMapaDesde(std::fopen("/dev/zero", "r")); }, 0);
    EXPECT_TRUE(r.terminoBien);
    EXPECT_EQ(r.texto, "rechazado: El mapa no empieza con sus dos dimensiones (filas y columnas).");
    EXPECT_LT(r.maximoKb, kTopeFlujoKb);
}

struct CasoCarrera {
    std::string texto;
    const char* esperado;
};

TEST(Recursos, RegistroQueDeclaraMilJugadoresYTermina) {
    const CasoCarrera casos[] = {
        {"1000", "cargado: 1000 jugadores, 1000 nombres (0 escritos), 0 registros"},
        {"1000\n", "cargado: 1000 jugadores, 1000 nombres (0 escritos), 0 registros"},
        {"1000 a b c", "cargado: 1000 jugadores, 1000 nombres (3 escritos), 0 registros"},
        {"1001", "rechazado: El registro de carrera declara 1001 jugadores; el máximo es 1000."},
        {"99999999999999999999 a",
         "rechazado: El registro de carrera declara un número de jugadores demasiado grande para "
         "leerlo; el máximo es 1000."},
    };
    for (const CasoCarrera& caso : casos) {
        SCOPED_TRACE(caso.texto);
        const Resultado r = enHijo(carga(caso.texto, zul::leerCarrera, describeCarrera), 0);
        EXPECT_TRUE(r.terminoBien);
        EXPECT_EQ(r.texto, caso.esperado);
        EXPECT_LT(r.maximoKb, kTopeKb);
    }
}

// A stream of `antes`, then `cuantos` bytes of `relleno`, then `despues`,
// made as it is read: hundreds of megabytes that never sit in memory.
struct Relleno {
    std::string antes;
    char relleno;
    std::size_t cuantos;
    std::string despues;
    std::size_t posicion = 0;
};

ssize_t leeRelleno(void* cookie, char* destino, std::size_t pedidos) {
    Relleno& r = *static_cast<Relleno*>(cookie);
    const std::size_t total = r.antes.size() + r.cuantos + r.despues.size();
    std::size_t hechos = 0;
    while (hechos < pedidos && r.posicion < total) {
        const std::size_t p = r.posicion;
        std::size_t n = 0;
        if (p < r.antes.size()) {
            n = std::min(pedidos - hechos, r.antes.size() - p);
            std::memcpy(destino + hechos, r.antes.data() + p, n);
        } else if (p < r.antes.size() + r.cuantos) {
            n = std::min(pedidos - hechos, r.antes.size() + r.cuantos - p);
            std::memset(destino + hechos, r.relleno, n);
        } else {
            const std::size_t q = p - r.antes.size() - r.cuantos;
            n = std::min(pedidos - hechos, r.despues.size() - q);
            std::memcpy(destino + hechos, r.despues.data() + q, n);
        }
        hechos += n;
        r.posicion += n;
    }
    return static_cast<ssize_t>(hechos);
}

struct CasoRelleno {
    const char* nombre;
    const char* antes;
    char relleno;
    const char* despues;
    const char* esperado;
};

// White space is never kept and a token is never kept whole, wherever they
// stand and however long they are: memory stays far below what they measure.
TEST(Recursos, RellenoEnormeNoSeGuarda) {
    constexpr std::size_t kCuantos = 256u << 20;
    constexpr long kMaximoKb = 128 * 1024;
    const CasoRelleno casos[] = {
        {"BlancoEnUnRegistro", "2 a b p 1 2 ", ' ', "3 4 p 5 6 7 8\n",
         "cargado: 2 jugadores, 2 nombres (2 escritos), 2 registros"},
        {"BlancoEnLaCabecera", "2 a", '\n', "b p 1 2 3 4 p 5 6 7 8\n",
         "cargado: 2 jugadores, 2 nombres (2 escritos), 2 registros"},
        {"NombreSinFin", "2 ", 'n', " b p 1 2 3 4 p 5 6 7 8",
         "cargado: 2 jugadores, 2 nombres (2 escritos), 2 registros"},
        {"PalabraSinFin", "1 a p 1 1 0 0 ", 'q', " p 2 2 0 0",
         "cargado: 1 jugadores, 1 nombres (1 escritos), 2 registros"},
        // A number field that long is unreadable: the race stops before it.
        {"NumeroSinFin", "1 a p 1 1 0 0 p ", '1', " 2 0 0 p 3 3 0 0",
         "cargado: 1 jugadores, 1 nombres (1 escritos), 1 registros"},
        {"DisparoConNumeroSinFin", "1 a p 1 1 0 0 s 1 ", '7', " 2 3 p 3 3 0 0",
         "cargado: 1 jugadores, 1 nombres (1 escritos), 2 registros"},
        {"CuentaConCerosSinFin", "", '0', "2 a b p 1 2 3 4",
         "cargado: 2 jugadores, 2 nombres (2 escritos), 1 registros"},
    };
    for (const CasoRelleno& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        const Resultado r = enHijo(
            [&caso] {
                Relleno relleno{caso.antes, caso.relleno, kCuantos, caso.despues};
                std::FILE* archivo =
                    fopencookie(&relleno, "r", {leeRelleno, nullptr, nullptr, nullptr});
                zul::Carrera carrera;
                try {
                    zul::leerCarrera(archivo, carrera);
                } catch (const zul::ErrorFormato& e) {
                    std::fclose(archivo);
                    return "rechazado: " + std::string(e.what());
                }
                std::fclose(archivo);
                return describeCarrera(carrera);
            },
            0);
        EXPECT_TRUE(r.terminoBien);
        EXPECT_EQ(r.texto, caso.esperado);
        EXPECT_LT(r.maximoKb, kMaximoKb);
    }
}

} // namespace
