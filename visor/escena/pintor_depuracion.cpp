#include "escena/pintor_depuracion.h"

#include "datos/depuracion.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace zul {

namespace {

const QColor kColorOrden(255, 255, 255);
const QColor kColorDisparo(255, 60, 60);
// Past this many pixels a circle or a text is far off the picture.
constexpr double kLejos = 1e6;

bool finito(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

bool cerca(QPointF p, double margen, QSize vista) {
    return finito(p) && p.x() > -margen && p.y() > -margen && p.x() < vista.width() + margen &&
           p.y() < vista.height() + margen;
}

void linea(QPainter& pintor, QPointF a, QPointF b, const QRectF& caja) {
    QLineF l(a, b);
    if (recortaSegmento(l, caja)) {
        pintor.drawLine(l);
    }
}

// The command as an arrow: its shaft and two barbs.
void flecha(QPainter& pintor, QPointF desde, QPointF hasta, const QRectF& caja, double zoom) {
    linea(pintor, desde, hasta, caja);
    const QLineF eje(hasta, desde);
    if (eje.length() < 2.0) {
        return;
    }
    const double barba = std::clamp(zoom * 0.4, 4.0, 12.0);
    for (double giro : {25.0, -25.0}) {
        QLineF b = QLineF::fromPolar(barba, eje.angle() + giro);
        b.translate(hasta);
        linea(pintor, b.p1(), b.p2(), caja);
    }
}

} // namespace

void pintaDepuracion(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    if (escena.depuracion.isEmpty()) {
        return;
    }
    const QSize vista = escena.tamano;
    const QRectF caja = cajaRecorte(vista);
    const double z = encuadre.zoom;
    pintor.save();
    pintor.setBrush(Qt::NoBrush);
    QFont letra = pintor.font();
    letra.setPixelSize(std::clamp(static_cast<int>(z * 0.8), 10, 24));
    pintor.setFont(letra);
    for (const TurnoDepuracion* turno : escena.depuracion) {
        if (turno == nullptr) {
            continue;
        }
        for (const DibujoDepuracion& d : turno->dibujos) {
            pintor.setPen(QPen(QColor::fromRgb(d.color), 0));
            const QPointF p = encuadre.aPixel(QPointF(d.a, d.b));
            switch (d.tipo) {
            case DibujoDepuracion::Linea:
                linea(pintor, p, encuadre.aPixel(QPointF(d.c, d.d)), caja);
                break;
            case DibujoDepuracion::Circulo: {
                const double r = std::abs(d.c) * z;
                if (std::isfinite(r) && r < kLejos && cerca(p, r, vista)) {
                    pintor.drawEllipse(p, r, r);
                }
                break;
            }
            case DibujoDepuracion::Texto:
                if (cerca(p, kLejos / 1000, vista)) {
                    pintor.drawText(
                        p, QString::fromUtf8(d.texto.data(), static_cast<int>(d.texto.size())));
                }
                break;
            }
        }
        if (turno->id < 0 || turno->id >= escena.posiciones.size()) {
            continue;
        }
        const QPointF kart = encuadre.aPixel(escena.posiciones[turno->id]);
        // Force 1 reaches one cell past the disc's edge, so the arrow shows at any zoom.
        const double escala = radioDisco(z) + z;
        const QPointF punta = kart + QPointF(turno->ordenX, turno->ordenY) * escala;
        // The ring first: the arrow stays whole over it.
        if (turno->disparo && cerca(kart, 100, vista)) {
            const double r = std::max(radioDisco(z) + 4.0, 10.0);
            pintor.setPen(QPen(kColorDisparo, 3));
            pintor.drawEllipse(kart, r, r);
        }
        pintor.setPen(QPen(kColorOrden, 2));
        flecha(pintor, kart, punta, caja, z);
    }
    pintor.restore();
}

} // namespace zul
