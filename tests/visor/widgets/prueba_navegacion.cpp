// Getting around a race: the timeline and its event marks, the keyboard
// shortcuts and their help window, and the mouse on the track.
#include "geometria/colores.h"
#include "geometria/geometria.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CVisualizador.h"
#include "ventana/CVentana.h"
#include "ventana_de_prueba.h"

#include <QApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// Player 0 of frame k stands at (100 + k, 5) and player 1 three cells to its
// right, so the view tells which frame is on show. Player 0 completes a lap
// in frame 4 and player 1 in frame 7; frame 2 has two shots and frame 9 one.
// Shot i starts at (200 + i, 0).
QByteArray carreraDePrueba() {
    QByteArray texto = "2 alfa beta\n";
    int disparo = 0;
    for (int k = 0; k < 12; ++k) {
        const int vueltas0 = k >= 4 ? 1 : 0;
        const int vueltas1 = k >= 7 ? 1 : 0;
        texto += "p " + QByteArray::number(100 + k) + " 5 0 " + QByteArray::number(vueltas0) + "\n";
        texto += "p " + QByteArray::number(103 + k) + " 5 0 " + QByteArray::number(vueltas1) + "\n";
        for (int veces = k == 2 ? 2 : (k == 9 ? 1 : 0); veces > 0; --veces) {
            texto += "s " + QByteArray::number(200 + disparo++) + " 0 1 1\n";
        }
    }
    return texto;
}

const QByteArray kMapa = "3 4\n4 4 4 4\n4 5 5 4\n4 4 4 4\n";

long long frameEnVista(const CVisualizador* vista) {
    return std::llround(vista->posicionJugador(0).x()) - 100;
}

QString disparosEnVista(const CVisualizador* vista) {
    QStringList ids;
    for (const QPointF& p : vista->iniciosDisparos()) {
        ids << QString::number(p.x() - 200);
    }
    return ids.join(',');
}

QPushButton* boton(QWidget* raiz, const QString& texto) {
    for (QPushButton* b : raiz->findChildren<QPushButton*>()) {
        if (b->text() == texto) {
            return b;
        }
    }
    return nullptr;
}

template <typename T> T* alLado(QWidget* raiz, const QString& etiqueta) {
    for (QLabel* l : raiz->findChildren<QLabel*>()) {
        if (l->text() == etiqueta) {
            QLayout* fila = l->parentWidget()->layout();
            const int i = fila->indexOf(l);
            return qobject_cast<T*>(fila->itemAt(i + 1)->widget());
        }
    }
    return nullptr;
}

QColor colorEn(const QImage& imagen, int x, int y) {
    return QColor(imagen.pixel(x, y));
}

} // namespace

