// The race analysis on the loading benchmark's race log: it runs once per
// loaded race, so its cost is read against BM_CargaCarrera on the same log.
// BM_ClasificacionConMapa adds what ranking by progress costs: the distance
// field on the loading benchmark's small map (513 x 513 at full size, the
// track the generated karts go round) and the progress of every record;
// BM_Progreso is that alone (the line, the field and the progress), to be
// read against BM_CargaCarrera; BM_CampoPista is the field alone.
#include "bancos.h"

#include "analisis/analisis.h"
#include "analisis/pista.h"
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zul::bench {

namespace {

Carrera cargaGenerada(const Tamanos& t) {
    std::string texto = generaCarrera(t.jugadores, t.frames, t.cadaDisparo);
    std::FILE* f = fmemopen(texto.data(), texto.size(), "r");
    if (f == nullptr) {
        throw std::runtime_error("no se pudo abrir en memoria el registro generado");
    }
    Carrera carrera;
    try {
        leerCarrera(f, carrera);
    } catch (...) {
        std::fclose(f);
        throw;
    }
    std::fclose(f);
    return carrera;
}

Mapa mapaGenerado(int lado) {
    std::string texto = generaMapa(lado);
    std::FILE* f = fmemopen(texto.data(), texto.size(), "r");
    if (f == nullptr) {
        throw std::runtime_error("no se pudo abrir en memoria el mapa generado");
    }
    Mapa mapa;
    try {
        leerMapa(f, mapa);
    } catch (...) {
        std::fclose(f);
        throw;
    }
    std::fclose(f);
    return mapa;
}

} // namespace

void registraClasificacion(const Contexto& contexto) {
    const Tamanos t = contexto.tamanos;
    auto carrera = std::make_shared<Perezoso<Carrera>>([t] { return cargaGenerada(t); });

    // What loading a race adds: the whole analysis and the final standings.
    benchmark::RegisterBenchmark("BM_Clasificacion", [carrera, t](benchmark::State& estado) {
        const Carrera& c = (*carrera)();
        for (auto _ : estado) {
            const AnalisisCarrera analisis(c);
            const std::vector<Puesto> resultados = analisis.resultados();
            benchmark::DoNotOptimize(resultados.data());
            if (analisis.framesAnalizados() != t.frames ||
                resultados.size() != static_cast<std::size_t>(t.jugadores)) {
                estado.SkipWithError("el análisis no cubre toda la carrera");
                return;
            }
        }
    })->Unit(benchmark::kMillisecond);

    auto mapa = std::make_shared<Perezoso<Mapa>>([t] { return mapaGenerado(t.mapaPequeno); });
    benchmark::RegisterBenchmark("BM_ClasificacionConMapa", [carrera, mapa,
                                                             t](benchmark::State& estado) {
        const Carrera& c = (*carrera)();
        const auto m = std::make_shared<const Mapa>((*mapa)());
        for (auto _ : estado) {
            const AnalisisCarrera analisis(c, m);
            const std::vector<Puesto> resultados = analisis.resultados();
            benchmark::DoNotOptimize(resultados.data());
            // The reduced race completes no lap: no line to learn.
            if (!analisis.completadas(0).empty() && analisis.campo() == nullptr) {
                estado.SkipWithError("no se aprendió la línea de meta");
                return;
            }
        }
    })->Unit(benchmark::kMillisecond);
    // Exactly what ranking by progress adds to a load: learning the line,
    // the distance field and the progress of every record, on a race whose
    // laps are analysed already.
    benchmark::RegisterBenchmark("BM_Progreso", [carrera, mapa](benchmark::State& estado) {
        const Carrera& c = (*carrera)();
        const Mapa& m = (*mapa)();
        AnalisisCarrera analisis(c);
        for (auto _ : estado) {
            analisis.ponMapa(m, c);
            benchmark::DoNotOptimize(analisis.progreso(0, analisis.framesAnalizados() - 1));
            if (!analisis.completadas(0).empty() && analisis.campo() == nullptr) {
                estado.SkipWithError("no se aprendió la línea de meta");
                return;
            }
        }
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CampoPista", [mapa](benchmark::State& estado) {
        const Mapa& m = (*mapa)();
        // Where the generated karts complete their laps: heading down the
        // right-hand side of the ring.
        const double centro = m.columnas / 2.0;
        const double x = centro + 0.39 * m.columnas;
        const std::optional<LineaMeta> linea =
            aprendeLinea(m, {Cruce{{x, centro - 0.5}, {x, centro + 0.5}}});
        if (!linea) {
            estado.SkipWithError("la línea de meta no cae en la pista");
            return;
        }
        for (auto _ : estado) {
            const CampoPista campo(m, *linea);
            benchmark::DoNotOptimize(campo.largoVuelta());
        }
    })->Unit(benchmark::kMillisecond);

    // What following the replay costs: the standings at one frame, spread
    // over the whole race so no cache favours them.
    benchmark::RegisterBenchmark("BM_ClasificacionEnFrame", [carrera](benchmark::State& estado) {
        const AnalisisCarrera analisis((*carrera)());
        const long long frames = analisis.framesAnalizados();
        long long frame = 0;
        for (auto _ : estado) {
            benchmark::DoNotOptimize(analisis.clasificacion(frame).data());
            frame = (frame + 7919) % (frames > 0 ? frames : 1);
        }
    })->Unit(benchmark::kMicrosecond);
}

} // namespace zul::bench
