#include "escena/pintor_rotulos.h"

#include "escena/rotulos.h"
#include "geometria/colores.h"
#include "geometria/geometria.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace zul {

namespace {

// Dark, slightly see-through boxes keep the texts readable over any track.
const QColor kFondo(0, 0, 0, 170);
const QColor kTexto(240, 240, 240);

QFont letraDe(int alto, bool negrita = false) {
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setPixelSize(alto);
    letra.setBold(negrita);
    return letra;
}

// The disc colours are pale enough to read on the dark boxes.
QColor colorTexto(int jugador) {
    return colorDisco(jugador);
}

void pintaNombres(QPainter& pintor, const Escena& escena, const Encuadre& encuadre, int alto) {
    const Rotulos& rotulos = *escena.rotulos;
    const QFontMetrics medidas(pintor.font());
    const double radio = radioDisco(encuadre.zoom);
    const int margen = std::max(2, alto / 6);
    const int cuantos =
        static_cast<int>(std::min(escena.posiciones.size(), rotulos.nombres.size()));
    for (int k = 0; k < cuantos; ++k) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[k]);
        // Like the discs: a kart off the picture gets no name.
        if (!dentroDeVista(punto, escena.tamano) || rotulos.nombres[k].isEmpty()) {
            continue;
        }
        const QString& nombre = rotulos.nombres[k];
        const int ancho = medidas.horizontalAdvance(nombre);
        // Above and to the right of the disc, where it hides the least track;
        // to the left when the right would cut the name at the picture's edge.
        const double anchoCaja = ancho + 2 * margen;
        double x = punto.x() + radio + margen;
        if (x + anchoCaja > escena.tamano.width()) {
            x = std::max(0.0, punto.x() - radio - margen - anchoCaja);
        }
        const QRectF caja(x, punto.y() - radio - medidas.height(), anchoCaja, medidas.height());
        pintor.fillRect(caja, kFondo);
        pintor.setPen(colorTexto(k));
        pintor.drawText(caja.adjusted(margen, 0, -margen, 0), Qt::AlignLeft | Qt::AlignVCenter,
                        nombre);
    }
}

void pintaPaso(QPainter& pintor, const Rotulos& rotulos, int alto) {
    if (rotulos.paso.isEmpty()) {
        return;
    }
    const QFontMetrics medidas(pintor.font());
    const int margen = std::max(2, alto / 3);
    const QRectF caja(margen, margen, medidas.horizontalAdvance(rotulos.paso) + 2 * margen,
                      medidas.height() + margen);
    pintor.fillRect(caja, kFondo);
    pintor.setPen(kTexto);
    pintor.drawText(caja, Qt::AlignCenter, rotulos.paso);
}

void pintaClasificacion(QPainter& pintor, const Rotulos& rotulos, QSize tamano, int alto) {
    const int filas = std::min<int>(static_cast<int>(rotulos.clasificacion.size()), kFilasRotulos);
    if (filas == 0) {
        return;
    }
    const QFontMetrics medidas(pintor.font());
    const int margen = std::max(2, alto / 3);
    const int separacion = std::max(4, alto / 2);
    // Column widths: the widest text of each column.
    int anchoPos = 0, anchoNombre = 0, anchoVueltas = 0, anchoDiferencia = 0;
    for (int f = 0; f < filas; ++f) {
        const FilaRotulos& fila = rotulos.clasificacion[f];
        anchoPos = std::max(anchoPos, medidas.horizontalAdvance(QString::number(fila.posicion)));
        anchoNombre = std::max(anchoNombre, medidas.horizontalAdvance(fila.nombre));
        anchoVueltas = std::max(anchoVueltas, medidas.horizontalAdvance(fila.vueltas));
        anchoDiferencia = std::max(anchoDiferencia, medidas.horizontalAdvance(fila.diferencia));
    }
    // A very long name is cut rather than pushing the box off the picture.
    const int anchoMaximoNombre = std::max(alto * 4, tamano.width() / 3);
    anchoNombre = std::min(anchoNombre, anchoMaximoNombre);
    const int ancho =
        anchoPos + anchoNombre + anchoVueltas + anchoDiferencia + 3 * separacion + 2 * margen;
    const int altoFila = medidas.height();
    const QRectF caja(tamano.width() - margen - ancho, margen, ancho, altoFila * filas + margen);
    pintor.fillRect(caja, kFondo);
    double y = caja.top() + margen / 2.0;
    for (int f = 0; f < filas; ++f, y += altoFila) {
        const FilaRotulos& fila = rotulos.clasificacion[f];
        double x = caja.left() + margen;
        pintor.setPen(kTexto);
        pintor.drawText(QRectF(x, y, anchoPos, altoFila), Qt::AlignRight | Qt::AlignVCenter,
                        QString::number(fila.posicion));
        x += anchoPos + separacion;
        pintor.setPen(colorTexto(fila.jugador));
        pintor.drawText(QRectF(x, y, anchoNombre, altoFila), Qt::AlignLeft | Qt::AlignVCenter,
                        medidas.horizontalAdvance(fila.nombre) > anchoNombre
                            ? medidas.elidedText(fila.nombre, Qt::ElideRight, anchoNombre)
                            : fila.nombre);
        x += anchoNombre + separacion;
        pintor.setPen(kTexto);
        pintor.drawText(QRectF(x, y, anchoVueltas, altoFila), Qt::AlignRight | Qt::AlignVCenter,
                        fila.vueltas);
        x += anchoVueltas + separacion;
        pintor.drawText(QRectF(x, y, anchoDiferencia, altoFila), Qt::AlignLeft | Qt::AlignVCenter,
                        fila.diferencia);
    }
}

} // namespace

int altoLetraRotulos(int altoImagen) {
    return std::clamp(altoImagen / 40, 10, 48);
}

void pintaRotulos(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    if (escena.rotulos == nullptr) {
        return;
    }
    pintor.save();
    pintor.setClipRect(QRect(QPoint(0, 0), escena.tamano));
    pintor.setRenderHint(QPainter::TextAntialiasing);
    const int alto = altoLetraRotulos(escena.tamano.height());
    pintor.setFont(letraDe(alto));
    // With the kart labels on, each kart is named by them already.
    if (!escena.opciones.etiquetas) {
        pintaNombres(pintor, escena, encuadre, alto);
    }
    pintaPaso(pintor, *escena.rotulos, alto);
    pintaClasificacion(pintor, *escena.rotulos, escena.tamano, alto);
    pintor.restore();
}

} // namespace zul
