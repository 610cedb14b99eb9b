// `visor --resultados` through the real program, with no display: the three
// formats, a bad file among good ones, bad usage, and a step and a map.
#include "visor_sin_pantalla.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// alfa completes laps at frames 2 and 4, "be,ta" (a name a CSV must quote)
// its first at 3; the log is cut inside frame 5.
const QByteArray kCarrera = "2 alfa be,ta\n"
                            "p 0 0 0 0\np 0 0 0 0\n"
                            "p 0 0 0 0\np 0 0 0 0\n"
                            "p 0 0 0 1\np 0 0 0 0\n"
                            "p 0 0 0 1\np 0 0 0 1\n"
                            "p 0 0 0 2\np 0 0 0 1\n"
                            "p 0 0 0 3\n";
// One player, "com\"illa", who never completes a lap.
const QByteArray kOtra = "1 com\"illa\np 1 1 0 0\np 1 1 0 0\n";

// A rectangle of track three cells wide round a wall, and two karts driven
// round its middle from just past the line at x = 8 on the top: "a" starts
// ahead, "b" is quicker and passes it on step 12, inside the first lap, with
// no lap count changing.
QByteArray ovalo() {
    QByteArray mapa = "14 24\n";
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 24; ++x) {
            const bool pared =
                x == 0 || y == 0 || x == 23 || y == 13 || (x >= 4 && x < 20 && y >= 4 && y < 10);
            mapa += pared ? "5 " : "4 ";
        }
        mapa += '\n';
    }
    return mapa;
}

QByteArray carreraOvalo() {
    const QPointF esquinas[] = {{8.0, 2.5}, {21.5, 2.5}, {21.5, 11.5}, {2.5, 11.5}, {2.5, 2.5}};
    const auto punto = [&](double s, int& vueltas) {
        const double largo = 56.0;
        vueltas = static_cast<int>(s / largo);
        s -= vueltas * largo;
        for (int i = 0;; ++i) {
            const QPointF d = esquinas[(i + 1) % 5] - esquinas[i];
            const double l = std::hypot(d.x(), d.y());
            if (s <= l) {
                return esquinas[i] + d * (s / l);
            }
            s -= l;
        }
    };
    QByteArray texto = "2 a b\n";
    for (int k = 0; k < 300; ++k) {
        for (const auto& [inicio, velocidad] : {std::pair{3.0, 0.45}, std::pair{1.0, 0.62}}) {
            int vueltas = 0;
            const QPointF p = punto(inicio + velocidad * k, vueltas);
            texto += QByteArray("p ") + QByteArray::number(p.x(), 'f', 3) + ' ' +
                     QByteArray::number(p.y(), 'f', 3) + " 0 " + QByteArray::number(vueltas) + '\n';
        }
    }
    return texto;
}

using Resultado = ResultadoVisor;

} // namespace

class PruebaOrdenResultados : public QObject {
    Q_OBJECT

private slots:
    void init();
    void formatos_data();
    void formatos();
    void json();
    void archivoMaloEntreBuenos_data();
    void archivoMaloEntreBuenos();
    void usoIncorrecto_data();
    void usoIncorrecto();
    void ayuda();
    void pasoYMapa_data();
    void pasoYMapa();
    void salidaLlena();
    void tuberiaLeidaUnaVez();

private:
    Resultado ejecuta(const QStringList& argumentos);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaOrdenResultados::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    for (const auto& [nombre, contenido] : {std::pair{"carrera.txt", kCarrera},
                                            {"otra.txt", kOtra},
                                            {"vacia.txt", "2 a b\n"},
                                            {"ovalo.txt", ovalo()},
                                            {"carrera_ovalo.txt", carreraOvalo()}}) {
        QFile archivo(dir->filePath(QString::fromLatin1(nombre)));
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        QCOMPARE(archivo.write(contenido), qint64(contenido.size()));
    }
}

Resultado PruebaOrdenResultados::ejecuta(const QStringList& argumentos) {
    // No display of any kind: the results need none.
    return ejecutaVisor(QStringLiteral(ZUL_BINARIO_VISOR), dir->path(), argumentos);
}

