// Video export at 1280 x 720 with H.264: the whole export (drawing, colour
// conversion, encoding, writing) beside the encoder alone on the same
// pictures drawn and converted beforehand. Their difference is our share.
#include "bancos.h"

#include "reproduccion/carga.h"
#include "salida/imagen_frame.h"
#include "video/codificador.h"
#include "video/conversor_yuv.h"
#include "video/exportacion.h"

#include <QImage>
#include <QTemporaryDir>

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zul::bench {

namespace {

struct Video {
    std::string ejemplos;
    QSize tamano;
    int cuadros;       // pictures per iteration
    QByteArray preset; // ZUL_BENCH_PRESET, to compare x264's presets; empty: ours
};

// The pictures `visor --video --rotulos` draws of the sample race: the real
// scene painter at zoom 10, following player 0, with names, step and
// standings over it.
class DibujoEjemplo {
public:
    DibujoEjemplo(const std::string& ejemplos, QSize tamano)
        : reproduccion(cargaCarrera(ejemplos + "/carrera.txt")),
          mapa(cargaMapa(ejemplos + "/mapa.txt")),
          dibujo(reproduccion, mapa,
                 AspectoImagen{0, 10.0, tamano, {Camara::Seguir, false, true}, {}}) {}

    QImage dibuja(long long frame) {
        return dibujo.dibuja(frame % std::max<long long>(reproduccion.numeroFrames(), 1));
    }

private:
    Reproduccion reproduccion;
    Mapa mapa;
    ImagenFrame dibujo;
};

void cuenta(benchmark::State& estado, const Video& v) {
    estado.SetItemsProcessed(static_cast<int64_t>(estado.iterations()) * v.cuadros);
    estado.counters["fotogramas"] = v.cuadros;
}

// The whole export, as `visor --video` runs it.
void exporta(benchmark::State& estado, const Video& v) {
    QTemporaryDir carpeta;
    DibujoEjemplo escena(v.ejemplos, v.tamano);
    OpcionesVideo opciones;
    opciones.salida = carpeta.filePath(QStringLiteral("v.mp4"));
    opciones.tamano = v.tamano;
    opciones.ultimo = v.cuadros - 1;
    opciones.codificador.preset = v.preset;
    for (auto _ : estado) {
        const ResultadoVideo r =
            exportaVideo(opciones, [&](long long frame) { return escena.dibuja(frame); });
        if (!r.bien()) {
            estado.SkipWithError(r.error.toStdString().c_str());
            return;
        }
    }
    cuenta(estado, v);
}

struct Cuadros {
    std::vector<AVFrame*> lista;
    Cuadros() = default;
    Cuadros(const Cuadros&) = delete;
    Cuadros& operator=(const Cuadros&) = delete;
    ~Cuadros() {
        for (AVFrame*& f : lista) {
            av_frame_free(&f);
        }
    }
};

// The encoder and the writer alone, on pictures drawn and converted before
// the clock starts.
void codifica(benchmark::State& estado, const Video& v) {
    QTemporaryDir carpeta;
    DibujoEjemplo escena(v.ejemplos, v.tamano);
    CConversorYuv conversor;
    QString error;
    Cuadros cuadros;
    if (!conversor.prepara(v.tamano, error)) {
        estado.SkipWithError(error.toStdString().c_str());
        return;
    }
    for (int k = 0; k < v.cuadros; ++k) {
        const QImage imagen = escena.dibuja(k);
        AVFrame* f = conversor.convierte(imagen, error);
        cuadros.lista.push_back(f != nullptr ? av_frame_clone(f) : nullptr);
        if (cuadros.lista.back() == nullptr) {
            estado.SkipWithError("no se pudo preparar un fotograma");
            return;
        }
    }
    const QString salida = carpeta.filePath(QStringLiteral("v.mp4"));
    for (auto _ : estado) {
        CCodificadorVideo codificador;
        OpcionesCodificador opciones;
        opciones.preset = v.preset;
        bool bien = codificador.abre(salida, v.tamano, opciones, error);
        for (AVFrame* f : cuadros.lista) {
            bien = bien && codificador.agregaYuv(f, error);
        }
        if (!bien || !codificador.termina(error)) {
            estado.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
    cuenta(estado, v);
}

// Our share on its own: drawing and colour conversion, nothing encoded.
void dibujaYConvierte(benchmark::State& estado, const Video& v) {
    DibujoEjemplo escena(v.ejemplos, v.tamano);
    CConversorYuv conversor;
    QString error;
    conversor.prepara(v.tamano, error);
    for (auto _ : estado) {
        for (int k = 0; k < v.cuadros; ++k) {
            const QImage imagen = escena.dibuja(k);
            benchmark::DoNotOptimize(conversor.convierte(imagen, error));
        }
    }
    cuenta(estado, v);
}

} // namespace

void registraVideo(const Contexto& contexto) {
    const bool reducido = contexto.tamanos.frames < tamanosCompletos().frames;
    Video v = reducido ? Video{contexto.ejemplos, QSize(160, 90), 4, {}}
                       : Video{contexto.ejemplos, QSize(1280, 720), 120, {}};
    v.preset = qgetenv("ZUL_BENCH_PRESET");
    // Wall time: the encoder's threads work beside ours, and the throughput a
    // user waits for is what counts.
    benchmark::RegisterBenchmark("BM_ExportarVideo", [v](benchmark::State& e) { exporta(e, v); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark("BM_CodificarVideo", [v](benchmark::State& e) { codifica(e, v); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark("BM_DibujarYConvertir",
                                 [v](benchmark::State& e) { dibujaYConvierte(e, v); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
}

} // namespace zul::bench
