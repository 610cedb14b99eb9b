// The main window's construction from files, and how it fails.
#include "paneles/CVisualizador.h"
#include "ventana/CVentana.h"

#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const char* const kCarrera = "2 alfa beta\n"
                             "p 1.5 2.5 0 0\n"
                             "s 1 1 3 3\n"
                             "p 4 4 1.57 0\n"
                             "p 1.6 2.5 0 0\n"
                             "p 4 4.1 1.57 1\n";
const char* const kMapa = "2 3\n0 1 2\n3 5 4\n";

} // namespace

class PruebaVentana : public QObject {
    Q_OBJECT

private slots:
    void init();
    void construccion();
    void divisorLlenaLaVentana();
    void fallos_data();
    void fallos();
    void irAFrame_data();
    void irAFrame();

private:
    QByteArray escribe(const char* nombre, const QByteArray& contenido);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaVentana::init() {
    dir = std::make_unique<QTemporaryDir>();
}

QByteArray PruebaVentana::escribe(const char* nombre, const QByteArray& contenido) {
    QFile archivo(dir->filePath(nombre));
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) {
        qFatal("no se pudo escribir %s", nombre);
    }
    return QFile::encodeName(archivo.fileName());
}

void PruebaVentana::construccion() {
    const QByteArray carrera = escribe("carrera.txt", kCarrera);
    const QByteArray mapa = escribe("mapa.txt", kMapa);
    CVentana ventana(carrera.constData(), mapa.constData());
    QCOMPARE(ventana.windowTitle(), QStringLiteral("ZUL Karts"));
    QCOMPARE(ventana.size(), QSize(712, 512));
    QVERIFY(ventana.parentWidget() == nullptr);

    const zul::Carrera& grabada = ventana.reproductor()->carrera();
    QCOMPARE(grabada.numJugadores, 2);
    QCOMPARE(grabada.posiciones.size(), std::size_t(4));

    CVisualizador* vista = ventana.vista();
    QCOMPARE(vista->cantidadJugadores(), 2);
    QCOMPARE(vista->filasMapa(), 2);
    QCOMPARE(vista->columnasMapa(), 3);
    QCOMPARE(vista->celdasMapa(), std::string("012354"));
    QCOMPARE(vista->zoom(), 10.0);
    // Frame 0 is on show before the window is.
    QCOMPARE(ventana.reproductor()->reproduccion().siguienteFrame(), 1u);
    QCOMPARE(vista->posicionJugador(1), QPointF(4, 4));
}

void PruebaVentana::divisorLlenaLaVentana() {
    const QByteArray carrera = escribe("carrera.txt", kCarrera);
    const QByteArray mapa = escribe("mapa.txt", kMapa);
    CVentana ventana(carrera.constData(), mapa.constData());
    auto* divisor = ventana.findChild<QSplitter*>();
    QVERIFY(divisor != nullptr);
    QCOMPARE(divisor->orientation(), Qt::Horizontal);
    // The left pane is the track view, with its timeline under it.
    QVERIFY(divisor->widget(0)->isAncestorOf(ventana.vista()));
    QCOMPARE(divisor->count(), 2);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    QCOMPARE(divisor->size(), ventana.size());
    ventana.resize(900, 640);
    QCOMPARE(divisor->geometry(), QRect(0, 0, 900, 640));
}

void PruebaVentana::fallos_data() {
    QTest::addColumn<QByteArray>("carrera"); // file content; "-" for a missing file
    QTest::addColumn<QByteArray>("mapa");
    QTest::addColumn<QString>("mensaje");  // part of what()
    QTest::addColumn<QString>("culpable"); // which file's path the error names

    QTest::newRow("carrera no abre")
        << QByteArray("-") << QByteArray("-") << "No se pudo abrir el archivo"
        << "carrera.txt";
    QTest::newRow("mapa no abre") << QByteArray(kCarrera) << QByteArray("-")
                                  << "No se pudo abrir el archivo"
                                  << "mapa.txt";
    QTest::newRow("sin jugadores")
        << QByteArray("0 p 1 1 0 0") << QByteArray(kMapa) << "declara 0 jugadores"
        << "carrera.txt";
    QTest::newRow("mapa sin dimensiones")
        << QByteArray(kCarrera) << QByteArray("mapa") << "dos dimensiones"
        << "mapa.txt";
    QTest::newRow("mapa negativo") << QByteArray(kCarrera) << QByteArray("-2 4") << "negativas"
                                   << "mapa.txt";
}

