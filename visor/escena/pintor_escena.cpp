#include "escena/pintor_escena.h"

#include "escena/capa_fantasma.h"
#include "escena/estelas.h"
#include "escena/etiquetas_karts.h"
#include "escena/flechas.h"
#include "escena/pintor_depuracion.h"
#include "escena/pintor_rotulos.h"
#include "escena/relleno_directo.h"
#include "escena/trazada_velocidad.h"
#include "geometria/colores.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace zul {

namespace {
const QColor kColorPista(108, 81, 81);
} // namespace

PintorEscena::PintorEscena() : lote(new QRectF[kCapacidadLote]) {}

PintorEscena::~PintorEscena() = default;

void PintorEscena::pinta(QPainter& pintor, const Escena& escena) {
    pintor.fillRect(QRect(QPoint(0, 0), escena.tamano), Qt::black);
    pintor.setPen(Qt::NoPen);
    const Encuadre encuadre = encuadreDe(escena);
    pintaPista(pintor, escena, encuadre);
    const bool trazada = escena.opciones.trazadaVelocidad && escena.estelas != nullptr;
    if (escena.opciones.estelas && escena.estelas != nullptr) {
        // Under the karts; the followed one's in its speed's colours instead.
        escena.estelas->pinta(pintor, encuadre, escena.tamano, trazada ? escena.mira : -1);
    }
    if (trazada) {
        pintaTrazadaVelocidad(pintor, *escena.estelas, escena.mira, encuadre, escena.tamano);
    }
    pintaFantasma(pintor, escena.fantasma, encuadre, escena.tamano); // under the race's karts
    pintaKarts(pintor, escena, encuadre);
    pintaRayos(pintor, escena, encuadre);
    if (escena.opciones.depuracion) {
        pintaDepuracion(pintor, escena, encuadre); // over the race, under the overlays
    }
    if (escena.opciones.rotulos) {
        pintaRotulos(pintor, escena, encuadre); // over everything
    }
    if (escena.opciones.etiquetas) {
        pintaEtiquetas(pintor, escena, encuadre); // over the overlays too, with the ring
    }
    if (trazada) {
        pintaEscalaVelocidad(pintor, *escena.estelas, escena.mira, escena.tamano);
    }
}

void PintorEscena::pintaPista(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    const Rango filasV = filasVisibles(encuadre, escena.filas, escena.tamano.height());
    const Rango columnasV = columnasVisibles(encuadre, escena.columnas, escena.tamano.width());
    if (filasV.vacio() || columnasV.vacio() || escena.celdas.empty()) {
        return;
    }
    pintor.setBrush(kColorPista);
    // The camera may frame at another zoom than the scene's (the whole track).
    if (encuadre.zoom < kZoomFlechas) {
        pintaBloques(pintor, escena, encuadre, filasV, columnasV, false);
    } else {
        if (escena.opciones.pistaCompleta) {
            pintaBloques(pintor, escena, encuadre, filasV, columnasV, true); // under the tiles
        }
        pintaFlechas(pintor, escena, encuadre, filasV, columnasV);
    }
}

void PintorEscena::pintaBloques(QPainter& pintor, const Escena& escena, const Encuadre& encuadre,
                                Rango filasV, Rango columnasV, bool soloSinFlecha) {
    const QSize vista = escena.tamano;
    const std::size_t ancho = static_cast<std::size_t>(escena.columnas);
    if (!soloSinFlecha) {
        RellenoDirecto directo(pintor, kColorPista.rgb());
        if (directo.listo()) {
            directo.rellena(encuadre, escena.celdas.data(), ancho, filasV, columnasV, vista);
            const std::vector<QRectF>& resto = directo.pendientes();
            if (!resto.empty()) {
                pintor.drawRects(resto.data(), static_cast<int>(resto.size()));
            }
            return;
        }
    }
    int enLote = 0;
    const auto guarda = [&](const QRectF& bloque) {
        // A full batch is drawn and reused, so no run is ever left out.
        if (enLote == kCapacidadLote) {
            pintor.drawRects(lote.get(), enLote);
            enLote = 0;
        }
        lote[static_cast<std::size_t>(enLote++)] = bloque;
    };
    for (int i = filasV.inicio; i < filasV.fin; ++i) {
        if (filaFueraDeVista(encuadre, i, vista)) {
            continue;
        }
        const char* fila = escena.celdas.data() + static_cast<std::size_t>(i) * ancho;
        if (!soloSinFlecha) {
            bloquesFila(encuadre, i, fila, columnasV, vista, guarda);
            continue;
        }
        // Cells with an arrow (and walls) are left to the tiles: one block per
        // run of direction-less track cells.
        int j = columnasV.inicio;
        while (j < columnasV.fin) {
            if (fila[j] == kMuro || baldosaDe(fila[j]) != SinBaldosa) {
                ++j;
                continue;
            }
            const int inicio = j;
            while (j < columnasV.fin && fila[j] != kMuro && baldosaDe(fila[j]) == SinBaldosa) {
                ++j;
            }
            const QRectF bloque = rectanguloTramo(encuadre, i, Tramo{inicio, j - 1}, vista);
            if (!bloque.isEmpty()) {
                guarda(bloque);
            }
        }
    }
    if (enLote > 0) {
        pintor.drawRects(lote.get(), enLote);
    }
}

