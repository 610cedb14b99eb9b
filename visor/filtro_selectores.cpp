#include "filtro_selectores.h"

#include <QEvent>
#include <QKeyEvent>

bool FiltroSelectores::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::ShortcutOverride) {
        return QObject::eventFilter(objeto, evento);
    }
    auto* tecla = static_cast<QKeyEvent*>(evento);
    if ((tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    switch (tecla->key()) {
    case Qt::Key_Space:
    case Qt::Key_BracketLeft:
    case Qt::Key_BracketRight:
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
