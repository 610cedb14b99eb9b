// The kept picture of a scene against a fresh paint of the same scene, over a
// long run of random changes, and the blocks that the painter fills itself
// against the way it painted every block before (drawRects, kept here as the
// reference).
#include "escena/cache_escena.h"
#include "escena/estelas.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"
#include "geometria/geometria.h"
#include "paneles/CVisualizador.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// The painter as it was before it filled blocks itself: every block through
// drawRects.
void pintaReferencia(QPainter& pintor, const zul::Escena& escena) {
    pintor.fillRect(QRect(QPoint(0, 0), escena.tamano), Qt::black);
    pintor.setPen(Qt::NoPen);
    const zul::Encuadre encuadre = zul::encuadreDe(escena);
    const zul::Rango filasV = zul::filasVisibles(encuadre, escena.filas, escena.tamano.height());
    const zul::Rango columnasV =
        zul::columnasVisibles(encuadre, escena.columnas, escena.tamano.width());
    if (!filasV.vacio() && !columnasV.vacio() && !escena.celdas.empty() &&
        escena.zoom < zul::kZoomFlechas) {
        pintor.setBrush(QColor(108, 81, 81));
        for (int i = filasV.inicio; i < filasV.fin; ++i) {
            const char* fila = escena.celdas.data() + static_cast<std::size_t>(i) *
                                                          static_cast<std::size_t>(escena.columnas);
            zul::bloquesFila(encuadre, i, fila, columnasV, escena.tamano,
                             [&](const QRectF& r) { pintor.drawRects(&r, 1); });
        }
    }
    zul::PintorEscena::pintaKarts(pintor, escena, encuadre);
    zul::PintorEscena::pintaRayos(pintor, escena, encuadre);
}

QImage pintaNueva(const zul::Escena& escena, QImage::Format formato = QImage::Format_RGB32) {
    QImage imagen(escena.tamano, formato);
    imagen.fill(Qt::magenta);
    QPainter pintor(&imagen);
    zul::PintorEscena escenas;
    escenas.pinta(pintor, escena);
    return imagen;
}

// Pixels that differ, with the alpha left out.
int distintos(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return -1;
    }
    int cuantos = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            cuantos += (la[x] & 0xffffffu) != (lb[x] & 0xffffffu);
        }
    }
    return cuantos;
}

// A grid with walls ('5') and track, alternating or at random.
std::string rejilla(std::mt19937& azar, int filas, int columnas, bool alterna) {
    std::string celdas(static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas), '5');
    std::uniform_int_distribution<int> celda(0, 9);
    for (int i = 0; i < filas; ++i) {
        for (int j = 0; j < columnas; ++j) {
            const int c = celda(azar);
            const char valor =
                alterna ? ((i + j) % 2 == 0 ? '4' : '5') : static_cast<char>('0' + (c > 5 ? 5 : c));
            celdas[static_cast<std::size_t>(i) * static_cast<std::size_t>(columnas) +
                   static_cast<std::size_t>(j)] = valor;
        }
    }
    return celdas;
}

} // namespace

class PruebaCacheEscena : public QObject {
    Q_OBJECT

private slots:
    void bloquesComoAntes_data();
    void bloquesComoAntes();
    void bloquesComoAntesMapaGrande_data();
    void bloquesComoAntesMapaGrande();
    void pistaCompletaSinCasillasLisas();
    void cacheComoPintadoNuevo();
    void opcionesDeProyectorEnLaClave();
    void vistaComoImagenNueva();
};

void PruebaCacheEscena::bloquesComoAntes_data() {
    QTest::addColumn<bool>("alterna");
    QTest::addColumn<int>("formato");
    QTest::newRow("alterno RGB32") << true << int(QImage::Format_RGB32);
    QTest::newRow("azar RGB32") << false << int(QImage::Format_RGB32);
    QTest::newRow("alterno ARGB32 premultiplicado")
        << true << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("azar ARGB32") << false << int(QImage::Format_ARGB32);
}

