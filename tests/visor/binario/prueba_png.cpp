// `visor --png`, `--help` and `--version` through the real program, started
// with no display at all: the pictures it writes, and how it fails.
#include "geometria/colores.h"
#include "paneles/CVisualizador.h"
#include "programa/linea_ordenes.h"
#include "programa/opciones.h"
#include "reproduccion/carga.h"
#include "salida/modo_png.h"
#include "salida/texto_terminal.h"
#include "ventana/CVentana.h"
#include "visor_sin_pantalla.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Two players; player 0 goes right a cell per frame along row 10 from x = 10,
// player 1 stands at (5.5, 4.5). Shots in frames 1 and 3.
QByteArray carrera() {
    QByteArray texto = "2 alfa beta\n";
    for (int k = 0; k < 6; ++k) {
        texto += "p " + QByteArray::number(10.5 + k) + " 10.5 0 " + QByteArray::number(k / 3) +
                 "\np 5.5 4.5 1.57 0\n";
        if (k == 1 || k == 3) {
            texto += "s 0 0 30 20\n";
        }
    }
    return texto;
}

// 30 x 20 cells: track everywhere but a wall border, arrows on row 2.
QByteArray mapa() {
    QByteArray texto = "20 30\n";
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 30; ++j) {
            const bool borde = i == 0 || j == 0 || i == 19 || j == 29;
            texto += borde ? "5 " : (i == 2 ? "1 " : "4 ");
        }
        texto += '\n';
    }
    return texto;
}

struct Resultado {
    int estado = -1;
    QString salida;
    QString errores;
};

} // namespace

class PruebaPng : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void imagen_data();
    void imagen();
    void serie();
    void errores_data();
    void errores();
    void ayudaYVersion_data();
    void ayudaYVersion();
    void ayudaDeCadaOpcion();
    void nombres_data();
    void nombres();
    void sinPantalla_data();
    void sinPantalla();
    void nombresConControl();
    void opcionesDeQt_data();
    void opcionesDeQt();
    void parcialSinVentana();
    void depuracion();

private:
    Resultado ejecuta(const QStringList& argumentos);
    // Debug files beside the race: bien.dep (player 1; in turn 2 a red line along row 15 from
    // column 3 to 9), otra.dep (7 turns for 6 frames), ajeno.dep (player 2 of 2) and roto.dep
    // (its third line unreadable).
    void escribeDepuraciones();
    // What the window's own track view shows in this process, for comparison.
    QImage referencia(long long frame, int jugador, double zoom, QSize tamano, bool estelas);

    std::unique_ptr<QTemporaryDir> dir;
    QString rutaCarrera;
    QString rutaMapa;
};

void PruebaPng::initTestCase() {
    QVERIFY2(QFile::exists(QStringLiteral(ZUL_BINARIO_VISOR)), ZUL_BINARIO_VISOR);
}

void PruebaPng::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    rutaCarrera = dir->filePath(QStringLiteral("carrera.txt"));
    rutaMapa = dir->filePath(QStringLiteral("mapa.txt"));
    for (const auto& [ruta, contenido] : {std::pair{rutaCarrera, carrera()}, {rutaMapa, mapa()}}) {
        QFile archivo(ruta);
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        QCOMPARE(archivo.write(contenido), contenido.size());
    }
}

Resultado PruebaPng::ejecuta(const QStringList& argumentos) {
    const ResultadoVisor r =
        ejecutaVisor(QStringLiteral(ZUL_BINARIO_VISOR), dir->path(), argumentos);
    return {r.estado, QString::fromLocal8Bit(r.salida), r.errores};
}

