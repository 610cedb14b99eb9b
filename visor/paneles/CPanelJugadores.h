#pragma once

#include <QGroupBox>
#include <QStringList>
#include <QVector>

class QEvent;
class QLabel;
class QScrollArea;
class QVBoxLayout;

// The "Jugadores" box: one row per player, its name in its colour code on a
// plate it reads well on (cut, with the whole name as a tooltip, when it is
// too long to leave room for the laps), then its laps, every lap label in one
// column. The followed player's row is marked, and a click on a row asks to
// follow that player. A small race shows every row without a scroll bar;
// larger ones scroll.
class CPanelJugadores : public QGroupBox {
    Q_OBJECT

public:
    // Names wider than this many average characters are cut.
    static constexpr int kLargoNombre = 20;
    // The smallest window keeps this many rows in view, so a race of up to
    // ten players never scrolls; larger ones do.
    static constexpr int kFilasMinimas = 10;

    explicit CPanelJugadores(QWidget* parent = nullptr);

    // One row per name, replacing any rows before. codigos[i] is player i's
    // colour code, six hex digits. No row is marked.
    void ponJugadores(const QStringList& nombres, const QVector<QString>& codigos);
    // The lap label of a player's row.
    void ponVueltas(int jugador, int vueltas);
    // Marks the followed player's row (-1: none, for the whole-track camera).
    void marca(int jugador);

    const QVector<QLabel*>& etiquetasNombres() const { return nombres; }
    const QVector<QLabel*>& etiquetasVueltas() const { return vueltas; }
    QScrollArea* desplazamiento() const { return area; }
    int marcado() const { return seguido; }

signals:
    void jugadorElegido(int jugador);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    // Fits the names, the lap column and the list's height to the font.
    void ajusta();
    void pintaMarca(int jugador, bool activo);

    QScrollArea* area = nullptr;
    QVBoxLayout* layoutFilas = nullptr;
    QStringList textos;
    QVector<QString> codigos;
    QVector<QLabel*> nombres;
    QVector<QLabel*> vueltas;
    int seguido = -1;
};
