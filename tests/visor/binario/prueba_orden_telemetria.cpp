// `visor --telemetria` through the real program on the sample race, checked
// against a computation of its own here; and how the headless modes refuse a
// ghost race that cannot be read.
#include "analisis/analisis.h"
#include "visor_sin_pantalla.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

const QString kCarrera = QStringLiteral(ZUL_EJEMPLOS "/carrera.txt");
const QString kMapa = QStringLiteral(ZUL_EJEMPLOS "/mapa.txt");
const QStringList kColumnas = {"paso",      "jugador",   "x",       "y",        "angulo",
                               "velocidad", "distancia", "vueltas", "progreso", "posicion"};

// The sample race read plainly: "p x y angle laps" records after the header.
struct Registro {
    double x, y, angulo;
    int vueltas;
};

struct Leida {
    int jugadores = 0;
    std::vector<Registro> registros;
};

Leida leeAMano(const QString& ruta) {
    QFile archivo(ruta);
    archivo.open(QIODevice::ReadOnly);
    const QList<QByteArray> palabras = archivo.readAll().simplified().split(' ');
    Leida leida;
    leida.jugadores = palabras[0].toInt();
    for (qsizetype i = 1 + leida.jugadores; i + 4 < palabras.size(); ++i) {
        if (palabras[i] == "p") {
            leida.registros.push_back({palabras[i + 1].toDouble(), palabras[i + 2].toDouble(),
                                       palabras[i + 3].toDouble(), palabras[i + 4].toInt()});
            i += 4;
        }
    }
    return leida;
}

} // namespace

