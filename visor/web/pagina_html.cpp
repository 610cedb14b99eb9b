#include "web/pagina_html.h"

#include "datos/nombres.h"
#include "escena/camara.h"
#include "escena/flechas.h"
#include "geometria/colores.h"
#include "web/datos_pagina.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace zul {

namespace {

// Tile sides: from the arrow zoom (7 + 1) to the largest zoom (50 + 1).
constexpr int kLadoMinimo = 8;
constexpr int kLadoMayor = 51;

// The page's modules, in the order they build on each other.
const char* const kModulos[] = {"decodificacion.js", "clasificacion.js", "rasterizado.js",
                                "pintor.js",         "depuracion.js",    "nombres.js",
                                "marcas.js",         "reproductor.js"};

QString colorHex(const QColor& c) {
    return c.name(QColor::HexRgb);
}

// A module as a plain script: its imports go (everything shares one scope)
// and its exports become plain declarations.
QString comoScript(QString codigo) {
    static const QRegularExpression importacion(QStringLiteral("^import [^\\n]*\\n"),
                                                QRegularExpression::MultilineOption);
    static const QRegularExpression exportacion(QStringLiteral("^export "),
                                                QRegularExpression::MultilineOption);
    codigo.remove(importacion);
    codigo.remove(exportacion);
    return codigo;
}

} // namespace

