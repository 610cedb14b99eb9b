#include "escena/cache_escena.h"

#include "escena/estelas.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"

#include <QPainter>

#include <cmath>
#include <cstring>

namespace zul {

namespace {

template <typename T> bool mismosBits(const QVector<T>& a, const QVector<T>& b) {
    return a.size() == b.size() &&
           (a.constData() == b.constData() ||
            std::memcmp(a.constData(), b.constData(),
                        sizeof(T) * static_cast<std::size_t>(a.size())) == 0);
}

bool mismosBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Field by field: the padding after `edad` holds no value to compare.
bool mismosBits(const QVector<RayoReciente>& a, const QVector<RayoReciente>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype k = 0; k < a.size(); ++k) {
        const RayoReciente& x = a[k];
        const RayoReciente& y = b[k];
        if (x.edad != y.edad || !mismosBits(x.inicio.x(), y.inicio.x()) ||
            !mismosBits(x.inicio.y(), y.inicio.y()) || !mismosBits(x.fin.x(), y.fin.x()) ||
            !mismosBits(x.fin.y(), y.fin.y())) {
            return false;
        }
    }
    return true;
}

} // namespace

ClaveEscena ClaveEscena::de(const Escena& escena, double proporcion) {
    ClaveEscena clave;
    clave.tamano = escena.tamano;
    clave.proporcion = proporcion;
    clave.zoom = escena.zoom;
    clave.mira = escena.mira;
    clave.filas = escena.filas;
    clave.columnas = escena.columnas;
    clave.celdas = escena.celdas.data();
    clave.largoCeldas = escena.celdas.size();
    clave.revisionCeldas = escena.revisionCeldas;
    clave.posiciones = escena.posiciones;
    clave.angulos = escena.angulos;
    clave.iniciosRayos = escena.iniciosRayos;
    clave.finesRayos = escena.finesRayos;
    clave.rayosRecientes = escena.rayosRecientes;
    clave.nombres = escena.nombres;
    clave.lider = escena.lider;
    clave.puestos = escena.puestos;
    clave.estelas = escena.estelas;
    clave.revisionEstelas = escena.estelas != nullptr ? escena.estelas->revision() : 0;
    clave.flechas = escena.flechas;
    clave.revisionFlechas = escena.flechas != nullptr ? escena.flechas->revision() : 0;
    clave.opciones = escena.opciones;
    clave.fantasma = escena.fantasma;
    clave.conDepuracion = !escena.depuracion.isEmpty();
    return clave;
}

bool ClaveEscena::igual(const ClaveEscena& otra) const {
    return tamano == otra.tamano && mismosBits(proporcion, otra.proporcion) &&
           mismosBits(zoom, otra.zoom) && mira == otra.mira && filas == otra.filas &&
           columnas == otra.columnas && celdas == otra.celdas && largoCeldas == otra.largoCeldas &&
           revisionCeldas == otra.revisionCeldas && mismosBits(posiciones, otra.posiciones) &&
           mismosBits(angulos, otra.angulos) && mismosBits(iniciosRayos, otra.iniciosRayos) &&
           mismosBits(finesRayos, otra.finesRayos) &&
           mismosBits(rayosRecientes, otra.rayosRecientes) && nombres == otra.nombres &&
           lider == otra.lider && puestos == otra.puestos && estelas == otra.estelas &&
           revisionEstelas == otra.revisionEstelas && flechas == otra.flechas &&
           revisionFlechas == otra.revisionFlechas && opciones == otra.opciones &&
           fantasma == otra.fantasma &&
           // The overlays' texts live outside the scene and change every frame,
           // and debug turns of a live file move as it grows: a picture with
           // either is never reused.
           !opciones.rotulos && !(opciones.depuracion && conDepuracion);
}

const QImage& CacheEscena::imagen(const Escena& escena, PintorEscena& pintor, double proporcion) {
    ClaveEscena nueva = ClaveEscena::de(escena, proporcion);
    pinto = !valida || !nueva.igual(clave);
    if (!pinto) {
        return lienzo;
    }
    const QSize fisico(static_cast<int>(std::ceil(escena.tamano.width() * proporcion)),
                       static_cast<int>(std::ceil(escena.tamano.height() * proporcion)));
    if (lienzo.size() != fisico || lienzo.format() != QImage::Format_RGB32) {
        lienzo = QImage(fisico, QImage::Format_RGB32);
    }
    lienzo.setDevicePixelRatio(proporcion);
    // A size of no pixels, or one too large to hold, leaves an empty picture
    // that is painted again next time.
    if (!lienzo.isNull()) {
        QPainter lapiz(&lienzo);
        pintor.pinta(lapiz, escena);
    }
    clave = std::move(nueva);
    valida = !lienzo.isNull();
    return lienzo;
}

void CacheEscena::vacia() {
    valida = false;
    clave = ClaveEscena();
}

} // namespace zul
