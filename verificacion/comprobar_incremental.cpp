#include "comprobar_incremental.h"

#include "datos/carrera_incremental.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>

namespace zul::robustez {

namespace {

bool mismoDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool mismoPunto(const QPointF& a, const QPointF& b) {
    return mismoDouble(a.x(), b.x()) && mismoDouble(a.y(), b.y());
}

// Empty when the player records and shots of `parte` before `registros` and
// `disparos`, from `desdeRegistro` and `desdeDisparo` on, are those of `todo`.
std::string diferenciaPrefijo(const Carrera& parte, const Carrera& todo, std::size_t registros,
                              std::size_t disparos, std::size_t desdeRegistro = 0,
                              std::size_t desdeDisparo = 0) {
    std::ostringstream d;
    if (parte.posiciones.size() < registros || todo.posiciones.size() < registros ||
        parte.angulos.size() < registros || parte.vueltas.size() < registros) {
        d << "faltan registros de jugador: " << parte.posiciones.size() << " contra "
          << todo.posiciones.size();
        return d.str();
    }
    for (std::size_t i = desdeRegistro; i < registros; ++i) {
        if (!mismoPunto(parte.posiciones[i], todo.posiciones[i]) ||
            !mismoDouble(parte.angulos[i], todo.angulos[i]) ||
            parte.vueltas[i] != todo.vueltas[i]) {
            d << "el registro de jugador " << i << " difiere";
            return d.str();
        }
    }
    if (parte.disparos.size() < disparos || parte.framesDisparos.size() < disparos ||
        todo.disparos.size() < disparos) {
        d << "faltan disparos: " << parte.disparos.size() << " contra " << todo.disparos.size();
        return d.str();
    }
    for (std::size_t i = desdeDisparo; i < disparos; ++i) {
        if (!mismoPunto(parte.disparos[i].inicio, todo.disparos[i].inicio) ||
            !mismoPunto(parte.disparos[i].fin, todo.disparos[i].fin) ||
            parte.framesDisparos[i] != todo.framesDisparos[i]) {
            d << "el disparo " << i << " difiere";
            return d.str();
        }
    }
    return "";
}

struct Lectura {
    std::optional<Carrera> carrera;
    std::string error;
};

Lectura enteroDe(const std::string& bytes) {
    std::string copia = bytes;
    std::FILE* archivo =
        copia.empty() ? std::fopen("/dev/null", "r") : fmemopen(copia.data(), copia.size(), "r");
    Lectura lectura;
    if (archivo == nullptr) {
        lectura.error = "no se pudo abrir la entrada en memoria";
        return lectura;
    }
    try {
        Carrera carrera;
        leerCarrera(archivo, carrera);
        lectura.carrera = std::move(carrera);
    } catch (const ErrorFormato& e) {
        lectura.error = e.what();
    }
    std::fclose(archivo);
    return lectura;
}

} // namespace

std::string diferenciaCarreras(const Carrera& a, const Carrera& b) {
    if (a.numJugadores != b.numJugadores || a.nombres != b.nombres) {
        return "la cabecera difiere";
    }
    if (a.posiciones.size() != b.posiciones.size() || a.angulos.size() != b.angulos.size() ||
        a.vueltas.size() != b.vueltas.size()) {
        std::ostringstream d;
        d << "los registros de jugador difieren: " << a.posiciones.size() << " contra "
          << b.posiciones.size();
        return d.str();
    }
    if (a.disparos.size() != b.disparos.size() ||
        a.framesDisparos.size() != b.framesDisparos.size()) {
        std::ostringstream d;
        d << "los disparos difieren: " << a.disparos.size() << " contra " << b.disparos.size();
        return d.str();
    }
    return diferenciaPrefijo(a, b, a.posiciones.size(), a.disparos.size());
}

std::string compruebaIncremental(const std::string& bytes, const std::vector<std::size_t>& cortes) {
    const Lectura entero = enteroDe(bytes);
    Carrera carrera;
    LectorCarreraIncremental lector(carrera);
    std::string error;
    std::size_t desde = 0;
    std::vector<std::size_t> puntos;
    for (const std::size_t c : cortes) {
        if (c > desde && c <= bytes.size()) {
            puntos.push_back(c);
            desde = c;
        }
    }
    puntos.push_back(bytes.size());
    desde = 0;
    std::size_t comprobados = 0;
    std::size_t disparosComprobados = 0;
    try {
        for (const std::size_t hasta : puntos) {
            lector.anade(bytes.data() + desde, hasta - desde);
            desde = hasta;
            if (!lector.cabeceraLeida()) {
                if (carrera.numJugadores != 0 || !carrera.posiciones.empty() ||
                    !carrera.disparos.empty()) {
                    return "una carrera sin cabecera tiene jugadores o registros";
                }
                continue;
            }
            if (!entero.carrera) {
                return "la lectura en vivo aceptó la cabecera que la completa rechaza: " +
                       entero.error;
            }
            const Carrera& todo = *entero.carrera;
            if (carrera.numJugadores != todo.numJugadores || carrera.nombres != todo.nombres) {
                return "la cabecera difiere a mitad de la lectura";
            }
            const std::size_t n = static_cast<std::size_t>(carrera.numJugadores);
            if (carrera.posiciones.size() % n != 0) {
                return "la carrera tiene un paso a medias antes de terminar";
            }
            if (!carrera.framesDisparos.empty() &&
                static_cast<std::size_t>(carrera.framesDisparos.back()) >=
                    carrera.framesCompletos()) {
                return "un disparo de un paso que la carrera no tiene aún";
            }
            // What is in the race stays as it is, so only what came in is compared.
            const std::string d =
                diferenciaPrefijo(carrera, todo, carrera.posiciones.size(), carrera.disparos.size(),
                                  comprobados, disparosComprobados);
            if (!d.empty()) {
                return "a mitad de la lectura: " + d;
            }
            comprobados = carrera.posiciones.size();
            disparosComprobados = carrera.disparos.size();
        }
        lector.termina();
    } catch (const ErrorFormato& e) {
        error = e.what();
    }
    if (error != entero.error) {
        return "el error difiere\nen vivo: " + error + "\nentero: " + entero.error;
    }
    if (!entero.carrera) {
        return "";
    }
    const std::string d = diferenciaCarreras(carrera, *entero.carrera);
    return d.empty() ? "" : "al terminar: " + d;
}

} // namespace zul::robustez