QString recursoWeb(const QString& nombre) {
    QFile archivo(QStringLiteral(":/web/") + nombre);
    if (!archivo.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(archivo.readAll());
}

QString jsonTexto(const QString& texto) {
    QString r = QStringLiteral("\"");
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        if (u == '"' || u == '\\') {
            r += QLatin1Char('\\');
            r += c;
        } else if (u < 0x20 || u == '<' || u == '>' || u == '&' || u == 0x2028 || u == 0x2029 ||
                   (u >= 0x7f && u <= 0x9f)) {
            r += QStringLiteral("\\u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
        } else {
            r += c;
        }
    }
    return r + QLatin1Char('"');
}

QString escapaHtml(const QString& texto) {
    return texto.toHtmlEscaped();
}

HojaFlechas hojaFlechas() {
    Flechas flechas;
    int alto = 0;
    for (int lado = kLadoMinimo; lado <= kLadoMayor; ++lado) {
        alto += lado;
    }
    // Premultiplied, as the painter blends them: the page blends the same
    // numbers the same way.
    QImage hoja(4 * kLadoMayor, alto, QImage::Format_ARGB32_Premultiplied);
    hoja.fill(Qt::transparent);
    QPainter pintor(&hoja);
    pintor.setCompositionMode(QPainter::CompositionMode_Source);
    QStringList lados;
    int y = 0;
    for (int lado = kLadoMinimo; lado <= kLadoMayor; ++lado) {
        flechas.ajustaA(lado - 1.0);
        QStringList medidas;
        for (int d = 0; d < NumBaldosas; ++d) {
            const QPixmap& baldosa = flechas.flecha(d);
            pintor.drawPixmap(d * lado, y, baldosa);
            medidas.append(QStringLiteral("[%1,%2]").arg(baldosa.width()).arg(baldosa.height()));
        }
        lados.append(QLatin1Char('[') + medidas.join(QLatin1Char(',')) + QLatin1Char(']'));
        y += lado;
    }
    pintor.end();
    HojaFlechas resultado;
    QByteArray crudos;
    crudos.reserve(static_cast<qsizetype>(hoja.width()) * hoja.height() * 4);
    for (int fila = 0; fila < hoja.height(); ++fila) {
        const QRgb* linea = reinterpret_cast<const QRgb*>(hoja.constScanLine(fila));
        for (int x = 0; x < hoja.width(); ++x) {
            for (int b = 0; b < 4; ++b) {
                crudos.append(static_cast<char>((linea[x] >> (8 * b)) & 0xff));
            }
        }
    }
    resultado.pixeles = qCompress(crudos, 9).mid(4);
    resultado.ancho = hoja.width();
    resultado.medidas = QLatin1Char('[') + lados.join(QLatin1Char(',')) + QLatin1Char(']');
    return resultado;
}

QByteArray paginaHtml(const Carrera& carrera, const Mapa& mapa, const HojaFlechas& flechas,
                      const OpcionesPagina& opciones) {
    QStringList nombres, discos, etiquetas, fondos;
    for (int j = 0; j < carrera.numJugadores; ++j) {
        const std::size_t k = static_cast<std::size_t>(j);
        nombres.append(
            jsonTexto(k < carrera.nombres.size() ? textoNombre(carrera.nombres[k]) : QString()));
        discos.append(jsonTexto(colorHex(colorDisco(j))));
        const QColor etiqueta(QLatin1Char('#') + QLatin1String(colorEtiqueta(j)));
        etiquetas.append(jsonTexto(colorHex(etiqueta)));
        fondos.append(jsonTexto(colorHex(fondoLegible(etiqueta))));
    }
    const auto lista = [](const QStringList& l) {
        return QLatin1Char('[') + l.join(QLatin1Char(',')) + QLatin1Char(']');
    };
    const auto siNo = [](bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); };
    // Concatenated, never through arg(): a name may hold "%1".
    const QString meta =
        QStringLiteral("{\"titulo\":") + jsonTexto(opciones.titulo) +
        QStringLiteral(",\"nombres\":") + lista(nombres) + QStringLiteral(",\"discos\":") +
        lista(discos) + QStringLiteral(",\"etiquetas\":") + lista(etiquetas) +
        QStringLiteral(",\"fondos\":") + lista(fondos) + QStringLiteral(",\"inicio\":{\"paso\":") +
        QString::number(opciones.frame) + QStringLiteral(",\"jugador\":") +
        QString::number(opciones.jugador) + QStringLiteral(",\"zoom\":") +
        QString::number(opciones.zoom, 'g', 17) + QStringLiteral(",\"camara\":") +
        jsonTexto(nombreCamara(opciones.camara)) + QStringLiteral(",\"estelas\":") +
        siNo(opciones.estelas) + QStringLiteral(",\"nombres\":") + siNo(opciones.rotulos) +
        QStringLiteral("},\"flechas\":{\"lado\":") + QString::number(kLadoMinimo) +
        QStringLiteral(",\"ancho\":") + QString::number(flechas.ancho) +
        QStringLiteral(",\"medidas\":") + flechas.medidas + QStringLiteral(",\"hoja\":\"") +
        QString::fromLatin1(flechas.pixeles.toBase64()) + QLatin1Char('"') +
        QStringLiteral("},\"volver\":") +
        (opciones.volver.isEmpty() ? QStringLiteral("null") : jsonTexto(opciones.volver)) +
        QStringLiteral(",\"marcaDisparo\":") + jsonTexto(colorHex(colorMarcaDisparo())) +
        QLatin1Char('}');

    QString codigo;
    for (const char* modulo : kModulos) {
        codigo += comoScript(recursoWeb(QString::fromLatin1(modulo)));
    }
    // The template's placeholders, in the order they stand in it, each
    // filled once: what fills one is never searched for the next.
    const QString plantilla = recursoWeb(QStringLiteral("plantilla.html"));
    const QByteArray comprimidos = comprimeCarrera(carrera, mapa).toBase64();
    const std::pair<const char*, QByteArray> huecos[] = {
        {"{{TITULO}}", escapaHtml(opciones.titulo).toUtf8()},
        {"/*{{ESTILO}}*/", recursoWeb(QStringLiteral("estilo.css")).toUtf8()},
        {"{{META}}", meta.toUtf8()},
        {"/*{{CODIGO}}*/", codigo.toUtf8()},
        {"{{DATOS}}", comprimidos},
        {"{{DEPURACION}}", opciones.depuracion},
    };
    QByteArray resultado;
    resultado.reserve(comprimidos.size() + opciones.depuracion.size() + plantilla.size() +
                      codigo.size() + meta.size() + 64);
    qsizetype desde = 0;
    for (const auto& [marca, valor] : huecos) {
        const QString texto = QString::fromLatin1(marca);
        const qsizetype donde = plantilla.indexOf(texto, desde);
        if (donde < 0) {
            return QByteArray(); // a broken build: no page rather than a wrong one
        }
        resultado += plantilla.mid(desde, donde - desde).toUtf8();
        resultado += valor;
        desde = donde + texto.size();
    }
    resultado += plantilla.mid(desde).toUtf8();
    return resultado;
}

} // namespace zul
