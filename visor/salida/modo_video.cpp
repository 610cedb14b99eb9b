#include "salida/modo_video.h"

#include "datos/rutas.h"

#include "salida/carga_sin_pantalla.h"
#include "salida/texto_terminal.h"
#include "video/interrupcion.h"
#include "video/progreso.h"

#include <QFileInfo>

#include <memory>

namespace zul {

namespace {

// The video is published by renaming over SALIDA, so SALIDA must not be one
// of the files it is drawn from.
bool esEntrada(const QString& salida, const OpcionesModoVideo& opciones) {
    return mismoArchivo(salida, opciones.carrera) || mismoArchivo(salida, opciones.mapa);
}

int codifica(const Reproduccion& reproduccion, const Mapa& mapa, PedidoVideo pedido) {
    QString error;
    if (!compruebaPedido(reproduccion, pedido, error)) {
        informaError(error);
        return 1;
    }
    std::unique_ptr<ImagenFrame> imagenes;
    try {
        imagenes = std::make_unique<ImagenFrame>(reproduccion, mapa, pedido.aspecto);
    } catch (const ErrorFormato& e) {
        informaError(QString::fromStdString(e.what()));
        return 1;
    }
    ImagenFrame& dibujo = *imagenes;
    CProgresoTerminal progreso(stderr);
    const std::atomic<bool>& cancelar = instalaCancelacionPorSenales();
    const ResultadoVideo resultado = exportaCarrera(
        dibujo, pedido, [&progreso](const Progreso& p) { progreso.informa(p); }, &cancelar);
    const int senal = senalRecibida();
    restauraSenales();
    progreso.termina(pedido.video.salida, resultado, pedido.video.fps);
    if (resultado.bien()) {
        return 0;
    }
    informaError(resultado.error);
    // A signal that arrived once the video was already published changes
    // nothing; one that stopped it is the exit status, as a shell expects.
    return resultado.estado == EstadoVideo::Cancelado && senal != 0 ? 128 + senal : 1;
}

} // namespace

int ejecutaModoVideo(const OpcionesModoVideo& opciones) {
    if (esEntrada(opciones.pedido.video.salida, opciones)) {
        informaError(QStringLiteral("%1 es uno de los archivos de entrada; no se sobrescribe")
                         .arg(opciones.pedido.video.salida));
        return 1;
    }
    return conCarreraYMapa(opciones.carrera, opciones.mapa,
                           [&opciones](const Reproduccion& reproduccion, const Mapa& mapa) {
                               PedidoVideo pedido = opciones.pedido;
                               if (!opciones.fantasma.isEmpty()) {
                                   pedido.aspecto.fantasma =
                                       cargaFantasma(opciones.fantasma, reproduccion.carrera(),
                                                     opciones.alineacion);
                               }
                               return codifica(reproduccion, mapa, pedido);
                           });
}

} // namespace zul
