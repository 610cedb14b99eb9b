#pragma once

#include <QObject>
#include <QStringList>
#include <QVector>

class QLabel;
class QScrollArea;
class QVBoxLayout;
class QWidget;

// The rows of the "Jugadores" box: each name in its player's colour code on a
// plate it reads well on (cut, with the whole name as a tooltip, when it is
// too long to leave room for the laps), the laps in one column, the followed
// player's row marked, and a click on a row to follow that player. The
// scroll area shows every row of a small race without a scroll bar.
class ListaJugadores : public QObject {
    Q_OBJECT

public:
    // Names wider than this many average characters are cut.
    static constexpr int kLargoNombre = 16;
    // Up to this many rows are shown whole when the window has the room;
    // more scroll. The smallest window keeps kFilasMinimas in view.
    static constexpr int kFilasSinDesplazar = 10;
    static constexpr int kFilasMinimas = 3;
    // The height that shows up to kFilasSinDesplazar rows.
    int alturaPedida() const { return altoPedido; }

    // Builds one row per name into `layout` (the box's rows), inside
    // `desplazamiento`. codigo(i) is player i's colour code, six hex digits.
    ListaJugadores(const QStringList& nombres, const QVector<QString>& codigos, QVBoxLayout* layout,
                   QScrollArea* desplazamiento, QObject* parent = nullptr);

    const QVector<QLabel*>& etiquetasNombres() const { return nombres; }
    const QVector<QLabel*>& etiquetasVueltas() const { return vueltas; }
    QWidget* fila(int jugador) const { return filas.value(jugador); }
    int marcado() const { return seguido; }

    // Marks the followed player's row (-1: none, for the whole-track camera).
    void marca(int jugador);
    // Fits the names, the lap column and the list's height to the current
    // font, after it changed (full screen).
    void ajusta();

signals:
    void jugadorElegido(int jugador);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QStringList textos;
    QVector<QString> codigos;
    QVBoxLayout* layout = nullptr;
    QScrollArea* desplazamiento = nullptr;
    QVector<QWidget*> filas;
    QVector<QLabel*> nombres;
    QVector<QLabel*> vueltas;
    int seguido = -1;
    int altoPedido = 0;
};
