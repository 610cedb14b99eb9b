#include "programa/linea_ordenes.h"

#include "programa/opciones.h"
#include "programa/validadores.h"
#include "salida/texto_terminal.h"

#include <QCommandLineParser>

#include <cstdlib>
#include <initializer_list>
#include <limits>

namespace zul {

namespace {

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

// The checks every mode shares: each option once, Qt's options only for the
// window, --en-vivo only for the window. Fills `orden.vistas`.
bool leeVistas(const QStringList& argumentos, OrdenLeida& orden, bool& enVivo, QString& error) {
    const QCommandLineParser& a = orden.analizador;
    QStringList deQt;
    for (const QString& nombre : a.optionNames()) {
        if (nombre == QLatin1String("h") || nombre == QLatin1String("help") ||
            nombre == QLatin1String("v") || nombre == QLatin1String("version")) {
            continue;
        }
        if (esOpcionDeQt(nombre)) {
            deQt.append(argumentoDe(argumentos, nombre));
            continue;
        }
        // The debug options go with every mode that draws; --depuracion may repeat.
        if (nombre == QLatin1String("depuracion") || nombre == QLatin1String("desfase")) {
            continue;
        }
        const QString opcion = QStringLiteral("--") + nombre;
        const bool esEnVivo = nombre == QLatin1String("en-vivo");
        if (esEnVivo ? enVivo : orden.vistas.contains(opcion)) {
            error = QStringLiteral("la opción %1 aparece más de una vez").arg(opcion);
            return false;
        }
        if (esEnVivo) {
            enVivo = true;
        } else {
            orden.vistas.append(opcion);
        }
    }
    if (!orden.vistas.isEmpty() && !deQt.isEmpty()) {
        error = QStringLiteral("opción desconocida: %1").arg(deQt.constFirst());
        return false;
    }
    for (const char* otro : {"png", "video", "resultados", "telemetria", "html", "sitio"}) {
        if (enVivo && a.isSet(QString::fromLatin1(otro))) {
            error = QStringLiteral("--en-vivo es de la ventana: no se puede usar con --%1")
                        .arg(QString::fromLatin1(otro));
            return false;
        }
    }
    return true;
}

// The modes an option picks, the first given winning; the window when no
// option of the viewer's is given.
struct ModoDeOrden {
    const char* opcion;
    Validador valida;
};
const ModoDeOrden kModos[] = {
    {"sitio", validaSitio},           {"html", validaHtml},   {"resultados", validaResultados},
    {"telemetria", validaTelemetria}, {"video", validaVideo}, {"png", validaPng},
};

Validador validadorDe(const OrdenLeida& orden, QString& error) {
    const auto vista = [&orden](const char* nombre) {
        return orden.vistas.contains(QStringLiteral("--") + QLatin1String(nombre));
    };
    if (vista("formato") && !vista("resultados") && !vista("telemetria")) {
        error = QStringLiteral("--formato solo se usa con --resultados o --telemetria");
        return nullptr;
    }
    for (const char* soloSitio : {"titulo", "puntos"}) {
        if (vista(soloSitio) && !vista("sitio")) {
            error = QStringLiteral("--%1 solo se usa con --sitio CARPETA")
                        .arg(QString::fromLatin1(soloSitio));
            return nullptr;
        }
    }
    for (const ModoDeOrden& modo : kModos) {
        if (vista(modo.opcion)) {
            return modo.valida;
        }
    }
    // A ghost alone goes with the window.
    QStringList otras = orden.vistas;
    otras.removeAll(QStringLiteral("--fantasma"));
    otras.removeAll(QStringLiteral("--alinear"));
    if (otras.isEmpty()) {
        return validaVentana;
    }
    // Picture options alone: --png's validator explains where they belong.
    return orden.vistas.isEmpty() ? validaVentana : validaPng;
}

// --depuracion RUTA (any number of times) and --desfase D, for the window,
// --png and --video.
bool leeDepuracion(const QCommandLineParser& a, bool soloAyuda, LineaDeOrdenes& resultado,
                   QString& error) {
    resultado.depuracion = a.values(QStringLiteral("depuracion"));
    if (resultado.depuracion.contains(QString())) {
        error = QStringLiteral("--depuracion necesita la ruta de un archivo de depuración");
        return false;
    }
    if (a.values(QStringLiteral("desfase")).size() > 1) {
        error = QStringLiteral("la opción --desfase aparece más de una vez");
        return false;
    }
    if (a.isSet(QStringLiteral("desfase"))) {
        const QString valor = a.value(QStringLiteral("desfase"));
        bool ok = false;
        resultado.desfase = valor.trimmed().toLongLong(&ok);
        if (!ok || std::llabs(resultado.desfase) > std::numeric_limits<int>::max()) {
            error =
                QStringLiteral("--desfase debe ser un número entero de pasos, no «%1»").arg(valor);
            return false;
        }
        if (resultado.depuracion.isEmpty()) {
            error = QStringLiteral("--desfase solo se usa con --depuracion RUTA");
            return false;
        }
    }
    // Anywhere else the layer would be lost without a word.
    if (!resultado.depuracion.isEmpty() && !soloAyuda && resultado.modo != Modo::Png &&
        resultado.modo != Modo::Video && resultado.modo != Modo::Ventana &&
        resultado.modo != Modo::Html) {
        error = QStringLiteral("--depuracion solo se usa con la ventana, --png, --video o "
                               "--html; los demás modos no muestran los dibujos de los bots");
        return false;
    }
    // The start dialog opens a race of its own, with no debug files.
    if (!resultado.depuracion.isEmpty() && !soloAyuda && resultado.modo == Modo::Ventana &&
        resultado.archivos.size() < 2) {
        error = QStringLiteral("--depuracion necesita la carrera y el mapa: visor CARRERA MAPA "
                               "--depuracion RUTA");
        return false;
    }
    for (AspectoImagen* aspecto : {&resultado.png.aspecto, &resultado.video.pedido.aspecto}) {
        aspecto->depuracion = resultado.depuracion;
        aspecto->desfase = resultado.desfase;
    }
    resultado.html.depuracion = resultado.depuracion;
    resultado.html.desfase = resultado.desfase;
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
    for (const OpcionDelVisor& opcion : opcionesDelVisor()) {
        analizador.addOption(opcion.opcion);
    }
    // The parser skips the program's name.
    if (!analizador.parse(QStringList{QStringLiteral("visor")} + argumentos)) {
        error = errorDeAnalisis(analizador, argumentos);
        return false;
    }
    const bool ayuda = analizador.isSet(QStringLiteral("help"));
    const bool version = analizador.isSet(QStringLiteral("version"));
    OrdenLeida orden{analizador, {}, analizador.positionalArguments(), ayuda || version};
    if (!leeVistas(argumentos, orden, resultado.enVivo, error)) {
        return false;
    }
    const Validador valida = validadorDe(orden, error);
    if (valida == nullptr || !valida(orden, resultado, error) ||
        !leeDepuracion(analizador, orden.soloAyuda, resultado, error)) {
        return false;
    }
    if (orden.soloAyuda) {
        resultado.modo = ayuda ? Modo::Ayuda : Modo::Version;
    }
    return true;
}

bool esOpcionEnVivo(const QString& argumento) {
    // The parser reads single-dash words as long options.
    return argumento == QLatin1String("--en-vivo") || argumento == QLatin1String("-en-vivo");
}

// The arguments a window option with a value takes: 2 for "--opcion VALOR",
// 1 for "--opcion=VALOR", 0 for any other argument.
static int argumentosDe(const QString& argumento, std::initializer_list<const char*> nombres) {
    for (const char* nombre : nombres) {
        for (const QString& guiones : {QStringLiteral("--"), QStringLiteral("-")}) {
            const QString opcion = guiones + QLatin1String(nombre);
            if (argumento == opcion) {
                return 2;
            }
            if (argumento.startsWith(opcion + QLatin1Char('='))) {
                return 1;
            }
        }
    }
    return 0;
}

int argumentosDeFantasma(const QString& argumento) {
    return argumentosDe(argumento, {"fantasma", "alinear"});
}

int argumentosDeDepuracion(const QString& argumento) {
    return argumentosDe(argumento, {"depuracion", "desfase"});
}

QString textoErrorUso(const QString& error) {
    return QStringLiteral("visor: %1\nPruebe «visor --help» para ver las opciones.\n")
        .arg(textoImprimible(error));
}

} // namespace zul
