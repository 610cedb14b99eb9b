// `visor --video` and `--rotulos` through the real program, with no display:
// videos decoded back and compared with `--png` of the same steps, the
// overlays found in the pictures, and every way the command can fail.
#include "geometria/colores.h"
#include "lectura_video.h"
#include "reproduccion/carga.h"
#include "salida/imagen_frame.h"
#include "visor_sin_pantalla.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr int kFrames = 40;

// Three players: 0 drives right along row 12 one cell per frame and gains a
// lap at frame 20, 1 drives down column 8, 2 stands still. Shots now and then.
QByteArray carrera(int frames = kFrames) {
    QByteArray texto = "3 alfa beta gamma\n";
    for (int k = 0; k < frames; ++k) {
        texto += "p " + QByteArray::number(5.5 + k * 0.8) + " 12.5 0 " +
                 QByteArray::number(k >= 20 ? 1 : 0) + "\n";
        texto += "p 8.5 " + QByteArray::number(3.5 + k * 0.5) + " 1.57 0\n";
        texto += "p 20.5 20.5 3.14 0\n";
        if (k % 7 == 3) {
            texto += "s 5 5 30 20\n";
        }
    }
    return texto;
}

// 50 x 30 cells: a wall border, arrows on every third row, plain track else.
QByteArray mapa() {
    QByteArray texto = "30 50\n";
    for (int i = 0; i < 30; ++i) {
        for (int j = 0; j < 50; ++j) {
            const bool borde = i == 0 || j == 0 || i == 29 || j == 49 || (i == 15 && j < 30);
            texto += borde ? "5 " : (i % 3 == 0 ? QByteArray::number(j % 4) + " " : "4 ");
        }
        texto += '\n';
    }
    return texto;
}

using Resultado = ResultadoVisor;

} // namespace

class PruebaModoVideo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void videoComoPng_data();
    void videoComoPng();
    void errores_data();
    void errores();
    void noSobrescribeEntradas();
    void ctrlC_data();
    void ctrlC();
    void enlacesYPermisos_data();
    void enlacesYPermisos();
    void rotulosEnPng();
    void diezPrimeros();

private:
    Resultado ejecuta(const QStringList& argumentos);
    QImage png(long long frame, const QStringList& opciones);

    std::unique_ptr<QTemporaryDir> dir;
    QString rutaCarrera;
    QString rutaMapa;
};

void PruebaModoVideo::initTestCase() {
    QVERIFY2(QFile::exists(QStringLiteral(ZUL_BINARIO_VISOR)), ZUL_BINARIO_VISOR);
}

