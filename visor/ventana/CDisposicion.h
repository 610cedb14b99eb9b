#pragma once

#include <QObject>
#include <QSize>

class CPanelLateral;
class CZonaPista;
class QSplitter;
class QWidget;

// How the window's panes share its room: the standings beside the track or
// under it, the side panel shown or hidden, the fonts grown in full screen,
// and the window never smaller than what shows every control whole.
class CDisposicion : public QObject {
    Q_OBJECT

public:
    // `divisor` holds `zona` and `lateral`, in this order.
    CDisposicion(QWidget* ventana, QSplitter* divisor, CZonaPista* zona, CPanelLateral* lateral);

    // How much the panel's fonts grow in full screen on a screen this size.
    static double escalaPantallaCompleta(QSize pantalla);

    // After the window's size or state changed: fonts, standings, minimum.
    void ajusta();
    // The window's minimum size: what shows every control whole.
    void ponMinimo();
    // H: hides or shows the side panel and the projector's bar.
    void alternaPanel();
    // C: shows or hides the standings.
    void alternaClasificacion();

private:
    void ajustaLetra();
    void colocaClasificacion();

    QWidget* ventana;
    QSplitter* divisor;
    CZonaPista* zona;
    CPanelLateral* lateral;
    double escalaLetra = 1.0;
};
