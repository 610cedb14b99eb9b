// Lanza un programa con sus tres flujos en tuberías, para probar bots y herramientas tal como
// los usa el árbitro. Todas las esperas tienen un tope que solo evita colgarse.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct Resultado {
    std::string salida;
    std::string errores;
    int estado = -1;      // código de salida si terminó normalmente
    int senal = 0;        // señal que lo terminó, si la hubo
    bool colgado = false; // superó el tope y se mató

    std::vector<std::string> lineas() const;
};

class Proceso {
public:
    // argv[0] es la ruta del programa; entorno son asignaciones "NOMBRE=valor" añadidas.
    explicit Proceso(const std::vector<std::string>& argv,
                     const std::vector<std::string>& entorno = {});
    ~Proceso();
    Proceso(const Proceso&) = delete;
    Proceso& operator=(const Proceso&) = delete;

    // Escribe todo el texto (o hasta que el programa cierre su entrada).
    void escribir(const std::string& texto);
    // Espera una línea completa de la salida estándar; false si no llega antes del tope.
    bool leerLinea(std::string& linea, int topeMs = 20000);
    // Cierra la entrada, recoge el resto de la salida y espera al final del programa.
    Resultado terminar(int topeMs = 20000);

private:
    bool leerDisponible(int esperaMs);
    void cerrarEntrada();

    pid_t pid_ = -1;
    int entrada_ = -1;
    int salida_ = -1;
    int errores_ = -1;
    std::string bufSalida_;
    std::string bufErrores_;
    size_t consumido_ = 0;
};

// Atajo: ejecuta con la entrada dada, la cierra y devuelve lo que pasó.
Resultado ejecutar(const std::vector<std::string>& argv, const std::string& entrada,
                   const std::vector<std::string>& entorno = {}, int topeMs = 20000);
