#pragma once

#include "analisis/analisis.h"
#include "datos/depuracion.h"
#include "datos/mapa.h"
#include "escena/escena.h"
#include "escena/estelas.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"
#include "escena/rotulos.h"
#include "reproduccion/reproduccion.h"
#include "salida/fantasma_escena.h"

#include <QImage>
#include <QSize>

#include <memory>

namespace zul {

// How a headless picture looks: what the window's track view would show with
// these settings.
struct AspectoImagen {
    int jugador = 0;
    double zoom = 10.0;
    QSize tamano{512, 512};
    OpcionesEscena opciones;
    // Another run to draw under the race as a ghost; none when empty.
    std::shared_ptr<const FantasmaCargado> fantasma;
    // The bots' debug files drawn over the frames (--depuracion): the turn n
    // of each over frame n + desfase.
    QStringList depuracion{};
    long long desfase = 0;
};

// Draws frames of a race into images, with no widget: the same picture as
// the window's track view after a seek to that frame (its shots included).
// Every headless output draws through it, so each of their pictures is the
// same. The race and the map must outlive it. Needs a QGuiApplication for
// the arrow tiles. With the overlays on or the Director camera, the
// standings come from one analysis of the race made here.
class ImagenFrame {
public:
    // Reads the debug files of `aspecto`; throws ErrorFormato, naming the
    // file, for one that does not parse or belongs to another race.
    ImagenFrame(const Reproduccion& reproduccion, const Mapa& mapa, const AspectoImagen& aspecto);
    ~ImagenFrame();

    // The scene of frame k, valid until the next call.
    Escena escena(long long k);
    // Frame k as an RGB32 image; a null image when it cannot be allocated.
    QImage dibuja(long long k);

    // The overlays' texts for frame k, as escena(k) hands them to the painter.
    const Rotulos& rotulos(long long k);

private:
    const Reproduccion& reproduccion;
    const Mapa& mapa;
    AspectoImagen aspecto;
    Flechas flechas;
    Estelas estelas;
    QStringList nombres;
    PintorEscena pintor;
    // Only with the overlays on or the Director camera.
    std::unique_ptr<AnalisisCarrera> analisis;
    Rotulos textos;
    std::vector<Depuracion> depuraciones;
};

} // namespace zul
