#include "web/modo_html.h"

#include "datos/rutas.h"
#include "salida/carga_sin_pantalla.h"
#include "salida/guardar_png.h"
#include "salida/texto_terminal.h"
#include "web/depuracion_pagina.h"

#include <QFileInfo>

#include <new>

namespace zul {

bool compruebaFrameYJugador(const Reproduccion& reproduccion, const QString& carrera,
                            long long frame, int jugador, QString& error) {
    const long long frames = reproduccion.numeroFrames();
    if (frames == 0) {
        error = QStringLiteral("%1: la carrera no tiene ningún paso que mostrar").arg(carrera);
        return false;
    }
    if (frame >= frames) {
        error = QStringLiteral("la carrera tiene %1 pasos (del 0 al %2); no existe el paso %3")
                    .arg(frames)
                    .arg(frames - 1)
                    .arg(frame);
        return false;
    }
    const int jugadores = reproduccion.carrera().numJugadores;
    if (jugador >= jugadores) {
        error =
            QStringLiteral("la carrera tiene %1 jugadores (del 0 al %2); no existe el jugador %3")
                .arg(jugadores)
                .arg(jugadores - 1)
                .arg(jugador);
        return false;
    }
    return true;
}

bool esEntrada(const QString& salida, const QStringList& entradas) {
    const QString destino = QFileInfo(salida).canonicalFilePath();
    if (destino.isEmpty()) {
        return false;
    }
    for (const QString& entrada : entradas) {
        if (QFileInfo(entrada).canonicalFilePath() == destino) {
            return true;
        }
    }
    return false;
}

bool escribePagina(const Reproduccion& reproduccion, const Mapa& mapa, const OpcionesHtml& opciones,
                   QString& error) {
    if (!compruebaFrameYJugador(reproduccion, opciones.carrera, opciones.pagina.frame,
                                opciones.pagina.jugador, error)) {
        return false;
    }
    if (esEntrada(opciones.salida,
                  QStringList{opciones.carrera, opciones.mapa} + opciones.depuracion)) {
        error = QStringLiteral("%1 es uno de los archivos de entrada; no se sobrescribe")
                    .arg(opciones.salida);
        return false;
    }
    OpcionesPagina pagina = opciones.pagina;
    if (pagina.titulo.isEmpty()) {
        pagina.titulo = QFileInfo(opciones.carrera).fileName();
    }
    QByteArray html;
    try {
        // A file that does not parse or belongs to another race is refused, named.
        std::vector<Depuracion> depuraciones;
        for (const QString& ruta : opciones.depuracion) {
            depuraciones.push_back(leeDepuracion(bytesDeRuta(ruta).toStdString()));
            depuraciones.back().compruebaCarrera(reproduccion.carrera().numJugadores,
                                                 static_cast<long>(reproduccion.numeroFrames()));
        }
        pagina.depuracion = depuracionPagina(depuraciones, opciones.desfase);
        html = paginaHtml(reproduccion.carrera(), mapa, hojaFlechas(), pagina);
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("no hay memoria suficiente para la página");
        return false;
    } catch (const ErrorFormato& fallo) {
        error = QString::fromUtf8(fallo.what());
        return false;
    }
    if (html.isEmpty()) {
        error = QStringLiteral("el programa no lleva el código de la página");
        return false;
    }
    return guardaDatos(html, opciones.salida, QStringLiteral("la página"), error);
}

int ejecutaModoHtml(const OpcionesHtml& opciones) {
    return conCarreraYMapa(opciones.carrera, opciones.mapa,
                           [&opciones](const Reproduccion& reproduccion, const Mapa& mapa) {
                               QString error;
                               if (!escribePagina(reproduccion, mapa, opciones, error)) {
                                   informaError(error);
                                   return 1;
                               }
                               return 0;
                           });
}

} // namespace zul
