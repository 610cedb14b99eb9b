#pragma once

#include "comun/escritura_segura.h"

#include <QByteArray>
#include <QString>

namespace zul {

// The shared safe writer (comun/escritura_segura.h) for the viewer's paths and
// contents, which are byte arrays.

inline DestinoEscritura destinoDe(const QByteArray& ruta) {
    return destinoDe(ruta.toStdString());
}

int creaTemporal(const DestinoEscritura& destino, const QByteArray& prefijo,
                 const QByteArray& sufijo, QByteArray& temporal);

inline int publicaTemporal(const QByteArray& temporal, const DestinoEscritura& destino) {
    return publicaTemporal(temporal.toStdString(), destino);
}

inline void descartaTemporal(const QByteArray& temporal) {
    descartaTemporal(temporal.toStdString());
}

inline int escribeArchivo(const QByteArray& ruta, const QByteArray& datos,
                          const LlamadasEscritura& llamadas = llamadasDelSistema()) {
    return escribeArchivo(ruta.toStdString(), datos.constData(), static_cast<size_t>(datos.size()),
                          llamadas);
}

// Why a file could not be written, in Spanish and in lower case, to follow
// the file's name: "no queda espacio en el disco", ...
QString motivoDeEscritura(int numero);

} // namespace zul
