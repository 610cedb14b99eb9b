#pragma once

#include "escena/capa_fantasma.h"
#include "geometria/geometria.h"

#include <QPointF>
#include <QSize>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <string_view>
#include <tuple>

namespace zul {

class Estelas;
class Flechas;
struct Rotulos;
struct TurnoDepuracion;

// How the view is placed over the track.
enum class Camara {
    // On the followed player, drawn at the anchor pixel.
    Seguir,
    // On the followed player, drawn at the centre of the picture.
    Centrado,
    // The whole map fitted into the picture; no player followed.
    Pista,
    // On the leader of the standings, at the anchor pixel.
    Director,
};

// Everything that changes what the track picture shows besides its content.
struct OpcionesEscena {
    Camara camara = Camara::Seguir;
    bool estelas = false;
    // Names, step and standings over the picture (see pintor_rotulos.h).
    bool rotulos = false;
    // Each kart's name (or number, where karts crowd) beside it, and a ring
    // around the one the camera keeps in view (see etiquetas_karts.h).
    bool etiquetas = false;
    // From the arrow zoom on, direction-less track cells as blocks too.
    bool pistaCompleta = false;
    // Shots thicker, and fading over the steps after they were fired.
    bool disparosVisibles = false;
    // The bots' debug drawings (Escena::depuracion), when there are any.
    bool depuracion = true;
    // The followed kart's trail coloured by its speed, with the scale
    // (trazada_velocidad.h), whether the trails are on or not.
    bool trazadaVelocidad = false;

    // The cached picture is reused while the options compare equal, so a new
    // option must be compared here too.
    bool operator==(const OpcionesEscena& otras) const {
        return camara == otras.camara && estelas == otras.estelas && rotulos == otras.rotulos &&
               etiquetas == otras.etiquetas && pistaCompleta == otras.pistaCompleta &&
               disparosVisibles == otras.disparosVisibles && depuracion == otras.depuracion &&
               trazadaVelocidad == otras.trazadaVelocidad;
    }
    bool operator!=(const OpcionesEscena& otras) const { return !(*this == otras); }
};

// A shot of an earlier step, drawn fainter the older it is.
struct DisparoAnterior {
    QPointF inicio;
    QPointF fin;
    int edad = 1; // steps since it was fired
};

// Steps a shot stays on show with "Disparos visibles".
constexpr int kPasosDisparoVisible = 4;

// One picture of the track: what the painter draws and how. Plain values
// and views of data held elsewhere (the grid, the trails, the tiles), which
// must outlive the scene.
struct Escena {
    QSize tamano;
    double zoom = 1.0;
    int mira = 0; // the followed player
    int filas = 0;
    int columnas = 0;
    std::string_view celdas; // filas * columnas, or empty
    // Changes whenever the cells change or are replaced, so that a kept
    // picture of other cells at the same address is never reused.
    std::uint64_t revisionCeldas = 0;
    QVector<QPointF> posiciones;
    QVector<double> angulos;
    // Each kart's laps, for whatever shows them beside the picture.
    QVector<int> vueltas;
    // The shots on show: from iniciosDisparos[k] to finesDisparos[k].
    QVector<QPointF> iniciosDisparos;
    QVector<QPointF> finesDisparos;
    // Shots of the steps before, for "Disparos visibles".
    QVector<DisparoAnterior> disparosAnteriores;
    // Player names for the kart labels; a kart with no name shows its number.
    QStringList nombres;
    // The leader of the standings on this step, for the Director camera; -1
    // when not known.
    int lider = -1;
    // The standings on this step, leader first, for the order in which kart
    // labels get room; empty when not known.
    QVector<int> puestos;
    const Estelas* estelas = nullptr;
    const Flechas* flechas = nullptr; // scaled to `zoom`; none: no tiles
    const Rotulos* rotulos = nullptr; // drawn when opciones.rotulos is on
    // The debug turns drawn over this step, one per debug file that has one
    // (see pintor_depuracion.h); held by their files.
    QVector<const TurnoDepuracion*> depuracion;
    OpcionesEscena opciones;
    // Another run on the same track, drawn under the karts (capa_fantasma.h).
    CapaFantasma fantasma;

    // Every field, in order. A kept picture is reused while these compare
    // equal (cache_escena.cpp), which checks at compile time that none is
    // missing.
    auto campos() const {
        return std::tie(tamano, zoom, mira, filas, columnas, celdas, revisionCeldas, posiciones,
                        angulos, vueltas, iniciosDisparos, finesDisparos, disparosAnteriores,
                        nombres, lider, puestos, estelas, flechas, rotulos, depuracion, opciones,
                        fantasma);
    }
};

// Where the scene's camera puts the map on its picture. Painting, clicks on
// the view and every headless output frame through this one function
// (camara.cpp).
Encuadre encuadreDe(const Escena& escena);

} // namespace zul
