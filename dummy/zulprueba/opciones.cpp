#include "opciones.h"

#include "error.h"
#include "texto.h"

#include <functional>

namespace zul {

namespace {

constexpr int kTurnosPorOmision = 300;

struct Opcion {
    const char* nombre;
    const char* valor; // the value's name in the help; nullptr for a flag
    const char* ayuda; // continuation lines after '\n'
    std::function<void(Opciones&, const std::string&)> aplicar;
};

long numero(const std::string& s, long minimo, long maximo, const char* motivo) {
    long v = 0;
    if (!entero(s, minimo, maximo, v)) {
        throw ErrorDePrueba(formato(motivo, s.c_str()));
    }
    return v;
}

const std::vector<Opcion>& opciones() {
    static const std::vector<Opcion> tabla = {
        {"--mapa", "MAPA", "mapa que se envía (por omisión, el mapa de ejemplo del kit)",
         [](Opciones& o, const std::string& v) { o.mapa = v; }},
        {"--turnos", "ARCHIVO", "turnos en el formato del protocolo: N, N veces \"x y u v\", id",
         [](Opciones& o, const std::string& v) { o.turnos = v; }},
        {"--pasos", "N",
         "N turnos sintéticos con los karts quietos en las primeras\ncasillas de pista (por "
         "omisión 300)",
         [](Opciones& o, const std::string& v) {
             o.turnosSinteticos =
                 numero(v, 0, 100000000,
                        "--pasos necesita un número de turnos entre 0 y 100000000, no «%s»");
         }},
        {"--jugadores", "K", "karts de los turnos sintéticos (por omisión 4; el propio es el 0)",
         [](Opciones& o, const std::string& v) {
             o.jugadores = static_cast<int>(
                 numero(v, 1, 10000, "--jugadores necesita un número entre 1 y 10000, no «%s»"));
         }},
        {"--limite", "MS", "tiempo máximo por respuesta, en milisegundos (por omisión 1000)",
         [](Opciones& o, const std::string& v) {
             o.limiteMs = static_cast<int>(numero(
                 v, 1, 3600000, "--limite necesita milisegundos entre 1 y 3600000, no «%s»"));
         }},
        {"--registro", "ARCHIVO", "escribe todo el intercambio en ARCHIVO",
         [](Opciones& o, const std::string& v) { o.registro = v; }},
    };
    return tabla;
}

const Opcion* buscar(const std::string& nombre) {
    for (const auto& o : opciones()) {
        if (nombre == o.nombre) {
            return &o;
        }
    }
    return nullptr;
}

} // namespace

std::string uso() {
    std::string s = "Uso: zulprueba [--mapa MAPA] [--turnos ARCHIVO | --pasos N] [--limite MS]\n"
                    "                [--jugadores K] [--registro ARCHIVO] -- ./mibot "
                    "[argumentos]\n"
                    "\n"
                    "Arranca el bot, le envía el mapa y los turnos y comprueba cada respuesta.\n";
    const std::string sangria(22, ' ');
    for (const auto& o : opciones()) {
        std::string cabeza =
            std::string("  ") + o.nombre + (o.valor ? std::string(" ") + o.valor : "");
        cabeza.resize(std::max(cabeza.size() + 1, sangria.size()), ' ');
        std::string ayuda = o.ayuda;
        for (size_t k = 0; (k = ayuda.find('\n', k)) != std::string::npos;
             k += sangria.size() + 1) {
            ayuda.insert(k + 1, sangria);
        }
        s += cabeza + ayuda + "\n";
    }
    return s + "Estado de salida: 0 si el bot cumple el protocolo, 1 si no, 2 si no se pudo "
               "probar.\n";
}

Opciones leerOpciones(int argc, char** argv) {
    Opciones o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a == "--ayuda" || a == "-h" || a == "--help") {
            o.ayuda = true;
            return o;
        }
        const Opcion* opcion = buscar(a);
        if (opcion == nullptr && a.rfind("-", 0) == 0) {
            throw ErrorDePrueba("opción desconocida «" + a + "»\n" + uso());
        }
        if (opcion == nullptr) {
            break;
        }
        std::string valor;
        if (opcion->valor != nullptr) {
            if (i + 1 >= argc) {
                throw ErrorDePrueba("falta el valor de " + a + "\n" + uso());
            }
            valor = argv[++i];
        }
        opcion->aplicar(o, valor);
    }
    for (; i < argc; ++i) {
        o.bot.push_back(argv[i]);
    }
    if (o.bot.empty()) {
        throw ErrorDePrueba("falta el bot que probar\n" + uso());
    }
    if (!o.turnos.empty() && o.turnosSinteticos >= 0) {
        throw ErrorDePrueba("--turnos y --pasos se excluyen: use uno de los dos");
    }
    if (o.turnos.empty() && o.turnosSinteticos < 0) {
        o.turnosSinteticos = kTurnosPorOmision;
    }
    return o;
}

} // namespace zul
