#include "salida/limites_carrera.h"

#include "texto/texto_imprimible.h"

namespace zul {

namespace {

// True when `dentro`; else false, with the reason: the race has `cuantos`
// (`uno` or `varios`), numbered from 0, and `pedido` is not one of them.
bool existe(bool dentro, long long pedido, long long cuantos, const char* uno, const char* varios,
            QString& error) {
    if (dentro) {
        return true;
    }
    error = QStringLiteral("la carrera tiene %1 (del 0 al %2); no existe el %3 %4")
                .arg(cantidad(cuantos, uno, varios))
                .arg(cuantos - 1)
                .arg(QLatin1String(uno))
                .arg(pedido);
    return false;
}

} // namespace

bool existeFrame(const Reproduccion& reproduccion, long long frame, QString& error) {
    const long long frames = reproduccion.numeroFrames();
    return existe(frame < frames, frame, frames, "paso", "pasos", error);
}

bool existeJugador(const Reproduccion& reproduccion, int jugador, QString& error) {
    const int jugadores = reproduccion.carrera().numJugadores;
    return existe(jugador >= 0 && jugador < jugadores, jugador, jugadores, "jugador", "jugadores",
                  error);
}

} // namespace zul
