#pragma once

#include "datos/carrera.h"
#include "datos/carrera_incremental.h"

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace zul {

// Follows a race log on disk while the referee writes it. No thread: the
// owner calls sondea() now and then (the window, on its repaint tick), and
// each call reads only what was appended since the one before. The race it
// fills holds whole frames only (see LectorCarreraIncremental).
//
// A log that shrinks or is replaced (another file at the path, or its first
// bytes changed) is a new race: the race is emptied and read again from the
// start. A log that is deleted keeps what was read. A log that does not exist
// yet, or holds part of its header, is waited for without an error.
class SeguidorCarrera {
public:
    enum class Estado {
        esperando, // no log yet, or its header is not complete
        siguiendo, // the header has been read: frames come in as they are written
        borrado,   // the log was deleted; the race keeps what was read
        error,     // the log cannot be used (motivo() says why); the race keeps what was read
        detenido,  // a player record could not be read: nothing after it is read (motivo()
                   // says so); the race keeps what came before
    };
    enum class Cambio {
        nada,      // the race is as it was
        frames,    // the header, whole frames or shots of the last frame came in
        recargada, // the race was emptied for a new log and read again from its start
    };

    // `destino` must outlive the follower; it is emptied now. At most
    // `maximoPorSondeo` bytes are read per call, so that catching up with a
    // long log never holds the caller up for long.
    SeguidorCarrera(std::string ruta, Carrera& destino, std::size_t maximoPorSondeo = 16u << 20);
    ~SeguidorCarrera();
    SeguidorCarrera(const SeguidorCarrera&) = delete;
    SeguidorCarrera& operator=(const SeguidorCarrera&) = delete;

    // Looks at the file once and reads what was appended.
    Cambio sondea();
    // Stops following: reads what is left and takes the end of the file as
    // the end of the log, so the race becomes exactly what leerCarrera reads
    // (a last record with nothing after it and a partial last frame
    // included). Should the file change afterwards, the next sondea() reads
    // it again from the start.
    void termina();

    Estado estado() const { return situacion; }
    // Why the log cannot be used, or why reading stopped, in Spanish, without
    // the path; empty unless the state is error or detenido.
    const std::string& motivo() const { return porque; }
    const std::string& ruta() const { return camino; }
    // Bytes of the log read so far.
    std::size_t bytesLeidos() const { return leidos; }

private:
    void reinicia();
    void cierra();
    bool inicioCambiado(); // or the last bytes read
    std::size_t lee();
    void falla(std::string texto);

    std::string camino;
    Carrera& destino;
    std::size_t maximo;
    std::unique_ptr<LectorCarreraIncremental> lector;
    Estado situacion = Estado::esperando;
    std::string porque;

    int descriptor = -1;
    dev_t dispositivo = 0;
    ino_t inodo = 0;
    // Whether a log has been read into the race since it was last emptied.
    bool conArchivo = false;
    bool terminado = false;
    // The header was refused: nothing more is read until the log changes.
    bool formatoRoto = false;
    std::size_t leidos = 0;
    // The first and the last bytes read, to tell a log rewritten in place.
    std::string inicio;
    std::string ultimos;
    off_t tamanoVisto = -1;
    std::vector<char> bloque; // kept from one read to the next
    timespec cambioVisto{};
};

} // namespace zul