void PruebaOrdenResultados::formatos_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QByteArray>("esperada");
    const QByteArray texto = "Resultados de carrera.txt (paso 4, el último completo)\n"
                             "Pos  Jugador  Nombre  Vueltas  Paso  Mejor vuelta  Última vuelta  "
                             "Diferencia\n"
                             "  1        0  alfa          2     4             2              2  "
                             "Líder\n"
                             "  2        1  be,ta         1     3             3              3  "
                             "+1 vuelta\n";
    QTest::newRow("texto por defecto") << QStringList{"--resultados", "carrera.txt"} << texto;
    QTest::newRow("texto") << QStringList{"--resultados", "--formato", "texto", "carrera.txt"}
                           << texto;
    QTest::newRow("opciones tras el archivo")
        << QStringList{"carrera.txt", "--formato=texto", "--resultados"} << texto;
    QTest::newRow("csv, dos carreras")
        << QStringList{"--resultados", "--formato", "csv", "carrera.txt", "otra.txt"}
        << QByteArray("carrera,posicion,jugador,nombre,vueltas,paso,mejor_vuelta,ultima_vuelta,"
                      "diferencia_vueltas,diferencia_pasos\r\n"
                      "carrera.txt,1,0,alfa,2,4,2,2,0,0\r\n"
                      "carrera.txt,2,1,\"be,ta\",1,3,3,3,1,\r\n"
                      "otra.txt,1,0,\"com\"\"illa\",0,0,,,0,0\r\n");
}

void PruebaOrdenResultados::formatos() {
    QFETCH(QStringList, argumentos);
    QFETCH(QByteArray, esperada);
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.errores, QString());
    QCOMPARE(r.estado, 0);
    QCOMPARE(r.salida, esperada);
}

void PruebaOrdenResultados::json() {
    const Resultado r = ejecuta({"--resultados", "--formato", "json", "carrera.txt", "otra.txt"});
    QCOMPARE(r.estado, 0);
    QJsonParseError fallo;
    const QJsonDocument documento = QJsonDocument::fromJson(r.salida, &fallo);
    QCOMPARE(fallo.error, QJsonParseError::NoError);
    QVERIFY(documento.isArray());
    const QJsonArray lista = documento.array();
    QCOMPARE(lista.size(), 3);
    const QJsonObject segundo = lista.at(1).toObject();
    QCOMPARE(segundo.value("carrera").toString(), QStringLiteral("carrera.txt"));
    QCOMPARE(segundo.value("nombre").toString(), QStringLiteral("be,ta"));
    QCOMPARE(segundo.value("posicion").toInt(), 2);
    QCOMPARE(segundo.value("diferencia_vueltas").toInt(), 1);
    QVERIFY(segundo.value("diferencia_pasos").isNull());
    const QJsonObject tercero = lista.at(2).toObject();
    QCOMPARE(tercero.value("nombre").toString(), QStringLiteral("com\"illa"));
    QVERIFY(tercero.value("mejor_vuelta").isNull());
    QVERIFY(tercero.value("paso").isDouble());
}

// A file that cannot be read, or has no results, is named on standard error;
// the races around it are still printed, and the status is 1.
void PruebaOrdenResultados::archivoMaloEntreBuenos_data() {
    QTest::addColumn<QString>("malo");
    QTest::addColumn<QString>("dice");
    QTest::newRow("no existe") << "falta.txt"
                               << "visor: falta.txt: No se pudo abrir el archivo";
    QTest::newRow("sin pasos completos") << "vacia.txt"
                                         << "visor: vacia.txt:";
    QTest::newRow("carpeta") << "."
                             << "visor: .: es una carpeta";
}

void PruebaOrdenResultados::archivoMaloEntreBuenos() {
    QFETCH(QString, malo);
    QFETCH(QString, dice);
    const Resultado r =
        ejecuta({"--resultados", "--formato", "csv", "carrera.txt", malo, "otra.txt"});
    QCOMPARE(r.estado, 1);
    QVERIFY2(r.errores.startsWith(dice), qPrintable(r.errores));
    QCOMPARE(r.errores.count('\n'), 1);
    QVERIFY(r.salida.contains("carrera.txt,2,1"));
    QVERIFY(r.salida.contains("otra.txt,1,0"));
}

