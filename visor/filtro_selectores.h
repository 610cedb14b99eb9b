#pragma once

#include <QObject>

// Installed on the window's spin boxes. One with the focus takes digits,
// signs, arrows, Home and End as typing, and Page Up / Page Down as steps.
// Space, [ and ] mean nothing to a number, so they keep their meaning for the
// whole window.
class FiltroSelectores : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};