void PruebaModoVideo::init() {
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

Resultado PruebaModoVideo::ejecuta(const QStringList& argumentos) {
    return ejecutaVisor(QStringLiteral(ZUL_BINARIO_VISOR), dir->path(), argumentos, 90000);
}

QImage PruebaModoVideo::png(long long frame, const QStringList& opciones) {
    const QString ruta = dir->filePath(QStringLiteral("paso-%1.png").arg(frame));
    const Resultado r = ejecuta(QStringList{"--png", ruta, "--paso", QString::number(frame)} +
                                opciones + QStringList{rutaCarrera, rutaMapa});
    if (r.estado != 0) {
        qWarning("%s", qPrintable(r.errores));
        return QImage();
    }
    return QImage(ruta).convertToFormat(QImage::Format_RGB32);
}

void PruebaModoVideo::videoComoPng_data() {
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<long long>("primero");
    QTest::addColumn<long long>("ultimo");
    QTest::addColumn<int>("fps");
    QTest::addColumn<QString>("velocidad"); // empty: not given
    QTest::addColumn<QStringList>("aspecto");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<int>("cuadros");
    QTest::addColumn<double>("duracion");
    // ⌈(M − K + 1) · F / S⌉ pictures; picture i shows step K + ⌊i · S / F⌋.
    QTest::newRow("mp4, más pasos que fotogramas")
        << "v.mp4" << 2LL << 13LL << 10 << "4" << QStringList{"--tamano", "96x64"} << "h264" << 30
        << 3.0;
    QTest::newRow("webm, un paso por fotograma, rótulos")
        << "v.webm" << 10LL << 17LL << 8 << "" << QStringList{"--tamano", "96x64", "--rotulos"}
        << "vp9" << 8 << 1.0;
    QTest::newRow("mkv, lados impares, estelas, cámara lenta")
        << "v.MKV" << 5LL << 9LL << 5 << "2,5"
        << QStringList{"--tamano", "95x63", "--estelas", "--jugador", "1", "--zoom", "3"} << "h264"
        << 10 << 2.0;
    QTest::newRow("mp4, cámara centrada")
        << "c.mp4" << 4LL << 7LL << 4 << ""
        << QStringList{"--tamano", "96x64", "--camara", "centrado"} << "h264" << 4 << 1.0;
}

void PruebaModoVideo::videoComoPng() {
    QFETCH(QString, nombre);
    QFETCH(long long, primero);
    QFETCH(long long, ultimo);
    QFETCH(int, fps);
    QFETCH(QString, velocidad);
    QFETCH(QStringList, aspecto);
    QFETCH(QString, codec);
    QFETCH(int, cuadros);
    QFETCH(double, duracion);
    const QString ruta = dir->filePath(nombre);
    QStringList argumentos{"--video", ruta,
                           "--paso",  QString::number(primero),
                           "--hasta", QString::number(ultimo),
                           "--fps",   QString::number(fps)};
    if (!velocidad.isEmpty()) {
        argumentos << "--velocidad" << velocidad;
    }
    const Resultado r = ejecuta(argumentos + aspecto + QStringList{rutaCarrera, rutaMapa});
    QVERIFY2(r.estado == 0, qPrintable(r.errores));
    // Not a terminal: one summary line and nothing else.
    QVERIFY2(r.errores.startsWith(QStringLiteral("Vídeo escrito en ") + ruta),
             qPrintable(r.errores));
    QCOMPARE(r.errores.count(QLatin1Char('\n')), 1);

    const VideoLeido video = leeVideo(ruta);
    QVERIFY2(video.error.isEmpty(), qPrintable(video.error));
    QCOMPARE(QString::fromStdString(video.codec), codec);
    QCOMPARE(QString::fromStdString(video.formatoPixel), QStringLiteral("yuv420p"));
    const QStringList lados = aspecto[aspecto.indexOf("--tamano") + 1].split('x');
    const QSize tamano(lados[0].toInt(), lados[1].toInt());
    // Odd sides are padded to even ones, not scaled.
    QCOMPARE(video.ancho, tamano.width() + tamano.width() % 2);
    QCOMPARE(video.alto, tamano.height() + tamano.height() % 2);
    QCOMPARE(static_cast<int>(video.cuadros.size()), cuadros);
    QVERIFY2(std::abs(video.duracion - duracion) < 0.05,
             qPrintable(QString::number(video.duracion)));

    // The middle picture is the PNG of its step, and not that of a neighbour.
    const double pasos =
        velocidad.isEmpty() ? fps : QString(velocidad).replace(',', '.').toDouble();
    const int medio = cuadros / 2;
    const long long frame = primero + static_cast<long long>(std::floor(medio * pasos / fps));
    const QImage esperado = png(frame, aspecto);
    const QImage vecino = png(frame + 2, aspecto);
    QVERIFY(!esperado.isNull() && !vecino.isNull());
    const QImage decodificado =
        video.cuadros[static_cast<std::size_t>(medio)].copy(QRect(QPoint(0, 0), tamano));
    const double diferencia = diferenciaMedia(decodificado, esperado);
    QVERIFY2(diferencia < 6.0, qPrintable(QString::number(diferencia)));
    QVERIFY2(diferenciaMedia(decodificado, vecino) > diferencia + 1.0,
             qPrintable(QString::number(diferenciaMedia(decodificado, vecino))));
}

void PruebaModoVideo::errores_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("mensaje");
    const QStringList archivos{"C", "M"};
    QTest::newRow("extensión desconocida")
        << QStringList{"--video", "v.avi"} + archivos << 1 << "v.avi";
    QTest::newRow("carpeta que no existe")
        << QStringList{"--video", "no/existe/v.mp4"} + archivos << 1 << "no/existe/v.mp4";
    QTest::newRow("paso fuera de la carrera")
        << QStringList{"--video", "v.mp4", "--paso", "40"} + archivos << 1
        << "no existe el paso 40";
    QTest::newRow("jugador que no existe")
        << QStringList{"--video", "v.mp4", "--jugador", "3"} + archivos << 1
        << "no existe el jugador 3";
    QTest::newRow("registro que no existe")
        << QStringList{"--video", "v.mp4", "nada.txt", "M"} << 1 << "nada.txt";
    QTest::newRow("fps 0") << QStringList{"--video", "v.mp4", "--fps", "0"} + archivos << 2
                           << "--fps";
    QTest::newRow("fps 241") << QStringList{"--video", "v.mp4", "--fps", "241"} + archivos << 2
                             << "--fps";
    QTest::newRow("velocidad 0") << QStringList{"--video", "v.mp4", "--velocidad", "0"} + archivos
                                 << 2 << "--velocidad";
    QTest::newRow("velocidad no numérica")
        << QStringList{"--video", "v.mp4", "--velocidad", "rápido"} + archivos << 2
        << "--velocidad";
    QTest::newRow("--fps sin --video")
        << QStringList{"--png", "p.png", "--fps", "10"} + archivos << 2 << "--fps";
    QTest::newRow("--png y --video")
        << QStringList{"--png", "p.png", "--video", "v.mp4"} + archivos << 2 << "--png y --video";
    QTest::newRow("--rotulos solo") << QStringList{"--rotulos"} + archivos << 2 << "--rotulos";
    QTest::newRow("--video sin archivos") << QStringList{"--video", "v.mp4"} << 2 << "faltan";
    QTest::newRow("--hasta antes de --paso")
        << QStringList{"--video", "v.mp4", "--paso", "5", "--hasta", "2"} + archivos << 2
        << "--hasta";
}

