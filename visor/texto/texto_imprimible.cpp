#include "texto/texto_imprimible.h"

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

} // namespace zul
