#include "analisis/resultados.h"

#include "analisis/analisis.h"
#include "analisis/resultados_lectura.h"
#include "analisis/textos.h"
#include "datos/carrera.h"
#include "datos/escritura_segura.h"
#include "datos/mapa.h"
#include "datos/nombres.h"
#include "datos/rutas.h"
#include "texto/texto_imprimible.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace zul {

const char* const kCabeceraCsv = "carrera,posicion,jugador,nombre,vueltas,paso,mejor_vuelta,"
                                 "ultima_vuelta,diferencia_vueltas,diferencia_pasos";
const char* const kCabeceraCsvConMapa =
    "carrera,posicion,jugador,nombre,vueltas,paso,mejor_vuelta,ultima_vuelta,diferencia_vueltas,"
    "diferencia_pasos,progreso,intervalo_vueltas,intervalo_pasos,ultimo_sector1,mejor_sector1,"
    "ultimo_sector2,mejor_sector2,ultimo_sector3,mejor_sector3,vuelta_ideal";

namespace {

void escribe(std::ostream& flujo, const QByteArray& bytes) {
    flujo.write(bytes.constData(), bytes.size());
}

void escribe(std::ostream& flujo, const QString& texto) {
    escribe(flujo, texto.toUtf8());
}

QString nombreDe(const ResultadosCarrera& r, const Puesto& p) {
    return p.jugador < r.nombres.size() ? r.nombres[p.jugador] : QString();
}

QString numeroOVacio(const std::optional<long long>& valor) {
    return valor ? QString::number(*valor) : QString();
}

QString progresoOVacio(const Puesto& p) {
    return p.progreso ? QString::number(*p.progreso, 'f', 3) : QString();
}

// The track's columns of a row, in the order of kCabeceraCsvConMapa.
QStringList camposConMapa(const Puesto& p) {
    QStringList campos = {progresoOVacio(p),
                          p.posicion == 1 ? QString() : QString::number(p.intervaloVueltas),
                          numeroOVacio(p.intervaloPasos)};
    for (std::size_t s = 0; s < static_cast<std::size_t>(kSectores); ++s) {
        campos.append(numeroOVacio(p.ultimoSector[s]));
        campos.append(numeroOVacio(p.mejorSector[s]));
    }
    campos.append(numeroOVacio(p.vueltaIdeal));
    return campos;
}

// Characters as a terminal counts them (code points, not UTF-16 units).
qsizetype ancho(const QString& texto) {
    return texto.toUcs4().size();
}

QString rellena(const QString& texto, qsizetype columnas, bool derecha) {
    const QString relleno(std::max<qsizetype>(0, columnas - ancho(texto)), QLatin1Char(' '));
    return derecha ? relleno + texto : texto + relleno;
}

// A terminal shows the table: a name or a path can neither break its lines
// nor drive the terminal.
void escribeTexto(std::ostream& salida, const ResultadosCarrera& r, bool primera) {
    const QStringList cabecera = {QStringLiteral("Pos"),           QStringLiteral("Jugador"),
                                  QStringLiteral("Nombre"),        QStringLiteral("Vueltas"),
                                  QStringLiteral("Paso"),          QStringLiteral("Mejor vuelta"),
                                  QStringLiteral("Última vuelta"), QStringLiteral("Diferencia")};
    // Names and gaps read left to right; numbers line up on their last digit.
    std::vector<bool> derecha = {true, true, false, true, true, true, true, false};
    QStringList todas = cabecera;
    if (r.conMapa) {
        todas << QStringLiteral("Progreso") << QStringLiteral("Intervalo") << QStringLiteral("S1")
              << QStringLiteral("Mejor S1") << QStringLiteral("S2") << QStringLiteral("Mejor S2")
              << QStringLiteral("S3") << QStringLiteral("Mejor S3")
              << QStringLiteral("Vuelta ideal");
        derecha.insert(derecha.end(), {true, false, true, true, true, true, true, true, true});
    }
    std::vector<QStringList> filas = {todas};
    for (const Puesto& p : r.puestos) {
        QStringList fila = {QString::number(p.posicion),     QString::number(p.jugador),
                            textoImprimible(nombreDe(r, p)), QString::number(p.vueltas),
                            QString::number(p.frameVuelta),  textoTiempo(p.mejorVuelta),
                            textoTiempo(p.ultimaVuelta),     textoDiferencia(p)};
        if (r.conMapa) {
            fila << textoProgreso(p) << textoIntervalo(p);
            for (std::size_t s = 0; s < static_cast<std::size_t>(kSectores); ++s) {
                fila << textoTiempo(p.ultimoSector[s]) << textoTiempo(p.mejorSector[s]);
            }
            fila << textoTiempo(p.vueltaIdeal);
        }
        filas.push_back(fila);
    }
    std::vector<qsizetype> anchos(static_cast<std::size_t>(todas.size()), 0);
    for (const QStringList& fila : filas) {
        for (qsizetype c = 0; c < fila.size(); ++c) {
            anchos[static_cast<std::size_t>(c)] =
                std::max(anchos[static_cast<std::size_t>(c)], ancho(fila[c]));
        }
    }
    QString texto = primera ? QString() : QStringLiteral("\n");
    texto += (r.framePedido ? QStringLiteral("Resultados de %1 (paso %2)\n")
                            : QStringLiteral("Resultados de %1 (paso %2, el último completo)\n"))
                 .arg(textoImprimible(r.ruta))
                 .arg(r.ultimoFrame);
    for (const QStringList& fila : filas) {
        QString linea;
        for (qsizetype c = 0; c < fila.size(); ++c) {
            if (c > 0) {
                linea += QStringLiteral("  ");
            }
            linea += rellena(fila[c], anchos[static_cast<std::size_t>(c)],
                             derecha[static_cast<std::size_t>(c)]);
        }
        // A left-aligned last column leaves no trailing blanks.
        while (linea.endsWith(QLatin1Char(' '))) {
            linea.chop(1);
        }
        texto += linea + QLatin1Char('\n');
    }
    escribe(salida, texto);
}

void escribeCsv(std::ostream& salida, const ResultadosCarrera& r) {
    QString texto;
    for (const Puesto& p : r.puestos) {
        const QStringList campos = {campoCsv(r.ruta),
                                    QString::number(p.posicion),
                                    QString::number(p.jugador),
                                    campoCsv(nombreDe(r, p)),
                                    QString::number(p.vueltas),
                                    QString::number(p.frameVuelta),
                                    numeroOVacio(p.mejorVuelta),
                                    numeroOVacio(p.ultimaVuelta),
                                    QString::number(p.diferenciaVueltas),
                                    numeroOVacio(p.diferenciaPasos)};
        const QStringList todos = r.conMapa ? campos + camposConMapa(p) : campos;
        texto += todos.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    escribe(salida, texto);
}

QJsonValue numeroONulo(const std::optional<long long>& valor) {
    return valor ? QJsonValue(static_cast<qint64>(*valor)) : QJsonValue(QJsonValue::Null);
}

void anadeJson(QJsonArray& lista, const ResultadosCarrera& r) {
    for (const Puesto& p : r.puestos) {
        QJsonObject objeto;
        objeto.insert(QStringLiteral("carrera"), r.ruta);
        objeto.insert(QStringLiteral("posicion"), p.posicion);
        objeto.insert(QStringLiteral("jugador"), p.jugador);
        objeto.insert(QStringLiteral("nombre"), nombreDe(r, p));
        objeto.insert(QStringLiteral("vueltas"), p.vueltas);
        objeto.insert(QStringLiteral("paso"), static_cast<qint64>(p.frameVuelta));
        objeto.insert(QStringLiteral("mejor_vuelta"), numeroONulo(p.mejorVuelta));
        objeto.insert(QStringLiteral("ultima_vuelta"), numeroONulo(p.ultimaVuelta));
        objeto.insert(QStringLiteral("diferencia_vueltas"),
                      static_cast<qint64>(p.diferenciaVueltas));
        objeto.insert(QStringLiteral("diferencia_pasos"), numeroONulo(p.diferenciaPasos));
        if (r.conMapa) {
            // Progress with its three decimals, as in the other formats.
            objeto.insert(QStringLiteral("progreso"),
                          p.progreso ? QJsonValue(std::round(*p.progreso * 1000.0) / 1000.0)
                                     : QJsonValue(QJsonValue::Null));
            objeto.insert(QStringLiteral("intervalo_vueltas"),
                          p.posicion == 1 ? QJsonValue(QJsonValue::Null)
                                          : QJsonValue(static_cast<qint64>(p.intervaloVueltas)));
            objeto.insert(QStringLiteral("intervalo_pasos"), numeroONulo(p.intervaloPasos));
            for (std::size_t s = 0; s < static_cast<std::size_t>(kSectores); ++s) {
                const QString n = QString::number(s + 1);
                objeto.insert(QStringLiteral("ultimo_sector") + n, numeroONulo(p.ultimoSector[s]));
                objeto.insert(QStringLiteral("mejor_sector") + n, numeroONulo(p.mejorSector[s]));
            }
            objeto.insert(QStringLiteral("vuelta_ideal"), numeroONulo(p.vueltaIdeal));
        }
        lista.append(objeto);
    }
}

// Qt writes U+0000 to U+001F as \uXXXX, as JSON requires, but DEL and the C1
// controls as they are, which a terminal would act on: they get the same
// escape, so the document means the same and shows safely. In UTF-8 those are
// the byte 0x7F and the pairs 0xC2 0x80 to 0xC2 0x9F, found only inside strings.
QByteArray sinControlesJson(const QByteArray& json) {
    QByteArray resultado;
    resultado.reserve(json.size());
    for (qsizetype i = 0; i < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json[i]);
        const auto siguiente = i + 1 < json.size() ? static_cast<unsigned char>(json[i + 1]) : 0u;
        if (c == 0x7f) {
            resultado += "\\u007f";
        } else if (c == 0xc2 && siguiente >= 0x80 && siguiente < 0xa0) {
            resultado += "\\u00" + QByteArray::number(siguiente, 16);
            ++i;
        } else {
            resultado += static_cast<char>(c);
        }
    }
    return resultado;
}

} // namespace