void PruebaModoVideo::errores() {
    QFETCH(QStringList, argumentos);
    QFETCH(int, estado);
    QFETCH(QString, mensaje);
    argumentos.replaceInStrings(QRegularExpression("^C$"), rutaCarrera);
    argumentos.replaceInStrings(QRegularExpression("^M$"), rutaMapa);
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.estado, estado);
    QVERIFY2(r.errores.startsWith(QStringLiteral("visor: ")), qPrintable(r.errores));
    QVERIFY2(r.errores.contains(mensaje), qPrintable(r.errores));
    // Nothing written, not even a partial file.
    const QStringList quedan = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(quedan, (QStringList{"carrera.txt", "mapa.txt"}));
}

void PruebaModoVideo::noSobrescribeEntradas() {
    const Resultado r = ejecuta({"--video", rutaMapa, "--fps", "1", rutaCarrera, rutaMapa});
    QCOMPARE(r.estado, 1);
    QVERIFY2(r.errores.contains(QStringLiteral("archivos de entrada")), qPrintable(r.errores));
    QFile archivo(rutaMapa);
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    QCOMPARE(archivo.readAll(), mapa());
}

void PruebaModoVideo::ctrlC_data() {
    // Ctrl+C, a closed terminal, Ctrl+\ and the session ending: each one stops
    // the export cleanly.
    QTest::addColumn<int>("senal");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGQUIT") << int(SIGQUIT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
}