void PruebaOrdenResultados::usoIncorrecto_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("dice");
    QTest::newRow("ninguna carrera") << QStringList{"--resultados"} << "faltan archivos";
    QTest::newRow("formato desconocido")
        << QStringList{"--resultados", "--formato", "xml", "carrera.txt"} << "«xml»";
    QTest::newRow("formato sin valor")
        << QStringList{"--resultados", "carrera.txt", "--formato"} << "falta el valor";
    QTest::newRow("formato sin resultados")
        << QStringList{"--formato", "csv", "carrera.txt"} << "--resultados";
    QTest::newRow("con --png") << QStringList{"--resultados", "--png", "x.png", "carrera.txt"}
                               << "--png";
    QTest::newRow("repetida") << QStringList{"--resultados", "--resultados", "carrera.txt"}
                              << "más de una vez";
    QTest::newRow("opción de Qt") << QStringList{"--resultados", "-style", "fusion", "carrera.txt"}
                                  << "-style";
}

void PruebaOrdenResultados::usoIncorrecto() {
    QFETCH(QStringList, argumentos);
    QFETCH(QString, dice);
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.estado, 2);
    QVERIFY2(r.errores.startsWith("visor: ") && r.errores.contains(dice), qPrintable(r.errores));
    QVERIFY(r.salida.isEmpty());
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.png")}, QDir::Files), QStringList());
}

// --help wins over the mode, as in every other one, and explains it.
void PruebaOrdenResultados::ayuda() {
    const Resultado r = ejecuta({"--resultados", "--formato", "csv", "--help"});
    QCOMPARE(r.estado, 0);
    for (const char* texto : {"--resultados [--mapa MAPA] [--paso K] [--formato texto|csv|json]",
                              "--formato F", "--mapa MAPA"}) {
        QVERIFY2(r.salida.contains(texto), r.salida.constData());
    }
}

// --paso K ranks step K; --mapa ranks by progress round the track and adds
// its columns at the end. Each row: the arguments, the exit status, and what
// standard output (or, on a failure, standard error) must hold.
void PruebaOrdenResultados::pasoYMapa_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QStringList>("contiene");
    QTest::newRow("paso sin mapa: las reglas de siempre")
        << QStringList{"--resultados", "--paso", "3", "carrera.txt"} << 0
        << QStringList{
               "Resultados de carrera.txt (paso 3)\n",
               "  1        0  alfa          1     2             2              2  Líder\n",
               "  2        1  be,ta         1     3             3              3  +1 paso\n"};
    QTest::newRow("paso sin mapa, en csv")
        << QStringList{"--resultados", "--formato", "csv", "--paso", "12", "carrera_ovalo.txt"} << 0
        << QStringList{"diferencia_pasos\r\ncarrera_ovalo.txt,1,0,a,0,0,,,0,0\r\n"
                       "carrera_ovalo.txt,2,1,b,0,0,,,0,0\r\n"};
    QTest::newRow("antes del adelantamiento")
        << QStringList{"--resultados", "--formato", "csv", "--mapa",
                       "ovalo.txt",    "--paso",    "6",   "carrera_ovalo.txt"}
        << 0
        << QStringList{"vuelta_ideal\r\ncarrera_ovalo.txt,1,0,a,0,0,,,0,0,0.1",
                       ",,,,,,\r\ncarrera_ovalo.txt,2,1,b,0,0,,,0,2,0.0"};
    QTest::newRow("tras el adelantamiento")
        << QStringList{"--resultados", "--formato", "csv", "--mapa",
                       "ovalo.txt",    "--paso",    "15",  "carrera_ovalo.txt"}
        << 0 << QStringList{"\r\ncarrera_ovalo.txt,1,1,b,0,0,,,0,0,0.2"};
    QTest::newRow("texto con mapa al final")
        << QStringList{"--resultados", "--mapa", "ovalo.txt", "carrera_ovalo.txt"} << 0
        << QStringList{"(paso 299, el último completo)",
                       "Diferencia  Progreso  Intervalo  S1  Mejor S1  S2  Mejor S2  S3  "
                       "Mejor S3  Vuelta ideal\n"};
    QTest::newRow("json con mapa")
        << QStringList{"--resultados", "--formato", "json",
                       "--mapa",       "ovalo.txt", "carrera_ovalo.txt"}
        << 0 << QStringList{"\"progreso\": ", "\"intervalo_pasos\": ", "\"mejor_sector3\": "};
    QTest::newRow("paso más allá del final")
        << QStringList{"--resultados", "--paso", "5", "carrera.txt"} << 1
        << QStringList{"visor: carrera.txt: El registro de carrera no llega al paso 5"};
    QTest::newRow("mapa que no existe")
        << QStringList{"--resultados", "--mapa", "falta.txt", "carrera.txt"} << 1
        << QStringList{"visor: falta.txt: No se pudo abrir el archivo"};
    QTest::newRow("paso negativo")
        << QStringList{"--resultados", "--paso", "-1", "carrera.txt"} << 2 << QStringList{"«-1»"};
}