bool leeFormatoResultados(const QString& nombre, FormatoResultados& formato) {
    if (nombre == QLatin1String("texto")) {
        formato = FormatoResultados::Texto;
    } else if (nombre == QLatin1String("csv")) {
        formato = FormatoResultados::Csv;
    } else if (nombre == QLatin1String("json")) {
        formato = FormatoResultados::Json;
    } else {
        return false;
    }
    return true;
}

QString campoCsv(const QString& valor) {
    // Line breaks stay as they are, inside quotes. The other control
    // characters, for which RFC 4180 has no room, are written as in the text
    // format, and their field quoted too: it is no longer the text as it was.
    QString texto;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i <= valor.size(); ++i) {
        if (i == valor.size() || valor[i] == QLatin1Char('\n') || valor[i] == QLatin1Char('\r')) {
            texto += textoImprimible(valor.mid(inicio, i - inicio));
            if (i < valor.size()) {
                texto += valor[i];
            }
            inicio = i + 1;
        }
    }
    const bool citar = texto != valor || texto.contains(QLatin1Char(',')) ||
                       texto.contains(QLatin1Char('"')) || texto.contains(QLatin1Char('\n')) ||
                       texto.contains(QLatin1Char('\r'));
    if (!citar) {
        return texto;
    }
    texto.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + texto + QLatin1Char('"');
}

