// Track view geometry: where cells, runs, tiles and karts land on the view.
#include "geometria/geometria.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Test names from the cases' own names.
template <typename Caso> std::string nombreDe(const ::testing::TestParamInfo<Caso>& info) {
    std::string nombre = info.param.nombre;
    std::replace(nombre.begin(), nombre.end(), ' ', '_');
    return nombre;
}

// The worked example: a 512 x 512 view at zoom 10 following (20.5, 30.5).
zul::Encuadre ejemplo() {
    zul::Encuadre e;
    e.ancla = zul::anclaVista(512, 512);
    e.zoom = 10.0;
    e.centro = QPointF(20.5, 30.5);
    return e;
}

TEST(Geometria, EjemploResuelto) {
    const zul::Encuadre e = ejemplo();
    EXPECT_EQ(e.ancla, 256.0);
    EXPECT_EQ(e.aPixel(QPointF(20.5, 30.5)), QPointF(256, 256));
    EXPECT_EQ(e.X(20), 251.0);
    EXPECT_EQ(e.X(21), 261.0);
    EXPECT_EQ(e.Y(30), 251.0);
    EXPECT_EQ(e.Y(31), 261.0);
    QPoint esquina;
    ASSERT_TRUE(zul::esquinaBaldosa(e, 30, 20, QSize(11, 11), QSize(512, 512), esquina));
    EXPECT_EQ(esquina, QPoint(251, 251)); // the cell's own corner
    EXPECT_EQ(zul::radioDisco(10.0), 25.0);
    EXPECT_EQ(zul::largoRumbo(10.0), 25.0);
}

struct CasoAncla {
    int ancho, alto;
    double ancla;
};

class Ancla : public ::testing::TestWithParam<CasoAncla> {};

TEST_P(Ancla, MitadDelLadoMenor) {
    const CasoAncla c = GetParam();
    EXPECT_EQ(zul::anclaVista(c.ancho, c.alto), c.ancla);
}

INSTANTIATE_TEST_SUITE_P(Vistas, Ancla,
                         ::testing::Values(CasoAncla{512, 512, 256.0}, CasoAncla{700, 500, 250.0},
                                           CasoAncla{500, 700, 250.0}, CasoAncla{301, 400, 150.5},
                                           CasoAncla{0, 0, 0.0}));

struct CasoTamano {
    double zoom;
    double radio;
    double largo;
};

class Tamanos : public ::testing::TestWithParam<CasoTamano> {};

TEST_P(Tamanos, DiscoYRumbo) {
    const CasoTamano c = GetParam();
    EXPECT_EQ(zul::radioDisco(c.zoom), c.radio);
    EXPECT_DOUBLE_EQ(zul::largoRumbo(c.zoom), c.largo);
}

INSTANTIATE_TEST_SUITE_P(
    Zooms, Tamanos,
    ::testing::Values(CasoTamano{2.0, 6.0, 6.0}, CasoTamano{4.0, 10.0, 10.0},
                      CasoTamano{10.0, 25.0, 25.0},
                      CasoTamano{2.4, 6.0, 6.0},    // 2.5 z is exactly 6: not above it
                      CasoTamano{2.41, 7.0, 6.025}, // radius up to the next whole pixel
                      CasoTamano{6.9, 18.0, 17.25}, CasoTamano{0.1, 6.0, 6.0},
                      CasoTamano{0.0, 6.0, 6.0}, CasoTamano{kNaN, 6.0, 6.0},
                      // Absurd zooms stay within what the painter can draw.
                      CasoTamano{1e300, zul::kLargoMaximo, zul::kLargoMaximo},
                      CasoTamano{kInf, zul::kLargoMaximo, zul::kLargoMaximo}));

struct CasoRango {
    const char* nombre;
    double ancla, centro, zoom;
    int cuantas, limite;
    int inicio, fin;
};

void PrintTo(const CasoRango& c, std::ostream* os) {
    *os << c.nombre;
}

class Rangos : public ::testing::TestWithParam<CasoRango> {};

