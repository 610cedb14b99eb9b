#include "escena/capa_fantasma.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace zul {

void pintaFantasma(QPainter& pintor, const CapaFantasma& capa, const Encuadre& encuadre,
                   QSize vista) {
    if (capa.karts.isEmpty()) {
        return;
    }
    pintor.save();
    const double radio = radioDisco(encuadre.zoom);
    const double largo = largoRumbo(encuadre.zoom);
    const QRectF caja = cajaRecorte(vista);
    QFont letra = pintor.font();
    letra.setPixelSize(std::clamp(std::min(vista.width(), vista.height()) / 40, 10, 28));
    letra.setItalic(true);
    pintor.setFont(letra);
    const QFontMetricsF medida(letra);
    for (const KartFantasma& kart : capa.karts) {
        const QPointF punto = encuadre.aPixel(kart.posicion);
        if (!dentroDeVista(punto, vista)) {
            continue;
        }
        QColor relleno = kart.color;
        relleno.setAlpha(kOpacidadFantasma);
        pintor.setBrush(relleno);
        QPen contorno(kart.color, std::clamp(radio / 6.0, 1.5, 4.0), Qt::DashLine);
        pintor.setPen(contorno);
        pintor.drawEllipse(punto, radio, radio);
        QLineF rumbo(punto, puntaRumbo(punto, kart.angulo, largo));
        if (recortaSegmento(rumbo, caja)) {
            pintor.setPen(QPen(kart.color, 0, Qt::DashLine));
            pintor.drawLine(rumbo);
        }
        if (!kart.nombre.isEmpty()) {
            // Under the disc, so it never lies where the race's own labels go.
            const double ancho = medida.horizontalAdvance(kart.nombre);
            const QRectF texto(punto.x() - ancho / 2.0, punto.y() + std::min(radio, 40.0) + 2.0,
                               ancho, medida.height());
            pintor.setPen(kart.color);
            pintor.drawText(texto, Qt::AlignCenter, kart.nombre);
        }
    }
    pintor.restore();
}

} // namespace zul
