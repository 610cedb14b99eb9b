#pragma once

#include <QDialog>

// F1: the list of every shortcut of a window. It reads them from the window
// itself, so the list never disagrees with the keys: the window's own
// navigation shortcuts (named kNombreAtajo, with the "tecla" property and
// their action as What's This), its other shortcuts and its buttons' Alt keys.
class CDialogoAtajos : public QDialog {
    Q_OBJECT

public:
    // The object name of a window's navigation shortcuts.
    static constexpr const char* kNombreAtajo = "atajoNavegacion";
    // The dialog's own object name, so a window finds the one it has open.
    static constexpr const char* kNombreDialogo = "dialogoAtajos";

    explicit CDialogoAtajos(QWidget* ventana);
};
