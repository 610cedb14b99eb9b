// The kart inspector in the real window: opened by I, by a click on a kart;
// following seeks and steps; closed by Esc and by a second click.
#include "paneles/CFichaKart.h"
#include "paneles/CGraficaTelemetria.h"
#include "paneles/CGraficas.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CVisualizador.h"
#include "ventana_de_prueba.h"

#include <QListWidget>
#include <QTabWidget>
#include <QXYSeries>
#include <QtTest>

namespace {

QByteArray mapaMuros() {
    QByteArray texto = "20 40\n";
    for (int i = 0; i < 20 * 40; ++i) {
        texto += "5 ";
    }
    return texto;
}

// alfa drives right half a cell a step and completes lap 1 at frame 6; beta
// stands still at (9, 14.5).
QByteArray carrera() {
    QByteArray texto = "2 alfa beta\n";
    for (int k = 0; k < 12; ++k) {
        texto += "p " + QByteArray::number(5.0 + 0.5 * k) + " 10.5 0 " + (k < 6 ? "0" : "1") +
                 "\np 9 14.5 1.5707963267948966 0\n";
    }
    return texto;
}

} // namespace

class PruebaFichaKart : public QObject {
    Q_OBJECT

private slots:
    void sigueAlFrame_data();
    void sigueAlFrame();
    void clicEnUnKart();
    void fantasma();
    void graficas();
};

void PruebaFichaKart::sigueAlFrame_data() {
    QTest::addColumn<QString>("accion");
    QTest::addColumn<QStringList>("dice");
    QTest::newRow("abre") << ""
                          << QStringList{"alfa (jugador 0)", "Paso: 0",
                                         "Velocidad: 0,00 casillas/paso"};
    QTest::newRow("salta") << "ir 4"
                           << QStringList{"Paso: 4", "Velocidad: 0,50 casillas/paso",
                                          "Distancia: 2,00 casillas", "Rumbo: 0,00°"};
    QTest::newRow("paso") << "paso"
                          << QStringList{"Paso: 5", "Distancia: 2,50 casillas",
                                         "Vuelta en curso: 5 pasos"};
    QTest::newRow("atrás") << "atras" << QStringList{"Paso: 4", "Distancia: 2,00 casillas"};
    QTest::newRow("vuelta hecha") << "ir 7"
                                  << QStringList{"Paso: 7",          "Vueltas: 1",
                                                 "Última vuelta: 6", "Vuelta en curso: 1 paso",
                                                 "Puesto: 1 de 2",   "Con el líder: Líder"};
    QTest::newRow("más allá del final")
        << "ir 40" << QStringList{"Paso: 11", "Distancia: 5,50 casillas"};
}

void PruebaFichaKart::sigueAlFrame() {
    QFETCH(QString, accion);
    QFETCH(QStringList, dice);
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapaMuros(), QSize(900, 600));
    QTest::keyClick(ventana->vista(), Qt::Key_I);
    CFichaKart* ficha = ventana->telemetriaVentana()->ficha();
    QCOMPARE(ficha->jugador(), 0);
    // Each row walks the steps before it, as a user would.
    const QStringList acciones = {"", "ir 4", "paso", "atras", "ir 7", "ir 40"};
    for (const QString& a : acciones.mid(0, acciones.indexOf(accion) + 1)) {
        if (a.startsWith("ir ")) {
            ventana->reproductor()->irAFrame(a.mid(3).toLongLong());
        } else if (a == "paso") {
            ventana->step();
        } else if (a == "atras") {
            ventana->reproductor()->retrocede();
        }
    }
    for (const QString& linea : dice) {
        QVERIFY2(ficha->lineas().contains(linea), qPrintable(ficha->lineas().join(" | ")));
    }
    QTest::keyClick(ventana->vista(), Qt::Key_Escape);
    QCOMPARE(ficha->jugador(), -1);
    QVERIFY(ficha->isHidden());
}

void PruebaFichaKart::clicEnUnKart() {
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapaMuros(), QSize(900, 600));
    CVisualizador* vista = ventana->vista();
    CFichaKart* ficha = ventana->telemetriaVentana()->ficha();
    const auto clic = [&] {
        const QPointF pixel = vista->encuadre().aPixel(vista->posicionJugador(1));
        QTest::mouseClick(vista, Qt::LeftButton, {}, pixel.toPoint());
    };
    clic();
    QCOMPARE(ficha->jugador(), 1);
    QVERIFY(ficha->lineas().contains("beta (jugador 1)"));
    QVERIFY(ficha->lineas().contains("Rumbo: 90,00°"));
    // The card follows the frame on show, and leaves the clicks to the track.
    ventana->reproductor()->irAFrame(3);
    QVERIFY(ficha->lineas().contains("Paso: 3"));
    clic();
    QCOMPARE(ficha->jugador(), -1);
    // A click off every kart leaves a closed card closed.
    QTest::mouseClick(vista, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(ficha->jugador(), -1);
}

