#include "escena/camara.h"

#include <algorithm>
#include <cmath>

namespace zul {

namespace {

// The framing that draws the map point `punto` at the pixel `pixel`, since
// the anchor of an Encuadre is the same for both axes.
Encuadre conPuntoEn(QSize vista, double zoom, QPointF punto, QPointF pixel) {
    Encuadre encuadre = encuadra(vista, zoom, punto);
    if (zoom > 0.0 && std::isfinite(zoom)) {
        encuadre.centro = QPointF(punto.x() - (pixel.x() - encuadre.ancla) / zoom,
                                  punto.y() - (pixel.y() - encuadre.ancla) / zoom);
    }
    return encuadre;
}

} // namespace

int seguidoEnCamara(const Escena& escena) {
    int jugador = escena.mira;
    if (escena.opciones.camara == Camara::Pista) {
        return -1;
    }
    if (escena.opciones.camara == Camara::Director && escena.lider >= 0) {
        jugador = escena.lider;
    }
    return jugador >= 0 && jugador < escena.posiciones.size() ? jugador : -1;
}

Encuadre encuadreDe(const Escena& escena) {
    const QSize vista = escena.tamano;
    const QPointF medio(vista.width() * 0.5, vista.height() * 0.5);
    switch (escena.opciones.camara) {
    case Camara::Pista: {
        if (escena.filas <= 0 || escena.columnas <= 0 || vista.isEmpty()) {
            break;
        }
        // The largest zoom that shows every cell, kept within what the zoom
        // control offers so tiles and discs keep their usual sizes.
        const double zoom =
            std::clamp(std::min(vista.width() / static_cast<double>(escena.columnas),
                                vista.height() / static_cast<double>(escena.filas)),
                       1e-6, 50.0);
        return conPuntoEn(vista, zoom, QPointF(escena.columnas * 0.5, escena.filas * 0.5), medio);
    }
    case Camara::Centrado:
        return conPuntoEn(
            vista, escena.zoom,
            eligeCentro(escena.posiciones, escena.mira, escena.filas, escena.columnas), medio);
    case Camara::Director:
    case Camara::Seguir:
        break;
    }
    const int jugador = escena.opciones.camara == Camara::Pista ? -1 : seguidoEnCamara(escena);
    return encuadra(vista, escena.zoom,
                    eligeCentro(escena.posiciones, jugador < 0 ? escena.mira : jugador,
                                escena.filas, escena.columnas));
}

QString nombreCamara(Camara camara) {
    switch (camara) {
    case Camara::Centrado:
        return QStringLiteral("centrado");
    case Camara::Pista:
        return QStringLiteral("pista");
    case Camara::Director:
        return QStringLiteral("director");
    case Camara::Seguir:
        break;
    }
    return QStringLiteral("seguir");
}

bool leeCamara(const QString& nombre, Camara& camara) {
    for (Camara c : {Camara::Seguir, Camara::Centrado, Camara::Pista, Camara::Director}) {
        if (nombre.trimmed().compare(nombreCamara(c), Qt::CaseInsensitive) == 0) {
            camara = c;
            return true;
        }
    }
    return false;
}

} // namespace zul
