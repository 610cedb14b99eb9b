#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class CVentana;

// The viewer's command-line mode: `visor --png SALIDA.png ... CARRERA MAPA`
// draws the track view into PNG files with no window and no display, and
// `--help` and `--version` answer on standard output.
namespace zul {

enum class Orden { Imagen, Ayuda, Version };

struct OpcionesImagen {
    QString salida;
    long long paso = 0;
    long long hasta = -1; // below paso: only frame paso
    int jugador = 0;
    double zoom = 10.0;
    QSize tamano{512, 512};
    bool estelas = false;
    QString carrera;
    QString mapa;
};

// The zoom range of the window's zoom box, and the largest image side.
constexpr double kZoomMinimo = 0.1;
constexpr double kZoomMaximo = 50.0;
constexpr int kLadoMaximo = 8192;

// Whether a command line (without the program's name) is for this mode: it
// names one of its options. Anything else opens the window.
bool esLineaDeOrdenes(const QStringList& argumentos);
// Same, for main's own arguments (the program's name first).
bool esLineaDeOrdenes(int argc, char* argv[]);

// Reads a command line (without the program's name). False, with the reason
// in Spanish, when it is wrong; the race itself is checked by renderiza.
bool analizaArgumentos(const QStringList& argumentos, Orden& orden, OpcionesImagen& opciones,
                       QString& error);

QString textoAyuda();
QString textoVersion();

// Name of frame `paso`'s file in a range: the number, with at least `cifras`
// digits, goes before the extension (salida.png gives salida-00012.png).
QString nombreNumerado(const QString& salida, long long paso, int cifras);

// What the window's track view shows at frame `paso` (shots of that frame
// included), drawn at `tamano` pixels. The view keeps that size afterwards.
QImage renderizaFrame(CVentana& ventana, long long paso, QSize tamano);

// Checks the options against the race the window holds, sets the view up
// (zoom, followed player, trails) and writes every image asked for. False,
// with the reason in Spanish, on the first failure.
bool renderiza(CVentana& ventana, const OpcionesImagen& opciones, QString& error);

// The whole mode, from main, before any QApplication exists; it picks Qt's
// offscreen platform itself. Returns the exit status: 0, 1 when the files
// cannot be read or an image cannot be written, 2 for a wrong command line.
int ejecutaLineaDeOrdenes(int argc, char* argv[]);

} // namespace zul
