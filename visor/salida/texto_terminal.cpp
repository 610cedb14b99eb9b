#include "salida/texto_terminal.h"

#include "reproduccion/carga.h"

namespace zul {

void escribe(std::FILE* destino, const QString& texto) {
    const QByteArray bytes = texto.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
    std::fflush(destino);
}

void informaError(const QString& error) {
    escribe(stderr, QStringLiteral("visor: %1\n").arg(textoImprimible(error)));
}

QString textoErrorCarga(const ErrorCarga& fallo) {
    return (fallo.ruta().empty() ? QStringLiteral("falta la ruta del archivo")
                                 : QString::fromLocal8Bit(fallo.ruta().c_str())) +
           QStringLiteral(": ") + QString::fromUtf8(fallo.what());
}

} // namespace zul
