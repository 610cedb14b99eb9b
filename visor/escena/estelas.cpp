#include "escena/estelas.h"

#include "geometria/colores.h"

#include <QPainter>
#include <QPen>

#include <cstring>

namespace zul {

void Estelas::pon(const QPointF* puntos, std::size_t cuantos, int jugadores) {
    if (puntos == nullptr || jugadores <= 0) {
        vacia();
        return;
    }
    // The same trails again, as at every repaint of a paused replay, keep
    // the revision, and with it the kept picture.
    if (jugadores == n && cuantos == datos.size() &&
        (cuantos == 0 || std::memcmp(puntos, datos.data(), cuantos * sizeof(QPointF)) == 0)) {
        return;
    }
    datos.assign(puntos, puntos + cuantos);
    n = jugadores;
    ++cambios;
}

void Estelas::vacia() {
    if (n == 0 && datos.empty()) {
        return;
    }
    datos.clear();
    n = 0;
    ++cambios;
}

void Estelas::pinta(QPainter& pintor, const Encuadre& encuadre, QSize vista, int salvo) const {
    if (n <= 0) {
        return;
    }
    const std::size_t jugadoresN = static_cast<std::size_t>(n);
    const QRectF caja = cajaRecorte(vista);
    for (std::size_t j = 0; j < jugadoresN; ++j) {
        if (static_cast<int>(j) == salvo) {
            continue;
        }
        pintor.setPen(QPen(colorDisco(static_cast<int>(j)), 0, Qt::SolidLine));
        for (std::size_t k = j + jugadoresN; k < datos.size(); k += jugadoresN) {
            QLineF tramo(encuadre.aPixel(datos[k - jugadoresN]), encuadre.aPixel(datos[k]));
            if (recortaSegmento(tramo, caja)) {
                pintor.drawLine(tramo);
            }
        }
    }
    pintor.setPen(Qt::NoPen);
}

} // namespace zul
