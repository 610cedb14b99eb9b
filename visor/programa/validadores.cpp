#include "programa/validadores.h"

#include "programa/lectura_opciones.h"

#include "escena/camara.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace zul {

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
        long long frame = 0;
        if (!leeEntero(valor, 0, std::numeric_limits<long long>::max(), frame)) {
            error = QStringLiteral("--paso debe ser un número entero desde 0, no «%1»").arg(valor);
            return false;
        }
        resultado.frameResultados = frame;
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
    html.pagina.frame = png.frame;
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
    if (!leeFramesYJugador(a, png, error)) {
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
