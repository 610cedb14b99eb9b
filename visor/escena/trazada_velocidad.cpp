#include "escena/trazada_velocidad.h"

#include "escena/estelas.h"
#include "escena/pintor_rotulos.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zul {

QColor colorVelocidad(double velocidad, double minima, double maxima) {
    double t = 0.5;
    if (maxima > minima && std::isfinite(velocidad)) {
        t = std::clamp((velocidad - minima) / (maxima - minima), 0.0, 1.0);
    }
    // Hue 240 (blue) for the slowest down to 0 (red) for the fastest.
    return QColor::fromHsvF(static_cast<float>((1.0 - t) * 240.0 / 360.0), 1.0f, 1.0f);
}

bool rangoVelocidad(const Estelas& estelas, int jugador, double& minima, double& maxima) {
    const int n = estelas.jugadores();
    if (n <= 0 || jugador < 0 || jugador >= n) {
        return false;
    }
    const std::vector<QPointF>& puntos = estelas.puntos();
    const std::size_t salto = static_cast<std::size_t>(n);
    minima = std::numeric_limits<double>::infinity();
    maxima = -minima;
    for (std::size_t k = static_cast<std::size_t>(jugador) + salto; k < puntos.size(); k += salto) {
        const QPointF d = puntos[k] - puntos[k - salto];
        const double v = std::hypot(d.x(), d.y());
        if (std::isfinite(v)) {
            minima = std::min(minima, v);
            maxima = std::max(maxima, v);
        }
    }
    return minima <= maxima;
}

void pintaTrazadaVelocidad(QPainter& pintor, const Estelas& estelas, int jugador,
                           const Encuadre& encuadre, QSize vista) {
    const int n = estelas.jugadores();
    if (n <= 0 || jugador < 0 || jugador >= n) {
        return;
    }
    double minima = 0.0;
    double maxima = 0.0;
    if (!rangoVelocidad(estelas, jugador, minima, maxima)) {
        return; // no step of the trail has a speed
    }
    const std::vector<QPointF>& puntos = estelas.puntos();
    const std::size_t salto = static_cast<std::size_t>(n);
    std::vector<double> velocidades;
    for (std::size_t k = static_cast<std::size_t>(jugador) + salto; k < puntos.size(); k += salto) {
        const QPointF d = puntos[k] - puntos[k - salto];
        velocidades.push_back(std::hypot(d.x(), d.y()));
    }
    const QRectF caja = cajaRecorte(vista);
    // Thick enough to read its colour at any zoom.
    const double grosor = std::clamp(encuadre.zoom * 0.3, 2.0, 6.0);
    std::size_t i = 0;
    for (std::size_t k = static_cast<std::size_t>(jugador) + salto; k < puntos.size();
         k += salto, ++i) {
        if (!std::isfinite(velocidades[i])) {
            continue;
        }
        QLineF tramo(encuadre.aPixel(puntos[k - salto]), encuadre.aPixel(puntos[k]));
        if (recortaSegmento(tramo, caja)) {
            pintor.setPen(QPen(colorVelocidad(velocidades[i], minima, maxima), grosor,
                               Qt::SolidLine, Qt::RoundCap));
            pintor.drawLine(tramo);
        }
    }
    // The karts are drawn next, with no outline.
    pintor.setPen(Qt::NoPen);
}

void pintaEscalaVelocidad(QPainter& pintor, const Estelas& estelas, int jugador, QSize vista) {
    double minima = 0.0;
    double maxima = 0.0;
    if (!rangoVelocidad(estelas, jugador, minima, maxima)) {
        return;
    }
    const int alto = altoLetraRotulos(vista.height());
    QFont letra = pintor.font();
    letra.setPixelSize(alto);
    pintor.setFont(letra);
    const QFontMetrics medidas(letra);
    const QLocale espanol(QLocale::Spanish);
    const QString desde = espanol.toString(minima, 'f', 2);
    const QString hasta = espanol.toString(maxima, 'f', 2) + QStringLiteral(" casillas/paso");
    const int margen = std::max(4, alto / 2);
    const int anchoBarra = std::max(60, 6 * alto);
    const QRect barra(margen + medidas.horizontalAdvance(desde) + margen,
                      vista.height() - margen - alto, anchoBarra, alto);
    const QRect fondo(0, barra.top() - margen / 2,
                      barra.right() + margen + medidas.horizontalAdvance(hasta) + margen,
                      alto + margen);
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(QColor(0, 0, 0, 170));
    pintor.drawRect(fondo);
    QLinearGradient degradado(barra.topLeft(), barra.topRight());
    for (int paradas = 0; paradas <= 4; ++paradas) {
        const double t = paradas / 4.0;
        degradado.setColorAt(t, colorVelocidad(t, 0.0, 1.0));
    }
    pintor.setBrush(degradado);
    pintor.drawRect(barra);
    pintor.setBrush(Qt::NoBrush);
    pintor.setPen(Qt::white);
    pintor.drawText(QRect(margen, barra.top(), barra.left() - 2 * margen, alto),
                    Qt::AlignRight | Qt::AlignVCenter, desde);
    pintor.drawText(QRect(barra.right() + margen, barra.top(), fondo.width(), alto),
                    Qt::AlignLeft | Qt::AlignVCenter, hasta);
    pintor.setPen(Qt::NoPen);
}

} // namespace zul
