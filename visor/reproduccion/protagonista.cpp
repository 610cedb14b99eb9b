#include "reproduccion/protagonista.h"

#include <cmath>
#include <limits>

namespace zul {

int protagonistaEvento(const Reproduccion& reproduccion, const std::vector<Evento>& eventos,
                       long long frame, int seguido) {
    int primero = -1;
    bool disparo = false;
    for (const Evento& evento : eventos) {
        if (evento.frame != frame) {
            continue;
        }
        if (evento.tipo == Evento::Disparo) {
            disparo = true;
            continue;
        }
        if (evento.jugador == seguido) {
            return seguido;
        }
        if (primero < 0) {
            primero = evento.jugador;
        }
    }
    if (primero >= 0 || !disparo) {
        return primero;
    }
    const Foto foto = reproduccion.fotoFrame(frame);
    if (foto.primerDisparo >= foto.finDisparos) {
        return -1;
    }
    const QPointF inicio = reproduccion.carrera().disparos[foto.primerDisparo].inicio;
    int cercano = -1;
    double mejor = std::numeric_limits<double>::infinity();
    for (std::size_t j = 0; j < foto.karts.size(); ++j) {
        const QPointF d = foto.karts[j].posicion - inicio;
        const double distancia = std::hypot(d.x(), d.y());
        if (distancia < mejor) {
            mejor = distancia;
            cercano = static_cast<int>(j);
        }
    }
    return cercano;
}

} // namespace zul