void PruebaPng::escribeDepuraciones() {
    QByteArray bien = "zul-depuracion 1\n";
    QByteArray otra = bien;
    for (int t = 0; t < 7; ++t) {
        const QByteArray turno = "turno " + QByteArray::number(t) + " id 1 m 0 0\n";
        otra += turno + "fin\n";
        if (t < 6) {
            bien += turno + (t == 2 ? "linea 3 15.5 9 15.5 ff0000\n" : "") + "fin\n";
        }
    }
    const std::pair<const char*, QByteArray> archivos[] = {
        {"bien.dep", bien},
        {"otra.dep", otra},
        {"ajeno.dep", "zul-depuracion 1\nturno 0 id 2 m 0 0\nfin\n"},
        {"roto.dep", "zul-depuracion 1\nturno 0 id 0 m 0 0\nlinea 1 2\nfin\n"}};
    for (const auto& [nombre, contenido] : archivos) {
        QFile archivo(dir->filePath(QString::fromLatin1(nombre)));
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        QCOMPARE(archivo.write(contenido), contenido.size());
    }
}

QImage PruebaPng::referencia(long long frame, int jugador, double zoom, QSize tamano,
                             bool estelas) {
    CVentana ventana(QFile::encodeName(rutaCarrera).constData(),
                     QFile::encodeName(rutaMapa).constData());
    CVisualizador* vista = ventana.vista();
    vista->cambiaZoom(zoom);
    vista->cambiaMira(jugador);
    vista->muestraEstelas(estelas);
    vista->setFixedSize(tamano);
    ventana.reproductor()->irAFrame(frame);
    QImage imagen(tamano, QImage::Format_RGB32);
    imagen.fill(Qt::magenta);
    vista->render(&imagen);
    return imagen;
}

void PruebaPng::imagen_data() {
    QTest::addColumn<QStringList>("opciones");
    QTest::addColumn<long long>("paso");
    QTest::addColumn<int>("jugador");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("tamano");
    QTest::addColumn<bool>("estelas");
    QTest::newRow("por defecto") << QStringList{} << 0LL << 0 << 10.0 << QSize(512, 512) << false;
    QTest::newRow("paso con disparo")
        << QStringList{"--paso", "3"} << 3LL << 0 << 10.0 << QSize(512, 512) << false;
    QTest::newRow("otro jugador, zoom y tamaño")
        << QStringList{"--jugador", "1", "--zoom", "4.5", "--tamano", "300x200"} << 0LL << 1 << 4.5
        << QSize(300, 200) << false;
    QTest::newRow("con signos igual y coma decimal")
        << QStringList{"--paso=5", "--zoom=7,5", "--tamano=123X77"} << 5LL << 0 << 7.5
        << QSize(123, 77) << false;
    QTest::newRow("estelas") << QStringList{"--paso", "5", "--estelas", "--zoom", "3"} << 5LL << 0
                             << 3.0 << QSize(512, 512) << true;
    QTest::newRow("un píxel") << QStringList{"--tamano", "1x1"} << 0LL << 0 << 10.0 << QSize(1, 1)
                              << false;
}

// One frame: the requested size, the followed kart's disc on the anchor
// pixel, and the same picture the window's track view shows.
void PruebaPng::imagen() {
    QFETCH(QStringList, opciones);
    QFETCH(long long, paso);
    QFETCH(int, jugador);
    QFETCH(double, zoom);
    QFETCH(QSize, tamano);
    QFETCH(bool, estelas);
    const QString salida = dir->filePath(QStringLiteral("salida.png"));
    const Resultado r =
        ejecuta(QStringList{"--png", salida} + opciones + QStringList{rutaCarrera, rutaMapa});
    QVERIFY2(r.estado == 0, qPrintable(r.errores));
    QVERIFY(r.salida.isEmpty());
    QCOMPARE(r.errores, QString());
    QImage imagen(salida, "PNG");
    QVERIFY(!imagen.isNull());
    QCOMPARE(imagen.size(), tamano);
    const int ancla = std::min(tamano.width(), tamano.height()) / 2;
    if (ancla >= 3) {
        // Off the heading line, which runs right (player 0) or down (player 1).
        const QPoint cerca = jugador == 0 ? QPoint(ancla, ancla - 3) : QPoint(ancla - 3, ancla);
        QCOMPARE(imagen.pixelColor(cerca).name(), zul::colorDisco(jugador).name());
    }
    QCOMPARE(imagen.convertToFormat(QImage::Format_RGB32),
             referencia(paso, jugador, zoom, tamano, estelas));
    // Nothing but the picture was written.
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), 3);
}

