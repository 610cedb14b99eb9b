#include "renderizado.h"

#include "CVentana.h"
#include "CVisualizador.h"
#include "salida.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <new>

#ifndef ZUL_VERSION
#define ZUL_VERSION "desconocida"
#endif

namespace zul {

namespace {

constexpr int kSalidaError = 1;
constexpr int kSalidaUso = 2;

const QStringList kConValor = {QStringLiteral("--png"),   QStringLiteral("--paso"),
                               QStringLiteral("--hasta"), QStringLiteral("--jugador"),
                               QStringLiteral("--zoom"),  QStringLiteral("--tamano")};
const QStringList kSinValor = {QStringLiteral("--estelas"), QStringLiteral("--help"),
                               QStringLiteral("-h"), QStringLiteral("--version"),
                               QStringLiteral("-v")};

// The option's name in "--zoom" or "--zoom=3"; empty when it is none of ours.
QString nombreOpcion(const QString& argumento) {
    const QString nombre = argumento.section(QLatin1Char('='), 0, 0);
    if (kConValor.contains(nombre) || (kSinValor.contains(argumento))) {
        return nombre;
    }
    return QString();
}

bool leeEntero(const QString& texto, long long minimo, long long maximo, long long& valor) {
    bool ok = false;
    const long long leido = texto.trimmed().toLongLong(&ok);
    if (!ok || leido < minimo || leido > maximo) {
        return false;
    }
    valor = leido;
    return true;
}

void escribe(std::FILE* destino, const QString& texto) {
    const QByteArray bytes = texto.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
    std::fflush(destino);
}

// main's arguments after the program's name.
QStringList argumentosDe(int argc, char* argv[]) {
    QStringList argumentos;
    for (int i = 1; i < argc; ++i) {
        argumentos.append(QString::fromLocal8Bit(argv[i]));
    }
    return argumentos;
}

// Standard error is for the program's own messages: the toolkit's notes
// (such as a missing XDG_RUNTIME_DIR) say nothing about the pictures.
void soloErroresGraves(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg) {
        escribe(stderr, qFormatLogMessage(tipo, contexto, texto) + QLatin1Char('\n'));
    }
}

QString rutaCanonica(const QString& ruta) {
    return QFileInfo(ruta).canonicalFilePath();
}

} // namespace

bool esLineaDeOrdenes(const QStringList& argumentos) {
    for (const QString& argumento : argumentos) {
        if (argumento == QLatin1String("--")) {
            return false;
        }
        if (!nombreOpcion(argumento).isEmpty()) {
            return true;
        }
    }
    return false;
}

bool esLineaDeOrdenes(int argc, char* argv[]) {
    return esLineaDeOrdenes(argumentosDe(argc, argv));
}

