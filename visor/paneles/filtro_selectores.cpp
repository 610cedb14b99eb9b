#include "paneles/filtro_selectores.h"

#include <QEvent>
#include <QKeyEvent>

bool FiltroSelectores::eventFilter(QObject* objeto, QEvent* evento) {
    const bool atajo = evento->type() == QEvent::ShortcutOverride;
    if (!atajo && evento->type() != QEvent::KeyPress) {
        return QObject::eventFilter(objeto, evento);
    }
    auto* tecla = static_cast<QKeyEvent*>(evento);
    if ((tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    if (tecla->key() == Qt::Key_Escape) {
        if (atajo) {
            evento->accept(); // the field's: it leaves before anything else
        } else if (destino != nullptr) {
            destino->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    if (!atajo) {
        return false;
    }
    switch (tecla->key()) {
    case Qt::Key_Space:
    case Qt::Key_BracketLeft:
    case Qt::Key_BracketRight:
    case Qt::Key_D:
    case Qt::Key_N:
    case Qt::Key_H:
    case Qt::Key_C:
    case Qt::Key_G:
    case Qt::Key_L:
        evento->ignore(); // not the spin box's: the shortcut runs
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        evento->accept(); // the spin box steps
        return true;
    default:
        return false;
    }
}
