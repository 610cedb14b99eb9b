#include "analisis/textos.h"

namespace zul {

QString textoTiempo(const std::optional<long long>& tiempo) {
    return tiempo ? QString::number(*tiempo) : QStringLiteral("-");
}

QString textoDiferencia(const Puesto& puesto) {
    if (puesto.posicion == 1) {
        return QStringLiteral("Líder");
    }
    if (puesto.diferenciaPasos) {
        const long long n = *puesto.diferenciaPasos;
        return QStringLiteral("+%1 %2").arg(n).arg(n == 1 ? QStringLiteral("paso")
                                                          : QStringLiteral("pasos"));
    }
    const long long n = puesto.diferenciaVueltas;
    return QStringLiteral("+%1 %2").arg(n).arg(n == 1 ? QStringLiteral("vuelta")
                                                      : QStringLiteral("vueltas"));
}

} // namespace zul
