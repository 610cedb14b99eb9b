#include "analisis/resultados_lectura.h"

#include "datos/apertura.h"
#include "datos/carrera.h"
#include "datos/nombres.h"
#include "datos/rutas.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <new>

namespace zul {

// Reads the map at `ruta`; nothing, with the reason, when it cannot be read.
std::shared_ptr<const Mapa> leeMapaResultados(const QString& ruta, QString& error) {
    if (QFileInfo(ruta).isDir()) {
        error = QStringLiteral("es una carpeta, no un mapa.");
        return nullptr;
    }
    const Apertura apertura = abreParaLeer(QFile::encodeName(ruta).constData());
    if (!apertura.archivo) {
        error = QStringLiteral("No se pudo abrir el archivo: %1.")
                    .arg(QString::fromStdString(apertura.motivo));
        return nullptr;
    }
    try {
        auto mapa = std::make_shared<Mapa>();
        leerMapa(apertura.archivo.get(), *mapa);
        if (std::ferror(apertura.archivo.get())) {
            error = QStringLiteral("No se pudo leer el archivo.");
            return nullptr;
        }
        return mapa;
    } catch (const ErrorFormato& fallo) {
        error = QString::fromUtf8(fallo.what());
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("No hay memoria suficiente para leer el archivo.");
    }
    return nullptr;
}

// Reads the race log at `ruta` and ranks it; false, with the reason, when it
// cannot be read or has nothing to rank.
bool calculaResultados(const QString& ruta, const std::shared_ptr<const Mapa>& mapa,
                       const std::optional<long long>& frame, ResultadosCarrera& resultado,
                       QString& error) {
    if (QFileInfo(ruta).isDir()) {
        error = QStringLiteral("es una carpeta, no un registro de carrera.");
        return false;
    }
    const Apertura apertura = abreParaLeer(bytesDeRuta(ruta).constData(), true);
    const ArchivoAbierto& archivo = apertura.archivo;
    if (!archivo) {
        error = QStringLiteral("No se pudo abrir el archivo: %1.")
                    .arg(QString::fromStdString(apertura.motivo));
        return false;
    }
    try {
        Carrera carrera;
        leerCarrera(archivo.get(), carrera);
        if (std::ferror(archivo.get())) {
            error = QStringLiteral("No se pudo leer el archivo.");
            return false;
        }
        const AnalisisCarrera analisis =
            mapa != nullptr ? AnalisisCarrera(carrera, mapa) : AnalisisCarrera(carrera);
        if (analisis.framesAnalizados() == 0) {
            error = QStringLiteral(
                "El registro de carrera no tiene ningún paso completo; no hay resultados.");
            return false;
        }
        const long long ultimo = analisis.framesAnalizados() - 1;
        if (frame && *frame > ultimo) {
            error = QStringLiteral("El registro de carrera no llega al paso %1: el último "
                                   "completo es el %2.")
                        .arg(*frame)
                        .arg(ultimo);
            return false;
        }
        resultado.ruta = ruta;
        resultado.ultimoFrame = frame ? *frame : ultimo;
        resultado.framePedido = frame.has_value();
        resultado.conMapa = mapa != nullptr;
        resultado.puestos = analisis.clasificacion(resultado.ultimoFrame);
        resultado.nombres = textosNombres(carrera.nombres);
        return true;
    } catch (const ErrorFormato& fallo) {
        error = QString::fromUtf8(fallo.what());
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("No hay memoria suficiente para leer el archivo.");
    }
    return false;
}

} // namespace zul