// --hasta writes one numbered file per frame, each the window's picture of
// that frame, shots included.
void PruebaPng::serie() {
    const Resultado r = ejecuta({"--png", "serie.png", "--paso", "2", "--hasta", "5", "--tamano",
                                 "200x200", rutaCarrera, rutaMapa});
    QVERIFY2(r.estado == 0, qPrintable(r.errores));
    QStringList esperados;
    for (int k = 2; k <= 5; ++k) {
        esperados << QStringLiteral("serie-%1.png").arg(k, 5, 10, QLatin1Char('0'));
    }
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name),
             esperados);
    QImage anterior;
    for (int k = 2; k <= 5; ++k) {
        const QImage imagen(dir->filePath(esperados[k - 2]), "PNG");
        QCOMPARE(imagen.size(), QSize(200, 200));
        QCOMPARE(imagen.convertToFormat(QImage::Format_RGB32),
                 referencia(k, 0, 10.0, QSize(200, 200), false));
        QVERIFY(imagen != anterior);
        anterior = imagen;
    }
    // The shot of frame 3 crosses the picture: yellow somewhere in it, and
    // in no other frame of the series.
    const auto amarillos = [&](int k) {
        const QImage imagen =
            QImage(dir->filePath(esperados[k - 2]), "PNG").convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < imagen.height(); ++y) {
            for (int x = 0; x < imagen.width(); ++x) {
                n += imagen.pixel(x, y) == qRgb(255, 255, 0) ? 1 : 0;
            }
        }
        return n;
    };
    QVERIFY(amarillos(3) > 0);
    QCOMPARE(amarillos(2), 0);
    QCOMPARE(amarillos(4), 0);
}

