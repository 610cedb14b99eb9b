#include "comparacion_lectores.h"
#include "comprobaciones.h"
#include "datos/nombres.h"

#include "datos/carrera.h"

#include <algorithm>
#include <sstream>

namespace zul::robustez {

namespace {

bool esEspacio(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string compruebaNombres(const Carrera& carrera) {
    if (carrera.nombres.size() != static_cast<std::size_t>(carrera.numJugadores)) {
        return "hay " + std::to_string(carrera.nombres.size()) + " nombres para " +
               std::to_string(carrera.numJugadores) + " jugadores";
    }
    for (const std::string& nombre : carrera.nombres) {
        if (nombre.size() > static_cast<std::size_t>(kLargoToken)) {
            return "un nombre de " + std::to_string(nombre.size()) + " bytes";
        }
        if (std::any_of(nombre.begin(), nombre.end(),
                        [](char c) { return c == '\0' || esEspacio(c); })) {
            return "un nombre con un espacio o un byte nulo";
        }
        // The panel shows every name: a name with bytes must show something.
        if (!nombre.empty() && textoNombre(nombre).isEmpty()) {
            return "un nombre no vacío se muestra vacío";
        }
    }
    return "";
}

} // namespace

std::string compruebaCarrera(const std::string& bytes) {
    std::string copia = bytes;
    std::FILE* archivo = abreMemoria(copia);
    if (archivo == nullptr) {
        return "no se pudo abrir la entrada en memoria";
    }
    Carrera carrera;
    try {
        leerCarrera(archivo, carrera);
    } catch (const ErrorFormato& e) {
        std::fclose(archivo);
        return e.what()[0] == '\0' ? "un error de formato sin mensaje" : "";
    }
    std::fclose(archivo);

    if (carrera.numJugadores < 1 || carrera.numJugadores > kMaxJugadores) {
        return "se aceptó un registro con " + std::to_string(carrera.numJugadores) + " jugadores";
    }
    const std::string nombres = compruebaNombres(carrera);
    if (!nombres.empty()) {
        return nombres;
    }
    const std::size_t registros = carrera.posiciones.size();
    if (carrera.angulos.size() != registros || carrera.vueltas.size() != registros) {
        std::ostringstream d;
        d << "secuencias de jugador de largos distintos: " << registros << " posiciones, "
          << carrera.angulos.size() << " ángulos, " << carrera.vueltas.size() << " vueltas";
        return d.str();
    }
    if (carrera.disparos.size() != carrera.framesDisparos.size()) {
        return "disparos y frames de disparo de largos distintos";
    }
    // A shot belongs to a frame that has begun, or to frame 0 before any.
    const std::size_t n = static_cast<std::size_t>(carrera.numJugadores);
    const long long frames = static_cast<long long>((registros + n - 1) / n);
    const long long ultimo = frames > 0 ? frames - 1 : 0;
    for (std::size_t i = 0; i < carrera.framesDisparos.size(); ++i) {
        const int frame = carrera.framesDisparos[i];
        if (i > 0 && frame < carrera.framesDisparos[i - 1]) {
            return "los frames de los disparos decrecen en el disparo " + std::to_string(i);
        }
        if (frame < 0 || frame > ultimo) {
            return "el disparo " + std::to_string(i) + " es del frame " + std::to_string(frame) +
                   ", fuera de los " + std::to_string(frames) + " frames";
        }
    }
    return "";
}

std::string compruebaCarreraReferencia(const std::string& bytes) {
    return comparacion::diferenciaCarrera(bytes);
}

} // namespace zul::robustez
