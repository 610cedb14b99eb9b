#pragma once

#include "video/codificador.h"
#include "video/planificacion.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>

// Exporting a range of race frames as a video: which frame each picture
// shows, asking for the pictures, encoding them, progress and cancelling.
namespace zul {

struct OpcionesVideo {
    QString salida;
    QSize tamano{1280, 720};
    long long primero = 0; // K
    long long ultimo = 0;  // M, included
    int fps = 30;          // F
    // S, race steps per second of video; 0 means F (one step per picture).
    double pasosPorSegundo = 0.0;
    OpcionesCodificador codificador; // its fps is taken from `fps`
};

struct Progreso {
    long long hechos = 0; // pictures encoded
    long long total = 0;
    double segundos = 0.0; // since the export started
};

enum class EstadoVideo { Terminado, Cancelado, Fallido };

struct ResultadoVideo {
    EstadoVideo estado = EstadoVideo::Fallido;
    QString error; // in Spanish, naming the file; empty when Terminado
    Progreso progreso;
    bool bien() const { return estado == EstadoVideo::Terminado; }
};

// Draws race frame `frame` at the video's size.
using DibujaFrame = std::function<QImage(long long frame)>;
using InformaProgreso = std::function<void(const Progreso&)>;

// Writes the video, on the calling thread (the window runs it on a worker
// thread; `dibuja` then must not touch widgets). `dibuja` is asked once per
// run of pictures that show the same frame, `informa` (may be empty) after
// every picture and once more when the file is published. When `cancelar`
// (may be null) turns true the export stops before the next picture. Only a
// Terminado result leaves a file at `salida`; any other leaves an earlier
// file of that name as it was.
ResultadoVideo exportaVideo(const OpcionesVideo& opciones, const DibujaFrame& dibuja,
                            const InformaProgreso& informa = {},
                            const std::atomic<bool>* cancelar = nullptr);

} // namespace zul
