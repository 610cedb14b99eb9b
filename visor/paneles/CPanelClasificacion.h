#pragma once

#include "analisis/analisis.h"

#include <QGroupBox>
#include <QPointer>
#include <QStringList>

class CGraficas;
class CModeloClasificacion;
class QTableView;

// The race's standings in the window: the "Clasificación" box, a table that
// follows the frame on show, and the "Gráficas" window, both over the
// window's race analysis, which must outlive this box. The charts are built
// the first time they are asked for: with many players that takes a while.
class CPanelClasificacion : public QGroupBox {
    Q_OBJECT

public:
    CPanelClasificacion(const zul::AnalisisCarrera& analisis, QStringList nombres,
                        QWidget* parent = nullptr);
    ~CPanelClasificacion() override;

    const zul::AnalisisCarrera& analisis() const { return *analisisCarrera; }
    CModeloClasificacion* modelo() const { return modeloTabla; }
    QTableView* tabla() const { return vistaTabla; }
    // The charts window, or nullptr while it has not been asked for.
    CGraficas* graficas() const;

    // Until the user shows or hides the box (key C), it is on show only when
    // the window leaves the track at least this width beside it.
    static constexpr int kAnchoMinimoPista = 512;
    // Shows or hides the box for `anchoLibre`, the width the track and this
    // box share; a choice of the user's stands.
    void ajustaAlAncho(int anchoLibre);
    // The width that shows every column whole.
    int anchoCompleto() const;
    // Beside the track, the box is as wide as every column; under it, as
    // wide as the track, scrolling sideways, and a few rows high.
    void ponDebajo(bool debajo);
    bool estaDebajo() const { return debajo; }
    QSize sizeHint() const override;

public slots:
    // The standings at `frame`; `final` when it is the end of the race.
    void muestraFrame(long long frame, bool final);
    void ponJugadorSeguido(int jugador);
    // The analysis has read new frames, or another race: the table and the
    // charts show them.
    void analisisActualizado();
    // Another race's players (a live log that was waited for, or replaced):
    // the table and the charts name them.
    void ponNombres(const QStringList& nombresJugadores);
    // Key C: shows the box when hidden, hides it when shown.
    void alterna();
    // Key G: opens the charts window (building it the first time), or closes
    // it when it is open.
    void alternaGraficas();

signals:
    // A row was clicked: the window follows this player.
    void jugadorElegido(int jugador);
    // A point of a chart was clicked: the window shows this frame.
    void frameElegido(long long frame);
    // The charts' window was built (on first opening): others add tabs.
    void graficasCreadas(CGraficas* graficas);

protected:
    void changeEvent(QEvent* evento) override;

private:
    void ponAnchos();

    const zul::AnalisisCarrera* analisisCarrera;
    QStringList nombres;
    CModeloClasificacion* modeloTabla = nullptr;
    QTableView* vistaTabla = nullptr;
    QPointer<CGraficas> ventanaGraficas;
    // The charts missed a growth of the race while they were closed.
    bool graficasAtrasadas = false;
    bool elegidoPorUsuario = false;
    bool debajo = false;
    int anchoColumnas = 0;
    long long frameEnPantalla = 0;
    int jugadorSeguido = -1;
};
