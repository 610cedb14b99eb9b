#include "datos/eventos.h"

#include <algorithm>
#include <cstddef>

namespace zul {

std::vector<Evento> eventosCarrera(const Carrera& carrera) {
    std::vector<Evento> eventos;
    if (carrera.numJugadores <= 0) {
        return eventos;
    }
    const std::size_t n = static_cast<std::size_t>(carrera.numJugadores);
    const std::size_t registros = std::min(carrera.posiciones.size(), carrera.vueltas.size());
    const std::size_t frames = (registros + n - 1) / n;
    std::size_t siguienteDisparo = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        // Shot frames never decrease, so one pass over them suffices.
        while (siguienteDisparo < carrera.framesDisparos.size() &&
               carrera.framesDisparos[siguienteDisparo] < static_cast<long long>(f)) {
            ++siguienteDisparo;
        }
        if (siguienteDisparo < carrera.framesDisparos.size() &&
            carrera.framesDisparos[siguienteDisparo] == static_cast<long long>(f)) {
            eventos.push_back({static_cast<long long>(f), Evento::Disparo, -1});
        }
        if (f == 0) {
            continue;
        }
        for (std::size_t j = 0; j < n && f * n + j < registros; ++j) {
            if (carrera.vueltas[f * n + j] > carrera.vueltas[(f - 1) * n + j]) {
                eventos.push_back({static_cast<long long>(f), Evento::Vuelta, static_cast<int>(j)});
            }
        }
    }
    return eventos;
}

std::vector<long long> framesDeEventos(const std::vector<Evento>& eventos) {
    std::vector<long long> frames;
    frames.reserve(eventos.size());
    for (const Evento& evento : eventos) {
        frames.push_back(evento.frame);
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

long long frameEventoSiguiente(const std::vector<long long>& frames, long long frame) {
    const auto it = std::upper_bound(frames.begin(), frames.end(), frame);
    return it == frames.end() ? -1 : *it;
}

long long frameEventoAnterior(const std::vector<long long>& frames, long long frame) {
    const auto it = std::lower_bound(frames.begin(), frames.end(), frame);
    return it == frames.begin() ? -1 : *(it - 1);
}

} // namespace zul
