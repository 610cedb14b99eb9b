#include "escena/pintor_rotulos.h"

#include "escena/camara.h"
#include "escena/colocacion_etiquetas.h"
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
    // The followed kart and the leaders get room first.
    QVector<int> puestos;
    for (const FilaRotulos& fila : rotulos.clasificacion) {
        puestos.append(fila.jugador);
    }
    std::vector<PedidoEtiqueta> pedidos;
    for (const int k : prioridadEtiquetas(seguidoEnCamara(escena), puestos, cuantos)) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[k]);
        // Like the discs: a kart off the picture gets no name.
        if (!dentroDeVista(punto, escena.tamano) || rotulos.nombres[k].isEmpty()) {
            continue;
        }
        pedidos.push_back({k, punto, rotulos.nombres[k], QString::number(k)});
    }
    ReglasEtiquetas reglas;
    reglas.tamano = QSizeF(escena.tamano);
    reglas.alto = medidas.height();
    reglas.relleno = margen;
    reglas.separacion = radio + margen;
    reglas.radio = radio;
    // Above and to the right of the disc, where it hides the least track.
    reglas.arribaPrimero = true;
    const auto colocadas = colocaEtiquetas(pedidos, reglas, [&](const QString& texto) {
        return static_cast<double>(medidas.horizontalAdvance(texto));
    });
    for (const EtiquetaColocada& etiqueta : colocadas) {
        pintor.fillRect(etiqueta.caja, kFondo);
        pintor.setPen(colorTexto(etiqueta.jugador));
        pintor.drawText(etiqueta.caja.adjusted(margen, 0, -margen, 0),
                        Qt::AlignLeft | Qt::AlignVCenter, etiqueta.texto);
    }
}

void pintaFrame(QPainter& pintor, const Rotulos& rotulos, int alto) {
    if (rotulos.frame.isEmpty()) {
        return;
    }
    const QFontMetrics medidas(pintor.font());
    const int margen = std::max(2, alto / 3);
    const QRectF caja(margen, margen, medidas.horizontalAdvance(rotulos.frame) + 2 * margen,
                      medidas.height() + margen);
    pintor.fillRect(caja, kFondo);
    pintor.setPen(kTexto);
    pintor.drawText(caja, Qt::AlignCenter, rotulos.frame);
}

// The standings stand in a column at the right edge, or at the left one when
// the right would hide the followed kart (`protegido`, in pixels); where
// neither side is clear, they lose rows from the bottom until the kart shows.
void pintaClasificacion(QPainter& pintor, const Rotulos& rotulos, QSize tamano, int alto,
                        const QRectF& protegido) {
    int filas = std::min<int>(static_cast<int>(rotulos.clasificacion.size()), kFilasRotulos);
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
    const auto cajaCon = [&](int cuantas, bool izquierda) {
        return QRectF(izquierda ? margen : tamano.width() - margen - ancho, margen, ancho,
                      altoFila * cuantas + margen);
    };
    bool izquierda = false;
    if (!protegido.isEmpty() && cajaCon(filas, false).intersects(protegido)) {
        izquierda = !cajaCon(filas, true).intersects(protegido);
        while (!izquierda && filas > 1 && cajaCon(filas, false).intersects(protegido)) {
            --filas;
        }
    }
    const QRectF caja = cajaCon(filas, izquierda);
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
    // The followed kart with room for its name beside it.
    QRectF protegido;
    const int seguido = seguidoEnCamara(escena);
    if (seguido >= 0 && seguido < escena.posiciones.size()) {
        const QPointF punto = encuadre.aPixel(escena.posiciones[seguido]);
        const double r = radioDisco(encuadre.zoom) + alto;
        protegido = QRectF(punto.x() - r, punto.y() - r, 2.0 * r, 2.0 * r);
    }
    pintaFrame(pintor, *escena.rotulos, alto);
    pintaClasificacion(pintor, *escena.rotulos, escena.tamano, alto, protegido);
    pintor.restore();
}

} // namespace zul