class PruebaNavegacion : public QObject {
    Q_OBJECT

private slots:
    void init();
    void lineaBajoLaPista();
    void sigueLaReproduccion();
    void buscarEnLaBarra_data();
    void buscarEnLaBarra();
    void arrastrarLaBarra();
    void disparosTrasBuscar();
    void pasoAtras();
    void teclas_data();
    void teclas();
    void espacioConElFoco_data();
    void espacioConElFoco();
    void selectorConservaSusTeclas();
    void zoomConTeclasYRueda();
    void jugadoresConNumeros();
    void clicEnKart();
    void marcasDeEventos();
    void botonesDeEventos();
    void ayuda();
    void carreraSinFrames();

private:
    std::unique_ptr<CVentana> abre(const QByteArray& carrera = carreraDePrueba(),
                                   bool mostrar = true);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaNavegacion::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

std::unique_ptr<CVentana> PruebaNavegacion::abre(const QByteArray& carrera, bool mostrar) {
    return abreVentanaDePrueba(*dir, carrera, kMapa, QSize(), mostrar);
}

// The left pane holds the track view over the timeline, which spans every
// frame and starts on frame 0.
void PruebaNavegacion::lineaBajoLaPista() {
    auto v = abre();
    auto* divisor = v->findChild<QSplitter*>();
    QVERIFY(divisor != nullptr);
    QWidget* pista = divisor->widget(0);
    auto* linea = v->findChild<CLineaTiempo*>();
    QVERIFY(linea != nullptr);
    QVERIFY(pista->isAncestorOf(v->vista()));
    QVERIFY(pista->isAncestorOf(linea));
    QVERIFY(linea->geometry().top() >= v->vista()->geometry().bottom());
    QCOMPARE(linea->width(), v->vista()->width());

    QCOMPARE(linea->barra()->minimum(), 0);
    QCOMPARE(linea->barra()->maximum(), 11);
    QCOMPARE(linea->barra()->value(), 0);
    QCOMPARE(linea->contador()->text(), QStringLiteral("Paso 0 de 12"));
}

void PruebaNavegacion::sigueLaReproduccion() {
    auto v = abre();
    auto* linea = v->findChild<CLineaTiempo*>();
    QPushButton* ejecutar = boton(v.get(), "Ejecuta&r");
    QTest::mouseClick(ejecutar, Qt::LeftButton);
    QTimer* temporizador = nullptr;
    for (QTimer* t : v->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (t->interval() == 1000) {
            temporizador = t;
        }
    }
    QVERIFY(temporizador != nullptr && temporizador->isActive());
    for (int k = 1; k <= 3; ++k) {
        QVERIFY(QMetaObject::invokeMethod(temporizador, "timeout"));
        QCOMPARE(linea->barra()->value(), k);
        QCOMPARE(linea->contador()->text(), QString("Paso %1 de 12").arg(k));
    }
    // Past the end the replay, and so the timeline, stays on the last frame.
    v->reproductor()->irAFrame(11);
    QVERIFY(QMetaObject::invokeMethod(temporizador, "timeout"));
    QCOMPARE(linea->contador()->text(), QStringLiteral("Paso 11 de 12"));
    QCOMPARE(linea->barra()->value(), 11);
}

// A click anywhere on the groove shows that frame at once, and the replay
// goes on from there.
void PruebaNavegacion::buscarEnLaBarra_data() {
    QTest::addColumn<int>("destino");
    QTest::newRow("primero") << 0;
    QTest::newRow("medio") << 6;
    QTest::newRow("ultimo") << 11;
}

void PruebaNavegacion::buscarEnLaBarra() {
    QFETCH(int, destino);
    auto v = abre();
    v->reproductor()->irAFrame(3); // the handle is away from every destination
    auto* linea = v->findChild<CLineaTiempo*>();
    CBarraFrames* barra = linea->barra();
    const QPoint punto(barra->xDeValor(destino), barra->height() / 2);
    QTest::mouseClick(barra, Qt::LeftButton, Qt::NoModifier, punto);
    QCOMPARE(frameEnVista(v->vista()), destino);
    QCOMPARE(v->reproductor()->frame(), destino);
    QCOMPARE(barra->value(), destino);
    QCOMPARE(linea->contador()->text(), QString("Paso %1 de 12").arg(destino));
    QCOMPARE(v->reproductor()->reproduccion().siguienteFrame(),
             std::uint32_t(destino == 11 ? 12 : destino + 1));
}

void PruebaNavegacion::arrastrarLaBarra() {
    auto v = abre();
    CBarraFrames* barra = v->findChild<CLineaTiempo*>()->barra();
    const int y = barra->height() / 2;
    QTest::mousePress(barra, Qt::LeftButton, Qt::NoModifier, QPoint(barra->xDeValor(0), y));
    QCOMPARE(v->reproductor()->frame(), 0);
    // Every frame passed on the way shows at once.
    for (int k : {3, 8}) {
        QMouseEvent movimiento(QEvent::MouseMove, QPointF(barra->xDeValor(k), y),
                               barra->mapToGlobal(QPointF(barra->xDeValor(k), y)), Qt::NoButton,
                               Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(barra, &movimiento);
        QCOMPARE(v->reproductor()->frame(), k);
        QCOMPARE(frameEnVista(v->vista()), k);
    }
    QTest::mouseRelease(barra, Qt::LeftButton, Qt::NoModifier, QPoint(barra->xDeValor(8), y));
    QCOMPARE(barra->value(), 8);
}

// After a jump the shots of the frame shown come with it; later shots still
// wait for their own frames.
void PruebaNavegacion::disparosTrasBuscar() {
    auto v = abre();
    CBarraFrames* barra = v->findChild<CLineaTiempo*>()->barra();
    const int y = barra->height() / 2;
    QTest::mouseClick(barra, Qt::LeftButton, Qt::NoModifier, QPoint(barra->xDeValor(2), y));
    QCOMPARE(disparosEnVista(v->vista()), QStringLiteral("0,1"));
    v->step();
    QCOMPARE(disparosEnVista(v->vista()), QString());
    QTest::mouseClick(barra, Qt::LeftButton, Qt::NoModifier, QPoint(barra->xDeValor(8), y));
    QCOMPARE(disparosEnVista(v->vista()), QString());
    v->step();
    QCOMPARE(frameEnVista(v->vista()), 9);
    QCOMPARE(disparosEnVista(v->vista()), QStringLiteral("2"));
    // Back before the shots: they show again when their frames come.
    QTest::mouseClick(barra, Qt::LeftButton, Qt::NoModifier, QPoint(barra->xDeValor(1), y));
    v->step();
    QCOMPARE(disparosEnVista(v->vista()), QStringLiteral("0,1"));
}

// "Paso atras" sits beside "Pa&so" and shows the frame before.
void PruebaNavegacion::pasoAtras() {
    auto v = abre();
    QPushButton* atras = boton(v.get(), "Paso atras");
    QPushButton* paso = boton(v.get(), "Pa&so");
    QVERIFY(atras != nullptr && paso != nullptr);
    QCOMPARE(atras->parentWidget(), paso->parentWidget());
    QCOMPARE(atras->geometry().top(), paso->geometry().top());
    QVERIFY(atras->geometry().right() < paso->geometry().left());

    v->reproductor()->irAFrame(5);
    QTest::mouseClick(atras, Qt::LeftButton);
    QCOMPARE(frameEnVista(v->vista()), 4);
    QCOMPARE(v->reproductor()->reproduccion().siguienteFrame(), 5u);
    QTest::mouseClick(paso, Qt::LeftButton);
    QCOMPARE(frameEnVista(v->vista()), 5);
    v->reproductor()->irAFrame(0);
    QTest::mouseClick(atras, Qt::LeftButton);
    QCOMPARE(frameEnVista(v->vista()), 0);
    QCOMPARE(v->reproductor()->reproduccion().siguienteFrame(), 1u);
    // Past the end the last frame stays on show: one step back is the one
    // before it.
    v->reproductor()->irAFrame(11);
    v->step();
    QTest::mouseClick(atras, Qt::LeftButton);
    QCOMPARE(frameEnVista(v->vista()), 10);
}

void PruebaNavegacion::teclas_data() {
    QTest::addColumn<int>("desde");
    QTest::addColumn<QList<int>>("teclas");
    QTest::addColumn<int>("frame");
    using L = QList<int>;
    QTest::newRow("derecha") << 0 << L{Qt::Key_Right} << 1;
    QTest::newRow("derecha en el final") << 11 << L{Qt::Key_Right} << 11;
    QTest::newRow("izquierda") << 5 << L{Qt::Key_Left} << 4;
    QTest::newRow("izquierda en el primero") << 0 << L{Qt::Key_Left} << 0;
    QTest::newRow("inicio") << 7 << L{Qt::Key_Home} << 0;
    QTest::newRow("fin") << 3 << L{Qt::Key_End} << 11;
    QTest::newRow("re pag") << 0 << L{Qt::Key_PageUp} << 10;
    QTest::newRow("re pag hasta el final") << 5 << L{Qt::Key_PageUp} << 11;
    QTest::newRow("av pag") << 11 << L{Qt::Key_PageDown} << 1;
    QTest::newRow("av pag hasta el principio") << 4 << L{Qt::Key_PageDown} << 0;
    QTest::newRow("evento siguiente") << 0 << L{Qt::Key_BracketRight} << 2;
    QTest::newRow("tres eventos") << 0 << L{']', ']', ']'} << 7;
    QTest::newRow("tras el ultimo evento") << 9 << L{']'} << 9;
    QTest::newRow("evento anterior") << 11 << L{Qt::Key_BracketLeft} << 9;
    QTest::newRow("anterior desde un evento") << 7 << L{'['} << 4;
    QTest::newRow("antes del primero") << 2 << L{'['} << 2;
    QTest::newRow("entre eventos") << 5 << L{'[', ']'} << 7;
}

void PruebaNavegacion::teclas() {
    QFETCH(int, desde);
    QFETCH(QList<int>, teclas);
    QFETCH(int, frame);
    auto v = abre();
    v->reproductor()->irAFrame(desde);
    for (int tecla : teclas) {
        QTest::keyClick(v.get(), static_cast<Qt::Key>(tecla));
    }
    QCOMPARE(frameEnVista(v->vista()), frame);
    QCOMPARE(v->findChild<CLineaTiempo*>()->barra()->value(), frame);
}

// Space runs and pauses wherever the focus is: a focused button is not
// pressed, and a focused spin box does not take it as typing.
void PruebaNavegacion::espacioConElFoco_data() {
    QTest::addColumn<QString>("foco");
    QTest::newRow("nada") << QString();
    QTest::newRow("boton Paso") << "Pa&so";
    QTest::newRow("boton Reiniciar") << "Reiniciar";
    QTest::newRow("zoom") << "Zoom:";
    QTest::newRow("velocidad") << "Velocidad(pasos/segundo):";
    QTest::newRow("jugador") << "Mirar al jugador:";
}

void PruebaNavegacion::espacioConElFoco() {
    QFETCH(QString, foco);
    auto v = abre();
    v->reproductor()->irAFrame(5);
    QWidget* conFoco = nullptr;
    if (!foco.isEmpty()) {
        conFoco = foco.endsWith(':')
                      ? static_cast<QWidget*>(alLado<QAbstractSpinBox>(v.get(), foco))
                      : boton(v.get(), foco);
        QVERIFY(conFoco != nullptr);
        conFoco->setFocus();
        QTRY_VERIFY(conFoco->hasFocus());
    }
    QWidget* destino = conFoco != nullptr ? conFoco : v.get();
    auto* velocidad = alLado<QDoubleSpinBox>(v.get(), "Velocidad(pasos/segundo):");
    auto* zoom = alLado<QDoubleSpinBox>(v.get(), "Zoom:");
    QPushButton* ejecutar = boton(v.get(), "Ejecuta&r");
    QPushButton* pausa = boton(v.get(), "&Pausa");

    QTest::keyClick(destino, Qt::Key_Space);
    QVERIFY(!ejecutar->isEnabled());
    QVERIFY(pausa->isEnabled());
    QTest::keyClick(destino, Qt::Key_Space);
    QVERIFY(ejecutar->isEnabled());
    QVERIFY(!pausa->isEnabled());
    // Nothing else happened: no step, no restart, no typing.
    QCOMPARE(frameEnVista(v->vista()), 5);
    QCOMPARE(v->reproductor()->reproduccion().siguienteFrame(), 6u);
    QCOMPARE(velocidad->value(), 1.0);
    QCOMPARE(zoom->value(), 10.0);
    if (conFoco != nullptr) {
        QVERIFY(conFoco->hasFocus());
    }
    // The buttons' mnemonics still work too.
    QTest::keyClick(destino, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(frameEnVista(v->vista()), 6);
}

// In a spin box with the focus, the keys that edit a number stay with it.
void PruebaNavegacion::selectorConservaSusTeclas() {
    auto v = abre();
    v->reproductor()->irAFrame(5);
    auto* jugador = alLado<QSpinBox>(v.get(), "Mirar al jugador:");
    jugador->setFocus();
    QTRY_VERIFY(jugador->hasFocus());
    QTest::keyClick(jugador, Qt::Key_PageUp); // steps the spin box
    QCOMPARE(jugador->value(), 1);
    for (Qt::Key tecla : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}) {
        QTest::keyClick(jugador, tecla);
    }
    QCOMPARE(frameEnVista(v->vista()), 5);
    // Typed digits replace the number instead of choosing a player.
    jugador->selectAll();
    QTest::keyClick(jugador, Qt::Key_0);
    QCOMPARE(jugador->value(), 0);
    QCOMPARE(v->vista()->jugadorSeguido(), 0);
    // Out of the spin box the same keys are shortcuts again.
    v->setFocus();
    QTRY_VERIFY(!jugador->hasFocus());
    QTest::keyClick(v.get(), Qt::Key_Right);
    QCOMPARE(frameEnVista(v->vista()), 6);
}

void PruebaNavegacion::zoomConTeclasYRueda() {
    auto v = abre();
    auto* zoom = alLado<QDoubleSpinBox>(v.get(), "Zoom:");
    CVisualizador* vista = v->vista();
    QTest::keyClick(v.get(), Qt::Key_Plus);
    QCOMPARE(zoom->value(), 12.5);
    QCOMPARE(vista->zoom(), 12.5);
    QTest::keyClick(v.get(), Qt::Key_Minus);
    QTest::keyClick(v.get(), Qt::Key_Minus);
    QCOMPARE(zoom->value(), 8.0);
    QCOMPARE(vista->zoom(), 8.0);

    const auto rueda = [vista](int angulo) {
        const QPointF punto(vista->width() / 2.0, vista->height() / 2.0);
        QWheelEvent evento(punto, vista->mapToGlobal(punto), QPoint(), QPoint(0, angulo),
                           Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(vista, &evento);
    };
    rueda(120);
    QCOMPARE(zoom->value(), 10.0);
    QCOMPARE(vista->zoom(), 10.0);
    rueda(-240);
    QCOMPARE(zoom->value(), 6.4);
    rueda(60); // half a notch
    QCOMPARE(zoom->value(), std::round(6.4 * std::sqrt(1.25) * 100.0) / 100.0);
    // The spin box's range holds.
    for (int i = 0; i < 40; ++i) {
        rueda(120);
    }
    QCOMPARE(zoom->value(), 50.0);
    QCOMPARE(vista->zoom(), 50.0);
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(v.get(), Qt::Key_Minus);
    }
    QCOMPARE(zoom->value(), 0.1);
}

void PruebaNavegacion::jugadoresConNumeros() {
    auto v = abre();
    auto* jugador = alLado<QSpinBox>(v.get(), "Mirar al jugador:");
    QTest::keyClick(v.get(), Qt::Key_2);
    QCOMPARE(jugador->value(), 1);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
    QTest::keyClick(v.get(), Qt::Key_1);
    QCOMPARE(v->vista()->jugadorSeguido(), 0);
    // The race has two players: key 3 follows nobody new.
    QTest::keyClick(v.get(), Qt::Key_2);
    QTest::keyClick(v.get(), Qt::Key_3);
    QTest::keyClick(v.get(), Qt::Key_9);
    QCOMPARE(jugador->value(), 1);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
}

// A click on a kart's disc follows that player; elsewhere it changes nothing.
void PruebaNavegacion::clicEnKart() {
    auto v = abre();
    CVisualizador* vista = v->vista();
    auto* jugador = alLado<QSpinBox>(v.get(), "Mirar al jugador:");
    QVERIFY(QTest::qWaitForWindowExposed(v.get()));
    const auto pixel = [vista](int j) {
        zul::Encuadre encuadre;
        encuadre.ancla = zul::anclaVista(vista->width(), vista->height());
        encuadre.zoom = vista->zoom();
        encuadre.centro = vista->posicionJugador(vista->jugadorSeguido());
        return encuadre.aPixel(vista->posicionJugador(j)).toPoint();
    };
    // Player 1's disc, 30 pixels right of player 0's, away from its edge.
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, pixel(1) + QPoint(10, 0));
    QCOMPARE(jugador->value(), 1);
    QCOMPARE(vista->jugadorSeguido(), 1);
    // Where the two discs overlap, the one on top wins.
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, pixel(0) + QPoint(15, 0));
    QCOMPARE(jugador->value(), 1);
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, pixel(0) - QPoint(20, 0));
    QCOMPARE(jugador->value(), 0);
    // Off the discs, or with another button: nothing.
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, pixel(0) - QPoint(0, 40));
    QTest::mouseClick(vista, Qt::RightButton, Qt::NoModifier, pixel(1) + QPoint(10, 0));
    QCOMPARE(jugador->value(), 0);
    QCOMPARE(vista->jugadorSeguido(), 0);
}

