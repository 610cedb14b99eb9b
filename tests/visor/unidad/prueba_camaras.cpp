// The scene options through the plain scene painter: each camera, the kart
// labels, the full track and the visible shots; the picture format from the
// file name; and --camara through the real program.
#include "escena/camara.h"
#include "escena/escena.h"
#include "escena/etiquetas_karts.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"
#include "escena/rotulos.h"
#include "geometria/colores.h"
#include "geometria/geometria.h"
#include "salida/formato_imagen.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A 20 x 10 map of plain track ('4') with a wall at column 0, and two karts.
struct Datos {
    std::string celdas;
    zul::Flechas flechas;
    Datos() {
        for (int i = 0; i < 10; ++i) {
            celdas += '5';
            celdas += std::string(19, '4');
        }
    }
};

zul::Escena escenaDe(Datos& datos, QSize tamano, double zoom) {
    zul::Escena e;
    e.tamano = tamano;
    e.zoom = zoom;
    e.filas = 10;
    e.columnas = 20;
    e.celdas = datos.celdas;
    e.posiciones = {QPointF(5.5, 5.5), QPointF(15.5, 2.5)};
    e.angulos = {0.0, 0.0};
    e.nombres = {QStringLiteral("alfa"), QStringLiteral("beta")};
    datos.flechas.ajustaA(zoom);
    e.flechas = &datos.flechas;
    return e;
}

QImage pinta(const zul::Escena& escena) {
    QImage imagen(escena.tamano, QImage::Format_RGB32);
    QPainter lienzo(&imagen);
    zul::PintorEscena pintor;
    pintor.pinta(lienzo, escena);
    return imagen;
}

} // namespace

class PruebaCamaras : public QObject {
    Q_OBJECT

private slots:
    void camaras_data();
    void camaras();
    void directorSinLider();
    void etiquetas();
    void rotulosEnElBorde();
    void etiquetasApinadas_data();
    void etiquetasApinadas();
    void pistaCompleta();
    void disparosVisibles();
    void formatoDeRuta_data();
    void formatoDeRuta();
    void opcionCamara_data();
    void opcionCamara();
};

// Where each camera puts the followed kart (or the map) on a 300 x 200 view.
void PruebaCamaras::camaras_data() {
    QTest::addColumn<int>("camara");
    QTest::addColumn<int>("lider");
    QTest::addColumn<QPointF>("pixelKart0"); // where player 0's disc centre lands
    QTest::addColumn<double>("zoom");
    QTest::newRow("seguir") << int(zul::Camara::Seguir) << -1 << QPointF(100, 100) << 10.0;
    QTest::newRow("centrado") << int(zul::Camara::Centrado) << -1 << QPointF(150, 100) << 10.0;
    // 20 x 10 cells into 300 x 200: 15 pixels a cell, the map centred.
    QTest::newRow("pista") << int(zul::Camara::Pista) << -1 << QPointF(82.5, 107.5) << 15.0;
    // The leader, player 1, at the anchor: player 0 lies 10 cells left and
    // 3 below it.
    QTest::newRow("director") << int(zul::Camara::Director) << 1 << QPointF(0, 130) << 10.0;
}

void PruebaCamaras::camaras() {
    QFETCH(int, camara);
    QFETCH(int, lider);
    QFETCH(QPointF, pixelKart0);
    QFETCH(double, zoom);
    Datos datos;
    zul::Escena e = escenaDe(datos, QSize(300, 200), 10.0);
    e.opciones.camara = static_cast<zul::Camara>(camara);
    e.lider = lider;
    // The plain track cells show as blocks at any zoom the camera picks.
    e.opciones.pistaCompleta = true;
    const zul::Encuadre encuadre = zul::encuadreDe(e);
    QCOMPARE(encuadre.zoom, zoom);
    const QPointF pixel = encuadre.aPixel(e.posiciones[0]);
    QVERIFY2(std::abs(pixel.x() - pixelKart0.x()) < 1e-9 &&
                 std::abs(pixel.y() - pixelKart0.y()) < 1e-9,
             qPrintable(QStringLiteral("(%1, %2)").arg(pixel.x()).arg(pixel.y())));
    const QImage imagen = pinta(e);
    // The disc is drawn there, in its colour, wherever it lies in the view.
    const QPoint p = pixelKart0.toPoint() + QPoint(pixelKart0.x() < 1 ? 3 : 0, 3);
    QCOMPARE(imagen.pixelColor(p), zul::colorDisco(0));
    if (camara == int(zul::Camara::Pista)) {
        // The whole map, 0 to 300 across and 25 to 175 down: the wall
        // column at its left edge, the last track column at its right edge,
        // black above and below.
        QCOMPARE(imagen.pixelColor(7, 100), QColor(Qt::black));
        QCOMPARE(imagen.pixelColor(22, 100), QColor(108, 81, 81));
        QCOMPARE(imagen.pixelColor(298, 100), QColor(108, 81, 81));
        QCOMPARE(imagen.pixelColor(150, 27), QColor(108, 81, 81));
        QCOMPARE(imagen.pixelColor(150, 22), QColor(Qt::black));
        QCOMPARE(imagen.pixelColor(150, 178), QColor(Qt::black));
        QCOMPARE(zul::seguidoEnCamara(e), -1);
    }
}

