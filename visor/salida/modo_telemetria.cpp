#include "salida/modo_telemetria.h"

#include "analisis/analisis.h"
#include "analisis/progreso_vuelta.h"
#include "analisis/telemetria.h"
#include "salida/carga_sin_pantalla.h"
#include "salida/texto_terminal.h"

#include <QLocale>

#include <cmath>
#include <iostream>
#include <optional>
#include <string>

namespace zul {

const char* const kCabeceraTelemetria =
    "paso,jugador,x,y,angulo,velocidad,distancia,vueltas,progreso,posicion";

namespace {

// The shortest text that reads back as the same double; empty (CSV) or null
// (JSON) for NaN and the infinities, which neither format can hold.
std::string numero(double valor, bool json) {
    if (!std::isfinite(valor)) {
        return json ? "null" : "";
    }
    return QString::number(valor, 'g', QLocale::FloatingPointShortest).toStdString();
}

// A computed value to the millionth, so that a spreadsheet shows 0.174 and
// not the 0.1739999999999995 that subtracting 38 from 38.174 gives.
std::string redondeado(double valor, bool json) {
    if (std::isfinite(valor) && std::abs(valor) < 1e9) {
        valor = std::round(valor * 1e6) / 1e6;
    }
    return numero(valor, json);
}

// Progress to the millionth, rounded down: a kart just short of the line
// never reads as on its next lap.
std::string progresoRedondeado(const std::optional<double>& valor, bool json) {
    if (!valor || !std::isfinite(*valor)) {
        return json ? "null" : "";
    }
    return numero(std::floor(*valor * 1e6) / 1e6, json);
}

} // namespace

bool escribeTelemetria(const Carrera& carrera, const Mapa& mapa, const OpcionesTelemetria& opciones,
                       std::ostream& salida, QString& error) {
    const int jugadores = carrera.numJugadores;
    if (opciones.jugador >= jugadores) {
        error =
            QStringLiteral("la carrera tiene %1 jugadores (del 0 al %2); no existe el jugador %3")
                .arg(jugadores)
                .arg(jugadores - 1)
                .arg(opciones.jugador);
        return false;
    }
    // Ranked and measured round the track, as the window's standings are.
    const AnalisisCarrera analisis(carrera, mapa);
    if (analisis.framesAnalizados() == 0) {
        error = QStringLiteral("%1: el registro de carrera no tiene ningún paso completo")
                    .arg(opciones.carrera);
        return false;
    }
    const Telemetria telemetria(carrera, analisis);
    const ProgresoVuelta progreso(carrera, analisis, &mapa);
    const bool json = opciones.formato == FormatoResultados::Json;
    const int primero = opciones.jugador < 0 ? 0 : opciones.jugador;
    const int ultimo = opciones.jugador < 0 ? jugadores - 1 : opciones.jugador;
    if (json) {
        salida << "[";
    } else {
        salida << kCabeceraTelemetria << "\r\n";
    }
    bool primeraFila = true;
    std::string fila;
    for (long long k = 0; k < telemetria.frames(); ++k) {
        for (int j = primero; j <= ultimo; ++j) {
            const QPointF p = telemetria.posicion(j, k);
            const std::size_t i =
                static_cast<std::size_t>(k) * static_cast<std::size_t>(jugadores) +
                static_cast<std::size_t>(j);
            const std::string campos[] = {std::to_string(k),
                                          std::to_string(j),
                                          numero(p.x(), json),
                                          numero(p.y(), json),
                                          redondeado(anguloKit(carrera.angulos[i]), json),
                                          redondeado(telemetria.velocidad(j, k), json),
                                          redondeado(telemetria.distancia(j, k), json),
                                          std::to_string(analisis.vueltas(j, k)),
                                          progresoRedondeado(progreso.en(j, k), json),
                                          std::to_string(analisis.posicion(j, k))};
            fila.clear();
            if (json) {
                static const char* const claves[] = {
                    "paso",      "jugador",   "x",       "y",        "angulo",
                    "velocidad", "distancia", "vueltas", "progreso", "posicion"};
                fila += primeraFila ? "\n{" : ",\n{";
                for (std::size_t c = 0; c < std::size(campos); ++c) {
                    fila += c == 0 ? "\"" : ",\"";
                    fila += claves[c];
                    fila += "\":";
                    fila += campos[c];
                }
                fila += "}";
            } else {
                for (std::size_t c = 0; c < std::size(campos); ++c) {
                    if (c > 0) {
                        fila += ',';
                    }
                    fila += campos[c];
                }
                fila += "\r\n";
            }
            salida << fila;
            primeraFila = false;
        }
    }
    if (json) {
        salida << (primeraFila ? "]\n" : "\n]\n");
    }
    return true;
}

int ejecutaModoTelemetria(const OpcionesTelemetria& opciones) {
    return conCarreraYMapa(
        opciones.carrera, opciones.mapa,
        [&opciones](const Reproduccion& reproduccion, const Mapa& mapa) {
            QString error;
            if (!escribeTelemetria(reproduccion.carrera(), mapa, opciones, std::cout, error)) {
                informaError(error);
                return 1;
            }
            std::cout.flush();
            if (!std::cout) {
                informaError(
                    QStringLiteral("no se pudo escribir la telemetría en la salida estándar"));
                return 1;
            }
            return 0;
        });
}

} // namespace zul