void PruebaPng::errores_data() {
    QTest::addColumn<QStringList>("argumentos"); // C and M stand for the race log and map
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("mensaje"); // part of what standard error says
    const QStringList archivos{"C", "M"};
    const auto con = [&](QStringList opciones) {
        return QStringList{"--png", "x.png"} + opciones + archivos;
    };
    QTest::newRow("carrera que no existe")
        << QStringList{"--png", "x.png", "no-existe.txt", "M"} << 1 << "no-existe.txt";
    QTest::newRow("mapa que no existe")
        << QStringList{"--png", "x.png", "C", "no-existe.txt"} << 1 << "no-existe.txt";
    QTest::newRow("mapa inválido") << QStringList{"--png", "x.png", "C", "C"} << 1 << "C";
    QTest::newRow("falta el mapa") << QStringList{"--png", "x.png", "C"} << 2 << "faltan archivos";
    QTest::newRow("sobra un archivo") << con({"M"}) << 2 << "sobran archivos";
    QTest::newRow("falta el valor") << QStringList{"C", "M", "--png"} << 2 << "falta el valor";
    QTest::newRow("opción desconocida") << con({"--brillo", "3"}) << 2 << "--brillo";
    QTest::newRow("opción sin --png") << QStringList{"--zoom", "3", "C", "M"} << 2 << "--png";
    QTest::newRow("opción repetida") << con({"--zoom", "3", "--zoom", "4"}) << 2 << "--zoom";
    QTest::newRow("zoom cero") << con({"--zoom", "0"}) << 2 << "--zoom";
    QTest::newRow("zoom pequeño") << con({"--zoom", "0.09"}) << 2 << "--zoom";
    QTest::newRow("zoom grande") << con({"--zoom", "50.5"}) << 2 << "--zoom";
    QTest::newRow("zoom no numérico") << con({"--zoom", "nan"}) << 2 << "--zoom";
    QTest::newRow("tamaño cero") << con({"--tamano", "0x10"}) << 2 << "--tamano";
    QTest::newRow("tamaño enorme") << con({"--tamano", "8193x10"}) << 2 << "--tamano";
    QTest::newRow("tamaño mal escrito") << con({"--tamano", "512"}) << 2 << "--tamano";
    QTest::newRow("paso negativo") << con({"--paso", "-1"}) << 2 << "--paso";
    QTest::newRow("paso no numérico") << con({"--paso", "tres"}) << 2 << "--paso";
    QTest::newRow("hasta antes que paso") << con({"--paso", "3", "--hasta", "2"}) << 2 << "--hasta";
    QTest::newRow("paso fuera de la carrera") << con({"--paso", "6"}) << 1 << "6 pasos";
    QTest::newRow("hasta fuera de la carrera") << con({"--hasta", "9"}) << 1 << "6 pasos";
    QTest::newRow("jugador fuera de la carrera") << con({"--jugador", "2"}) << 1 << "2 jugadores";
    QTest::newRow("carpeta de salida inexistente")
        << QStringList{"--png", "no/hay/x.png", "C", "M"} << 1 << "no/hay/x.png";
    QTest::newRow("salida sobre la carrera") << QStringList{"--png", "C", "C", "M"} << 1 << "C";
    // The window mode refuses a wrong command line too, before it looks for
    // a display (there is none here: that would be status 1).
    QTest::newRow("ventana: opción desconocida") << QStringList{"--foo", "C", "M"} << 2 << "--foo";
    QTest::newRow("ventana: --") << QStringList{"--", "C", "M"} << 2 << "«--»";
    QTest::newRow("ventana: sobra un archivo")
        << QStringList{"C", "M", "M"} << 2 << "sobran archivos";
    QTest::newRow("ventana: -- sin archivos") << QStringList{"--"} << 2 << "«--»";
    QTest::newRow("--png con --") << QStringList{"--png", "x.png", "--", "C", "M"} << 2 << "«--»";
    QTest::newRow("--png con opción de Qt") << con({"-style", "fusion"}) << 2 << "-style";
    QTest::newRow("valor a una opción sin valor") << con({"--estelas=1"}) << 2 << "--estelas=1";
    // Debug files that cannot be drawn over this race are refused by name.
    QTest::newRow("depuración con más turnos que pasos")
        << con({"--depuracion", "otra.dep"}) << 1
        << "otra.dep: tiene 7 turnos, pero la carrera solo 6 pasos";
    QTest::newRow("depuración de un jugador que no está")
        << con({"--depuracion", "bien.dep", "--depuracion", "ajeno.dep"}) << 1
        << "ajeno.dep: es del jugador 2, pero la carrera tiene 2 jugadores";
    QTest::newRow("depuración ilegible")
        << con({"--depuracion", "roto.dep"}) << 1 << "roto.dep, línea 3: la línea debe ser";
    QTest::newRow("depuración que no existe")
        << con({"--depuracion", "no-hay.dep"}) << 1
        << "No se pudo abrir el archivo de depuración no-hay.dep";
    QTest::newRow("depuración en la ventana sin carrera")
        << QStringList{"--depuracion", "bien.dep", "C"} << 2 << "necesita la carrera y el mapa";
    QTest::newRow("desfase sin depuración") << con({"--desfase", "1"}) << 2 << "--desfase solo";
    QTest::newRow("desfase no numérico")
        << con({"--depuracion", "bien.dep", "--desfase", "x"}) << 2 << "--desfase debe ser";
    QTest::newRow("depuración con resultados")
        << QStringList{"--resultados", "--depuracion", "bien.dep", "C"} << 2 << "--depuracion";
    // The web modes check the same way.
    QTest::newRow("--html sin mapa")
        << QStringList{"--html", "x.html", "C"} << 2 << "faltan archivos";
    QTest::newRow("--html con --tamano")
        << QStringList{"--html", "x.html", "--tamano", "9x9", "C", "M"} << 2 << "--tamano";
    QTest::newRow("--html paso fuera de la carrera")
        << QStringList{"--html", "x.html", "--paso", "6", "C", "M"} << 1 << "6 pasos";
    QTest::newRow("--html sobre la carrera") << QStringList{"--html", "C", "C", "M"} << 1 << "C";
    QTest::newRow("--sitio sin mapa") << QStringList{"--sitio", "web", "C"} << 2 << "CARRERA MAPA";
    QTest::newRow("--puntos sin --sitio")
        << QStringList{"--puntos", "3,2", "C", "M"} << 2 << "--sitio";
    QTest::newRow("--puntos negativos")
        << QStringList{"--sitio", "web", "--puntos", "3,-1", "C", "M"} << 2 << "--puntos";
}

