#pragma once

#include "datos/mapa.h"
#include "reproduccion/reproduccion.h"

#include <QString>

#include <functional>

namespace zul {

// What a headless mode does with the race and the map; returns the exit
// status.
using ModoSinPantalla = std::function<int(const Reproduccion&, const Mapa&)>;

// Runs `carga`, which loads files and returns an exit status; a file that
// cannot be loaded (ErrorCarga), or memory that runs out, is told on standard
// error instead and gives exit status 1.
int conErroresDeCarga(const std::function<int()>& carga);

// Loads the race log and the map of a headless mode (--png, --video) and runs
// `modo` on them. A file that cannot be loaded, or memory that runs out, is
// told on standard error and gives exit status 1.
int conCarreraYMapa(const QString& carrera, const QString& mapa, const ModoSinPantalla& modo);

} // namespace zul
