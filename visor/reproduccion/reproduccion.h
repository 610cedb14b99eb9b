#pragma once

#include "datos/carrera.h"

#include <QPointF>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zul {

// Frames of a trail: the frame on show and the ones before it.
constexpr int kLargoEstela = 30;

// One player as a frame shows it.
struct EstadoKart {
    QPointF posicion;
    double angulo = 0.0;
    int vueltas = 0;
};

// What a frame shows. The shots and the trail are ranges of the recorded
// race, valid until the race grows.
struct Foto {
    long long frame = -1; // -1: nothing shown yet
    // Every player. A partial last frame leaves its missing players where
    // the frame before left them.
    std::vector<EstadoKart> karts;
    // Shots on show: carrera.disparos[primerDisparo, finDisparos).
    std::size_t primerDisparo = 0;
    std::size_t finDisparos = 0;
    // The trail: the records of the last kLargoEstela frames up to this one,
    // frame after frame, as the race holds them.
    const QPointF* estela = nullptr;
    std::size_t largoEstela = 0;
};

// The replay of a recorded race: the race itself and the cursor over it (the
// next frame, the frame on show, the next pending shot). Frames can be
// appended to the race while it is replayed; every answer is computed from
// what the race holds at that moment.
class Reproduccion {
public:
    Reproduccion() = default;
    explicit Reproduccion(Carrera carrera) : datos(std::move(carrera)) {}

    const Carrera& carrera() const { return datos; }
    // For appending frames and shots while the race is shown.
    Carrera& carreraModificable() { return datos; }

    // Frames of the race, a partial last one included.
    std::uint32_t numeroFrames() const;

    std::uint32_t siguienteFrame() const { return frameSiguiente; }
    std::uint32_t siguienteDisparo() const { return disparoSiguiente; }
    long long frameEnPantalla() const { return frameMostrado; }

    // Shows the next frame with every pending shot of that frame or an
    // earlier one. Past the end nothing changes but the shots, which go; a
    // partial last frame stays on show, so later steps show it again.
    void avanza();
    // Shows frame f (clamped to the race) with the shots of that frame; the
    // replay goes on from there. Nothing happens in a race with no frames.
    void irAFrame(long long f);
    // The frame before the one on show, if there is one.
    void retrocede();
    // The next step shows frame 0 again; the frame on show stays.
    void reinicia();

    // For a race that grows while it is shown (live mode).
    // The race grew at its end: what is on show is read again from it (the
    // trail points into the race), and shots that came in since for the
    // frame on show or an earlier one show now with it, so that a shot
    // written after its frame was shown is not lost.
    void recogeCrecimiento();
    // Shows the last complete frame with every shot still pending, so that
    // frames that came in together lose none of their shots.
    void muestraUltimo();
    // The race was emptied and is read again as another race: nothing is on
    // show and the next step shows frame 0.
    void empiezaDeNuevo();

    // What is on show now.
    const Foto& enPantalla() const { return foto; }
    // What frame k shows when it is reached by a seek: its records and the
    // shots of frame k. A frame outside the race shows every kart at its
    // default (the origin) with no shots and no trail.
    Foto fotoFrame(long long k) const;

private:
    void rellena(Foto& destino, long long k) const;

    Carrera datos;
    std::uint32_t frameSiguiente = 0;
    std::uint32_t disparoSiguiente = 0;
    long long frameMostrado = -1;
    Foto foto;
};

} // namespace zul
