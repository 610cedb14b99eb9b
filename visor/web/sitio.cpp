#include "web/sitio.h"

#include "analisis/analisis.h"
#include "analisis/textos.h"
#include "datos/nombres.h"
#include "datos/rutas.h"
#include "reproduccion/carga.h"
#include "salida/carga_sin_pantalla.h"
#include "salida/guardar_png.h"
#include "salida/texto_terminal.h"
#include "video/archivo_parcial.h"
#include "web/indice_sitio.h"
#include "web/modo_html.h"
#include "web/pagina_html.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <new>
#include <sys/stat.h>

namespace zul {

const char* const kMarcaSitio = ".sitio-zulkarts";

namespace {

bool borraArbol(const QString& ruta) {
    return QDir(ruta).removeRecursively();
}

// A new folder of our own beside `destino`; empty, with errno set, when
// none can be made.
QString carpetaNueva(const QString& destino) {
    const QFileInfo info(destino);
    const QString padre = info.absolutePath();
    for (int intento = 0; intento < 100; ++intento) {
        const QString ruta = QDir(padre).filePath(
            QStringLiteral(".%1.zulsitio-%2")
                .arg(info.fileName(), QString::number(QRandomGenerator::global()->generate(), 36)));
        if (::mkdir(bytesDeRuta(ruta).constData(), 0777) == 0) {
            return ruta;
        }
        if (errno != EEXIST) {
            return QString();
        }
    }
    return QString();
}

bool vaciaOSitio(const QString& carpeta) {
    const QDir d(carpeta);
    return d.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) ||
           QFileInfo::exists(d.filePath(QString::fromLatin1(kMarcaSitio)));
}

} // namespace

bool leePuntos(const QString& texto, std::vector<int>& puntos) {
    std::vector<int> leidos;
    for (const QString& parte : texto.split(QLatin1Char(','))) {
        bool ok = false;
        const int v = parte.trimmed().toInt(&ok);
        if (!ok || v < 0 || v > 1000000) {
            return false;
        }
        leidos.push_back(v);
    }
    if (leidos.empty()) {
        return false;
    }
    puntos = leidos;
    return true;
}

std::vector<FilaConcurso> clasificacionConcurso(const std::vector<QStringList>& ordenes,
                                                const std::vector<int>& puntos) {
    std::map<QString, FilaConcurso> porNombre;
    std::size_t maxPuestos = 0;
    for (const QStringList& orden : ordenes) {
        maxPuestos = std::max(maxPuestos, static_cast<std::size_t>(orden.size()));
    }
    for (const QStringList& orden : ordenes) {
        for (int i = 0; i < orden.size(); ++i) {
            FilaConcurso& f = porNombre[orden[i]];
            f.nombre = orden[i];
            f.puestos.resize(maxPuestos);
            ++f.puestos[static_cast<std::size_t>(i)];
            if (static_cast<std::size_t>(i) < puntos.size()) {
                f.puntos += puntos[static_cast<std::size_t>(i)];
            }
        }
    }
    std::vector<FilaConcurso> filas;
    for (auto& [nombre, fila] : porNombre) {
        fila.puestos.resize(maxPuestos);
        filas.push_back(fila);
    }
    const auto delante = [](const FilaConcurso& a, const FilaConcurso& b) {
        if (a.puntos != b.puntos) {
            return a.puntos > b.puntos;
        }
        return a.puestos > b.puestos; // more wins, then more seconds...
    };
    std::stable_sort(filas.begin(), filas.end(), delante); // names in order within a tie
    for (std::size_t i = 0; i < filas.size(); ++i) {
        filas[i].posicion = i > 0 && !delante(filas[i - 1], filas[i]) ? filas[i - 1].posicion
                                                                      : static_cast<int>(i) + 1;
    }
    return filas;
}