// Shots are marked in a colour no player has, in the upper half of the groove, laps in the
// player's disc colour in the lower half.
void PruebaNavegacion::marcasDeEventos() {
    auto v = abre();
    CBarraFrames* barra = v->findChild<CLineaTiempo*>()->barra();
    QCOMPARE(barra->marcas().size(), std::size_t(4));
    const QImage imagen = barra->grab().toImage();
    const QRect franja = barra->franjaMarcas();
    const int arriba = franja.top() + 1;
    const int abajo = franja.bottom() - 1;
    const QColor disparo = zul::colorMarcaDisparo();
    QCOMPARE(colorEn(imagen, barra->xDeValor(2), arriba), disparo);
    QCOMPARE(colorEn(imagen, barra->xDeValor(9), arriba), disparo);
    QCOMPARE(colorEn(imagen, barra->xDeValor(4), abajo), zul::colorDisco(0));
    QCOMPARE(colorEn(imagen, barra->xDeValor(7), abajo), zul::colorDisco(1));
    // Only there: not in the other half, not on frames without events.
    QVERIFY(colorEn(imagen, barra->xDeValor(2), abajo) != disparo);
    QVERIFY(colorEn(imagen, barra->xDeValor(4), arriba) != zul::colorDisco(0));
    for (int k : {5, 6}) {
        for (int y : {arriba, abajo}) {
            const QColor c = colorEn(imagen, barra->xDeValor(k), y);
            QVERIFY2(c != disparo && c != zul::colorDisco(0) && c != zul::colorDisco(1),
                     qPrintable(QString("frame %1: %2").arg(k).arg(c.name())));
        }
    }
}

