// What the track view paints: rendered offscreen into an image and read back
// pixel by pixel, with arrow pictures of known solid colours.
#include "escena/estelas.h"
#include "escena/pintor_escena.h"
#include "geometria/colores.h"
#include "paneles/CVisualizador.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
#include <string>

namespace {

const QColor kPista(108, 81, 81);
const QColor kNegro(0, 0, 0);
const QColor kAmarillo(255, 255, 0);
const QColor kArriba(0, 0, 200);
const QColor kAbajo(0, 200, 0);
const QColor kIzquierda(200, 0, 200);
const QColor kDerecha(0, 200, 200);
const QColor kDiscos[6] = {QColor(255, 76, 76),  QColor(76, 255, 76),  QColor(76, 76, 255),
                           QColor(255, 255, 76), QColor(255, 76, 255), QColor(76, 255, 255)};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;

// A grid of `filas` x `columnas` cells, all `relleno`.
struct Rejilla {
    int filas;
    int columnas;
    std::string celdas;
    Rejilla(int filas, int columnas, char relleno)
        : filas(filas), columnas(columnas),
          celdas(static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas), relleno) {}
    void pon(int columna, int fila, char c) {
        celdas[static_cast<std::size_t>(columna) +
               static_cast<std::size_t>(fila) * static_cast<std::size_t>(columnas)] = c;
    }
    void ponFila(int fila, const char* texto) {
        for (int j = 0; texto[j] != '\0'; ++j) {
            pon(j, fila, texto[j]);
        }
    }
    void en(CVisualizador& vista) const { vista.ponMapa(filas, columnas, celdas); }
};

QImage pinta(CVisualizador& vista, QSize tamano) {
    vista.resize(tamano);
    QImage imagen(tamano, QImage::Format_RGB32);
    imagen.fill(Qt::magenta); // shows any pixel the view leaves unpainted
    vista.render(&imagen);
    return imagen;
}

QString color(const QImage& imagen, int x, int y) {
    return imagen.pixelColor(x, y).name();
}

} // namespace

Q_DECLARE_METATYPE(QColor)

class PruebaPintado : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void ejemploKart();
    void ejemploBaldosa();
    void bloquesOFlechas_data();
    void bloquesOFlechas();
    void filaConMuros_data();
    void filaConMuros();
    void tramoHastaElFinal_data();
    void tramoHastaElFinal();
    void kartEnElBorde_data();
    void kartEnElBorde();
    void anclaVistaAncha();
    void sinRejilla_data();
    void sinRejilla();
    void loteLleno();
    void mapaEnormeZoomPequeno();
    void coloresDeDiscos();
    void disparos();
    void cambioDeMira();
    void miraSinJugador_data();
    void miraSinJugador();
    void estadoRaro_data();
    void estadoRaro();
    void trazadaPorVelocidad_data();
    void trazadaPorVelocidad();

private:
    QTemporaryDir carpeta;
    QString anterior;
};

void PruebaPintado::initTestCase() {
    QVERIFY(carpeta.isValid());
    const struct {
        const char* nombre;
        QColor color;
    } flechas[] = {{"arriba.png", kArriba},
                   {"abajo.png", kAbajo},
                   {"izquierda.png", kIzquierda},
                   {"derecha.png", kDerecha}};
    for (const auto& f : flechas) {
        QImage imagen(16, 16, QImage::Format_RGB32);
        imagen.fill(f.color);
        QVERIFY(imagen.save(carpeta.filePath(f.nombre)));
    }
    anterior = QDir::currentPath();
    QVERIFY(QDir::setCurrent(carpeta.path()));
}

void PruebaPintado::cleanupTestCase() {
    QDir::setCurrent(anterior);
}

