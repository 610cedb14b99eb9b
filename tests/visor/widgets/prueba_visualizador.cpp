// The track view's state operations and slots.
#include "paneles/CVisualizador.h"

#include <QtTest>

class PruebaVisualizador : public QObject {
    Q_OBJECT

private slots:
    void crecerYEncoger();
    void ponJugadorFueraDeRango_data();
    void ponJugadorFueraDeRango();
    void casillaRecortada_data();
    void casillaRecortada();
    void segundoMapaReemplaza();
    void tamanoDeFlechas_data();
    void tamanoDeFlechas();
    void disparos();
    void coloresDeEtiqueta();
};

void PruebaVisualizador::crecerYEncoger() {
    CVisualizador vista;
    vista.ponNumeroJugadores(3);
    vista.ponJugador(2, QPointF(7.5, 8.5), 1.25, 4);
    vista.ponNumeroJugadores(5);
    QCOMPARE(vista.cantidadJugadores(), 5);
    QCOMPARE(vista.posicionJugador(2), QPointF(7.5, 8.5));
    QCOMPARE(vista.anguloJugador(2), 1.25);
    QCOMPARE(vista.vueltasJugador(2), 4);
    for (int i : {3, 4}) {
        QCOMPARE(vista.posicionJugador(i), QPointF(0, 0));
        QCOMPARE(vista.anguloJugador(i), 0.0);
        QCOMPARE(vista.vueltasJugador(i), 0);
    }
    vista.ponNumeroJugadores(2);
    QCOMPARE(vista.cantidadJugadores(), 2);
    vista.ponNumeroJugadores(3);
    QCOMPARE(vista.posicionJugador(2), QPointF(0, 0)); // dropped, not kept
}

void PruebaVisualizador::ponJugadorFueraDeRango_data() {
    QTest::addColumn<int>("indice");
    QTest::addColumn<bool>("lanza");
    QTest::newRow("ultimo") << 3 << false;
    QTest::newRow("igual a la cantidad") << 4 << true;
    QTest::newRow("negativo") << -1 << true;
}

void PruebaVisualizador::ponJugadorFueraDeRango() {
    QFETCH(int, indice);
    QFETCH(bool, lanza);
    CVisualizador vista;
    vista.ponNumeroJugadores(4);
    bool lanzada = false;
    try {
        vista.ponJugador(static_cast<unsigned int>(indice), QPointF(1, 1), 0.5, 1);
    } catch (std::exception* error) {
        lanzada = true;
        QCOMPARE(QByteArray(error->what()), QByteArray("Indice fuera de rango"));
        QVERIFY(dynamic_cast<CVisualizador::excepcionFueraRango*>(error) != nullptr);
        delete error;
    }
    QCOMPARE(lanzada, lanza);
    if (lanza) {
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(vista.posicionJugador(i), QPointF(0, 0)); // nothing changed
        }
    } else {
        QCOMPARE(vista.posicionJugador(indice), QPointF(1, 1));
    }
}

void PruebaVisualizador::casillaRecortada_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<char>("esperada");
    // Grid of 3 columns and 2 rows: "abc" / "def".
    QTest::newRow("dentro") << 1.5 << 0.2 << 'b';
    QTest::newRow("negativa") << -3.2 << 1.7 << 'd';
    QTest::newRow("pasada la derecha") << 3.0 + 5.0 << 0.0 << 'c';
    QTest::newRow("borde inferior") << 2.999 << 2.0 << 'f';
    QTest::newRow("muy lejos") << 1e300 << -1e300 << 'c';
    QTest::newRow("no es numero") << qQNaN() << qQNaN() << 'a';
}

void PruebaVisualizador::casillaRecortada() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(char, esperada);
    CVisualizador vista;
    vista.ponMapa(2, 3, std::string("abcdef"));
    QCOMPARE(vista.casilla(x, y), esperada);
}

void PruebaVisualizador::segundoMapaReemplaza() {
    CVisualizador vista;
    vista.ponMapa(3, 3, std::string("012345678"));
    const std::string pequeno = "9876";
    vista.ponMapa(1, 2, pequeno);
    QCOMPARE(vista.filasMapa(), 1);
    QCOMPARE(vista.columnasMapa(), 2);
    QCOMPARE(vista.celdasMapa(), std::string("98")); // only filas x columnas bytes
    QCOMPARE(vista.casilla(5, 5), '8');
    vista.ponMapa(0, 0, std::string());
    QCOMPARE(vista.casilla(0, 0), '5'); // no grid reads as wall
}

void PruebaVisualizador::tamanoDeFlechas_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("lado"); // 0: tiles untouched (null)
    QTest::newRow("6.99") << 6.99 << 0;
    QTest::newRow("7.0") << 7.0 << 8;
    QTest::newRow("7.9") << 7.9 << 8;
    QTest::newRow("10.0") << 10.0 << 11;
    // Absurd zooms keep the tiles as they were instead of allocating them.
    QTest::newRow("enorme") << 1e300 << 0;
    QTest::newRow("infinito") << qInf() << 0;
    QTest::newRow("no es numero") << qQNaN() << 0;
}

void PruebaVisualizador::tamanoDeFlechas() {
    QFETCH(double, zoom);
    QFETCH(int, lado);
    CVisualizador vista;
    vista.cambiaZoom(zoom);
    if (!qIsNaN(zoom)) {
        QCOMPARE(vista.zoom(), zoom);
    }
    for (int d = 0; d < 4; ++d) {
        if (lado == 0) {
            QVERIFY(vista.flecha(d).isNull());
        } else {
            QCOMPARE(vista.flecha(d).size(), QSize(lado, lado));
        }
    }
    // Every rescale starts from the picture: going down and up again gives the
    // same size as going there directly.
    if (lado != 0) {
        vista.cambiaZoom(40.0);
        vista.cambiaZoom(zoom);
        QCOMPARE(vista.flecha(0).size(), QSize(lado, lado));
    }
}

void PruebaVisualizador::disparos() {
    CVisualizador vista;
    vista.quitaRayo(); // harmless with none
    QVERIFY(!vista.hayDisparos());
    vista.dibujaRayo(QPointF(1, 2), QPointF(3, 4));
    vista.dibujaRayo(QPointF(5, 6), QPointF(7, 8));
    QVERIFY(vista.hayDisparos());
    QCOMPARE(vista.iniciosDisparos(), (QVector<QPointF>{QPointF(1, 2), QPointF(5, 6)}));
    QCOMPARE(vista.finesDisparos(), (QVector<QPointF>{QPointF(3, 4), QPointF(7, 8)}));
    vista.quitaRayo();
    QVERIFY(!vista.hayDisparos());
    QVERIFY(vista.iniciosDisparos().isEmpty());
    QVERIFY(vista.finesDisparos().isEmpty());
}

void PruebaVisualizador::coloresDeEtiqueta() {
    CVisualizador vista;
    const char* clasicos[] = {"FF1C1C", "1CFF1C", "1C1CFF", "FFFF1C", "FF1CFF", "1CFFFF"};
    QSet<QByteArray> vistos;
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(QByteArray(vista.colorJugador(i)), QByteArray(clasicos[i]));
        vistos.insert(vista.colorJugador(i));
    }
    for (int i = 6; i < 12; ++i) {
        const QByteArray codigo(vista.colorJugador(i));
        QCOMPARE(codigo.size(), 6);
        QVERIFY2(!vistos.contains(codigo), codigo.constData());
        vistos.insert(codigo);
    }
}

QTEST_MAIN(PruebaVisualizador)
#include "prueba_visualizador.moc"
