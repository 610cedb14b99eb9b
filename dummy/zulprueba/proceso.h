// A program started with its three standard streams on pipes, in a process group of its own, as
// the referee starts a contestant. zulprueba drives bots with it, and the kit tests drive bots and
// zulprueba itself. No call blocks past the deadline it is given.
#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zul {

using Reloj = std::chrono::steady_clock;

// Milliseconds left until `limite`, never negative.
int msHasta(Reloj::time_point limite);

struct Arranque {
    std::vector<std::string> argv;    // argv[0] is looked up in PATH as a shell would
    std::vector<std::string> entorno; // "NOMBRE=valor" assignments added to ours
    long long limiteMemoria = 0;      // address space limit in bytes (RLIMIT_AS); 0 = none
};

// The program could not be run; `error` is the errno of the failed exec (or fork).
struct ErrorDeArranque : std::runtime_error {
    ErrorDeArranque(const std::string& que, int e) : std::runtime_error(que), error(e) {}
    int error;
};

class Proceso {
public:
    explicit Proceso(const Arranque& arranque);
    // Ends the whole process group and reaps the program.
    ~Proceso();
    Proceso(const Proceso&) = delete;
    Proceso& operator=(const Proceso&) = delete;

    enum Envio { ENVIADO, AGOTADO, CERRADO };
    // Writes all of `texto` to the program's input, reading its output meanwhile so that neither
    // side blocks. With `progresoMs` > 0 the deadline moves that far ahead on every write that
    // makes progress.
    Envio enviar(const std::string& texto, Reloj::time_point limite, int progresoMs = 0);
    // Collects what the program wrote, waiting at most `esperaMs` for something to arrive.
    void leer(int esperaMs);
    // Takes one whole line (without its '\n') out of `salida`; false if there is none yet.
    bool sacarLinea(std::string& linea);

    void cerrarEntrada();
    // Closes our end of its standard output, so its next write finds a broken pipe.
    void cerrarSalida();
    bool salidaCerrada() const { return salida_ < 0; }
    bool flujosCerrados() const { return salida_ < 0 && errores_ < 0; }

    // Waits for the program to end; false if it is still running at `limite`. When it ends, what
    // is left of its process group is killed before the program is reaped.
    bool esperar(Reloj::time_point limite);
    // Kills the whole process group and reaps the program.
    void detener();
    // Reads both streams until the program closes them or `limite` passes.
    void vaciar(Reloj::time_point limite);

    pid_t pid() const { return pid_; }
    bool terminado() const { return terminado_; }
    bool detenido() const { return detenido_; }
    int estado() const { return estado_; } // as waitpid reports it

    std::string salida;  // standard output not yet taken
    std::string errores; // standard error, kept unless alRecibirErrores is set
    // Receives standard error as it arrives, instead of keeping it in `errores`.
    std::function<void(const char*, size_t)> alRecibirErrores;

private:
    void acabarGrupo();

    pid_t pid_ = -1;
    int entrada_ = -1;
    int salida_ = -1;
    int errores_ = -1;
    int estado_ = 0;
    bool terminado_ = false;
    bool detenido_ = false;
};

// Makes this process adopt every orphaned descendant, so that terminarDescendientes() reaches
// processes that left their group or their parent.
void adoptarHuerfanos();
// Kills and reaps every child of this process, and the children that they leave behind, until
// none is left. Async-signal-safe, so that a signal handler may call it.
void terminarDescendientes();

} // namespace zul
