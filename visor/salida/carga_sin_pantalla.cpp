#include "salida/carga_sin_pantalla.h"

#include "datos/rutas.h"

#include "reproduccion/carga.h"
#include "salida/texto_terminal.h"

#include <QFile>

#include <new>

namespace zul {

int conErroresDeCarga(const std::function<int()>& carga) {
    try {
        return carga();
    } catch (const ErrorCarga& fallo) {
        informaError(textoErrorCarga(fallo));
        return 1;
    } catch (const std::bad_alloc&) {
        informaError(QStringLiteral("no hay memoria suficiente"));
        return 1;
    }
}

int conCarreraYMapa(const QString& carrera, const QString& mapa, const ModoSinPantalla& modo) {
    return conErroresDeCarga([&] {
        const Reproduccion reproduccion(cargaCarrera(bytesDeRuta(carrera).toStdString()));
        const Mapa cargado = cargaMapa(bytesDeRuta(mapa).toStdString());
        return modo(reproduccion, cargado);
    });
}

} // namespace zul
