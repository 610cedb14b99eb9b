// Where the turns that zulprueba sends come from. Each source gives the text of turn t
// (1 ≤ t ≤ cantidad()) in the protocol's format, ready to send.
#pragma once

#include "carrera_turnos.h"
#include "mapa.h"
#include "opciones.h"

#include <memory>
#include <string>
#include <vector>

namespace zul {

class FuenteDeTurnos {
public:
    virtual ~FuenteDeTurnos() = default;
    virtual long cantidad() const = 0;
    virtual const std::string& turno(long t) const = 0;
    // How the first line of the report names the source, e.g. "300 turnos sintéticos con 4 karts".
    virtual std::string descripcion() const = 0;
    // What the transcript shows beside the bot's answer to turn t, one line each; none by default.
    virtual std::vector<std::string> notas(long) const { return {}; }
};

// The same turn every time: `jugadores` karts standing still on the map's first track cells, row
// by row, the bot's own being entry 0.
class TurnosSinteticos : public FuenteDeTurnos {
public:
    TurnosSinteticos(const Mapa& mapa, int jugadores, long cantidad);
    long cantidad() const override { return cantidad_; }
    const std::string& turno(long) const override { return texto_; }
    std::string descripcion() const override;

private:
    std::string texto_;
    int jugadores_;
    long cantidad_;
};

// The turns of a file in the protocol's format, checked whole before the bot starts, and sent with
// every word exactly as written.
class TurnosDeArchivo : public FuenteDeTurnos {
public:
    explicit TurnosDeArchivo(const std::string& ruta);
    long cantidad() const override { return static_cast<long>(turnos_.size()); }
    const std::string& turno(long t) const override { return turnos_[static_cast<size_t>(t - 1)]; }
    std::string descripcion() const override;

private:
    std::string ruta_;
    std::vector<std::string> turnos_;
};

// The frames of a recorded race, played as player `jugador`; the transcript shows beside each
// answer what that player actually did.
class TurnosDeCarrera : public FuenteDeTurnos {
public:
    TurnosDeCarrera(const std::string& ruta, long jugador); // throws ErrorDePrueba
    long cantidad() const override { return static_cast<long>(carrera_.turnos.size()); }
    const std::string& turno(long t) const override { return de(t).texto; }
    std::string descripcion() const override;
    std::vector<std::string> notas(long t) const override;

private:
    const zulprueba::TurnoCarrera& de(long t) const {
        return carrera_.turnos[static_cast<size_t>(t - 1)];
    }
    std::string ruta_;
    long jugador_;
    zulprueba::TurnosCarrera carrera_;
};

// The source that the options ask for; throws ErrorDePrueba for an unusable turns file
// or race.
std::unique_ptr<FuenteDeTurnos> elegirTurnos(const Opciones& o, const Mapa& mapa);

} // namespace zul
