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

std::vector<EtiquetaColocada> etiquetasKarts(const Escena& escena, const Encuadre& encuadre,
                                             const QFont& letra) {
    const QFontMetricsF medida(letra);
    const double radio = radioDisco(encuadre.zoom);
    // Two karts closer than a line of text (or than their discs) would have
    // their names over each other: such karts are labelled with numbers.
    const double distancia = std::max(medida.height() * 2.0, 2.0 * radio + medida.height());
    const int cuantos = static_cast<int>(escena.posiciones.size());
    std::vector<PedidoEtiqueta> pedidos;
    const int seguido = seguidoEnCamara(escena);
    for (const int k : prioridadEtiquetas(seguido, escena.puestos, cuantos)) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[k]);
        if (!dentroDeVista(punto, escena.tamano)) {
            continue;
        }
        const QString corto = QString::number(k);
        // The followed kart, served first, asks for its name even in a crowd.
        const QString texto =
            textoEtiqueta(escena, k, k != seguido && kartApinado(escena, encuadre, k, distancia));
        pedidos.push_back({k, punto, texto == corto ? QString() : texto, corto});
    }
    ReglasEtiquetas reglas;
    reglas.tamano = QSizeF(escena.tamano);
    reglas.alto = medida.height();
    reglas.relleno = 3.0;
    reglas.separacion = std::min(radio, 40.0) + 3.0;
    reglas.radio = radio;
    return colocaEtiquetas(pedidos, reglas,
                           [&](const QString& texto) { return medida.horizontalAdvance(texto); });
}

QFont letraEtiquetas(const QFont& base, QSize vista) {
    QFont letra = base;
    letra.setPixelSize(altoLetra(vista));
    letra.setBold(true);
    return letra;
}

void pintaEtiquetas(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    pintor.save();
    const QFont letra = letraEtiquetas(pintor.font(), escena.tamano);
    pintor.setFont(letra);
    const double radio = radioDisco(encuadre.zoom);
    for (const EtiquetaColocada& etiqueta : etiquetasKarts(escena, encuadre, letra)) {
        pintor.setPen(Qt::NoPen);
        pintor.setBrush(QColor(0, 0, 0, 190));
        pintor.drawRect(etiqueta.caja);
        pintor.setPen(colorDisco(etiqueta.jugador));
        pintor.drawText(etiqueta.caja, Qt::AlignCenter, etiqueta.texto);
    }
    const int seguido = seguidoEnCamara(escena);
    if (seguido >= 0) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[seguido]);
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