// 512 x 512 at zoom 10 following a player at (20.5, 30.5): the disc is centred
// on (256, 256) with radius 25, and the heading line is 25 pixels long.
void PruebaPintado::ejemploKart() {
    CVisualizador vista;
    Rejilla rejilla(61, 41, '5');
    for (int j = 22; j < 26; ++j) {
        rejilla.pon(j, 30, '1'); // right tiles past the disc show where the line ends
    }
    rejilla.en(vista);
    vista.ponNumeroJugadores(1);
    vista.ponJugador(0, QPointF(20.5, 30.5), 0.0, 0);
    vista.cambiaZoom(10.0);
    const QImage imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(vista.centro(), QPointF(20.5, 30.5));

    const QString disco = kDiscos[0].name();
    for (const QPoint p : {QPoint(256, 233), QPoint(256, 279), QPoint(233, 256), QPoint(254, 256),
                           QPoint(240, 240), QPoint(272, 272)}) {
        QCOMPARE(color(imagen, p.x(), p.y()), disco);
    }
    for (const QPoint p : {QPoint(256, 229), QPoint(256, 283), QPoint(229, 256), QPoint(276, 276),
                           QPoint(236, 236)}) {
        QCOMPARE(color(imagen, p.x(), p.y()), kNegro.name());
    }
    // The heading line runs right from the centre to the disc's edge, and no further.
    for (int x = 257; x <= 279; ++x) {
        QCOMPARE(color(imagen, x, 256), kNegro.name());
    }
    QCOMPARE(color(imagen, 256, 257), disco);
    QCOMPARE(color(imagen, 283, 256), kDerecha.name());
}

// With no player the view centres on the middle of a 41 x 61 map, (20.5, 30.5):
// cell (20, 30) covers (251, 251) to (261, 261) and its tile sits on it.
void PruebaPintado::ejemploBaldosa() {
    CVisualizador vista;
    Rejilla rejilla(61, 41, '5');
    rejilla.pon(20, 30, '0');
    rejilla.en(vista);
    vista.cambiaZoom(10.0);
    const QImage imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(vista.centro(), QPointF(20.5, 30.5));
    for (const QPoint p :
         {QPoint(251, 251), QPoint(261, 261), QPoint(251, 261), QPoint(256, 256)}) {
        QCOMPARE(color(imagen, p.x(), p.y()), kAbajo.name());
    }
    // Not half a cell right and up of it.
    for (const QPoint p : {QPoint(250, 250), QPoint(262, 262), QPoint(264, 248), QPoint(250, 256),
                           QPoint(256, 262)}) {
        QCOMPARE(color(imagen, p.x(), p.y()), kNegro.name());
    }
}

void PruebaPintado::bloquesOFlechas_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<char>("celda");
    QTest::addColumn<QColor>("esperado");
    const struct {
        char celda;
        QColor flecha;
    } casos[] = {{'0', kAbajo}, {'1', kDerecha}, {'2', kArriba}, {'3', kIzquierda},
                 {'4', kNegro}, {'9', kNegro},   {'5', kNegro}};
    for (const auto& c : casos) {
        const QByteArray nombre(1, c.celda);
        QTest::newRow(("6.99 " + nombre).constData())
            << 6.99 << c.celda << (c.celda == '5' ? kNegro : kPista);
        QTest::newRow(("7.0 " + nombre).constData()) << 7.0 << c.celda << c.flecha;
        QTest::newRow(("20 " + nombre).constData()) << 20.0 << c.celda << c.flecha;
    }
}

// Below zoom 7 every non-wall cell is a block; from 7 only the arrows show.
void PruebaPintado::bloquesOFlechas() {
    QFETCH(double, zoom);
    QFETCH(char, celda);
    QFETCH(QColor, esperado);
    CVisualizador vista;
    Rejilla rejilla(61, 41, '5');
    rejilla.pon(20, 30, celda);
    rejilla.en(vista);
    vista.cambiaZoom(zoom);
    const QImage imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(color(imagen, 256, 256), esperado.name()); // middle of cell (20, 30)
    QCOMPARE(color(imagen, 256, 256 - static_cast<int>(zoom)), kNegro.name()); // cell above
    QCOMPARE(color(imagen, 256 + static_cast<int>(zoom), 256), kNegro.name()); // cell right
}

void PruebaPintado::filaConMuros_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QString>("colores"); // one letter per column: n black, p track, a down
    QTest::newRow("bloques") << 6.0 << "nppnpn";
    QTest::newRow("flechas") << 10.0 << "nnnnan";
}

