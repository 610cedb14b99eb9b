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
        } else if (u >= 0xdc80 && u <= 0xdcff) {
            // A byte of a file name that is not UTF-8 (see datos/rutas.h).
            resultado += QStringLiteral("\\x%1").arg(static_cast<unsigned>(u & 0xff), 2, 16,
                                                     QLatin1Char('0'));
        } else if ((u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069) || u == 0x200e ||
                   u == 0x200f || u == 0x061c) {
            resultado +=
                QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        } else if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0)) {
            resultado +=
                QStringLiteral("\\x%1").arg(static_cast<unsigned>(u), 2, 16, QLatin1Char('0'));
        } else {
            resultado += c;
        }
    }
    return resultado;
}

QString cantidad(long long n, const char* singular, const char* plural) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? singular : plural));
}

} // namespace zul