TEST_P(Rangos, FilasYColumnasVisibles) {
    const CasoRango c = GetParam();
    const zul::Rango r = zul::rangoVisible(c.ancla, c.centro, c.zoom, c.cuantas, c.limite);
    if (c.inicio >= c.fin) {
        EXPECT_TRUE(r.vacio()) << r.inicio << " " << r.fin;
    } else {
        EXPECT_EQ(r.inicio, c.inicio);
        EXPECT_EQ(r.fin, c.fin);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Rangos,
    ::testing::Values(
        // Rows of the worked example: row 3 has its top at -19, within two cells
        // above the view; row 57 has its top at 521, within one cell below it.
        CasoRango{"ejemplo", 256, 30.5, 10, 61, 512, 3, 58},
        // Exactly two cells above still counts; exactly one below does not.
        CasoRango{"bordes exactos", 20, 0, 10, 100, 100, 0, 9},
        CasoRango{"bordes exactos desplazados", 0, 3, 10, 100, 100, 1, 14},
        CasoRango{"mapa entero dentro", 256, 2, 10, 4, 512, 0, 4},
        CasoRango{"todo por encima", 256, 1000, 10, 50, 512, 0, 0},
        CasoRango{"todo por debajo", 256, -1000, 10, 50, 512, 0, 0},
        CasoRango{"sin celdas", 256, 0, 10, 0, 512, 0, 0},
        CasoRango{"zoom cero", 256, 0, 0, 50, 512, 0, 0},
        CasoRango{"zoom negativo", 256, 0, -3, 50, 512, 0, 0},
        CasoRango{"zoom no numero", 256, 0, kNaN, 50, 512, 0, 0},
        CasoRango{"centro no numero", 256, kNaN, 10, 50, 512, 0, 0},
        CasoRango{"centro infinito", 256, kInf, 10, 50, 512, 0, 0},
        CasoRango{"centro lejano", 256, 1e300, 10, 50, 512, 0, 0},
        // 4096 cells at zoom 0.1 centred on the middle: all of them.
        CasoRango{"zoom pequeno", 256, 2048, 0.1, 4096, 512, 0, 4096},
        // A header of two thousand million rows and no column: only the first
        // rows lie in the view, and finding them takes no walk over the rest.
        CasoRango{"dos mil millones", 256, 0, 10, INT_MAX, 512, 0, 27},
        CasoRango{"dos mil millones al final", 256, INT_MAX, 10, INT_MAX, 512, INT_MAX - 27,
                  INT_MAX}),
    nombreDe<CasoRango>);

// The rule as first written: a walk in from each side until the test holds.
zul::Rango rangoRecorriendo(double ancla, double centro, double zoom, int cuantas, int limite) {
    if (cuantas <= 0 || !(zoom > 0.0) || !std::isfinite(zoom)) {
        return zul::Rango{};
    }
    const auto borde = [&](int k) { return ancla + (static_cast<double>(k) - centro) * zoom; };
    int inicio = 0;
    while (inicio < cuantas && !(borde(inicio) + 2.0 * zoom >= 0.0)) {
        ++inicio;
    }
    int fin = cuantas;
    while (fin > 0 && !(borde(fin - 1) - zoom < static_cast<double>(limite))) {
        --fin;
    }
    return zul::Rango{inicio, fin};
}

TEST(Rangos, IgualQueRecorrerLaDimension) {
    std::mt19937_64 azar(19);
    const auto elige = [&](std::initializer_list<double> valores) {
        return *(valores.begin() + azar() % valores.size());
    };
    const auto uniforme = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(azar);
    };
    for (int vuelta = 0; vuelta < 20000; ++vuelta) {
        const int cuantas = static_cast<int>(azar() % 3000) - 2;
        const int limite = static_cast<int>(azar() % 1200) - 100;
        const double ancla = elige({0.0, 0.5, 256.0, 350.0, uniforme(0, 1000)});
        // Whole and half centres and zooms land edges exactly on the tests' bounds.
        const double centro =
            elige({std::floor(uniforme(-50, 3050)), std::floor(uniforme(-50, 3050)) + 0.5,
                   uniforme(-1e4, 1e4), uniforme(-1e300, 1e300), 1e17, -1e17, kNaN, kInf, -kInf,
                   std::nextafter(0.0, 1.0), -0.0});
        const double zoom =
            elige({1.0, 2.0, 0.5, 10.0, 0.1, 7.0, uniforme(1e-3, 60), uniforme(0, 1e-300), 1e300,
                   0.0, -1.0, kNaN, kInf, std::numeric_limits<double>::denorm_min()});
        const zul::Rango esperado = rangoRecorriendo(ancla, centro, zoom, cuantas, limite);
        const zul::Rango r = zul::rangoVisible(ancla, centro, zoom, cuantas, limite);
        ASSERT_TRUE(r.inicio == esperado.inicio && r.fin == esperado.fin)
            << "ancla " << ancla << " centro " << centro << " zoom " << zoom << " cuantas "
            << cuantas << " limite " << limite << ": " << r.inicio << ".." << r.fin << " en vez de "
            << esperado.inicio << ".." << esperado.fin;
    }
}

