// The standings in the window: the table following the frame on show, the end
// of the race, a click on a row, and the keys C and G.
#include "geometria/colores.h"
#include "paneles/CGraficas.h"
#include "paneles/CModeloClasificacion.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CPanelJugadores.h"
#include "paneles/CVisualizador.h"
#include "ventana/CGestorVentanas.h"
#include "ventana/CVentana.h"
#include "ventana_de_prueba.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFont>
#include <QHeaderView>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Lap counts of ana, beto and cu, frame by frame. The leader changes: beto
// at 1, cu by a jump of two at 3, ana at 6. Player 0 stands at x = 100 + k
// in frame k, so the view tells which frame is on show.
const int kVueltas[][3] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 2},
                           {2, 1, 2}, {2, 2, 2}, {3, 2, 2}, {3, 2, 3}};
// The standings' names, best first, at each frame.
const char* const kOrden[] = {"ana,beto,cu", "beto,ana,cu", "beto,ana,cu", "cu,beto,ana",
                              "cu,ana,beto", "cu,ana,beto", "ana,cu,beto", "ana,cu,beto"};
constexpr int kFrames = 8;

QByteArray carreraDePrueba(bool parcial = false) {
    QByteArray texto = "3 ana beto cu\n";
    for (int k = 0; k < kFrames; ++k) {
        for (int j = 0; j < 3; ++j) {
            texto += "p " + QByteArray::number(100 + k + 3 * j) + " 5 0 " +
                     QByteArray::number(kVueltas[k][j]) + "\n";
        }
    }
    // A log cut inside the frame after the last one: ana alone.
    if (parcial) {
        texto += "p 108 5 0 9\n";
    }
    return texto;
}

const QByteArray kMapa = "3 4\n4 4 4 4\n4 5 5 4\n4 4 4 4\n";

QPushButton* boton(QWidget* raiz, const QString& texto) {
    for (QPushButton* b : raiz->findChildren<QPushButton*>()) {
        if (b->text() == texto) {
            return b;
        }
    }
    return nullptr;
}

QTimer* temporizadorDe(CVentana* v) {
    for (QTimer* t : v->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (t->interval() != 50) {
            return t;
        }
    }
    return nullptr;
}

// The names in the table, top to bottom.
QString orden(const CPanelClasificacion* panel) {
    const CModeloClasificacion* m = panel->modelo();
    QStringList nombres;
    for (int f = 0; f < m->rowCount(); ++f) {
        nombres << m->data(m->index(f, CModeloClasificacion::Jugador)).toString();
    }
    return nombres.join(',');
}

} // namespace

