#pragma once

#include "analisis/resultados.h"
#include "salida/modo_png.h"
#include "salida/modo_telemetria.h"
#include "salida/modo_video.h"
#include "web/modo_html.h"
#include "web/sitio.h"

#include <QString>
#include <QStringList>

#include <optional>

// The viewer's command line, every mode in one parser:
//   visor [CARRERA [MAPA]]                      the window
//   visor --en-vivo CARRERA MAPA                the window, following the log
//   visor --png SALIDA.png [opciones] CARRERA MAPA   pictures, no display
//   visor --video SALIDA [opciones] CARRERA MAPA     a video, no display
//   visor --resultados [--mapa MAPA] [--paso K] [--formato F] CARRERA...
//                                                    results, no display
//   visor --html SALIDA.html [opciones] CARRERA MAPA  a replay page, no display
//   visor --sitio CARPETA [opciones] CARRERA MAPA...  a contest's site, no display
//   visor --telemetria [--formato F] [--jugador J] CARRERA MAPA   per-step rows
//   visor --help | --version
// The options, with their descriptions and the help, are in opciones.cpp; each
// mode's checks are in its validator (validadores.cpp). A new mode adds its
// options there, its Modo and its fields here, its row to the table of modes
// in linea_ordenes.cpp; main dispatches.
namespace zul {

enum class Modo { Ventana, Png, Video, Html, Sitio, Resultados, Telemetria, Ayuda, Version };

struct LineaDeOrdenes {
    Modo modo = Modo::Ventana;
    // Window mode: the paths given (none, the race log, or both).
    QStringList archivos;
    // Window mode: the race log is followed while it is written.
    bool enVivo = false;
    // The bots' debug files and their shift (--depuracion, --desfase), for
    // every mode that draws; also in png.aspecto and video.pedido.aspecto.
    QStringList depuracion;
    long long desfase = 0;
    OpcionesPng png;
    OpcionesModoVideo video;
    OpcionesHtml html;
    OpcionesSitio sitio;
    // Results mode: the race logs, in the order given, and how to print them.
    QStringList carreras;
    FormatoResultados formato = FormatoResultados::Texto;
    // Results mode: the track's map (empty for none) and the step of the
    // standings (the last complete one when absent).
    QString mapaResultados;
    std::optional<long long> frameResultados;
    OpcionesTelemetria telemetria;
    // Window mode: another run of the same map, shown as a ghost.
    QString fantasma;
    Alineacion alineacion = Alineacion::Paso;
};

// Exit statuses of every mode.
constexpr int kSalidaBien = 0;
constexpr int kSalidaError = 1;
constexpr int kSalidaUso = 2;

// Reads a command line (without the program's name). Qt's own window options
// (such as -platform or -style) are accepted in window mode and left for
// QApplication. False, with the reason in Spanish, when the command line is
// wrong; the files themselves are checked later.
bool analizaLineaDeOrdenes(const QStringList& argumentos, LineaDeOrdenes& resultado,
                           QString& error);

// --camara seguir|centrado|pista|director, for any headless mode: sets the
// camera of `opciones`; false, with the reason, for any other value.
bool leeCamaraDeOpcion(const QString& valor, OpcionesEscena& opciones, QString& error);

// The arguments that turn live mode on, for window mode to take them out
// before QApplication sees the rest.
bool esOpcionEnVivo(const QString& argumento);
// How many arguments from `argumento` on belong to --fantasma or --alinear
// (2 with the value apart, 1 with "=value", 0 for any other), for window mode
// to take them out before QApplication sees the rest.
int argumentosDeFantasma(const QString& argumento);

// How many arguments from `argumento` on belong to --depuracion or --desfase
// (2 with the value apart, 1 with "=value", 0 for any other), for window mode
// to take them out before QApplication sees the rest.
int argumentosDeDepuracion(const QString& argumento);

QString textoAyuda();
QString textoVersion();

// The usage error as printed: the reason, with control characters escaped,
// and where to look.
QString textoErrorUso(const QString& error);

} // namespace zul
