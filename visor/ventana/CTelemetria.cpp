#include "ventana/CTelemetria.h"

#include "analisis/ficha_kart.h"
#include "analisis/series_telemetria.h"
#include "control/CReproductor.h"
#include "paneles/CFichaKart.h"
#include "paneles/CGraficaTelemetria.h"
#include "paneles/CGraficas.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/carga.h"
#include "salida/texto_terminal.h"

#include <QTabWidget>

#include <algorithm>
#include <new>
#include <utility>

CTelemetria::CTelemetria(CReproductor* control, CVisualizador* vista,
                         std::function<QStringList()> nombres, QObject* parent)
    : QObject(parent), control(control), vista(vista), nombres(std::move(nombres)) {
    tarjeta = new CFichaKart(vista);
    // The card opens on the kart clicked, or closes at a second click.
    connect(vista, &CVisualizador::clicEnMapa, this, [this](QPointF punto) {
        alternaFicha(this->control->kartEn(punto, this->vista->encuadre().zoom));
    });
    // Aligned by laps, the ghost follows the followed player's.
    connect(control, &CReproductor::seguidoCambiado, this, [this](int jugador) {
        actualizaFantasma();
        for (CGraficaTelemetria* pestana : {pestanaVelocidad.data(), pestanaDelta.data()}) {
            if (pestana != nullptr) {
                pestana->ponJugadorSeguido(jugador);
            }
        }
    });
    connect(control, &CReproductor::carreraCrecida, this, [this] {
        for (CGraficaTelemetria* pestana : {pestanaVelocidad.data(), pestanaDelta.data()}) {
            if (pestana != nullptr) {
                pestana->actualiza();
            }
        }
    });
    // Another race: the kinematics are computed again, and a ghost laid
    // over the old one no longer matches it.
    connect(control, &CReproductor::carreraSustituida, this, [this] {
        telemetria.reset();
        progreso.reset();
        fantasma.reset();
        cierraFicha();
        actualizaFantasma();
        montaPestanas();
    });
}

CTelemetria::~CTelemetria() = default;

bool CTelemetria::cargaFantasma(const QString& ruta, zul::Alineacion alineacion, QString* error) {
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
    montaPestanas();
    return true;
}

void CTelemetria::enlazaGraficas(CGraficas* nuevas) {
    graficas = nuevas;
    montaPestanas();
}

void CTelemetria::montaPestanas() {
    if (graficas == nullptr) {
        return;
    }
    const bool estabaDelta =
        pestanaDelta != nullptr && graficas->pestanasGraficas()->currentWidget() == pestanaDelta;
    graficas->quitaPestana(pestanaVelocidad);
    graficas->quitaPestana(pestanaDelta);
    CGraficaTelemetria::Fuentes velocidad;
    velocidad.porFrame = [this](int j) { return zul::velocidadPorFrame(telemetriaCarrera(), j); };
    velocidad.porVuelta = [this](int j) {
        return zul::velocidadPorVuelta(control->analisis(), telemetriaCarrera(), progresoCarrera(),
                                       j);
    };
    pestanaVelocidad =
        new CGraficaTelemetria(CGraficaTelemetria::Velocidad, nombres(), std::move(velocidad));
    graficas->agregaPestana(pestanaVelocidad, tr("Velocidad"));
    if (fantasma != nullptr) {
        CGraficaTelemetria::Fuentes delta;
        delta.porVuelta = [this](int j) {
            if (fantasma == nullptr) {
                return zul::VueltasGrafica();
            }
            return zul::deltaPorVuelta(fantasma->comparacion(), control->analisis(),
                                       telemetriaCarrera(), progresoCarrera(), j);
        };
        pestanaDelta =
            new CGraficaTelemetria(CGraficaTelemetria::Delta, nombres(), std::move(delta));
        graficas->agregaPestana(pestanaDelta, tr("Delta"));
        if (estabaDelta) {
            graficas->pestanasGraficas()->setCurrentWidget(pestanaDelta);
        }
    }
    for (CGraficaTelemetria* pestana : {pestanaVelocidad.data(), pestanaDelta.data()}) {
        if (pestana != nullptr) {
            pestana->ponJugadorSeguido(control->jugadorSeguido());
            connect(pestana, &CGraficaTelemetria::frameElegido, control, &CReproductor::irAFrame);
        }
    }
}

void CTelemetria::muestraFrame() {
    actualizaFantasma();
    actualizaFicha();
}

void CTelemetria::actualizaFantasma() {
    vista->ponFantasma(fantasma != nullptr ? fantasma->capa(std::max(control->frame(), 0LL),
                                                            control->jugadorSeguido())
                                           : zul::CapaFantasma());
}

void CTelemetria::alternaFicha(int jugador) {
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

bool CTelemetria::cierraFicha() {
    if (!fichaAbierta) {
        return false;
    }
    fichaAbierta = false;
    tarjeta->cierra();
    return true;
}

const zul::Telemetria& CTelemetria::telemetriaCarrera() {
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

const zul::ProgresoVuelta& CTelemetria::progresoCarrera() {
    if (progreso == nullptr) {
        // The replay's analysis measures round the window's map.
        progreso =
            std::make_unique<zul::ProgresoVuelta>(control->carrera(), control->analisis(), nullptr);
    }
    return *progreso;
}

void CTelemetria::actualizaFicha() {
    if (!fichaAbierta) {
        return;
    }
    const QStringList lista = nombres();
    const QString nombre = jugadorFicha < lista.size() ? lista[jugadorFicha] : QString();
    tarjeta->muestra(zul::fichaKart(telemetriaCarrera(), control->analisis(),
                                    fantasma != nullptr ? &fantasma->comparacion() : nullptr,
                                    nombre, jugadorFicha, std::max(control->frame(), 0LL)));
}
