#include "ventana/archivos_soltados.h"

#include "datos/depuracion.h"
#include "datos/tipo_archivo.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace zul {

QStringList dosArchivosArrastrados(const QMimeData* datos) {
    if (datos == nullptr || !datos->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = datos->urls();
    if (urls.size() != 2) {
        return {};
    }
    QStringList rutas;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) {
            return {};
        }
        rutas.append(url.toLocalFile());
    }
    return rutas;
}

QStringList archivosDepuracionArrastrados(const QMimeData* datos) {
    if (datos == nullptr || !datos->hasUrls()) {
        return {};
    }
    QStringList rutas;
    for (const QUrl& url : datos->urls()) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) {
            return {};
        }
        try {
            bool completo = false;
            if (!pareceDepuracion(
                    leeMuestra(QFile::encodeName(url.toLocalFile()).toStdString(), completo))) {
                return {};
            }
        } catch (const ErrorFormato&) {
            return {};
        }
        rutas.append(url.toLocalFile());
    }
    return rutas;
}

bool ordenaArchivos(const QStringList& rutas, QString& carrera, QString& mapa, QString& error) {
    if (rutas.size() != 2) {
        error = QStringLiteral("Hay que soltar dos archivos: un registro de carrera y un mapa.");
        return false;
    }
    try {
        const ParArchivos par = ordenaPorContenido(QFile::encodeName(rutas[0]).toStdString(),
                                                   QFile::encodeName(rutas[1]).toStdString());
        carrera = QFile::decodeName(QByteArray::fromStdString(par.carrera));
        mapa = QFile::decodeName(QByteArray::fromStdString(par.mapa));
        return true;
    } catch (const ErrorFormato& fallo) {
        error = QString::fromUtf8(fallo.what());
        return false;
    }
}

} // namespace zul