void PruebaOrdenResultados::pasoYMapa() {
    QFETCH(QStringList, argumentos);
    QFETCH(int, estado);
    QFETCH(QStringList, contiene);
    const Resultado r = ejecuta(argumentos);
    QCOMPARE(r.estado, estado);
    const QString texto = estado == 0 ? QString::fromUtf8(r.salida) : r.errores;
    for (const QString& parte : contiene) {
        QVERIFY2(texto.contains(parte), qPrintable(texto));
    }
}

// Output into a full disk: the reason is told, and the status is 1.
void PruebaOrdenResultados::salidaLlena() {
    QProcess visor;
    visor.setStandardOutputFile(QStringLiteral("/dev/full"));
    visor.start(QStringLiteral(ZUL_BINARIO_VISOR),
                {"--resultados", dir->filePath(QStringLiteral("carrera.txt"))});
    QVERIFY(visor.waitForFinished(60000));
    QCOMPARE(visor.exitCode(), 1);
    QCOMPARE(visor.readAllStandardError(),
             QByteArray("visor: no se pudieron escribir los resultados: no queda espacio en el "
                        "disco.\n"));
}

// A FIFO as the race log: the one mode that takes it, reading it once, whole.
void PruebaOrdenResultados::tuberiaLeidaUnaVez() {
    const QByteArray tuberia = QFile::encodeName(dir->filePath(QStringLiteral("tuberia")));
    QCOMPARE(::mkfifo(tuberia.constData(), 0600), 0);
    QProcess visor;
    visor.start(QStringLiteral(ZUL_BINARIO_VISOR), {"--resultados", QFile::decodeName(tuberia)});
    QVERIFY(visor.waitForStarted());
    // Written once the viewer has opened it: until then there is no reader.
    int fd = -1;
    QDeadlineTimer plazo(30000);
    while ((fd = ::open(tuberia.constData(), O_WRONLY | O_NONBLOCK)) < 0 && !plazo.hasExpired()) {
        QTest::qWait(10);
    }
    QVERIFY(fd >= 0);
    ::fcntl(fd, F_SETFL, 0);
    QCOMPARE(::write(fd, kCarrera.constData(), kCarrera.size()), ssize_t(kCarrera.size()));
    ::close(fd);
    QVERIFY(visor.waitForFinished(60000));
    QCOMPARE(visor.readAllStandardError(), QByteArray());
    QCOMPARE(visor.exitCode(), 0);
    const Resultado archivo = ejecuta({"--resultados", "carrera.txt"});
    // The same table, under another name in its first line.
    const QByteArray salida = visor.readAllStandardOutput();
    QCOMPARE(salida.mid(salida.indexOf('\n')), archivo.salida.mid(archivo.salida.indexOf('\n')));
}

QTEST_MAIN(PruebaOrdenResultados)
#include "prueba_orden_resultados.moc"
