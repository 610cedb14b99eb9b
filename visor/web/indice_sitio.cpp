#include "web/indice_sitio.h"

#include "analisis/series.h"
#include "analisis/textos.h"
#include "geometria/colores.h"
#include "web/pagina_html.h"

#include <QColor>
#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <map>

#ifndef ZUL_VERSION
#define ZUL_VERSION "desconocida"
#endif

namespace zul {

namespace {

QString html(const QString& texto) {
    return escapaHtml(texto);
}

QString colorJugador(int j) {
    return QLatin1Char('#') + QLatin1String(colorEtiqueta(j));
}

// The name on the plate that reads best, as in the window's panel.
QString celdaNombre(const QString& nombre, int j) {
    const QColor texto(colorJugador(j));
    return QStringLiteral("<span class=\"nombre\" style=\"color:%1;background:%2\">%3</span>")
        .arg(texto.name(), fondoLegible(texto).name(), html(nombre));
}

// Positions at the start and after each lap, as a small line chart.
QString graficaVueltas(const CarreraSitio& c, const AnalisisCarrera& analisis) {
    const SeriesGraficas series = seriesGraficas(analisis);
    double maxVueltas = 1.0;
    double minVueltas = 1e300;
    for (const SerieGrafica& s : series.posiciones) {
        for (const PuntoGrafica& p : s) {
            maxVueltas = std::max(maxVueltas, p.x);
            minVueltas = std::min(minVueltas, p.x);
        }
    }
    if (minVueltas > maxVueltas) {
        minVueltas = 0.0;
    }
    const int n = std::max(c.carrera.numJugadores, 1);
    const double ancho = 600.0, alto = 40.0 + 22.0 * n, margen = 36.0;
    const auto x = [&](double v) {
        return margen +
               (ancho - 2 * margen) * (v - minVueltas) / std::max(maxVueltas - minVueltas, 1.0);
    };
    const auto y = [&](double pos) {
        return 20.0 + (alto - 40.0) * (pos - 1.0) / std::max(n - 1, 1);
    };
    QString svg =
        QStringLiteral("<svg class=\"grafica\" viewBox=\"0 0 %1 %2\" role=\"img\" "
                       "aria-label=\"Posición de cada jugador al completar cada vuelta\">")
            .arg(ancho)
            .arg(alto);
    for (int pos = 1; pos <= n; ++pos) {
        svg += QStringLiteral("<text x=\"4\" y=\"%1\" class=\"eje\">%2</text>")
                   .arg(y(pos) + 4, 0, 'f', 1)
                   .arg(pos);
    }
    for (long long v = static_cast<long long>(minVueltas); v <= static_cast<long long>(maxVueltas);
         ++v) {
        svg +=
            QStringLiteral("<line x1=\"%1\" x2=\"%1\" y1=\"14\" y2=\"%2\" class=\"rejilla\"/>"
                           "<text x=\"%1\" y=\"%3\" class=\"eje\" text-anchor=\"middle\">%4</text>")
                .arg(x(static_cast<double>(v)), 0, 'f', 1)
                .arg(alto - 14)
                .arg(alto - 2)
                .arg(v);
    }
    for (std::size_t j = 0; j < series.posiciones.size(); ++j) {
        QStringList puntos;
        for (const PuntoGrafica& p : series.posiciones[j]) {
            puntos.append(QStringLiteral("%1,%2").arg(x(p.x), 0, 'f', 1).arg(y(p.y), 0, 'f', 1));
        }
        const QString nombre = j < static_cast<std::size_t>(c.nombres.size())
                                   ? c.nombres[static_cast<int>(j)]
                                   : QString();
        // The discs' paler colours read better on the dark chart.
        svg += QStringLiteral("<polyline points=\"%1\" stroke=\"%2\"><title>%3</title></polyline>")
                   .arg(puntos.join(QLatin1Char(' ')), colorDisco(static_cast<int>(j)).name(),
                        html(nombre));
    }
    svg += QStringLiteral("</svg>\n<p class=\"leyenda\">");
    for (int j = 0; j < c.nombres.size(); ++j) {
        svg += celdaNombre(c.nombres[j], j) + QLatin1Char(' ');
    }
    return svg + QStringLiteral("</p>");
}

const char* const kEstiloIndice = R"(
:root { color-scheme: dark; }
body { margin: 0 auto; max-width: 60em; padding: .5em 1em 2em; background: #16161a; color: #eee;
  font: 16px/1.4 system-ui, sans-serif; }
h1 { font-size: 1.5em; } h2 { font-size: 1.2em; margin-top: 1.6em; }
a { color: #8cf; }
table { border-collapse: collapse; width: 100%; margin: .4em 0; }
th, td { padding: .25em .5em; text-align: right; border-bottom: 1px solid #333; }
th:nth-child(2), td:nth-child(2) { text-align: left; }
.tabla { overflow-x: auto; }
.nombre { padding: 0 .3em; border-radius: 3px; }
.grafica { width: 100%; max-width: 40em; background: #0c0c0e; border: 1px solid #333; }
.grafica polyline { fill: none; stroke-width: 2.5; }
.grafica .eje { fill: #aaa; font-size: 12px; }
.grafica .rejilla { stroke: #333; }
.leyenda .nombre { margin-right: .5em; }
footer { margin-top: 2em; color: #aaa; font-size: .9em; }
)";

} // namespace

QString indiceSitio(const OpcionesSitio& opciones, const std::vector<CarreraSitio>& carreras,
                    const std::vector<FilaConcurso>& concurso) {
    const QString titulo =
        opciones.titulo.isEmpty() ? QStringLiteral("Resultados del concurso") : opciones.titulo;
    QString t =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<title>%1</title>\n<style>%2</style>\n</head>\n<body>\n<h1>%1</h1>\n")
            .arg(html(titulo), QString::fromLatin1(kEstiloIndice));
    // Each player's colour: that of its first race.
    std::map<QString, int> colores;
    for (const CarreraSitio& c : carreras) {
        for (int j = 0; j < c.nombres.size(); ++j) {
            colores.emplace(c.nombres[j], j);
        }
    }
    t += QStringLiteral(
        "<h2 id=\"clasificacion\">Clasificación del concurso</h2>\n<div class=\"tabla\">"
        "<table id=\"concurso\">\n<thead><tr><th>Pos</th><th>Jugador</th><th>Puntos</th>"
        "<th>Victorias</th>");
    for (std::size_t k = 0; k < carreras.size(); ++k) {
        t += QStringLiteral("<th><a href=\"#carrera-%1\">Carrera %1</a></th>").arg(k + 1);
    }
    t += QStringLiteral("</tr></thead>\n<tbody>\n");
    for (const FilaConcurso& f : concurso) {
        t += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td>")
                 .arg(f.posicion)
                 .arg(celdaNombre(f.nombre, colores[f.nombre]))
                 .arg(f.puntos)
                 .arg(f.puestos.empty() ? 0 : f.puestos[0]);
        for (const CarreraSitio& c : carreras) {
            QString celda = QStringLiteral("-");
            for (const Puesto& p : c.resultados) {
                if (c.nombres.value(p.jugador) == f.nombre) {
                    celda = QString::number(p.posicion) + QStringLiteral("º");
                    break;
                }
            }
            t += QStringLiteral("<td>%1</td>").arg(celda);
        }
        t += QStringLiteral("</tr>\n");
    }
    t += QStringLiteral("</tbody></table></div>\n<p>Puntos por puesto: %1. Los empates se deshacen "
                        "por victorias, después por segundos puestos, y así sucesivamente.</p>\n")
             .arg([&] {
                 QStringList l;
                 for (int p : opciones.puntos) {
                     l.append(QString::number(p));
                 }
                 return l.join(QStringLiteral(", "));
             }());
    for (std::size_t k = 0; k < carreras.size(); ++k) {
        const CarreraSitio& c = carreras[k];
        const AnalisisCarrera analisis(c.carrera);
        t += QStringLiteral("<h2 id=\"carrera-%1\">Carrera %1: %2</h2>\n<p><a href=\"%3\">Ver la "
                            "repetición</a> (paso final %4)</p>\n<div class=\"tabla\"><table "
                            "class=\"resultados\">\n<thead><tr><th>Pos</th><th>Jugador</th>"
                            "<th>Vueltas</th><th>Última vuelta</th><th>Mejor vuelta</th>"
                            "<th>Diferencia</th><th>Puntos</th></tr></thead>\n<tbody>\n")
                 .arg(k + 1)
                 .arg(html(QFileInfo(c.ruta).fileName()), html(c.pagina))
                 .arg(analisis.framesAnalizados() - 1);
        for (const Puesto& p : c.resultados) {
            const std::size_t i = static_cast<std::size_t>(p.posicion - 1);
            t += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td>"
                                "<td>%6</td><td>%7</td></tr>\n")
                     .arg(p.posicion)
                     .arg(celdaNombre(c.nombres.value(p.jugador), p.jugador))
                     .arg(p.vueltas)
                     .arg(textoTiempo(p.ultimaVuelta), textoTiempo(p.mejorVuelta),
                          textoDiferencia(p))
                     .arg(i < opciones.puntos.size() ? opciones.puntos[i] : 0);
        }
        t += QStringLiteral("</tbody></table></div>\n<h3>Posiciones vuelta a vuelta</h3>\n") +
             graficaVueltas(c, analisis) + QLatin1Char('\n');
    }
    t += QStringLiteral(
             "<footer>Generado el %1 con visor %2 (ZUL Karts).</footer>\n</body>\n</html>\n")
             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                  QStringLiteral(ZUL_VERSION));
    return t;
}

} // namespace zul