// A row 5 4 4 5 0 5: two blocks below zoom 7, only the down tile from it on.
void PruebaPintado::filaConMuros() {
    QFETCH(double, zoom);
    QFETCH(QString, colores);
    CVisualizador vista;
    Rejilla rejilla(1, 6, '5');
    rejilla.ponFila(0, "544505");
    rejilla.en(vista);
    vista.cambiaZoom(zoom);
    const QImage imagen = pinta(vista, QSize(512, 512));
    // Centred on (3, 0.5): column j spans 256 + (j - 3) zoom onwards.
    for (int j = 0; j < 6; ++j) {
        const int x = 256 + static_cast<int>((j - 3) * zoom + zoom / 2);
        const QColor esperado = colores[j] == 'p' ? kPista : (colores[j] == 'a' ? kAbajo : kNegro);
        QVERIFY2(color(imagen, x, 256) == esperado.name(), qPrintable(QString::number(j)));
    }
}

void PruebaPintado::tramoHastaElFinal_data() {
    QTest::addColumn<int>("columnas");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("ultimoPintado");
    QTest::addColumn<int>("primeroNegro"); // -1: the run goes past the view
    // Last column of the map: its right edge 256 + 2.5 x 5.3 = 269.25 goes up to 270.
    QTest::newRow("fin del mapa") << 5 << 5.3 << 269 << 270;
    // Last visible column of a long map: the run reaches the view's edge.
    QTest::newRow("fin de lo visible") << 400 << 6.0 << 511 << -1;
}

void PruebaPintado::tramoHastaElFinal() {
    QFETCH(int, columnas);
    QFETCH(double, zoom);
    QFETCH(int, ultimoPintado);
    QFETCH(int, primeroNegro);
    CVisualizador vista;
    Rejilla rejilla(1, columnas, '4');
    rejilla.pon(0, 0, '5');
    rejilla.en(vista);
    vista.cambiaZoom(zoom);
    const QImage imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(color(imagen, ultimoPintado, 256), kPista.name());
    QCOMPARE(color(imagen, ultimoPintado - 3, 256), kPista.name());
    if (primeroNegro >= 0) {
        QCOMPARE(color(imagen, primeroNegro, 256), kNegro.name());
    }
}

void PruebaPintado::kartEnElBorde_data() {
    QTest::addColumn<QPointF>("posicion");
    QTest::addColumn<double>("angulo");
    QTest::addColumn<QPoint>("enLinea");
    QTest::addColumn<QPoint>("enDisco");
    QTest::addColumn<bool>("hayDisco");
    // Zoom 8 following (50.5, 50.5): map point (x, y) is pixel (256 + 8 (x - 50.5), ...).
    QTest::newRow("x igual al ancho")
        << QPointF(82.5, 40.5) << kPi << QPoint(500, 176) << QPoint(505, 170) << false;
    QTest::newRow("x un pixel antes")
        << QPointF(82.375, 40.5) << kPi << QPoint(500, 176) << QPoint(505, 170) << true;
    QTest::newRow("y igual al alto")
        << QPointF(60.5, 82.5) << -kPi / 2 << QPoint(336, 500) << QPoint(342, 505) << false;
    QTest::newRow("x negativa") << QPointF(18.4375, 40.5) << 0.0 << QPoint(5, 176) << QPoint(3, 170)
                                << false;
    QTest::newRow("x cero") << QPointF(18.5, 40.5) << 0.0 << QPoint(5, 176) << QPoint(3, 170)
                            << true;
}

// A kart whose centre is outside the view gets no disc, but its heading line
// still shows.
void PruebaPintado::kartEnElBorde() {
    QFETCH(QPointF, posicion);
    QFETCH(double, angulo);
    QFETCH(QPoint, enLinea);
    QFETCH(QPoint, enDisco);
    QFETCH(bool, hayDisco);
    CVisualizador vista;
    Rejilla(120, 120, '1').en(vista); // right tiles everywhere: the black line shows on them
    vista.ponNumeroJugadores(2);
    vista.ponJugador(0, QPointF(50.5, 50.5), 0.0, 0);
    vista.ponJugador(1, posicion, angulo, 0);
    vista.cambiaZoom(8.0);
    const QImage imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(color(imagen, enLinea.x(), enLinea.y()), kNegro.name());
    QCOMPARE(color(imagen, enDisco.x(), enDisco.y()), (hayDisco ? kDiscos[1] : kDerecha).name());
}