// Random grids, zooms, centres and view sizes: zooms 1 and 0.1, round
// fractions that put block edges on half pixels, and any zoom below the
// arrows.
void PruebaCacheEscena::bloquesComoAntes() {
    QFETCH(bool, alterna);
    QFETCH(int, formato);
    std::mt19937 azar(alterna ? 21 : 22);
    std::uniform_real_distribution<double> uno(0.0, 1.0);
    for (int caso = 0; caso < 150; ++caso) {
        const int filas = 5 + static_cast<int>(uno(azar) * 300);
        const int columnas = 5 + static_cast<int>(uno(azar) * 300);
        const std::string celdas = rejilla(azar, filas, columnas, alterna);
        zul::Escena escena;
        escena.tamano =
            QSize(1 + static_cast<int>(uno(azar) * 300), 1 + static_cast<int>(uno(azar) * 300));
        const double zooms[] = {1.0, 0.1, 0.5, 0.25, 2.0, 1.5, 3.0, 0.75};
        escena.zoom = caso % 3 == 0 ? 0.05 + uno(azar) * 6.9 : zooms[caso % 8];
        escena.filas = filas;
        escena.columnas = columnas;
        escena.celdas = celdas;
        double x = uno(azar) * columnas;
        double y = uno(azar) * filas;
        if (caso % 4 == 1) { // on quarter cells: edges on whole and half pixels
            x = std::round(x * 4) / 4;
            y = std::round(y * 4) / 4;
        }
        escena.posiciones = {QPointF(x, y), QPointF(uno(azar) * columnas, uno(azar) * filas)};
        escena.angulos = {uno(azar) * 6.3, uno(azar) * 6.3};
        escena.iniciosDisparos = {QPointF(x, y)};
        escena.finesDisparos = {QPointF(x + 10, y + 5)};
        QImage referencia(escena.tamano, static_cast<QImage::Format>(formato));
        referencia.fill(Qt::magenta);
        {
            QPainter pintor(&referencia);
            pintaReferencia(pintor, escena);
        }
        const QImage nueva = pintaNueva(escena, static_cast<QImage::Format>(formato));
        QVERIFY2(distintos(nueva, referencia) == 0,
                 qPrintable(QStringLiteral("caso %1: zoom %2, centro (%3, %4), %5 x %6")
                                .arg(caso)
                                .arg(escena.zoom, 0, 'g', 17)
                                .arg(x, 0, 'g', 17)
                                .arg(y, 0, 'g', 17)
                                .arg(escena.tamano.width())
                                .arg(escena.tamano.height())));
    }
}

void PruebaCacheEscena::bloquesComoAntesMapaGrande_data() {
    QTest::addColumn<double>("zoom"); // below zero: any zoom below the arrows
    QTest::addColumn<QSize>("tamano");
    QTest::addColumn<bool>("alterna");
    QTest::newRow("alterno, zoom 1, 512 x 512") << 1.0 << QSize(512, 512) << true;
    QTest::newRow("alterno, zoom 0,1, 512 x 512") << 0.1 << QSize(512, 512) << true;
    QTest::newRow("alterno, zoom 1, 640 x 360") << 1.0 << QSize(640, 360) << true;
    QTest::newRow("alterno, zoom 0,5, 333 x 700") << 0.5 << QSize(333, 700) << true;
    QTest::newRow("azar, zoom 1, 512 x 512") << 1.0 << QSize(512, 512) << false;
    QTest::newRow("azar, cualquier zoom, 700 x 500") << -1.0 << QSize(700, 500) << false;
}

