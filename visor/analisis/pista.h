#pragma once

#include "datos/mapa.h"

#include <QPointF>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace zul {

// An allocator that leaves the elements a vector grows by unwritten, for a
// vector whose new elements are all written right away.
template <typename T> struct SinIniciar : std::allocator<T> {
    template <typename U> struct rebind { using other = SinIniciar<U>; };
    SinIniciar() = default;
    template <typename U> SinIniciar(const SinIniciar<U>&) noexcept {}
    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// Where a kart was on the step before it completed a lap, and on that step.
struct Cruce {
    QPointF antes;
    QPointF despues;
};

// The finish line as the karts' lap completions draw it: a segment across
// the track, from wall to wall, through the mean crossing point and square to
// the mean direction of travel there.
struct LineaMeta {
    QPointF centro;
    QPointF direccion; // unit vector, the racing direction
    // The ends, as distances from the centre along (-direccion.y, direccion.x).
    double desde = 0.0;
    double hasta = 0.0;
};

// A cell where the track crosses itself, and the ways it is driven there
// (bit d: towards the neighbour d of the eight, in the order right, left,
// down, up, then down-right, up-right, down-left, up-left).
struct Interseccion {
    std::size_t celda = 0; // the map's cell index
    std::uint8_t rumbos = 0;
};

// The line from the crossings; nothing when there is none, when the karts
// cross it in no common direction, or when its centre is not on the track.
std::optional<LineaMeta> aprendeLinea(const Mapa& mapa, const std::vector<Cruce>& cruces);

// Every track cell's distance along the track from the finish line, in the
// racing direction: the shortest way over cells (straight steps 1, diagonal
// ones 1.4, never cutting a wall's corner) that leaves the line forwards and
// never crosses it, averaged with the lap less the shortest way on to the
// line. Walls ('5') block; every other cell is track. The lap is as long as
// the shortest way from the line round to it again. Where the track crosses
// itself (`intersecciones`, see aprendeIntersecciones) the ways go straight
// on, only the ways the karts drove there, and each cell has a distance for
// each of them.
class CampoPista {
public:
    CampoPista(const Mapa& mapa, const LineaMeta& linea,
               const std::vector<Interseccion>& intersecciones = {});

    // 0 when the track does not lead from the line back to it.
    double largoVuelta() const { return largo; }
    // 1 / largoVuelta(), or 0: a distance times it is the fraction of the lap.
    double inversoLargo() const { return inverso; }
    // Distance of a point from the line, in cells, in [0, largoVuelta()):
    // its cell's distance, moved along the field's slope there by the
    // point's offset from the cell's centre. Nothing off the track, outside
    // the map, or on a cell the line cannot reach. It runs for every record
    // of a race, so it is one cell's lookup. Where the track crosses itself
    // the distance is the one of the way nearest `rumbo`, the kart's
    // direction of travel; nothing without one.
    std::optional<double> distancia(const QPointF& punto, const QPointF& rumbo = QPointF()) const {
        const double d = distanciaONegativa(punto, rumbo);
        return d >= 0.0 ? std::optional<double>(d) : std::nullopt;
    }
    // The same, negative for nothing: no optional to spill where it runs
    // for every record.
    double distanciaONegativa(const QPointF& punto, const QPointF& rumbo = QPointF()) const {
        const double d = distanciaSinRumbo(punto);
        return d == kFaltaRumbo ? enInterseccion(punto, rumbo) : d;
    }

    // distanciaONegativa without a heading: kFaltaRumbo where the track
    // crosses itself, for there it needs one.
    static constexpr double kFaltaRumbo = -2.0;
    double distanciaSinRumbo(const QPointF& punto) const {
        if (!(punto.x() >= 0.0) || !(punto.y() >= 0.0) || punto.x() >= columnas ||
            punto.y() >= filas) {
            return -1.0;
        }
        const int x = static_cast<int>(punto.x());
        const int y = static_cast<int>(punto.y());
        const Celda c = tabla[static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
                              static_cast<std::size_t>(x)];
        if (c.distancia < 0.0f) {
            return c.distancia == kInterseccion ? kFaltaRumbo : -1.0;
        }
        const double valor = c.distancia + (c.pendienteX * (punto.x() - x - 0.5) +
                                            c.pendienteY * (punto.y() - y - 0.5)) *
                                               (1.0 / kEscalaPendiente);
        return valor < 0.0 ? 0.0 : valor < casiLargo ? valor : casiLargo;
    }

    // Most records of a race change nothing in their kart's progress but
    // its fraction of the lap (AnalisisCarrera::recorre). Where no lap count
    // changes, such a record's progress is its kart's lap count plus its
    // fraction, distanciaSinRumbo times inversoLargo(), as long as the
    // fraction is within its kart's bounds. Quietos holds, for `periodo`
    // records in a row (whole frames, a multiple of eight), each record's
    // kart's lap count (as a double) and bounds: from `bajo` up to, not
    // including, `alto`.
    struct Quietos {
        const double* vueltas = nullptr;
        const double* bajo = nullptr;
        const double* alto = nullptr;
        std::size_t periodo = 0;
    };
    // Records at a time that progresosQuietos takes with the vector
    // instructions of this processor: 8, 4, or 0 without them.
    static std::size_t grupoVectorial();
    // The progress of the records in `puntos` (`cuantos`, a multiple of
    // grupoVectorial()), whose bounds start at `fase` (also a multiple) of
    // `quietos`, into `progresos`, a group at a time, up to the first group
    // with a record that is not quiet; returns how many.
    std::size_t progresosQuietos(const QPointF* puntos, double* progresos, std::size_t cuantos,
                                 const Quietos& quietos, std::size_t fase) const;

    // Cells where the track crosses itself, as the map's cell indices.
    const std::vector<std::size_t>& intersecciones() const { return celdasInterseccion; }

    // The distance of a cell's centre; negative for none (or several, where
    // the track crosses itself).
    float celda(int x, int y) const {
        return tabla[static_cast<std::size_t>(y) * static_cast<std::size_t>(columnas) +
                     static_cast<std::size_t>(x)]
            .distancia;
    }

private:
    static constexpr double kEscalaPendiente = 127.0;
    static constexpr float kInterseccion = -2.0f;

    double enInterseccion(const QPointF& punto, const QPointF& rumbo) const;

    int filas = 0;
    int columnas = 0;
    // Per cell, its distance (negative for none, kInterseccion where the
    // track crosses itself) and the slope of the distance along x and along
    // y, times 127: one lookup for a record.
    struct Celda {
        float distancia;
        std::int8_t pendienteX;
        std::int8_t pendienteY;
    };
    std::vector<Celda, SinIniciar<Celda>> tabla;
    double largo = 0.0;
    double casiLargo = 0.0;
    double inverso = 0.0;
    // Sorted, and of each one the distance of its eight ways (negative
    // where none), in the order of the steps to a neighbour.
    std::vector<std::size_t> celdasInterseccion;
    std::vector<float> distanciasInterseccion;
};

} // namespace zul
