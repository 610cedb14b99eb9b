#include "video/progreso.h"

#include "texto/texto_imprimible.h"

#include <QLocale>

#include <cmath>
#include <unistd.h>

namespace zul {

namespace {

constexpr double kIntervaloLinea = 0.1;

QString decimal(double x) {
    return QLocale(QLocale::Spanish).toString(x, 'f', 1);
}

double ritmo(const Progreso& p) {
    return p.segundos > 0.0 ? p.hechos / p.segundos : 0.0;
}

} // namespace

QString duracion(double segundos) {
    const long long total = segundos > 0.0 ? std::llround(std::ceil(segundos)) : 0;
    const long long h = total / 3600;
    const long long m = total / 60 % 60;
    const long long s = total % 60;
    const QChar cero(u'0');
    if (h > 0) {
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, cero).arg(s, 2, 10, cero);
    }
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, cero);
}

QString lineaProgreso(const Progreso& p) {
    // Floored, so 100 % means every picture is in.
    const long long porcentaje = p.total > 0 ? p.hechos * 100 / p.total : 0;
    const double fps = ritmo(p);
    const QString quedan = fps > 0.0 ? duracion(static_cast<double>(p.total - p.hechos) / fps)
                                     : QStringLiteral("--:--");
    return QStringLiteral("Vídeo: %1 % (%2 de %3), %4 fotogramas/s, quedan %5")
        .arg(porcentaje)
        .arg(p.hechos)
        .arg(cantidad(p.total, "fotograma", "fotogramas"))
        .arg(decimal(fps), quedan);
}

QString resumenVideo(const QString& salida, const Progreso& p, int fps) {
    const double largo = fps > 0 ? static_cast<double>(p.hechos) / fps : 0.0;
    // A video under a second says how long it is: 0:01 would round 0,17 s up.
    const QString cuanto =
        largo > 0.0 && largo < 1.0
            ? QLocale(QLocale::Spanish).toString(largo, 'f', 2) + QStringLiteral(" s")
            : duracion(std::floor(largo + 0.5));
    return QStringLiteral("Vídeo escrito en %1: %2 (%3 de vídeo) en %4 s, %5 fotogramas/s.")
        .arg(salida, cantidad(p.hechos, "fotograma", "fotogramas"), cuanto, decimal(p.segundos),
             decimal(ritmo(p)));
}

CProgresoTerminal::CProgresoTerminal(std::FILE* destino)
    : destino(destino), terminal(::isatty(::fileno(destino)) == 1) {}

void CProgresoTerminal::informa(const Progreso& progreso) {
    if (!terminal) {
        return;
    }
    const bool ultima = progreso.hechos >= progreso.total;
    if (!ultima && ultimaLinea >= 0.0 && progreso.segundos - ultimaLinea < kIntervaloLinea) {
        return;
    }
    ultimaLinea = progreso.segundos;
    // Back to the line's start, and clear what a longer line left.
    std::fprintf(destino, "\r%s\033[K", lineaProgreso(progreso).toLocal8Bit().constData());
    std::fflush(destino);
    lineaAbierta = true;
}

void CProgresoTerminal::termina(const QString& salida, const ResultadoVideo& resultado, int fps) {
    if (lineaAbierta) {
        std::fputc('\n', destino);
        lineaAbierta = false;
    }
    if (resultado.bien()) {
        std::fprintf(destino, "%s\n",
                     resumenVideo(salida, resultado.progreso, fps).toLocal8Bit().constData());
    }
    std::fflush(destino);
}

} // namespace zul
