#include "escena/escena_frame.h"

#include "reproduccion/disparos_recientes.h"

#include <utility>

namespace zul {

void ponFondo(Escena& escena, double zoom, int seguido, const OpcionesEscena& opciones, int filas,
              int columnas, std::string_view celdas, std::uint64_t revisionCeldas,
              const Flechas* flechas) {
    escena.zoom = zoom;
    escena.mira = seguido;
    escena.opciones = opciones;
    escena.filas = filas;
    escena.columnas = columnas;
    escena.celdas = celdas;
    escena.revisionCeldas = revisionCeldas;
    escena.flechas = flechas;
}

Escena escenaDeFrame(Escena base, const Reproduccion& reproduccion, const Foto& foto,
                     const AnalisisCarrera* analisis, Estelas& estelas, CapasEscena capas) {
    Escena escena = std::move(base);
    const Carrera& carrera = reproduccion.carrera();
    const long long k = foto.frame;
    escena.posiciones.clear();
    escena.angulos.clear();
    escena.vueltas.clear();
    for (const EstadoKart& kart : foto.karts) {
        escena.posiciones.append(kart.posicion);
        escena.angulos.append(kart.angulo);
        escena.vueltas.append(kart.vueltas);
    }
    escena.iniciosDisparos.clear();
    escena.finesDisparos.clear();
    for (std::size_t d = foto.primerDisparo; d < foto.finDisparos; ++d) {
        escena.iniciosDisparos.append(carrera.disparos[d].inicio);
        escena.finesDisparos.append(carrera.disparos[d].fin);
    }
    escena.disparosAnteriores.clear();
    if (escena.opciones.disparosVisibles && k >= 0) {
        for (const DisparoReciente& d : disparosRecientes(reproduccion, k, kPasosDisparoVisible)) {
            escena.disparosAnteriores.append(
                {carrera.disparos[d.indice].inicio, carrera.disparos[d.indice].fin, d.edad});
        }
    }
    // The Director camera follows the leader and the kart labels give the
    // leaders room first; nothing else needs the standings.
    escena.lider = -1;
    escena.puestos.clear();
    const bool director = escena.opciones.camara == Camara::Director;
    if ((director || escena.opciones.etiquetas) && analisis != nullptr && k >= 0 &&
        analisis->framesAnalizados() > 0) {
        const std::vector<Puesto> puestos = analisis->clasificacion(k);
        escena.lider = puestos.empty() ? -1 : puestos.front().jugador;
        if (escena.opciones.etiquetas) {
            for (const Puesto& puesto : puestos) {
                escena.puestos.append(puesto.jugador);
            }
        }
    }
    if (k >= 0) {
        estelas.pon(foto.estela, foto.largoEstela, carrera.numJugadores);
    } else {
        estelas.vacia();
    }
    escena.estelas = &estelas;
    escena.fantasma = std::move(capas.fantasma);
    escena.depuracion = std::move(capas.depuracion);
    escena.rotulos = capas.rotulos;
    return escena;
}

} // namespace zul