int ejecutaModoSitio(const OpcionesSitio& opciones) {
    std::vector<CarreraSitio> carreras;
    const int cargadas = conErroresDeCarga([&] {
        for (int k = 0; k + 1 < opciones.carreras.size(); k += 2) {
            CarreraSitio c;
            c.ruta = opciones.carreras[k];
            c.carrera = cargaCarrera(bytesDeRuta(c.ruta).toStdString());
            c.mapa = cargaMapa(bytesDeRuta(opciones.carreras[k + 1]).toStdString());
            c.nombres = textosNombres(c.carrera.nombres);
            c.resultados = AnalisisCarrera(c.carrera).resultados();
            if (c.resultados.empty()) {
                informaError(QStringLiteral("%1: la carrera no tiene ningún paso completo, así que "
                                            "no tiene resultados")
                                 .arg(c.ruta));
                return 1;
            }
            c.pagina = QStringLiteral("carrera-%1.html").arg(k / 2 + 1);
            carreras.push_back(std::move(c));
        }
        return 0;
    });
    if (cargadas != 0) {
        return cargadas;
    }

    // Through a symbolic link, the folder it points to is replaced.
    QString destino = QFileInfo(opciones.carpeta).absoluteFilePath();
    if (QFileInfo(destino).isSymLink() && !QFileInfo(destino).canonicalFilePath().isEmpty()) {
        destino = QFileInfo(destino).canonicalFilePath();
    }
    const QFileInfo existente(destino);
    if (existente.exists() && !existente.isDir()) {
        informaError(QStringLiteral("%1 no es una carpeta; no se sustituye").arg(opciones.carpeta));
        return 1;
    }
    if (existente.exists() && !vaciaOSitio(destino)) {
        informaError(
            QStringLiteral("%1 ya existe y no es un sitio escrito por visor --sitio; no se "
                           "sustituye (elija otra carpeta o vacíela)")
                .arg(opciones.carpeta));
        return 1;
    }
    for (const QString& entrada : opciones.carreras) {
        if (QFileInfo(entrada).absoluteFilePath().startsWith(destino + QLatin1Char('/'))) {
            informaError(QStringLiteral("%1 está dentro de %2, que se sustituye entera")
                             .arg(entrada, opciones.carpeta));
            return 1;
        }
    }

    const QString nueva = carpetaNueva(destino);
    if (nueva.isEmpty()) {
        informaError(
            QStringLiteral("No se pudo crear el sitio %1: %2.")
                .arg(opciones.carpeta, motivoSistema(errno, QFileInfo(destino).absolutePath())));
        return 1;
    }
    QString error;
    const auto guarda = [&](const QString& nombre, const QByteArray& datos) {
        if (guardaDatos(datos, QDir(nueva).filePath(nombre), QStringLiteral("el sitio"), error)) {
            return true;
        }
        // Named as the user knows it, not by the unfinished folder.
        error.replace(nueva, QDir(opciones.carpeta).path());
        return false;
    };
    bool bien = true;
    try {
        const HojaFlechas flechas = hojaFlechas();
        std::vector<QStringList> ordenes;
        for (const CarreraSitio& c : carreras) {
            QStringList orden;
            for (const Puesto& p : c.resultados) {
                orden.append(c.nombres.value(p.jugador));
            }
            ordenes.push_back(orden);
            OpcionesPagina pagina;
            pagina.titulo = QFileInfo(c.ruta).fileName();
            pagina.volver = QStringLiteral("index.html");
            pagina.rotulos = true;
            const QByteArray html = paginaHtml(c.carrera, c.mapa, flechas, pagina);
            if (html.isEmpty()) {
                error = QStringLiteral("el programa no lleva el código de la página");
                bien = false;
                break;
            }
            if (!guarda(c.pagina, html)) {
                bien = false;
                break;
            }
        }
        bien =
            bien &&
            guarda(QStringLiteral("index.html"),
                   indiceSitio(opciones, carreras, clasificacionConcurso(ordenes, opciones.puntos))
                       .toUtf8()) &&
            guarda(QString::fromLatin1(kMarcaSitio),
                   QByteArrayLiteral("Sitio escrito por visor --sitio (ZUL Karts). Se "
                                     "sustituye entero al volver a escribirlo.\n"));
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("no hay memoria suficiente");
        bien = false;
    }
    if (bien) {
        // The new folder takes the old one's place in one step; the old one,
        // now under the new one's name, goes after.
        const QByteArray a = bytesDeRuta(nueva);
        const QByteArray b = bytesDeRuta(destino);
        if (existente.exists()) {
            if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) !=
                0) {
                error = QStringLiteral("No se pudo sustituir %1: %2.")
                            .arg(opciones.carpeta,
                                 motivoSistema(errno, QFileInfo(destino).absolutePath()));
                bien = false;
            }
        } else if (::rename(a.constData(), b.constData()) != 0) {
            error =
                QStringLiteral("No se pudo crear el sitio %1: %2.")
                    .arg(opciones.carpeta, motivoSistema(errno, QFileInfo(destino).absolutePath()));
            bien = false;
        }
    }
    // After a swap this is the old site; after a failure, the unfinished one.
    borraArbol(nueva);
    if (!bien) {
        informaError(error);
        return 1;
    }
    return 0;
}

} // namespace zul
