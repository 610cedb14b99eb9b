// What zulprueba reports: the transcript of the whole exchange (--registro), the violations with
// their turns, the reply times and the summary.
#pragma once

#include <cstdio>
#include <string>

namespace zul {

// The --registro file: one line per line of text, after its mark: '>' sent, '<' received, '!' the
// bot's standard error, '#' comments. Without a path it writes nothing.
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
    // False if anything failed to reach the file; error() then says why.
    bool cerrar();
    // The errno of the first write that failed, 0 if none did.
    int error() const { return error_; }

private:
    std::FILE* f_ = nullptr;
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
