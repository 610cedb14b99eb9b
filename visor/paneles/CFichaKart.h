#pragma once

#include "analisis/ficha_kart.h"

#include <QFrame>

class QLabel;

// The kart inspector: a small card over the track's top right corner with
// what zul::fichaKart says of one kart at the frame on show. It only shows
// the card it is given; the window decides which kart and when.
class CFichaKart : public QFrame {
    Q_OBJECT

public:
    explicit CFichaKart(QWidget* parent = nullptr);

    void muestra(const zul::FichaKart& ficha);
    // The kart on show; -1 while closed.
    int jugador() const { return isVisible() ? actual : -1; }
    // The card's text as shown, line by line (the title first).
    QStringList lineas() const;

    void cierra();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void coloca();

    QLabel* texto = nullptr;
    int actual = -1;
    QStringList mostradas;
};
