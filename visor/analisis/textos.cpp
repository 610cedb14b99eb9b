#include "analisis/textos.h"

namespace zul {

QString textoTiempo(const std::optional<long long>& tiempo) {
    return tiempo ? QString::number(*tiempo) : QStringLiteral("-");
}

namespace {

QString textoDetras(const std::optional<long long>& pasos, long long vueltas) {
    if (pasos) {
        const long long n = *pasos;
        return QStringLiteral("+%1 %2").arg(n).arg(n == 1 ? QStringLiteral("paso")
                                                          : QStringLiteral("pasos"));
    }
    return QStringLiteral("+%1 %2").arg(vueltas).arg(vueltas == 1 ? QStringLiteral("vuelta")
                                                                  : QStringLiteral("vueltas"));
}

} // namespace

QString textoDiferencia(const Puesto& puesto) {
    if (puesto.posicion == 1) {
        return QStringLiteral("Líder");
    }
    return textoDetras(puesto.diferenciaPasos, puesto.diferenciaVueltas);
}

QString textoIntervalo(const Puesto& puesto) {
    if (puesto.posicion == 1) {
        return QStringLiteral("-");
    }
    return textoDetras(puesto.intervaloPasos, puesto.intervaloVueltas);
}

QString textoProgreso(const Puesto& puesto) {
    return puesto.progreso ? QString::number(*puesto.progreso, 'f', 3) : QStringLiteral("-");
}

} // namespace zul