struct CasoTramos {
    const char* fila;
    int inicio, fin; // columns examined; -1 for the whole row
    std::vector<std::pair<int, int>> tramos;
};

class Tramos : public ::testing::TestWithParam<CasoTramos> {};

TEST_P(Tramos, SeCortanEnMurosYAlFinal) {
    const CasoTramos c = GetParam();
    const std::string fila = c.fila;
    const zul::Rango rango{c.inicio, c.fin < 0 ? static_cast<int>(fila.size()) : c.fin};
    std::vector<std::pair<int, int>> vistos;
    zul::recorreTramos(fila.data(), rango,
                       [&](zul::Tramo t) { vistos.emplace_back(t.inicio, t.fin); });
    EXPECT_EQ(vistos, c.tramos);
}

using Pares = std::vector<std::pair<int, int>>;

INSTANTIATE_TEST_SUITE_P(
    Filas, Tramos,
    ::testing::Values(CasoTramos{"544505", 0, -1, Pares{{1, 2}, {4, 4}}},
                      CasoTramos{"4444", 0, -1, Pares{{0, 3}}},
                      CasoTramos{"0123", 0, -1, Pares{{0, 3}}}, // arrows are track too
                      CasoTramos{"5555", 0, -1, Pares{}}, CasoTramos{"", 0, -1, Pares{}},
                      CasoTramos{"4", 0, -1, Pares{{0, 0}}},
                      CasoTramos{"45454", 0, -1, Pares{{0, 0}, {2, 2}, {4, 4}}},
                      // The visible columns cut the runs.
                      CasoTramos{"44444444", 2, 7, Pares{{2, 6}}},
                      CasoTramos{"44544544", 1, 7, Pares{{1, 1}, {3, 4}, {6, 6}}},
                      CasoTramos{"4444", 2, 2, Pares{}}));

TEST(Bloques, FilaConDosTramos) {
    // Row 0 holds 5 4 4 5 0 5, drawn at zoom 6 from pixel 100.
    zul::Encuadre e;
    e.ancla = 100.0;
    e.zoom = 6.0;
    e.centro = QPointF(0.0, 0.0);
    const std::string fila = "544505";
    std::vector<QRectF> bloques;
    zul::bloquesFila(e, 0, fila.data(), zul::Rango{0, 6}, QSize(400, 400),
                     [&](const QRectF& r) { bloques.push_back(r); });
    ASSERT_EQ(bloques.size(), 2u);
    EXPECT_EQ(bloques[0], QRectF(106, 100, 12, 6)); // columns 1 and 2
    EXPECT_EQ(bloques[1], QRectF(124, 100, 6, 6));  // column 4
}

struct CasoBloque {
    const char* nombre;
    double ancla, zoom, cx, cy;
    int fila;
    zul::Tramo tramo;
    QRectF esperado; // empty: nothing shows
};

void PrintTo(const CasoBloque& c, std::ostream* os) {
    *os << c.nombre;
}

class Bloque : public ::testing::TestWithParam<CasoBloque> {};