// The 513 x 513 map of the benchmarks, seen whole: its centre moved by the
// hundredths of a cell that playback moves it by, then anywhere on it.
void PruebaCacheEscena::bloquesComoAntesMapaGrande() {
    QFETCH(double, zoom);
    QFETCH(QSize, tamano);
    QFETCH(bool, alterna);
    constexpr int kLado = 513;
    std::mt19937 azar(alterna ? 2103 : 2104);
    std::uniform_real_distribution<double> uno(0.0, 1.0);
    const std::string celdas = rejilla(azar, kLado, kLado, alterna);
    for (int caso = 0; caso < 8; ++caso) {
        zul::Escena escena;
        escena.tamano = tamano;
        escena.zoom = zoom > 0 ? zoom : 0.05 + uno(azar) * 6.9;
        escena.filas = kLado;
        escena.columnas = kLado;
        escena.celdas = celdas;
        double x = kLado / 2.0 + 0.01 * caso;
        double y = kLado / 2.0;
        if (caso >= 3) {
            x = uno(azar) * kLado;
            y = uno(azar) * kLado;
        }
        if (caso >= 6) {
            x = std::round(x * 4) / 4;
            y = std::round(y * 4) / 4;
        }
        escena.posiciones = {QPointF(x, y)};
        escena.angulos = {uno(azar) * 6.3};
        QImage referencia(escena.tamano, QImage::Format_RGB32);
        referencia.fill(Qt::magenta);
        {
            QPainter pintor(&referencia);
            pintaReferencia(pintor, escena);
        }
        QVERIFY2(distintos(pintaNueva(escena), referencia) == 0,
                 qPrintable(QStringLiteral("caso %1: zoom %2, centro (%3, %4)")
                                .arg(caso)
                                .arg(escena.zoom, 0, 'g', 17)
                                .arg(x, 0, 'g', 17)
                                .arg(y, 0, 'g', 17)));
    }
}

// "Pista completa" adds blocks only under the track cells with no arrow, so
// on a map whose track cells all have one it changes no pixel, at any zoom
// of the tiles and wherever the view lies.
void PruebaCacheEscena::pistaCompletaSinCasillasLisas() {
    std::mt19937 azar(2107);
    std::uniform_real_distribution<double> uno(0.0, 1.0);
    const int lado = 40;
    std::string celdas = rejilla(azar, lado, lado, false);
    for (char& c : celdas) {
        c = c == '4' ? '1' : c;
    }
    for (int caso = 0; caso < 30; ++caso) {
        zul::Flechas flechas;
        zul::Escena escena;
        escena.tamano =
            QSize(20 + static_cast<int>(uno(azar) * 280), 20 + static_cast<int>(uno(azar) * 280));
        escena.zoom = zul::kZoomFlechas + uno(azar) * 8;
        flechas.ajustaA(escena.zoom);
        escena.flechas = &flechas;
        escena.filas = lado;
        escena.columnas = lado;
        escena.celdas = celdas;
        escena.posiciones = {QPointF(uno(azar) * lado, uno(azar) * lado)};
        escena.angulos = {0.0};
        const QImage sin = pintaNueva(escena);
        escena.opciones.pistaCompleta = true;
        QVERIFY2(
            distintos(pintaNueva(escena), sin) == 0,
            qPrintable(QStringLiteral("caso %1: zoom %2").arg(caso).arg(escena.zoom, 0, 'g', 17)));
    }
}

