#include "envivo/sesion_en_vivo.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

namespace zul {

namespace {

// What one look at the log reads at most, so that a long log is caught up
// with over a few ticks rather than in one that holds the window up.
constexpr std::size_t kBytesPorSondeo = 16u << 20;

bool mismaCabecera(const Carrera& a, const Carrera& b) {
    return a.numJugadores == b.numJugadores && a.nombres == b.nombres;
}

} // namespace

bool SesionEnVivo::Huella::operator==(const Huella& otra) const {
    return existe == otra.existe && dispositivo == otra.dispositivo && inodo == otra.inodo &&
           tamano == otra.tamano && cambio.tv_sec == otra.cambio.tv_sec &&
           cambio.tv_nsec == otra.cambio.tv_nsec;
}

SesionEnVivo::Huella SesionEnVivo::huellaDe(const std::string& ruta) {
    Huella huella;
    struct stat datos;
    if (::stat(ruta.c_str(), &datos) == 0) {
        huella.existe = true;
        huella.dispositivo = datos.st_dev;
        huella.inodo = datos.st_ino;
        huella.tamano = datos.st_size;
        huella.cambio = datos.st_mtim;
    }
    return huella;
}

SesionEnVivo::SesionEnVivo(std::string ruta, Reproduccion& reproduccion, AnalisisCarrera& analisis,
                           bool enMarcha)
    : camino(std::move(ruta)), reproduccion(reproduccion), analisis(analisis) {
    const Carrera& carrera = reproduccion.carrera();
    if (carrera.numJugadores == 0 && carrera.posiciones.empty()) {
        // Nothing on show to keep: the follower fills the race from the start.
        seguidor = std::make_unique<SeguidorCarrera>(camino, reproduccion.carreraModificable(),
                                                     kBytesPorSondeo);
        analisis.reinicia(reproduccion.carrera());
        recoge(alcanza(*seguidor), enMarcha, inicial);
        return;
    }
    jugadoresVistos = carrera.numJugadores;
    intentaSeguir(sigueLaCabeza(enMarcha), inicial);
}

SeguidorCarrera::Cambio SesionEnVivo::alcanza(SeguidorCarrera& lector) {
    using Cambio = SeguidorCarrera::Cambio;
    Cambio total = Cambio::nada;
    for (;;) {
        const std::size_t antes = lector.bytesLeidos();
        const Cambio cambio = lector.sondea();
        if (cambio == Cambio::recargada) {
            total = Cambio::recargada;
        } else if (cambio == Cambio::frames && total == Cambio::nada) {
            total = Cambio::frames;
        }
        // A look that did not use its whole budget has reached the end.
        const std::size_t leidos = cambio == Cambio::recargada || lector.bytesLeidos() < antes
                                       ? lector.bytesLeidos()
                                       : lector.bytesLeidos() - antes;
        if (leidos < kBytesPorSondeo || lector.estado() == SeguidorCarrera::Estado::error) {
            return total;
        }
    }
}

void SesionEnVivo::intentaSeguir(bool enCabeza, Novedades& novedades) {
    const Huella huella = huellaDe(camino);
    if (probadaUnaVez && huella == probada) {
        return; // the log is as it was when it last could not be followed
    }
    probadaUnaVez = true;
    probada = huella;
    if (!huella.existe) {
        sinSeguidor = SeguidorCarrera::Estado::borrado;
        porque.clear();
        return;
    }
    // The race on show is put aside while the log is read, and comes back
    // unless the log can be followed.
    Carrera& carrera = reproduccion.carreraModificable();
    Carrera aparte = std::move(carrera);
    auto nuevo = std::make_unique<SeguidorCarrera>(camino, carrera, kBytesPorSondeo);
    alcanza(*nuevo);
    if (nuevo->estado() != SeguidorCarrera::Estado::siguiendo &&
        nuevo->estado() != SeguidorCarrera::Estado::detenido) {
        sinSeguidor = nuevo->estado();
        porque = nuevo->motivo();
        nuevo.reset();
        carrera = std::move(aparte);
        return;
    }
    seguidor = std::move(nuevo);
    if (!mismaCabecera(aparte, carrera)) {
        recoge(SeguidorCarrera::Cambio::recargada, enCabeza, novedades);
        return;
    }
    // The same race read again, perhaps longer or shorter: the frame on show
    // stays, as far as the race goes.
    analisis.reinicia(carrera);
    if (reproduccion.frameEnPantalla() >= 0) {
        reproduccion.irAFrame(reproduccion.frameEnPantalla());
    }
    novedades.crecio = true;
}

void SesionEnVivo::recoge(SeguidorCarrera::Cambio cambio, bool enCabeza, Novedades& novedades) {
    const Carrera& carrera = reproduccion.carrera();
    const bool vacia = reproduccion.frameEnPantalla() < 0;
    if (cambio == SeguidorCarrera::Cambio::recargada || carrera.numJugadores != jugadoresVistos) {
        jugadoresVistos = carrera.numJugadores;
        analisis.reinicia(carrera);
        reproduccion.empiezaDeNuevo();
        novedades.otraCarrera = true;
        novedades.crecio = true;
    } else if (cambio == SeguidorCarrera::Cambio::frames) {
        analisis.extiende(carrera);
        novedades.crecio = true;
    } else {
        return;
    }
    if (enCabeza) {
        reproduccion.muestraUltimo();
    } else if (vacia || novedades.otraCarrera) {
        // Nothing was on show: the first frame shows as soon as it is there,
        // as in a race opened whole.
        reproduccion.avanza();
    } else {
        reproduccion.recogeCrecimiento();
    }
}

SesionEnVivo::Novedades SesionEnVivo::sondea(bool enMarcha) {
    Novedades novedades;
    const bool enCabeza = sigueLaCabeza(enMarcha);
    if (!seguidor) {
        intentaSeguir(enCabeza, novedades);
        return novedades;
    }
    recoge(seguidor->sondea(), enCabeza, novedades);
    return novedades;
}

SesionEnVivo::Novedades SesionEnVivo::termina() {
    Novedades novedades;
    if (!seguidor) {
        return novedades;
    }
    // A new race that came in since the last look is taken in first: the
    // end of the follower only reads on.
    recoge(seguidor->sondea(), false, novedades);
    const std::size_t registros = reproduccion.carrera().posiciones.size();
    const std::size_t disparos = reproduccion.carrera().disparos.size();
    seguidor->termina();
    if (reproduccion.carrera().posiciones.size() != registros ||
        reproduccion.carrera().disparos.size() != disparos) {
        recoge(SeguidorCarrera::Cambio::frames, false, novedades);
    }
    return novedades;
}

bool SesionEnVivo::sigueLaCabeza(bool enMarcha) const {
    // A frame still being written is not the head: the one before it is.
    const long long mostrado = reproduccion.frameEnPantalla();
    return enMarcha &&
           (mostrado < 0 ||
            mostrado + 1 >= static_cast<long long>(reproduccion.carrera().framesCompletos()));
}

SeguidorCarrera::Estado SesionEnVivo::estado() const {
    return seguidor ? seguidor->estado() : sinSeguidor;
}

std::string SesionEnVivo::motivo() const {
    return seguidor ? seguidor->motivo() : porque;
}

} // namespace zul
