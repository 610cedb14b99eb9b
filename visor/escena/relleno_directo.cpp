#include "escena/relleno_directo.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zul {

namespace {

// The painter's raster engine draws a rectangle of drawRects as a thick line
// through the middle of its height, turned upright, and fills the pixels whose
// centres that line covers. Its arithmetic is followed step by step, because
// on half-pixel edges its rounding decides which pixels go. The rows of a
// block come from its height and width alone; its columns also from where it
// starts.

bool mismo26Dot6(double a, double b) {
    return static_cast<int>(a * 64) == static_cast<int>(b * 64);
}

} // namespace

RellenoDirecto::RellenoDirecto(QPainter& pintor, QRgb color) : pixel(color | 0xff000000u) {
    QPaintDevice* dispositivo = pintor.device();
    if (dispositivo == nullptr || dispositivo->devType() != QInternal::Image ||
        !pintor.isActive() || pintor.hasClipping() || pintor.pen().style() != Qt::NoPen ||
        !pintor.deviceTransform().isIdentity() || pintor.opacity() != 1.0 ||
        pintor.compositionMode() != QPainter::CompositionMode_SourceOver ||
        pintor.testRenderHint(QPainter::Antialiasing)) {
        return;
    }
    auto* destino = static_cast<QImage*>(dispositivo);
    const QImage::Format formato = destino->format();
    if (formato != QImage::Format_RGB32 && formato != QImage::Format_ARGB32 &&
        formato != QImage::Format_ARGB32_Premultiplied) {
        return;
    }
    if (destino->devicePixelRatio() != 1.0) {
        return;
    }
    // The painter already holds the image alone, so this never copies it;
    // if it did, the painter would go on drawing into the other copy.
    const uchar* antes = destino->constBits();
    bits = destino->bits();
    if (bits == nullptr || bits != antes) {
        bits = nullptr;
        return;
    }
    imagen = destino;
    salto = destino->bytesPerLine();
    ancho = destino->width();
    alto = destino->height();
}

void RellenoDirecto::rellena(const Encuadre& encuadre, const char* celdas, std::size_t columnasMapa,
                             Rango filas, Rango columnas, QSize vista) {
    if (columnas.vacio()) {
        return;
    }
    // rectanguloTramo's left and right edges, from the first column to one
    // past the last, where a run may end.
    const double anchoVista = vista.width() + 1.0;
    const std::size_t cuantas = static_cast<std::size_t>(columnas.fin - columnas.inicio) + 1;
    izquierdas.resize(cuantas);
    derechas.resize(cuantas);
    for (std::size_t k = 0; k < cuantas; ++k) {
        const double x = encuadre.X(columnas.inicio + static_cast<int>(k));
        izquierdas[k] = std::clamp(x, -1.0, anchoVista);
        derechas[k] = std::clamp(std::ceil(x), -1.0, anchoVista);
    }
    for (int i = filas.inicio; i < filas.fin; ++i) {
        if (!filaFueraDeVista(encuadre, i, vista)) {
            rellenaFila(encuadre, i, celdas + static_cast<std::size_t>(i) * columnasMapa, columnas,
                        vista);
        }
    }
}

void RellenoDirecto::rellenaFila(const Encuadre& encuadre, int i, const char* fila, Rango columnas,
                                 QSize vista) {
    // The numbers of rectanguloTramo and bloquesFila, with the row's own
    // worked out once.
    const double altoVista = vista.height() + 1.0;
    arriba = std::clamp(encuadre.Y(i), -1.0, altoVista);
    const double abajo = std::clamp(encuadre.Y(i) + std::ceil(encuadre.zoom), -1.0, altoVista);
    if (!(abajo > arriba)) {
        return;
    }
    altura = abajo - arriba;
    medioY = (arriba + (arriba + altura)) * 0.5f;
    // The engine's own rounding was checked on blocks inside the image; at
    // its edges it clips first, which this does not follow.
    filaDentro = arriba >= 0.0 && arriba + altura <= alto;
    ultima = Vertical{};
    ultima.ancho = std::nan("");
    const auto columna = [&](int j) { return static_cast<std::size_t>(j - columnas.inicio); };

    bool hay = false;
    double x = 0.0;
    double w = 0.0;
    recorreTramos(fila, columnas, [&](Tramo tramo) {
        const double izquierda = izquierdas[columna(tramo.inicio)];
        const double derecha = derechas[columna(tramo.fin + 1)];
        if (!(derecha > izquierda)) {
            return;
        }
        const double anchoTramo = derecha - izquierda;
        if (hay && izquierda <= x + w) {
            w = std::max(x + w, izquierda + anchoTramo) - x;
            return;
        }
        if (hay) {
            rellenaBloque(x, w);
        }
        x = izquierda;
        w = anchoTramo;
        hay = true;
    });
    if (hay) {
        rellenaBloque(x, w);
    }
}

void RellenoDirecto::rellenaBloque(double x, double w) {
    if (!filaDentro || !(x >= 0.0 && x + w <= ancho) || w <= 0 || altura <= 0) {
        resto.push_back(QRectF(x, arriba, w, altura));
        return;
    }
    // The middles of the left and right sides; they share their y.
    const double ax = (x + x) * 0.5f;
    const double bx = ((x + w) + (x + w)) * 0.5f;
    if (QPointF(ax, medioY) == QPointF(bx, medioY)) {
        resto.push_back(QRectF(x, arriba, w, altura));
        return;
    }
    const double centro = (ax + bx) * 0.5f;
    const double dx = std::abs(bx - ax) * 0.5f;
    if (!(w == ultima.ancho && dx == ultima.dx)) {
        Vertical v;
        v.ancho = w;
        v.dx = dx;
        const double razon = altura / w;
        const double dy = razon * dx;
        const double sube = medioY - dy;
        const double baja = medioY + dy;
        v.valido = sube <= baja;
        if (v.valido) {
            v.medio = 0.5f * (1 / razon) * (baja - sube);
            v.plano = mismo26Dot6(sube, baja);
            if (!v.plano) {
                v.y0 = static_cast<int>(sube + 0.5);
                v.y1 = static_cast<int>(baja + 0.5);
            }
        }
        ultima = v;
    }
    if (!ultima.valido) {
        resto.push_back(QRectF(x, arriba, w, altura));
        return;
    }
    const double izquierda = centro - ultima.medio;
    const double derecha = centro + ultima.medio;
    if (ultima.plano || mismo26Dot6(izquierda, derecha)) {
        return; // the engine draws nothing
    }
    const int x0 = std::clamp(static_cast<int>(izquierda + 0.5), 0, ancho);
    const int x1 = std::clamp(static_cast<int>(derecha + 0.5), 0, ancho);
    const int y0 = std::clamp(ultima.y0, 0, alto);
    const int y1 = std::clamp(ultima.y1, 0, alto);
    for (int y = y0; y < y1; ++y) {
        QRgb* linea = reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * salto);
        std::fill(linea + x0, linea + x1, pixel);
    }
}

} // namespace zul