// A scene changed at random, one thing at a time and sometimes nothing: the
// kept picture is always what a fresh paint gives, and it is kept when
// nothing changed.
void PruebaCacheEscena::cacheComoPintadoNuevo() {
    std::mt19937 azar(2101);
    std::uniform_real_distribution<double> uno(0.0, 1.0);
    std::string celdas = rejilla(azar, 60, 80, false);
    std::uint64_t revision = 0;
    zul::Estelas estelas;
    zul::Flechas flechas;
    flechas.ajustaA(8.0);
    std::vector<QPointF> recorrido(12, QPointF(10, 10));
    zul::Escena escena;
    escena.tamano = QSize(160, 120);
    escena.zoom = 3.0;
    escena.filas = 60;
    escena.columnas = 80;
    escena.celdas = celdas;
    escena.posiciones = {QPointF(20, 20), QPointF(30, 25), QPointF(40, 30)};
    escena.angulos = {0.0, 1.0, 2.0};
    escena.estelas = &estelas;
    escena.flechas = &flechas;
    zul::CacheEscena cache;
    zul::PintorEscena pintor;
    int reutilizadas = 0;
    for (int iteracion = 0; iteracion < 400; ++iteracion) {
        const int cambio = static_cast<int>(uno(azar) * 12);
        bool cambia = true;
        switch (cambio) {
        case 0:
            escena.tamano = QSize(40 + static_cast<int>(uno(azar) * 150),
                                  40 + static_cast<int>(uno(azar) * 150));
            break;
        case 1:
            escena.zoom = uno(azar) < 0.3 ? 8.0 : 0.1 + uno(azar) * 6;
            break;
        case 2:
            escena.mira = static_cast<int>(uno(azar) * 4) - 1;
            break;
        case 3:
            escena.posiciones[static_cast<int>(uno(azar) * 3)] += QPointF(uno(azar) * 2, 0.5);
            break;
        case 4:
            escena.angulos[static_cast<int>(uno(azar) * 3)] += 0.3;
            break;
        case 5:
            escena.iniciosDisparos.append(QPointF(uno(azar) * 80, uno(azar) * 60));
            escena.finesDisparos.append(QPointF(uno(azar) * 80, uno(azar) * 60));
            break;
        case 6:
            escena.iniciosDisparos.clear();
            escena.finesDisparos.clear();
            break;
        case 7:
            for (QPointF& p : recorrido) {
                p += QPointF(uno(azar), uno(azar));
            }
            estelas.pon(recorrido.data(), recorrido.size(), 3);
            break;
        case 8:
            escena.opciones.estelas = !escena.opciones.estelas;
            break;
        case 9: // other cells in the same place
            celdas[static_cast<std::size_t>(uno(azar) * celdas.size())] ^= 1;
            escena.revisionCeldas = ++revision;
            break;
        case 10:
            flechas.ajustaA(7.0 + uno(azar) * 5);
            break;
        default:
            cambia = false;
            // The same trails again change nothing either.
            estelas.pon(estelas.puntos().data(), estelas.puntos().size(), estelas.jugadores());
            break;
        }
        const QImage& guardada = cache.imagen(escena, pintor);
        if (!cambia && iteracion > 0) {
            QVERIFY2(!cache.pintoUltima(), qPrintable(QStringLiteral("paso %1").arg(iteracion)));
            ++reutilizadas;
        }
        QVERIFY2(distintos(guardada, pintaNueva(escena)) == 0,
                 qPrintable(QStringLiteral("paso %1, cambio %2").arg(iteracion).arg(cambio)));
    }
    QVERIFY(reutilizadas > 10);
}

