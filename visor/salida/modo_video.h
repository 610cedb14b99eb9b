#pragma once

#include "salida/video_carrera.h"

#include <QString>

namespace zul {

// `visor --video SALIDA ... CARRERA MAPA`: what to encode and where.
struct OpcionesModoVideo {
    PedidoVideo pedido; // video.ultimo < 0: to the race's end
    QString carrera;
    QString mapa;
    // --fantasma OTRA_CARRERA [--alinear paso|vuelta]
    QString fantasma;
    Alineacion alineacion = Alineacion::Paso;
};

// The whole mode, once a QGuiApplication exists: loads both files, encodes
// with progress on standard error and returns the exit status: 0; 1 when a
// file cannot be read or the video written; 128 plus the signal after
// Ctrl+C (or SIGTERM), with no file left behind.
int ejecutaModoVideo(const OpcionesModoVideo& opciones);

} // namespace zul