void PruebaModoVideo::ctrlC() {
    QFETCH(int, senal);
    // Very slow motion: far more pictures than the test waits for.
    const QString ruta = dir->filePath(QStringLiteral("largo.mp4"));
    QFile anterior(ruta);
    QVERIFY(anterior.open(QIODevice::WriteOnly));
    anterior.write("anterior");
    anterior.close();
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    proceso.setProcessEnvironment(entorno);
    proceso.start(QStringLiteral(ZUL_BINARIO_VISOR), {"--video", ruta, "--velocidad", "0.01",
                                                      "--tamano", "64x48", rutaCarrera, rutaMapa});
    QVERIFY(proceso.waitForStarted());
    // Once the partial file exists the export is under way.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(dir->path()).entryList({".largo.mp4.*"}, QDir::Files | QDir::Hidden).isEmpty(),
        20000);
    ::kill(static_cast<pid_t>(proceso.processId()), senal);
    QVERIFY(proceso.waitForFinished(30000));
    QCOMPARE(proceso.exitStatus(), QProcess::NormalExit);
    QCOMPARE(proceso.exitCode(), 128 + senal);
    QVERIFY(QString::fromLocal8Bit(proceso.readAllStandardError()).contains("cancelada"));
    QVERIFY(QDir(dir->path()).entryList({".largo.mp4.*"}, QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(anterior.open(QIODevice::ReadOnly));
    QCOMPARE(anterior.readAll(), QByteArray("anterior"));
}

void PruebaModoVideo::enlacesYPermisos_data() {
    QTest::addColumn<QString>("opcion");
    QTest::addColumn<bool>("enlace");
    QTest::addColumn<int>("permisos");
    for (const char* opcion : {"--png", "--video"}) {
        QTest::addRow("%s a través de un enlace", opcion) << opcion << true << 0644;
        QTest::addRow("%s sobre un archivo 0600", opcion) << opcion << false << 0600;
        QTest::addRow("%s sobre un archivo 0640", opcion) << opcion << false << 0640;
    }
}

// An output replaces the file a symbolic link points to, the link staying a
// link, and the replaced file keeps its permissions.
void PruebaModoVideo::enlacesYPermisos() {
    QFETCH(QString, opcion);
    QFETCH(bool, enlace);
    QFETCH(int, permisos);
    const QString extension = opcion == "--png" ? ".png" : ".mp4";
    const QString destino = dir->filePath("destino" + extension);
    const QString ruta = enlace ? dir->filePath("enlace" + extension) : destino;
    QFile anterior(destino);
    QVERIFY(anterior.open(QIODevice::WriteOnly));
    anterior.write("anterior");
    anterior.close();
    QCOMPARE(::chmod(QFile::encodeName(destino).constData(), permisos), 0);
    if (enlace) {
        QVERIFY(QFile::link("destino" + extension, ruta));
    }
    const Resultado r =
        ejecuta({opcion, ruta, "--tamano", "64x48", opcion == "--png" ? "--paso" : "--hasta", "3",
                 rutaCarrera, rutaMapa});
    QVERIFY2(r.estado == 0, qPrintable(r.errores));
    QCOMPARE(QFileInfo(ruta).isSymLink(), enlace);
    QVERIFY(anterior.open(QIODevice::ReadOnly));
    QVERIFY(anterior.readAll() != QByteArray("anterior"));
    struct stat datos {};
    QCOMPARE(::stat(QFile::encodeName(destino).constData(), &datos), 0);
    QCOMPARE(int(datos.st_mode & 07777), permisos);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             enlace ? 4 : 3);
}

