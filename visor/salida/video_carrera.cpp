#include "salida/video_carrera.h"

#include "salida/limites_carrera.h"

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
    if (!existeFrame(reproduccion, video.primero, error) ||
        !existeFrame(reproduccion, video.ultimo, error)) {
        return false;
    }
    if (video.ultimo < video.primero) {
        error = QStringLiteral("el último paso (%1) es anterior al primero (%2)")
                    .arg(video.ultimo)
                    .arg(video.primero);
        return false;
    }
    return existeJugador(reproduccion, pedido.aspecto.jugador, error);
}

ResultadoVideo exportaCarrera(ImagenFrame& dibujo, const PedidoVideo& pedido,
                              const InformaProgreso& informa, const std::atomic<bool>* cancelar) {
    OpcionesVideo opciones = pedido.video;
    opciones.tamano = pedido.aspecto.tamano;
    return exportaVideo(
        opciones, [&dibujo](long long frame) { return dibujo.dibuja(frame); }, informa, cancelar);
}

} // namespace zul