// In a 700 x 500 view the followed kart sits at (250, 250), not in the middle.
void PruebaPintado::anclaVistaAncha() {
    CVisualizador vista;
    vista.ponNumeroJugadores(1);
    vista.ponJugador(0, QPointF(10.5, 10.5), kPi / 2, 0);
    vista.cambiaZoom(4.0); // radius 10
    const QImage imagen = pinta(vista, QSize(700, 500));
    const QString disco = kDiscos[0].name();
    for (const QPoint p :
         {QPoint(250, 242), QPoint(242, 250), QPoint(258, 250), QPoint(250, 249)}) {
        QCOMPARE(color(imagen, p.x(), p.y()), disco);
    }
    for (const QPoint p :
         {QPoint(250, 237), QPoint(237, 250), QPoint(263, 250), QPoint(350, 250)}) {
        QCOMPARE(color(imagen, p.x(), p.y()), kNegro.name());
    }
    QCOMPARE(color(imagen, 250, 255), kNegro.name()); // heading line, pointing down
}

void PruebaPintado::sinRejilla_data() {
    QTest::addColumn<int>("filas");
    QTest::addColumn<int>("columnas");
    QTest::addColumn<double>("zoom");
    QTest::newRow("vacia") << 0 << 0 << 10.0;
    QTest::newRow("sin columnas") << 7 << 0 << 10.0;
    QTest::newRow("sin filas") << 0 << 7 << 10.0;
    QTest::newRow("vacia con bloques") << 0 << 0 << 4.0;
}