// The event buttons jump like [ and ], and are disabled when there is no
// event to jump to.
void PruebaNavegacion::botonesDeEventos() {
    auto v = abre();
    auto* linea = v->findChild<CLineaTiempo*>();
    QPushButton* anterior = boton(v.get(), "Evento anterior");
    QPushButton* siguiente = boton(v.get(), "Evento siguiente");
    QCOMPARE(anterior, linea->botonAnterior());
    QCOMPARE(siguiente, linea->botonSiguiente());
    QVERIFY(!anterior->isEnabled());
    QVERIFY(siguiente->isEnabled());
    const QList<int> esperados = {2, 4, 7, 9};
    for (int frame : esperados) {
        QTest::mouseClick(siguiente, Qt::LeftButton);
        QCOMPARE(frameEnVista(v->vista()), frame);
        QCOMPARE(anterior->isEnabled(), frame > 2);
    }
    QVERIFY(!siguiente->isEnabled());
    QTest::mouseClick(anterior, Qt::LeftButton);
    QCOMPARE(frameEnVista(v->vista()), 7);
    QVERIFY(siguiente->isEnabled());
}

// F1 opens one small window that lists every shortcut of the window, the
// buttons' mnemonics and the mouse.
void PruebaNavegacion::ayuda() {
    auto v = abre();
    QTest::keyClick(v.get(), Qt::Key_F1);
    auto* dialogo = v->findChild<QDialog*>(QStringLiteral("dialogoAtajos"));
    QVERIFY(dialogo != nullptr);
    QVERIFY(dialogo->isVisible());
    QCOMPARE(dialogo->windowTitle(), QStringLiteral("Atajos de teclado"));
    auto* tabla = dialogo->findChild<QTableWidget*>();
    QVERIFY(tabla != nullptr);
    QStringList teclas;
    QString todo;
    for (int i = 0; i < tabla->rowCount(); ++i) {
        teclas << tabla->item(i, 0)->text();
        todo += tabla->item(i, 0)->text() + " = " + tabla->item(i, 1)->text() + "\n";
        QVERIFY2(!tabla->item(i, 1)->text().isEmpty(), qPrintable(teclas.last()));
    }
    for (const char* tecla :
         {"Espacio", "Flecha derecha", "Flecha izquierda", "Inicio", "Fin", "Re Pág", "Av Pág", "+",
          "-", "1 … 9", "[", "]", "F1", "Alt+R", "Alt+P", "Alt+S", "Clic en un kart"}) {
        QVERIFY2(teclas.contains(QString::fromUtf8(tecla)), qPrintable(todo));
    }
    // Every shortcut of the window has its row.
    for (const QShortcut* atajo : v->findChildren<QShortcut*>()) {
        const QString propia = atajo->property("tecla").toString();
        const QString nativa = atajo->key().toString(QKeySequence::NativeText);
        const bool digito = atajo->key().count() == 1 && atajo->key()[0].key() >= Qt::Key_1 &&
                            atajo->key()[0].key() <= Qt::Key_9;
        QVERIFY2(teclas.contains(propia) || teclas.contains(nativa) || digito,
                 qPrintable(nativa + "\n" + todo));
    }
    // F1 again brings the same window forward instead of another one.
    QApplication::setActiveWindow(v.get());
    QTest::keyClick(v.get(), Qt::Key_F1);
    QCOMPARE(v->findChildren<QDialog*>(QStringLiteral("dialogoAtajos")).size(), 1);
    QPushButton* cerrar = boton(dialogo, "Cerrar");
    QVERIFY(cerrar != nullptr);
    QTest::mouseClick(cerrar, Qt::LeftButton);
    QVERIFY(!dialogo->isVisible());
}

// A race log with a header only: nothing to navigate, and nothing breaks.
void PruebaNavegacion::carreraSinFrames() {
    auto v = abre("2 alfa beta\ns 1 1 2 2\n");
    auto* linea = v->findChild<CLineaTiempo*>();
    QCOMPARE(linea->contador()->text(), QStringLiteral("Paso - de 0"));
    QVERIFY(!linea->barra()->isEnabled());
    QVERIFY(!linea->botonAnterior()->isEnabled());
    QVERIFY(!linea->botonSiguiente()->isEnabled());
    QVERIFY(linea->barra()->marcas().empty());
    for (Qt::Key tecla : {Qt::Key_End, Qt::Key_Home, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp,
                          Qt::Key_PageDown, Qt::Key_BracketLeft, Qt::Key_BracketRight}) {
        QTest::keyClick(v.get(), tecla);
    }
    QCOMPARE(v->reproductor()->frame(), -1);
    QCOMPARE(linea->contador()->text(), QStringLiteral("Paso - de 0"));
}

QTEST_MAIN(PruebaNavegacion)
#include "prueba_navegacion.moc"
