// `visor --resultados` through the real program, with no display and no map:
// the three formats, a bad file among good ones, and bad usage.
#include "visor_sin_pantalla.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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
    void salidaLlena();

private:
    Resultado ejecuta(const QStringList& argumentos);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaOrdenResultados::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    for (const auto& [nombre, contenido] :
         {std::pair{"carrera.txt", kCarrera}, {"otra.txt", kOtra}, {"vacia.txt", "2 a b\n"}}) {
        QFile archivo(dir->filePath(QString::fromLatin1(nombre)));
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        QCOMPARE(archivo.write(contenido), qint64(qstrlen(contenido)));
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
    for (const char* texto :
         {"--resultados [--formato texto|csv|json] CARRERA...", "--formato F"}) {
        QVERIFY2(r.salida.contains(texto), r.salida.constData());
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

QTEST_MAIN(PruebaOrdenResultados)
#include "prueba_orden_resultados.moc"