void PruebaVentana::fallos() {
    QFETCH(QByteArray, carrera);
    QFETCH(QByteArray, mapa);
    QFETCH(QString, mensaje);
    QFETCH(QString, culpable);
    const QByteArray rutaCarrera = carrera == "-" ? QFile::encodeName(dir->filePath("carrera.txt"))
                                                  : escribe("carrera.txt", carrera);
    const QByteArray rutaMapa =
        mapa == "-" ? QFile::encodeName(dir->filePath("mapa.txt")) : escribe("mapa.txt", mapa);
    try {
        CVentana ventana(rutaCarrera.constData(), rutaMapa.constData());
        QFAIL("la ventana se construyó");
    } catch (std::exception* error) {
        std::unique_ptr<std::exception> propia(error);
        QVERIFY2(QString::fromUtf8(error->what()).contains(mensaje), error->what());
        auto* deArchivo = dynamic_cast<CVentana::excepcionArchivo*>(error);
        QVERIFY(deArchivo != nullptr);
        QVERIFY2(QString::fromStdString(deArchivo->ruta()).endsWith(culpable),
                 deArchivo->ruta().c_str());
    }
}

void PruebaVentana::irAFrame_data() {
    QTest::addColumn<int>("pedido");
    QTest::addColumn<double>("x");      // player 0's x equals its frame number
    QTest::addColumn<int>("disparos");  // shots on show
    QTest::addColumn<int>("siguiente"); // the frame the next step shows
    QTest::newRow("en medio, con dos disparos") << 2 << 2.0 << 2 << 3;
    QTest::newRow("sin disparos") << 3 << 3.0 << 0 << 4;
    QTest::newRow("antes del principio") << -5 << 0.0 << 1 << 1;
    QTest::newRow("pasado el final") << 99 << 4.0 << 1 << 5;
}

void PruebaVentana::irAFrame() {
    QFETCH(int, pedido);
    QFETCH(double, x);
    QFETCH(int, disparos);
    QFETCH(int, siguiente);
    // Shots of frames 0, 2, 2 and 4.
    const QByteArray carrera = escribe("carrera.txt", "1 a p 0 0 0 0 s 0 0 1 1 p 1 0 0 0 p 2 0 0 0 "
                                                      "s 2 2 3 3 s 4 4 5 5 p 3 0 0 0 p 4 0 0 0 "
                                                      "s 6 6 7 7");
    const QByteArray mapa = escribe("mapa.txt", kMapa);
    CVentana ventana(carrera.constData(), mapa.constData());
    QCOMPARE(ventana.reproductor()->numeroFrames(), 5u);
    ventana.step();
    ventana.step(); // somewhere else first, so the jump has to undo it
    ventana.reproductor()->irAFrame(pedido);
    QCOMPARE(ventana.vista()->posicionJugador(0).x(), x);
    QCOMPARE(ventana.reproductor()->frame(), static_cast<long long>(x));
    QCOMPARE(ventana.vista()->iniciosDisparos().size(), disparos);
    QCOMPARE(ventana.reproductor()->reproduccion().siguienteFrame(),
             static_cast<std::uint32_t>(siguiente));
    // Later shots still come with their frames.
    int vistos = 0;
    for (int i = 0; i < 6; ++i) {
        ventana.step();
        vistos += static_cast<int>(ventana.vista()->iniciosDisparos().size());
    }
    const int pendientes = x < 2 ? 3 : (x < 4 ? 1 : 0);
    QCOMPARE(vistos, pendientes);
}

QTEST_MAIN(PruebaVentana)
#include "prueba_ventana.moc"