bool analizaArgumentos(const QStringList& argumentos, Orden& orden, OpcionesImagen& opciones,
                       QString& error) {
    opciones = OpcionesImagen();
    QStringList vistas;
    QStringList archivos;
    bool hayHasta = false;
    bool ayuda = false;
    bool version = false;
    bool soloArchivos = false;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& argumento = argumentos[i];
        if (soloArchivos || !argumento.startsWith(QLatin1Char('-')) ||
            argumento == QLatin1String("-")) {
            archivos.append(argumento);
            continue;
        }
        if (argumento == QLatin1String("--")) {
            soloArchivos = true;
            continue;
        }
        const QString nombre = nombreOpcion(argumento);
        if (nombre.isEmpty()) {
            error = QStringLiteral("opción desconocida: %1").arg(argumento);
            return false;
        }
        if (nombre == QLatin1String("-h") || nombre == QLatin1String("--help")) {
            ayuda = true;
            continue;
        }
        if (nombre == QLatin1String("-v") || nombre == QLatin1String("--version")) {
            version = true;
            continue;
        }
        if (vistas.contains(nombre)) {
            error = QStringLiteral("la opción %1 aparece más de una vez").arg(nombre);
            return false;
        }
        vistas.append(nombre);
        if (nombre == QLatin1String("--estelas")) {
            opciones.estelas = true;
            continue;
        }
        QString valor;
        if (argumento.contains(QLatin1Char('='))) {
            valor = argumento.section(QLatin1Char('='), 1);
        } else if (i + 1 < argumentos.size()) {
            valor = argumentos[++i];
        } else {
            error = QStringLiteral("falta el valor de %1").arg(nombre);
            return false;
        }
        if (nombre == QLatin1String("--png")) {
            if (valor.isEmpty()) {
                error = QStringLiteral("--png necesita el nombre del archivo de salida");
                return false;
            }
            opciones.salida = valor;
        } else if (nombre == QLatin1String("--paso") || nombre == QLatin1String("--hasta")) {
            long long numero = 0;
            if (!leeEntero(valor, 0, std::numeric_limits<int>::max(), numero)) {
                error = QStringLiteral("%1 debe ser un número de paso (un entero desde 0), no «%2»")
                            .arg(nombre, valor);
                return false;
            }
            if (nombre == QLatin1String("--paso")) {
                opciones.paso = numero;
            } else {
                opciones.hasta = numero;
                hayHasta = true;
            }
        } else if (nombre == QLatin1String("--jugador")) {
            long long numero = 0;
            if (!leeEntero(valor, 0, std::numeric_limits<int>::max(), numero)) {
                error = QStringLiteral(
                            "--jugador debe ser un número de jugador (un entero desde 0), no «%1»")
                            .arg(valor);
                return false;
            }
            opciones.jugador = static_cast<int>(numero);
        } else if (nombre == QLatin1String("--zoom")) {
            // A decimal comma is read like a point.
            QString texto = valor.trimmed();
            texto.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            const double zoom = texto.toDouble(&ok);
            if (!ok || !std::isfinite(zoom) || zoom < kZoomMinimo || zoom > kZoomMaximo) {
                error = QStringLiteral("--zoom debe ser un número de 0.1 a 50, no «%1»").arg(valor);
                return false;
            }
            opciones.zoom = zoom;
        } else if (nombre == QLatin1String("--tamano")) {
            static const QRegularExpression forma(
                QStringLiteral("^\\s*(\\d+)\\s*[xX]\\s*(\\d+)\\s*$"));
            const QRegularExpressionMatch partes = forma.match(valor);
            long long ancho = 0;
            long long alto = 0;
            if (!partes.hasMatch() || !leeEntero(partes.captured(1), 1, kLadoMaximo, ancho) ||
                !leeEntero(partes.captured(2), 1, kLadoMaximo, alto)) {
                error = QStringLiteral("--tamano debe ser ANCHOxALTO, cada uno de 1 a %1 píxeles "
                                       "(por ejemplo 640x480), no «%2»")
                            .arg(kLadoMaximo)
                            .arg(valor);
                return false;
            }
            opciones.tamano = QSize(static_cast<int>(ancho), static_cast<int>(alto));
        }
    }
    if (ayuda) {
        orden = Orden::Ayuda;
        return true;
    }
    if (version) {
        orden = Orden::Version;
        return true;
    }
    orden = Orden::Imagen;
    if (opciones.salida.isEmpty() && vistas.isEmpty()) {
        error = QStringLiteral("falta --png SALIDA.png");
        return false;
    }
    if (opciones.salida.isEmpty()) {
        error = QStringLiteral("las opciones %1 solo se usan con --png SALIDA.png")
                    .arg(vistas.join(QStringLiteral(", ")));
        return false;
    }
    if (archivos.size() != 2) {
        error =
            archivos.size() < 2
                ? QStringLiteral("faltan archivos: hacen falta el registro de carrera y el mapa")
                : QStringLiteral("sobran archivos: solo se dan el registro de carrera y el "
                                 "mapa, no «%1»")
                      .arg(archivos.mid(2).join(QStringLiteral(" ")));
        return false;
    }
    opciones.carrera = archivos[0];
    opciones.mapa = archivos[1];
    if (hayHasta && opciones.hasta < opciones.paso) {
        error = QStringLiteral("--hasta %1 es anterior a --paso %2")
                    .arg(opciones.hasta)
                    .arg(opciones.paso);
        return false;
    }
    if (!hayHasta) {
        opciones.hasta = -1;
    }
    return true;
}

