#include "salida/fantasma_escena.h"

#include "datos/nombres.h"
#include "datos/rutas.h"
#include "geometria/colores.h"
#include "reproduccion/carga.h"

#include <QFile>

#include <algorithm>

namespace zul {

FantasmaCargado::FantasmaCargado(Carrera carreraOtra, const Carrera& nuestra, Alineacion alineacion)
    : otra(std::move(carreraOtra)), nuestra(nuestra), analisisNuestra(nuestra), analisisOtra(otra) {
    comparar =
        std::make_unique<CarreraFantasma>(nuestra, analisisNuestra, otra, analisisOtra, alineacion);
    for (int g = 0; g < otra.numJugadores; ++g) {
        const std::size_t i = static_cast<std::size_t>(g);
        const std::string nombre = i < otra.nombres.size() ? otra.nombres[i] : std::string();
        nombres.append(textoNombre(nombre));
        const auto mismo = std::find(nuestra.nombres.begin(), nuestra.nombres.end(), nombre);
        const long long j = mismo - nuestra.nombres.begin();
        colores.append(mismo != nuestra.nombres.end() && j < nuestra.numJugadores
                           ? colorDisco(static_cast<int>(j))
                           : colorDisco(nuestra.numJugadores + g));
    }
}

CapaFantasma FantasmaCargado::capa(long long frame, int jugador) const {
    CapaFantasma capa;
    const long long f = comparar->frameFantasma(frame, jugador);
    if (f < 0) {
        return capa;
    }
    const std::size_t base =
        static_cast<std::size_t>(f) * static_cast<std::size_t>(otra.numJugadores);
    for (int g = 0; g < otra.numJugadores; ++g) {
        const std::size_t i = base + static_cast<std::size_t>(g);
        capa.karts.append({otra.posiciones[i], otra.angulos[i], nombres[g], colores[g]});
    }
    return capa;
}

std::shared_ptr<const FantasmaCargado> cargaFantasma(const QString& ruta, const Carrera& nuestra,
                                                     Alineacion alineacion) {
    return std::make_shared<const FantasmaCargado>(cargaCarrera(bytesDeRuta(ruta).toStdString()),
                                                   nuestra, alineacion);
}

} // namespace zul
