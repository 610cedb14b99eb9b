#pragma once

#include "ventana/CVentana.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class CDialogoAbrir;

// Keeps the one race window on screen. The window opens from the command
// line or from the "Abrir carrera" dialog, and Ctrl+O in it opens the dialog
// again: accepting puts a new window in the old one's place, since a recorded
// race is never reloaded in place.
class CGestorVentanas : public QObject {
    Q_OBJECT

public:
    explicit CGestorVentanas(QObject* parent = nullptr);
    // Closes the window on show, if any.
    ~CGestorVentanas() override;

    // Shows the window, replacing (and closing) the one on show. The paths are
    // those it was built from, offered again by Ctrl+O.
    void muestra(std::unique_ptr<CVentana> nueva, const QString& rutaCarrera,
                 const QString& rutaMapa);

    // The start-up dialog, with the race log field filled in when given;
    // false when the user cancels it.
    bool abreConDialogo(const QString& rutaCarrera = QString());

    CVentana* ventanaActual() const { return ventana; }

public slots:
    // Opens the race from two paths in place of the window on show, as the
    // dialog's "Aceptar" does; on failure the error shows over the window on
    // show, which stays, and the result is false.
    bool abre(const QString& rutaCarrera, const QString& rutaMapa);

    // The dialog over the window on show, filled in with its paths; false when
    // cancelled, and the window stays.
    bool abreOtra();

private:
    // Runs the dialog; its window goes on show unless it is cancelled.
    bool muestraSiAcepta(CDialogoAbrir& dialogo);

    QPointer<CVentana> ventana;
    QString carrera;
    QString mapa;
};
