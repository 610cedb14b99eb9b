// The bots' debug layer through the plain scene painter: lines, circles,
// texts, the command arrow and the shot ring land on the pixels of their map
// points, at two zooms and with each camera; the check box's option hides
// them; numbers that are not finite draw nothing and break nothing.
#include "datos/depuracion.h"
#include "escena/camara.h"
#include "escena/escena.h"
#include "escena/pintor_escena.h"
#include "geometria/geometria.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>
#include <string>

namespace {

const QColor kRojo(255, 0, 0);
const QColor kVerde(0, 255, 0);
const QColor kAzul(0, 0, 255);

// A 20 x 10 map of walls (black), kart 0 at (5.5, 5.5) and kart 1 at (15.5, 2.5); the turn of
// player 1: a red line along y = 7.5 from x = 8 to 12, a green circle of radius 1 around
// (14, 7.5), a blue text at (2, 2), the command (1, 0) and a shot.
struct Datos {
    std::string celdas = std::string(200, '5');
    zul::TurnoDepuracion turno;
    Datos() {
        turno.id = 1;
        turno.disparo = true;
        turno.ordenX = 1;
        zul::DibujoDepuracion linea;
        linea.tipo = zul::DibujoDepuracion::Linea;
        linea.a = 8;
        linea.b = 7.5;
        linea.c = 12;
        linea.d = 7.5;
        linea.color = 0xff0000;
        zul::DibujoDepuracion circulo;
        circulo.tipo = zul::DibujoDepuracion::Circulo;
        circulo.a = 14;
        circulo.b = 7.5;
        circulo.c = 1;
        circulo.color = 0x00ff00;
        zul::DibujoDepuracion texto;
        texto.tipo = zul::DibujoDepuracion::Texto;
        texto.a = 2;
        texto.b = 2;
        texto.texto = "HHHH";
        texto.color = 0x0000ff;
        turno.dibujos = {linea, circulo, texto};
    }
};

zul::Escena escenaDe(Datos& datos, double zoom, zul::Camara camara) {
    zul::Escena e;
    e.tamano = QSize(400, 240);
    e.zoom = zoom;
    e.filas = 10;
    e.columnas = 20;
    e.celdas = datos.celdas;
    e.posiciones = {QPointF(5.5, 5.5), QPointF(15.5, 2.5)};
    e.angulos = {0.0, 0.0};
    e.mira = 1;
    e.lider = 0;
    e.opciones.camara = camara;
    e.depuracion = {&datos.turno};
    return e;
}

QImage pinta(const zul::Escena& escena) {
    QImage imagen(escena.tamano, QImage::Format_RGB32);
    QPainter lienzo(&imagen);
    zul::PintorEscena pintor;
    pintor.pinta(lienzo, escena);
    return imagen;
}

// Pixels of `color` in the rectangle; with `cerca`, also those within that much of it in each
// channel (antialiased text).
int cuenta(const QImage& imagen, QRect zona, QColor color, int cerca = 0) {
    int n = 0;
    zona = zona.intersected(imagen.rect());
    for (int y = zona.top(); y <= zona.bottom(); ++y) {
        for (int x = zona.left(); x <= zona.right(); ++x) {
            const QColor p = imagen.pixelColor(x, y);
            n += std::abs(p.red() - color.red()) <= cerca &&
                 std::abs(p.green() - color.green()) <= cerca &&
                 std::abs(p.blue() - color.blue()) <= cerca;
        }
    }
    return n;
}

} // namespace

class PruebaCapaDepuracion : public QObject {
    Q_OBJECT

private slots:
    void dibujos_data();
    void dibujos();
    void numerosRaros();
};

void PruebaCapaDepuracion::dibujos_data() {
    QTest::addColumn<int>("camara");
    QTest::addColumn<double>("zoom");
    for (double zoom : {8.0, 16.0}) {
        for (auto [nombre, camara] :
             {std::pair{"seguir", zul::Camara::Seguir},
              std::pair{"centrado", zul::Camara::Centrado}, std::pair{"pista", zul::Camara::Pista},
              std::pair{"director", zul::Camara::Director}}) {
            QTest::addRow("%s_%g", nombre, zoom) << int(camara) << zoom;
        }
    }
}

