#pragma once

#include "datos/depuracion.h"

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace zul {

// The bots' debug files shown over a replay (datos/depuracion.h), read whole
// or, in live mode, followed while the bots write them: each look reads what
// was appended, and a block still being written waits for its "fin". No
// thread and no widget: the owner calls sondea() when it looks at the race
// log.
class Depuraciones {
public:
    // Adds the file at `ruta`, read whole; `siguiendo` reads what it holds so
    // far instead (a file not there yet is waited for). Throws ErrorFormato,
    // naming the file and the line to blame, for one that cannot be read,
    // does not parse or belongs to another race (`jugadores` players and
    // `frames` frames; frames < 0 while the race is still written); nothing
    // changes then.
    void anade(const std::string& ruta, int jugadores, long frames, bool siguiendo);
    // One look at each followed file; true when turns came in or a file was
    // dropped. A file that stops parsing or no longer fits the race is
    // dropped, and why goes to `rechazos`. A file rewritten from its start
    // (another run of the bot) is read again from there.
    bool sondea(int jugadores, std::vector<std::string>& rechazos);
    // Reading stops: what was read stays.
    void dejaDeSeguir();
    void quitaTodas() { archivos.clear(); }

    bool ninguna() const { return archivos.empty(); }
    std::size_t cuantas() const { return archivos.size(); }
    const Depuracion& depuracion(std::size_t k) const { return archivos[k]->datos; }

    // Turn n of each file is drawn over frame n + desfase.
    void ponDesfase(long desfase) { desplazamiento = desfase; }
    long desfase() const { return desplazamiento; }

    // The turns drawn over `frame`, one per file that has one; they stay
    // valid until the next anade(), sondea() or quitaTodas().
    std::vector<const TurnoDepuracion*> turnos(long long frame) const;
    // The notes of `jugador`'s bot over `frame`, in its files' order.
    std::vector<std::string> notas(long long frame, int jugador) const;

private:
    struct Archivo {
        explicit Archivo(const std::string& ruta) : ruta(ruta), datos(ruta) {}
        std::string ruta;
        Depuracion datos;
        bool siguiendo = false;
        bool abierto = false; // the file has been seen
        dev_t dispositivo = 0;
        ino_t inodo = 0;
        off_t leidos = 0;
    };
    // Reads what was appended; true when something was. Throws ErrorFormato.
    static bool lee(Archivo& archivo);

    std::vector<std::unique_ptr<Archivo>> archivos;
    long desplazamiento = 0;
};

// The command that plays `jugador`'s turns from `frame` on against the race,
// ready to paste in a terminal or under a debugger: the path shell-quoted,
// the bot left as zulprueba's synopsis writes it.
std::string ordenRepeticion(const std::string& rutaCarrera, int jugador, long long frame);

} // namespace zul
