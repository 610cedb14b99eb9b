#pragma once

#include "analisis/analisis.h"
#include "escena/escena.h"
#include "escena/estelas.h"
#include "reproduccion/reproduccion.h"

#include <QVector>

#include <cstdint>
#include <string_view>

namespace zul {

// What only some pictures of a frame carry, each made by its owner for that
// frame.
struct CapasEscena {
    // Another run on the same track, under the karts.
    CapaFantasma fantasma;
    // The bots' debug drawings of the frame.
    QVector<const TurnoDepuracion*> depuracion;
    // Names, step and standings over the picture, when the options draw them.
    const Rotulos* rotulos = nullptr;
};

// Fills the base of a scene, what no frame changes: how the track is looked
// at (zoom, followed player, options) and the track itself, `filas` x
// `columnas` cells whose owner bumps `revisionCeldas` on every change, with
// its arrow tiles. The window's view and every headless picture fill it here.
void ponFondo(Escena& escena, double zoom, int seguido, const OpcionesEscena& opciones, int filas,
              int columnas, std::string_view celdas, std::uint64_t revisionCeldas,
              const Flechas* flechas);

// The scene of what `foto` shows of the replay: `base` gives the picture's
// size, zoom, followed player, grid, tiles, names and options; the karts, the
// shots, the recent shots, the trails (copied into `estelas`, which the scene
// points to), the leader and the standings (from `analisis`, when there is
// one) come from the frame. Every picture of a race, in the window and
// headless, is made here.
Escena escenaDeFrame(Escena base, const Reproduccion& reproduccion, const Foto& foto,
                     const AnalisisCarrera* analisis, Estelas& estelas, CapasEscena capas = {});

} // namespace zul
