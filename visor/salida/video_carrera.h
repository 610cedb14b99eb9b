#pragma once

#include "salida/imagen_frame.h"
#include "video/exportacion.h"

#include <atomic>

namespace zul {

// A range of a race as a video: what to draw (as `--png` would) and how to
// encode it. The pictures are aspecto.tamano; video.tamano is ignored.
struct PedidoVideo {
    OpcionesVideo video;
    AspectoImagen aspecto{0, 10.0, QSize(1280, 720), {}, {}};
};

// Checks the range and the followed player against the race. A last frame
// below 0 means the race's last one, and is set so. False, with the reason
// in Spanish, when the race cannot give that video.
bool compruebaPedido(const Reproduccion& reproduccion, PedidoVideo& pedido, QString& error);

// Encodes the checked request, each picture drawn by `dibujo` (made with the
// request's aspect), on the calling thread; see exportaVideo.
ResultadoVideo exportaCarrera(ImagenFrame& dibujo, const PedidoVideo& pedido,
                              const InformaProgreso& informa = {},
                              const std::atomic<bool>* cancelar = nullptr);

} // namespace zul
