#pragma once

#include "datos/mapa.h"
#include "reproduccion/reproduccion.h"
#include "salida/video_carrera.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

#include <atomic>
#include <memory>
#include <thread>

class CVisualizador;
class QTimer;
class QWidget;

// One video export from the window: encodes on a thread of its own, so the
// window goes on replaying, with a progress dialog whose "Cancelar" stops
// it. It draws from copies of the race and the map, so a race that grows
// meanwhile (live mode) or a window that changes is no concern of it.
// Deleting it cancels the export and waits for its thread.
class CExportacionVideo : public QObject {
    Q_OBJECT

public:
    CExportacionVideo(const zul::Reproduccion& reproduccion, const zul::Mapa& mapa,
                      const zul::PedidoVideo& pedido, QWidget* ventana);
    ~CExportacionVideo() override;

    // Ctrl+E: asks with CDialogoVideo, then starts an export owned by the
    // window, which reports how it ended in a message box. With one under
    // way, shows its progress instead.
    // It proposes the race as `vista` says the window shows it, on the grid
    // of `pista`; `rutaCarrera` is the race log's, for where the video is
    // proposed.
    static void pideYExporta(QWidget* ventana, const zul::Reproduccion& reproduccion,
                             const CVisualizador& pista, const zul::AspectoImagen& vista,
                             const QString& rutaCarrera);

    // Checks the request against the race and starts; false, with the
    // reason in Spanish, when it cannot start.
    bool empieza(QString& error);
    void cancela();

    bool enMarcha() const { return hilo.joinable() && !acabada; }
    QProgressDialog* dialogoProgreso() const { return progreso; }
    // Valid once terminada() has been emitted.
    const zul::ResultadoVideo& resultado() const { return final; }

signals:
    void terminada();

private:
    void actualizaProgreso();
    void alTerminar(const zul::ResultadoVideo& resultado);

    zul::Reproduccion reproduccion;
    zul::Mapa mapa;
    zul::PedidoVideo pedido;
    std::unique_ptr<zul::ImagenFrame> dibujo;
    std::atomic<bool> cancelar{false};
    std::atomic<long long> hechos{0};
    std::atomic<long long> total{0};
    std::thread hilo;
    bool acabada = false;
    zul::ResultadoVideo final;
    // The window owns it too, and may delete it first.
    QPointer<QProgressDialog> progreso;
    QTimer* reloj = nullptr;
    QElapsedTimer cronometro;
};
