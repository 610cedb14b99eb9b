// zulprueba: checks locally that a bot keeps the turn protocol. It starts the bot on pipes,
// sends it the map and the turns, and checks every reply and how the bot ends.
#include "comprobacion.h"
#include "comun/escritura_segura.h"
#include "comun/motivo_error.h"
#include "error.h"
#include "opciones.h"
#include "plantilla.h"
#include "proceso.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <new>
#include <unistd.h>

namespace {

// Whatever stops zulprueba, nothing that the bot started outlives it, and no partial transcript
// is left.
void alInterrumpir(int senal) {
    zul::terminarDescendientes();
    zul::borraParciales();
    _exit(128 + senal);
}

int probar(zul::Opciones o) {
    if (o.mapa.empty()) {
        o.mapa = zul::mapaDeEjemplo();
    }
    const zul::Mapa mapa = zul::leerMapa(o.mapa);
    const auto turnos = zul::elegirTurnos(o, mapa);
    for (int s : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
        signal(s, alInterrumpir);
    }
    zul::Transcripcion transcripcion(o.registro);
    zul::adoptarHuerfanos();
    const int estado = zul::Comprobacion(o, mapa, *turnos, transcripcion).ejecutar();
    zul::terminarDescendientes();
    if (!transcripcion.cerrar()) {
        const int error = transcripcion.error();
        std::fprintf(stderr, "zulprueba: no se pudo escribir el registro %s%s\n",
                     o.registro.c_str(),
                     error != 0 ? (": " + zul::motivoDelSistema(error)).c_str() : "");
        return 2;
    }
    return estado;
}

// The installed template is found beside the program itself, wherever it was installed.
std::string dirPrograma() {
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) {
        return ".";
    }
    std::string dir(exe, static_cast<size_t>(n));
    return dir.substr(0, dir.rfind('/'));
}

int copiar(const std::string& destino) {
    const std::string origen = zulprueba::carpetaPlantilla(dirPrograma());
    if (origen.empty()) {
        throw zul::ErrorDePrueba("no se encontró la plantilla del concursante (share/zul/plantilla "
                                 "junto al kit instalado)");
    }
    std::vector<std::string> copiados;
    std::string error;
    if (!zulprueba::copiarPlantilla(origen, destino, copiados, error)) {
        throw zul::ErrorDePrueba(error);
    }
    std::printf("zulprueba: plantilla copiada de %s en %s:\n", origen.c_str(), destino.c_str());
    for (const auto& c : copiados) {
        std::printf("  %s\n", c.c_str());
    }
    std::printf("Su README explica cómo compilarla y probarla.\n");
    return std::fflush(stdout) == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const zul::Opciones o = zul::leerOpciones(argc, argv);
        if (o.ayuda) {
            std::fputs(zul::uso().c_str(), stdout);
            return 0;
        }
        if (!o.plantilla.empty()) {
            return copiar(o.plantilla);
        }
        return probar(o);
    } catch (const zul::ErrorDePrueba& e) {
        std::fprintf(stderr, "zulprueba: %s\n", e.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zulprueba: memoria agotada\n");
    }
    zul::terminarDescendientes();
    return 2;
}
