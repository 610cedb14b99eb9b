// A contestant's turn: read the entries, call the strategy, write and flush
// the line. ZULlib against the same turn written plainly with fscanf and
// printf, both from a stream in memory into a stream in memory.
#include "bancos.h"

#include "ZULinterno.h"
#include "ZULlib.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

// The strategy the library calls every turn: steer along its own vector,
// turned by the cell under it, and shoot whenever it may.
void funcionPrincipal() {
    const int yo = obtenerId();
    const int celda = dirrecionDelMapa(obtenerPosicionX(yo), obtenerPosicionY(yo));
    asignarDireccion(obtenerAngulo(yo) + static_cast<float>(celda), obtenerFuerza(yo));
    if (puedoDisparar()) {
        dispara();
    }
}

namespace zul::bench {

namespace {

// The turn protocol exactly as its steps read, with the fixed capacities and
// no checks beyond staying inside them: the yardstick for the library.
namespace referencia {

constexpr int kLado = 513;
constexpr int kEntradas = 100;

int mapa[kLado][kLado];
float posicionX[kEntradas];
float posicionY[kEntradas];
float angulo[kEntradas];
float fuerza[kEntradas];
float anguloAsignado;
float fuerzaAsignada;
int largo;
int ancho;
int noJugadores;
int id;
int esperaDisparo;
bool disparoPedido;

int celda(float x, float y) {
    if (!(x >= 0 && x < static_cast<float>(ancho) && y >= 0 && y < static_cast<float>(largo))) {
        return 5;
    }
    return mapa[static_cast<int>(y)][static_cast<int>(x)];
}

// The same strategy as funcionPrincipal, on this state.
void estrategia() {
    const int yo = id >= 0 && id < kEntradas ? id : 0;
    anguloAsignado = angulo[yo] + static_cast<float>(celda(posicionX[yo], posicionY[yo]));
    fuerzaAsignada = fuerza[yo];
    if (esperaDisparo == 0) {
        disparoPedido = true;
        esperaDisparo = 100;
    }
}

// Runs turns until the input ends; returns the number of complete turns.
long ejecuta(std::FILE* entrada, std::FILE* salida) {
    largo = ancho = noJugadores = id = esperaDisparo = 0;
    anguloAsignado = fuerzaAsignada = 0;
    disparoPedido = false;
    if (std::fscanf(entrada, "%d %d", &largo, &ancho) != 2) {
        return 0;
    }
    largo = std::min(std::max(largo, 0), kLado);
    ancho = std::min(std::max(ancho, 0), kLado);
    for (int r = 0; r < largo; ++r) {
        for (int c = 0; c < ancho; ++c) {
            if (std::fscanf(entrada, "%d", &mapa[r][c]) != 1) {
                return 0;
            }
        }
    }
    long turnos = 0;
    for (;;) {
        esperaDisparo = std::max(esperaDisparo - 1, 0);
        if (std::fscanf(entrada, "%d", &noJugadores) != 1) {
            return turnos;
        }
        noJugadores = std::min(noJugadores, kEntradas);
        for (int i = 0; i < noJugadores; ++i) {
            float x, y, u, v;
            if (std::fscanf(entrada, "%f%f%f%f", &x, &y, &u, &v) != 4) {
                return turnos;
            }
            posicionX[i] = x;
            posicionY[i] = y;
            fuerza[i] = static_cast<float>(
                std::sqrt(static_cast<double>(u) * u + static_cast<double>(v) * v));
            float a = static_cast<float>(std::atan2(static_cast<double>(v), u));
            if (a < 0) {
                a = static_cast<float>(a + 6.283185307179586);
            }
            angulo[i] = static_cast<float>(a * 57.29577951308232);
        }
        if (std::fscanf(entrada, "%d", &id) != 1) {
            return turnos;
        }
        estrategia();
        const double theta = static_cast<double>(anguloAsignado) / 180.0 * 3.141592653589793;
        char linea[128];
        std::snprintf(linea, sizeof linea, disparoPedido ? "s %f %f" : "m %f %f",
                      fuerzaAsignada * std::cos(theta), fuerzaAsignada * std::sin(theta));
        disparoPedido = false;
        std::fprintf(salida, "%s\n", linea);
        std::fflush(salida);
        ++turnos;
    }
}

} // namespace referencia

struct Partida {
    std::string entrada;
    int turnos = 0;
};

// Each iteration plays the whole input once; the figure is per turn.
template <typename Juega>
void turno(benchmark::State& estado, Perezoso<Partida>& partida, Juega juega) {
    const Partida& p = partida();
    // Every line is at most this long: "s", two numbers of |x| <= 2e3 with six
    // decimals, and the spaces.
    std::vector<char> lineas(static_cast<std::size_t>(p.turnos) * 64 + 64);
    for (auto _ : estado) {
        std::FILE* entrada = fmemopen(const_cast<char*>(p.entrada.data()), p.entrada.size(), "r");
        std::FILE* salida = fmemopen(lineas.data(), lineas.size(), "w");
        if (entrada == nullptr || salida == nullptr) {
            estado.SkipWithError("fmemopen falló");
            return;
        }
        const long jugados = juega(entrada, salida);
        std::fclose(entrada);
        std::fclose(salida);
        if (jugados != p.turnos) {
            estado.SkipWithError(
                ("se jugaron " + std::to_string(jugados) + " turnos de " + std::to_string(p.turnos))
                    .c_str());
            return;
        }
        benchmark::DoNotOptimize(lineas.data());
    }
    estado.SetItemsProcessed(static_cast<int64_t>(estado.iterations()) * p.turnos);
    estado.counters["turnos"] = p.turnos;
}

long juegaZULlib(std::FILE* entrada, std::FILE* salida) {
    zulReiniciar();
    if (zulEjecutar(entrada, salida) != ZUL_FIN_ENTRADA) {
        return -1;
    }
    // The turn counter has already moved on to the turn whose count was
    // missing.
    return zulTurnoActual() - 1;
}

} // namespace

void registraTurno(const Contexto& contexto) {
    const Tamanos t = contexto.tamanos;
    auto partida = std::make_shared<Perezoso<Partida>>([t] {
        return Partida{generaTurnos(t.turnos, t.entradasTurno), t.turnos};
    });
    benchmark::RegisterBenchmark("BM_Turno", [partida](benchmark::State& e) {
        turno(e, *partida, juegaZULlib);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_TurnoReferencia", [partida](benchmark::State& e) {
        turno(e, *partida, referencia::ejecuta);
    })->Unit(benchmark::kMicrosecond);
}

} // namespace zul::bench
