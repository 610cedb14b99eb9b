// Live mode's latency: a writer appends a frame to the race log 50 times per
// second while the follower is polled every 50 ms, as the window's repaint
// tick does, in a race 20 000 frames in; each frame's time from its write to
// its being in the race. The baseline polls the same way but reads the whole
// file again each time. The session variant goes as far as the window goes on
// its tick before it paints: the frame on show in a replay that follows the
// head, with the standings analysis grown.
#include "bancos.h"

#include "analisis/analisis.h"
#include "datos/carrera.h"
#include "datos/seguidor_carrera.h"
#include "envivo/sesion_en_vivo.h"
#include "reproduccion/reproduccion.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zul::bench {

namespace {

using Reloj = std::chrono::steady_clock;

constexpr int kJugadores = 5;
constexpr auto kEntreFrames = std::chrono::milliseconds(20); // 50 frames per second
constexpr auto kEntreSondeos = std::chrono::milliseconds(50);

std::string frame(int k) {
    std::string texto;
    char linea[80];
    for (int j = 0; j < kJugadores; ++j) {
        std::snprintf(linea, sizeof linea, "p %.3f %.3f %.4f %d\n", 10.0 + k * 0.05 + j,
                      20.0 + j * 1.5, 0.001 * k, k / 300);
        texto += linea;
    }
    if (k % 7 == 0) {
        texto += "s 1.000 2.000 3.500 4.250\n";
    }
    return texto;
}

// The whole file read again, for the baseline.
std::size_t framesReleidos(const std::string& ruta) {
    std::FILE* f = std::fopen(ruta.c_str(), "r");
    if (f == nullptr) {
        return 0;
    }
    Carrera carrera;
    try {
        leerCarrera(f, carrera);
    } catch (const ErrorFormato&) {
        carrera = Carrera();
    }
    // The last record may be half written unless white space follows it.
    const bool acabado = std::fseek(f, -1, SEEK_END) == 0 && std::fgetc(f) == '\n';
    std::fclose(f);
    const std::size_t frames = carrera.framesCompletos();
    return acabado || frames == 0 ? frames : frames - 1;
}

double percentil(std::vector<double> valores, double p) {
    if (valores.empty()) {
        return 0;
    }
    std::sort(valores.begin(), valores.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(valores.size() - 1) + 0.5);
    return valores[std::min(i, valores.size() - 1)];
}

enum class Lectura { seguidor, relectura, sesion };

void latencia(benchmark::State& estado, const std::string& ruta, int previos, int frames,
              Lectura lectura) {
    const bool relee = lectura == Lectura::relectura;
    std::vector<double> latencias;
    double cpuPorSondeo = 0;
    for (auto _ : estado) {
        std::remove(ruta.c_str());
        std::vector<std::atomic<long long>> escrito(static_cast<std::size_t>(frames));
        const int descriptor = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (descriptor < 0) {
            estado.SkipWithError(("no se pudo crear " + ruta).c_str());
            return;
        }
        // The race has been running for a while: the frames so far are there
        // before the follower starts, and it has caught up with them.
        std::string historia = "5 Relampago Tortuga Cometa Bala Trueno\n";
        for (int k = 0; k < previos; ++k) {
            historia += frame(k);
        }
        if (::write(descriptor, historia.data(), historia.size()) !=
            static_cast<ssize_t>(historia.size())) {
            estado.SkipWithError("no se pudo escribir");
            ::close(descriptor);
            return;
        }
        Carrera carrera;
        SeguidorCarrera seguidor(ruta, carrera);
        while (lectura != Lectura::sesion &&
               carrera.framesCompletos() < static_cast<std::size_t>(previos) &&
               seguidor.sondea() != SeguidorCarrera::Cambio::nada) {
        }
        // The window opened live: it catches up at once and runs at the head.
        Reproduccion reproduccion;
        AnalisisCarrera analisis;
        std::unique_ptr<SesionEnVivo> sesion;
        if (lectura == Lectura::sesion) {
            sesion = std::make_unique<SesionEnVivo>(ruta, reproduccion, analisis, true);
        }
        const Reloj::time_point inicio = Reloj::now();
        std::thread escritor([&] {
            for (int k = 0; k < frames; ++k) {
                std::this_thread::sleep_until(inicio + k * kEntreFrames);
                const std::string texto = frame(previos + k);
                escrito[static_cast<std::size_t>(k)] =
                    std::chrono::duration_cast<std::chrono::nanoseconds>(
                        Reloj::now().time_since_epoch())
                        .count();
                if (::write(descriptor, texto.data(), texto.size()) < 0) {
                    break;
                }
            }
        });

        std::size_t vistos = 0;
        const auto limite = inicio + (frames + 20) * kEntreFrames;
        double cpu = 0;
        int sondeos = 0;
        for (Reloj::time_point tic = inicio;
             vistos < static_cast<std::size_t>(frames) && tic < limite; tic += kEntreSondeos) {
            std::this_thread::sleep_until(tic);
            const std::clock_t antes = std::clock();
            std::size_t ahora = 0;
            if (relee) {
                ahora = framesReleidos(ruta);
            } else if (sesion) {
                sesion->sondea(true);
                ahora = static_cast<std::size_t>(reproduccion.frameEnPantalla() + 1);
            } else {
                seguidor.sondea();
                ahora = carrera.framesCompletos();
            }
            ahora = ahora > static_cast<std::size_t>(previos) ? ahora - previos : 0;
            cpu += static_cast<double>(std::clock() - antes) / CLOCKS_PER_SEC;
            ++sondeos;
            const long long visto = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        Reloj::now().time_since_epoch())
                                        .count();
            for (; vistos < ahora && vistos < static_cast<std::size_t>(frames); ++vistos) {
                latencias.push_back(static_cast<double>(visto - escrito[vistos]) / 1e6);
            }
        }
        escritor.join();
        ::close(descriptor);
        cpuPorSondeo = sondeos > 0 ? cpu / sondeos * 1e3 : 0;
        if (vistos < static_cast<std::size_t>(frames)) {
            estado.SkipWithError(
                ("llegaron " + std::to_string(vistos) + " de " + std::to_string(frames) + " frames")
                    .c_str());
            return;
        }
    }
    estado.counters["mediana_ms"] = percentil(latencias, 0.5);
    estado.counters["p99_ms"] = percentil(latencias, 0.99);
    estado.counters["cpu_sondeo_ms"] = cpuPorSondeo;
}

} // namespace

void registraEnVivo(const Contexto& contexto) {
    // 5 s of race (250 frames) after 20 000 frames (3 MB) in the full run.
    const int frames = std::max(10, std::min(250, contexto.tamanos.frames / 20));
    const int previos = std::min(20000, contexto.tamanos.frames / 2);
    auto temporal = contexto.temporal;
    const std::string ruta = temporal->escribe("envivo.txt", "");
    const std::pair<const char*, Lectura> variantes[] = {
        {"BM_LatenciaEnVivo", Lectura::seguidor},
        {"BM_LatenciaEnVivoRelectura", Lectura::relectura},
        {"BM_LatenciaEnVivoSesion", Lectura::sesion}};
    for (const auto& [nombre, lectura] : variantes) {
        benchmark::RegisterBenchmark(
            nombre, [temporal, ruta, previos, frames, lectura = lectura](
                        benchmark::State& e) { latencia(e, ruta, previos, frames, lectura); })
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace zul::bench
