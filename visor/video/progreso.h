#pragma once

#include "video/exportacion.h"

#include <QString>

#include <cstdio>

// How an export's progress reads on the command line.
namespace zul {

// "Vídeo: 45 % (405 de 900 fotogramas), 72,3 fotogramas/s, quedan 0:07".
QString lineaProgreso(const Progreso& progreso);
// "Vídeo escrito en X: 900 fotogramas (0:30 de vídeo) en 12,5 s, 72,0 fotogramas/s."
QString resumenVideo(const QString& salida, const Progreso& progreso, int fps);
// Seconds as m:ss, or h:mm:ss from an hour on.
QString duracion(double segundos);

// Progress on a stream: on a terminal one line rewritten in place, a few
// times a second; otherwise (a log, a pipe) nothing until the summary.
class CProgresoTerminal {
public:
    explicit CProgresoTerminal(std::FILE* destino = stderr);
    CProgresoTerminal(std::FILE* destino, bool terminal) : destino(destino), terminal(terminal) {}

    void informa(const Progreso& progreso);
    // Ends the progress line and, when the video was written, adds the summary.
    void termina(const QString& salida, const ResultadoVideo& resultado, int fps);

private:
    std::FILE* destino;
    bool terminal;
    bool lineaAbierta = false;
    double ultimaLinea = -1.0;
};

} // namespace zul
