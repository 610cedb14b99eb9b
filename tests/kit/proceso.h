// Runs a program with its three streams on pipes, as the referee does, to test bots and tools.
// Every wait has a cap that only keeps a broken program from hanging the test.
#pragma once

#include "zulprueba/proceso.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

struct Resultado {
    std::string salida;
    std::string errores;
    int estado = -1;      // exit status, if it exited
    int senal = 0;        // the signal that ended it, if any
    bool colgado = false; // it outlived the cap and was killed

    std::vector<std::string> lineas() const;
};

class Proceso {
public:
    // argv[0] is the program's path; entorno holds "NOMBRE=valor" assignments added to ours.
    explicit Proceso(const std::vector<std::string>& argv,
                     const std::vector<std::string>& entorno = {}, long long limiteMemoria = 0);

    // Writes all of the text (or until the program closes its input).
    void escribir(const std::string& texto);
    // Waits for a whole line of standard output; false if none comes before the cap.
    bool leerLinea(std::string& linea, int topeMs = 20000);
    // Waits until standard error holds `texto`; false if it does not come before the cap.
    bool esperarErrores(const std::string& texto, int topeMs = 20000);
    // Closes our end of its standard output: its next write meets a broken pipe.
    void cerrarSalida() { proceso_.cerrarSalida(); }
    pid_t pid() const { return proceso_.pid(); }
    // Closes the input, collects the rest of the output and waits for the program to end.
    Resultado terminar(int topeMs = 20000);

private:
    zul::Proceso proceso_;
};

// Shorthand: runs with the given input, closes it and reports what happened.
Resultado ejecutar(const std::vector<std::string>& argv, const std::string& entrada,
                   const std::vector<std::string>& entorno = {}, int topeMs = 20000);