// Every error: a non-zero status, a message on standard error, no picture,
// and the input files untouched.
void PruebaPng::errores() {
    QFETCH(QStringList, argumentos);
    QFETCH(int, estado);
    QFETCH(QString, mensaje);
    for (QString& a : argumentos) {
        a = a == QLatin1String("C") ? rutaCarrera : (a == QLatin1String("M") ? rutaMapa : a);
    }
    mensaje = mensaje == QLatin1String("C") ? rutaCarrera : mensaje;
    escribeDepuraciones();
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.estado, estado);
    QVERIFY2(r.errores.startsWith(QStringLiteral("visor: ")), qPrintable(r.errores));
    QVERIFY2(r.errores.contains(mensaje), qPrintable(r.errores));
    QVERIFY(r.salida.isEmpty());
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.png")}, QDir::Files), QStringList());
    QFile archivo(rutaCarrera);
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    QCOMPARE(archivo.readAll(), carrera());
}

void PruebaPng::ayudaYVersion_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QStringList>("dice");
    const QStringList opciones{"--png",     "--paso",   "--hasta",   "--jugador",
                               "--zoom",    "--tamano", "--estelas", "--help",
                               "--version", "CARRERA",  "MAPA"};
    QTest::newRow("--help") << QStringList{"--help"} << opciones;
    QTest::newRow("-h con más cosas") << QStringList{"--png", "x.png", "-h"} << opciones;
    QTest::newRow("--version") << QStringList{"--version"}
                               << QStringList{QStringLiteral("visor " ZUL_VERSION "\n")};
    QTest::newRow("-v") << QStringList{"-v"}
                        << QStringList{QStringLiteral("visor " ZUL_VERSION "\n")};
}

void PruebaPng::ayudaYVersion() {
    QFETCH(QStringList, argumentos);
    QFETCH(QStringList, dice);
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.estado, 0);
    QCOMPARE(r.errores, QString());
    if (dice.size() == 1) {
        QCOMPARE(r.salida, dice[0]);
        return;
    }
    for (const QString& texto : dice) {
        QVERIFY2(r.salida.contains(texto), qPrintable(texto));
    }
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.png")}, QDir::Files), QStringList());
}

// Every option the parser takes is in the help, under a heading, and no line
// is wider than a terminal.
void PruebaPng::ayudaDeCadaOpcion() {
    const QString ayuda = zul::textoAyuda();
    for (const zul::OpcionDelVisor& o : zul::opcionesDelVisor()) {
        if (o.grupo == zul::GrupoDeOpciones::Qt) {
            continue;
        }
        const QString nombre = o.opcion.names().constLast();
        const QRegularExpression linea(QStringLiteral("^  (-\\w, )?--%1( |$)").arg(nombre),
                                       QRegularExpression::MultilineOption);
        QVERIFY2(ayuda.contains(linea), qPrintable(nombre));
        QVERIFY(!o.opcion.description().isEmpty());
    }
    for (const QString& linea : ayuda.split(QLatin1Char('\n'))) {
        QVERIFY2(linea.size() <= 80, qPrintable(linea));
    }
}

