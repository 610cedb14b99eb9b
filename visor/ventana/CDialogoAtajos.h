#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QString>

// F1: the list of every command of a window and its keys. It reads the
// window's actions() and its buttons' Alt keys, so the list never disagrees
// with the keys.
class CDialogoAtajos : public QDialog {
    Q_OBJECT

public:
    // The dialog's own object name, so a window finds the one it has open.
    static constexpr const char* kNombreDialogo = "dialogoAtajos";

    explicit CDialogoAtajos(QWidget* ventana);

    // Shows the list over `ventana`, or raises the one it has open.
    static void muestraSobre(QWidget* ventana);

    // A key as the list shows it, in Spanish ("Espacio", "Re Pág", "Ctrl+S").
    static QString nombreTecla(const QKeySequence& teclas);
};