QString textoAyuda() {
    return QStringLiteral(
        "Uso: visor [CARRERA MAPA]\n"
        "     visor --png SALIDA.png [opciones] CARRERA MAPA\n"
        "\n"
        "Reproduce una carrera de ZUL Karts a partir de su registro de carrera (CARRERA) y del\n"
        "mapa de la pista (MAPA). Sin --png abre la ventana del visor; sin archivos, pide\n"
        "elegirlos. Con --png dibuja la vista de la pista en imágenes PNG, sin abrir ninguna\n"
        "ventana ni necesitar pantalla, y termina.\n"
        "\n"
        "Opciones:\n"
        "  --png SALIDA.png  archivo PNG que se escribe\n"
        "  --paso K          paso que se dibuja, contando desde 0 (por defecto 0)\n"
        "  --hasta M         dibuja los pasos K a M, cada uno en su archivo, con el número de\n"
        "                    paso antes de la extensión: SALIDA-00012.png\n"
        "  --jugador J       jugador en el que se centra la vista, desde 0 (por defecto 0)\n"
        "  --zoom Z          píxeles por casilla, de 0.1 a 50 (por defecto 10)\n"
        "  --tamano AxB      ancho y alto de la imagen en píxeles, de 1 a 8192\n"
        "                    (por defecto 512x512)\n"
        "  --estelas         dibuja el recorrido de cada kart en los últimos 30 pasos\n"
        "  -h, --help        muestra esta ayuda y termina\n"
        "  -v, --version     muestra la versión y termina\n"
        "\n"
        "Estado de salida: 0 si todo fue bien, 1 si no se pudo leer un archivo o escribir una\n"
        "imagen, 2 si la orden está mal escrita. Los errores se explican en la salida de\n"
        "errores.\n");
}

QString textoVersion() {
    return QStringLiteral("visor " ZUL_VERSION "\n");
}

QString nombreNumerado(const QString& salida, long long paso, int cifras) {
    const QString numero = QStringLiteral("-%1").arg(paso, cifras, 10, QLatin1Char('0'));
    const QFileInfo info(salida);
    const QString extension = info.suffix();
    // A dot that starts the file name (".png") is no extension.
    if (extension.isEmpty() || info.fileName().size() == extension.size() + 1) {
        return salida + numero;
    }
    return salida.left(salida.size() - extension.size() - 1) + numero + QLatin1Char('.') +
           extension;
}

QImage renderizaFrame(CVentana& ventana, long long paso, QSize tamano) {
    CVisualizador* vista = ventana.vista();
    // Fixed, so that the hidden window's layouts, which render() applies,
    // leave the view at the size asked for.
    vista->setFixedSize(tamano);
    ventana.irAFrame(paso);
    QImage imagen(tamano, QImage::Format_RGB32);
    if (imagen.isNull()) {
        return imagen;
    }
    imagen.fill(Qt::black);
    vista->render(&imagen);
    return imagen;
}

