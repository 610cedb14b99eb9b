#pragma once

#include "salida/video_carrera.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zul {
// The size "Exportar vídeo…" proposes: 720p, what projectors and video sites
// take, whatever the size of the view.
constexpr int kAnchoVideoPropuesto = 1280;
constexpr int kAltoVideoPropuesto = 720;

// What "Exportar vídeo…" proposes: the whole race as the window shows it
// (`vista`: its zoom, followed player and options; its size is not taken) at
// 1280 x 720, with the overlays, at 30 pictures per second and one step per
// picture.
PedidoVideo pedidoDeVista(const AspectoImagen& vista, long long frames, const QString& salida);

// Where the video of the race log `rutaCarrera` is proposed: beside the log,
// named after it, or in the user's video folder (`carpetaVideos`, made if
// missing) when the log's folder cannot be written.
QString salidaPropuesta(const QString& rutaCarrera, const QString& carpetaVideos);
} // namespace zul

// Asks where to write the video and what it shows: the file, the range of
// steps, pictures and steps per second, and how the track is drawn.
class CDialogoVideo : public QDialog {
    Q_OBJECT

public:
    CDialogoVideo(const zul::PedidoVideo& inicial, long long frames, int jugadores,
                  QWidget* parent = nullptr);

    // The request as the fields say; the file gets ".mp4" when it has no
    // extension.
    zul::PedidoVideo pedido() const;

public slots:
    void accept() override;

private:
    void examina();
    void actualizaBoton();

    QLineEdit* campoArchivo = nullptr;
    QSpinBox* selectorDesde = nullptr;
    QSpinBox* selectorHasta = nullptr;
    QSpinBox* selectorFps = nullptr;
    QDoubleSpinBox* selectorVelocidad = nullptr;
    QSpinBox* selectorJugador = nullptr;
    QDoubleSpinBox* selectorZoom = nullptr;
    QSpinBox* selectorAncho = nullptr;
    QSpinBox* selectorAlto = nullptr;
    QCheckBox* casillaEstelas = nullptr;
    QCheckBox* casillaRotulos = nullptr;
    QPushButton* botonAceptar = nullptr;
    zul::PedidoVideo base; // what the fields do not show
};
