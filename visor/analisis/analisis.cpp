#include "analisis/analisis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <tuple>

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
                nuevo.paso = f;
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

void AnalisisCarrera::olvidaProgreso() {
    framesProgreso = 0;
    progresos.clear();
    recorridos.assign(static_cast<std::size_t>(jugadores), Recorrido{});
    sectores.assign(static_cast<std::size_t>(jugadores), {});
}

void AnalisisCarrera::actualizaProgreso(const Carrera& carrera) {
    if (mapa == nullptr || jugadores == 0) {
        return;
    }
    const std::size_t n = static_cast<std::size_t>(jugadores);
    if (cruces.size() < static_cast<std::size_t>(kMuestrasLinea)) {
        // The first completions of the race, in frame order, then player order.
        std::vector<std::tuple<long long, std::size_t>> primeras;
        for (std::size_t j = 0; j < n; ++j) {
            const auto& lista = vueltasCompletadas[j];
            for (std::size_t c = 0;
                 c < lista.size() && c < static_cast<std::size_t>(kMuestrasLinea); ++c) {
                primeras.emplace_back(lista[c].frame, j);
            }
        }
        std::sort(primeras.begin(), primeras.end());
        primeras.resize(std::min(primeras.size(), static_cast<std::size_t>(kMuestrasLinea)));
        if (primeras.size() != cruces.size()) {
            cruces.clear();
            for (const auto& [f, j] : primeras) {
                const std::size_t i = static_cast<std::size_t>(f) * n + j;
                cruces.push_back({carrera.posiciones[i - n], carrera.posiciones[i]});
            }
            lineaMeta = aprendeLinea(*mapa, cruces);
            campoPista.reset();
            if (lineaMeta) {
                auto campo = std::make_shared<const CampoPista>(*mapa, *lineaMeta);
                if (campo->largoVuelta() > 0.0) {
                    campoPista = std::move(campo);
                }
            }
            olvidaProgreso();
        }
    }
    if (campoPista == nullptr || framesProgreso >= frames) {
        return;
    }
    const std::size_t necesarios = static_cast<std::size_t>(frames) * n;
    if (necesarios > progresos.capacity()) {
        progresos.reserve(std::max(necesarios, 2 * progresos.capacity()));
    }
    for (long long f = framesProgreso; f < frames; ++f) {
        const std::size_t fila = static_cast<std::size_t>(f) * n;
        for (std::size_t j = 0; j < n; ++j) {
            avanza(j, f, carrera.vueltas[fila + j], carrera.posiciones[fila + j]);
        }
    }
    framesProgreso = frames;
}

namespace {

// Just short of a whole lap.
constexpr double kCasiUno = 1.0 - 1e-9;

int sectorDe(double fraccion) {
    return fraccion < 1.0 / kSectores ? 0 : fraccion < 2.0 / kSectores ? 1 : 2;
}

} // namespace

void AnalisisCarrera::avanza(std::size_t j, long long f, int v, QPointF posicion) {
    Recorrido& r = recorridos[j];
    if (f == 0) {
        r.maximo = v;
        r.vueltasAntes = v;
    }
    const bool completa = v > r.maximo;
    const bool salto = v - r.maximo > 1;
    const bool baja = v < r.vueltasAntes;
    r.maximo = std::max<long long>(r.maximo, v);
    r.vueltasAntes = v;

    const std::optional<double> distancia = campoPista->distancia(posicion);
    if (distancia) {
        const double bruta = *distancia / campoPista->largoVuelta();
        double fraccion = bruta;
        if (r.visto && v > r.vueltas) {
            // Counted before it reached the line.
            fraccion = bruta > 0.75 ? 0.0 : bruta;
        } else if (r.visto && v == r.vueltas) {
            if (r.fraccion >= 0.75 && bruta < 0.25) {
                fraccion = kCasiUno; // past the line, not counted yet
            } else if (r.fraccion < 0.25 && bruta >= 0.75) {
                fraccion = 0.0; // behind the line, counted already
            }
        }
        r.visto = true;
        r.vueltas = v;
        r.fraccion = fraccion;
    } else if (!r.visto || r.vueltas != v) {
        r.visto = true;
        r.vueltas = v;
        r.fraccion = 0.0;
    }
    progresos.push_back(v + r.fraccion);

    // Sectors: a time runs from one boundary crossing to the next, the line
    // included; one that did not start with a crossing has none.
    const auto registra = [&](int sector, long long tiempo) {
        const std::size_t s = static_cast<std::size_t>(sector);
        r.ultimo[s] = tiempo;
        r.mejor[s] = r.mejor[s] < 0 ? tiempo : std::min(r.mejor[s], tiempo);
        sectores[j].push_back({f, r.ultimo, r.mejor});
    };
    if (f == 0 || baja) {
        r.sector = sectorDe(r.fraccion);
        r.inicioSector = f;
        r.sectorObservado = false;
    } else if (completa) {
        if (!salto && r.sector == kSectores - 1 && r.sectorObservado) {
            registra(kSectores - 1, f - r.inicioSector);
        }
        r.sector = 0;
        r.inicioSector = f;
        r.sectorObservado = !salto;
    } else if (distancia) {
        const int s = sectorDe(r.fraccion);
        if (s == r.sector + 1) {
            if (r.sectorObservado) {
                registra(r.sector, f - r.inicioSector);
            }
            r.sectorObservado = true;
        } else if (s > r.sector + 1) {
            r.sectorObservado = false;
        }
        if (s > r.sector) {
            r.sector = s;
            r.inicioSector = f;
        }
    }
}

std::optional<double> AnalisisCarrera::progreso(int jugador, long long frame) const {
    if (!hayProgreso() || frames == 0 || jugador < 0 || jugador >= jugadores) {
        return std::nullopt;
    }
    return progresoEn(jugador, std::clamp(frame, 0LL, frames - 1));
}

long long AnalisisCarrera::pasosDesde(int jugador, double valor, long long k) const {
    // Progress hardly ever goes back: the first frame it reached the value.
    long long bajo = 0;
    long long alto = k;
    while (bajo < alto) {
        const long long medio = bajo + (alto - bajo) / 2;
        if (progresoEn(jugador, medio) >= valor) {
            alto = medio;
        } else {
            bajo = medio + 1;
        }
    }
    return k - bajo;
}

void AnalisisCarrera::ponSectores(Puesto& puesto, long long k) const {
    const auto& lista = sectores[static_cast<std::size_t>(puesto.jugador)];
    const auto it =
        std::upper_bound(lista.begin(), lista.end(), k,
                         [](long long f, const TiemposSectores& t) { return f < t.frame; });
    if (it == lista.begin()) {
        return;
    }
    const TiemposSectores& t = *(it - 1);
    long long ideal = 0;
    for (std::size_t s = 0; s < static_cast<std::size_t>(kSectores); ++s) {
        if (t.ultimo[s] >= 0) {
            puesto.ultimoSector[s] = t.ultimo[s];
        }
        if (t.mejor[s] >= 0) {
            puesto.mejorSector[s] = t.mejor[s];
            ideal = ideal >= 0 ? ideal + t.mejor[s] : ideal;
        } else {
            ideal = -1;
        }
    }
    if (ideal >= 0) {
        puesto.vueltaIdeal = ideal;
    }
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
    if (ea.paso != eb.paso) {
        return ea.paso < eb.paso;
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
        p.paso = e.paso;
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
            pasos = p.paso - otro.paso;
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
        lista[static_cast<std::size_t>(e.jugador)].push_back({e.paso, e.vueltas});
    }
    return lista;
}

} // namespace zul
