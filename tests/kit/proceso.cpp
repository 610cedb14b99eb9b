#include "proceso.h"

#include <sys/wait.h>

namespace {

zul::Arranque arranque(const std::vector<std::string>& argv,
                       const std::vector<std::string>& entorno, long long limiteMemoria) {
    zul::Arranque a;
    a.argv = argv;
    a.entorno = entorno;
    a.limiteMemoria = limiteMemoria;
    return a;
}

zul::Reloj::time_point dentroDe(int ms) {
    return zul::Reloj::now() + std::chrono::milliseconds(ms);
}

} // namespace

std::vector<std::string> Resultado::lineas() const {
    std::vector<std::string> v;
    size_t inicio = 0;
    for (size_t fin; (fin = salida.find('\n', inicio)) != std::string::npos; inicio = fin + 1) {
        v.push_back(salida.substr(inicio, fin - inicio));
    }
    if (inicio < salida.size()) {
        v.push_back(salida.substr(inicio));
    }
    return v;
}

Proceso::Proceso(const std::vector<std::string>& argv, const std::vector<std::string>& entorno,
                 long long limiteMemoria)
    : proceso_(arranque(argv, entorno, limiteMemoria)) {}

void Proceso::escribir(const std::string& texto) {
    if (proceso_.enviar(texto, dentroDe(20000)) == zul::Proceso::CERRADO) {
        proceso_.cerrarEntrada();
    }
}

bool Proceso::leerLinea(std::string& linea, int topeMs) {
    const auto limite = dentroDe(topeMs);
    while (!proceso_.sacarLinea(linea)) {
        if (zul::Reloj::now() >= limite || proceso_.salidaCerrada()) {
            return false;
        }
        proceso_.leer(zul::msHasta(limite));
    }
    return true;
}

bool Proceso::esperarErrores(const std::string& texto, int topeMs) {
    const auto limite = dentroDe(topeMs);
    while (proceso_.errores.find(texto) == std::string::npos) {
        if (zul::Reloj::now() >= limite || proceso_.flujosCerrados()) {
            return false;
        }
        proceso_.leer(std::min(zul::msHasta(limite), 50));
    }
    return true;
}

Resultado Proceso::terminar(int topeMs) {
    proceso_.cerrarEntrada();
    const auto limite = dentroDe(topeMs);
    proceso_.vaciar(limite);
    Resultado r;
    if (!proceso_.esperar(limite)) {
        r.colgado = true;
        proceso_.detener();
    }
    const int estado = proceso_.estado();
    if (WIFEXITED(estado)) {
        r.estado = WEXITSTATUS(estado);
    } else if (WIFSIGNALED(estado)) {
        r.senal = WTERMSIG(estado);
    }
    r.salida = proceso_.salida;
    r.errores = proceso_.errores;
    return r;
}

Resultado ejecutar(const std::vector<std::string>& argv, const std::string& entrada,
                   const std::vector<std::string>& entorno, int topeMs) {
    Proceso p(argv, entorno);
    p.escribir(entrada);
    return p.terminar(topeMs);
}
