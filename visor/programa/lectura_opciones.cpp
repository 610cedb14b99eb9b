#include "programa/lectura_opciones.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace zul {

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
bool leeFramesYJugador(const QCommandLineParser& a, OpcionesPng& png, QString& error) {
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
    if (!leeFramesYJugador(a, png, error) || !leeZoomYTamano(a, png.aspecto, error)) {
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

// --fantasma OTRA and --alinear paso|vuelta, for the window, --png and --video.
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

} // namespace zul
