#pragma once

#include "salida/imagen_frame.h"

#include <QString>

namespace zul {

// `visor --png SALIDA.png ... CARRERA MAPA`: what to draw and where.
struct OpcionesPng {
    QString salida;
    long long frame = 0;
    long long hasta = -1; // below frame: only that frame
    AspectoImagen aspecto;
    QString carrera;
    QString mapa;
    // --fantasma OTRA_CARRERA [--alinear paso|vuelta]
    QString fantasma;
    Alineacion alineacion = Alineacion::Paso;
};

// The zoom range of the window's zoom box, and the largest image side.
constexpr double kZoomMinimo = 0.1;
constexpr double kZoomMaximo = 50.0;
constexpr int kLadoMaximo = 8192;

// Name of frame k's file in a range: the number, with at least `cifras`
// digits, goes before the extension (salida.png gives salida-00012.png).
QString nombreNumerado(const QString& salida, long long frame, int cifras);

// Checks the options against the race, then draws and writes every picture
// asked for. False, with the reason in Spanish, on the first failure.
bool escribePngs(const Reproduccion& reproduccion, const Mapa& mapa, const OpcionesPng& opciones,
                 QString& error);

// The whole mode, once a QGuiApplication exists: loads both files, writes
// the pictures and returns the exit status (0, or 1 when a file cannot be
// read or a picture written, with the reason on standard error).
int ejecutaModoPng(const OpcionesPng& opciones);

} // namespace zul
