#include "video/exportacion.h"

#include <chrono>
#include <exception>

namespace zul {

ResultadoVideo exportaVideo(const OpcionesVideo& opciones, const DibujaFrame& dibuja,
                            const InformaProgreso& informa, const std::atomic<bool>* cancelar) {
    using Reloj = std::chrono::steady_clock;
    const Reloj::time_point inicio = Reloj::now();
    ResultadoVideo resultado;
    const auto transcurrido = [&] {
        return std::chrono::duration<double>(Reloj::now() - inicio).count();
    };

    Planificacion plan;
    QString motivo;
    const double pasos = opciones.pasosPorSegundo > 0.0 ? opciones.pasosPorSegundo
                                                        : static_cast<double>(opciones.fps);
    if (!planifica(opciones.primero, opciones.ultimo, opciones.fps, pasos, plan, motivo)) {
        // The reason is a sentence of its own.
        resultado.error = errorAlEmpezar(opciones.salida, motivo.chopped(1));
        return resultado;
    }
    resultado.progreso.total = plan.totalCuadros();

    OpcionesCodificador ajustes = opciones.codificador;
    ajustes.fps = opciones.fps;
    CCodificadorVideo codificador;
    if (!codificador.abre(opciones.salida, opciones.tamano, ajustes, resultado.error)) {
        return resultado;
    }

    const auto cancelado = [&] {
        return cancelar != nullptr && cancelar->load(std::memory_order_relaxed);
    };
    QImage imagen;
    long long frameDibujado = -1;
    for (long long cuadro = 0; cuadro < resultado.progreso.total; ++cuadro) {
        if (cancelado()) {
            break;
        }
        const long long frame = plan.frameDeCuadro(cuadro);
        // Slow motion repeats a frame: it is drawn once.
        if (frame != frameDibujado) {
            try {
                imagen = dibuja(frame);
            } catch (const std::exception& fallo) {
                resultado.error = errorAlEscribir(opciones.salida,
                                                  QStringLiteral("al dibujar el paso %1: %2")
                                                      .arg(frame)
                                                      .arg(QString::fromLocal8Bit(fallo.what())));
                return resultado;
            }
            if (imagen.isNull()) {
                resultado.error = errorAlEscribir(
                    opciones.salida, QStringLiteral("no se pudo dibujar el paso %1").arg(frame));
                return resultado;
            }
            frameDibujado = frame;
        }
        if (!codificador.agrega(imagen, resultado.error)) {
            return resultado;
        }
        resultado.progreso.hechos = cuadro + 1;
        resultado.progreso.segundos = transcurrido();
        if (informa) {
            informa(resultado.progreso);
        }
    }
    if (!cancelado() && !codificador.cierra(resultado.error)) {
        return resultado;
    }
    // Checked again once the encoder drained: a Ctrl+C then must not publish.
    if (cancelado()) {
        codificador.descarta();
        resultado.estado = EstadoVideo::Cancelado;
        resultado.error = QStringLiteral("Exportación cancelada: no se escribió el vídeo %1.")
                              .arg(opciones.salida);
        return resultado;
    }
    if (!codificador.publica(resultado.error)) {
        return resultado;
    }
    resultado.progreso.segundos = transcurrido();
    resultado.estado = EstadoVideo::Terminado;
    if (informa) {
        informa(resultado.progreso);
    }
    return resultado;
}

} // namespace zul
