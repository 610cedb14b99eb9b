#pragma once

#include "escena/estelas.h"

#include <QObject>
#include <QStringList>

class CMarcaEnVivo;
class CPanelLateral;
class CReproductor;
class CVisualizador;
class CZonaPista;

// Between the replay controller and the window's widgets: what the controller
// says goes to the view, the panel, the timeline and the standings; what the
// user asks of those goes to the controller. It holds no replay state.
class CEnlaceReproductor : public QObject {
    Q_OBJECT

public:
    CEnlaceReproductor(CReproductor* control, CPanelLateral* lateral, CZonaPista* zona,
                       QObject* parent = nullptr);

    CMarcaEnVivo* marcaVivo() const { return marca; }
    // The players' names as the panel, the labels and the marks show them.
    QStringList nombresJugadores() const;

    // Hands the frame on show to the view, the lap labels, the timeline and
    // the standings.
    void muestraFoto();
    // The scene of the frame on show, as the options want it, to the view.
    void muestraEscena();
    // The followed player, to the spin box, the view, the rows and the table.
    void muestraSeguido();

signals:
    // A frame is on show (-1: none).
    void frameEnPantalla(long long frame);

private:
    void conectaControl();
    void conectaPeticiones();
    void conectaPista();
    // One row per player in the "Jugadores" box and the timeline, built again
    // when live mode finds other players in the log.
    void montaFilasJugadores();
    void carreraCrecida();
    void carreraSustituida();
    // The scene options, to the view, the bar and the trails' box.
    void muestraOpciones();
    void muestraEnVivo();

    CReproductor* control;
    CPanelLateral* lateral;
    CZonaPista* zona;
    CVisualizador* vista;
    CMarcaEnVivo* marca = nullptr;
    QStringList nombres;
    // The trails of the scene on show, a buffer used again frame after frame.
    zul::Estelas estelas;
};
