#include "escena/etiquetas_karts.h"

#include "escena/camara.h"
#include "geometria/colores.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zul {

namespace {

// Names longer than this are cut, so that a label stays beside its kart.
constexpr int kLargoEtiqueta = 14;

// Labels grow with the picture, so they read on a projector too.
int altoLetra(QSize vista) {
    return std::clamp(std::min(vista.width(), vista.height()) / 36, 11, 32);
}

} // namespace

bool kartApinado(const Escena& escena, const Encuadre& encuadre, int k, double distancia) {
    const QPointF punto = encuadre.aPixel(escena.posiciones[k]);
    for (int otro = 0; otro < escena.posiciones.size(); ++otro) {
        if (otro == k) {
            continue;
        }
        const QPointF d = encuadre.aPixel(escena.posiciones[otro]) - punto;
        if (std::hypot(d.x(), d.y()) < distancia) {
            return true;
        }
    }
    return false;
}

QString textoEtiqueta(const Escena& escena, int k, bool apinado) {
    const QString nombre = k < escena.nombres.size() ? escena.nombres[k].trimmed() : QString();
    if (apinado || nombre.isEmpty()) {
        return QString::number(k);
    }
    return nombre.size() > kLargoEtiqueta ? nombre.left(kLargoEtiqueta - 1) + QChar(0x2026)
                                          : nombre;
}

void pintaEtiquetas(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    pintor.save();
    QFont letra = pintor.font();
    letra.setPixelSize(altoLetra(escena.tamano));
    letra.setBold(true);
    pintor.setFont(letra);
    const QFontMetricsF medida(letra);
    const double radio = radioDisco(encuadre.zoom);
    // Two karts closer than a line of text (or than their discs) would have
    // their names over each other.
    const double distancia = std::max(medida.height() * 2.0, 2.0 * radio + medida.height());
    const int cuantos = static_cast<int>(escena.posiciones.size());
    for (int k = 0; k < cuantos; ++k) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[k]);
        if (!dentroDeVista(punto, escena.tamano)) {
            continue;
        }
        const auto cajaDe = [&](const QString& texto) {
            const double ancho = medida.horizontalAdvance(texto) + 6.0;
            const double separacion = std::min(radio, 40.0) + 3.0;
            // To the right of the kart, or to its left where the right edge
            // of the picture would cut it.
            const double x = punto.x() + separacion + ancho > escena.tamano.width()
                                 ? punto.x() - separacion - ancho
                                 : punto.x() + separacion;
            return QRectF(x, punto.y() - medida.height() * 0.5, ancho, medida.height());
        };
        // A name that would lie over another kart gives way to the number.
        const auto cubreOtro = [&](const QRectF& caja) {
            for (int otro = 0; otro < cuantos; ++otro) {
                const QPointF centro = encuadre.aPixel(escena.posiciones[otro]);
                if (otro != k && caja.intersects(QRectF(centro.x() - radio, centro.y() - radio,
                                                        2.0 * radio, 2.0 * radio))) {
                    return true;
                }
            }
            return false;
        };
        QString texto = textoEtiqueta(escena, k, kartApinado(escena, encuadre, k, distancia));
        QRectF caja = cajaDe(texto);
        if (texto != QString::number(k) && cubreOtro(caja)) {
            texto = textoEtiqueta(escena, k, true);
            caja = cajaDe(texto);
        }
        pintor.setPen(Qt::NoPen);
        pintor.setBrush(QColor(0, 0, 0, 190));
        pintor.drawRect(caja);
        pintor.setPen(colorDisco(k));
        pintor.drawText(caja, Qt::AlignCenter, texto);
    }
    const int enfocado = jugadorEnfocado(escena);
    if (enfocado >= 0) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[enfocado]);
        if (dentroDeVista(punto, escena.tamano)) {
            const double anillo = std::min(radio, 200.0) + 4.0;
            pintor.setBrush(Qt::NoBrush);
            pintor.setPen(QPen(Qt::white, 3.0));
            pintor.drawEllipse(punto, anillo, anillo);
        }
    }
    pintor.restore();
}

} // namespace zul