class PruebaOrdenTelemetria : public QObject {
    Q_OBJECT

private slots:
    void init();
    void csvComoLaCuentaPropia();
    void jsonIgualQueCsv();
    void errores_data();
    void errores();

private:
    ResultadoVisor ejecuta(const QStringList& argumentos) {
        return ejecutaVisor(QStringLiteral(ZUL_BINARIO_VISOR), dir->path(), argumentos);
    }
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaOrdenTelemetria::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void PruebaOrdenTelemetria::csvComoLaCuentaPropia() {
    const ResultadoVisor r = ejecuta({"--telemetria", kCarrera, kMapa});
    QCOMPARE(r.estado, 0);
    QVERIFY2(r.errores.isEmpty(), qPrintable(r.errores));
    const QList<QByteArray> lineas = r.salida.split('\n');
    QCOMPARE(lineas.first(), kColumnas.join(',').toLatin1() + '\r');
    const Leida leida = leeAMano(kCarrera);
    const int n = leida.jugadores;
    const std::size_t frames = leida.registros.size() / static_cast<std::size_t>(n);
    QCOMPARE(static_cast<std::size_t>(lineas.size()), frames * n + 2); // header, final break
    zul::Carrera carrera;
    std::FILE* archivo = std::fopen(QFile::encodeName(kCarrera).constData(), "r");
    QVERIFY(archivo != nullptr);
    zul::leerCarrera(archivo, carrera);
    std::fclose(archivo);
    // Ranked by progress round the track, as the window's standings are.
    zul::Mapa mapa;
    archivo = std::fopen(QFile::encodeName(kMapa).constData(), "r");
    QVERIFY(archivo != nullptr);
    zul::leerMapa(archivo, mapa);
    std::fclose(archivo);
    const zul::AnalisisCarrera analisis(carrera, mapa);
    int conProgreso = 0;
    std::vector<double> recorrido(static_cast<std::size_t>(n), 0.0);
    for (std::size_t i = 0; i < frames * n; ++i) {
        const int k = static_cast<int>(i / n);
        const int j = static_cast<int>(i % n);
        const Registro& yo = leida.registros[i];
        double velocidad = 0.0;
        if (k > 0) {
            const Registro& antes = leida.registros[i - n];
            velocidad = std::sqrt((yo.x - antes.x) * (yo.x - antes.x) +
                                  (yo.y - antes.y) * (yo.y - antes.y));
        }
        recorrido[j] += velocidad;
        double grados = std::fmod(yo.angulo * 180.0 / M_PI, 360.0);
        grados += grados < 0 ? 360.0 : 0.0;
        const QList<QByteArray> campos = lineas[static_cast<qsizetype>(i) + 1].trimmed().split(',');
        QCOMPARE(campos.size(), kColumnas.size());
        const QString donde = QStringLiteral("paso %1, jugador %2").arg(k).arg(j);
        QVERIFY2(campos[0].toInt() == k && campos[1].toInt() == j, qPrintable(donde));
        const double esperados[] = {yo.x, yo.y, grados, velocidad, recorrido[j]};
        for (int c = 0; c < 5; ++c) {
            QVERIFY2(std::abs(campos[2 + c].toDouble() - esperados[c]) < 1e-6,
                     qPrintable(donde + QStringLiteral(": %1 = %2, no %3")
                                            .arg(kColumnas[2 + c], campos[2 + c])
                                            .arg(esperados[c])));
        }
        QVERIFY2(campos[7].toInt() == yo.vueltas, qPrintable(donde));
        // Progress, where known, is the laps and a fraction of the next.
        bool conocido = false;
        const double progreso = campos[8].toDouble(&conocido);
        QVERIFY2(campos[8].isEmpty() || (conocido && std::isfinite(progreso)), qPrintable(donde));
        if (conocido) {
            QVERIFY2(progreso >= yo.vueltas && progreso <= yo.vueltas + 1, qPrintable(donde));
            ++conProgreso;
        }
        QVERIFY2(campos[9].toInt() == analisis.posicion(j, k), qPrintable(donde));
    }
    // The sample's karts complete laps: the track's progress is learnt.
    QVERIFY(conProgreso > 0);
}

void PruebaOrdenTelemetria::jsonIgualQueCsv() {
    const ResultadoVisor csv = ejecuta({"--telemetria", "--jugador", "2", kCarrera, kMapa});
    const ResultadoVisor json =
        ejecuta({"--telemetria", "--formato", "json", "--jugador=2", kCarrera, kMapa});
    QCOMPARE(json.estado, 0);
    QJsonParseError error;
    const QJsonArray filas = QJsonDocument::fromJson(json.salida, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QList<QByteArray> lineas = csv.salida.trimmed().split('\n');
    QCOMPARE(filas.size(), lineas.size() - 1);
    for (qsizetype f = 0; f < filas.size(); ++f) {
        const QJsonObject objeto = filas[f].toObject();
        QCOMPARE(objeto.keys().size(), kColumnas.size());
        const QList<QByteArray> campos = lineas[f + 1].trimmed().split(',');
        for (qsizetype c = 0; c < kColumnas.size(); ++c) {
            const QJsonValue valor = objeto.value(kColumnas[c]);
            if (campos[c].isEmpty()) {
                QVERIFY(valor.isNull());
            } else {
                QCOMPARE(valor.toDouble(), campos[c].toDouble());
            }
        }
        QCOMPARE(objeto.value("jugador").toInt(), 2);
    }
}

void PruebaOrdenTelemetria::errores_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("dice");
    QTest::newRow("carrera que no existe") << QStringList{"--telemetria", "nada.txt", kMapa} << 1
                                           << "visor: nada.txt: No se pudo abrir el archivo";
    QTest::newRow("jugador que no existe")
        << QStringList{"--telemetria", "--jugador", "5", kCarrera, kMapa} << 1
        << "no existe el jugador 5";
    QTest::newRow("formato texto")
        << QStringList{"--telemetria", "--formato", "texto", kCarrera, kMapa} << 2 << "«texto»";
    QTest::newRow("sin mapa") << QStringList{"--telemetria", kCarrera} << 2 << "faltan archivos";
    QTest::newRow("con --png") << QStringList{"--telemetria", "--png", "x.png", kCarrera, kMapa}
                               << 2 << "--png";
    QTest::newRow("fantasma que no existe")
        << QStringList{"--png", "x.png", "--fantasma", "nada.txt", kCarrera, kMapa} << 1
        << "visor: nada.txt: No se pudo abrir el archivo";
    QTest::newRow("fantasma que es una carpeta")
        << QStringList{"--video", "x.mp4", "--fantasma", ".", kCarrera, kMapa} << 1 << "visor: .: ";
    QTest::newRow("alineación desconocida")
        << QStringList{"--png",     "x.png", "--fantasma", kCarrera,
                       "--alinear", "meta",  kCarrera,     kMapa}
        << 2 << "«meta»";
    QTest::newRow("fantasma en la ventana sin mapa")
        << QStringList{"--fantasma", kCarrera, kCarrera} << 2 << "necesita la carrera y el mapa";
    QTest::newRow("alinear sin fantasma")
        << QStringList{"--png", "x.png", "--alinear", "vuelta", kCarrera, kMapa} << 2
        << "--fantasma";
}

void PruebaOrdenTelemetria::errores() {
    QFETCH(QStringList, argumentos);
    QFETCH(int, estado);
    QFETCH(QString, dice);
    const ResultadoVisor r = ejecuta(argumentos);
    QCOMPARE(r.estado, estado);
    QVERIFY2(r.errores.contains(dice), qPrintable(r.errores));
    QVERIFY(r.salida.isEmpty());
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(PruebaOrdenTelemetria)
#include "prueba_orden_telemetria.moc"
