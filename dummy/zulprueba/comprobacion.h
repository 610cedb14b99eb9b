// One run of zulprueba: starts the bot, sends it the map and the turns, checks every reply and
// how the bot ends, and reports.
#pragma once

#include "informe.h"
#include "mapa.h"
#include "opciones.h"
#include "proceso.h"
#include "turnos.h"

#include <optional>
#include <string>

namespace zul {

class Comprobacion {
public:
    // Prints the report's first line and starts the bot; throws ErrorDePrueba if it cannot be run.
    Comprobacion(const Opciones& o, const Mapa& mapa, const FuenteDeTurnos& turnos,
                 Transcripcion& transcripcion);
    // Returns zulprueba's exit status: 0 if the bot keeps the protocol, 1 if not.
    int ejecutar();

private:
    bool enviarMapa();
    // `comprobar` false: a turn before --desde, played only to bring the bot to its state.
    bool jugarTurno(long t, bool comprobar);
    void esperarFinal();
    void finalTrasMorir(long turno);
    void lineasDeMas(long turno);

    const Opciones& opciones_;
    const Mapa& mapa_;
    const FuenteDeTurnos& turnos_;
    Transcripcion& transcripcion_;
    Informe informe_;
    std::optional<Proceso> bot_;
    long respondidos_ = 0;
    long ultimoDisparo_ = 0; // turn of the last valid shot; 0 = none
    std::string final_;      // how the bot ended, for the summary
};

} // namespace zul
