#include "analisis/analisis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace zul {

AnalisisCarrera::AnalisisCarrera(int numJugadores) : jugadores(std::max(0, numJugadores)) {
    actuales.resize(static_cast<std::size_t>(jugadores));
    vueltasCompletadas.resize(static_cast<std::size_t>(jugadores));
}

AnalisisCarrera::AnalisisCarrera(const Carrera& carrera) : AnalisisCarrera(carrera.numJugadores) {
    extiende(carrera);
}

AnalisisCarrera::AnalisisCarrera(const Carrera& carrera, const Mapa& mapa)
    : AnalisisCarrera(carrera, std::make_shared<const Mapa>(mapa)) {}

AnalisisCarrera::AnalisisCarrera(const Carrera& carrera, std::shared_ptr<const Mapa> mapa)
    : AnalisisCarrera(carrera.numJugadores) {
    this->mapa = std::move(mapa);
    extiende(carrera);
}

void AnalisisCarrera::ponMapa(const Mapa& nuevo, const Carrera& carrera) {
    mapa = std::make_shared<const Mapa>(nuevo);
    cruces.clear();
    vueltaEntera = false;
    lineaMeta.reset();
    campoPista.reset();
    olvidaProgreso();
    if (frames > 0 && carrera.numJugadores == jugadores) {
        actualizaProgreso(carrera);
    }
}

void AnalisisCarrera::reinicia(const Carrera& carrera) {
    *this = AnalisisCarrera(carrera, mapa);
}

void AnalisisCarrera::extiende(const Carrera& carrera) {
    if (carrera.numJugadores != jugadores) {
        throw std::invalid_argument("AnalisisCarrera: la carrera tiene otro número de jugadores");
    }
    if (jugadores == 0) {
        return;
    }
    const std::size_t n = static_cast<std::size_t>(jugadores);
    const std::size_t registros = std::min(carrera.vueltas.size(), carrera.posiciones.size());
    const long long completos = static_cast<long long>(registros / n);
    if (completos <= frames) {
        return;
    }
    // A live race grows a few frames at a time: grow the storage
    // geometrically, or each extension would copy everything again.
    const std::size_t necesarios = static_cast<std::size_t>(completos) * n;
    if (necesarios > indices.capacity()) {
        indices.reserve(std::max(necesarios, 2 * indices.capacity()));
    }
    for (long long f = frames; f < completos; ++f) {
        const int* fila = carrera.vueltas.data() + static_cast<std::size_t>(f) * n;
        for (std::size_t j = 0; j < n; ++j) {
            const int v = fila[j];
            Actual& actual = actuales[j];
            if (f == 0) {
                actual = Actual{static_cast<std::uint32_t>(estados.size()), v, 0};
                estados.push_back(Estado{0, -1, -1, v, static_cast<int>(j)});
            } else if (v != estados[actual.estado].vueltas) {
                // One state index per record must fit in 32 bits; no race that
                // fits in memory comes near, but a wrong index would be worse
                // than a refusal.
                if (estados.size() >= std::numeric_limits<std::uint32_t>::max()) {
                    throw std::length_error("AnalisisCarrera: demasiados cambios de vueltas");
                }
                Estado nuevo = estados[actual.estado];
                nuevo.frameVuelta = f;
                nuevo.vueltas = v;
                if (v > actual.maximo) {
                    const long long tiempo = f - actual.ultimaCompletada;
                    vueltasCompletadas[j].push_back({f, actual.maximo + 1, v, tiempo});
                    nuevo.ultima = v - actual.maximo == 1 ? tiempo : -1;
                    nuevo.mejor = nuevo.mejor < 0 ? tiempo : std::min(nuevo.mejor, tiempo);
                    actual.maximo = v;
                    actual.ultimaCompletada = f;
                }
                actual.estado = static_cast<std::uint32_t>(estados.size());
                estados.push_back(nuevo);
            }
            indices.push_back(actual.estado);
        }
    }
    frames = completos;
    actualizaProgreso(carrera);
}

bool AnalisisCarrera::delante(int a, int b, long long k) const {
    const Estado& ea = estado(a, k);
    const Estado& eb = estado(b, k);
    if (hayProgreso()) {
        const double pa = progresoEn(a, k);
        const double pb = progresoEn(b, k);
        if (pa != pb) {
            return pa > pb;
        }
    } else if (ea.vueltas != eb.vueltas) {
        return ea.vueltas > eb.vueltas;
    }
    if (ea.frameVuelta != eb.frameVuelta) {
        return ea.frameVuelta < eb.frameVuelta;
    }
    return a < b;
}