class PruebaClasificacion : public QObject {
    Q_OBJECT

private slots:
    void init();
    void sigueElFrame_data();
    void sigueElFrame();
    void finDeCarrera_data();
    void finDeCarrera();
    void carreraEnCurso();
    void ventanaDelPrograma();
    void clicEnFila();
    void nombresLegibles();
    void teclaC_data();
    void teclaC();
    void teclaG();

private:
    std::unique_ptr<CVentana> abre(const QByteArray& carrera = carreraDePrueba(),
                                   QSize tamano = QSize());
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaClasificacion::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

std::unique_ptr<CVentana> PruebaClasificacion::abre(const QByteArray& carrera, QSize tamano) {
    return abreVentanaDePrueba(*dir, carrera, kMapa, tamano);
}

// However the frame on show is reached, the table shows its standings.
void PruebaClasificacion::sigueElFrame_data() {
    QTest::addColumn<QString>("acciones"); // s: step, b: back, +k: seek to k, keys by name
    QTest::addColumn<int>("frame");
    QTest::newRow("al abrir") << "" << 0;
    QTest::newRow("pasos") << "s s s" << 3;
    QTest::newRow("salto") << "+6" << 6;
    QTest::newRow("salto y atrás") << "+6 b" << 5;
    QTest::newRow("salto atrás") << "+6 +1" << 1;
    QTest::newRow("flechas") << "Right Right Right Right Left" << 3;
    QTest::newRow("Inicio tras un salto") << "+5 Home" << 0;
    QTest::newRow("Re Pág") << "PgUp" << 7;
}

void PruebaClasificacion::sigueElFrame() {
    QFETCH(QString, acciones);
    QFETCH(int, frame);
    auto v = abre();
    for (const QString& accion : acciones.split(' ', Qt::SkipEmptyParts)) {
        if (accion == QLatin1String("s")) {
            v->step();
        } else if (accion == QLatin1String("b")) {
            v->reproductor()->retrocede();
        } else if (accion.startsWith('+')) {
            v->reproductor()->irAFrame(accion.mid(1).toLongLong());
        } else {
            const int tecla = QKeySequence::fromString(accion)[0].key();
            QTest::keyClick(v.get(), static_cast<Qt::Key>(tecla));
        }
    }
    QCOMPARE(v->reproductor()->frame(), frame);
    CPanelClasificacion* panel = v->clasificacion();
    QCOMPARE(orden(panel), QString::fromLatin1(kOrden[frame]));
    const QString titulo =
        frame == kFrames - 1 ? "Clasificación final (paso %1)" : "Clasificación (paso %1)";
    QCOMPARE(panel->title(), titulo.arg(frame));
}

// A running replay pauses on the last frame (as the program's windows are
// set to), and the standings there are final; stepping or seeking back works
// as before and the mark goes.
void PruebaClasificacion::finDeCarrera_data() {
    QTest::addColumn<bool>("parcial");
    QTest::addColumn<int>("ultimo");      // the frame the replay stops on
    QTest::addColumn<int>("clasificado"); // the frame its standings are for
    QTest::newRow("completa") << false << 7 << 7;
    QTest::newRow("último paso incompleto") << true << 8 << 7;
}

void PruebaClasificacion::finDeCarrera() {
    QFETCH(bool, parcial);
    QFETCH(int, ultimo);
    QFETCH(int, clasificado);
    auto v = abre(carreraDePrueba(parcial));
    v->reproductor()->ponPausaAlFinal(true);
    QPushButton* ejecutar = boton(v.get(), "Ejecuta&r");
    QPushButton* pausa = boton(v.get(), "&Pausa");
    QTimer* temporizador = temporizadorDe(v.get());
    QVERIFY(ejecutar && pausa && temporizador);
    CPanelClasificacion* panel = v->clasificacion();

    QTest::mouseClick(ejecutar, Qt::LeftButton);
    for (int k = 1; k < ultimo; ++k) {
        QVERIFY(QMetaObject::invokeMethod(temporizador, "timeout"));
        QVERIFY(temporizador->isActive());
        QVERIFY(!panel->modelo()->esFinal());
    }
    QVERIFY(QMetaObject::invokeMethod(temporizador, "timeout"));
    QCOMPARE(v->reproductor()->frame(), ultimo);
    QVERIFY(!temporizador->isActive());
    QVERIFY(ejecutar->isEnabled());
    QVERIFY(!pausa->isEnabled());
    QCOMPARE(panel->title(), QString("Clasificación final (paso %1)").arg(clasificado));
    QCOMPARE(orden(panel), QString::fromLatin1(kOrden[clasificado]));

    v->reproductor()->retrocede();
    QCOMPARE(v->reproductor()->frame(), ultimo - 1);
    QVERIFY(!panel->modelo()->esFinal());
    QVERIFY(panel->title().startsWith("Clasificación (paso"));
    v->step();
    QCOMPARE(v->reproductor()->frame(), ultimo);
    QVERIFY(panel->modelo()->esFinal());
    v->reproductor()->irAFrame(2);
    QCOMPARE(panel->title(), QStringLiteral("Clasificación (paso 2)"));
    QCOMPARE(orden(panel), QString::fromLatin1(kOrden[2]));

    // Running again from there goes on to the end and pauses there again; a
    // seek to the end while running pauses too.
    QTest::mouseClick(ejecutar, Qt::LeftButton);
    QVERIFY(QMetaObject::invokeMethod(temporizador, "timeout"));
    QCOMPARE(v->reproductor()->frame(), 3);
    QVERIFY(temporizador->isActive());
    QTest::keyClick(v.get(), Qt::Key_End);
    QCOMPARE(v->reproductor()->frame(), ultimo);
    QVERIFY(!temporizador->isActive());
    QVERIFY(ejecutar->isEnabled());
}

// While the race is still being written its last frame is no end.
void PruebaClasificacion::carreraEnCurso() {
    auto v = abre();
    v->reproductor()->ponPausaAlFinal(true);
    v->reproductor()->ponCarreraEnCurso(true);
    QTimer* temporizador = temporizadorDe(v.get());
    v->ejecutar();
    v->reproductor()->irAFrame(kFrames - 1);
    QVERIFY(temporizador->isActive());
    QVERIFY(!v->clasificacion()->modelo()->esFinal());
    v->reproductor()->ponCarreraEnCurso(false);
    QVERIFY(!temporizador->isActive());
    QVERIFY(v->clasificacion()->modelo()->esFinal());
}

// The windows the program opens pause at the end; a bare window keeps its
// timer running past it.
void PruebaClasificacion::ventanaDelPrograma() {
    auto suelta = abre();
    CGestorVentanas gestor;
    QVERIFY(gestor.abre(dir->filePath("carrera.txt"), dir->filePath("mapa.txt")));
    for (CVentana* v : {suelta.get(), gestor.ventanaActual()}) {
        v->ejecutar();
        v->reproductor()->irAFrame(kFrames - 1);
        QCOMPARE(temporizadorDe(v)->isActive(), v == suelta.get());
        QVERIFY(v->clasificacion()->modelo()->esFinal());
    }
}

// A click on a row follows that player everywhere: the spin box, the view and
// the table's highlight; the keys 1 … 9 move the highlight too.
void PruebaClasificacion::clicEnFila() {
    auto v = abre(carreraDePrueba(), QSize(1600, 900));
    CPanelClasificacion* panel = v->clasificacion();
    QVERIFY(panel->isVisible());
    v->reproductor()->irAFrame(3); // cu, beto, ana
    QTableView* tabla = panel->tabla();
    auto* mira = v->findChild<QSpinBox*>();
    QVERIFY(mira != nullptr && mira->maximum() == 2);
    QCOMPARE(panel->modelo()->jugadorSeguido(), 0);

    const QRect fila = tabla->visualRect(panel->modelo()->index(0, 1));
    QVERIFY(!fila.isEmpty());
    QTest::mouseClick(tabla->viewport(), Qt::LeftButton, {}, fila.center());
    QCOMPARE(mira->value(), 2);
    QCOMPARE(v->vista()->jugadorSeguido(), 2);
    QCOMPARE(panel->modelo()->jugadorSeguido(), 2);
    const auto negrita = [panel](int f) {
        return panel->modelo()
            ->data(panel->modelo()->index(f, 1), Qt::FontRole)
            .value<QFont>()
            .bold();
    };
    QVERIFY(negrita(0));
    QVERIFY(!negrita(1));

    QTest::keyClick(v.get(), Qt::Key_2);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
    QCOMPARE(panel->modelo()->jugadorSeguido(), 1);
    QVERIFY(negrita(1));
    // The table takes no focus: the arrows still step the replay.
    QTest::keyClick(v.get(), Qt::Key_Right);
    QCOMPARE(v->reproductor()->frame(), 4);
}

// Each name sits on the plate its colour reads best on: black behind the
// pale ones, which would hardly show on the white table.
void PruebaClasificacion::nombresLegibles() {
    auto v = abre(carreraDePrueba(), QSize(1600, 900));
    CPanelClasificacion* panel = v->clasificacion();
    QVERIFY(panel->isVisible());
    QTableView* tabla = panel->tabla();
    const QImage imagen = tabla->viewport()->grab().toImage();
    bool algunaNegra = false;
    for (int f = 0; f < panel->modelo()->rowCount(); ++f) {
        const int jugador = panel->modelo()->jugadorEnFila(f);
        const QRect celda =
            tabla->visualRect(panel->modelo()->index(f, CModeloClasificacion::Jugador));
        const QColor fondo =
            zul::fondoLegible(QColor(QStringLiteral("#") + zul::colorEtiqueta(jugador)));
        // Just inside the cell's right end, past the short names.
        const QPoint punto(celda.right() - 3, celda.center().y());
        QCOMPARE(imagen.pixelColor(punto * imagen.devicePixelRatio()), fondo);
        algunaNegra = algunaNegra || fondo == QColor(Qt::black);
    }
    QVERIFY(algunaNegra);
}

// On show at the start only when the window is wide enough; C shows and hides
// it, and then the user's choice stands.
void PruebaClasificacion::teclaC_data() {
    QTest::addColumn<QSize>("tamano");
    QTest::addColumn<bool>("visible");
    QTest::newRow("tamaño de siempre") << QSize() << false;
    QTest::newRow("proyector") << QSize(1600, 900) << true;
}

void PruebaClasificacion::teclaC() {
    QFETCH(QSize, tamano);
    QFETCH(bool, visible);
    auto v = abre(carreraDePrueba(), tamano);
    CPanelClasificacion* panel = v->clasificacion();
    QCOMPARE(panel->isVisible(), visible);
    const QSize pista = v->vista()->size();
    const int anchoPanel = v->panelJugadores()->width();
    QTest::keyClick(v.get(), Qt::Key_C);
    QCOMPARE(panel->isVisible(), !visible);
    // The table takes its room from the track's (beside it, or under it
    // where it does not fit beside), never the panel's.
    QTRY_COMPARE(v->vista()->width() < pista.width() || v->vista()->height() < pista.height(),
                 !visible);
    QCOMPARE(v->panelJugadores()->width(), anchoPanel);
    QTest::keyClick(v.get(), Qt::Key_C);
    QCOMPARE(panel->isVisible(), visible);
    QTest::keyClick(v.get(), Qt::Key_C);
    v->resize(visible ? QSize(1800, 1000) : QSize(712, 512));
    QCOMPARE(panel->isVisible(), !visible);
}

// G opens the charts (built only then), G again closes them; a click on a
// point of a chart shows its frame in the window.
void PruebaClasificacion::teclaG() {
    auto v = abre();
    CPanelClasificacion* panel = v->clasificacion();
    QVERIFY(panel->graficas() == nullptr);
    QTest::keyClick(v.get(), Qt::Key_G);
    CGraficas* graficas = panel->graficas();
    QVERIFY(graficas != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(graficas));
    QVERIFY(graficas->isWindow());
    QCOMPARE(graficas->windowTitle(), QStringLiteral("Gráficas"));

    // cu's second point on the lap chart: its jump to two laps, at frame 3.
    QChartView* vista = graficas->vista(CGraficas::Posiciones);
    QChart* chart = graficas->grafica(CGraficas::Posiciones);
    QXYSeries* cu = graficas->series(CGraficas::Posiciones)[2];
    QCOMPARE(cu->points().at(1), QPointF(2, 1));
    const QPointF escena = chart->mapToScene(chart->mapToPosition(cu->points().at(1), cu));
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, vista->mapFromScene(escena));
    QTRY_COMPARE(v->reproductor()->frame(), 3);
    QCOMPARE(std::llround(v->vista()->posicionJugador(0).x()), 103);
    QCOMPARE(orden(panel), QString::fromLatin1(kOrden[3]));

    QApplication::setActiveWindow(v.get());
    QTest::keyClick(v.get(), Qt::Key_G);
    QVERIFY(!graficas->isVisible());
    QTest::keyClick(v.get(), Qt::Key_G);
    QCOMPARE(panel->graficas(), graficas);
    QVERIFY(graficas->isVisible());
    // G in the charts' own window closes them too.
    QApplication::setActiveWindow(graficas);
    QTest::keyClick(graficas, Qt::Key_G);
    QVERIFY(!graficas->isVisible());
}

QTEST_MAIN(PruebaClasificacion)
#include "prueba_clasificacion.moc"