bool renderiza(CVentana& ventana, const OpcionesImagen& opciones, QString& error) {
    const long long frames = ventana.numeroFrames();
    if (frames == 0) {
        error =
            QStringLiteral("%1: la carrera no tiene ningún paso que dibujar").arg(opciones.carrera);
        return false;
    }
    const long long hasta = opciones.hasta < 0 ? opciones.paso : opciones.hasta;
    if (hasta >= frames) {
        error = QStringLiteral("la carrera tiene %1 pasos (del 0 al %2); no existe el paso %3")
                    .arg(frames)
                    .arg(frames - 1)
                    .arg(hasta);
        return false;
    }
    const int jugadores = ventana.carreraGrabada().numJugadores;
    if (opciones.jugador >= jugadores) {
        error =
            QStringLiteral("la carrera tiene %1 jugadores (del 0 al %2); no existe el jugador %3")
                .arg(jugadores)
                .arg(jugadores - 1)
                .arg(opciones.jugador);
        return false;
    }
    CVisualizador* vista = ventana.vista();
    vista->cambiaZoom(opciones.zoom);
    vista->cambiaMira(opciones.jugador);
    vista->muestraEstelas(opciones.estelas);

    const QString entradas[] = {rutaCanonica(opciones.carrera), rutaCanonica(opciones.mapa)};
    const int cifras = std::max(5, static_cast<int>(QString::number(hasta).size()));
    for (long long paso = opciones.paso; paso <= hasta; ++paso) {
        const QString ruta =
            opciones.hasta < 0 ? opciones.salida : nombreNumerado(opciones.salida, paso, cifras);
        // An image never replaces the files it is drawn from.
        const QString destino = rutaCanonica(ruta);
        if (!destino.isEmpty() && (destino == entradas[0] || destino == entradas[1])) {
            error =
                QStringLiteral("%1 es uno de los archivos de entrada; no se sobrescribe").arg(ruta);
            return false;
        }
        const QImage imagen = renderizaFrame(ventana, paso, opciones.tamano);
        if (imagen.isNull()) {
            error = QStringLiteral("no hay memoria para una imagen de %1x%2 píxeles")
                        .arg(opciones.tamano.width())
                        .arg(opciones.tamano.height());
            return false;
        }
        if (!guardaPng(imagen, ruta, error)) {
            return false;
        }
    }
    return true;
}

int ejecutaLineaDeOrdenes(int argc, char* argv[]) {
    const QStringList argumentos = argumentosDe(argc, argv);
    Orden orden = Orden::Imagen;
    OpcionesImagen opciones;
    QString error;
    if (!analizaArgumentos(argumentos, orden, opciones, error)) {
        escribe(
            stderr,
            QStringLiteral("visor: %1\nPruebe «visor --help» para ver las opciones.\n").arg(error));
        return kSalidaUso;
    }
    if (orden == Orden::Ayuda) {
        escribe(stdout, textoAyuda());
        return 0;
    }
    if (orden == Orden::Version) {
        escribe(stdout, textoVersion());
        return 0;
    }

    // No window is shown, so no display is needed, whatever the environment
    // says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(soloErroresGraves);
    int argcQt = 1;
    QApplication aplicacion(argcQt, argv);
    try {
        CVentana ventana(QFile::encodeName(opciones.carrera).constData(),
                         QFile::encodeName(opciones.mapa).constData());
        if (!renderiza(ventana, opciones, error)) {
            escribe(stderr, QStringLiteral("visor: %1\n").arg(error));
            return kSalidaError;
        }
        return 0;
    } catch (std::exception* fallo) {
        const std::unique_ptr<std::exception> propio(fallo);
        QString texto = QString::fromUtf8(fallo->what());
        if (auto* deArchivo = dynamic_cast<CVentana::excepcionArchivo*>(fallo)) {
            texto = (deArchivo->ruta().empty() ? QStringLiteral("falta la ruta del archivo")
                                               : QString::fromLocal8Bit(deArchivo->ruta())) +
                    QStringLiteral(": ") + texto;
        }
        escribe(stderr, QStringLiteral("visor: %1\n").arg(texto));
        return kSalidaError;
    } catch (const std::bad_alloc&) {
        escribe(stderr, QStringLiteral("visor: no hay memoria suficiente\n"));
        return kSalidaError;
    }
}

} // namespace zul
