#include "programa/validadores.h"

#include "escena/camara.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace zul {

namespace {

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

// --paso, --hasta and --jugador.
bool leePasosYJugador(const QCommandLineParser& a, OpcionesPng& png, QString& error) {
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
    return true;
}

// --zoom and --tamano.
bool leeZoomYTamano(const QCommandLineParser& a, AspectoImagen& aspecto, QString& error) {
    if (a.isSet(QStringLiteral("zoom"))) {
        const QString valor = a.value(QStringLiteral("zoom"));
        if (!leeDecimal(valor, kZoomMinimo, kZoomMaximo, aspecto.zoom)) {
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
        aspecto.tamano = QSize(static_cast<int>(ancho), static_cast<int>(alto));
    }
    return true;
}

// The options --png and --video share: the picture's steps, player and look.
bool leeOpcionesImagen(const QCommandLineParser& a, OpcionesPng& png, QString& error) {
    png.salida = a.value(QStringLiteral("png"));
    if (a.isSet(QStringLiteral("png")) && png.salida.isEmpty()) {
        error = QStringLiteral("--png necesita el nombre del archivo de salida");
        return false;
    }
    if (!leePasosYJugador(a, png, error) || !leeZoomYTamano(a, png.aspecto, error)) {
        return false;
    }
    png.aspecto.opciones.estelas = a.isSet(QStringLiteral("estelas"));
    png.aspecto.opciones.trazadaVelocidad = a.isSet(QStringLiteral("trazada-velocidad"));
    if (a.isSet(QStringLiteral("camara")) &&
        !leeCamaraDeOpcion(a.value(QStringLiteral("camara")), png.aspecto.opciones, error)) {
        return false;
    }
    png.aspecto.opciones.rotulos = a.isSet(QStringLiteral("rotulos"));
    if (a.isSet(QStringLiteral("hasta")) && png.hasta < png.frame) {
        error = QStringLiteral("--hasta %1 es anterior a --paso %2").arg(png.hasta).arg(png.frame);
        return false;
    }
    return true;
}

// --video's own options; those shared with --png are already read into `png`.
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

// --fantasma OTRA and --alinear paso|vuelta, for --png and --video.
bool leeFantasma(const QCommandLineParser& a, LineaDeOrdenes& resultado, QString& error) {
    const bool conFantasma = a.isSet(QStringLiteral("fantasma"));
    if (a.isSet(QStringLiteral("alinear")) && !conFantasma) {
        error = QStringLiteral("--alinear solo se usa con --fantasma OTRA_CARRERA");
        return false;
    }
    if (!conFantasma) {
        return true;
    }
    const QString fantasma = a.value(QStringLiteral("fantasma"));
    if (fantasma.isEmpty()) {
        error = QStringLiteral("--fantasma necesita el registro de la otra carrera");
        return false;
    }
    Alineacion alineacion = Alineacion::Paso;
    if (a.isSet(QStringLiteral("alinear"))) {
        const QString valor = a.value(QStringLiteral("alinear"));
        if (!leeAlineacion(valor, alineacion)) {
            error = QStringLiteral("--alinear debe ser paso o vuelta, no «%1»").arg(valor);
            return false;
        }
    }
    resultado.png.fantasma = resultado.video.fantasma = resultado.fantasma = fantasma;
    resultado.png.alineacion = resultado.video.alineacion = resultado.alineacion = alineacion;
    return true;
}

QString textoSobran(const QStringList& archivos) {
    return QStringLiteral("sobran archivos: solo se dan el registro de carrera y el mapa, no «%1»")
        .arg(archivos.mid(2).join(QStringLiteral(" ")));
}

// --png and --video: exactly the race log and the map.
bool leeCarreraYMapa(const QStringList& archivos, LineaDeOrdenes& resultado, QString& error) {
    if (archivos.size() != 2) {
        error =
            archivos.size() < 2
                ? QStringLiteral("faltan archivos: hacen falta el registro de carrera y el mapa")
                : textoSobran(archivos);
        return false;
    }
    resultado.png.carrera = archivos[0];
    resultado.png.mapa = archivos[1];
    resultado.video.carrera = archivos[0];
    resultado.video.mapa = archivos[1];
    return true;
}

// The options of a mode outside `propias`, as "--a, --b".
QString ajenasA(const QStringList& vistas, std::initializer_list<const char*> propias) {
    QStringList ajenas = vistas;
    for (const char* propia : propias) {
        ajenas.removeAll(QStringLiteral("--") + QLatin1String(propia));
    }
    return ajenas.join(QStringLiteral(", "));
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

bool validaVentana(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    if (!leeFantasma(orden.analizador, resultado, error)) {
        return false;
    }
    if (orden.soloAyuda) {
        return true;
    }
    if (orden.archivos.size() > 2) {
        error = textoSobran(orden.archivos);
        return false;
    }
    // The log may not exist yet, so there is nothing for the start dialog to
    // check: both paths are needed.
    if (resultado.enVivo && orden.archivos.size() < 2) {
        error = QStringLiteral("--en-vivo necesita el registro de carrera y el mapa: visor "
                               "--en-vivo CARRERA MAPA");
        return false;
    }
    if (!resultado.fantasma.isEmpty() && (resultado.enVivo || orden.archivos.size() < 2)) {
        error = QStringLiteral("--fantasma en la ventana necesita la carrera y el mapa, y no se "
                               "usa con --en-vivo: visor CARRERA MAPA --fantasma OTRA");
        return false;
    }
    resultado.modo = Modo::Ventana;
    resultado.archivos = orden.archivos;
    return true;
}

bool validaPng(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    const QCommandLineParser& a = orden.analizador;
    if (!leeOpcionesImagen(a, resultado.png, error) || !leeFantasma(a, resultado, error)) {
        return false;
    }
    if (orden.soloAyuda) {
        return true;
    }
    QStringList soloVideo;
    for (const char* nombre : {"fps", "velocidad"}) {
        if (a.isSet(QString::fromLatin1(nombre))) {
            soloVideo.append(QStringLiteral("--") + QString::fromLatin1(nombre));
        }
    }
    if (!soloVideo.isEmpty()) {
        error = QStringLiteral("las opciones %1 solo se usan con --video SALIDA")
                    .arg(soloVideo.join(QStringLiteral(", ")));
        return false;
    }
    // Picture options with neither --png nor --video.
    if (resultado.png.salida.isEmpty()) {
        error = QStringLiteral("las opciones %1 solo se usan con --png SALIDA.png o --video SALIDA")
                    .arg(orden.vistas.join(QStringLiteral(", ")));
        return false;
    }
    resultado.modo = Modo::Png;
    return leeCarreraYMapa(orden.archivos, resultado, error);
}

bool validaVideo(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    const QCommandLineParser& a = orden.analizador;
    if (!leeOpcionesImagen(a, resultado.png, error) || !leeFantasma(a, resultado, error)) {
        return false;
    }
    if (orden.soloAyuda) {
        return true;
    }
    if (a.isSet(QStringLiteral("png"))) {
        error = QStringLiteral("--png y --video no se usan juntos: una orden escribe imágenes o "
                               "un vídeo");
        return false;
    }
    resultado.modo = Modo::Video;
    return leeOpcionesVideo(a, resultado.png, resultado.video, error) &&
           leeCarreraYMapa(orden.archivos, resultado, error);
}

bool validaResultados(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    QStringList ajenas = orden.vistas;
    for (const char* propia : {"--resultados", "--formato", "--mapa", "--paso"}) {
        ajenas.removeAll(QLatin1String(propia));
    }
    if (!ajenas.isEmpty()) {
        error = QStringLiteral("--resultados no se combina con %1")
                    .arg(ajenas.join(QStringLiteral(", ")));
        return false;
    }
    if (orden.analizador.isSet(QStringLiteral("formato"))) {
        const QString valor = orden.analizador.value(QStringLiteral("formato"));
        if (!leeFormatoResultados(valor, resultado.formato)) {
            error = QStringLiteral("--formato debe ser texto, csv o json, no «%1»").arg(valor);
            return false;
        }
    }
    if (orden.analizador.isSet(QStringLiteral("paso"))) {
        const QString valor = orden.analizador.value(QStringLiteral("paso"));
        long long paso = 0;
        if (!leeEntero(valor, 0, std::numeric_limits<long long>::max(), paso)) {
            error = QStringLiteral("--paso debe ser un número entero desde 0, no «%1»").arg(valor);
            return false;
        }
        resultado.pasoResultados = paso;
    }
    if (orden.analizador.isSet(QStringLiteral("mapa"))) {
        resultado.mapaResultados = orden.analizador.value(QStringLiteral("mapa"));
        if (resultado.mapaResultados.isEmpty()) {
            error = QStringLiteral("--mapa necesita la ruta de un mapa");
            return false;
        }
    }
    resultado.modo = Modo::Resultados;
    if (orden.soloAyuda) {
        return true;
    }
    if (orden.archivos.isEmpty()) {
        error = QStringLiteral(
            "faltan archivos: --resultados necesita al menos un registro de carrera");
        return false;
    }
    resultado.carreras = orden.archivos;
    return true;
}

bool validaHtml(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    const QCommandLineParser& a = orden.analizador;
    // A page opens as a picture of --png would show it.
    if (!leeOpcionesImagen(a, resultado.png, error)) {
        return false;
    }
    const QString ajenas =
        ajenasA(orden.vistas, {"html", "paso", "jugador", "zoom", "camara", "estelas", "rotulos"});
    if (!ajenas.isEmpty()) {
        error = QStringLiteral("--html no se combina con %1").arg(ajenas);
        return false;
    }
    OpcionesHtml& html = resultado.html;
    html.salida = a.value(QStringLiteral("html"));
    if (html.salida.isEmpty()) {
        error = QStringLiteral("--html necesita el nombre del archivo de salida");
        return false;
    }
    const OpcionesPng& png = resultado.png;
    html.pagina.paso = png.frame;
    html.pagina.jugador = png.aspecto.jugador;
    html.pagina.zoom = png.aspecto.zoom;
    html.pagina.camara = png.aspecto.opciones.camara;
    html.pagina.estelas = png.aspecto.opciones.estelas;
    html.pagina.rotulos = png.aspecto.opciones.rotulos;
    resultado.modo = Modo::Html;
    if (orden.soloAyuda) {
        return true;
    }
    if (!leeCarreraYMapa(orden.archivos, resultado, error)) {
        return false;
    }
    html.carrera = orden.archivos[0];
    html.mapa = orden.archivos[1];
    return true;
}

bool validaSitio(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    const QCommandLineParser& a = orden.analizador;
    const QString ajenas = ajenasA(orden.vistas, {"sitio", "titulo", "puntos"});
    if (!ajenas.isEmpty()) {
        error = QStringLiteral("--sitio no se combina con %1").arg(ajenas);
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
    resultado.modo = Modo::Sitio;
    if (orden.soloAyuda) {
        return true;
    }
    if (orden.archivos.isEmpty() || orden.archivos.size() % 2 != 0) {
        error = QStringLiteral("faltan archivos: --sitio necesita cada registro de carrera con su "
                               "mapa: CARRERA MAPA [CARRERA MAPA ...]");
        return false;
    }
    sitio.carreras = orden.archivos;
    return true;
}

bool validaTelemetria(const OrdenLeida& orden, LineaDeOrdenes& resultado, QString& error) {
    const QCommandLineParser& a = orden.analizador;
    QStringList ajenas = orden.vistas;
    for (const char* propia : {"--telemetria", "--formato", "--jugador"}) {
        ajenas.removeAll(QString::fromLatin1(propia));
    }
    if (!ajenas.isEmpty()) {
        error = QStringLiteral("--telemetria no se combina con %1")
                    .arg(ajenas.join(QStringLiteral(", ")));
        return false;
    }
    OpcionesTelemetria& telemetria = resultado.telemetria;
    if (a.isSet(QStringLiteral("formato"))) {
        const QString valor = a.value(QStringLiteral("formato"));
        if (!leeFormatoResultados(valor, telemetria.formato) ||
            telemetria.formato == FormatoResultados::Texto) {
            error =
                QStringLiteral("--formato de --telemetria debe ser csv o json, no «%1»").arg(valor);
            return false;
        }
    }
    OpcionesPng png;
    if (!leePasosYJugador(a, png, error)) {
        return false;
    }
    telemetria.jugador = a.isSet(QStringLiteral("jugador")) ? png.aspecto.jugador : -1;
    resultado.modo = Modo::Telemetria;
    if (orden.soloAyuda) {
        return true;
    }
    if (orden.archivos.size() != 2) {
        error = orden.archivos.size() < 2
                    ? QStringLiteral("faltan archivos: --telemetria necesita el registro de "
                                     "carrera y el mapa")
                    : textoSobran(orden.archivos);
        return false;
    }
    telemetria.carrera = orden.archivos[0];
    telemetria.mapa = orden.archivos[1];
    return true;
}

} // namespace zul
