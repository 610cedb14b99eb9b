#pragma once

#include "analisis/pista.h"
#include "datos/carrera.h"
#include "datos/mapa.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zul {

// One lap completion of a player: the frame at which its lap count rose above
// the highest count it had held before. A jump completes several laps at once;
// only the first of them has a time.
struct VueltaCompletada {
    long long frame = 0;
    // The laps completed, as lap counts: primera .. ultima (ultima is the count
    // reached at this frame).
    long long primera = 0;
    long long ultima = 0;
    // Frames since the previous completion (or since frame 0), for lap `primera`.
    long long tiempo = 0;
};

// A player's lap count from a frame on.
struct CambioVueltas {
    long long frame = 0;
    int vueltas = 0;
};

// The lap is split into this many sectors of equal track length.
constexpr int kSectores = 3;

// How a sector time stands out in the table: the best of the race so far, or
// the kart's own best.
enum class MarcaSector { Ninguna, Personal, Carrera };

// One row of the standings at a frame.
struct Puesto {
    int posicion = 0;          // from 1
    int jugador = 0;           // index in the race log
    int vueltas = 0;           // the log's lap count at that frame
    long long frameVuelta = 0; // where its lap count last changed
    std::optional<long long> ultimaVuelta;
    std::optional<long long> mejorVuelta;
    // Laps behind the leader; 0 on the leader's lap.
    long long diferenciaVueltas = 0;
    // Frames behind the leader; only on the leader's lap.
    std::optional<long long> diferenciaPasos;
    // The same against the kart just ahead; the leader has neither.
    long long intervaloVueltas = 0;
    std::optional<long long> intervaloPasos;
    // Laps plus the fraction of the lap covered, once the track is known.
    std::optional<double> progreso;
    // Sector times in frames: the last one and the best one of each sector,
    // up to this frame, and the sum of the best three.
    std::array<std::optional<long long>, kSectores> ultimoSector;
    std::array<std::optional<long long>, kSectores> mejorSector;
    std::array<MarcaSector, kSectores> marcaUltimo{};
    std::array<MarcaSector, kSectores> marcaMejor{};
    std::optional<long long> vueltaIdeal;
};

// What the race log says about laps and positions, computed once in one pass
// over the complete frames. A partial last frame is left out until it is
// complete: the race may grow (extiende), and only whole frames can be ranked.
//
// Laps that go down (a referee's correction) change `frameVuelta` but complete
// nothing; regaining them completes nothing either. A lap is completed only
// when the count passes the highest count held so far, so each lap is
// completed once and lap times never count a lap twice.
//
// Without a map, karts are ranked by laps, then by the frame of their last
// lap change, then by index. With the map, once a lap has been completed the
// finish line is learnt from where the first kMuestrasLinea completions
// happened, and karts are ranked by progress: laps plus the fraction of the
// lap covered (the distance along the track from the line, CampoPista).
// Until then the ranking stays the one without a map. A kart the map gives no
// answer for (off the track, or on a cell the line cannot reach) keeps the
// progress of the last frame it had one on the same lap count; with none, it
// stands at the start of its lap. Within one lap count the fraction does not
// jump across the line: a kart past the line whose count has not risen yet
// stays just short of the next lap, and one whose count rose before it
// crossed stays at the start of its lap, until it is clear of the line.
class AnalisisCarrera {
public:
    // Completions the finish line is learnt from.
    static constexpr int kMuestrasLinea = 8;

    explicit AnalisisCarrera(int numJugadores = 0);
    explicit AnalisisCarrera(const Carrera& carrera);
    // Ranks by progress round the track of `mapa`.
    AnalisisCarrera(const Carrera& carrera, const Mapa& mapa);
    AnalisisCarrera(const Carrera& carrera, std::shared_ptr<const Mapa> mapa);

    // From now on ranks by progress round this track; the frames analysed
    // so far, of `carrera`, are analysed again.
    void ponMapa(const Mapa& mapa, const Carrera& carrera);
    // Starts again on `carrera` (another race, or the same one read again),
    // with the same map.
    void reinicia(const Carrera& carrera);

    // Takes in the frames of `carrera` completed since the last call. The race
    // must be the same one, grown at its end.
    void extiende(const Carrera& carrera);

    int numJugadores() const { return jugadores; }
    long long framesAnalizados() const { return frames; }

    // Standings at `frame`, best first. A frame past the analysed ones gives
    // the last analysed frame; empty when there is none.
    std::vector<Puesto> clasificacion(long long frame) const;
    // The standings at the last complete frame; empty when there is none.
    std::vector<Puesto> resultados() const { return clasificacion(frames - 1); }