void PruebaPng::nombres_data() {
    QTest::addColumn<QString>("salida");
    QTest::addColumn<long long>("paso");
    QTest::addColumn<int>("cifras");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("png") << "salida.png" << 12LL << 5 << "salida-00012.png";
    QTest::newRow("en carpeta") << "a.b/salida.PNG" << 3LL << 5 << "a.b/salida-00003.PNG";
    QTest::newRow("sin extensión") << "dir.d/salida" << 7LL << 5 << "dir.d/salida-00007";
    QTest::newRow("oculto") << ".png" << 1LL << 5 << ".png-00001";
    QTest::newRow("más cifras") << "v.png" << 123456LL << 6 << "v-123456.png";
}

void PruebaPng::nombres() {
    QFETCH(QString, salida);
    QFETCH(long long, paso);
    QFETCH(int, cifras);
    QFETCH(QString, nombre);
    QCOMPARE(zul::nombreNumerado(salida, paso, cifras), nombre);
}

void PruebaPng::sinPantalla_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::newRow("con los dos archivos") << QStringList{"C", "M"};
    QTest::newRow("sin archivos") << QStringList{};
    QTest::newRow("con un archivo que no existe") << QStringList{"no-existe.txt", "M"};
}

// With no display the window mode says so in Spanish, points to --png and
// exits with status 1; it neither aborts nor dumps core.
void PruebaPng::sinPantalla() {
    QFETCH(QStringList, argumentos);
    for (QString& a : argumentos) {
        a = a == QLatin1String("C") ? rutaCarrera : (a == QLatin1String("M") ? rutaMapa : a);
    }
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.estado, 1);
    QVERIFY2(r.errores.startsWith(QStringLiteral("visor: no hay pantalla")), qPrintable(r.errores));
    QVERIFY2(r.errores.contains(QStringLiteral("--png")), qPrintable(r.errores));
    QCOMPARE(r.errores.count(QLatin1Char('\n')), 1);
    QVERIFY(r.salida.isEmpty());
}

// A file name with control characters is printed escaped, so it can neither
// break the message nor drive the terminal.
void PruebaPng::nombresConControl() {
    const QString raro = dir->filePath(QStringLiteral("a\x1b[31m\nb\tc"));
    const Resultado r = ejecuta({"--png", "x.png", raro, rutaMapa});
    QCOMPARE(r.estado, 1);
    QVERIFY2(r.errores.contains(QStringLiteral("a\\x1b[31m\\nb\\tc: No se pudo abrir el archivo")),
             qPrintable(r.errores));
    QVERIFY(!r.errores.contains(QChar(0x1b)));
    QCOMPARE(r.errores.count(QLatin1Char('\n')), 1);
    QCOMPARE(zul::textoImprimible(QStringLiteral("ñ\\\x7f\u0085")),
             QStringLiteral("ñ\\\\x7f\\x85"));
    // The controls that turn text around, escaped as well.
    QCOMPARE(zul::textoImprimible(QStringLiteral("a\u202eb\u2066c\u200fd\u061ce\u202af")),
             QStringLiteral("a\\u202eb\\u2066c\\u200fd\\u061ce\\u202af"));
}

void PruebaPng::opcionesDeQt_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QStringList>("archivos");
    QTest::newRow("sin nada") << QStringList{} << QStringList{};
    QTest::newRow("-platform") << QStringList{"-platform", "offscreen", "C", "M"}
                               << QStringList{"C", "M"};
    QTest::newRow("-style= y -reverse detrás")
        << QStringList{"C", "-style=fusion", "-reverse"} << QStringList{"C"};
    QTest::newRow("un guion es un archivo") << QStringList{"-", "M"} << QStringList{"-", "M"};
}

