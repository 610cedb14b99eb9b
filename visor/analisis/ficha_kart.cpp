#include "analisis/ficha_kart.h"

#include "analisis/textos.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace zul {

QString textoDecimal(double valor) {
    if (!std::isfinite(valor)) {
        return QStringLiteral("-");
    }
    return QLocale(QLocale::Spanish).toString(valor, 'f', 2);
}

namespace {

QString pasos(long long n) {
    return n == 1 ? QStringLiteral("1 paso") : QStringLiteral("%1 pasos").arg(n);
}

// The gap to the kart right ahead, in the standings' own terms.
QString diferenciaConElDeDelante(const Puesto& yo, const Puesto& delante) {
    if (yo.vueltas == delante.vueltas) {
        return QStringLiteral("+%1").arg(pasos(yo.frameVuelta - delante.frameVuelta));
    }
    const long long v = static_cast<long long>(delante.vueltas) - yo.vueltas;
    return v == 1 ? QStringLiteral("+1 vuelta") : QStringLiteral("+%1 vueltas").arg(v);
}

} // namespace

FichaKart fichaKart(const Telemetria& telemetria, const AnalisisCarrera& analisis,
                    const CarreraFantasma* fantasma, const QString& nombre, int jugador,
                    long long frame) {
    FichaKart ficha;
    ficha.jugador = jugador;
    ficha.frame = frame;
    ficha.titulo = QStringLiteral("%1 (jugador %2)").arg(nombre).arg(jugador);
    if (telemetria.frames() == 0 || jugador < 0 || jugador >= telemetria.jugadores()) {
        ficha.lineas.append(QStringLiteral("Sin datos en este paso"));
        return ficha;
    }
    const long long k = std::clamp(frame, 0LL, telemetria.frames() - 1);
    ficha.frame = k;
    const QPointF p = telemetria.posicion(jugador, k);
    const std::vector<Puesto> puestos = analisis.clasificacion(k);
    const Puesto* mio = nullptr;
    const Puesto* delante = nullptr;
    for (std::size_t i = 0; i < puestos.size(); ++i) {
        if (puestos[i].jugador == jugador) {
            mio = &puestos[i];
            delante = i > 0 ? &puestos[i - 1] : nullptr;
        }
    }
    QStringList& l = ficha.lineas;
    l.append(QStringLiteral("Paso: %1").arg(k));
    l.append(QStringLiteral("Posición: (%1; %2)").arg(textoDecimal(p.x()), textoDecimal(p.y())));
    // The race log's heading, in the kit's degrees.
    l.append(
        QStringLiteral("Rumbo: %1°").arg(textoDecimal(anguloKit(telemetria.rumbo(jugador, k)))));
    l.append(QStringLiteral("Velocidad: %1 casillas/paso")
                 .arg(textoDecimal(telemetria.velocidad(jugador, k))));
    l.append(QStringLiteral("Distancia: %1 casillas")
                 .arg(textoDecimal(telemetria.distancia(jugador, k))));
    if (mio != nullptr) {
        l.append(QStringLiteral("Vueltas: %1").arg(mio->vueltas));
        l.append(QStringLiteral("Última vuelta: %1").arg(textoTiempo(mio->ultimaVuelta)));
        l.append(QStringLiteral("Mejor vuelta: %1").arg(textoTiempo(mio->mejorVuelta)));
    }
    l.append(QStringLiteral("Vuelta en curso: %1").arg(pasos(telemetria.tiempoVuelta(jugador, k))));
    if (mio != nullptr) {
        l.append(QStringLiteral("Puesto: %1 de %2").arg(mio->posicion).arg(puestos.size()));
        l.append(QStringLiteral("Con el líder: %1").arg(textoDiferencia(*mio)));
        if (delante != nullptr) {
            l.append(QStringLiteral("Con el de delante: %1")
                         .arg(diferenciaConElDeDelante(*mio, *delante)));
        }
    }
    l.append(QStringLiteral("Disparos cerca (últimos %1 pasos): %2")
                 .arg(kPasosDisparosCerca)
                 .arg(telemetria.disparosCerca(jugador, k)));
    if (fantasma != nullptr) {
        const double d = fantasma->delta(jugador, k);
        l.append(QStringLiteral("Contra el fantasma: %1")
                     .arg(std::isfinite(d) ? QStringLiteral("%1%2 pasos")
                                                 .arg(d > 0 ? QStringLiteral("+") : QString())
                                                 .arg(textoDecimal(d))
                                           : QStringLiteral("-")));
    }
    return ficha;
}

} // namespace zul
