#include "turnos.h"

#include "error.h"
#include "fichas.h"
#include "texto.h"

#include <climits>

namespace zul {

TurnosSinteticos::TurnosSinteticos(const Mapa& m, int jugadores, long cantidad)
    : jugadores_(jugadores), cantidad_(cantidad) {
    std::vector<size_t> pista;
    for (size_t k = 0; k < m.celdas.size() && pista.size() < static_cast<size_t>(jugadores); ++k) {
        if (m.celdas[k] != kMuro) {
            pista.push_back(k);
        }
    }
    texto_ = formato("%d\n", jugadores);
    for (int j = 0; j < jugadores; ++j) {
        double x = 0.5, y = 0.5;
        if (!pista.empty()) {
            const size_t k = pista[static_cast<size_t>(j) % pista.size()];
            x = static_cast<double>(k % static_cast<size_t>(m.columnas)) + 0.5;
            y = static_cast<double>(k / static_cast<size_t>(m.columnas)) + 0.5;
        }
        texto_ += formato("%g %g 0 0\n", x, y);
    }
    texto_ += "0\n";
}

std::string TurnosSinteticos::descripcion() const {
    return formato("%ld %s con %d %s", cantidad_,
                   cantidad_ == 1 ? "turno sintético" : "turnos sintéticos", jugadores_,
                   jugadores_ == 1 ? "kart" : "karts");
}

TurnosDeArchivo::TurnosDeArchivo(const std::string& ruta) : ruta_(ruta) {
    ArchivoDeDatos archivo(ruta, "el archivo de turnos");
    std::string t;
    long n = 0;
    while (archivo.siguiente(t)) {
        const size_t numero = turnos_.size() + 1;
        if (!entero(t, INT_MIN, INT_MAX, n)) {
            throw ErrorDePrueba(formato("%s: turno %zu: se esperaba el número de jugadores "
                                        "(entero), no %s",
                                        ruta.c_str(), numero, mostrar(t).c_str()));
        }
        std::string texto = t + "\n";
        for (long i = 0; i < n; ++i) {
            for (int c = 0; c < 4; ++c) {
                if (!archivo.siguiente(t) || !real(t)) {
                    throw ErrorDePrueba(
                        formato("%s: turno %zu: la entrada %ld necesita cuatro números (x y u "
                                "v)%s%s",
                                ruta.c_str(), numero, i, t.empty() ? "" : "; no vale ",
                                t.empty() ? "" : mostrar(t).c_str()));
                }
                texto += t + (c == 3 ? "\n" : " ");
            }
        }
        long id = 0;
        if (!archivo.siguiente(t) || !entero(t, INT_MIN, INT_MAX, id)) {
            throw ErrorDePrueba(formato("%s: turno %zu: falta el identificador propio (entero) "
                                        "tras las entradas",
                                        ruta.c_str(), numero));
        }
        turnos_.push_back(texto + t + "\n");
    }
}

std::string TurnosDeArchivo::descripcion() const {
    return formato("%ld %s de %s", cantidad(), cantidad() == 1 ? "turno" : "turnos", ruta_.c_str());
}

TurnosDeCarrera::TurnosDeCarrera(const std::string& ruta, long jugador)
    : ruta_(ruta), jugador_(jugador) {
    // Opened as any other data file: a folder or a device is refused by name.
    ArchivoDeDatos archivo(ruta, "la carrera");
    std::string error;
    if (!zulprueba::turnosDeCarrera(archivo.flujo(), ruta, jugador, carrera_, error)) {
        throw ErrorDePrueba(error);
    }
}

std::string TurnosDeCarrera::descripcion() const {
    const std::string& nombre = carrera_.nombres[static_cast<size_t>(jugador_)];
    return formato("%ld %s de la carrera %s%s como el jugador %ld%s", cantidad(),
                   cantidad() == 1 ? "turno" : "turnos", ruta_.c_str(),
                   carrera_.ultimoFrameIncompleto ? " (sin su último paso, incompleto)" : "",
                   jugador_, nombre.empty() ? "" : (" (" + mostrar(nombre) + ")").c_str());
}

std::vector<std::string> TurnosDeCarrera::notas(long t) const {
    std::vector<std::string> n = {zulprueba::desplazamientoReal(de(t), jugador_)};
    for (const auto& d : de(t).propios) {
        n.push_back(formato("en la carrera, el jugador %ld disparó de (%g, %g) a (%g, %g)",
                            jugador_, d.x1, d.y1, d.x2, d.y2));
    }
    return n;
}

std::unique_ptr<FuenteDeTurnos> elegirTurnos(const Opciones& o, const Mapa& mapa) {
    if (!o.carrera.empty()) {
        return std::make_unique<TurnosDeCarrera>(o.carrera, o.jugador);
    }
    if (o.turnos.empty()) {
        return std::make_unique<TurnosSinteticos>(mapa, o.jugadores, o.turnosSinteticos);
    }
    return std::make_unique<TurnosDeArchivo>(o.turnos);
}

} // namespace zul
