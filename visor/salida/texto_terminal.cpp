#include "texto_terminal.h"

#include "carga.h"

namespace zul {

QString textoImprimible(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        if (u == '\n') {
            resultado += QLatin1String("\\n");
        } else if (u == '\t') {
            resultado += QLatin1String("\\t");
        } else if (u == '\r') {
            resultado += QLatin1String("\\r");
        } else if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0)) {
            resultado +=
                QStringLiteral("\\x%1").arg(static_cast<unsigned>(u), 2, 16, QLatin1Char('0'));
        } else {
            resultado += c;
        }
    }
    return resultado;
}

void escribe(std::FILE* destino, const QString& texto) {
    const QByteArray bytes = texto.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
    std::fflush(destino);
}

QString textoErrorCarga(const ErrorCarga& fallo) {
    return (fallo.ruta().empty() ? QStringLiteral("falta la ruta del archivo")
                                 : QString::fromLocal8Bit(fallo.ruta().c_str())) +
           QStringLiteral(": ") + QString::fromUtf8(fallo.what());
}

} // namespace zul