void PintorEscena::pintaFlechas(QPainter& pintor, const Escena& escena, const Encuadre& encuadre,
                                Rango filasV, Rango columnasV) {
    if (escena.flechas == nullptr) {
        return;
    }
    const QSize vista = escena.tamano;
    const std::size_t ancho = static_cast<std::size_t>(escena.columnas);
    for (int i = filasV.inicio; i < filasV.fin; ++i) {
        // The visible ranges lie inside the grid, so its cells are read directly.
        const char* fila = escena.celdas.data() + static_cast<std::size_t>(i) * ancho;
        for (int j = columnasV.inicio; j < columnasV.fin; ++j) {
            const Baldosa b = baldosaDe(fila[j]);
            if (b == SinBaldosa) {
                continue;
            }
            const QPixmap& baldosa = escena.flechas->flecha(b);
            QPoint esquina;
            if (!baldosa.isNull() &&
                esquinaBaldosa(encuadre, i, j, baldosa.size(), vista, esquina)) {
                pintor.drawPixmap(esquina, baldosa);
            }
        }
    }
}

void PintorEscena::pintaKarts(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    const QPen lineaRumbo(Qt::black, 0, Qt::SolidLine);
    const QRectF caja = cajaRecorte(escena.tamano);
    const double radio = radioDisco(encuadre.zoom);
    const double largo = largoRumbo(encuadre.zoom);
    const int cuantos = static_cast<int>(std::min(escena.posiciones.size(), escena.angulos.size()));
    for (int k = 0; k < cuantos; ++k) {
        pintor.setBrush(colorDisco(k));
        const QPointF punto = encuadre.aPixel(escena.posiciones[k]);
        // A disc whose centre lies outside the picture is not drawn.
        if (dentroDeVista(punto, escena.tamano)) {
            pintor.drawEllipse(
                QRectF(punto.x() - radio, punto.y() - radio, 2.0 * radio, 2.0 * radio));
        }
        pintor.setBrush(Qt::black);
        pintor.setPen(lineaRumbo);
        QLineF rumbo(punto, puntaRumbo(punto, escena.angulos[k], largo));
        if (recortaSegmento(rumbo, caja)) {
            pintor.drawLine(rumbo);
        }
        pintor.setPen(Qt::NoPen);
    }
}

void PintorEscena::pintaRayos(QPainter& pintor, const Escena& escena, const Encuadre& encuadre) {
    const int cuantos =
        static_cast<int>(std::min(escena.iniciosDisparos.size(), escena.finesDisparos.size()));
    const QRectF caja = cajaRecorte(escena.tamano);
    const bool visibles = escena.opciones.disparosVisibles;
    const double grosor = visibles ? std::clamp(encuadre.zoom * 0.4, 3.0, 8.0) : 0.0;
    if (visibles) {
        // Older shots first and fainter, so the newest lie on top.
        for (int edad = kPasosDisparoVisible - 1; edad >= 1; --edad) {
            QColor color(Qt::yellow);
            color.setAlphaF(1.0f - static_cast<float>(edad) / kPasosDisparoVisible);
            pintor.setPen(QPen(color, grosor, Qt::SolidLine, Qt::RoundCap));
            for (const DisparoAnterior& reciente : escena.disparosAnteriores) {
                QLineF disparo(encuadre.aPixel(reciente.inicio), encuadre.aPixel(reciente.fin));
                if (reciente.edad == edad && recortaSegmento(disparo, caja)) {
                    pintor.drawLine(disparo);
                }
            }
        }
    }
    if (cuantos == 0) {
        pintor.setPen(Qt::NoPen);
        return;
    }
    pintor.setPen(visibles ? QPen(Qt::yellow, grosor, Qt::SolidLine, Qt::RoundCap)
                           : QPen(Qt::yellow, 0, Qt::SolidLine));
    for (int k = 0; k < cuantos; ++k) {
        QLineF disparo(encuadre.aPixel(escena.iniciosDisparos[k]),
                       encuadre.aPixel(escena.finesDisparos[k]));
        if (recortaSegmento(disparo, caja)) {
            pintor.drawLine(disparo);
        }
    }
}

} // namespace zul
