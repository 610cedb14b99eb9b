// Video export at 1280 x 720 with H.264: the whole export (drawing, colour
// conversion, encoding, writing) beside the encoder alone on the same
// pictures drawn and converted beforehand. Their difference is our share.
#include "bancos.h"

#include "codificador.h"
#include "conversor_yuv.h"
#include "exportacion.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

extern "C" {
#include <libavutil/frame.h>
}

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace zul::bench {

namespace {

struct Video {
    QSize tamano;
    int cuadros;       // pictures per iteration
    QByteArray preset; // ZUL_BENCH_PRESET, to compare x264's presets; empty: ours
};

// A stand-in for the track view of similar cost: black ground, an oval ring
// of track painted as one run per row and half, arrow tiles on it, six karts
// with headings and names, a shot, and the step counter. It scrolls with the
// frame as the view does when it follows a kart.
class Escena {
public:
    explicit Escena(QSize tamano) : tamano(tamano), flecha(10, 10) {
        flecha.fill(QColor(108, 81, 81));
        QPainter p(&flecha);
        p.setPen(QColor(230, 230, 230));
        p.drawLine(2, 5, 8, 5);
        p.drawLine(8, 5, 5, 2);
        p.drawLine(8, 5, 5, 8);
    }

    void dibuja(QImage& imagen, long long frame) const {
        QPainter p(&imagen);
        p.fillRect(imagen.rect(), Qt::black);
        const double desplazamiento = static_cast<double>(frame % 400) * 2.5;
        const double cx = tamano.width() / 2.0 - desplazamiento;
        const double cy = tamano.height() / 2.0;
        const double rx = tamano.width() * 0.45;
        const double ry = tamano.height() * 0.42;
        const double ancho = tamano.height() * 0.12;
        const QColor pista(108, 81, 81);
        for (int y = 0; y < tamano.height(); y += 10) {
            const double v = (y - cy) / ry;
            if (std::abs(v) > 1.0) {
                continue;
            }
            const double u = rx * std::sqrt(1.0 - v * v);
            p.fillRect(QRectF(cx - u, y, ancho, 10), pista);
            p.fillRect(QRectF(cx + u - ancho, y, ancho, 10), pista);
            for (double x = cx - u; x < cx - u + ancho; x += 20) {
                p.drawPixmap(QPointF(x, y), flecha);
            }
        }
        p.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < 6; ++k) {
            const double a = static_cast<double>(frame) * 0.02 + k * 0.9;
            const QPointF centro(cx + rx * 0.95 * std::cos(a), cy + ry * 0.95 * std::sin(a));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromHsv(k * 60, 220, 240));
            p.drawEllipse(centro, 6.0, 6.0);
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(centro, centro + QPointF(12 * std::cos(a + 1.57), 12 * std::sin(a + 1.57)));
            p.drawText(centro + QPointF(9, -9), QStringLiteral("jugador%1").arg(k));
        }
        p.setPen(QPen(Qt::yellow, 2));
        p.drawLine(QPointF(cx, cy), QPointF(cx + 200, cy + 50 * std::sin(frame * 0.1)));
        p.setPen(Qt::white);
        p.drawText(QPointF(12, 24), QStringLiteral("Paso %1 de 900").arg(frame));
    }

private:
    QSize tamano;
    QPixmap flecha;
};

void cuenta(benchmark::State& estado, const Video& v) {
    estado.SetItemsProcessed(static_cast<int64_t>(estado.iterations()) * v.cuadros);
    estado.counters["fotogramas"] = v.cuadros;
}

// The whole export, as `visor --video` runs it.
void exporta(benchmark::State& estado, const Video& v) {
    QTemporaryDir carpeta;
    const Escena escena(v.tamano);
    OpcionesVideo opciones;
    opciones.salida = carpeta.filePath(QStringLiteral("v.mp4"));
    opciones.tamano = v.tamano;
    opciones.ultimo = v.cuadros - 1;
    opciones.codificador.preset = v.preset;
    for (auto _ : estado) {
        const ResultadoVideo r = exportaVideo(opciones, [&](long long frame) {
            QImage imagen(v.tamano, QImage::Format_RGB32);
            escena.dibuja(imagen, frame);
            return imagen;
        });
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
    const Escena escena(v.tamano);
    CConversorYuv conversor;
    QString error;
    Cuadros cuadros;
    if (!conversor.prepara(v.tamano, error)) {
        estado.SkipWithError(error.toStdString().c_str());
        return;
    }
    QImage imagen(v.tamano, QImage::Format_RGB32);
    for (int k = 0; k < v.cuadros; ++k) {
        escena.dibuja(imagen, k);
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
    const Escena escena(v.tamano);
    CConversorYuv conversor;
    QString error;
    conversor.prepara(v.tamano, error);
    for (auto _ : estado) {
        for (int k = 0; k < v.cuadros; ++k) {
            QImage imagen(v.tamano, QImage::Format_RGB32);
            escena.dibuja(imagen, k);
            benchmark::DoNotOptimize(conversor.convierte(imagen, error));
        }
    }
    cuenta(estado, v);
}

} // namespace

void registraVideo(const Contexto& contexto) {
    const bool reducido = contexto.tamanos.frames < tamanosCompletos().frames;
    Video v = reducido ? Video{QSize(160, 90), 4, {}} : Video{QSize(1280, 720), 120, {}};
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
