#include "programa/linea_ordenes.h"

#include "escena/camara.h"
#include "salida/texto_terminal.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>
#include <limits>

#ifndef ZUL_VERSION
#define ZUL_VERSION "desconocida"
#endif

namespace zul {

namespace {

// The options of the --png mode, in the order the help lists them.
const char* const kOpcionesPng[] = {"png", "paso", "hasta", "jugador", "zoom", "tamano", "camara"};
const char* const kEstelas = "estelas";
const char* const kResultados = "resultados";
const char* const kFormato = "formato";
// A window option: the race log is followed while it is written.
const char* const kEnVivo = "en-vivo";
// Only --video takes these.
const char* const kOpcionesVideo[] = {"video", "fps", "velocidad"};
const char* const kRotulos = "rotulos";
// The replay page: what it shows first, as --png would draw it.
const char* const kHtml = "html";
// The contest's site: its folder, title and points.
const char* const kOpcionesSitio[] = {"sitio", "titulo", "puntos"};

// QApplication's own options: taken in window mode, where QApplication
// removes them from the arguments, and unknown to every other mode.
const char* const kQtConValor[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowtitle", "qwindowicon",        "session",       "style",  "stylesheet",
    "display",      "geometry",           "title",         "name"};
const char* const kQtSinValor[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool leeEntero(const QString& texto, long long minimo, long long maximo, long long& valor) {
    bool ok = false;
    const long long leido = texto.trimmed().toLongLong(&ok);
    if (!ok || leido < minimo || leido > maximo) {
        return false;
    }
    valor = leido;
    return true;
}

// Reads a decimal number, a comma read like a point.
bool leeDecimal(const QString& valor, double minimo, double maximo, double& numero) {
    QString texto = valor.trimmed();
    texto.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double leido = texto.toDouble(&ok);
    if (!ok || !std::isfinite(leido) || leido < minimo || leido > maximo) {
        return false;
    }
    numero = leido;
    return true;
}

// The argument as the user wrote it for an option name the parser reports.
QString argumentoDe(const QStringList& argumentos, const QString& nombre) {
    for (const QString& argumento : argumentos) {
        QString sin = argumento;
        while (sin.startsWith(QLatin1Char('-'))) {
            sin.remove(0, 1);
        }
        if (argumento.startsWith(QLatin1Char('-')) &&
            sin.section(QLatin1Char('='), 0, 0) == nombre) {
            return argumento;
        }
    }
    return QStringLiteral("--") + nombre;
}

bool esDeQt(const QString& nombre) {
    for (const char* opcion : kQtConValor) {
        if (nombre == QLatin1String(opcion)) {
            return true;
        }
    }
    for (const char* opcion : kQtSinValor) {
        if (nombre == QLatin1String(opcion)) {
            return true;
        }
    }
    return false;
}

// What the parser refused, in the words the viewer has always used.
QString errorDeAnalisis(const QCommandLineParser& analizador, const QStringList& argumentos) {
    if (!analizador.unknownOptionNames().isEmpty()) {
        return QStringLiteral("opción desconocida: %1")
            .arg(argumentoDe(argumentos, analizador.unknownOptionNames().constFirst()));
    }
    // Only an option that takes a value, written last, has none.
    const QString ultimo = argumentos.isEmpty() ? QString() : argumentos.constLast();
    if (ultimo.startsWith(QLatin1Char('-')) && !ultimo.contains(QLatin1Char('='))) {
        return QStringLiteral("falta el valor de %1").arg(ultimo);
    }
    // A value given to an option that takes none.
    for (const QString& argumento : argumentos) {
        if (argumento.startsWith(QLatin1Char('-')) && argumento.contains(QLatin1Char('='))) {
            return QStringLiteral("opción desconocida: %1").arg(argumento);
        }
    }
    return QStringLiteral("orden mal escrita");
}

} // namespace

bool leeCamaraDeOpcion(const QString& valor, OpcionesEscena& opciones, QString& error) {
    if (!leeCamara(valor, opciones.camara)) {
        error = QStringLiteral("--camara debe ser seguir, centrado, pista o director, no «%1»")
                    .arg(valor);
        return false;
    }
    return true;
}

namespace {

bool leeOpcionesPng(const QCommandLineParser& a, OpcionesPng& png, QString& error) {
    png.salida = a.value(QStringLiteral("png"));
    if (a.isSet(QStringLiteral("png")) && png.salida.isEmpty()) {
        error = QStringLiteral("--png necesita el nombre del archivo de salida");
        return false;
    }
    for (const char* nombre : {"paso", "hasta"}) {
        const QString opcion = QString::fromLatin1(nombre);
        if (!a.isSet(opcion)) {
            continue;
        }
        long long numero = 0;
        const QString valor = a.value(opcion);
        if (!leeEntero(valor, 0, std::numeric_limits<int>::max(), numero)) {
            error = QStringLiteral("--%1 debe ser un número de paso (un entero desde 0), no «%2»")
                        .arg(opcion, valor);
            return false;
        }
        (opcion == QLatin1String("paso") ? png.frame : png.hasta) = numero;
    }
    if (a.isSet(QStringLiteral("jugador"))) {
        long long numero = 0;
        const QString valor = a.value(QStringLiteral("jugador"));
        if (!leeEntero(valor, 0, std::numeric_limits<int>::max(), numero)) {
            error = QStringLiteral(
                        "--jugador debe ser un número de jugador (un entero desde 0), no «%1»")
                        .arg(valor);
            return false;
        }
        png.aspecto.jugador = static_cast<int>(numero);
    }
    if (a.isSet(QStringLiteral("zoom"))) {
        const QString valor = a.value(QStringLiteral("zoom"));
        if (!leeDecimal(valor, kZoomMinimo, kZoomMaximo, png.aspecto.zoom)) {
            error = QStringLiteral("--zoom debe ser un número de 0.1 a 50, no «%1»").arg(valor);
            return false;
        }
    }
    if (a.isSet(QStringLiteral("tamano"))) {
        const QString valor = a.value(QStringLiteral("tamano"));
        static const QRegularExpression forma(QStringLiteral("^\\s*(\\d+)\\s*[xX]\\s*(\\d+)\\s*$"));
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
        png.aspecto.tamano = QSize(static_cast<int>(ancho), static_cast<int>(alto));
    }
    png.aspecto.opciones.estelas = a.isSet(QString::fromLatin1(kEstelas));
    if (a.isSet(QStringLiteral("camara")) &&
        !leeCamaraDeOpcion(a.value(QStringLiteral("camara")), png.aspecto.opciones, error)) {
        return false;
    }
    png.aspecto.opciones.rotulos = a.isSet(QString::fromLatin1(kRotulos));
    if (a.isSet(QStringLiteral("hasta")) && png.hasta < png.frame) {
        error = QStringLiteral("--hasta %1 es anterior a --paso %2").arg(png.hasta).arg(png.frame);
        return false;
    }
    return true;
}

// The --video mode: the options shared with --png, already read into `png`,
// and its own.
bool leeOpcionesVideo(const QCommandLineParser& a, const OpcionesPng& png, OpcionesModoVideo& video,
                      QString& error) {
    PedidoVideo& pedido = video.pedido;
    pedido.video.salida = a.value(QStringLiteral("video"));
    if (pedido.video.salida.isEmpty()) {
        error = QStringLiteral("--video necesita el nombre del archivo de salida");
        return false;
    }
    pedido.video.primero = png.frame;
    pedido.video.ultimo = png.hasta; // below 0: to the race's end
    const QSize tamanoVideo = pedido.aspecto.tamano;
    pedido.aspecto = png.aspecto;
    if (!a.isSet(QStringLiteral("tamano"))) {
        pedido.aspecto.tamano = tamanoVideo;
    }
    if (a.isSet(QStringLiteral("fps"))) {
        long long fps = 0;
        const QString valor = a.value(QStringLiteral("fps"));
        if (!leeEntero(valor, 1, kFpsMaximo, fps)) {
            error = QStringLiteral("--fps debe ser un entero de 1 a %1 (fotogramas por segundo), "
                                   "no «%2»")
                        .arg(kFpsMaximo)
                        .arg(valor);
            return false;
        }
        pedido.video.fps = static_cast<int>(fps);
    }
    if (a.isSet(QStringLiteral("velocidad"))) {
        const QString valor = a.value(QStringLiteral("velocidad"));
        double pasos = 0.0;
        // Below half a thousandth it would round to nothing.
        if (!leeDecimal(valor, kPasosPorSegundoMinimo, kPasosPorSegundoMaximo, pasos)) {
            error = QStringLiteral("--velocidad debe ser un número de pasos por segundo de vídeo, "
                                   "de 0.001 a 1000000, no «%1»")
                        .arg(valor);
            return false;
        }
        pedido.video.pasosPorSegundo = pasos;
    }
    return true;
}

// The results mode's options: only --formato beside it.
bool leeResultados(const QCommandLineParser& a, const QStringList& vistas,
                   LineaDeOrdenes& resultado, QString& error) {
    QStringList ajenas = vistas;
    ajenas.removeAll(QStringLiteral("--") + QLatin1String(kResultados));
    ajenas.removeAll(QStringLiteral("--") + QLatin1String(kFormato));
    if (!ajenas.isEmpty()) {
        error = QStringLiteral("--resultados no se combina con %1")
                    .arg(ajenas.join(QStringLiteral(", ")));
        return false;
    }
    if (a.isSet(QString::fromLatin1(kFormato))) {
        const QString valor = a.value(QString::fromLatin1(kFormato));
        if (!leeFormatoResultados(valor, resultado.formato)) {
            error = QStringLiteral("--formato debe ser texto, csv o json, no «%1»").arg(valor);
            return false;
        }
    }
    resultado.modo = Modo::Resultados;
    return true;
}

// The page mode: the options of a single picture that make sense for a
// page, read as --png reads them.
bool leeHtml(const QCommandLineParser& a, const QStringList& vistas, const QStringList& archivos,
             LineaDeOrdenes& resultado, QString& error) {
    QStringList ajenas;
    for (const QString& opcion : vistas) {
        const QString nombre = opcion.mid(2);
        if (nombre != QLatin1String(kHtml) && nombre != QLatin1String("paso") &&
            nombre != QLatin1String("jugador") && nombre != QLatin1String("zoom") &&
            nombre != QLatin1String("camara") && nombre != QLatin1String(kEstelas) &&
            nombre != QLatin1String(kRotulos)) {
            ajenas.append(opcion);
        }
    }
    if (!ajenas.isEmpty()) {
        error =
            QStringLiteral("--html no se combina con %1").arg(ajenas.join(QStringLiteral(", ")));
        return false;
    }
    OpcionesHtml& html = resultado.html;
    html.salida = a.value(QString::fromLatin1(kHtml));
    if (html.salida.isEmpty()) {
        error = QStringLiteral("--html necesita el nombre del archivo de salida");
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
    const OpcionesPng& png = resultado.png;
    html.pagina.paso = png.frame;
    html.pagina.jugador = png.aspecto.jugador;
    html.pagina.zoom = png.aspecto.zoom;
    html.pagina.camara = png.aspecto.opciones.camara;
    html.pagina.estelas = png.aspecto.opciones.estelas;
    html.pagina.rotulos = png.aspecto.opciones.rotulos;
    html.carrera = archivos[0];
    html.mapa = archivos[1];
    resultado.modo = Modo::Html;
    return true;
}

// The site mode: a folder, maybe a title and points, and races in pairs.
bool leeSitio(const QCommandLineParser& a, const QStringList& vistas, const QStringList& archivos,
              LineaDeOrdenes& resultado, QString& error) {
    QStringList ajenas;
    for (const QString& opcion : vistas) {
        if (opcion != QLatin1String("--sitio") && opcion != QLatin1String("--titulo") &&
            opcion != QLatin1String("--puntos")) {
            ajenas.append(opcion);
        }
    }
    if (!ajenas.isEmpty()) {
        error =
            QStringLiteral("--sitio no se combina con %1").arg(ajenas.join(QStringLiteral(", ")));
        return false;
    }
    OpcionesSitio& sitio = resultado.sitio;
    sitio.carpeta = a.value(QStringLiteral("sitio"));
    if (sitio.carpeta.isEmpty()) {
        error = QStringLiteral("--sitio necesita la carpeta del sitio");
        return false;
    }
    sitio.titulo = a.value(QStringLiteral("titulo"));
    if (a.isSet(QStringLiteral("puntos")) &&
        !leePuntos(a.value(QStringLiteral("puntos")), sitio.puntos)) {
        error = QStringLiteral("--puntos debe ser una lista de enteros desde 0 separados por comas "
                               "(por ejemplo 25,18,15), no «%1»")
                    .arg(a.value(QStringLiteral("puntos")));
        return false;
    }
    if (archivos.isEmpty() || archivos.size() % 2 != 0) {
        error = QStringLiteral("--sitio necesita cada carrera con su mapa: CARRERA MAPA "
                               "[CARRERA MAPA ...]");
        return false;
    }
    sitio.carreras = archivos;
    resultado.modo = Modo::Sitio;
    return true;
}

} // namespace

bool analizaLineaDeOrdenes(const QStringList& argumentos, LineaDeOrdenes& resultado,
                           QString& error) {
    resultado = LineaDeOrdenes();
    // "--" would make every later word a file, and the window would take it
    // as a file name itself.
    if (argumentos.contains(QStringLiteral("--"))) {
        error = QStringLiteral("«--» no es una opción del visor; para un archivo cuyo nombre "
                               "empieza por «-», escriba ./ delante");
        return false;
    }
    QCommandLineParser analizador;
    // -platform, -style and the like are single-dash words, as Qt takes them.
    analizador.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    analizador.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const char* nombre : kOpcionesPng) {
        analizador.addOption(
            QCommandLineOption(QString::fromLatin1(nombre), QString(), QStringLiteral("valor")));
    }
    for (const char* nombre : kOpcionesVideo) {
        analizador.addOption(
            QCommandLineOption(QString::fromLatin1(nombre), QString(), QStringLiteral("valor")));
    }
    analizador.addOption(QCommandLineOption(QString::fromLatin1(kEstelas)));
    analizador.addOption(QCommandLineOption(QString::fromLatin1(kResultados)));
    analizador.addOption(
        QCommandLineOption(QString::fromLatin1(kFormato), QString(), QStringLiteral("valor")));
    analizador.addOption(QCommandLineOption(QString::fromLatin1(kEnVivo)));
    analizador.addOption(QCommandLineOption(QString::fromLatin1(kRotulos)));
    analizador.addOption(
        QCommandLineOption(QString::fromLatin1(kHtml), QString(), QStringLiteral("valor")));
    for (const char* nombre : kOpcionesSitio) {
        analizador.addOption(
            QCommandLineOption(QString::fromLatin1(nombre), QString(), QStringLiteral("valor")));
    }
    analizador.addOption(
        QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    analizador.addOption(
        QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("version")}));
    for (const char* nombre : kQtConValor) {
        analizador.addOption(
            QCommandLineOption(QString::fromLatin1(nombre), QString(), QStringLiteral("valor")));
    }
    for (const char* nombre : kQtSinValor) {
        analizador.addOption(QCommandLineOption(QString::fromLatin1(nombre)));
    }
    // The parser skips the program's name.
    if (!analizador.parse(QStringList{QStringLiteral("visor")} + argumentos)) {
        error = errorDeAnalisis(analizador, argumentos);
        return false;
    }

