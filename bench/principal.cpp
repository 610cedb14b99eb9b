// zul_bench: every benchmark runs beside its baseline, and the run ends with a
// table of the ratios. The results come out as --benchmark_format and
// --benchmark_out say; the ratio table follows the console output, or goes to
// standard error with the other formats.
//
//   zul_bench [--reducido] [opciones de Google Benchmark]
//   zul_bench [--reducido] --escribe-entradas=CARPETA
//
// --reducido (or ZUL_BENCH_REDUCIDO=1) shrinks every generated input so the
// whole run takes a second; the figures then mean nothing, but every
// benchmark and its checks still run. That is what the test suite does.
// --escribe-entradas writes the race log and the 513 x 513 map that the
// loading benchmarks read into CARPETA (as carrera.txt and mapa.txt) and
// stops, so the viewer can be timed on them.
#include "bancos.h"

#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using zul::bench::Contexto;

// What the ratio table needs of one benchmark: the median of its repetitions,
// or its only run.
struct Medida {
    double segundos = 0.0;   // CPU time per iteration
    double megabytes = 0.0;  // bytes read per iteration, in millions
    double turnos = 0.0;     // turns played per iteration
    double reales = 0.0;     // wall time per iteration
    double fotogramas = 0.0; // video pictures per iteration
    bool mediana = false;
};

// Whatever output --benchmark_format asks for, as every Google Benchmark
// program gives it, remembering each result and any failure for the ratio
// table.
class Informe : public benchmark::BenchmarkReporter {
public:
    Informe() : salida(benchmark::CreateDefaultDisplayReporter()) {}

    // Whether the output is the console table; the ratios then follow it on
    // standard output, and otherwise go to standard error, so that tools can
    // read standard output as it is.
    bool enConsola() const {
        return dynamic_cast<benchmark::ConsoleReporter*>(salida.get()) != nullptr;
    }

