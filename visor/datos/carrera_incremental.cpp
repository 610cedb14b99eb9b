#include "datos/carrera_incremental.h"

#include <algorithm>
#include <iterator>

namespace zul {

namespace {

// Moves the first `cuantos` elements of `desde` to the end of `hacia`.
template <typename T>
void mueve(std::vector<T>& desde, std::vector<T>& hacia, std::size_t cuantos) {
    const auto fin = desde.begin() + static_cast<std::ptrdiff_t>(cuantos);
    hacia.insert(hacia.end(), std::make_move_iterator(desde.begin()), std::make_move_iterator(fin));
    desde.erase(desde.begin(), fin);
}

void mueve(Disparos& desde, Disparos& hacia, std::size_t cuantos) {
    for (std::size_t k = 0; k < cuantos; ++k) {
        hacia.push_back(desde[k]);
    }
    desde.quitaPrimeros(cuantos);
}

} // namespace

LectorCarreraIncremental::LectorCarreraIncremental(Carrera& destino) : destino(destino) {}

std::size_t LectorCarreraIncremental::anade(const char* datos, std::size_t largo) {
    if (terminado() || fallido || largo == 0) {
        return 0;
    }
    try {
        if (pendiente.empty()) {
            // The common case: nothing waits, so the new bytes are read where
            // they are and only what they leave is kept.
            const char* resto = analizador.analiza(datos, datos + largo, false);
            pendiente.assign(resto, datos + largo);
        } else {
            pendiente.append(datos, largo);
            const char* inicio = pendiente.data();
            const char* resto = analizador.analiza(inicio, inicio + pendiente.size(), false);
            pendiente.erase(0, static_cast<std::size_t>(resto - inicio));
        }
    } catch (...) {
        fallido = true;
        pendiente.clear();
        throw;
    }
    if (analizador.terminado()) {
        pendiente.clear();
    }
    return publica(false);
}

void LectorCarreraIncremental::termina() {
    if (cerrado) {
        return;
    }
    cerrado = true;
    if (!fallido && !analizador.terminado()) {
        const char* inicio = pendiente.data();
        analizador.analiza(inicio, inicio + pendiente.size(), true);
    }
    pendiente.clear();
    if (!fallido) {
        publica(true);
    }
}

std::size_t LectorCarreraIncremental::publica(bool todo) {
    if (!analizador.cabeceraLeida()) {
        return 0;
    }
    if (destino.numJugadores == 0) {
        destino.numJugadores = leido.numJugadores;
        destino.nombres = std::move(leido.nombres);
    }
    const std::size_t n = static_cast<std::size_t>(destino.numJugadores);
    const std::size_t antes = destino.framesCompletos();
    const std::size_t registros = todo ? leido.posiciones.size() : leido.posiciones.size() / n * n;
    if (registros > 0) {
        mueve(leido.posiciones, destino.posiciones, registros);
        mueve(leido.angulos, destino.angulos, registros);
        mueve(leido.vueltas, destino.vueltas, registros);
    }
    // A shot goes in with its frame; shots come in the order of their frames.
    const std::size_t frames = destino.framesCompletos();
    const auto suyos =
        todo ? leido.framesDisparos.end()
             : std::find_if(leido.framesDisparos.begin(), leido.framesDisparos.end(),
                            [&](int frame) { return static_cast<std::size_t>(frame) >= frames; });
    const auto disparos = static_cast<std::size_t>(suyos - leido.framesDisparos.begin());
    if (disparos > 0) {
        mueve(leido.disparos, destino.disparos, disparos);
        mueve(leido.framesDisparos, destino.framesDisparos, disparos);
    }
    return destino.framesCompletos() - antes;
}

} // namespace zul
