#pragma once

#include "analisis/fantasma.h"

#include <QString>
#include <QStringList>

// The window mode, from main once the command line has been read: the race
// window (or the "Abrir carrera" dialog, with fewer than two paths) until
// the user closes it. argv still holds Qt's own options, which QApplication
// takes out. With `enVivo` the race log is followed while it is written
// (argv may hold --en-vivo, which is taken out here). Returns the exit status:
// 0, or 1 when the race cannot be shown or there is no display to show it on.
// The bots' debug files in `depuracion` are drawn over the race, turn n over
// frame n + desfase; with a `fantasma` path, that race is shown as a ghost.
// A file that cannot be shown is told in a message box and the race stays.
int ejecutaModoVentana(int argc, char* argv[], bool enVivo = false,
                       const QStringList& depuracion = {}, long long desfase = 0,
                       const QString& fantasma = QString(),
                       zul::Alineacion alineacion = zul::Alineacion::Paso);
