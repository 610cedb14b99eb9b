#include "datos/nombres.h"

#include <QStringDecoder>

namespace zul {

QString textoNombre(const std::string& bytes) {
    const QByteArrayView datos(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(datos);
    if (utf8.hasError()) {
        return QString::fromLatin1(datos);
    }
    return texto;
}

QStringList textosNombres(const std::vector<std::string>& nombres) {
    QStringList textos;
    for (const std::string& nombre : nombres) {
        textos.append(textoNombre(nombre));
    }
    return textos;
}

} // namespace zul
