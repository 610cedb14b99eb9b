#include "salida/imagen_frame.h"

#include "analisis/textos.h"
#include "datos/nombres.h"
#include "escena/camara.h"
#include "escena/escena_frame.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace zul {

ImagenFrame::ImagenFrame(const Reproduccion& reproduccion, const Mapa& mapa,
                         const AspectoImagen& aspecto)
    : reproduccion(reproduccion), mapa(mapa), aspecto(aspecto) {
    flechas.ajustaA(aspecto.zoom);
    nombres = textosNombres(reproduccion.carrera().nombres);
    // The Director camera follows the leader, the overlays show the
    // standings and the kart labels give the leaders room first: each needs
    // the race analysed.
    if (aspecto.opciones.rotulos || aspecto.opciones.etiquetas ||
        aspecto.opciones.camara == Camara::Director) {
        analisis = std::make_unique<AnalisisCarrera>(reproduccion.carrera(), mapa);
    }
    if (aspecto.opciones.rotulos) {
        textos.nombres = nombres;
    }
    for (const QString& ruta : aspecto.depuracion) {
        depuraciones.push_back(leeDepuracion(ruta.toStdString()));
        depuraciones.back().compruebaCarrera(reproduccion.carrera().numJugadores,
                                             static_cast<long>(reproduccion.numeroFrames()));
    }
}

ImagenFrame::~ImagenFrame() = default;

const Rotulos& ImagenFrame::rotulos(long long k) {
    textos.frame = QStringLiteral("Paso %1 de %2").arg(k).arg(reproduccion.numeroFrames());
    textos.clasificacion.clear();
    if (analisis == nullptr || !aspecto.opciones.rotulos) {
        return textos;
    }
    const std::vector<Puesto> puestos = analisis->clasificacion(k);
    const std::size_t filas = std::min<std::size_t>(puestos.size(), kFilasRotulos);
    for (std::size_t f = 0; f < filas; ++f) {
        const Puesto& puesto = puestos[f];
        FilaRotulos fila;
        fila.posicion = puesto.posicion;
        fila.jugador = puesto.jugador;
        fila.nombre = puesto.jugador < textos.nombres.size() ? textos.nombres[puesto.jugador]
                                                             : QString::number(puesto.jugador);
        fila.vueltas = puesto.vueltas == 1 ? QStringLiteral("1 vuelta")
                                           : QStringLiteral("%1 vueltas").arg(puesto.vueltas);
        fila.diferencia = textoDiferencia(puesto);
        textos.clasificacion.append(fila);
    }
    return textos;
}

Escena ImagenFrame::escena(long long k) {
    Escena base;
    base.tamano = aspecto.tamano;
    base.nombres = nombres;
    // The map does not change while this draws: one revision of its cells.
    ponFondo(base, aspecto.zoom, aspecto.jugador, aspecto.opciones, mapa.filas, mapa.columnas,
             mapa.celdas, 0, &flechas);
    CapasEscena capas;
    if (aspecto.fantasma != nullptr) {
        capas.fantasma = aspecto.fantasma->capa(k, aspecto.jugador);
    }
    if (aspecto.opciones.rotulos) {
        capas.rotulos = &rotulos(k);
    }
    for (const Depuracion& d : depuraciones) {
        if (const TurnoDepuracion* turno = d.turnoDe(static_cast<long>(k), aspecto.desfase)) {
            capas.depuracion.append(turno);
        }
    }
    return escenaDeFrame(std::move(base), reproduccion, reproduccion.fotoFrame(k), analisis.get(),
                         estelas, std::move(capas));
}

QImage ImagenFrame::dibuja(long long k) {
    QImage imagen(aspecto.tamano, QImage::Format_RGB32);
    if (imagen.isNull()) {
        return imagen;
    }
    QPainter lienzo(&imagen);
    const Escena actual = escena(k);
    // The whole-track camera frames at a zoom of its own.
    flechas.ajustaA(encuadreDe(actual).zoom);
    pintor.pinta(lienzo, actual);
    return imagen;
}

} // namespace zul
