#include "reproduccion/reproduccion.h"

#include <algorithm>

namespace zul {

namespace {

// Index of the first shot of frame k or a later one.
std::size_t primerDisparoDesde(const std::vector<int>& frames, long long k) {
    const auto primero = std::lower_bound(frames.begin(), frames.end(), k,
                                          [](int frame, long long g) { return frame < g; });
    return static_cast<std::size_t>(primero - frames.begin());
}

} // namespace

std::uint32_t Reproduccion::numeroFrames() const {
    return static_cast<std::uint32_t>(datos.framesCompletos() +
                                      (datos.ultimoFrameParcial() ? 1 : 0));
}

void Reproduccion::rellena(Foto& destino, long long k) const {
    const std::size_t n = static_cast<std::size_t>(std::max(datos.numJugadores, 0));
    const std::size_t total = datos.posiciones.size();
    destino.frame = k;
    destino.karts.assign(n, EstadoKart());
    destino.estela = nullptr;
    destino.largoEstela = 0;
    if (k < 0 || n == 0 || static_cast<std::size_t>(k) * n >= total) {
        return; // not a frame of the race: nothing recorded to show
    }
    const std::size_t f = static_cast<std::size_t>(k);
    for (std::size_t j = 0; j < n; ++j) {
        // A player missing from a partial frame keeps its record of the
        // frame before.
        std::size_t i = f * n + j;
        if (i >= total) {
            if (f == 0) {
                continue;
            }
            i -= n;
        }
        if (i < total) {
            destino.karts[j] = {datos.posiciones[i], datos.angulos[i], datos.vueltas[i]};
        }
    }
    const std::size_t fin = std::min((f + 1) * n, total);
    constexpr std::size_t atras = kLargoEstela - 1;
    const std::size_t desde = (f >= atras ? f - atras : 0) * n;
    if (desde < fin) {
        destino.estela = datos.posiciones.data() + desde;
        destino.largoEstela = fin - desde;
    }
}

Foto Reproduccion::fotoFrame(long long k) const {
    Foto resultado;
    rellena(resultado, k);
    resultado.primerDisparo = primerDisparoDesde(datos.framesDisparos, k);
    resultado.finDisparos = primerDisparoDesde(datos.framesDisparos, k + 1);
    return resultado;
}

void Reproduccion::avanza() {
    foto.primerDisparo = foto.finDisparos = 0;
    const std::size_t n = static_cast<std::size_t>(std::max(datos.numJugadores, 0));
    const std::size_t f = frameSiguiente;
    const std::size_t total = datos.posiciones.size();
    if (n == 0 || f * n >= total) {
        return; // the race is over: the karts stay on the last frame
    }
    frameMostrado = static_cast<long long>(f);
    rellena(foto, frameMostrado);
    // Every shot of this frame, or still pending from an earlier one, shows
    // now, so none is shown late or lost at the end of the race. A partial
    // last frame shows its shots once: later steps find none pending.
    foto.primerDisparo = disparoSiguiente;
    while (disparoSiguiente < datos.disparos.size() &&
           static_cast<long long>(datos.framesDisparos[disparoSiguiente]) <= frameMostrado) {
        ++disparoSiguiente;
    }
    foto.finDisparos = disparoSiguiente;
    if ((f + 1) * n <= total) {
        ++frameSiguiente; // a partial last frame stays on show until a restart
    }
}

void Reproduccion::irAFrame(long long f) {
    const long long total = numeroFrames();
    if (total == 0) {
        return;
    }
    f = std::clamp(f, 0LL, total - 1);
    frameSiguiente = static_cast<std::uint32_t>(f);
    // Shots of earlier frames are past; those of frame f show with it.
    disparoSiguiente = static_cast<std::uint32_t>(primerDisparoDesde(datos.framesDisparos, f));
    avanza();
}

void Reproduccion::retrocede() {
    if (frameMostrado > 0) {
        irAFrame(frameMostrado - 1);
    }
}

void Reproduccion::reinicia() {
    frameSiguiente = 0;
    disparoSiguiente = 0;
}

void Reproduccion::recogeCrecimiento() {
    if (frameMostrado < 0) {
        return;
    }
    if (frameMostrado >= static_cast<long long>(numeroFrames())) {
        irAFrame(frameMostrado); // the race is shorter: clamped to its end
        return;
    }
    // The shots on show stay and the late ones join them; with none on
    // show, the late ones show alone.
    const bool siguenDisparos =
        foto.finDisparos > foto.primerDisparo && foto.finDisparos == disparoSiguiente;
    const std::size_t primero = siguenDisparos ? foto.primerDisparo : disparoSiguiente;
    rellena(foto, frameMostrado);
    while (disparoSiguiente < datos.disparos.size() &&
           static_cast<long long>(datos.framesDisparos[disparoSiguiente]) <= frameMostrado) {
        ++disparoSiguiente;
    }
    foto.primerDisparo = std::min<std::size_t>(primero, disparoSiguiente);
    foto.finDisparos = disparoSiguiente;
}

void Reproduccion::muestraUltimo() {
    // A frame still being written shows only once it is complete, unless it
    // is all there is.
    const std::uint32_t completos = static_cast<std::uint32_t>(datos.framesCompletos());
    const std::uint32_t total = completos > 0 ? completos : numeroFrames();
    if (total == 0) {
        return;
    }
    if (frameMostrado + 1 == static_cast<long long>(total)) {
        recogeCrecimiento(); // on show already: only late shots to add
        return;
    }
    frameSiguiente = std::max(frameSiguiente, total - 1);
    avanza();
}

void Reproduccion::empiezaDeNuevo() {
    frameSiguiente = 0;
    disparoSiguiente = 0;
    frameMostrado = -1;
    foto = Foto();
}

} // namespace zul
