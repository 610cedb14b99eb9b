// What zulprueba reports: the transcript of the whole exchange (--registro), the violations with
// their turns, the reply times and the summary.
#pragma once

#include "comun/escritura_segura.h"

#include <cstdio>
#include <string>

namespace zul {

// The --registro file: one line per line of text, after its mark: '>' sent, '<' received, '!' the
// bot's standard error, '#' comments. Without a path it writes nothing. It goes into a partial
// file beside the one it replaces (through a symbolic link, with the old file's permissions),
// which takes its place only once complete: a failed write or a signal leaves the old one.
class Transcripcion {
public:
    explicit Transcripcion(const std::string& ruta); // throws ErrorDePrueba
    ~Transcripcion();
    Transcripcion(const Transcripcion&) = delete;
    Transcripcion& operator=(const Transcripcion&) = delete;

    bool activa() const { return f_ != nullptr; }
    void escribir(char marca, const std::string& texto);
    // Takes the bot's standard error as it comes, and writes each whole line.
    void erroresDelBot(const char* datos, size_t largo);
    // Writes what is left of the bot's standard error: a last line without '\n'.
    void terminarErrores();
    // Puts the file in place. False if anything failed to reach it; error() then says why, and
    // the file replaced is left as it was.
    bool cerrar();
    // The errno of the first write that failed, 0 if none did.
    int error() const { return error_; }

private:
    std::FILE* f_ = nullptr;
    DestinoEscritura destino_;
    std::string parcial_; // empty when written in place (a device, a pipe)
    std::string errores_; // the bot's standard error since its last '\n'
    int error_ = 0;
};

class Informe {
public:
    explicit Informe(Transcripcion& t) : transcripcion_(t) {}
    void infraccion(long turno, const std::string& texto);
    int infracciones() const { return infracciones_; }
    void tiempo(long turno, double ms);
    // Prints the summary lines and copies them to the transcript.
    void resumen(long respondidos, long turnos, const std::string& final);

private:
    Transcripcion& transcripcion_;
    int infracciones_ = 0;
    double total_ = 0;
    double maximo_ = 0;
    long turnoMaximo_ = 0;
    long respuestas_ = 0;
};

} // namespace zul
