#pragma once

#include "programa/linea_ordenes.h"

#include <QCommandLineParser>
#include <QStringList>

// One validator per mode: it checks the options of its mode and the files,
// and fills the LineaDeOrdenes. A new mode adds its validator here and its
// row to the table of modes in linea_ordenes.cpp.
namespace zul {

// What the parser read, once the options common to every mode are checked.
struct OrdenLeida {
    const QCommandLineParser& analizador;
    // The viewer's own options given (not Qt's, --en-vivo or --help), as
    // "--nombre", once each, in order.
    QStringList vistas;
    QStringList archivos;
    // --help or --version: the values of the options are still checked, but
    // not how they combine nor the files.
    bool soloAyuda = false;
};

using Validador = bool (*)(const OrdenLeida&, LineaDeOrdenes&, QString&);

bool validaVentana(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);
bool validaPng(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);
bool validaVideo(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);
bool validaResultados(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);
bool validaHtml(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);
bool validaSitio(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);
bool validaTelemetria(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error);

} // namespace zul
