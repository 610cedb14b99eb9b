#include "escena/datos_instalados.h"

#include <QCoreApplication>
#include <QDir>

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

} // namespace zul