// With no leader known, the Director camera stays on the followed player.
void PruebaCamaras::directorSinLider() {
    Datos datos;
    zul::Escena e = escenaDe(datos, QSize(300, 200), 10.0);
    e.opciones.camara = zul::Camara::Director;
    e.mira = 1;
    QCOMPARE(zul::seguidoEnCamara(e), 1);
    QCOMPARE(zul::encuadreDe(e).aPixel(e.posiciones[1]), QPointF(100, 100));
}

// Labels: off, nothing beside the kart; on, a dark plate with text in the
// kart's colour to its right, and a white ring around the followed kart only.
void PruebaCamaras::etiquetas() {
    Datos datos;
    zul::Escena e = escenaDe(datos, QSize(300, 200), 4.0);
    const auto cuenta = [](const QImage& imagen, QRect zona, const QColor& color) {
        int n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y) {
            for (int x = zona.left(); x <= zona.right(); ++x) {
                n += imagen.pixelColor(x, y) == color ? 1 : 0;
            }
        }
        return n;
    };
    // Player 0 at (100, 100) with radius 10; its label starts at x = 113.
    const QRect derecha(114, 92, 40, 16);
    const QImage sin = pinta(e);
    e.opciones.etiquetas = true;
    const QImage con = pinta(e);
    QCOMPARE(cuenta(sin, derecha, zul::colorDisco(0)), 0);
    QVERIFY(cuenta(con, derecha, zul::colorDisco(0)) > 5);
    // The ring: 14 pixels from the centre, around player 0 and not player 1.
    QCOMPARE(con.pixelColor(100, 86), QColor(Qt::white));
    QCOMPARE(sin.pixelColor(100, 86), QColor(108, 81, 81));
    const QPointF uno = zul::encuadreDe(e).aPixel(e.posiciones[1]);
    QVERIFY(con.pixelColor(uno.toPoint() - QPoint(0, 14)) != QColor(Qt::white));
    // Names beside karts far apart; numbers when they crowd.
    const zul::Encuadre encuadre = zul::encuadreDe(e);
    QVERIFY(!zul::kartApinado(e, encuadre, 0, 30.0));
    QCOMPARE(zul::textoEtiqueta(e, 0, false), QStringLiteral("alfa"));
    e.posiciones[1] = QPointF(6.0, 5.5);
    QVERIFY(zul::kartApinado(e, zul::encuadreDe(e), 0, 30.0));
    QCOMPARE(zul::textoEtiqueta(e, 1, true), QStringLiteral("1"));
    e.nombres = {QStringLiteral("un nombre larguísimo de verdad")};
    QCOMPARE(zul::textoEtiqueta(e, 0, false).size(), 14);
    QCOMPARE(zul::textoEtiqueta(e, 1, false), QStringLiteral("1")); // nameless

    // Kart 1 out of the way, the name; kart 1 just right of the name, too
    // far to count as crowded, the number, which stays short of it.
    e.nombres = {QStringLiteral("alfa"), QStringLiteral("beta")};
    const QRect cola(125, 94, 5, 12); // past the number's width
    for (const auto& [posicion, nombre] :
         {std::pair{QPointF(-4.5, 15.5), true}, std::pair{QPointF(15.5, 5.5), false}}) {
        e.posiciones[1] = posicion;
        QVERIFY(!zul::kartApinado(e, zul::encuadreDe(e), 0, 33.0));
        QCOMPARE(cuenta(pinta(e), cola, zul::colorDisco(0)) > 0, nombre);
    }

    // Near the right edge the label goes to the left of the kart.
    e.posiciones[1] = QPointF(-4.5, 15.5);
    QPoint kart;
    for (int ancho = 300; ancho > 60; ancho -= 5) {
        e.tamano = QSize(ancho, 200);
        kart = zul::encuadreDe(e).aPixel(e.posiciones[0]).toPoint();
        if (kart.x() + 40 > ancho) {
            break;
        }
    }
    QVERIFY(kart.x() + 40 > e.tamano.width() && kart.x() + 15 < e.tamano.width());
    const QImage borde = pinta(e);
    QCOMPARE(cuenta(borde, QRect(kart.x() + 13, kart.y() - 8, 40, 16), zul::colorDisco(0)), 0);
    QVERIFY(cuenta(borde, QRect(kart.x() - 60, kart.y() - 8, 47, 16), zul::colorDisco(0)) > 5);
}