// The projector's options and what they draw (the camera, the names and the
// leader, the whole track, the fading shots) changed at random: the kept
// picture is always a fresh paint's, and it is kept while nothing changed.
void PruebaCacheEscena::opcionesDeProyectorEnLaClave() {
    std::mt19937 azar(2103);
    std::uniform_real_distribution<double> uno(0.0, 1.0);
    const std::string celdas = rejilla(azar, 40, 60, false);
    zul::Flechas flechas;
    flechas.ajustaA(8.0);
    zul::Escena escena;
    escena.tamano = QSize(180, 140);
    escena.zoom = 8.0;
    escena.filas = 40;
    escena.columnas = 60;
    escena.celdas = celdas;
    escena.posiciones = {QPointF(10, 10), QPointF(12, 11), QPointF(30, 20)};
    escena.angulos = {0.0, 1.0, 2.0};
    escena.nombres = {QStringLiteral("alfa"), QStringLiteral("beta"), QStringLiteral("gama")};
    escena.flechas = &flechas;
    zul::CacheEscena cache;
    zul::PintorEscena pintor;
    int reutilizadas = 0;
    for (int iteracion = 0; iteracion < 160; ++iteracion) {
        const int cambio = static_cast<int>(uno(azar) * 10);
        bool cambia = true;
        switch (cambio) {
        case 0:
            escena.opciones.camara = static_cast<zul::Camara>(static_cast<int>(uno(azar) * 4));
            break;
        case 1:
            escena.opciones.etiquetas = !escena.opciones.etiquetas;
            break;
        case 2:
            escena.opciones.pistaCompleta = !escena.opciones.pistaCompleta;
            break;
        case 3:
            escena.opciones.disparosVisibles = !escena.opciones.disparosVisibles;
            break;
        case 4:
            escena.disparosAnteriores.append({QPointF(uno(azar) * 60, uno(azar) * 40),
                                              QPointF(uno(azar) * 60, uno(azar) * 40),
                                              1 + static_cast<int>(uno(azar) * 3)});
            break;
        case 5: // the same shots, one step older
            for (zul::DisparoAnterior& disparo : escena.disparosAnteriores) {
                disparo.edad = disparo.edad % 3 + 1;
            }
            cambia = !escena.disparosAnteriores.isEmpty();
            break;
        case 6:
            escena.nombres[static_cast<int>(uno(azar) * 3)] += QLatin1Char('x');
            break;
        case 7:
            escena.lider = static_cast<int>(uno(azar) * 4) - 1;
            break;
        case 8:
            escena.mira = static_cast<int>(uno(azar) * 3);
            break;
        default:
            cambia = false;
            break;
        }
        const QImage& guardada = cache.imagen(escena, pintor);
        if (!cambia && iteracion > 0) {
            QVERIFY2(!cache.pintoUltima(), qPrintable(QStringLiteral("paso %1").arg(iteracion)));
            ++reutilizadas;
        }
        QVERIFY2(distintos(guardada, pintaNueva(escena)) == 0,
                 qPrintable(QStringLiteral("paso %1, cambio %2").arg(iteracion).arg(cambio)));
    }
    QVERIFY(reutilizadas > 5);
}

// The view through its own slots: every repaint shows what a fresh picture of
// the view shows, before and after each change.
void PruebaCacheEscena::vistaComoImagenNueva() {
    CVisualizador vista;
    std::mt19937 azar(2102);
    std::uniform_real_distribution<double> uno(0.0, 1.0);
    vista.ponMapa(40, 50, rejilla(azar, 40, 50, false));
    vista.ponNumeroJugadores(2);
    vista.ponJugador(0, QPointF(20, 20), 0.0, 0);
    vista.ponJugador(1, QPointF(25, 22), 1.0, 0);
    vista.cambiaZoom(4.0);
    vista.resize(200, 150);
    std::vector<QPointF> recorrido = {QPointF(20, 20), QPointF(25, 22), QPointF(21, 21),
                                      QPointF(26, 23)};
    const auto compara = [&](const char* que) {
        for (int vez = 0; vez < 2; ++vez) { // a fresh paint, then the kept one
            QImage pantalla(vista.size(), QImage::Format_RGB32);
            pantalla.fill(Qt::magenta);
            vista.render(&pantalla);
            QVERIFY2(distintos(pantalla, vista.imagen()) == 0, que);
        }
    };
    compara("inicio");
    vista.ponJugador(0, QPointF(20.5, 20), 0.0, 0);
    compara("jugador");
    vista.cambiaZoom(2.0);
    compara("zoom");
    vista.cambiaZoom(9.0);
    compara("flechas");
    vista.cambiaMira(1);
    compara("mira");
    vista.dibujaRayo(QPointF(20, 20), QPointF(30, 30));
    compara("rayo");
    vista.quitaRayo();
    compara("sin rayo");
    vista.ponEstelas(recorrido.data(), recorrido.size(), 2);
    vista.muestraEstelas(true);
    compara("estelas");
    recorrido[3] = QPointF(30, 30);
    vista.ponEstelas(recorrido.data(), recorrido.size(), 2);
    compara("otras estelas");
    vista.ponMapa(40, 50, rejilla(azar, 40, 50, true)); // the same size, other cells
    compara("mapa");
    vista.resize(120, 220);
    compara("tamaño");
}

QTEST_MAIN(PruebaCacheEscena)
#include "prueba_cache_escena.moc"
