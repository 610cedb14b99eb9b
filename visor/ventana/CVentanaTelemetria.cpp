// The window's telemetry: the kart inspector, opened by a click on a kart or
// by I for the followed one, and following the frame on show.
#include "datos/nombres.h"
#include "paneles/CFichaKart.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/carga.h"
#include "salida/texto_terminal.h"
#include "ventana/CVentana.h"

#include <QSpinBox>

#include <algorithm>
#include <new>

void CVentana::montaTelemetria() {
    ficha = new CFichaKart(visualizador);
    connect(this, &CVentana::frameEnPantalla, this, [this] {
        actualizaFantasma();
        actualizaFicha();
    });
    // Aligned by laps, the ghost follows the followed player's.
    connect(control, &CReproductor::seguidoCambiado, this, [this] { actualizaFantasma(); });
    // Another race: the kinematics are computed again, and a ghost laid
    // over the old one no longer matches it.
    connect(control, &CReproductor::carreraSustituida, this, [this] {
        telemetria.reset();
        fantasma.reset();
        cierraFicha();
        actualizaFantasma();
    });
}

bool CVentana::cargaFantasma(const QString& ruta, zul::Alineacion alineacion, QString* error) {
    if (ruta.isEmpty()) {
        fantasma.reset();
    } else {
        try {
            fantasma = zul::cargaFantasma(ruta, control->carrera(), alineacion);
        } catch (const zul::ErrorCarga& fallo) {
            if (error != nullptr) {
                *error = zul::textoErrorCarga(fallo);
            }
            return false;
        } catch (const std::bad_alloc&) {
            if (error != nullptr) {
                *error =
                    QStringLiteral("%1: no hay memoria suficiente para leer el archivo").arg(ruta);
            }
            return false;
        }
    }
    actualizaFantasma();
    actualizaFicha();
    return true;
}

void CVentana::actualizaFantasma() {
    visualizador->ponFantasma(fantasma != nullptr ? fantasma->capa(std::max(frameMostrado(), 0LL),
                                                                   control->jugadorSeguido())
                                                  : zul::CapaFantasma());
}

void CVentana::alternaFicha(int jugador) {
    if (jugador < 0 || jugador >= control->carrera().numJugadores) {
        return;
    }
    if (fichaAbierta && jugadorFicha == jugador) {
        cierraFicha();
        return;
    }
    jugadorFicha = jugador;
    fichaAbierta = true;
    actualizaFicha();
}

bool CVentana::cierraFicha() {
    if (!fichaAbierta) {
        return false;
    }
    fichaAbierta = false;
    ficha->cierra();
    return true;
}

const zul::Telemetria& CVentana::telemetriaCarrera() {
    // The race grows in live mode and starts again when its log is
    // replaced: the kinematics follow the analysis.
    if (telemetria == nullptr || telemetria->frames() > control->analisis().framesAnalizados() ||
        telemetria->jugadores() != control->carrera().numJugadores) {
        telemetria = std::make_unique<zul::Telemetria>(control->carrera(), control->analisis());
    } else if (telemetria->frames() < control->analisis().framesAnalizados()) {
        telemetria->extiende();
    }
    return *telemetria;
}

void CVentana::actualizaFicha() {
    if (ficha == nullptr || !fichaAbierta) {
        return;
    }
    const QStringList nombres = nombresJugadores();
    const QString nombre = jugadorFicha < nombres.size() ? nombres[jugadorFicha] : QString();
    ficha->muestra(zul::fichaKart(telemetriaCarrera(), control->analisis(),
                                  fantasma != nullptr ? &fantasma->comparacion() : nullptr, nombre,
                                  jugadorFicha, std::max(frameMostrado(), 0LL)));
}