void PruebaCapaDepuracion::dibujos() {
    QFETCH(int, camara);
    QFETCH(double, zoom);
    Datos datos;
    zul::Escena e = escenaDe(datos, zoom, static_cast<zul::Camara>(camara));
    const zul::Encuadre encuadre = zul::encuadreDe(e);
    const double z = encuadre.zoom;
    const QImage imagen = pinta(e);

    // The line's row: red from its start to its end, nothing red a few pixels off it.
    const QPointF a = encuadre.aPixel(QPointF(8, 7.5));
    const QPointF b = encuadre.aPixel(QPointF(12, 7.5));
    const int fila = static_cast<int>(std::floor(a.y()));
    const int rojos = cuenta(imagen, QRect(0, fila - 1, imagen.width(), 3), kRojo);
    QVERIFY2(std::abs(rojos - (b.x() - a.x())) <= 2, qPrintable(QString::number(rojos)));
    QCOMPARE(cuenta(imagen, QRect(0, fila + 4, imagen.width(), 1), kRojo), 0);

    // The circle: green where its rightmost and leftmost points fall, not at its centre.
    const QPointF c = encuadre.aPixel(QPointF(14, 7.5));
    for (double lado : {-1.0, 1.0}) {
        const QRect borde(static_cast<int>(c.x() + lado * z) - 1, static_cast<int>(c.y()) - 1, 3,
                          3);
        QVERIFY2(cuenta(imagen, borde, kVerde) > 0, qPrintable(QString::number(lado)));
    }
    QCOMPARE(cuenta(imagen, QRect(c.toPoint() - QPoint(1, 1), QSize(3, 3)), kVerde), 0);

    // The text: blue just above and to the right of its point.
    const QPoint t = encuadre.aPixel(QPointF(2, 2)).toPoint();
    if (imagen.rect().contains(t)) {
        QVERIFY(cuenta(imagen, QRect(t.x(), t.y() - 30, 60, 30), kAzul, 60) > 5);
        QCOMPARE(cuenta(imagen, QRect(t.x() - 40, t.y() + 5, 30, 30), kAzul, 60), 0);
    }

    // The command (1, 0) of player 1: a white arrow to its right, one cell past the disc.
    const QPointF kart = encuadre.aPixel(e.posiciones[1]);
    const double largo = zul::radioDisco(z) + z;
    const int blancos = cuenta(imagen,
                               QRect(static_cast<int>(kart.x() + zul::radioDisco(z)) + 2,
                                     static_cast<int>(kart.y()) - 1, static_cast<int>(z) - 4, 3),
                               Qt::white);
    QVERIFY2(blancos >= static_cast<int>(z) - 4, qPrintable(QString::number(blancos)));
    QCOMPARE(
        cuenta(imagen,
               QRect(static_cast<int>(kart.x() + largo) + 3, static_cast<int>(kart.y()) - 1, 20, 3),
               Qt::white),
        0);
    // The shot: a red ring around the kart, not over kart 0.
    const QColor aro(255, 60, 60);
    QVERIFY(cuenta(imagen, QRect(kart.toPoint() - QPoint(80, 80), QSize(160, 160)), aro) > 0);
    const QPoint otro = encuadre.aPixel(e.posiciones[0]).toPoint();
    QCOMPARE(cuenta(imagen, QRect(otro - QPoint(30, 30), QSize(60, 60)), aro), 0);

    // "Depuración" off: none of it.
    e.opciones.depuracion = false;
    const QImage sin = pinta(e);
    for (const QColor& color : {kRojo, kVerde, aro}) {
        QCOMPARE(cuenta(sin, sin.rect(), color), 0);
    }
    QCOMPARE(cuenta(sin, sin.rect(), kAzul, 60), 0);
}

// Not-a-number, infinite and huge numbers, and a player that is not in the race: nothing of
// them is drawn, and what is finite still is.
void PruebaCapaDepuracion::numerosRaros() {
    Datos datos;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<zul::DibujoDepuracion> raros;
    for (double v : {nan, inf, -inf, 1e300, -1e300}) {
        for (auto tipo : {zul::DibujoDepuracion::Linea, zul::DibujoDepuracion::Circulo,
                          zul::DibujoDepuracion::Texto}) {
            zul::DibujoDepuracion d;
            d.tipo = tipo;
            d.a = v;
            d.b = 1;
            d.c = v;
            d.d = 2;
            d.color = 0xff0000;
            d.texto = "x";
            raros.push_back(d);
        }
    }
    datos.turno.dibujos.insert(datos.turno.dibujos.begin(), raros.begin(), raros.end());
    datos.turno.ordenX = nan;
    zul::TurnoDepuracion ajeno;
    ajeno.id = 7;
    ajeno.ordenX = 1;
    zul::Escena e = escenaDe(datos, 8.0, zul::Camara::Seguir);
    e.depuracion.append(&ajeno);
    const QImage imagen = pinta(e);
    const zul::Encuadre encuadre = zul::encuadreDe(e);
    const QPointF a = encuadre.aPixel(QPointF(8, 7.5));
    QVERIFY(cuenta(imagen, QRect(0, static_cast<int>(a.y()) - 1, imagen.width(), 3), kRojo) > 20);
}

QTEST_MAIN(PruebaCapaDepuracion)
#include "prueba_capa_depuracion.moc"
