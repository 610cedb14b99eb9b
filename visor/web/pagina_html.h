#pragma once

#include "datos/mapa.h"
#include "escena/escena.h"
#include "reproduccion/reproduccion.h"

#include <QByteArray>
#include <QString>

namespace zul {

// How a replay page opens: the same settings as a picture of --png.
struct OpcionesPagina {
    long long frame = 0;
    int jugador = 0;
    double zoom = 10.0;
    Camara camara = Camara::Seguir;
    bool estelas = false;
    bool rotulos = false; // the kart names on
    QString titulo;       // empty: the race log's file name
    QString volver;       // a link back (the contest's index), or empty
    // The bots' debug layer (depuracion_pagina.h), or empty for none.
    QByteArray depuracion;
};

// The arrow tiles as the page draws them: every side the painter scales
// them to (from the arrow zoom to the largest zoom) side by side in one
// sheet of premultiplied 0xAARRGGBB words, deflated, so the page's tiles are
// the very pixels --png draws. Needs a QGuiApplication.
struct HojaFlechas {
    QByteArray pixeles;
    int ancho = 0;
    QString medidas; // JSON: per side from kLadoMinimo, per tile [width, height]
};
HojaFlechas hojaFlechas();

// The whole self-contained page: the player (from the program's resources),
// the race and map deflated, the tiles and the names. Nothing it needs comes
// from anywhere else.
QByteArray paginaHtml(const Carrera& carrera, const Mapa& mapa, const HojaFlechas& flechas,
                      const OpcionesPagina& opciones);

// The page's code and style, from the resources: for a page of the site that
// embeds other things.
QString recursoWeb(const QString& nombre);

// A text safe inside a <script> of JSON or inside HTML.
QString jsonTexto(const QString& texto);
QString escapaHtml(const QString& texto);

} // namespace zul
