#pragma once

#include <cstddef>
#include <string>

namespace zul::bench {

// Sizes of the generated inputs. The full ones are those the figures are
// quoted for; the reduced ones only keep every benchmark running in the test
// suite.
struct Tamanos {
    int jugadores = 6;
    int frames = 200000;
    int cadaDisparo = 7; // one shot every this many frames
    int mapaPequeno = 513;
    int mapaGrande = 4096;
    int mapaAlterno = 513;
    int turnos = 1000;
    int entradasTurno = 100;
};

Tamanos tamanosCompletos();
Tamanos tamanosReducidos();

// A race log in the referee's layout: the header, then every frame's player
// records, with a shot record after every `cadaDisparo`-th frame. Karts go
// round an oval with some jitter, so numbers have the usual widths.
std::string generaCarrera(int jugadores, int frames, int cadaDisparo);
// The number of shot records that generaCarrera writes.
std::size_t disparosGenerados(int frames, int cadaDisparo);

// A square map of `lado` cells a side: an oval track ring of arrow and plain
// cells on a wall background, one row per line.
std::string generaMapa(int lado);

// The painting worst case: a square map of wall and track cells alternating in
// both directions, so every track cell is a run of its own.
std::string generaMapaAlterno(int lado);

// The input a contestant receives: a one-cell map, then `turnos` turns of
// `entradas` entries each.
std::string generaTurnos(int turnos, int entradas);

// A folder of its own under the system's temporary folder, removed with
// everything in it when the object goes.
class DirectorioTemporal {
public:
    DirectorioTemporal();
    ~DirectorioTemporal();
    DirectorioTemporal(const DirectorioTemporal&) = delete;
    DirectorioTemporal& operator=(const DirectorioTemporal&) = delete;

    // Writes `contenido` to a file of that name inside the folder; returns its path.
    std::string escribe(const std::string& nombre, const std::string& contenido) const;

private:
    std::string ruta;
};

// Content of a file, or an exception naming it.
std::string leeArchivo(const std::string& ruta);

} // namespace zul::bench