// The overlay's names, like the labels, go to the left of a kart whose name
// would be cut by the right edge of the picture.
void PruebaCamaras::rotulosEnElBorde() {
    Datos datos;
    zul::Escena e = escenaDe(datos, QSize(300, 200), 4.0);
    zul::Rotulos rotulos;
    rotulos.nombres = {QStringLiteral("alfa larga"), QStringLiteral("beta")};
    e.rotulos = &rotulos;
    e.opciones.rotulos = true;
    e.posiciones[1] = QPointF(-4.5, 15.5);
    const auto cuenta = [](const QImage& imagen, QRect zona) {
        int n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y) {
            for (int x = std::max(zona.left(), 0); x <= std::min(zona.right(), imagen.width() - 1);
                 ++x) {
                // Small antialiased text: reddish, as player 0's colour.
                const QColor c = imagen.pixelColor(x, y);
                n += c.red() > c.green() + 60 && c.red() > c.blue() + 60 ? 1 : 0;
            }
        }
        return n;
    };
    for (const int ancho : {300, 120}) {
        e.tamano = QSize(ancho, 200);
        const QPoint kart = zul::encuadreDe(e).aPixel(e.posiciones[0]).toPoint();
        // The name is under 70 pixels wide, with its box.
        const bool cabe = kart.x() + 80 < ancho;
        const QImage imagen = pinta(e);
        const int derecha = cuenta(imagen, QRect(kart.x() + 11, kart.y() - 40, 60, 30));
        const int izquierda = cuenta(imagen, QRect(kart.x() - 71, kart.y() - 40, 60, 30));
        QVERIFY2((derecha > 5) == cabe && (izquierda > 5) == !cabe,
                 qPrintable(QString::number(ancho)));
    }
}

// Karts bunched together: no two label boxes touch, and the followed kart
// and the leader always have theirs; the overlay's names likewise.
void PruebaCamaras::etiquetasApinadas_data() {
    QTest::addColumn<int>("karts");
    QTest::addColumn<double>("zoom");
    for (const int n : {2, 10, 40, 100}) {
        for (const double zoom : {3.0, 10.0}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 karts, zoom %2").arg(n).arg(zoom)))
                << n << zoom;
        }
    }
}

void PruebaCamaras::etiquetasApinadas() {
    QFETCH(int, karts);
    QFETCH(double, zoom);
    Datos datos;
    zul::Escena e = escenaDe(datos, QSize(400, 300), zoom);
    e.posiciones.clear();
    e.angulos.clear();
    e.nombres.clear();
    // A spiral of karts a third of a cell apart around (8, 5).
    for (int k = 0; k < karts; ++k) {
        const double giro = 0.9 * k;
        const double r = 0.35 * std::sqrt(static_cast<double>(k));
        e.posiciones.append(QPointF(8.0 + r * std::cos(giro), 5.0 + r * std::sin(giro)));
        e.angulos.append(0.0);
        e.nombres.append(QStringLiteral("Piloto número %1").arg(k));
    }
    e.mira = karts / 2;
    e.opciones.etiquetas = true;
    for (int k = karts - 1; k >= 0; --k) {
        e.puestos.append(k); // the last player leads
    }
    const zul::Encuadre encuadre = zul::encuadreDe(e);
    const auto sinSolapes = [](const std::vector<zul::EtiquetaColocada>& etiquetas) {
        for (std::size_t a = 0; a < etiquetas.size(); ++a) {
            for (std::size_t b = a + 1; b < etiquetas.size(); ++b) {
                if (etiquetas[a].caja.intersects(etiquetas[b].caja)) {
                    return false;
                }
            }
        }
        return true;
    };
    const auto tiene = [](const std::vector<zul::EtiquetaColocada>& etiquetas, int jugador) {
        return std::any_of(etiquetas.begin(), etiquetas.end(),
                           [&](const zul::EtiquetaColocada& x) { return x.jugador == jugador; });
    };
    const auto etiquetas = zul::etiquetasKarts(e, encuadre, zul::letraEtiquetas(QFont(), e.tamano));
    QVERIFY(sinSolapes(etiquetas));
    QVERIFY(tiene(etiquetas, e.mira));
    QVERIFY(tiene(etiquetas, karts - 1));
    QVERIFY(etiquetas.size() >= std::min<std::size_t>(karts, 2));

    // The overlay's rules: above the kart first.
    std::vector<zul::PedidoEtiqueta> pedidos;
    for (const int k : zul::prioridadEtiquetas(e.mira, e.puestos, karts)) {
        pedidos.push_back({k, encuadre.aPixel(e.posiciones[k]), e.nombres[k], QString::number(k)});
    }
    zul::ReglasEtiquetas reglas;
    reglas.tamano = QSizeF(e.tamano);
    reglas.alto = 14.0;
    reglas.radio = zul::radioDisco(zoom);
    reglas.separacion = reglas.radio + 2.0;
    reglas.arribaPrimero = true;
    const auto nombres = zul::colocaEtiquetas(
        pedidos, reglas, [](const QString& texto) { return 7.0 * texto.size(); });
    QVERIFY(sinSolapes(nombres));
    QVERIFY(tiene(nombres, e.mira) && tiene(nombres, karts - 1));
}

