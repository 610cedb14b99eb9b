#pragma once

#include "analisis/analisis.h"
#include "datos/seguidor_carrera.h"
#include "reproduccion/reproduccion.h"

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <memory>
#include <string>

namespace zul {

// Live mode: follows the race log while the referee writes it and tells the
// replay and the standings analysis what grew. No thread and no widget: the
// window calls sondea() on each repaint tick and rebuilds what the answer
// says.
//
// Following the head: when the replay is running and shows the last frame,
// each new frame is shown as it arrives; otherwise the frame on show stays.
class SesionEnVivo {
public:
    struct Novedades {
        // Other players than before (the header arrived, or another race is
        // in the log): the panel is built again, and the replay starts over.
        bool otraCarrera = false;
        // Frames or shots came in: the timeline and the standings grow, and
        // what is on show may have changed.
        bool crecio = false;
    };

    // The race log at `ruta` is read into the replay's race; both the replay
    // and the analysis must outlive the session. A replay that holds a race
    // already keeps it until the log can be read: a log that is gone, cannot
    // be read or does not start like a race never empties it. `enMarcha`, as
    // in sondea(): a running replay with nothing on show starts at the head.
    SesionEnVivo(std::string ruta, Reproduccion& reproduccion, AnalisisCarrera& analisis,
                 bool enMarcha);
    SesionEnVivo(const SesionEnVivo&) = delete;
    SesionEnVivo& operator=(const SesionEnVivo&) = delete;

    // What was read when the session started: it catches up with the log at
    // once, as a whole read would.
    const Novedades& alEmpezar() const { return inicial; }

    // One look at the log; `enMarcha` says whether the replay is running.
    Novedades sondea(bool enMarcha);
    // Live mode is switched off: what is left of the log is read and its end
    // is taken as the end of the race, so the race is what a whole read gives.
    Novedades termina();

    // The replay follows the new frames as they arrive: it is running and
    // shows the last frame (or none yet).
    bool sigueLaCabeza(bool enMarcha) const;

    SeguidorCarrera::Estado estado() const;
    // Why the log cannot be used, without the path; empty otherwise.
    std::string motivo() const;
    const std::string& ruta() const { return camino; }

private:
    struct Huella {
        bool existe = false;
        dev_t dispositivo = 0;
        ino_t inodo = 0;
        off_t tamano = 0;
        timespec cambio{};
        bool operator==(const Huella& otra) const;
    };
    static Huella huellaDe(const std::string& ruta);

    void intentaSeguir(bool enCabeza, Novedades& novedades);
    // Reads until the log's end (the follower reads a budget per look).
    static SeguidorCarrera::Cambio alcanza(SeguidorCarrera& lector);
    void recoge(SeguidorCarrera::Cambio cambio, bool enCabeza, Novedades& novedades);

    std::string camino;
    Reproduccion& reproduccion;
    AnalisisCarrera& analisis;
    std::unique_ptr<SeguidorCarrera> seguidor;
    Novedades inicial;
    // Players of the race the window was last told about.
    int jugadoresVistos = 0;
    // While there is no follower: why, and the file as last tried.
    SeguidorCarrera::Estado sinSeguidor = SeguidorCarrera::Estado::esperando;
    std::string porque;
    Huella probada;
    bool probadaUnaVez = false;
};

} // namespace zul
