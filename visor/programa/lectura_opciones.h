#pragma once

#include "programa/linea_ordenes.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <initializer_list>

// Readers of the options' values shared by the validators of the modes
// (validadores.cpp): each false, with the reason in `error`, for a value
// that cannot be used.
namespace zul {

// A whole number from minimo to maximo.
bool leeEntero(const QString& texto, long long minimo, long long maximo, long long& valor);

// Reads a decimal number, a comma read like a point.
bool leeDecimal(const QString& valor, double minimo, double maximo, double& numero);

// --paso, --hasta and --jugador.
bool leeFramesYJugador(const QCommandLineParser& a, OpcionesPng& png, QString& error);

// --zoom and --tamano.
bool leeZoomYTamano(const QCommandLineParser& a, AspectoImagen& aspecto, QString& error);

// The options --png and --video share: the picture's steps, player and look.
bool leeOpcionesImagen(const QCommandLineParser& a, OpcionesPng& png, QString& error);

// --video's own options; those shared with --png are already read into `png`.
bool leeOpcionesVideo(const QCommandLineParser& a, const OpcionesPng& png, OpcionesModoVideo& video,
                      QString& error);

// --fantasma OTRA and --alinear paso|vuelta, for --png and --video.
bool leeFantasma(const QCommandLineParser& a, LineaDeOrdenes& resultado, QString& error);

// The reason for files beyond the race log and the map.
QString textoSobran(const QStringList& archivos);

// --png and --video: exactly the race log and the map.
bool leeCarreraYMapa(const QStringList& archivos, LineaDeOrdenes& resultado, QString& error);

// The options of a mode outside `propias`, as "--a, --b".
QString ajenasA(const QStringList& vistas, std::initializer_list<const char*> propias);

} // namespace zul
