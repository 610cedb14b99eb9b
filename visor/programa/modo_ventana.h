#pragma once

#include "analisis/fantasma.h"

#include <QString>

// The window mode, from main once the command line has been read: the race
// window (or the "Abrir carrera" dialog, with fewer than two paths) until
// the user closes it. argv still holds Qt's own options, which QApplication
// takes out. With `enVivo` the race log is followed while it is written
// (argv may hold --en-vivo, which is taken out here). Returns the exit status:
// 0, or 1 when the race cannot be shown or there is no display to show it on.
// With a `fantasma` path, that race is shown as a ghost; one that cannot be
// read is told in a message box and the race is shown without it.
int ejecutaModoVentana(int argc, char* argv[], bool enVivo = false,
                       const QString& fantasma = QString(),
                       zul::Alineacion alineacion = zul::Alineacion::Paso);
