#pragma once

#include "analisis/resultados.h"
#include "datos/mapa.h"
#include "reproduccion/reproduccion.h"

#include <QString>

#include <ostream>

namespace zul {

// `visor --telemetria [--formato csv|json] [--jugador J] CARRERA MAPA`.
struct OpcionesTelemetria {
    FormatoResultados formato = FormatoResultados::Csv;
    int jugador = -1; // below 0: every player
    QString carrera;
    QString mapa;
};

// The CSV header, without its line break; JSON objects carry the same keys.
extern const char* const kCabeceraTelemetria;

// One row per complete frame and player (or only `jugador`), frame after
// frame, to `salida`. Unknown values are empty in CSV and null in JSON.
// False, with the reason in Spanish, when the player does not exist or the
// race has no complete frame; nothing is written then.
bool escribeTelemetria(const Carrera& carrera, const Mapa& mapa, const OpcionesTelemetria& opciones,
                       std::ostream& salida, QString& error);

// The whole mode: loads both files, writes to standard output and returns
// the exit status (0, or 1 with the reason on standard error).
int ejecutaModoTelemetria(const OpcionesTelemetria& opciones);

} // namespace zul