    bool ReportContext(const Context& contexto) override { return salida->ReportContext(contexto); }
    void Finalize() override { salida->Finalize(); }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string nombre = run.run_name.function_name;
            if (run.error_occurred) {
                errores.push_back(nombre + ": " + run.error_message);
                continue;
            }
            const bool esMediana =
                run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !esMediana) {
                continue;
            }
            Medida& m = medidas[nombre];
            if (m.mediana && !esMediana) {
                continue;
            }
            m.mediana = esMediana;
            m.segundos = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            m.megabytes = valor(run, "MB");
            m.turnos = valor(run, "turnos");
            m.reales = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            m.fotogramas = valor(run, "fotogramas");
        }
        salida->ReportRuns(runs);
    }

    // Ours against the baseline for every pair that ran, in Markdown.
    void imprimeCocientes(std::ostream& salida) const {
        const struct {
            std::string nuestro;
            std::string base;
            const char* unidad;
        } pares[] = {
            {"BM_CargaCarrera", "BM_CargaCarreraReferencia", "MB/s"},
            // How many analyses fit in one load: above 10 the analysis costs
            // under a tenth of the load.
            {"BM_Clasificacion", "BM_CargaCarrera", "ms"},
            // Above 6.7, ranking by progress adds under 15 % to a load.
            {"BM_Progreso", "BM_CargaCarrera", "ms"},
            {"BM_CargaMapa/513", "BM_CargaMapaReferencia/513", "MB/s"},
            {"BM_CargaMapa/4096", "BM_CargaMapaReferencia/4096", "MB/s"},
            {"BM_Pintar/ejemplo_z3", "BM_PintarIngenuo/ejemplo_z3", "ms"},
            {"BM_Pintar/ejemplo_z10", "BM_PintarIngenuo/ejemplo_z10", "ms"},
            {"BM_Pintar/alterno_z1", "BM_PintarIngenuo/alterno_z1", "ms"},
            {"BM_Pintar/alterno_z0.1", "BM_PintarIngenuo/alterno_z0.1", "ms"},
            {"BM_PintarReposo/ejemplo_z3", "BM_Pintar/ejemplo_z3", "ms"},
            {"BM_PintarReposo/ejemplo_z10", "BM_Pintar/ejemplo_z10", "ms"},
            {"BM_PintarReposo/alterno_z1", "BM_Pintar/alterno_z1", "ms"},
            {"BM_PintarReposo/alterno_z0.1", "BM_Pintar/alterno_z0.1", "ms"},
            {"BM_Turno", "BM_TurnoReferencia", "µs/turno"},
        };
        salida << "\nCocientes (tiempo de CPU; " << std::thread::hardware_concurrency()
               << " núcleos):\n\n"
               << "| Medida | Nuestro | Referencia | Unidad | Cociente |\n"
               << "|---|---|---|---|---|\n";
        for (const auto& par : pares) {
            const auto a = medidas.find(par.nuestro);
            const auto b = medidas.find(par.base);
            if (a == medidas.end() || b == medidas.end()) {
                continue;
            }
            const std::string unidad = par.unidad;
            // Every figure comes from the same CPU time as the ratio.
            const auto cifra = [&](const Medida& m) {
                if (unidad == "MB/s") {
                    return m.megabytes / m.segundos;
                }
                if (unidad == "ms") {
                    return m.segundos * 1e3;
                }
                return m.turnos > 0 ? m.segundos * 1e6 / m.turnos : 0.0;
            };
            const double cociente = b->second.segundos / a->second.segundos;
            salida << "| " << par.nuestro << " / " << par.base << " | "
                   << formatea(cifra(a->second)) << " | " << formatea(cifra(b->second)) << " | "
                   << unidad << " | " << formatea(cociente) << " × |\n";
        }
        imprimeVideo(salida);
        for (const std::string& error : errores) {
            salida << "ERROR " << error << '\n';
        }
    }

    // Video export: throughput in wall time (the encoder runs threads beside
    // ours), and our share in the process's CPU time, which a loaded machine
    // disturbs far less.
    void imprimeVideo(std::ostream& salida) const {
        const auto total = medidas.find("BM_ExportarVideo");
        const auto codificador = medidas.find("BM_CodificarVideo");
        const auto nuestro = medidas.find("BM_DibujarYConvertir");
        if (total == medidas.end() || codificador == medidas.end() || nuestro == medidas.end() ||
            total->second.reales <= 0.0 || total->second.segundos <= 0.0) {
            return;
        }
        const auto fps = [](const Medida& m) { return m.fotogramas / m.reales; };
        const auto cpu = [](const Medida& m) { return m.segundos * 1e3 / m.fotogramas; };
        const double t = total->second.segundos;
        salida << "\nVídeo H.264: exportación " << formatea(fps(total->second))
               << " fotogramas/s y " << formatea(cpu(total->second))
               << " ms de CPU por fotograma; solo el codificador "
               << formatea(fps(codificador->second)) << " fotogramas/s y "
               << formatea(cpu(codificador->second)) << " ms; dibujo y color "
               << formatea(cpu(nuestro->second)) << " ms.\nParte nuestra del tiempo de CPU: "
               << formatea(100.0 * (t - codificador->second.segundos) / t) << " % por diferencia, "
               << formatea(100.0 * nuestro->second.segundos / t) << " % medida aparte.\n";
    }

    bool hayErrores() const { return !errores.empty(); }

private:
    static double valor(const Run& run, const char* contador) {
        const auto it = run.counters.find(contador);
        return it == run.counters.end() ? 0.0 : static_cast<double>(it->second);
    }

    // Three significant digits, without an exponent.
    static std::string formatea(double x) {
        char texto[64];
        const int decimales = x >= 100    ? 0
                              : x >= 10   ? 1
                              : x >= 1    ? 2
                              : x >= 0.1  ? 3
                              : x >= 0.01 ? 4
                                          : 5;
        std::snprintf(texto, sizeof texto, "%.*f", decimales, x);
        return texto;
    }

    std::unique_ptr<benchmark::BenchmarkReporter> salida;
    std::map<std::string, Medida> medidas;
    std::vector<std::string> errores;
};

