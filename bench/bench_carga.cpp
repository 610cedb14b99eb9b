// Loading a race log and a map: the viewer's readers against the fscanf
// readers, on the same files, in bytes per second.
#include "bancos.h"

#include "datos/carrera.h"
#include "datos/mapa.h"
#include "referencia.h"

#include <cstdio>
#include <exception>
#include <string>

namespace zul::bench {

namespace {

struct ArchivoGenerado {
    std::string ruta;
    std::size_t bytes = 0;
};

using Lector = void (*)(std::FILE*, Carrera&);
using LectorMapa = void (*)(std::FILE*, Mapa&);

// Opens, reads and closes the file once, as the viewer does at start-up; the
// page cache holds the file, so this measures parsing rather than the disk.
// False (with the benchmark marked as skipped) when the file cannot be read.
template <typename Resultado>
bool cargaUna(benchmark::State& estado, const ArchivoGenerado& entrada,
              void (*lector)(std::FILE*, Resultado&), Resultado& resultado) {
    std::FILE* f = std::fopen(entrada.ruta.c_str(), "r");
    if (f == nullptr) {
        estado.SkipWithError(("no se pudo abrir " + entrada.ruta).c_str());
        return false;
    }
    try {
        lector(f, resultado);
    } catch (const std::exception& error) {
        std::fclose(f);
        estado.SkipWithError(error.what());
        return false;
    }
    std::fclose(f);
    return true;
}

void cuentaBytes(benchmark::State& estado, const ArchivoGenerado& entrada) {
    estado.SetBytesProcessed(static_cast<int64_t>(estado.iterations()) *
                             static_cast<int64_t>(entrada.bytes));
    estado.counters["MB"] = static_cast<double>(entrada.bytes) / 1e6;
}

void cargaCarrera(benchmark::State& estado, Perezoso<ArchivoGenerado>& archivo, Lector lector,
                  std::size_t registros, std::size_t disparos) {
    const ArchivoGenerado& entrada = archivo();
    for (auto _ : estado) {
        Carrera carrera;
        if (!cargaUna(estado, entrada, lector, carrera)) {
            return;
        }
        benchmark::DoNotOptimize(carrera.posiciones.data());
        // A reader that stopped early would look fast; count what it kept.
        if (carrera.posiciones.size() != registros || carrera.disparos.size() != disparos) {
            estado.SkipWithError(("se leyeron " + std::to_string(carrera.posiciones.size()) +
                                  " registros y " + std::to_string(carrera.disparos.size()) +
                                  " disparos; se esperaban " + std::to_string(registros) + " y " +
                                  std::to_string(disparos))
                                     .c_str());
            return;
        }
    }
    cuentaBytes(estado, entrada);
}

void cargaMapa(benchmark::State& estado, Perezoso<ArchivoGenerado>& archivo, LectorMapa lector,
               int lado) {
    const ArchivoGenerado& entrada = archivo();
    for (auto _ : estado) {
        Mapa mapa;
        if (!cargaUna(estado, entrada, lector, mapa)) {
            return;
        }
        benchmark::DoNotOptimize(mapa.celdas.data());
        if (mapa.filas != lado || mapa.columnas != lado ||
            mapa.celdas.size() != static_cast<std::size_t>(lado) * static_cast<std::size_t>(lado)) {
            estado.SkipWithError("el mapa leído no tiene las dimensiones generadas");
            return;
        }
    }
    cuentaBytes(estado, entrada);
}

} // namespace

void registraCarga(const Contexto& contexto) {
    const Tamanos t = contexto.tamanos;
    auto temporal = contexto.temporal;

    auto carrera = std::make_shared<Perezoso<ArchivoGenerado>>([t, temporal] {
        const std::string texto = generaCarrera(t.jugadores, t.frames, t.cadaDisparo);
        return ArchivoGenerado{temporal->escribe("carrera.txt", texto), texto.size()};
    });
    const std::size_t registros =
        static_cast<std::size_t>(t.jugadores) * static_cast<std::size_t>(t.frames);
    const std::size_t disparos = disparosGenerados(t.frames, t.cadaDisparo);
    const struct {
        const char* nombre;
        Lector lector;
    } lectores[] = {{"BM_CargaCarrera", &leerCarrera},
                    {"BM_CargaCarreraReferencia", &leerCarreraReferencia}};
    for (const auto& l : lectores) {
        const Lector lector = l.lector;
        benchmark::RegisterBenchmark(l.nombre, [carrera, lector, registros,
                                                disparos](benchmark::State& e) {
            cargaCarrera(e, *carrera, lector, registros, disparos);
        })->Unit(benchmark::kMillisecond);
    }

    for (const int lado : {t.mapaPequeno, t.mapaGrande}) {
        auto mapa = std::make_shared<Perezoso<ArchivoGenerado>>([lado, temporal] {
            const std::string texto = generaMapa(lado);
            return ArchivoGenerado{temporal->escribe("mapa" + std::to_string(lado) + ".txt", texto),
                                   texto.size()};
        });
        const struct {
            const char* nombre;
            LectorMapa lector;
        } lectoresMapa[] = {{"BM_CargaMapa/", &leerMapa},
                            {"BM_CargaMapaReferencia/", &leerMapaReferencia}};
        for (const auto& l : lectoresMapa) {
            const LectorMapa lector = l.lector;
            benchmark::RegisterBenchmark(
                (l.nombre + std::to_string(lado)).c_str(),
                [mapa, lector, lado](benchmark::State& e) { cargaMapa(e, *mapa, lector, lado); })
                ->Unit(benchmark::kMillisecond);
        }
    }
}

} // namespace zul::bench
