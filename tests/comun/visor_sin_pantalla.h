// The real visor run from a test as a user runs it from a shell with no display at all.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ResultadoVisor {
    int estado = -1; // the exit status; -1 if the program crashed or outlived the wait
    QByteArray salida;
    QString errores;
};

// Runs `programa` in `carpeta` with DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM removed, so that
// it must pick the offscreen platform itself where it needs one. A program that does not end
// within `esperaMs` is killed.
ResultadoVisor ejecutaVisor(const QString& programa, const QString& carpeta,
                            const QStringList& argumentos, int esperaMs = 60000);
