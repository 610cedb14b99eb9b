#include "ventana/carga_entradas.h"

#include "control/CReproductor.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/carga.h"

#include <algorithm>
#include <utility>

namespace zul {

void cargaEntradas(CReproductor& control, CVisualizador& vista, const std::string& rutaCarrera,
                   const std::string& rutaMapa, bool enVivo) {
    control.ponRuta(rutaCarrera);
    if (enVivo) {
        control.ponEnVivo(true);
        // Only a log that is there and cannot be read is an error.
        if (control.sesion()->estado() == SeguidorCarrera::Estado::error) {
            throw ErrorCarga(control.ruta(), control.sesion()->motivo(), false);
        }
    } else {
        control.ponCarrera(cargaCarrera(control.ruta()));
    }
    vista.ponNumeroJugadores(
        static_cast<unsigned int>(std::max(control.carrera().numJugadores, 0)));
    Mapa mapa = cargaMapa(rutaMapa);
    // The standings rank by progress round this track.
    control.ponMapa(mapa);
    vista.ponMapa(mapa.filas, mapa.columnas, std::move(mapa.celdas));
}

} // namespace zul
