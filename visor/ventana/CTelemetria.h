#pragma once

#include "analisis/progreso_vuelta.h"
#include "analisis/telemetria.h"
#include "paneles/CGraficaTelemetria.h"
#include "paneles/CGraficas.h"
#include "salida/fantasma_escena.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CFichaKart;
class CReproductor;
class CVisualizador;

// The window's telemetry: the kart inspector over the track, the ghost race
// under it and the "Velocidad" and "Delta" tabs of the charts, all following
// the frame on show and the followed player. It holds the kinematics, the
// progress round the lap and the ghost; the widgets only show them.
class CTelemetria : public QObject {
    Q_OBJECT

public:
    // `nombres` gives the players' names as the window shows them.
    CTelemetria(CReproductor* control, CVisualizador* vista, std::function<QStringList()> nombres,
                QObject* parent = nullptr);
    ~CTelemetria() override;

    CFichaKart* ficha() const { return tarjeta; }
    // Shows another run of the same map as a ghost under the race, aligned
    // by step or by the followed player's laps. A log that cannot be read
    // leaves the race as it was, with no ghost: false, with the reason
    // ("RUTA: why"). An empty path takes the ghost away.
    bool cargaFantasma(const QString& ruta, zul::Alineacion alineacion, QString* error = nullptr);
    const zul::FantasmaCargado* fantasmaCargado() const { return fantasma.get(); }
    // The charts' window: the telemetry tabs go into it.
    void enlazaGraficas(CGraficas* graficas);
    CGraficaTelemetria* graficaVelocidad() const { return pestanaVelocidad; }
    CGraficaTelemetria* graficaDelta() const { return pestanaDelta; }

public slots:
    // A frame was put on show.
    void muestraFrame();
    void alternaFicha(int jugador);
    bool cierraFicha();

private:
    void actualizaFicha();
    void actualizaFantasma();
    // The tabs again: the race or the ghost changed.
    void montaPestanas();
    const zul::Telemetria& telemetriaCarrera();
    const zul::ProgresoVuelta& progresoCarrera();

    CReproductor* control;
    CVisualizador* vista;
    std::function<QStringList()> nombres;
    CFichaKart* tarjeta = nullptr;
    bool fichaAbierta = false;
    int jugadorFicha = -1;
    // Built when first needed; they follow the analysis.
    std::unique_ptr<zul::Telemetria> telemetria;
    std::unique_ptr<zul::ProgresoVuelta> progreso;
    std::shared_ptr<const zul::FantasmaCargado> fantasma;
    QPointer<CGraficas> graficas;
    QPointer<CGraficaTelemetria> pestanaVelocidad;
    QPointer<CGraficaTelemetria> pestanaDelta;
};
