#pragma once

#include "paneles/CPanelNotas.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class CBarraProyector;
class CReproductor;
class CVisualizador;
class QAction;
class QBoxLayout;
class QMimeData;
class QWidget;

// The bots' debug drawings in the window: loads the files into the replay
// controller (from the command line or dropped on the window), refusing a
// file that does not parse or belongs to another race in a message box
// while the race stays; hands the layer of the frame on show to the view
// and the followed player's notes to the "Notas" panel; keeps the
// "Depuración" check box and action in step with the scene option; and
// copies the zulprueba command that replays the frame on show.
class CDepuracionVentana : public QObject {
    Q_OBJECT

public:
    // The notes panel goes at the end of `panel` once there are notes to show; `ventana` parents
    // this and the message boxes.
    CDepuracionVentana(QWidget* ventana, CReproductor* control, CVisualizador* vista,
                       CBarraProyector* barra, QBoxLayout* panel);

    // Loads every file; false when any was refused, after a box saying why.
    bool carga(const QStringList& rutas);
    // The shift of the turns: turn n over frame n + desfase.
    void ponDesfase(long desfase);

    // A drag whose files are all debug files, told by content.
    bool aceptaArrastre(const QMimeData* datos) const;
    // Loads the files of such a drop; false when the drop is not one.
    bool suelta(const QMimeData* datos);

    // The action that shows or hides the layer: checkable, kept in step.
    void ponAccion(QAction* accion);
    void alterna();
    // The command to the clipboard, told over the track; it is returned.
    QString copiaOrden();
    // The command for the frame on show and the followed player.
    QString orden() const;

    // The "Notas" panel; null until a file is loaded.
    CPanelNotas* panelNotas() const { return notas; }
    // The texts of the last refusal, for tests.
    const QString& ultimoRechazo() const { return rechazo; }

private:
    void muestra();
    void rechaza(const QString& motivo);

    QWidget* ventana;
    CReproductor* control;
    CVisualizador* vista;
    CBarraProyector* barra;
    QBoxLayout* panel;
    QPointer<CPanelNotas> notas;
    QPointer<QAction> accionDepuracion;
    QString rechazo;
};