// A ghost in the window: one that cannot be read leaves the race as it was;
// a copy of the race shows under it, and the card gives the delta.
void PruebaFichaKart::fantasma() {
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapaMuros(), QSize(900, 600));
    QString error;
    QVERIFY(!ventana->telemetriaVentana()->cargaFantasma(dir.filePath("nada.txt"),
                                                         zul::Alineacion::Paso, &error));
    QVERIFY2(error.contains("nada.txt: No se pudo abrir el archivo"), qPrintable(error));
    QVERIFY(ventana->vista()->capaFantasma().karts.isEmpty());
    QCOMPARE(ventana->reproductor()->numeroFrames(), 12u);
    QVERIFY(ventana->telemetriaVentana()->cargaFantasma(dir.filePath("carrera.txt"),
                                                        zul::Alineacion::Paso, &error));
    ventana->reproductor()->irAFrame(5);
    const zul::CapaFantasma& capa = ventana->vista()->capaFantasma();
    QCOMPARE(capa.karts.size(), 2);
    QCOMPARE(capa.karts[0].posicion, QPointF(7.5, 10.5));
    QCOMPARE(capa.karts[1].nombre, QStringLiteral("beta"));
    ventana->telemetriaVentana()->alternaFicha(0);
    QVERIFY2(
        ventana->telemetriaVentana()->ficha()->lineas().contains("Contra el fantasma: 0,00 pasos"),
        qPrintable(ventana->telemetriaVentana()->ficha()->lineas().join(" | ")));
    QVERIFY(ventana->telemetriaVentana()->cargaFantasma(QString(), zul::Alineacion::Paso));
    QVERIFY(ventana->vista()->capaFantasma().karts.isEmpty());
}

// The charts' telemetry tabs: speed by steps for the followed player and
// the ticked ones, or round the lap; the delta while a ghost is loaded.
void PruebaFichaKart::graficas() {
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapaMuros(), QSize(900, 600));
    QVERIFY(ventana->telemetriaVentana()->cargaFantasma(dir.filePath("carrera.txt"),
                                                        zul::Alineacion::Paso));
    QTest::keyClick(ventana->vista(), Qt::Key_G);
    CGraficas* graficas = ventana->clasificacion()->graficas();
    QVERIFY(graficas != nullptr);
    QTabWidget* pestanas = graficas->pestanasGraficas();
    QCOMPARE(pestanas->tabText(CGraficas::NumGraficas), QStringLiteral("Velocidad"));
    QCOMPARE(pestanas->tabText(CGraficas::NumGraficas + 1), QStringLiteral("Delta"));

    CGraficaTelemetria* velocidad = ventana->telemetriaVentana()->graficaVelocidad();
    pestanas->setCurrentWidget(velocidad);
    QCOMPARE(graficas->graficaVisible(), CGraficas::NumGraficas);
    QCOMPARE(velocidad->series().size(), 1u);
    QCOMPARE(velocidad->series()[0]->count(), 12);
    QCOMPARE(velocidad->series()[0]->at(4), QPointF(4, 0.5));
    velocidad->jugadores()->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(velocidad->series().size(), 2u);
    velocidad->ponModo(CGraficaTelemetria::PorVueltas);
    // alfa's lap 1 (6 steps) and the one on the way.
    QCOMPARE(velocidad->series().size(), 2u);
    QCOMPARE(velocidad->serieMejor(), 0);

    CGraficaTelemetria* delta = ventana->telemetriaVentana()->graficaDelta();
    pestanas->setCurrentWidget(delta);
    QCOMPARE(delta->series().size(), 2u);
    for (QXYSeries* serie : delta->series()) {
        for (const QPointF& p : serie->points()) {
            QVERIFY(p.x() >= 0.0 && p.x() <= 1.0 && p.y() == 0.0);
        }
    }
    // No ghost, no delta.
    QVERIFY(ventana->telemetriaVentana()->cargaFantasma(QString(), zul::Alineacion::Paso));
    QCOMPARE(pestanas->count(), CGraficas::NumGraficas + 1);
}

QTEST_MAIN(PruebaFichaKart)
#include "prueba_ficha_kart.moc"
