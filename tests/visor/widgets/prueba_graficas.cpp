// The "Gráficas" window: the points of its three charts for a small race, the
// players' colours, the frame of a clicked point, and PNG and SVG export.
#include "carrera_de_vueltas.h"
#include "paneles/CGraficas.h"

#include "geometria/colores.h"
#include "paneles/exportar_grafica.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLineSeries>
#include <QListWidget>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

namespace {

// alfa completes laps at frames 1 and 3; beta its first at frame 2, then
// jumps two laps at frame 5 and so passes alfa.
const std::vector<std::vector<int>> kVueltas = {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 1}, {2, 3}};
const QStringList kNombres = {"alfa", "beta"};

QList<QPointF> puntos(const CGraficas& graficas, CGraficas::Grafica g, int jugador) {
    return graficas.series(g)[static_cast<std::size_t>(jugador)]->points();
}

} // namespace

Q_DECLARE_METATYPE(CGraficas::Grafica)

class PruebaGraficas : public QObject {
    Q_OBJECT

private slots:
    void puntos_data() {
        QTest::addColumn<CGraficas::Grafica>("grafica");
        QTest::addColumn<int>("jugador");
        QTest::addColumn<QList<QPointF>>("esperados");
        // Lap chart: (lap count, position), at the start and each completion.
        QTest::newRow("posiciones alfa")
            << CGraficas::Posiciones << 0 << QList<QPointF>{{0, 1}, {1, 1}, {2, 1}};
        QTest::newRow("posiciones beta")
            << CGraficas::Posiciones << 1 << QList<QPointF>{{0, 2}, {1, 2}, {3, 1}};
        // Lap times: the jump's first lap has the time, the second none.
        QTest::newRow("tiempos alfa") << CGraficas::Tiempos << 0 << QList<QPointF>{{1, 1}, {2, 2}};
        QTest::newRow("tiempos beta") << CGraficas::Tiempos << 1 << QList<QPointF>{{1, 2}, {2, 3}};
        // Laps against frames, as steps, up to the last frame.
        QTest::newRow("vueltas alfa")
            << CGraficas::Vueltas << 0
            << QList<QPointF>{{0, 0}, {1, 0}, {1, 1}, {3, 1}, {3, 2}, {5, 2}};
        QTest::newRow("vueltas beta")
            << CGraficas::Vueltas << 1 << QList<QPointF>{{0, 0}, {2, 0}, {2, 1}, {5, 1}, {5, 3}};
    }

    void puntos() {
        QFETCH(CGraficas::Grafica, grafica);
        QFETCH(int, jugador);
        QFETCH(QList<QPointF>, esperados);
        const zul::AnalisisCarrera analisis(carreraDeVueltas(2, kVueltas));
        const CGraficas graficas(&analisis, kNombres);
        QCOMPARE(graficas.series(grafica).size(), std::size_t{2});
        QCOMPARE(::puntos(graficas, grafica, jugador), esperados);
        const QXYSeries* serie = graficas.series(grafica)[static_cast<std::size_t>(jugador)];
        QCOMPARE(serie->name(), kNombres[jugador]);
        QCOMPARE(serie->pen().color(), zul::colorSobreBlanco(jugador));
        QVERIFY(!graficas.grafica(grafica)->title().isEmpty());
    }

