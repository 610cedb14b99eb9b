#include "opciones.h"

#include "error.h"
#include "texto.h"

#include <algorithm>
#include <climits>
#include <cstring>
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

// `motivo` starts with the option's name, and says what a value that is no
// integer at all should be; an integer out of range is told as such.
long numero(const std::string& s, long minimo, long maximo, const char* motivo) {
    long v = 0;
    if (!entero(s, minimo, maximo, v)) {
        const std::size_t signo = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
        if (s.size() > signo && s.find_first_not_of("0123456789", signo) == std::string::npos) {
            const std::string opcion(motivo, std::strcspn(motivo, " "));
            throw ErrorDePrueba(formato("%s necesita un número entre %ld y %ld, no «%s»",
                                        opcion.c_str(), minimo, maximo, s.c_str()));
        }
        throw ErrorDePrueba(formato(motivo, s.c_str()));
    }
    return v;
}

const std::vector<Opcion>& opciones() {
    static const std::vector<Opcion> tabla = {
        {"--mapa", "MAPA",
         "mapa que se envía (por omisión, también con --carrera, el mapa\nde ejemplo del kit)",
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
        {"--carrera", "CARRERA",
         "los turnos de una carrera grabada (un registro del visor): un\nturno por paso, con la "
         "posición de cada jugador y, como vector,\nsu desplazamiento hasta el paso siguiente "
         "(0 0 en el último)",
         [](Opciones& o, const std::string& v) { o.carrera = v; }},
        {"--jugador", "J",
         "con --carrera, el jugador cuyo papel hace el bot: su\nidentificador propio es J (de 0 "
         "al número de jugadores menos\nuno); con --registro, cada turno muestra también lo que "
         "hizo",
         [](Opciones& o, const std::string& v) {
             // Whether the race has that player is for the race to say, for
             // any integer: only what is no integer at all is refused here.
             o.jugador =
                 numero(v, LONG_MIN, LONG_MAX, "--jugador necesita un número entero, no «%s»");
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
        {"--depuracion", "RUTA",
         "el bot guarda en RUTA sus dibujos y notas (ZUL_DEPURACION),\nun bloque por turno; con "
         "--carrera, el turno n es el paso n\nde la carrera, y el visor los muestra con "
         "--depuracion RUTA",
         [](Opciones& o, const std::string& v) { o.depuracion = v; }},
        {"--desde", "K",
         "comprueba desde el turno K contado desde 0, como los pasos del\nvisor y el archivo "
         "de depuración (el turno K+1 del informe);\nlos anteriores se juegan sin comprobarlos, "
         "para que el bot\nllegue a K con su estado (espera del disparo, orden)",
         [](Opciones& o, const std::string& v) {
             o.desde =
                 numero(v, 0, LONG_MAX, "--desde necesita un turno (entero desde 0), no «%s»");
         }},
        {"--hasta", "M",
         "el último turno que se envía, contado desde 0; tras él se cierra\nla "
         "entrada del bot",
         [](Opciones& o, const std::string& v) {
             o.hasta =
                 numero(v, 0, LONG_MAX, "--hasta necesita un turno (entero desde 0), no «%s»");
         }},
        {"--plantilla", "CARPETA",
         "copia en CARPETA el proyecto de concursante instalado (bot.cpp,\nCMakeLists.txt, "
         "bot.py y su README) sin sobrescribir nada, y\ntermina; no lleva bot",
         [](Opciones& o, const std::string& v) { o.plantilla = v; }},
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
    std::string s = "Uso: zulprueba [--mapa MAPA] [--turnos ARCHIVO | --pasos N |\n"
                    "                --carrera CARRERA --jugador J] [--limite MS]\n"
                    "                [--jugadores K] [--registro ARCHIVO] [--depuracion RUTA]\n"
                    "                [--desde K] [--hasta M] -- ./mibot [argumentos]\n"
                    "     zulprueba --plantilla CARPETA\n"
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
               "probar.\n"
               "Con --plantilla: 0 si se copió, 2 si no.\n";
}

Opciones leerOpciones(int argc, char** argv) {
    Opciones o;
    std::vector<std::string> dadas;
    const auto dada = [&dadas](const char* nombre) {
        return std::find(dadas.begin(), dadas.end(), nombre) != dadas.end();
    };
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
        dadas.push_back(opcion->nombre);
    }
    for (; i < argc; ++i) {
        o.bot.push_back(argv[i]);
    }
    if (dada("--plantilla")) {
        if (dadas.size() > 1 || !o.bot.empty()) {
            throw ErrorDePrueba("--plantilla va sola: zulprueba --plantilla CARPETA");
        }
        if (o.plantilla.empty()) {
            throw ErrorDePrueba("--plantilla necesita el nombre de una carpeta");
        }
        return o;
    }
    if (o.bot.empty()) {
        throw ErrorDePrueba("falta el bot que probar\n" + uso());
    }
    if (dada("--turnos") + dada("--pasos") + dada("--carrera") > 1) {
        throw ErrorDePrueba("--turnos, --pasos y --carrera se excluyen: use uno de los tres");
    }
    if (dada("--carrera") != dada("--jugador")) {
        throw ErrorDePrueba(
            dada("--carrera") ? "--carrera necesita --jugador J: el jugador cuyo papel hace el bot"
                              : "--jugador va con --carrera CARRERA");
    }
    if (dada("--carrera") && o.carrera.empty()) {
        throw ErrorDePrueba("--carrera necesita la ruta de un registro de carrera");
    }
    if (dada("--carrera") && dada("--jugadores")) {
        throw ErrorDePrueba("--jugadores es para los turnos sintéticos; con --carrera, los "
                            "jugadores son los de la carrera");
    }
    if (o.hasta >= 0 && o.hasta < o.desde) {
        throw ErrorDePrueba(formato("--hasta %ld queda antes de --desde %ld", o.hasta, o.desde));
    }
    if (dada("--depuracion") && o.depuracion.empty()) {
        throw ErrorDePrueba("--depuracion necesita la ruta del archivo de depuración");
    }
    if (o.turnos.empty() && o.carrera.empty() && o.turnosSinteticos < 0) {
        o.turnosSinteticos = kTurnosPorOmision;
    }
    return o;
}

} // namespace zul