const AnalisisCarrera::Estado& AnalisisCarrera::estado(int jugador, long long frame) const {
    const long long k = std::clamp(frame, 0LL, frames - 1);
    return estados[indices[static_cast<std::size_t>(k) * static_cast<std::size_t>(jugadores) +
                           static_cast<std::size_t>(jugador)]];
}

std::vector<Puesto> AnalisisCarrera::clasificacion(long long frame) const {
    std::vector<Puesto> filas;
    if (frames == 0) {
        return filas;
    }
    const long long k = std::clamp(frame, 0LL, frames - 1);
    filas.reserve(static_cast<std::size_t>(jugadores));
    for (int j = 0; j < jugadores; ++j) {
        const Estado& e = estado(j, k);
        Puesto p;
        p.jugador = j;
        p.vueltas = e.vueltas;
        p.frameVuelta = e.frameVuelta;
        if (e.ultima >= 0) {
            p.ultimaVuelta = e.ultima;
        }
        if (e.mejor >= 0) {
            p.mejorVuelta = e.mejor;
        }
        if (hayProgreso()) {
            p.progreso = progresoEn(j, k);
            ponSectores(p, k);
        }
        filas.push_back(p);
    }
    std::sort(filas.begin(), filas.end(), [this, k](const Puesto& a, const Puesto& b) {
        return delante(a.jugador, b.jugador, k);
    });
    // How far `p` is behind `otro`: whole laps of progress, or, on the same
    // lap, the frames since `otro` was where `p` is now. Without progress, in
    // laps and frames of the last lap change.
    const auto detras = [this, k](const Puesto& p, const Puesto& otro, long long& vueltas,
                                  std::optional<long long>& pasos) {
        if (p.progreso && otro.progreso) {
            vueltas = static_cast<long long>(std::floor(*otro.progreso - *p.progreso));
            if (vueltas <= 0) {
                vueltas = 0;
                pasos = pasosDesde(otro.jugador, *p.progreso, k);
            }
            return;
        }
        vueltas = static_cast<long long>(otro.vueltas) - p.vueltas;
        if (vueltas == 0) {
            pasos = p.frameVuelta - otro.frameVuelta;
        }
    };
    std::array<std::optional<long long>, kSectores> mejores;
    for (std::size_t i = 0; i < filas.size(); ++i) {
        Puesto& p = filas[i];
        p.posicion = static_cast<int>(i) + 1;
        detras(p, filas.front(), p.diferenciaVueltas, p.diferenciaPasos);
        if (i > 0) {
            detras(p, filas[i - 1], p.intervaloVueltas, p.intervaloPasos);
        }
        for (std::size_t s = 0; s < mejores.size(); ++s) {
            if (p.mejorSector[s] && (!mejores[s] || *p.mejorSector[s] < *mejores[s])) {
                mejores[s] = p.mejorSector[s];
            }
        }
    }
    filas.front().diferenciaPasos = 0;
    for (Puesto& p : filas) {
        for (std::size_t s = 0; s < mejores.size(); ++s) {
            if (p.mejorSector[s] && p.mejorSector[s] == mejores[s]) {
                p.marcaMejor[s] = MarcaSector::Carrera;
            }
            if (p.ultimoSector[s] && p.ultimoSector[s] == p.mejorSector[s]) {
                p.marcaUltimo[s] =
                    p.ultimoSector[s] == mejores[s] ? MarcaSector::Carrera : MarcaSector::Personal;
            }
        }
    }
    return filas;
}

int AnalisisCarrera::posicion(int jugador, long long frame) const {
    if (frames == 0 || jugador < 0 || jugador >= jugadores) {
        return 0;
    }
    const long long k = std::clamp(frame, 0LL, frames - 1);
    int antes = 0;
    for (int j = 0; j < jugadores; ++j) {
        if (j != jugador && delante(j, jugador, k)) {
            ++antes;
        }
    }
    return antes + 1;
}

std::vector<std::vector<CambioVueltas>> AnalisisCarrera::cambios() const {
    std::vector<std::vector<CambioVueltas>> lista(static_cast<std::size_t>(jugadores));
    for (const Estado& e : estados) {
        lista[static_cast<std::size_t>(e.jugador)].push_back({e.frameVuelta, e.vueltas});
    }
    return lista;
}

} // namespace zul