// No grid: only the background, the karts and the shots.
void PruebaPintado::sinRejilla() {
    QFETCH(int, filas);
    QFETCH(int, columnas);
    QFETCH(double, zoom);
    CVisualizador vista;
    vista.ponMapa(filas, columnas, std::string());
    vista.ponNumeroJugadores(1);
    vista.ponJugador(0, QPointF(3, 3), kPi, 0);
    vista.cambiaZoom(zoom);
    vista.dibujaRayo(QPointF(3, 4), QPointF(13, 4)); // from (256, 256 + z) to the right
    const QImage imagen = pinta(vista, QSize(512, 512));
    const int radio = static_cast<int>(std::ceil(2.5 * zoom));
    const int yDisparo = 256 + static_cast<int>(zoom);
    QCOMPARE(color(imagen, 256, 256 - radio + 3), kDiscos[0].name());
    QCOMPARE(color(imagen, 256 + radio + 20, yDisparo), kAmarillo.name());
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool enDisco = std::abs(x - 256) <= radio + 1 && std::abs(y - 256) <= radio + 1;
            if (!enDisco && y != yDisparo) {
                QVERIFY2(color(imagen, x, y) == kNegro.name(),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }
}

// A checkerboard at zoom 1 in a 1024 x 1024 view has about 524000 runs, twice
// the batch: every track cell is still painted, down to the last row.
void PruebaPintado::loteLleno() {
    CVisualizador vista;
    const int lado = 1030;
    Rejilla rejilla(lado, lado, '5');
    for (int i = 0; i < lado; ++i) {
        for (int j = (i % 2); j < lado; j += 2) {
            rejilla.pon(j, i, '4');
        }
    }
    rejilla.en(vista);
    vista.cambiaZoom(1.0);
    const QImage imagen = pinta(vista, QSize(1024, 1024));
    // Centred on (515, 515): pixel (x, y) is cell (x + 3, y + 3).
    const QRgb pista = kPista.rgb();
    const QRgb negro = kNegro.rgb();
    int malos = 0;
    for (int y = 0; y < 1024; ++y) {
        const QRgb* linea = reinterpret_cast<const QRgb*>(imagen.constScanLine(y));
        for (int x = 0; x < 1024; ++x) {
            const bool esPista = (x + 3 + y + 3) % 2 == 0;
            if ((linea[x] | 0xff000000u) != (esPista ? pista : negro)) {
                ++malos;
            }
        }
    }
    QCOMPARE(malos, 0);
}

// A 4096 x 4096 map at zoom 0.1 fits in the view whole.
void PruebaPintado::mapaEnormeZoomPequeno() {
    CVisualizador vista;
    Rejilla rejilla(4096, 4096, '4');
    rejilla.en(vista);
    vista.cambiaZoom(0.1);
    const QImage imagen = pinta(vista, QSize(512, 512));
    // Centred on (2048, 2048): the map spans 51.2 to 460.8 both ways.
    QCOMPARE(color(imagen, 100, 100), kPista.name());
    QCOMPARE(color(imagen, 455, 455), kPista.name());
    QCOMPARE(color(imagen, 30, 256), kNegro.name());
    QCOMPARE(color(imagen, 256, 480), kNegro.name());
}

// Players 0 to 5 keep their six colours; later players get pale colours of
// their own.
void PruebaPintado::coloresDeDiscos() {
    CVisualizador vista;
    const int cuantos = 12;
    vista.ponNumeroJugadores(cuantos);
    for (int k = 0; k < cuantos; ++k) {
        vista.ponJugador(k, QPointF(-60 + 10 * k, 0), kPi / 2, 0);
    }
    vista.cambiaMira(-1); // nobody and no grid: centred on (0, 0)
    vista.cambiaZoom(4.0);
    const QImage imagen = pinta(vista, QSize(800, 600));
    QSet<QRgb> vistos;
    for (int k = 0; k < cuantos; ++k) {
        const QColor c = imagen.pixelColor(60 + 40 * k, 300 - 5);
        if (k < 6) {
            QCOMPARE(c.name(), kDiscos[k].name());
        } else {
            QCOMPARE(c.name(), zul::colorDisco(k).name());
            QVERIFY2(std::min({c.red(), c.green(), c.blue()}) >= 60, qPrintable(c.name()));
            QVERIFY2(std::max({c.red(), c.green(), c.blue()}) >= 200, qPrintable(c.name()));
        }
        QVERIFY2(!vistos.contains(c.rgb()), qPrintable(QString::number(k)));
        vistos.insert(c.rgb());
    }
}

// Shots are yellow lines over the karts, until they are taken away.
void PruebaPintado::disparos() {
    CVisualizador vista;
    vista.ponNumeroJugadores(1);
    vista.ponJugador(0, QPointF(20.5, 30.5), kPi / 2, 0);
    vista.cambiaZoom(10.0);
    vista.dibujaRayo(QPointF(10.5, 30.5), QPointF(30.5, 30.5)); // through the disc
    vista.dibujaRayo(QPointF(20.5, 20.5), QPointF(1e9, 20.5));  // far off to the right
    QImage imagen = pinta(vista, QSize(512, 512));
    for (int x : {160, 240, 270, 350}) {
        QCOMPARE(color(imagen, x, 256), kAmarillo.name());
    }
    for (int x : {300, 400, 511}) {
        QCOMPARE(color(imagen, x, 156), kAmarillo.name());
    }
    vista.quitaRayo();
    imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(color(imagen, 240, 256), kDiscos[0].name());
    QCOMPARE(color(imagen, 350, 256), kNegro.name());
    QCOMPARE(color(imagen, 400, 156), kNegro.name());
}

// Following another player puts that player on the anchor at the next paint.
void PruebaPintado::cambioDeMira() {
    CVisualizador vista;
    Rejilla(60, 60, '4').en(vista);
    vista.ponNumeroJugadores(2);
    vista.ponJugador(0, QPointF(10.5, 10.5), 0.0, 0);
    vista.ponJugador(1, QPointF(40.5, 20.5), 0.0, 0);
    vista.cambiaZoom(4.0);
    QImage imagen = pinta(vista, QSize(400, 400));
    QCOMPARE(color(imagen, 200, 195), kDiscos[0].name());
    vista.cambiaMira(1);
    QCOMPARE(vista.centro(), QPointF(10.5, 10.5)); // only painting moves the centre
    imagen = pinta(vista, QSize(400, 400));
    QCOMPARE(vista.centro(), QPointF(40.5, 20.5));
    QCOMPARE(color(imagen, 200, 195), kDiscos[1].name());
    QCOMPARE(color(imagen, 200 - 120, 195 - 40), kDiscos[0].name()); // player 0 left and up
}

void PruebaPintado::miraSinJugador_data() {
    QTest::addColumn<int>("jugadores");
    QTest::addColumn<int>("mira");
    QTest::newRow("sin jugadores") << 0 << 0;
    QTest::newRow("mira pasada") << 2 << 2;
    QTest::newRow("mira negativa") << 2 << -1;
}

// No player to follow: the view centres on the middle of the map.
void PruebaPintado::miraSinJugador() {
    QFETCH(int, jugadores);
    QFETCH(int, mira);
    CVisualizador vista;
    Rejilla rejilla(20, 30, '5');
    rejilla.pon(15, 10, '4');
    rejilla.en(vista);
    vista.ponNumeroJugadores(static_cast<unsigned int>(jugadores));
    for (int k = 0; k < jugadores; ++k) {
        vista.ponJugador(k, QPointF(2.5, 2.5), 0.0, 0);
    }
    vista.cambiaMira(mira);
    vista.cambiaZoom(4.0);
    const QImage imagen = pinta(vista, QSize(300, 300));
    QCOMPARE(vista.centro(), QPointF(15, 10));
    QCOMPARE(color(imagen, 152, 152), kPista.name()); // cell (15, 10) starts at the anchor
    QCOMPARE(color(imagen, 148, 152), kNegro.name());
}

void PruebaPintado::estadoRaro_data() {
    QTest::addColumn<QPointF>("posicion");
    QTest::addColumn<double>("angulo");
    QTest::addColumn<QPointF>("finDisparo");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("mira");
    QTest::addColumn<QPointF>("centro");
    QTest::addColumn<bool>("anclaVisible"); // player 0's disc shows at the anchor
    const QPointF bien(25.5, 30.5);
    const QPointF medio(20.5, 30.5); // player 0, and the middle of the map
    QTest::newRow("posicion no numero")
        << QPointF(kNaN, kNaN) << 0.0 << bien << 10.0 << 0 << medio << true;
    QTest::newRow("posicion infinita")
        << QPointF(kInf, -kInf) << 1.0 << bien << 10.0 << 0 << medio << true;
    QTest::newRow("posicion lejana")
        << QPointF(1e300, -1e300) << 1.0 << bien << 3.0 << 0 << medio << true;
    QTest::newRow("angulo no numero") << bien << kNaN << bien << 10.0 << 0 << medio << true;
    QTest::newRow("angulo infinito") << bien << kInf << bien << 10.0 << 0 << medio << true;
    QTest::newRow("rayo no numero")
        << bien << 0.0 << QPointF(kNaN, 0) << 10.0 << 0 << medio << true;
    QTest::newRow("rayo infinito")
        << bien << 0.0 << QPointF(-kInf, kInf) << 3.0 << 0 << medio << true;
    QTest::newRow("rayo lejano") << bien << 0.0 << QPointF(1e300, 1e300) << 3.0 << 0 << medio
                                 << true;
    // A followed kart that is not a number cannot be centred on: the middle of the map is.
    QTest::newRow("mira no numero")
        << QPointF(kNaN, 1) << 0.0 << bien << 10.0 << 1 << medio << true;
    QTest::newRow("mira lejana") << QPointF(1e300, 1) << 0.0 << bien << 3.0 << 1
                                 << QPointF(1e300, 1) << false;
    QTest::newRow("zoom cero") << bien << 0.0 << bien << 0.0 << 0 << medio << false;
    QTest::newRow("zoom negativo") << bien << 0.0 << bien << -4.0 << 0 << medio << true;
    QTest::newRow("zoom no numero") << bien << 0.0 << bien << kNaN << 0 << medio << false;
    QTest::newRow("zoom infinito") << bien << 0.0 << bien << kInf << 0 << medio << false;
}

// Positions, headings, shots and zooms that cannot be drawn are skipped; the
// rest of the frame still shows.
void PruebaPintado::estadoRaro() {
    QFETCH(QPointF, posicion);
    QFETCH(double, angulo);
    QFETCH(QPointF, finDisparo);
    QFETCH(double, zoom);
    QFETCH(int, mira);
    QFETCH(QPointF, centro);
    QFETCH(bool, anclaVisible);
    CVisualizador vista;
    Rejilla(61, 41, '1').en(vista);
    vista.ponNumeroJugadores(2);
    vista.ponJugador(0, QPointF(20.5, 30.5), kPi / 2, 0);
    vista.ponJugador(1, posicion, angulo, 0);
    vista.cambiaMira(mira);
    vista.cambiaZoom(zoom);
    vista.dibujaRayo(QPointF(20.5, 30.5), finDisparo);
    vista.dibujaRayo(finDisparo, QPointF(20.5, 30.5));
    const QImage imagen = pinta(vista, QSize(512, 512));
    QCOMPARE(vista.centro(), centro);
    if (anclaVisible) {
        QCOMPARE(color(imagen, 253, 253), kDiscos[0].name()); // left of the heading line
    }
}

// "Trazada por velocidad": the followed kart's trail along a row, two steps
// of 1 cell and two of 2, is blue where slow and red where fast, over the
// plain trail when that is on too, with the scale in the bottom-left corner.
void PruebaPintado::trazadaPorVelocidad_data() {
    QTest::addColumn<bool>("trazada");
    QTest::addColumn<bool>("estelas");
    QTest::addColumn<QStringList>("tramos"); // the colour at each step's midpoint
    const QStringList colores{"#0000ff", "#0000ff", "#ff0000", "#ff0000"};
    QTest::newRow("por velocidad") << true << false << colores;
    QTest::newRow("sobre las estelas") << true << true << colores;
    QTest::newRow("apagada") << false << false
                             << QStringList{"#000000", "#000000", "#000000", "#000000"};
}

void PruebaPintado::trazadaPorVelocidad() {
    QFETCH(bool, trazada);
    QFETCH(bool, estelas);
    QFETCH(QStringList, tramos);
    const double xs[] = {4, 5, 6, 8, 10};
    std::vector<QPointF> recorrido;
    for (const double x : xs) {
        recorrido.emplace_back(x, 10.5);
    }
    zul::Estelas trazas;
    trazas.pon(recorrido.data(), recorrido.size(), 1);
    zul::Escena escena;
    escena.tamano = QSize(400, 400);
    escena.filas = 40;
    escena.columnas = 40;
    escena.posiciones = {QPointF(30, 30)}; // its disc far from the trail
    escena.angulos = {0.0};
    escena.estelas = &trazas;
    escena.opciones.camara = zul::Camara::Pista;
    escena.opciones.estelas = estelas;
    escena.opciones.trazadaVelocidad = trazada;
    QImage imagen(escena.tamano, QImage::Format_RGB32);
    {
        QPainter pintor(&imagen);
        zul::PintorEscena().pinta(pintor, escena);
    }
    const zul::Encuadre encuadre = zul::encuadreDe(escena);
    for (int i = 0; i < 4; ++i) {
        const QPointF medio = encuadre.aPixel((recorrido[i] + recorrido[i + 1]) / 2.0);
        QCOMPARE(color(imagen, qRound(medio.x()), qRound(medio.y())), tramos[i]);
    }
    // The kart is drawn as always (its heading line points right), with no
    // outline left by the trail's pen.
    const QPointF kart = encuadre.aPixel(escena.posiciones[0]);
    const int dentro = static_cast<int>(zul::radioDisco(encuadre.zoom)) - 1;
    QCOMPARE(color(imagen, qRound(kart.x()) - dentro, qRound(kart.y())), kDiscos[0].name());
    // The scale's bar, blue on its left and red on its right, in the bottom
    // rows; nothing there with the option off.
    int azul = -1;
    int rojo = -1;
    for (int y = 300; y < imagen.height(); ++y) {
        for (int x = 0; x < 200; ++x) {
            const QColor c = imagen.pixelColor(x, y);
            if (c.blue() > 230 && c.red() < 30 && c.green() < 30 && azul < 0) {
                azul = x;
            }
            if (c.red() > 230 && c.green() < 30 && c.blue() < 30) {
                rojo = x;
            }
        }
    }
    QCOMPARE(azul >= 0 && rojo > azul, trazada);
}

QTEST_MAIN(PruebaPintado)
#include "prueba_pintado.moc"