TEST_P(Bloque, RectanguloDeUnTramo) {
    const CasoBloque c = GetParam();
    zul::Encuadre e;
    e.ancla = c.ancla;
    e.zoom = c.zoom;
    e.centro = QPointF(c.cx, c.cy);
    const QRectF r = zul::rectanguloTramo(e, c.fila, c.tramo, QSize(200, 100));
    if (c.esperado.isEmpty()) {
        EXPECT_TRUE(r.isEmpty()) << r.x() << " " << r.y() << " " << r.width();
    } else {
        EXPECT_DOUBLE_EQ(r.left(), c.esperado.left());
        EXPECT_DOUBLE_EQ(r.top(), c.esperado.top());
        EXPECT_DOUBLE_EQ(r.right(), c.esperado.right());
        EXPECT_DOUBLE_EQ(r.bottom(), c.esperado.bottom());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Bloque,
    ::testing::Values(
        // Zoom 5.5 from pixel 10: columns 2..3 span 21 to 32, row 1 spans 15.5 to 21.5.
        CasoBloque{"borde derecho al pixel siguiente", 10, 5.5, 0, 0, 1, {2, 2}, {21, 15.5, 6, 6}},
        CasoBloque{"dos celdas", 10, 5.5, 0, 0, 1, {2, 3}, {21, 15.5, 11, 6}},
        CasoBloque{"alto al pixel siguiente", 10, 0.5, 0, 0, 4, {0, 0}, {10, 12, 1, 1}},
        // Cut to the view widened by one pixel.
        CasoBloque{"cortado a la izquierda", 10, 10, 0, 0, 0, {-50, 0}, {-1, 10, 21, 10}},
        CasoBloque{"cortado a la derecha", 10, 10, 0, 0, 8, {10, 40}, {110, 90, 91, 10}},
        CasoBloque{"fuera por arriba", 10, 10, 0, 0, -3, {0, 0}, {}},
        CasoBloque{"fuera por la derecha", 10, 10, 0, 0, 0, {30, 31}, {}},
        CasoBloque{"zoom enorme", 0, 1e300, 0, 0, 0, {0, 0}, {0, 0, 201, 101}},
        CasoBloque{"centro lejano", 0, 10, -1e300, 0, 0, {0, 0}, {}},
        CasoBloque{"centro no numero", 0, 10, kNaN, kNaN, 0, {0, 0}, {}}),
    nombreDe<CasoBloque>);

TEST(Bloques, LosQueSeTocanSeUnen) {
    // At zoom 0.5 the runs of 4 5 4 5 ... all fall within the same few pixels.
    zul::Encuadre e;
    e.ancla = 0.0;
    e.zoom = 0.5;
    std::string fila;
    for (int j = 0; j < 40; ++j) {
        fila += j % 2 == 0 ? '4' : '5';
    }
    std::vector<QRectF> bloques;
    zul::bloquesFila(e, 0, fila.data(), zul::Rango{0, 40}, QSize(100, 100),
                     [&](const QRectF& r) { bloques.push_back(r); });
    ASSERT_EQ(bloques.size(), 1u);
    EXPECT_EQ(bloques[0], QRectF(0, 0, 20, 1));
}

struct CasoEsquina {
    const char* nombre;
    double cx, cy;
    bool dibuja;
    QPoint esquina;
};

void PrintTo(const CasoEsquina& c, std::ostream* os) {
    *os << c.nombre;
}

class Esquinas : public ::testing::TestWithParam<CasoEsquina> {};

TEST_P(Esquinas, TruncadaHaciaCero) {
    // Cell (0, 0) at zoom 10 from pixel 0, an 11 x 11 tile, a 100 x 100 view.
    const CasoEsquina c = GetParam();
    zul::Encuadre e;
    e.zoom = 10.0;
    e.centro = QPointF(c.cx, c.cy);
    QPoint esquina(-999, -999);
    EXPECT_EQ(zul::esquinaBaldosa(e, 0, 0, QSize(11, 11), QSize(100, 100), esquina), c.dibuja);
    if (c.dibuja) {
        EXPECT_EQ(esquina, c.esquina);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Esquinas,
    ::testing::Values(CasoEsquina{"dentro", -2.37, -4.51, true, QPoint(23, 45)},
                      CasoEsquina{"negativa", 0.37, 0.99, true, QPoint(-3, -9)},
                      CasoEsquina{"asoma un pixel", 1.0, 0.0, true, QPoint(-10, 0)},
                      CasoEsquina{"justo fuera a la izquierda", 1.1, 0.0, false, QPoint()},
                      CasoEsquina{"justo fuera a la derecha", -10.0, 0.0, false, QPoint()},
                      CasoEsquina{"lejos", -1e300, 1e300, false, QPoint()},
                      CasoEsquina{"no es numero", kNaN, 0.0, false, QPoint()}),
    nombreDe<CasoEsquina>);

TEST(Vista, PuntoDentro) {
    const QSize vista(512, 400);
    EXPECT_TRUE(zul::dentroDeVista(QPointF(0, 0), vista));
    EXPECT_TRUE(zul::dentroDeVista(QPointF(511.99, 399.99), vista));
    EXPECT_FALSE(zul::dentroDeVista(QPointF(512, 10), vista)); // x equal to the width
    EXPECT_FALSE(zul::dentroDeVista(QPointF(10, 400), vista));
    EXPECT_FALSE(zul::dentroDeVista(QPointF(-0.01, 10), vista));
    EXPECT_FALSE(zul::dentroDeVista(QPointF(kNaN, 10), vista));
    EXPECT_FALSE(zul::dentroDeVista(QPointF(10, kInf), vista));
}

TEST(Centro, JugadorSeguidoOMitadDelMapa) {
    const QVector<QPointF> dos = {QPointF(3, 4), QPointF(5, 6)};
    EXPECT_EQ(zul::eligeCentro(dos, 1, 60, 90), QPointF(5, 6));
    EXPECT_EQ(zul::eligeCentro(dos, 0, 0, 0), QPointF(3, 4));
    EXPECT_EQ(zul::eligeCentro(dos, 2, 60, 90), QPointF(45, 30));
    EXPECT_EQ(zul::eligeCentro(dos, -1, 61, 41), QPointF(20.5, 30.5));
    EXPECT_EQ(zul::eligeCentro({}, 0, 60, 90), QPointF(45, 30));
    EXPECT_EQ(zul::eligeCentro({}, 0, 0, 0), QPointF(0, 0));
    EXPECT_EQ(zul::eligeCentro({}, 0, 5, 0), QPointF(0, 0)); // rows but no columns: no grid
    const QVector<QPointF> raros = {QPointF(kNaN, 1), QPointF(1, kInf), QPointF(1e300, 2)};
    EXPECT_EQ(zul::eligeCentro(raros, 0, 60, 90), QPointF(45, 30));
    EXPECT_EQ(zul::eligeCentro(raros, 1, 60, 90), QPointF(45, 30));
    EXPECT_EQ(zul::eligeCentro(raros, 2, 60, 90), QPointF(1e300, 2)); // far, but a place
}

TEST(Rumbo, PuntaDeLaLinea) {
    const QPointF p(100, 100);
    const QPointF derecha = zul::puntaRumbo(p, 0.0, 25.0);
    EXPECT_DOUBLE_EQ(derecha.x(), 125.0);
    EXPECT_DOUBLE_EQ(derecha.y(), 100.0);
    const QPointF abajo = zul::puntaRumbo(p, 1.5707963267948966, 6.0); // increasing rows: down
    EXPECT_NEAR(abajo.x(), 100.0, 1e-12);
    EXPECT_DOUBLE_EQ(abajo.y(), 106.0);
}

struct CasoRecorte {
    const char* nombre;
    QLineF linea;
    bool queda;
    QLineF esperada;
};

void PrintTo(const CasoRecorte& c, std::ostream* os) {
    *os << c.nombre;
}

class Recorte : public ::testing::TestWithParam<CasoRecorte> {};

TEST_P(Recorte, LineaEnLaCaja) {
    const CasoRecorte c = GetParam();
    QLineF linea = c.linea;
    const QRectF caja(0, 0, 100, 50);
    EXPECT_EQ(zul::recortaSegmento(linea, caja), c.queda);
    if (c.queda) {
        EXPECT_NEAR(linea.x1(), c.esperada.x1(), 1e-9);
        EXPECT_NEAR(linea.y1(), c.esperada.y1(), 1e-9);
        EXPECT_NEAR(linea.x2(), c.esperada.x2(), 1e-9);
        EXPECT_NEAR(linea.y2(), c.esperada.y2(), 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Recorte,
    ::testing::Values(
        CasoRecorte{"dentro", QLineF(10.3, 20.7, 30.1, 40.9), true, QLineF(10.3, 20.7, 30.1, 40.9)},
        CasoRecorte{"cruza", QLineF(-50, 25, 150, 25), true, QLineF(0, 25, 100, 25)},
        CasoRecorte{"sale en diagonal", QLineF(50, 25, 150, 75), true, QLineF(50, 25, 100, 50)},
        CasoRecorte{"fuera", QLineF(-10, -10, -5, 60), false, QLineF()},
        CasoRecorte{"paralela fuera", QLineF(0, 60, 100, 60), false, QLineF()},
        CasoRecorte{"punto dentro", QLineF(5, 5, 5, 5), true, QLineF(5, 5, 5, 5)},
        CasoRecorte{"desde lejos", QLineF(50, 25, 1e11, 25), true, QLineF(50, 25, 100, 25)},
        CasoRecorte{"demasiado lejos", QLineF(50, 25, 1e300, 25), false, QLineF()},
        CasoRecorte{"infinita", QLineF(50, 25, kInf, 25), false, QLineF()},
        CasoRecorte{"no es numero", QLineF(50, 25, kNaN, 25), false, QLineF()}),
    nombreDe<CasoRecorte>);

} // namespace
