#pragma once

#include <QGroupBox>
#include <QStringList>

class QListWidget;

// "Notas": what the followed player's bot noted (anota) in the turn drawn
// over the frame on show, one row per note. It shows what it is given.
class CPanelNotas : public QGroupBox {
    Q_OBJECT

public:
    explicit CPanelNotas(QWidget* parent = nullptr);

    // The notes of `jugador` over frame `frame` (-1: none on show).
    void muestra(const QStringList& notas, int jugador, long long frame);
    QStringList notas() const;

private:
    QListWidget* lista = nullptr;
};
