#include "salida.h"

#include "clasificacion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QMimeData>
#include <QSaveFile>
#include <QUrl>

#ifndef ZUL_DATOS_RELATIVO
#define ZUL_DATOS_RELATIVO "../share/zul"
#endif

namespace zul {

QString rutaDatosInstalados(const QString& nombre) {
    if (QCoreApplication::instance() == nullptr) {
        return QString();
    }
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(ZUL_DATOS_RELATIVO "/") + nombre);
}

bool guardaPng(const QImage& imagen, const QString& ruta, QString& error) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("No se pudo guardar la imagen en %1: %2.")
                    .arg(ruta, archivo.errorString());
        return false;
    }
    QImageWriter escritor(&archivo, "png");
    if (!escritor.write(imagen)) {
        archivo.cancelWriting();
        error = QStringLiteral("No se pudo guardar la imagen en %1: %2.")
                    .arg(ruta, escritor.errorString());
        return false;
    }
    if (!archivo.commit()) {
        error = QStringLiteral("No se pudo guardar la imagen en %1: %2.")
                    .arg(ruta, archivo.errorString());
        return false;
    }
    return true;
}

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