// From zoom 7 a direction-less track cell is black, unless "Pista completa"
// is on; below zoom 7 the option changes nothing, and walls stay black.
void PruebaCamaras::pistaCompleta() {
    Datos datos;
    for (double zoom : {6.0, 10.0}) {
        zul::Escena e = escenaDe(datos, QSize(300, 200), zoom);
        e.posiciones = {QPointF(5.5, 5.5)};
        e.angulos = {0.0};
        const QImage sin = pinta(e);
        e.opciones.pistaCompleta = true;
        const QImage con = pinta(e);
        // Row 7 (below the kart), column 3 of track and column 0 of wall.
        const int y = static_cast<int>(100 + (7.5 - 5.5) * zoom);
        const int xPista = static_cast<int>(100 + (3.5 - 5.5) * zoom);
        const int xMuro = static_cast<int>(100 + (0.5 - 5.5) * zoom);
        const QColor pista(108, 81, 81);
        QCOMPARE(sin.pixelColor(xPista, y), zoom < 7 ? pista : QColor(Qt::black));
        QCOMPARE(con.pixelColor(xPista, y), pista);
        QCOMPARE(con.pixelColor(xMuro, y), QColor(Qt::black));
    }
}

// "Disparos visibles": the shot of the step is thicker; those of the steps
// before fade, and are drawn only with the option.
void PruebaCamaras::disparosVisibles() {
    Datos datos;
    zul::Escena e = escenaDe(datos, QSize(300, 200), 10.0);
    e.posiciones = {QPointF(1.5, 1.5)};
    e.angulos = {0.0};
    // Half a pixel off the rows' edges, so each line has one row.
    e.iniciosDisparos = {QPointF(5, 8.05)};
    e.finesDisparos = {QPointF(15, 8.05)};                             // along y = 165.5
    e.disparosAnteriores = {{QPointF(5, 9.05), QPointF(15, 9.05), 1},  // y = 175.5
                            {QPointF(5, 6.05), QPointF(15, 6.05), 3}}; // y = 145.5
    const QImage fina = pinta(e);
    e.opciones.disparosVisibles = true;
    const QImage gruesa = pinta(e);
    const QColor amarillo(Qt::yellow);
    QCOMPARE(fina.pixelColor(200, 165), amarillo);
    QVERIFY(fina.pixelColor(200, 166) != amarillo);
    QVERIFY(fina.pixelColor(200, 175) != amarillo);
    QCOMPARE(gruesa.pixelColor(200, 166), amarillo);
    QCOMPARE(gruesa.pixelColor(200, 164), amarillo);
    // Older is fainter: more of the black background shows through.
    const QColor reciente = gruesa.pixelColor(200, 175);
    const QColor viejo = gruesa.pixelColor(200, 145);
    QCOMPARE(reciente.blue(), 0);
    QVERIFY2(reciente.green() > viejo.green() && viejo.green() > 0,
             qPrintable(reciente.name() + QLatin1Char(' ') + viejo.name()));
}

void PruebaCamaras::formatoDeRuta_data() {
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<QByteArray>("formato"); // empty: refused
    QTest::newRow("png") << "a/x.png" << QByteArray("png");
    QTest::newRow("PNG") << "x.PNG" << QByteArray("png");
    QTest::newRow("jpg") << "x.jpg" << QByteArray("jpg");
    QTest::newRow("jpeg") << "x.jpeg" << QByteArray("jpg");
    QTest::newRow("bmp") << "x.bmp" << QByteArray("bmp");
    QTest::newRow("sin extension") << "salida" << QByteArray("png");
    QTest::newRow("punto inicial") << ".png" << QByteArray("png");
    QTest::newRow("txt") << "x.txt" << QByteArray();
    QTest::newRow("mp4") << "x.mp4" << QByteArray();
    // Written where Qt has the plugin for it, refused elsewhere.
    const bool webp = QImageWriter::supportedImageFormats().contains("webp");
    QTest::newRow("webp") << "x.webp" << (webp ? QByteArray("webp") : QByteArray());
}

