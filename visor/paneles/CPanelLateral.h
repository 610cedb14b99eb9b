#pragma once

#include <QWidget>

class CPanelJugadores;
class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

// The side panel: the "Jugadores" box, the "Visualizacion" box (player to
// follow, zoom, speed, trails) and the "Controles" box (run, pause, the two
// steps, restart and live mode). It only holds the controls, with their
// ranges and start values; whoever owns it connects them.
class CPanelLateral : public QWidget {
    Q_OBJECT

public:
    explicit CPanelLateral(QWidget* parent = nullptr);

    CPanelJugadores* jugadores() const { return grupoJugadores; }
    QSpinBox* selectorJugador() const { return jugador; }
    QDoubleSpinBox* selectorZoom() const { return zoom; }
    QDoubleSpinBox* selectorVelocidad() const { return velocidad; }
    QCheckBox* casillaEstelas() const { return estelas; }
    QPushButton* botonEjecutar() const { return ejecutar; }
    QPushButton* botonPausa() const { return pausa; }
    QPushButton* botonPaso() const { return paso; }
    QPushButton* botonPasoAtras() const { return pasoAtras; }
    QPushButton* botonReiniciar() const { return reiniciar; }
    QCheckBox* casillaEnVivo() const { return enVivo; }
    // Where more view options go, under "Estelas".
    QVBoxLayout* layoutVisualizacion() const { return filasVisualizacion; }

    // The range of the player to follow, for a race of n players.
    void ponNumeroJugadores(int n);
    // Enables "Ejecuta&r" or "&Pausa", as the replay runs or not.
    void muestraEnMarcha(bool enMarcha);

    // A row with a label showing the text, then the control.
    static QWidget* conEtiqueta(const QString& texto, QWidget* control);

private:
    CPanelJugadores* grupoJugadores = nullptr;
    QGroupBox* grupoVisualizacion = nullptr;
    QGroupBox* grupoControles = nullptr;
    QVBoxLayout* filasVisualizacion = nullptr;
    QVBoxLayout* layoutControles = nullptr;
    QSpinBox* jugador = nullptr;
    QDoubleSpinBox* zoom = nullptr;
    QDoubleSpinBox* velocidad = nullptr;
    QCheckBox* estelas = nullptr;
    QPushButton* ejecutar = nullptr;
    QPushButton* pausa = nullptr;
    QPushButton* paso = nullptr;
    QPushButton* pasoAtras = nullptr;
    QPushButton* reiniciar = nullptr;
    QCheckBox* enVivo = nullptr;
};
