#include "salida/modo_png.h"

#include "datos/rutas.h"
#include "salida/carga_sin_pantalla.h"
#include "salida/formato_imagen.h"
#include "salida/limites_carrera.h"
#include "salida/texto_terminal.h"
#include "texto/texto_imprimible.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace zul {

QString nombreNumerado(const QString& salida, long long frame, int cifras) {
    const QString numero = QStringLiteral("-%1").arg(frame, cifras, 10, QLatin1Char('0'));
    const QFileInfo info(salida);
    const QString extension = info.suffix();
    // A dot that starts the file name (".png") is no extension.
    if (extension.isEmpty() || info.fileName().size() == extension.size() + 1) {
        return salida + numero;
    }
    return salida.left(salida.size() - extension.size() - 1) + numero + QLatin1Char('.') +
           extension;
}

bool escribePngs(const Reproduccion& reproduccion, const Mapa& mapa, const OpcionesPng& opciones,
                 QString& error) {
    const long long frames = reproduccion.numeroFrames();
    if (frames == 0) {
        error =
            QStringLiteral("%1: la carrera no tiene ningún paso que dibujar").arg(opciones.carrera);
        return false;
    }
    const long long hasta = opciones.hasta < 0 ? opciones.frame : opciones.hasta;
    if (!existeFrame(reproduccion, hasta, error) ||
        !existeJugador(reproduccion, opciones.aspecto.jugador, error)) {
        return false;
    }

    // An extension no picture format has is refused before anything is drawn.
    QByteArray formato;
    if (!formatoDeRuta(opciones.salida, formato, error)) {
        return false;
    }
    std::unique_ptr<ImagenFrame> dibujo;
    try {
        dibujo = std::make_unique<ImagenFrame>(reproduccion, mapa, opciones.aspecto);
    } catch (const ErrorFormato& e) {
        error = QString::fromStdString(e.what());
        return false;
    }
    const int cifras = std::max(5, static_cast<int>(QString::number(hasta).size()));
    for (long long k = opciones.frame; k <= hasta; ++k) {
        const QString ruta =
            opciones.hasta < 0 ? opciones.salida : nombreNumerado(opciones.salida, k, cifras);
        // An image never replaces the files it is drawn from.
        if (mismoArchivo(ruta, opciones.carrera) || mismoArchivo(ruta, opciones.mapa)) {
            error =
                QStringLiteral("%1 es uno de los archivos de entrada; no se sobrescribe").arg(ruta);
            return false;
        }
        const QImage imagen = dibujo->dibuja(k);
        if (imagen.isNull()) {
            error = QStringLiteral("no hay memoria para una imagen de %1x%2 píxeles")
                        .arg(opciones.aspecto.tamano.width())
                        .arg(opciones.aspecto.tamano.height());
            return false;
        }
        if (!guardaImagen(imagen, ruta, error)) {
            return false;
        }
    }
    return true;
}

int ejecutaModoPng(const OpcionesPng& opciones) {
    return conCarreraYMapa(opciones.carrera, opciones.mapa,
                           [&opciones](const Reproduccion& reproduccion, const Mapa& mapa) {
                               QString error;
                               OpcionesPng conFantasma = opciones;
                               if (!opciones.fantasma.isEmpty()) {
                                   conFantasma.aspecto.fantasma =
                                       cargaFantasma(opciones.fantasma, reproduccion.carrera(),
                                                     opciones.alineacion);
                               }
                               if (!escribePngs(reproduccion, mapa, conFantasma, error)) {
                                   informaError(error);
                                   return 1;
                               }
                               return 0;
                           });
}

} // namespace zul
