#include "salida/imagen_frame.h"

#include "analisis/textos.h"
#include "datos/nombres.h"
#include "escena/camara.h"
#include "reproduccion/disparos_recientes.h"

#include <QPainter>

#include <algorithm>

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
    textos.paso = QStringLiteral("Paso %1 de %2").arg(k).arg(reproduccion.numeroFrames());
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
    const Carrera& carrera = reproduccion.carrera();
    const Foto foto = reproduccion.fotoFrame(k);
    Escena escena;
    escena.tamano = aspecto.tamano;
    escena.zoom = aspecto.zoom;
    escena.mira = aspecto.jugador;
    escena.filas = mapa.filas;
    escena.columnas = mapa.columnas;
    escena.celdas = mapa.celdas;
    escena.posiciones.reserve(static_cast<qsizetype>(foto.karts.size()));
    escena.angulos.reserve(static_cast<qsizetype>(foto.karts.size()));
    for (const EstadoKart& kart : foto.karts) {
        escena.posiciones.append(kart.posicion);
        escena.angulos.append(kart.angulo);
    }
    for (std::size_t d = foto.primerDisparo; d < foto.finDisparos; ++d) {
        escena.iniciosRayos.append(carrera.disparos[d].inicio);
        escena.finesRayos.append(carrera.disparos[d].fin);
    }
    if (aspecto.opciones.disparosVisibles) {
        for (const DisparoReciente& d : disparosRecientes(reproduccion, k, kPasosRayoVisible)) {
            escena.rayosRecientes.append(
                {carrera.disparos[d.indice].inicio, carrera.disparos[d.indice].fin, d.edad});
        }
    }
    if ((aspecto.opciones.camara == Camara::Director || aspecto.opciones.etiquetas) &&
        analisis != nullptr) {
        const std::vector<Puesto> puestos = analisis->clasificacion(k);
        if (aspecto.opciones.camara == Camara::Director) {
            escena.lider = puestos.empty() ? -1 : puestos.front().jugador;
        }
        if (aspecto.opciones.etiquetas) {
            for (const Puesto& puesto : puestos) {
                escena.puestos.append(puesto.jugador);
            }
        }
    }
    escena.nombres = nombres;
    estelas.pon(foto.estela, foto.largoEstela, carrera.numJugadores);
    escena.estelas = &estelas;
    escena.flechas = &flechas;
    escena.opciones = aspecto.opciones;
    if (aspecto.fantasma != nullptr) {
        escena.fantasma = aspecto.fantasma->capa(k, aspecto.jugador);
    }
    if (aspecto.opciones.rotulos) {
        escena.rotulos = &rotulos(k);
    }
    for (const Depuracion& d : depuraciones) {
        if (const TurnoDepuracion* turno = d.turnoDe(static_cast<long>(k), aspecto.desfase)) {
            escena.depuracion.append(turno);
        }
    }
    return escena;
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
