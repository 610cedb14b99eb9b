#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// Installed on the window's spin boxes. One with the focus takes digits,
// signs, arrows, Home and End as typing, and Page Up / Page Down as steps.
// Space, [, ] and the letter shortcuts (D, N, H, C, G, L) mean nothing to a
// number, so they keep their meaning for the whole window. Esc leaves the
// field: the focus goes to `destino` (the track).
class FiltroSelectores : public QObject {
public:
    explicit FiltroSelectores(QWidget* destino, QObject* parent = nullptr)
        : QObject(parent), destino(destino) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QPointer<QWidget> destino;
};
