#include "salida/video_carrera.h"

#include "texto/texto_imprimible.h"

namespace zul {

bool compruebaPedido(const Reproduccion& reproduccion, PedidoVideo& pedido, QString& error) {
    const long long frames = reproduccion.numeroFrames();
    if (frames == 0) {
        error = QStringLiteral("la carrera no tiene ningún paso que grabar");
        return false;
    }
    OpcionesVideo& video = pedido.video;
    if (video.ultimo < 0) {
        video.ultimo = frames - 1;
    }
    for (const long long frame : {video.primero, video.ultimo}) {
        if (frame >= frames) {
            error = QStringLiteral("la carrera tiene %1 (del 0 al %2); no existe el paso %3")
                        .arg(cantidad(frames, "paso", "pasos"))
                        .arg(frames - 1)
                        .arg(frame);
            return false;
        }
    }
    if (video.ultimo < video.primero) {
        error = QStringLiteral("el último paso (%1) es anterior al primero (%2)")
                    .arg(video.ultimo)
                    .arg(video.primero);
        return false;
    }
    const int jugadores = reproduccion.carrera().numJugadores;
    if (pedido.aspecto.jugador < 0 || pedido.aspecto.jugador >= jugadores) {
        error = QStringLiteral("la carrera tiene %1 (del 0 al %2); no existe el jugador %3")
                    .arg(cantidad(jugadores, "jugador", "jugadores"))
                    .arg(jugadores - 1)
                    .arg(pedido.aspecto.jugador);
        return false;
    }
    return true;
}

ResultadoVideo exportaCarrera(ImagenFrame& dibujo, const PedidoVideo& pedido,
                              const InformaProgreso& informa, const std::atomic<bool>* cancelar) {
    OpcionesVideo opciones = pedido.video;
    opciones.tamano = pedido.aspecto.tamano;
    return exportaVideo(
        opciones, [&dibujo](long long frame) { return dibujo.dibuja(frame); }, informa, cancelar);
}

} // namespace zul
