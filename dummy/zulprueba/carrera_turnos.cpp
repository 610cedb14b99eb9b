#include "carrera_turnos.h"

#include "comun/motivo_error.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace zulprueba {

namespace {

constexpr long long kMaxJugadores = 1000; // the viewer refuses more, so no race has them
// A shot is its shooter's when it starts this close to it (the logs start it right there).
constexpr double kDistanciaDisparo = 0.5;

struct Registro {
    double x, y;
};

// Shortest text that reads back as the same float, the type the bot reads it into: 2.449, not
// the 2.448999999999998 that a difference of doubles gives.
void anadir(std::string& s, double d) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(d));
    s.append(buf, r.ptr);
}

// "%199s", with the rest of a longer word skipped as the viewer does: its tail is never taken
// for the next word.
bool palabra(std::FILE* archivo, char (&token)[200]) {
    if (std::fscanf(archivo, "%199s", token) != 1) {
        return false;
    }
    int c;
    while ((c = std::getc(archivo)) != EOF && !std::isspace(c)) {
    }
    if (c != EOF) {
        std::ungetc(c, archivo);
    }
    return true;
}

// Index of the player nearest to where the shot starts, within kDistanciaDisparo; -1 if none.
long tirador(const DisparoCarrera& d, const Registro* registros, size_t jugadores) {
    long mejor = -1;
    double distancia = kDistanciaDisparo;
    for (size_t j = 0; j < jugadores; ++j) {
        const double h = std::hypot(registros[j].x - d.x1, registros[j].y - d.y1);
        if (h <= distancia) {
            distancia = h;
            mejor = static_cast<long>(j);
        }
    }
    return mejor;
}

} // namespace

bool turnosDeCarrera(std::FILE* archivo, const std::string& nombre, long jugador,
                     TurnosCarrera& salida, std::string& error) {
    salida = TurnosCarrera();
    long long n = 0;
    if (std::fscanf(archivo, "%lld", &n) != 1) {
        error = nombre + ": la carrera no empieza con el número de jugadores";
        return false;
    }
    if (n < 1 || n > kMaxJugadores) {
        error = nombre + ": la carrera declara " + std::to_string(n) + " jugadores; " +
                (n < 1 ? std::string("hace falta al menos uno")
                       : "el máximo es " + std::to_string(kMaxJugadores));
        return false;
    }
    if (jugador < 0 || jugador >= n) {
        error = "el jugador " + std::to_string(jugador) + " no está en la carrera " + nombre +
                ", que tiene " + std::to_string(n) + " jugadores (de 0 a " + std::to_string(n - 1) +
                ")";
        return false;
    }
    salida.jugadores = static_cast<int>(n);
    char token[200];
    for (long long i = 0; i < n; ++i) {
        salida.nombres.emplace_back(palabra(archivo, token) ? token : "");
    }

    // Records as the viewer reads them: a player record with fewer than four fields ends the
    // log; a shot with fewer is dropped; any other token is skipped.
    std::vector<Registro> registros;
    std::vector<std::vector<DisparoCarrera>> disparos(1);
    while (palabra(archivo, token)) {
        if (std::strcmp(token, "p") == 0) {
            double x, y, angulo;
            int vueltas;
            if (std::fscanf(archivo, "%lf %lf %lf %d", &x, &y, &angulo, &vueltas) != 4) {
                break;
            }
            registros.push_back({x, y});
            if (registros.size() % static_cast<size_t>(n) == 0) {
                disparos.emplace_back();
            }
        } else if (std::strcmp(token, "s") == 0) {
            DisparoCarrera d;
            if (std::fscanf(archivo, "%lf %lf %lf %lf", &d.x1, &d.y1, &d.x2, &d.y2) == 4) {
                // Between two frames a shot still belongs to the earlier one.
                const size_t frame = registros.size() / static_cast<size_t>(n);
                const bool entreFrames = registros.size() % static_cast<size_t>(n) == 0;
                disparos[entreFrames && frame > 0 ? frame - 1 : frame].push_back(d);
            }
        }
    }
    const size_t frames = registros.size() / static_cast<size_t>(n);
    salida.ultimoFrameIncompleto = registros.size() % static_cast<size_t>(n) != 0;
    if (frames == 0) {
        error = nombre + ": la carrera no tiene ningún paso completo (" + std::to_string(n) +
                " jugadores, " + std::to_string(registros.size()) + " registros p)";
        return false;
    }

    salida.turnos.resize(frames);
    for (size_t k = 0; k < frames; ++k) {
        TurnoCarrera& t = salida.turnos[k];
        t.texto = std::to_string(n) + "\n";
        for (size_t j = 0; j < static_cast<size_t>(n); ++j) {
            const Registro& r = registros[k * static_cast<size_t>(n) + j];
            double u = 0, v = 0;
            if (k + 1 < frames) {
                const Registro& s = registros[(k + 1) * static_cast<size_t>(n) + j];
                u = s.x - r.x;
                v = s.y - r.y;
            }
            anadir(t.texto, r.x);
            t.texto += ' ';
            anadir(t.texto, r.y);
            t.texto += ' ';
            anadir(t.texto, u);
            t.texto += ' ';
            anadir(t.texto, v);
            t.texto += '\n';
            if (static_cast<long>(j) == jugador) {
                t.u = u;
                t.v = v;
            }
        }
        t.texto += std::to_string(jugador) + "\n";
        t.disparos = std::move(disparos[k]);
        for (const auto& d : t.disparos) {
            if (tirador(d, &registros[k * static_cast<size_t>(n)], static_cast<size_t>(n)) ==
                jugador) {
                t.propios.push_back(d);
            }
        }
    }
    return true;
}

std::string desplazamientoReal(const TurnoCarrera& turno, long jugador) {
    char linea[800]; // room for two "%f" of the largest doubles
    std::snprintf(linea, sizeof linea, "en la carrera, el jugador %ld: m %f %f", jugador, turno.u,
                  turno.v);
    return linea;
}

bool turnosDeCarrera(const std::string& ruta, long jugador, TurnosCarrera& salida,
                     std::string& error) {
    std::FILE* f = std::fopen(ruta.c_str(), "r");
    if (f == nullptr) {
        error = "no se pudo abrir la carrera " + ruta + ": " + zul::motivoDelSistema(errno);
        return false;
    }
    const bool bien = turnosDeCarrera(f, ruta, jugador, salida, error);
    std::fclose(f);
    return bien;
}

} // namespace zulprueba