void PruebaCamaras::formatoDeRuta() {
    QFETCH(QString, ruta);
    QFETCH(QByteArray, formato);
    QByteArray leido;
    QString error;
    QCOMPARE(zul::formatoDeRuta(ruta, leido, error), !formato.isEmpty());
    if (formato.isEmpty()) {
        QVERIFY2(error.contains(ruta), qPrintable(error));
        // The formats offered instead are the ones this Qt writes.
        const QString ofrecidos = error.mid(error.lastIndexOf(QLatin1Char('(')));
        for (const char* conocido : {"png", "jpg", "bmp", "ppm", "webp"}) {
            QCOMPARE(ofrecidos.contains(QStringLiteral(".%1").arg(QLatin1String(conocido))),
                     QImageWriter::supportedImageFormats().contains(conocido));
        }
        return;
    }
    QCOMPARE(leido, formato);
    // What is written is that format, whatever the name says.
    QTemporaryDir dir;
    QImage imagen(8, 8, QImage::Format_RGB32);
    imagen.fill(Qt::red);
    const QString destino = dir.filePath(QFileInfo(ruta).fileName());
    QVERIFY2(zul::guardaImagen(imagen, destino, error), qPrintable(error));
    QFile archivo(destino);
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    QImageReader lector(&archivo);
    lector.setDecideFormatFromContent(true);
    QCOMPARE(lector.format(), formato == "jpg" ? QByteArray("jpeg") : formato);
}

// --camara through the real program: the same picture as the scene painter
// draws for that camera, and a wrong value refused as a usage error.
void PruebaCamaras::opcionCamara_data() {
    QTest::addColumn<QString>("valor");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QPoint>("pixelKart0"); // -1: not checked
    // Player 0 at (5.5, 5.5), player 1 (the leader from frame 1) at (15.5, 2.5).
    QTest::newRow("seguir") << "seguir" << 0 << QPoint(100, 100);
    QTest::newRow("centrado") << "centrado" << 0 << QPoint(150, 100);
    QTest::newRow("pista") << "pista" << 0 << QPoint(82, 107);
    QTest::newRow("director") << "director" << 0 << QPoint(2, 130);
    QTest::newRow("mal") << "arriba" << 2 << QPoint(-1, -1);
}

void PruebaCamaras::opcionCamara() {
    QFETCH(QString, valor);
    QFETCH(int, estado);
    QFETCH(QPoint, pixelKart0);
    QTemporaryDir dir;
    QFile mapa(dir.filePath("mapa.txt"));
    QVERIFY(mapa.open(QIODevice::WriteOnly));
    QByteArray celdas = "10 20\n";
    for (int i = 0; i < 10; ++i) {
        celdas += "5" + QByteArray(" 4").repeated(19) + "\n";
    }
    mapa.write(celdas);
    mapa.close();
    QFile carrera(dir.filePath("carrera.txt"));
    QVERIFY(carrera.open(QIODevice::WriteOnly));
    // Player 1 completes a lap in frame 1 and leads from then on.
    carrera.write("2 alfa beta\np 5.5 5.5 0 0\np 15.5 2.5 0 0\np 5.5 5.5 0 0\np 15.5 2.5 0 1\n");
    carrera.close();
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    proceso.setProcessEnvironment(entorno);
    const QString salida = dir.filePath("x.png");
    proceso.start(QStringLiteral(ZUL_BINARIO_VISOR),
                  {"--png", salida, "--paso", "1", "--tamano", "300x200", "--camara", valor,
                   carrera.fileName(), mapa.fileName()});
    QVERIFY(proceso.waitForFinished(60000));
    QCOMPARE(proceso.exitCode(), estado);
    if (estado != 0) {
        QVERIFY(QString::fromLocal8Bit(proceso.readAllStandardError()).contains("--camara"));
        QVERIFY(!QFile::exists(salida));
        return;
    }
    const QImage imagen(salida);
    QCOMPARE(imagen.size(), QSize(300, 200));
    QCOMPARE(imagen.pixelColor(pixelKart0 + QPoint(1, 3)), zul::colorDisco(0));
}

QTEST_MAIN(PruebaCamaras)
#include "prueba_camaras.moc"
