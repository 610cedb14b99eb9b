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
    anadeAtajo(Qt::Key_I, tr("I"), tr("Ficha del kart seguido (otra vez: cerrarla)"),
               [this] { alternaFicha(selectorJugador->value()); });
    connect(this, &CVentana::frameEnPantalla, this, [this] {
        actualizaFantasma();
        actualizaFicha();
    });
    // Aligned by laps, the ghost follows the followed player's.
    connect(selectorJugador, &QSpinBox::valueChanged, this, [this] { actualizaFantasma(); });
}

bool CVentana::cargaFantasma(const QString& ruta, zul::Alineacion alineacion, QString* error) {
    if (ruta.isEmpty()) {
        fantasma.reset();
    } else {
        try {
            fantasma = zul::cargaFantasma(ruta, carrera(), alineacion);
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
                                                                   selectorJugador->value())
                                                  : zul::CapaFantasma());
}

void CVentana::alternaFicha(int jugador) {
    if (jugador < 0 || jugador >= carrera().numJugadores) {
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
    if (telemetria == nullptr || telemetria->frames() > analisis.framesAnalizados() ||
        telemetria->jugadores() != carrera().numJugadores) {
        telemetria = std::make_unique<zul::Telemetria>(carrera(), analisis);
    } else if (telemetria->frames() < analisis.framesAnalizados()) {
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
    ficha->muestra(zul::fichaKart(telemetriaCarrera(), analisis,
                                  fantasma != nullptr ? &fantasma->comparacion() : nullptr, nombre,
                                  jugadorFicha, std::max(frameMostrado(), 0LL)));
}