// Takes "--opcion=VALOR" out of argv; empty when it is not there.
std::string quitaValor(int& argc, char** argv, const char* opcion) {
    const std::string prefijo = std::string(opcion) + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefijo.c_str(), prefijo.size()) == 0) {
            std::string valor = argv[i] + prefijo.size();
            for (int k = i; k < argc; ++k) {
                argv[k] = argv[k + 1];
            }
            --argc;
            return valor;
        }
    }
    return "";
}

// Writes the benchmarks' race log and the 513 x 513 map to a folder, for
// measuring the viewer on them.
int escribeEntradas(const std::string& carpeta, bool reducido) {
    const zul::bench::Tamanos t =
        reducido ? zul::bench::tamanosReducidos() : zul::bench::tamanosCompletos();
    const struct {
        const char* nombre;
        std::string contenido;
    } archivos[] = {
        {"carrera.txt", zul::bench::generaCarrera(t.jugadores, t.frames, t.cadaDisparo)},
        {"mapa.txt", zul::bench::generaMapa(t.mapaPequeno)}};
    for (const auto& a : archivos) {
        const std::string ruta = carpeta + "/" + a.nombre;
        std::FILE* f = std::fopen(ruta.c_str(), "wb");
        const bool bien = f != nullptr && std::fwrite(a.contenido.data(), 1, a.contenido.size(),
                                                      f) == a.contenido.size();
        if ((f != nullptr && std::fclose(f) != 0) || !bien) {
            std::cerr << "zul_bench: no se pudo escribir " << ruta << '\n';
            return EXIT_FAILURE;
        }
        std::cout << ruta << '\n';
    }
    return EXIT_SUCCESS;
}

bool quitaOpcion(int& argc, char** argv, const char* opcion) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], opcion) == 0) {
            for (int k = i; k < argc; ++k) {
                argv[k] = argv[k + 1];
            }
            --argc;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // The view paints into an image; no display is needed or wanted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const char* variable = std::getenv("ZUL_BENCH_REDUCIDO");
    const bool reducido = quitaOpcion(argc, argv, "--reducido") ||
                          (variable != nullptr && *variable != '\0' && std::strcmp(variable, "0"));
    const std::string carpetaEntradas = quitaValor(argc, argv, "--escribe-entradas");
    if (!carpetaEntradas.empty()) {
        return escribeEntradas(carpetaEntradas, reducido);
    }
    QGuiApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return EXIT_FAILURE;
    }
    try {
        Contexto contexto;
        contexto.tamanos =
            reducido ? zul::bench::tamanosReducidos() : zul::bench::tamanosCompletos();
        contexto.temporal = std::make_shared<zul::bench::DirectorioTemporal>();
        contexto.ejemplos = ZUL_EJEMPLOS;
        zul::bench::registraCarga(contexto);
        zul::bench::registraClasificacion(contexto);
        zul::bench::registraTurno(contexto);
        zul::bench::registraPintado(contexto);
        zul::bench::registraEnVivo(contexto);
        zul::bench::registraVideo(contexto);

        Informe informe;
        benchmark::RunSpecifiedBenchmarks(&informe);
        informe.imprimeCocientes(informe.enConsola() ? std::cout : std::cerr);
        // The benchmarks hold the temporary folder; dropping them removes it.
        benchmark::ClearRegisteredBenchmarks();
        benchmark::Shutdown();
        return informe.hayErrores() ? EXIT_FAILURE : EXIT_SUCCESS;
    } catch (const std::exception& error) {
        benchmark::ClearRegisteredBenchmarks();
        std::cerr << "zul_bench: " << error.what() << '\n';
        return EXIT_FAILURE;
    }
}
