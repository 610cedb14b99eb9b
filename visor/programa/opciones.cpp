#include "programa/opciones.h"

#include "programa/linea_ordenes.h"

#include <QStringList>

#ifndef ZUL_VERSION
#define ZUL_VERSION "desconocida"
#endif

namespace zul {

namespace {

using G = GrupoDeOpciones;

OpcionDelVisor opcion(const QStringList& nombres, const QString& valor, G grupo,
                      const QString& descripcion) {
    return {QCommandLineOption(nombres, descripcion, valor), grupo};
}

OpcionDelVisor deQt(const char* nombre, bool conValor) {
    OpcionDelVisor qt{QCommandLineOption(QString::fromLatin1(nombre),
                                         QStringLiteral("opción de Qt para la ventana"),
                                         conValor ? QStringLiteral("valor") : QString()),
                      G::Qt};
    qt.opcion.setFlags(QCommandLineOption::HiddenFromHelp);
    return qt;
}

QList<OpcionDelVisor> creaOpciones() {
    QList<OpcionDelVisor> o{
        opcion({"en-vivo"}, {}, G::Ventana,
               "sigue el registro de carrera mientras el árbitro lo escribe: muestra cada paso "
               "nuevo en cuanto llega y espera si el registro aún no existe; necesita CARRERA y "
               "MAPA"),
        opcion({"png"}, "SALIDA.png", G::Imagen, "archivo PNG que se escribe"),
        opcion({"video"}, "SALIDA", G::Imagen,
               "vídeo que se escribe; el formato sale de la extensión: .mp4 y .mkv (H.264) o "
               ".webm (VP9)"),
        opcion({"paso"}, "K", G::Imagen,
               "paso que se dibuja, contando desde 0 (por defecto 0); con --video, el primer "
               "paso del vídeo; con --resultados, el paso de la clasificación (por defecto, el "
               "último completo)"),
        opcion({"hasta"}, "M", G::Imagen,
               "dibuja los pasos K a M, cada uno en su archivo, con el número de paso antes de "
               "la extensión: SALIDA-00012.png; con --video, el último paso del vídeo (por "
               "defecto, el último de la carrera)"),
        opcion({"jugador"}, "J", G::Imagen,
               "jugador en el que se centra la vista, desde 0 (por defecto 0); con "
               "--telemetria, el único jugador que se escribe (por defecto, todos)"),
        opcion({"zoom"}, "Z", G::Imagen, "píxeles por casilla, de 0.1 a 50 (por defecto 10)"),
        opcion({"tamano"}, "AxB", G::Imagen,
               "ancho y alto de la imagen en píxeles, de 1 a 8192 (por defecto 512x512, y "
               "1280x720 con --video)"),
        opcion({"estelas"}, {}, G::Imagen,
               "dibuja el recorrido de cada kart en los últimos 30 pasos"),
        opcion({"trazada-velocidad"}, {}, G::Imagen,
               "colorea la estela del jugador J según su velocidad en cada paso, del azul "
               "(la más lenta) al rojo (la más rápida), con la escala abajo a la izquierda"),
        opcion({"camara"}, "C", G::Imagen,
               "cómo se coloca la vista: seguir (por defecto: el jugador J arriba a la "
               "izquierda, como en la ventana), centrado (J en el centro), pista (el mapa "
               "entero) o director (el líder)"),
        opcion({"rotulos"}, {}, G::Imagen,
               "escribe el nombre de cada jugador junto a su kart, «Paso k de N» arriba a la "
               "izquierda y la clasificación (los diez primeros) arriba a la derecha"),
        opcion({"fantasma"}, "OTRA", G::Fantasma,
               "dibuja los karts de OTRA carrera del mismo mapa como fantasmas: discos "
               "translúcidos con borde discontinuo, cada uno con su nombre, bajo los karts de "
               "CARRERA"),
        opcion({"alinear"}, "A", G::Fantasma,
               "paso (por defecto: el paso k de las dos carreras a la vez) o vuelta (la vuelta "
               "n del fantasma empieza cuando el jugador J empieza la suya)"),
        opcion({"fps"}, "F", G::Video,
               "fotogramas por segundo del vídeo, de 1 a 240 (por defecto 30)"),
        opcion({"velocidad"}, "S", G::Video,
               "pasos de carrera por segundo de vídeo, desde 0.001 (por defecto igual a F: un "
               "paso por fotograma)"),
        opcion({"depuracion"}, "RUTA", G::Depuracion,
               "archivo de depuración de un bot (el que escribe con ZUL_DEPURACION, por ejemplo "
               "con zulprueba --depuracion): sus dibujos del turno n se pintan sobre el paso n, "
               "con su orden como una flecha desde su kart y un aro rojo si pidió disparar; se "
               "repite para varios bots"),
        opcion({"desfase"}, "D", G::Depuracion,
               "pinta los dibujos del turno n sobre el paso n + D (por defecto 0; puede ser "
               "negativo)"),
        opcion({"html"}, "SALIDA.html", G::Web,
               "escribe la repetición en una página web que funciona sola, sin red ni otros "
               "archivos; se abre con --paso, --jugador, --zoom, --camara y --estelas como "
               "--png, y --rotulos enciende los nombres de los karts"),
        opcion({"sitio"}, "CARPETA", G::Web,
               "escribe en CARPETA el sitio web de un concurso con las carreras dadas (CARRERA "
               "MAPA, una o más veces): la clasificación del concurso, los resultados y la "
               "gráfica de vueltas de cada carrera y su página de repetición. Sustituye un "
               "sitio escrito antes, nunca otra carpeta"),
        opcion({"titulo"}, "TEXTO", G::Web, "título del sitio (solo con --sitio)"),
        opcion({"puntos"}, "LISTA", G::Web,
               "puntos por puesto, del primero en adelante, separados por comas (solo con "
               "--sitio; por defecto 25,18,15,12,10,8,6,4,2,1); los empates se deshacen por "
               "victorias, después por segundos puestos, y así sucesivamente"),
        opcion({"resultados"}, {}, G::Resultados,
               "escribe los resultados de cada CARRERA por la salida estándar: posición, "
               "vueltas, paso, mejor y última vuelta y diferencia con el líder en el último "
               "paso completo"),
        opcion({"mapa"}, "MAPA", G::Resultados,
               "mapa de la pista: clasifica por lo recorrido en la pista y añade a cada fila el "
               "progreso (vueltas y fracción), el intervalo con el de delante y los tiempos de "
               "los tres sectores con la vuelta ideal"),
        opcion({"formato"}, "F", G::Resultados,
               "texto (tabla alineada, por defecto), csv (RFC 4180, con cabecera) o json (una "
               "lista de objetos); con --telemetria, csv (por defecto) o json"),
        opcion({"telemetria"}, {}, G::Telemetria,
               "escribe por la salida estándar una fila por paso y jugador: paso, jugador, x, "
               "y, angulo (en grados, como los mide la biblioteca del concursante), velocidad "
               "(casillas por paso), distancia (recorrida desde el paso 0), vueltas, progreso "
               "(vacío si no se conoce) y posicion"),
        opcion({"h", "help"}, {}, G::General, "muestra esta ayuda y termina"),
        opcion({"v", "version"}, {}, G::General, "muestra la versión y termina"),
    };
    for (const char* nombre : {"platform", "platformpluginpath", "platformtheme", "plugin",
                               "qwindowgeometry", "qwindowtitle", "qwindowicon", "session", "style",
                               "stylesheet", "display", "geometry", "title", "name"}) {
        o.append(deQt(nombre, true));
    }
    for (const char* nombre : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        o.append(deQt(nombre, false));
    }
    return o;
}

// The help's parts, in order, each with its heading.
struct Grupo {
    G grupo;
    const char* titulo;
};
const Grupo kGrupos[] = {
    {G::Ventana, "La ventana (sin --png, --video, --resultados ni --telemetria):"},
    {G::Imagen, "Imágenes (--png) y vídeo (--video), sin ventana ni pantalla:"},
    {G::Fantasma, "Carrera fantasma, en la ventana, con --png o con --video:"},
    {G::Video, "Solo con --video:"},
    {G::Depuracion, "Dibujos de los bots, en la ventana, con --png, --video o --html:"},
    {G::Web, "La web (--html, --sitio), sin ventana ni pantalla:"},
    {G::Resultados, "Resultados (--resultados), sin pantalla:"},
    {G::Telemetria, "Telemetría (--telemetria [--formato csv|json] [--jugador J]), sin "
                    "pantalla:"},
    {G::General, "Generales:"},
};

// Where descriptions start, and the width they wrap at.
constexpr int kColumna = 20;
constexpr int kAncho = 80;

// "  -h, --help" or "  --zoom Z", padded to the description's column.
QString nombresDe(const QCommandLineOption& opcion) {
    QStringList nombres;
    for (const QString& nombre : opcion.names()) {
        nombres.append((nombre.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + nombre);
    }
    QString texto = QStringLiteral("  ") + nombres.join(QStringLiteral(", "));
    if (!opcion.valueName().isEmpty()) {
        texto += QLatin1Char(' ') + opcion.valueName();
    }
    return texto;
}

// `texto` wrapped at kAncho after `cabeza`, its lines from `columna` on.
QString ajusta(const QString& cabeza, const QString& texto, int columna) {
    QString ajustado;
    QString linea = cabeza;
    if (linea.size() + 2 > columna && columna > 0) {
        ajustado = linea + QLatin1Char('\n');
        linea.clear();
    }
    linea = linea.leftJustified(columna, QLatin1Char(' '));
    bool vacia = true;
    for (const QString& palabra : texto.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!vacia && linea.size() + 1 + palabra.size() > kAncho) {
            ajustado += linea + QLatin1Char('\n');
            linea = QString(columna, QLatin1Char(' '));
            vacia = true;
        }
        linea += (vacia ? QString() : QStringLiteral(" ")) + palabra;
        vacia = false;
    }
    return ajustado + linea + QLatin1Char('\n');
}

} // namespace

const QList<OpcionDelVisor>& opcionesDelVisor() {
    static const QList<OpcionDelVisor> opciones = creaOpciones();
    return opciones;
}

bool esOpcionDeQt(const QString& nombre) {
    for (const OpcionDelVisor& o : opcionesDelVisor()) {
        if (o.grupo == G::Qt && o.opcion.names().contains(nombre)) {
            return true;
        }
    }
    return false;
}

QString textoVersion() {
    return QStringLiteral("visor " ZUL_VERSION "\n");
}

QString textoAyuda() {
    QString texto = QStringLiteral(
        "Uso: visor [CARRERA MAPA]\n"
        "     visor --en-vivo CARRERA MAPA\n"
        "     visor --png SALIDA.png [opciones] CARRERA MAPA\n"
        "     visor --video SALIDA.mp4 [opciones] CARRERA MAPA\n"
        "     visor --resultados [--mapa MAPA] [--paso K] [--formato texto|csv|json]\n"
        "           CARRERA...\n"
        "     visor --telemetria [--formato csv|json] [--jugador J] CARRERA MAPA\n"
        "     visor --html SALIDA.html [opciones] CARRERA MAPA\n"
        "     visor --sitio CARPETA [--titulo TEXTO] [--puntos LISTA] CARRERA MAPA...\n"
        "\n");
    texto += ajusta(
        {},
        QStringLiteral(
            "Reproduce una carrera de ZUL Karts a partir de su registro de carrera (CARRERA) y del "
            "mapa de la pista (MAPA). Sin --png ni --video abre la ventana del visor; sin "
            "archivos, "
            "pide elegirlos. Con --png dibuja la vista de la pista en imágenes PNG, y con --video "
            "graba un vídeo de la carrera, sin abrir ninguna ventana ni necesitar pantalla, y "
            "termina. Con --resultados escribe la clasificación final (o la del paso K) de cada "
            "registro de carrera dado, sin pantalla, y termina. Con --telemetria escribe paso a "
            "paso la posición, el rumbo, la velocidad y la distancia recorrida de cada kart, y "
            "termina. Con --html escribe la repetición en una página web, y con --sitio el sitio "
            "web de un concurso."),
        0);
    for (const Grupo& grupo : kGrupos) {
        texto += QStringLiteral("\n") + QString::fromUtf8(grupo.titulo) + QLatin1Char('\n');
        for (const OpcionDelVisor& o : opcionesDelVisor()) {
            if (o.grupo == grupo.grupo) {
                texto += ajusta(nombresDe(o.opcion), o.opcion.description(), kColumna);
            }
        }
    }
    return texto + QStringLiteral("\n") +
           ajusta({},
                  QStringLiteral("Estado de salida: 0 si todo fue bien, 1 si no se pudo leer un "
                                 "archivo o escribir una "
                                 "imagen, el vídeo, la página o el sitio, 2 si la orden está mal "
                                 "escrita, 130 si se "
                                 "interrumpió un vídeo con "
                                 "Ctrl+C (no queda ningún archivo a medias). Los errores se "
                                 "explican en la salida de "
                                 "errores. Con --resultados, un registro que no se puede leer no "
                                 "impide escribir los "
                                 "demás, y el estado es 1."),
                  0);
}

} // namespace zul