    QStringList vistas; // options of the modes given, once each
    QStringList deQt;
    for (const QString& nombre : analizador.optionNames()) {
        if (nombre == QLatin1String("h") || nombre == QLatin1String("help") ||
            nombre == QLatin1String("v") || nombre == QLatin1String("version")) {
            continue;
        }
        if (esDeQt(nombre)) {
            deQt.append(argumentoDe(argumentos, nombre));
            continue;
        }
        const QString opcion = QStringLiteral("--") + nombre;
        if (nombre == QLatin1String(kEnVivo)) {
            if (resultado.enVivo) {
                error = QStringLiteral("la opción %1 aparece más de una vez").arg(opcion);
                return false;
            }
            resultado.enVivo = true;
            continue;
        }
        if (vistas.contains(opcion)) {
            error = QStringLiteral("la opción %1 aparece más de una vez").arg(opcion);
            return false;
        }
        vistas.append(opcion);
    }
    if (!vistas.isEmpty() && !deQt.isEmpty()) {
        error = QStringLiteral("opción desconocida: %1").arg(deQt.constFirst());
        return false;
    }
    for (const char* salida : {"png", "video", "html", "sitio"}) {
        if (resultado.enVivo && analizador.isSet(QString::fromLatin1(salida))) {
            error = QStringLiteral("--en-vivo es de la ventana: no se puede usar con --%1")
                        .arg(QString::fromLatin1(salida));
            return false;
        }
    }
    if (resultado.enVivo && analizador.isSet(QString::fromLatin1(kResultados))) {
        error = QStringLiteral("--en-vivo es de la ventana: no se puede usar con --resultados");
        return false;
    }
    if (vistas.contains(QStringLiteral("--sitio"))) {
        if (analizador.isSet(QStringLiteral("help")) ||
            analizador.isSet(QStringLiteral("version"))) {
            resultado.modo = analizador.isSet(QStringLiteral("help")) ? Modo::Ayuda : Modo::Version;
            return true;
        }
        return leeSitio(analizador, vistas, analizador.positionalArguments(), resultado, error);
    }
    for (const char* nombre : {"titulo", "puntos"}) {
        if (analizador.isSet(QString::fromLatin1(nombre))) {
            error = QStringLiteral("--%1 solo se usa con --sitio CARPETA")
                        .arg(QString::fromLatin1(nombre));
            return false;
        }
    }
    const QString resultados = QStringLiteral("--") + QLatin1String(kResultados);
    const QString formato = QStringLiteral("--") + QLatin1String(kFormato);
    if (vistas.contains(resultados)) {
        if (!leeResultados(analizador, vistas, resultado, error)) {
            return false;
        }
    } else if (vistas.contains(formato)) {
        error = QStringLiteral("--formato solo se usa con --resultados");
        return false;
    } else if (!vistas.isEmpty() && !leeOpcionesPng(analizador, resultado.png, error)) {
        return false;
    }
    if (analizador.isSet(QStringLiteral("help"))) {
        resultado.modo = Modo::Ayuda;
        return true;
    }
    if (analizador.isSet(QStringLiteral("version"))) {
        resultado.modo = Modo::Version;
        return true;
    }