// Qt's own window options still reach QApplication in window mode.
void PruebaPng::opcionesDeQt() {
    QFETCH(QStringList, argumentos);
    QFETCH(QStringList, archivos);
    zul::LineaDeOrdenes orden;
    QString error;
    QVERIFY2(zul::analizaLineaDeOrdenes(argumentos, orden, error), qPrintable(error));
    QCOMPARE(orden.modo, zul::Modo::Ventana);
    QCOMPARE(orden.archivos, archivos);
}

// The picture of a partial last frame drawn with no window is what the window
// shows after stepping there: the missing player stays where the frame
// before left it, not where the first frame had it.
void PruebaPng::parcialSinVentana() {
    QByteArray texto = "2 alfa beta\n";
    for (int k = 0; k < 6; ++k) {
        texto += "p " + QByteArray::number(10.5 + k) + " 10.5 0 0\np " +
                 QByteArray::number(3.5 + k) + " 4.5 1.57 0\n";
    }
    texto += "p 16.5 10.5 0 1\n";
    QFile archivo(rutaCarrera);
    QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(archivo.write(texto), texto.size());
    archivo.close();

    const zul::Reproduccion reproduccion(
        zul::cargaCarrera(QFile::encodeName(rutaCarrera).toStdString()));
    const zul::Mapa mapa = zul::cargaMapa(QFile::encodeName(rutaMapa).toStdString());
    QCOMPARE(reproduccion.numeroFrames(), 7u);
    zul::AspectoImagen aspecto;
    aspecto.jugador = 1;
    aspecto.zoom = 4.0;
    aspecto.tamano = QSize(200, 150);
    zul::ImagenFrame dibujo(reproduccion, mapa, aspecto);
    QCOMPARE(dibujo.escena(6).posiciones.value(1), QPointF(8.5, 4.5));

    CVentana ventana(QFile::encodeName(rutaCarrera).constData(),
                     QFile::encodeName(rutaMapa).constData());
    CVisualizador* vista = ventana.vista();
    vista->cambiaZoom(aspecto.zoom);
    vista->cambiaMira(aspecto.jugador);
    vista->setFixedSize(aspecto.tamano);
    for (int k = 0; k < 6; ++k) {
        ventana.step();
    }
    QCOMPARE(ventana.reproductor()->frame(), 6);
    QImage enVentana(aspecto.tamano, QImage::Format_RGB32);
    vista->render(&enVentana);
    QCOMPARE(dibujo.dibuja(6), enVentana);
}

// A debug file's turn n over frame n, or over frame n + D with --desfase D.
void PruebaPng::depuracion() {
    escribeDepuraciones();
    const QColor rojo(255, 0, 0);
    for (const auto& [paso, desfase, dibujada] :
         {std::tuple{"2", "0", true}, {"3", "1", true}, {"2", "1", false}, {"3", "0", false}}) {
        const Resultado r =
            ejecuta({"--png", "d.png", "--paso", paso, "--desfase", desfase, "--camara", "pista",
                     "--tamano", "300x200", "--depuracion", "bien.dep", rutaCarrera, rutaMapa});
        QVERIFY2(r.estado == 0, qPrintable(r.errores));
        const QImage imagen(dir->filePath(QStringLiteral("d.png")));
        // The whole 30 x 20 map at 10 pixels a cell: row 15.5 is pixel row 155, columns 3 to 9
        // are pixels 30 to 90.
        int rojos = 0;
        for (int x = 0; x < imagen.width(); ++x) {
            rojos += imagen.pixelColor(x, 155) == rojo;
        }
        QCOMPARE(rojos >= 58 && rojos <= 62, dibujada);
        QCOMPARE(rojos == 0, !dibujada);
    }
}

QTEST_MAIN(PruebaPng)
#include "prueba_png.moc"