    void clicEnUnPuntoDaSuFrame() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(2, kVueltas));
        CGraficas graficas(&analisis, kNombres);
        graficas.resize(900, 600);
        graficas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graficas));
        QSignalSpy elegidos(&graficas, &CGraficas::frameElegido);

        // A real click on beta's third lap chart point (lap 3, first place).
        QChartView* vista = graficas.vista(CGraficas::Posiciones);
        QChart* chart = graficas.grafica(CGraficas::Posiciones);
        QXYSeries* beta = graficas.series(CGraficas::Posiciones)[1];
        const QPointF escena = chart->mapToScene(chart->mapToPosition(QPointF(3, 1), beta));
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, vista->mapFromScene(escena));
        QTRY_COMPARE(elegidos.count(), 1);
        QCOMPARE(elegidos.takeFirst().first().toLongLong(), 5LL);

        // Clicks land near a point, not on it: the nearest one on screen wins.
        QCOMPARE(graficas.frameDelPunto(CGraficas::Tiempos, 0, QPointF(1.9, 2.2)), 3LL);
        QCOMPARE(graficas.frameDelPunto(CGraficas::Vueltas, 1, QPointF(2.1, 0.9)), 2LL);
        QCOMPARE(graficas.frameDelPunto(CGraficas::Vueltas, 5, QPointF(0, 0)), -1LL);
        emit graficas.series(CGraficas::Tiempos)[1]->clicked(QPointF(2, 3));
        QCOMPARE(elegidos.count(), 1);
        QCOMPARE(elegidos.takeFirst().first().toLongLong(), 5LL);
    }

    void exportaPngYSvg() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(2, kVueltas));
        CGraficas graficas(&analisis, kNombres);
        graficas.resize(900, 600);
        graficas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graficas));
        QTemporaryDir carpeta;
        for (int g = 0; g < CGraficas::NumGraficas; ++g) {
            graficas.muestraGrafica(static_cast<CGraficas::Grafica>(g));
            QChartView* vista = graficas.vista(static_cast<CGraficas::Grafica>(g));
            const QString png = carpeta.filePath(QStringLiteral("g%1.png").arg(g));
            const QString svg = carpeta.filePath(QStringLiteral("g%1.svg").arg(g));
            QString error;
            QVERIFY2(zul::exportaGraficaPng(vista, png, error), qPrintable(error));
            QVERIFY2(zul::exportaGraficaSvg(vista, svg, error), qPrintable(error));

            QImageReader lector(png);
            QCOMPARE(lector.format(), QByteArray("png"));
            const QImage imagen = lector.read();
            QCOMPARE(imagen.size(), vista->size());
            // alfa's line is drawn in its panel colour.
            bool colorDeAlfa = false;
            const QColor alfa(QStringLiteral("#") + zul::colorEtiqueta(0));
            for (int y = 0; y < imagen.height() && !colorDeAlfa; ++y) {
                for (int x = 0; x < imagen.width() && !colorDeAlfa; ++x) {
                    colorDeAlfa = imagen.pixelColor(x, y) == alfa;
                }
            }
            QVERIFY(colorDeAlfa);

            QSvgRenderer dibujo(svg);
            QVERIFY(dibujo.isValid());
            QFile texto(svg);
            QVERIFY(texto.open(QIODevice::ReadOnly));
            const QByteArray contenido = texto.readAll();
            QVERIFY(contenido.contains("<svg"));
            QVERIFY(contenido.contains(
                graficas.grafica(static_cast<CGraficas::Grafica>(g))->title().toUtf8()));
        }
        QString error;
        const QString mala = carpeta.filePath(QStringLiteral("no/existe.png"));
        QVERIFY(!zul::exportaGraficaPng(graficas.vista(CGraficas::Posiciones), mala, error));
        QVERIFY(error.contains(mala));
        QVERIFY(!zul::exportaGraficaSvg(graficas.vista(CGraficas::Posiciones),
                                        carpeta.filePath(QStringLiteral("no/existe.svg")), error));
        QVERIFY(error.contains(QStringLiteral("existe.svg")));
    }

    // SVG over an earlier drawing: through a link, keeping its permissions,
    // and on a full disk, where the reason is told and the drawing stays.
    void svgSobreOtro_data() {
        QTest::addColumn<bool>("enlace");
        QTest::addColumn<bool>("lleno");
        QTest::newRow("enlace") << true << false;
        QTest::newRow("permisos") << false << false;
        QTest::newRow("disco lleno") << false << true;
    }

    void svgSobreOtro() {
        QFETCH(bool, enlace);
        QFETCH(bool, lleno);
        const zul::AnalisisCarrera analisis(carreraDeVueltas(2, kVueltas));
        CGraficas graficas(&analisis, kNombres);
        QTemporaryDir carpeta;
        const QString destino = carpeta.filePath(QStringLiteral("g.svg"));
        const QString ruta = enlace ? carpeta.filePath(QStringLiteral("enlace.svg")) : destino;
        QFile anterior(destino);
        QVERIFY(anterior.open(QIODevice::WriteOnly));
        anterior.write("anterior");
        anterior.close();
        QVERIFY(anterior.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        if (enlace) {
            QVERIFY(QFile::link(QStringLiteral("g.svg"), ruta));
        }
        static const zul::LlamadasEscritura discoLleno = {[](int, const void*, size_t) -> ssize_t {
                                                              errno = ENOSPC;
                                                              return -1;
                                                          },
                                                          &::fsync, &::close};
        QString error;
        const bool bien = zul::exportaGraficaSvg(graficas.vista(CGraficas::Posiciones), ruta, error,
                                                 lleno ? discoLleno : zul::llamadasDelSistema());
        QCOMPARE(bien, !lleno);
        if (lleno) {
            QCOMPARE(error, QStringLiteral("No se pudo guardar la gráfica en %1: no queda espacio "
                                           "en el disco.")
                                .arg(ruta));
        }
        QCOMPARE(QFileInfo(ruta).isSymLink(), enlace);
        QVERIFY(anterior.open(QIODevice::ReadOnly));
        QCOMPARE(anterior.readAll().startsWith("<?xml"), !lleno);
        QCOMPARE(anterior.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                             QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 enlace ? 2 : 1);
    }

    // The race grows: the charts are built again with the new laps.
    void actualiza() {
        zul::Carrera c = carreraDeVueltas(2, {kVueltas[0], kVueltas[1]});
        zul::AnalisisCarrera analisis(c);
        CGraficas graficas(&analisis, kNombres);
        QCOMPARE(::puntos(graficas, CGraficas::Tiempos, 0).size(), 1);
        c = carreraDeVueltas(2, kVueltas);
        analisis.extiende(c);
        graficas.actualiza();
        QCOMPARE(::puntos(graficas, CGraficas::Tiempos, 0).size(), 2);
        QCOMPARE(graficas.series(CGraficas::Tiempos).size(), std::size_t{2});
    }

    // "Hasta el paso actual": only the points up to the frame on show, and
    // the line that marks it.
    void hastaElPasoActual_data() {
        QTest::addColumn<CGraficas::Grafica>("grafica");
        QTest::addColumn<int>("jugador");
        QTest::addColumn<QList<QPointF>>("esperados");
        QTest::addColumn<double>("marca");
        QTest::newRow("posiciones beta")
            << CGraficas::Posiciones << 1 << QList<QPointF>{{0, 2}, {1, 2}} << 1.0;
        QTest::newRow("tiempos alfa") << CGraficas::Tiempos << 0 << QList<QPointF>{{1, 1}} << 1.0;
        // The staircase runs on to the frame on show.
        QTest::newRow("vueltas alfa")
            << CGraficas::Vueltas << 0 << QList<QPointF>{{0, 0}, {1, 0}, {1, 1}, {2, 1}} << 2.0;
    }

    void hastaElPasoActual() {
        QFETCH(CGraficas::Grafica, grafica);
        QFETCH(int, jugador);
        QFETCH(QList<QPointF>, esperados);
        QFETCH(double, marca);
        const zul::AnalisisCarrera analisis(carreraDeVueltas(2, kVueltas));
        CGraficas graficas(&analisis, kNombres);
        graficas.muestraGrafica(grafica);
        graficas.muestraFrame(2);
        QVERIFY(!graficas.marcaFrame(grafica)->isVisible());
        graficas.casillaHastaFrame()->setChecked(true);
        QCOMPARE(::puntos(graficas, grafica, jugador), esperados);
        QVERIFY(graficas.marcaFrame(grafica)->isVisible());
        QCOMPARE(graficas.marcaFrame(grafica)->at(0).x(), marca);
        graficas.casillaHastaFrame()->setChecked(false);
        QVERIFY(::puntos(graficas, grafica, jugador).size() > esperados.size());
        QVERIFY(!graficas.marcaFrame(grafica)->isVisible());
    }

    // Forty players: a legend of forty names, the followed line thicker, and
    // every colour readable on white.
    void muchosJugadores() {
        std::vector<std::vector<int>> vueltas(3, std::vector<int>(40, 0));
        vueltas[2][7] = 1;
        QStringList nombres;
        for (int j = 0; j < 40; ++j) {
            nombres.append(QStringLiteral("P%1").arg(j));
            QVERIFY2(zul::contrasteConBlanco(zul::colorSobreBlanco(j)) >= 3.0,
                     qPrintable(QString::number(j)));
        }
        const zul::AnalisisCarrera analisis(carreraDeVueltas(40, vueltas));
        CGraficas graficas(&analisis, nombres);
        QCOMPARE(graficas.leyenda()->count(), 40);
        QCOMPARE(graficas.leyenda()->item(7)->text(), QStringLiteral("P7"));
        graficas.ponJugadorSeguido(7);
        const auto& series = graficas.series(CGraficas::Posiciones);
        QVERIFY(series[7]->pen().widthF() > series[6]->pen().widthF());
        QCOMPARE(CGraficas::textoPunto(CGraficas::Posiciones, QStringLiteral("P7"), {1, 2}),
                 QStringLiteral("P7\nVuelta 1: posición 2"));
    }

    void sinFramesNoHayPuntos() {
        const zul::AnalisisCarrera analisis(carreraDeVueltas(2, {}));
        const CGraficas graficas(&analisis, kNombres);
        for (int g = 0; g < CGraficas::NumGraficas; ++g) {
            QCOMPARE(::puntos(graficas, static_cast<CGraficas::Grafica>(g), 1).size(), 0);
        }
    }
};

QTEST_MAIN(PruebaGraficas)
#include "prueba_graficas.moc"
