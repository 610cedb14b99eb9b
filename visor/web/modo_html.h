#pragma once

#include "web/pagina_html.h"

#include <QString>
#include <QStringList>

namespace zul {

// `visor --html SALIDA.html [opciones] CARRERA MAPA`.
struct OpcionesHtml {
    QString salida;
    QString carrera;
    QString mapa;
    OpcionesPagina pagina;
    // The bots' debug files drawn over the frames, turn n over frame n + desfase.
    QStringList depuracion;
    long long desfase = 0;
};

// Checks the options against the race and writes the page safely (a new
// file renamed into place). False, with the reason in Spanish.
bool escribePagina(const Reproduccion& reproduccion, const Mapa& mapa, const OpcionesHtml& opciones,
                   QString& error);

// The whole mode, once a QGuiApplication exists: the exit status (0, or 1
// with the reason on standard error).
int ejecutaModoHtml(const OpcionesHtml& opciones);

// A step and a player the race has; false with the reason otherwise.
bool compruebaFrameYJugador(const Reproduccion& reproduccion, const QString& carrera,
                            long long frame, int jugador, QString& error);

// Whether writing `salida` would overwrite one of the inputs.
bool esEntrada(const QString& salida, const QStringList& entradas);

} // namespace zul