    const QStringList archivos = analizador.positionalArguments();
    if (resultado.modo == Modo::Resultados) {
        if (archivos.isEmpty()) {
            error = QStringLiteral(
                "faltan archivos: --resultados necesita al menos un registro de carrera");
            return false;
        }
        resultado.carreras = archivos;
        return true;
    }
    const QString sobran =
        QStringLiteral("sobran archivos: solo se dan el registro de carrera y el mapa, no «%1»")
            .arg(archivos.mid(2).join(QStringLiteral(" ")));
    if (vistas.isEmpty()) {
        if (archivos.size() > 2) {
            error = sobran;
            return false;
        }
        // The log may not exist yet, so there is nothing for the start
        // dialog to check: both paths are needed.
        if (resultado.enVivo && archivos.size() < 2) {
            error = QStringLiteral("--en-vivo necesita el registro de carrera y el mapa: visor "
                                   "--en-vivo CARRERA MAPA");
            return false;
        }
        resultado.modo = Modo::Ventana;
        resultado.archivos = archivos;
        return true;
    }
    if (analizador.isSet(QString::fromLatin1(kHtml))) {
        return leeHtml(analizador, vistas, archivos, resultado, error);
    }
    const bool conVideo = analizador.isSet(QStringLiteral("video"));
    if (conVideo && analizador.isSet(QStringLiteral("png"))) {
        error = QStringLiteral("--png y --video no se usan juntos: una orden escribe imágenes o "
                               "un vídeo");
        return false;
    }
    if (!conVideo) {
        QStringList soloVideo;
        for (const char* nombre : {"fps", "velocidad"}) {
            if (analizador.isSet(QString::fromLatin1(nombre))) {
                soloVideo.append(QStringLiteral("--") + QString::fromLatin1(nombre));
            }
        }
        if (!soloVideo.isEmpty()) {
            error = QStringLiteral("las opciones %1 solo se usan con --video SALIDA")
                        .arg(soloVideo.join(QStringLiteral(", ")));
            return false;
        }
    }
    resultado.modo = conVideo ? Modo::Video : Modo::Png;
    if (conVideo && !leeOpcionesVideo(analizador, resultado.png, resultado.video, error)) {
        return false;
    }
    if (!conVideo && resultado.png.salida.isEmpty()) {
        error = QStringLiteral("las opciones %1 solo se usan con --png SALIDA.png o --video SALIDA")
                    .arg(vistas.join(QStringLiteral(", ")));
        return false;
    }
    if (archivos.size() != 2) {
        error =
            archivos.size() < 2
                ? QStringLiteral("faltan archivos: hacen falta el registro de carrera y el mapa")
                : sobran;
        return false;
    }
    resultado.png.carrera = archivos[0];
    resultado.png.mapa = archivos[1];
    resultado.video.carrera = archivos[0];
    resultado.video.mapa = archivos[1];
    return true;
}

bool esOpcionEnVivo(const QString& argumento) {
    // The parser reads single-dash words as long options.
    return argumento == QLatin1String("--en-vivo") || argumento == QLatin1String("-en-vivo");
}

QString textoErrorUso(const QString& error) {
    return QStringLiteral("visor: %1\nPruebe «visor --help» para ver las opciones.\n")
        .arg(textoImprimible(error));
}

QString textoVersion() {
    return QStringLiteral("visor " ZUL_VERSION "\n");
}

QString textoAyuda() {
    return QStringLiteral(
        "Uso: visor [CARRERA MAPA]\n"
        "     visor --en-vivo CARRERA MAPA\n"
        "     visor --png SALIDA.png [opciones] CARRERA MAPA\n"
        "     visor --video SALIDA.mp4 [opciones] CARRERA MAPA\n"
        "     visor --resultados [--formato texto|csv|json] CARRERA...\n"
        "     visor --html SALIDA.html [opciones] CARRERA MAPA\n"
        "     visor --sitio CARPETA [--titulo TEXTO] [--puntos LISTA] CARRERA MAPA...\n"
        "\n"
        "Reproduce una carrera de ZUL Karts a partir de su registro de carrera (CARRERA) y del\n"
        "mapa de la pista (MAPA). Sin --png ni --video abre la ventana del visor; sin archivos,\n"
        "pide elegirlos. Con --png dibuja la vista de la pista en imágenes PNG, y con --video\n"
        "graba un vídeo de la carrera, sin abrir ninguna ventana ni necesitar pantalla, y\n"
        "termina. Con --resultados escribe la clasificación final de cada registro de carrera\n"
        "dado, sin mapa ni pantalla, y termina.\n"
        "\n"
        "Con --en-vivo la ventana sigue el registro de carrera mientras el árbitro lo escribe:\n"
        "muestra cada paso nuevo en cuanto llega y espera si el registro aún no existe.\n"
        "\n"
        "Opciones:\n"
        "  --en-vivo         sigue el registro mientras se escribe (solo con la ventana)\n"
        "  --png SALIDA.png  archivo PNG que se escribe\n"
        "  --video SALIDA    vídeo que se escribe; el formato sale de la extensión: .mp4 y\n"
        "                    .mkv (H.264) o .webm (VP9)\n"
        "  --paso K          paso que se dibuja, contando desde 0 (por defecto 0); con\n"
        "                    --video, el primer paso del vídeo\n"
        "  --hasta M         dibuja los pasos K a M, cada uno en su archivo, con el número de\n"
        "                    paso antes de la extensión: SALIDA-00012.png; con --video, el\n"
        "                    último paso del vídeo (por defecto, el último de la carrera)\n"
        "  --fps F           fotogramas por segundo del vídeo, de 1 a 240 (por defecto 30)\n"
        "  --velocidad S     pasos de carrera por segundo de vídeo, desde 0.001 (por defecto\n"
        "                    igual a F: un paso por fotograma)\n"
        "  --jugador J       jugador en el que se centra la vista, desde 0 (por defecto 0)\n"
        "  --zoom Z          píxeles por casilla, de 0.1 a 50 (por defecto 10)\n"
        "  --tamano AxB      ancho y alto de la imagen en píxeles, de 1 a 8192\n"
        "                    (por defecto 512x512, y 1280x720 con --video)\n"
        "  --estelas         dibuja el recorrido de cada kart en los últimos 30 pasos\n"
        "  --camara C        cómo se coloca la vista: seguir (por defecto: el jugador J\n"
        "                    arriba a la izquierda, como en la ventana), centrado (J en el\n"
        "                    centro), pista (el mapa entero) o director (el líder)\n"
        "  --rotulos         escribe el nombre de cada jugador junto a su kart, «Paso k de N»\n"
        "                    arriba a la izquierda y la clasificación (los diez primeros)\n"
        "                    arriba a la derecha\n"
        "  --resultados      escribe los resultados de cada CARRERA por la salida estándar:\n"
        "                    posición, vueltas, paso, mejor y última vuelta y diferencia\n"
        "                    con el líder en el último paso completo\n"
        "  --formato F       texto (tabla alineada, por defecto), csv (RFC 4180, con\n"
        "                    cabecera) o json (una lista de objetos)\n"
        "  --html SALIDA     escribe una página web con la repetición, que funciona sola y\n"
        "                    sin red (admite --paso, --jugador, --zoom, --camara, --estelas\n"
        "                    y --rotulos, que enciende los nombres)\n"
        "  --sitio CARPETA   escribe un sitio web del concurso: clasificación, resultados y\n"
        "                    gráfica de cada carrera y una página de repetición por carrera\n"
        "  --titulo TEXTO    título del sitio\n"
        "  --puntos LISTA    puntos por puesto (por defecto 25,18,15,12,10,8,6,4,2,1)\n"
        "  -h, --help        muestra esta ayuda y termina\n"
        "  -v, --version     muestra la versión y termina\n"
        "\n"
        "Estado de salida: 0 si todo fue bien, 1 si no se pudo leer un archivo o escribir una\n"
        "imagen o el vídeo, 2 si la orden está mal escrita, 130 si se interrumpió un vídeo con\n"
        "Ctrl+C (no queda ningún archivo a medias). Los errores se explican en la salida de\n"
        "errores. Con --resultados, un registro que no se puede leer no impide escribir los\n"
        "demás, y el estado es 1.\n");
}

} // namespace zul
