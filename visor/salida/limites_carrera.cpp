#include "salida/limites_carrera.h"

#include "texto/texto_imprimible.h"

namespace zul {

bool existeFrame(const Reproduccion& reproduccion, long long frame, QString& error) {
    const long long frames = reproduccion.numeroFrames();
    if (frame < frames) {
        return true;
    }
    error = QStringLiteral("la carrera tiene %1 (del 0 al %2); no existe el paso %3")
                .arg(cantidad(frames, "paso", "pasos"))
                .arg(frames - 1)
                .arg(frame);
    return false;
}

bool existeJugador(const Reproduccion& reproduccion, int jugador, QString& error) {
    const int jugadores = reproduccion.carrera().numJugadores;
    if (jugador >= 0 && jugador < jugadores) {
        return true;
    }
    error = QStringLiteral("la carrera tiene %1 (del 0 al %2); no existe el jugador %3")
                .arg(cantidad(jugadores, "jugador", "jugadores"))
                .arg(jugadores - 1)
                .arg(jugador);
    return false;
}

} // namespace zul
