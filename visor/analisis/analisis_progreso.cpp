// Progress round the track and sector times: the part of the analysis that
// needs the map.
#include "analisis/analisis.h"
#include "analisis/intersecciones.h"

#include <algorithm>
#include <tuple>

namespace zul {

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
    if (cruces.size() < static_cast<std::size_t>(kMuestrasLinea) || !vueltaEntera) {
        // The first completions of the race, in frame order, then player
        // order; and the end of the first whole lap, line to line.
        std::vector<std::tuple<long long, std::size_t>> primeras;
        std::vector<long long> finesVuelta;
        for (std::size_t j = 0; j < n; ++j) {
            const auto& lista = vueltasCompletadas[j];
            for (std::size_t c = 0;
                 c < lista.size() && c < static_cast<std::size_t>(kMuestrasLinea); ++c) {
                primeras.emplace_back(lista[c].frame, j);
            }
            if (lista.size() >= 2) {
                finesVuelta.push_back(lista[1].frame);
            }
        }
        // Where the track crosses itself shows once two karts (or the only
        // one) have driven a whole lap, line to line.
        std::sort(finesVuelta.begin(), finesVuelta.end());
        const std::size_t necesarias = std::min<std::size_t>(n, 2);
        const bool vueltas = finesVuelta.size() >= necesarias;
        const long long finVuelta = vueltas ? finesVuelta[necesarias - 1] : -1;
        std::sort(primeras.begin(), primeras.end());
        primeras.resize(std::min(primeras.size(), static_cast<std::size_t>(kMuestrasLinea)));
        if (primeras.size() != cruces.size() || (!vueltaEntera && vueltas)) {
            cruces.clear();
            for (const auto& [f, j] : primeras) {
                const std::size_t i = static_cast<std::size_t>(f) * n + j;
                cruces.push_back({carrera.posiciones[i - n], carrera.posiciones[i]});
            }
            lineaMeta = aprendeLinea(*mapa, cruces);
            campoPista.reset();
            vueltaEntera = vueltas;
            if (lineaMeta) {
                const long long hasta =
                    std::max(primeras.empty() ? 0 : std::get<0>(primeras.back()), finVuelta) + 1;
                std::vector<long long> desde;
                for (const auto& lista : vueltasCompletadas) {
                    desde.push_back(lista.empty() ? hasta : lista.front().frame);
                }
                auto campo = std::make_shared<const CampoPista>(
                    *mapa, *lineaMeta, aprendeIntersecciones(*mapa, carrera, desde, hasta));
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

void AnalisisCarrera::avanza(std::size_t j, long long f, int v, const QPointF& posicion) {
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

    // Exactly, not QPointF's fuzzy comparison: this runs for every record.
    if (f > 0 && (posicion.x() != r.posicion.x() || posicion.y() != r.posicion.y())) {
        r.rumbo = posicion - r.posicion;
    }
    r.posicion = posicion;
    const double distancia = campoPista->distanciaONegativa(posicion, r.rumbo);
    if (distancia >= 0.0) {
        const double bruta = distancia * campoPista->inversoLargo();
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
    } else if (distancia >= 0.0) {
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

} // namespace zul
