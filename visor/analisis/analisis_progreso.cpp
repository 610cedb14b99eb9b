// Progress round the track and sector times: the part of the analysis that
// needs the map.
#include "analisis/analisis.h"
#include "analisis/intersecciones.h"

#include <algorithm>
#include <array>
#include <limits>
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
    progresos.resize(static_cast<std::size_t>(frames) * n);
    recorre(carrera, framesProgreso, frames);
    framesProgreso = frames;
}

namespace {

// Just short of a whole lap.
constexpr double kCasiUno = 1.0 - 1e-9;

int sectorDe(double fraccion) {
    return fraccion < 1.0 / kSectores ? 0 : fraccion < 2.0 / kSectores ? 1 : 2;
}

// Where each sector ends.
constexpr std::array<double, kSectores> kFinSector = {1.0 / kSectores, 2.0 / kSectores,
                                                      std::numeric_limits<double>::infinity()};

} // namespace

void AnalisisCarrera::recorre(const Carrera& carrera, long long desde, long long hasta) {
    const std::size_t n = static_cast<std::size_t>(jugadores);
    const QPointF* posiciones = carrera.posiciones.data();
    const int* vueltas = carrera.vueltas.data();
    double* salida = progresos.data();
    const CampoPista& campo = *campoPista;
    const double inverso = campo.inversoLargo();
    // Most records change nothing but the fraction: the kart on the lap
    // count of the frame before, on a cell with a distance, not across the
    // line from its fraction before (from under a quarter of the lap to
    // three quarters or more, or back) and in no later sector. Those only
    // need their progress; the rest go through avanza. Of each kart, the
    // lap count and the bounds of the fraction [bajo, alto) that keep it
    // quiet: below 0.75 the fraction stays there, and from 0.75 on it stays
    // at 0.25 or more. Then the same for eight frames of records in a row
    // (`periodo` records, a multiple of eight), for the vector instructions.
    const std::size_t periodo = 8 * n;
    std::vector<double> limites(3 * (n + periodo));
    double* const actual = limites.data();
    double* const bajo = actual + n;
    double* const alto = bajo + n;
    CampoPista::Quietos quietos;
    quietos.vueltas = alto + n;
    quietos.bajo = quietos.vueltas + periodo;
    quietos.alto = quietos.bajo + periodo;
    quietos.periodo = periodo;
    const auto pon = [&](std::size_t j, double a, double b, double c) {
        actual[j] = a;
        bajo[j] = b;
        alto[j] = c;
        for (std::size_t t = j; t < periodo; t += n) {
            limites[3 * n + t] = a;
            limites[3 * n + periodo + t] = b;
            limites[3 * n + 2 * periodo + t] = c;
        }
    };
    const auto ponDe = [&](std::size_t j) {
        const Recorrido& r = recorridos[j];
        const bool tarde = r.fraccion >= 0.75;
        pon(j, r.vueltasAntes, tarde ? 0.25 : 0.0,
            std::min(tarde ? std::numeric_limits<double>::infinity() : 0.75,
                     kFinSector[static_cast<std::size_t>(r.sector)]));
    };
    for (std::size_t j = 0; j < n; ++j) {
        if (desde > 0) {
            ponDe(j);
        } else {
            pon(j, 0.0, 0.0, -1.0); // nothing is quiet on the first frame
        }
    }
    // The last record of each kart that went through avanza. The fraction
    // of a quiet record is its own, so the fraction before a record that is
    // not is worked out again from the record before.
    std::vector<std::size_t> ultimoLento(n, std::numeric_limits<std::size_t>::max());
    const std::size_t inicio = static_cast<std::size_t>(desde) * n;
    const std::size_t fin = static_cast<std::size_t>(hasta) * n;
    const auto una = [&](std::size_t k, std::size_t j, int v) {
        double distancia = campo.distanciaSinRumbo(posiciones[k]);
        const double bruta = distancia * inverso;
        if (v == actual[j] && bruta >= bajo[j] && bruta < alto[j]) {
            salida[k] = v + bruta;
            return;
        }
        Recorrido& r = recorridos[j];
        if (k >= inicio + n && ultimoLento[j] != k - n) {
            r.fraccion = campo.distanciaSinRumbo(posiciones[k - n]) * inverso;
        }
        const long long f = static_cast<long long>(k / n);
        if (distancia == CampoPista::kFaltaRumbo) {
            distancia = campo.distanciaONegativa(posiciones[k], rumbo(carrera, j, f));
        }
        avanza(j, f, v, distancia);
        salida[k] = v + r.fraccion;
        ultimoLento[j] = k;
        ponDe(j);
    };
    // A group of records at a time with vector instructions, up to the
    // next frame where a lap count changes (before it every kart keeps its
    // count), and a group one by one where one is not quiet or the count
    // may change; or all one by one.
    const std::size_t grupo = CampoPista::grupoVectorial();
    std::vector<long long> cambios;
    if (grupo > 0) {
        // The states are in frame order.
        const auto antes = [](const Estado& e, long long frame) { return e.frameVuelta < frame; };
        for (auto e = std::lower_bound(estados.begin(), estados.end(), desde, antes);
             e != estados.end() && e->frameVuelta < hasta; ++e) {
            if (cambios.empty() || cambios.back() != e->frameVuelta) {
                cambios.push_back(e->frameVuelta);
            }
        }
    }
    std::size_t siguiente = 0; // of cambios
    std::size_t k = inicio;
    std::size_t j = 0;
    // Records before it keep their kart's lap count.
    std::size_t libres = inicio;
    while (k < fin) {
        std::size_t hastaK = fin;
        if (grupo > 0) {
            while (siguiente < cambios.size() &&
                   static_cast<std::size_t>(cambios[siguiente] + 1) * n <= k) {
                ++siguiente;
            }
            libres = siguiente < cambios.size()
                         ? std::max(k, static_cast<std::size_t>(cambios[siguiente]) * n)
                         : fin;
            k += campo.progresosQuietos(posiciones + k, salida + k, (libres - k) / grupo * grupo,
                                        quietos, (k - inicio) % periodo);
            j = k % n;
            hastaK = std::min(fin, k + grupo);
        }
        for (; k < hastaK; ++k) {
            // The lap counts are not read where they cannot have changed:
            // the vector pass has not brought them to the cache.
            una(k, j, k < libres ? static_cast<int>(actual[j]) : vueltas[k]);
            j = j + 1 == n ? 0 : j + 1;
        }
    }
    for (j = 0; j < n && fin >= inicio + n; ++j) {
        const std::size_t ultimo = fin - n + j;
        if (ultimoLento[j] != ultimo) {
            recorridos[j].fraccion = campo.distanciaSinRumbo(posiciones[ultimo]) * inverso;
        }
    }
}

QPointF AnalisisCarrera::rumbo(const Carrera& carrera, std::size_t j, long long frame) {
    Recorrido& r = recorridos[j];
    // The latest frame the kart moved on, since the one looked at last.
    const std::size_t n = static_cast<std::size_t>(jugadores);
    for (long long f = frame; f > r.frameRumbo && f > 0; --f) {
        const QPointF& posicion = carrera.posiciones[static_cast<std::size_t>(f) * n + j];
        const QPointF& antes = carrera.posiciones[static_cast<std::size_t>(f - 1) * n + j];
        // Exactly, not QPointF's fuzzy comparison.
        if (posicion.x() != antes.x() || posicion.y() != antes.y()) {
            r.rumbo = posicion - antes;
            break;
        }
    }
    r.frameRumbo = std::max(r.frameRumbo, frame);
    return r.rumbo;
}

void AnalisisCarrera::avanza(std::size_t j, long long f, int v, double distancia) {
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