int escribeResultados(const QStringList& rutas, FormatoResultados formato, std::ostream& salida,
                      std::ostream& errores) {
    OpcionesResultados opciones;
    opciones.formato = formato;
    return escribeResultados(rutas, opciones, salida, errores);
}

int escribeResultados(const QStringList& rutas, const OpcionesResultados& opciones,
                      std::ostream& salida, std::ostream& errores) {
    const FormatoResultados formato = opciones.formato;
    std::shared_ptr<const Mapa> mapa;
    if (!opciones.mapa.isEmpty()) {
        QString error;
        mapa = leeMapaResultados(opciones.mapa, error);
        if (mapa == nullptr) {
            escribe(errores, QStringLiteral("visor: %1: %2\n")
                                 .arg(textoImprimible(opciones.mapa), textoImprimible(error)));
            return 1;
        }
    }
    int estado = 0;
    int fallo = 0;
    bool primera = true;
    errno = 0;
    QJsonArray lista;
    if (formato == FormatoResultados::Csv) {
        salida << (mapa != nullptr ? kCabeceraCsvConMapa : kCabeceraCsv) << "\r\n";
    }
    for (const QString& ruta : rutas) {
        ResultadosCarrera r;
        QString error;
        if (!calculaResultados(ruta, mapa, opciones.frame, r, error)) {
            escribe(errores, QStringLiteral("visor: %1: %2\n")
                                 .arg(textoImprimible(ruta), textoImprimible(error)));
            estado = 1;
            continue;
        }
        switch (formato) {
        case FormatoResultados::Texto:
            escribeTexto(salida, r, primera);
            break;
        case FormatoResultados::Csv:
            escribeCsv(salida, r);
            break;
        case FormatoResultados::Json:
            anadeJson(lista, r);
            break;
        }
        primera = false;
        // Races come one after another; each shows as soon as it is ranked.
        salida.flush();
        if (!salida && fallo == 0) {
            fallo = errno;
        }
    }
    if (formato == FormatoResultados::Json) {
        escribe(salida, sinControlesJson(QJsonDocument(lista).toJson(QJsonDocument::Indented)));
    }
    salida.flush();
    if (!salida && fallo == 0) {
        fallo = errno;
    }
    if (!salida) {
        // The stream keeps no reason; the write that failed left it in errno.
        escribe(errores, fallo != 0 ? QStringLiteral("visor: no se pudieron escribir los "
                                                     "resultados: %1.\n")
                                          .arg(motivoDeEscritura(fallo))
                                    : QStringLiteral("visor: no se pudieron escribir los "
                                                     "resultados\n"));
        estado = 1;
    }
    return estado;
}

} // namespace zul
