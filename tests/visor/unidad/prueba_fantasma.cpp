// A ghost race beside ours: which of its frames goes with ours (by step and
// by lap), where its discs are drawn, and the delta against it.
#include "analisis/fantasma.h"
#include "analisis/series_telemetria.h"
#include "geometria/colores.h"
#include "salida/fantasma_escena.h"
#include "salida/imagen_frame.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>
#include <functional>

using zul::Alineacion;

namespace {

// One player "uno" at `ruta(k)` with lap count `vueltas(k)`.
zul::Carrera carreraDe(int frames, const std::function<QPointF(int)>& ruta,
                       const std::function<int(int)>& vueltas) {
    zul::Carrera c;
    c.numJugadores = 1;
    c.nombres = {"uno"};
    for (int k = 0; k < frames; ++k) {
        c.posiciones.push_back(ruta(k));
        c.angulos.push_back(0.0);
        c.vueltas.push_back(vueltas(k));
    }
    return c;
}

// Round a 30 x 10 rectangle, one cell per frame: 80 frames a lap.
QPointF vueltaRectangulo(int k) {
    const int s = k % 80;
    if (s < 30) {
        return QPointF(5 + s, 5);
    }
    if (s < 40) {
        return QPointF(35, 5 + (s - 30));
    }
    if (s < 70) {
        return QPointF(35 - (s - 40), 15);
    }
    return QPointF(5, 15 - (s - 70));
}

const int kFrames = 250;

zul::Carrera original() {
    return carreraDe(kFrames, vueltaRectangulo, [](int k) { return k / 80; });
}

// The same drive, started 7 steps late: it waits at the start meanwhile.
zul::Carrera retrasada() {
    return carreraDe(
        kFrames + 7, [](int k) { return vueltaRectangulo(std::max(0, k - 7)); },
        [](int k) { return std::max(0, k - 7) / 80; });
}

class PruebaFantasma : public QObject {
    Q_OBJECT

private slots:
    void delta_data();
    void delta();
    void alineacion_data();
    void alineacion();
    void discos_data();
    void discos();
};

void PruebaFantasma::delta_data() {
    QTest::addColumn<bool>("nuestraRetrasada");
    QTest::addColumn<bool>("fantasmaRetrasado");
    QTest::addColumn<int>("alinear");
    QTest::addColumn<int>("desde");    // first frame checked: the kart has moved
    QTest::addColumn<double>("valor"); // the delta at every frame from there
    QTest::newRow("copia, por paso") << false << false << int(Alineacion::Paso) << 0 << 0.0;
    QTest::newRow("copia, por vuelta") << false << false << int(Alineacion::Vuelta) << 0 << 0.0;
    QTest::newRow("retrasada 7 pasos") << true << false << int(Alineacion::Paso) << 8 << 7.0;
    QTest::newRow("fantasma retrasado") << false << true << int(Alineacion::Paso) << 1 << -7.0;
    // By lap, the seven steps are lost in the first lap only.
    QTest::newRow("retrasada, por vuelta") << true << false << int(Alineacion::Vuelta) << 87 << 0.0;
}

void PruebaFantasma::delta() {
    QFETCH(bool, nuestraRetrasada);
    QFETCH(bool, fantasmaRetrasado);
    QFETCH(int, alinear);
    QFETCH(int, desde);
    QFETCH(double, valor);
    const zul::Carrera nuestra = nuestraRetrasada ? retrasada() : original();
    const zul::Carrera otra = fantasmaRetrasado ? retrasada() : original();
    const zul::AnalisisCarrera analisisNuestra(nuestra);
    const zul::AnalisisCarrera analisisOtra(otra);
    const zul::CarreraFantasma fantasma(nuestra, analisisNuestra, otra, analisisOtra,
                                        static_cast<Alineacion>(alinear));
    const std::vector<zul::PuntoDelta> deltas = fantasma.deltas(0);
    int vistos = 0;
    for (const zul::PuntoDelta& punto : deltas) {
        if (punto.frame >= desde && punto.frame < kFrames) {
            QVERIFY2(punto.delta == valor,
                     qPrintable(QStringLiteral("paso %1: %2").arg(punto.frame).arg(punto.delta)));
            ++vistos;
        }
    }
    QCOMPARE(vistos, kFrames - desde);

    // The "Delta" chart: the same values, lap by lap, placed round the lap.
    const zul::Telemetria telemetria(nuestra, analisisNuestra);
    const zul::ProgresoVuelta progreso(nuestra, analisisNuestra, nullptr);
    const zul::VueltasGrafica vueltas =
        zul::deltaPorVuelta(fantasma, analisisNuestra, telemetria, progreso, 0);
    std::size_t puntos = 0;
    for (const zul::VueltaGrafica& vuelta : vueltas.vueltas) {
        for (const zul::PuntoGrafica& p : vuelta.puntos) {
            const QString donde =
                QStringLiteral("vuelta %1, paso %2").arg(vuelta.numero).arg(p.frame);
            QVERIFY2(p.x >= 0.0 && p.x <= 1.0, qPrintable(donde));
            QVERIFY2(p.frame < desde || p.frame >= kFrames || p.y == valor, qPrintable(donde));
            ++puntos;
        }
    }
    QCOMPARE(puntos, deltas.size());
}

void PruebaFantasma::alineacion_data() {
    QTest::addColumn<int>("alinear");
    QTest::addColumn<long long>("frame");
    QTest::addColumn<long long>("esperado");
    // Our laps start at 0, 80, 160, 240; the ghost's at 0, 60, 120, 180, and it
    // ends at 200.
    QTest::newRow("paso") << int(Alineacion::Paso) << 45LL << 45LL;
    QTest::newRow("paso, fantasma terminado") << int(Alineacion::Paso) << 210LL << -1LL;
    QTest::newRow("vuelta 0") << int(Alineacion::Vuelta) << 45LL << 45LL;
    QTest::newRow("vuelta 1") << int(Alineacion::Vuelta) << 85LL << 65LL;
    QTest::newRow("vuelta 2") << int(Alineacion::Vuelta) << 170LL << 130LL;
    // Our lap 1 is longer than the ghost's: it drives on into its lap 2.
    QTest::newRow("vuelta 1, más allá") << int(Alineacion::Vuelta) << 159LL << 139LL;
    QTest::newRow("vuelta 3") << int(Alineacion::Vuelta) << 245LL << 185LL;
}

void PruebaFantasma::alineacion() {
    QFETCH(int, alinear);
    QFETCH(long long, frame);
    QFETCH(long long, esperado);
    const zul::Carrera nuestra = original();
    const zul::Carrera otra = carreraDe(200, vueltaRectangulo, [](int k) { return k / 60; });
    const zul::AnalisisCarrera analisisNuestra(nuestra);
    const zul::AnalisisCarrera analisisOtra(otra);
    const zul::CarreraFantasma fantasma(nuestra, analisisNuestra, otra, analisisOtra,
                                        static_cast<Alineacion>(alinear));
    QCOMPARE(fantasma.frameFantasma(frame, 0), esperado);
}

void PruebaFantasma::discos_data() {
    QTest::addColumn<int>("alinear");
    QTest::addColumn<int>("columnaFantasma"); // its disc's centre on the picture
    QTest::addColumn<int>("columnaOtra");     // where the other alignment puts it
    // Ours drives right along y = 5, half a cell a step, its lap rising at 40;
    // the ghost the same along y = 15, its lap rising at 30. At our frame 45
    // the ghost is at its frame 45 by step (under our kart) and at its frame
    // 35 by lap (5 cells behind: 40 pixels at zoom 8).
    QTest::newRow("paso") << int(Alineacion::Paso) << 256 << 216;
    QTest::newRow("vuelta") << int(Alineacion::Vuelta) << 216 << 256;
}

void PruebaFantasma::discos() {
    QFETCH(int, alinear);
    QFETCH(int, columnaFantasma);
    QFETCH(int, columnaOtra);
    const zul::Reproduccion reproduccion(carreraDe(
        60, [](int k) { return QPointF(0.5 * k, 5); }, [](int k) { return k < 40 ? 0 : 1; }));
    zul::Carrera otra = carreraDe(
        60, [](int k) { return QPointF(0.5 * k, 15); }, [](int k) { return k < 30 ? 0 : 1; });
    otra.nombres = {"otro"}; // a ghost of another player, in a colour of its own
    zul::Mapa mapa;
    mapa.filas = 30;
    mapa.columnas = 60;
    mapa.celdas.assign(30 * 60, '5');
    zul::AspectoImagen aspecto;
    aspecto.zoom = 8.0;
    aspecto.fantasma = std::make_shared<const zul::FantasmaCargado>(
        otra, reproduccion.carrera(), static_cast<Alineacion>(alinear));
    zul::ImagenFrame dibujo(reproduccion, mapa, aspecto);
    const QImage imagen = dibujo.dibuja(45);
    // The disc's fill over black: its colour at the ghost's opacity. The row
    // lies half a radius under the centre, off the heading line.
    const QColor color = zul::colorDisco(1);
    const auto esFantasma = [&](int x, int y) {
        const QColor p = imagen.pixelColor(x, y);
        const double a = zul::kOpacidadFantasma / 255.0;
        return std::abs(p.red() - color.red() * a) <= 2 &&
               std::abs(p.green() - color.green() * a) <= 2 &&
               std::abs(p.blue() - color.blue() * a) <= 2;
    };
    const int fila = 256 + 10 * 8 + 10;
    const auto cuenta = [&](int centro) {
        int n = 0;
        for (int x = centro - 12; x <= centro + 12; ++x) {
            n += esFantasma(x, fila) ? 1 : 0;
        }
        return n;
    };
    QCOMPARE(cuenta(columnaFantasma), 25);
    QCOMPARE(cuenta(columnaOtra), 0);
    // Our own kart stays as it is, over the ghost's lane.
    QCOMPARE(imagen.pixelColor(256, 250), zul::colorDisco(0));
}

} // namespace

QTEST_MAIN(PruebaFantasma)
#include "prueba_fantasma.moc"