namespace {

// Pixels that differ between two pictures of one size, inside `zona`.
int distintos(const QImage& a, const QImage& b, QRect zona) {
    int cuantos = 0;
    zona &= a.rect();
    for (int y = zona.top(); y <= zona.bottom(); ++y) {
        for (int x = zona.left(); x <= zona.right(); ++x) {
            cuantos += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return cuantos;
}

} // namespace

void PruebaModoVideo::rotulosEnPng() {
    // 400 x 300 at zoom 10, following player 2 at (20.5, 20.5): it is drawn
    // at the anchor (150, 150) with a 25-pixel disc; player 1 is off the
    // picture at frame 4.
    const QStringList opciones{"--tamano", "400x300", "--jugador", "2"};
    const QImage sin = png(4, opciones);
    const QImage con = png(4, opciones + QStringList{"--rotulos"});
    const QImage otroFrame = png(5, opciones + QStringList{"--rotulos"});
    QVERIFY(!sin.isNull() && !con.isNull() && !otroFrame.isNull());
    const QRect nombre(150 + 25, 150 - 25 - 20, 60, 20);
    const QRect arribaIzquierda(0, 0, 120, 30);
    const QRect arribaDerecha(260, 0, 140, 60);
    const QRect abajo(0, 240, 400, 60);
    QVERIFY2(distintos(sin, con, nombre) > 30, "falta el nombre junto al kart");
    QVERIFY2(distintos(sin, con, arribaIzquierda) > 30, "falta el paso");
    QVERIFY2(distintos(sin, con, arribaDerecha) > 100, "falta la clasificación");
    QCOMPARE(distintos(sin, con, abajo), 0);
    // The name is in the player's colour (smoothed at the glyphs' edges).
    bool color = false;
    const QColor disco = zul::colorDisco(2);
    for (int y = nombre.top(); y <= nombre.bottom() && !color; ++y) {
        for (int x = nombre.left(); x <= nombre.right() && !color; ++x) {
            const QColor c = con.pixelColor(x, y);
            color = std::abs(c.red() - disco.red()) < 40 &&
                    std::abs(c.green() - disco.green()) < 40 &&
                    std::abs(c.blue() - disco.blue()) < 40;
        }
    }
    QVERIFY(color);
    // "Paso 4 de 40" and "Paso 5 de 40" differ; the follower stands still,
    // so only the texts and the other karts can.
    QVERIFY(distintos(con, otroFrame, arribaIzquierda) > 0);
}

void PruebaModoVideo::diezPrimeros() {
    // Twelve players, player j with j laps: the standings list 11 down to 2.
    QByteArray texto = "12";
    for (int j = 0; j < 12; ++j) {
        texto += " j" + QByteArray::number(j);
    }
    texto += '\n';
    for (int k = 0; k < 3; ++k) {
        for (int j = 0; j < 12; ++j) {
            texto += "p 3.5 3.5 0 " + QByteArray::number(k == 0 ? 0 : j) + "\n";
        }
    }
    const QString ruta = dir->filePath(QStringLiteral("doce.txt"));
    QFile archivo(ruta);
    QVERIFY(archivo.open(QIODevice::WriteOnly));
    archivo.write(texto);
    archivo.close();
    zul::Reproduccion reproduccion(zul::cargaCarrera(QFile::encodeName(ruta).toStdString()));
    zul::Mapa mapa;
    zul::AspectoImagen aspecto;
    aspecto.opciones.rotulos = true;
    zul::ImagenFrame dibujo(reproduccion, mapa, aspecto);
    const zul::Rotulos& rotulos = dibujo.rotulos(2);
    QCOMPARE(rotulos.frame, QStringLiteral("Paso 2 de 3"));
    QCOMPARE(rotulos.nombres.size(), 12);
    QCOMPARE(rotulos.clasificacion.size(), 10);
    QCOMPARE(rotulos.clasificacion.first().nombre, QStringLiteral("j11"));
    QCOMPARE(rotulos.clasificacion.first().diferencia, QStringLiteral("Líder"));
    QCOMPARE(rotulos.clasificacion.last().nombre, QStringLiteral("j2"));
    QCOMPARE(rotulos.clasificacion.last().posicion, 10);
    QCOMPARE(rotulos.clasificacion[1].vueltas, QStringLiteral("10 vueltas"));
}

QTEST_MAIN(PruebaModoVideo)
#include "prueba_modo_video.moc"