    // Position (from 1) of one player at `frame`, without sorting everyone;
    // 0 when the frame does not exist.
    int posicion(int jugador, long long frame) const;

    // The lap count and `frameVuelta` of a player at a frame (clamped like
    // clasificacion); the frame must exist.
    int vueltas(int jugador, long long frame) const { return estado(jugador, frame).vueltas; }
    long long frameVuelta(int jugador, long long frame) const {
        return estado(jugador, frame).frameVuelta;
    }

    // Every completion of a player, in frame order.
    const std::vector<VueltaCompletada>& completadas(int jugador) const {
        return vueltasCompletadas[static_cast<std::size_t>(jugador)];
    }
    // Of each player, its lap count at frame 0 and at every frame where it
    // changed (up or down), in frame order.
    std::vector<std::vector<CambioVueltas>> cambios() const;

    bool conMapa() const { return mapa != nullptr; }
    // The finish line, once learnt, and the track it measures.
    const std::optional<LineaMeta>& linea() const { return lineaMeta; }
    const CampoPista* campo() const { return campoPista.get(); }
    // A player's progress at a frame (clamped like clasificacion); nothing
    // while the line is not known.
    std::optional<double> progreso(int jugador, long long frame) const;

private:
    // A player's state from one change of its lap count to the next.
    struct Estado {
        long long frameVuelta = 0;
        long long ultima = -1; // -1: no time
        long long mejor = -1;
        int vueltas = 0;
        int jugador = 0;
    };
    // Of each player, what the latest analysed frame left.
    struct Actual {
        std::uint32_t estado = 0;
        long long maximo = 0; // highest lap count so far
        long long ultimaCompletada = 0;
    };

    const Estado& estado(int jugador, long long frame) const;

    int jugadores = 0;
    long long frames = 0;
    std::vector<Estado> estados;
    // Per record (frame * jugadores + jugador): the index of the player's
    // state at that frame, so any frame reads each player in constant time.
    std::vector<std::uint32_t> indices;
    std::vector<Actual> actuales;
    std::vector<std::vector<VueltaCompletada>> vueltasCompletadas;

    // Of each player, where its progress and its sectors stand after the
    // latest frame with progress.
    struct Recorrido {
        bool visto = false; // a fraction is known for `vueltas`
        // The last way it moved, as of frame `frameRumbo`: only wanted where
        // the track crosses itself, so only worked out there.
        QPointF rumbo;
        long long frameRumbo = 0;
        int vueltas = 0;
        double fraccion = 0.0;
        long long maximo = 0;
        int vueltasAntes = 0; // the count on the frame before
        int sector = 0;
        long long inicioSector = 0;
        bool sectorObservado = false;
        std::array<long long, kSectores> ultimo{-1, -1, -1};
        std::array<long long, kSectores> mejor{-1, -1, -1};
    };
    // A player's sector times from a frame on.
    struct TiemposSectores {
        long long frame = 0;
        std::array<long long, kSectores> ultimo{};
        std::array<long long, kSectores> mejor{};
    };

    void actualizaProgreso(const Carrera& carrera);
    void olvidaProgreso();
    void recorre(const Carrera& carrera, long long desde, long long hasta);
    void avanza(std::size_t jugador, long long frame, int vueltas, double distancia);
    QPointF rumbo(const Carrera& carrera, std::size_t jugador, long long frame);
    bool hayProgreso() const { return campoPista != nullptr; }
    double progresoEn(int jugador, long long k) const {
        return progresos[static_cast<std::size_t>(k) * static_cast<std::size_t>(jugadores) +
                         static_cast<std::size_t>(jugador)];
    }
    // Frames since `jugador` first had at least `valor` of progress, up to k.
    long long pasosDesde(int jugador, double valor, long long k) const;
    void ponSectores(Puesto& puesto, long long k) const;
    bool delante(int a, int b, long long k) const;

    std::shared_ptr<const Mapa> mapa;
    std::vector<Cruce> cruces;
    bool vueltaEntera = false; // the field knows where the track crosses itself
    std::optional<LineaMeta> lineaMeta;
    std::shared_ptr<const CampoPista> campoPista;
    long long framesProgreso = 0;
    // Per record, like `indices`, once the line is known.
    std::vector<double, SinIniciar<double>> progresos;
    std::vector<Recorrido> recorridos;
    std::vector<std::vector<TiemposSectores>> sectores;
};

} // namespace zul
