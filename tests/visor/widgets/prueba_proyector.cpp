// The window as a new user and a contest organiser at a projector use it:
// focus after typing, the player list, the smallest window, event jumps that
// follow the player, distinct colours, full screen, the panel and cameras.
#include "geometria/colores.h"
#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CPanelJugadores.h"
#include "paneles/CVisualizador.h"
#include "ventana/CDisposicion.h"
#include "ventana/CVentana.h"
#include "ventana_de_prueba.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <set>

namespace {

// Player 0 of frame k stands at (100 + k, 5) and player 1 three cells to its
// right. Player 0 completes a lap in frame 4 and player 1 in frame 7; frame 9
// has a shot that starts beside player 1.
QByteArray carreraDePrueba(const QByteArray& nombres = "alfa beta") {
    QByteArray texto = "2 " + nombres + "\n";
    for (int k = 0; k < 12; ++k) {
        texto += "p " + QByteArray::number(100 + k) + " 5 0 " + (k >= 4 ? "1" : "0") + "\n";
        texto += "p " + QByteArray::number(103 + k) + " 5 0 " + (k >= 7 ? "1" : "0") + "\n";
        if (k == 9) {
            texto += "s 113 5 120 5\n";
        }
    }
    return texto;
}

QByteArray carreraDe(int n) {
    QByteArray texto = QByteArray::number(n);
    for (int j = 0; j < n; ++j) {
        // Every seventh name long enough to be cut.
        texto += j % 7 == 3 ? " un_nombre_de_equipo_muy_largo_" + QByteArray::number(j)
                            : " j" + QByteArray::number(j);
    }
    texto += "\n";
    for (int j = 0; j < n; ++j) {
        texto += "p " + QByteArray::number(100 + 2 * j) + " 5 0 0\n";
    }
    return texto;
}

const QByteArray kMapa = "3 4\n4 4 4 4\n4 5 5 4\n4 4 4 4\n";

QRect enVentana(QWidget* w, QWidget* ventana) {
    return QRect(w->mapTo(ventana, QPoint(0, 0)), w->size());
}

} // namespace

class PruebaProyector : public QObject {
    Q_OBJECT

private slots:
    void init();
    void tamanoMinimo_data();
    void tamanoMinimo();
    void focoTrasEscribir();
    void escSaleDelCampo();
    void letrasDesdeUnCampo_data();
    void letrasDesdeUnCampo();
    void clicEnLaPistaQuitaElFoco();
    void clicEnUnNombre();
    void listaSinBarraYAlineada_data();
    void listaSinBarraYAlineada();
    void nombresLegibles();
    void saltoSigueAlJugador();
    void marcasConAyuda();
    void coloresDistintos();
    void pantallaCompletaYPanel();
    void teclasDeCamara();
    void guardaJpeg();

private:
    std::unique_ptr<CVentana> abre(const QByteArray& carrera = carreraDePrueba());
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaProyector::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

std::unique_ptr<CVentana> PruebaProyector::abre(const QByteArray& carrera) {
    return abreVentanaDePrueba(*dir, carrera, kMapa);
}

void PruebaProyector::tamanoMinimo_data() {
    QTest::addColumn<int>("jugadores");
    QTest::newRow("2") << 2;
    QTest::newRow("5") << 5;
    QTest::newRow("40") << 40;
}

// Shrunk as far as it goes, the window still shows every control whole and
// none over another; and the specified 712 x 512 is not below that.
void PruebaProyector::tamanoMinimo() {
    QFETCH(int, jugadores);
    auto v = abre(jugadores == 2 ? carreraDePrueba() : carreraDe(jugadores));
    QVERIFY(v->minimumWidth() <= 712 && v->minimumHeight() <= 512);
    QCOMPARE(v->size(), QSize(712, 512));
    v->resize(1, 1);
    QCOMPARE(v->size(), v->minimumSize());
    QApplication::processEvents();
    QList<QWidget*> controles;
    for (QWidget* w : v->findChildren<QWidget*>()) {
        const bool esControl = qobject_cast<QAbstractButton*>(w) ||
                               qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
                               w == v->findChild<CLineaTiempo*>()->contador();
        if (esControl && w->isVisibleTo(v.get())) {
            controles.append(w);
        }
    }
    QVERIFY(controles.size() >= 13);
    const QRect ventana = v->rect();
    for (QWidget* w : controles) {
        const QRect r = enVentana(w, v.get());
        const QString nombre =
            w->metaObject()->className() + QStringLiteral(" ") + w->property("text").toString();
        QVERIFY2(ventana.contains(r), qPrintable(nombre));
        QVERIFY2(w->height() >= w->minimumSizeHint().height() &&
                     w->width() >= w->minimumSizeHint().width(),
                 qPrintable(nombre));
        for (QWidget* otro : controles) {
            if (otro != w && !w->isAncestorOf(otro) && !otro->isAncestorOf(w)) {
                QVERIFY2(
                    !r.intersects(enVentana(otro, v.get())),
                    qPrintable(nombre + QStringLiteral(" / ") + otro->metaObject()->className()));
            }
        }
    }
    // The track keeps some room too.
    QVERIFY(v->vista()->width() >= 100 && v->vista()->height() >= 100);
}

// Enter in a number field gives the keys back: 2 then follows player 1.
void PruebaProyector::focoTrasEscribir() {
    auto v = abre();
    auto* zoom = v->findChildren<QDoubleSpinBox*>().value(0);
    auto* jugador = v->findChild<QSpinBox*>();
    QVERIFY(zoom && jugador);
    zoom->setFocus();
    QVERIFY(zoom->hasFocus());
    zoom->selectAll();
    QTest::keyClicks(zoom, "12");
    QTest::keyClick(zoom, Qt::Key_Return);
    QCOMPARE(v->vista()->zoom(), 12.0);
    QVERIFY(!zoom->hasFocus());
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : v.get(), Qt::Key_2);
    QCOMPARE(jugador->value(), 1);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
}

// Esc leaves the field, and the digits are shortcuts again.
void PruebaProyector::escSaleDelCampo() {
    auto v = abre();
    auto* jugador = v->findChild<QSpinBox*>();
    jugador->setFocus();
    QTest::keyClick(jugador, Qt::Key_Escape);
    QVERIFY(!jugador->hasFocus());
    QVERIFY(v->vista()->hasFocus());
    QTest::keyClick(v->vista(), Qt::Key_2);
    QCOMPARE(jugador->value(), 1);
}

void PruebaProyector::letrasDesdeUnCampo_data() {
    QTest::addColumn<int>("tecla");
    QTest::newRow("N") << int(Qt::Key_N);
    QTest::newRow("H") << int(Qt::Key_H);
    QTest::newRow("C") << int(Qt::Key_C);
    QTest::newRow("D") << int(Qt::Key_D);
}

// A letter means nothing to a number: typed in the zoom field, its shortcut
// runs and the field keeps its value.
void PruebaProyector::letrasDesdeUnCampo() {
    QFETCH(int, tecla);
    auto v = abre();
    auto* zoom = v->findChildren<QDoubleSpinBox*>().value(0);
    QWidget* panel = zoom->parentWidget();
    while (panel->parentWidget() != nullptr && !qobject_cast<QSplitter*>(panel->parentWidget())) {
        panel = panel->parentWidget();
    }
    const auto estado = [&] {
        return QList<bool>{v->vista()->opcionesEscena().etiquetas, panel->isVisible(),
                           v->clasificacion()->isVisible(),
                           v->vista()->opcionesEscena().camara == zul::Camara::Director};
    };
    const QList<bool> antes = estado();
    zoom->setFocus();
    QTest::keyClick(zoom, static_cast<Qt::Key>(tecla));
    QApplication::processEvents();
    QVERIFY(estado() != antes);
    QCOMPARE(zoom->text(), QStringLiteral("10.00"));
}

void PruebaProyector::clicEnLaPistaQuitaElFoco() {
    auto v = abre();
    auto* velocidad = v->findChildren<QDoubleSpinBox*>().value(1);
    velocidad->setFocus();
    QVERIFY(velocidad->hasFocus());
    QTest::mouseClick(v->vista(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(!velocidad->hasFocus());
    QTest::keyClick(v->vista(), Qt::Key_2);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
}

// A click on a name follows that player, and only its row is marked.
void PruebaProyector::clicEnUnNombre() {
    auto v = abre();
    CPanelJugadores* lista = v->panelJugadores();
    QCOMPARE(lista->marcado(), 0);
    QVERIFY(lista->etiquetasNombres()[0]->font().bold());
    QTest::mouseClick(lista->etiquetasNombres()[1], Qt::LeftButton);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
    QCOMPARE(v->findChild<QSpinBox*>()->value(), 1);
    QCOMPARE(lista->marcado(), 1);
    QVERIFY(lista->etiquetasNombres()[1]->font().bold());
    QVERIFY(lista->etiquetasVueltas()[1]->font().bold());
    QVERIFY(!lista->etiquetasNombres()[0]->font().bold());
    QVERIFY(lista->etiquetasVueltas()[1]->autoFillBackground());
    QVERIFY(!lista->etiquetasVueltas()[0]->autoFillBackground());
    // The lap label of a row takes the click too; another button does not.
    QTest::mouseClick(lista->etiquetasVueltas()[0], Qt::LeftButton);
    QCOMPARE(v->vista()->jugadorSeguido(), 0);
    QTest::mouseClick(lista->etiquetasNombres()[1], Qt::RightButton);
    QCOMPARE(v->vista()->jugadorSeguido(), 0);
}

void PruebaProyector::listaSinBarraYAlineada_data() {
    QTest::addColumn<int>("jugadores");
    QTest::addColumn<bool>("desplaza");
    QTest::addColumn<int>("alto");
    QTest::newRow("5") << 5 << false << 512;
    QTest::newRow("10, ventana alta") << 10 << false << 700;
    QTest::newRow("40") << 40 << true << 512;
}

// A small race shows every row with no scroll bar, each at its own height;
// long names are cut so every lap label starts at the same x, inside the list.
void PruebaProyector::listaSinBarraYAlineada() {
    QFETCH(int, jugadores);
    QFETCH(bool, desplaza);
    QFETCH(int, alto);
    auto v = abre(carreraDe(jugadores));
    v->resize(712, alto);
    QApplication::processEvents();
    auto* area = v->findChild<QScrollArea*>();
    QCOMPARE(area->verticalScrollBar()->maximum() > 0, desplaza);
    QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
    const CPanelJugadores* lista = v->panelJugadores();
    const int x = enVentana(lista->etiquetasVueltas()[0], v.get()).x();
    for (int j = 0; j < jugadores; ++j) {
        QLabel* vueltas = lista->etiquetasVueltas()[j];
        QCOMPARE(enVentana(vueltas, v.get()).x(), x);
        QVERIFY(vueltas->width() >= vueltas->fontMetrics().horizontalAdvance(vueltas->text()));
        // Rows keep their height in a list taller than they need.
        const QLabel* nombre = lista->etiquetasNombres()[j];
        QVERIFY(vueltas->height() <=
                std::max(vueltas->sizeHint().height(), nombre->sizeHint().height()));
    }
    QVERIFY(enVentana(lista->etiquetasVueltas()[0], v.get()).right() <
            enVentana(area, v.get()).right());
    // A cut name keeps the whole one in its tooltip.
    QVERIFY(lista->etiquetasNombres()[3]->toolTip().contains("un_nombre_de_equipo_muy_largo_3"));
}

// Each name sits on a plate of the contrast colour that reads best; the
// colour codes of the labels stay the specified ones.
void PruebaProyector::nombresLegibles() {
    QCOMPARE(zul::fondoLegible(QColor("#FFFF1C")), QColor(Qt::black));
    QCOMPARE(zul::fondoLegible(QColor("#1CFF1C")), QColor(Qt::black));
    QCOMPARE(zul::fondoLegible(QColor("#1C1CFF")), QColor(Qt::white));
    auto v = abre(carreraDe(6));
    const CPanelJugadores* lista = v->panelJugadores();
    const char* codigos[] = {"FF1C1C", "1CFF1C", "1C1CFF", "FFFF1C", "FF1CFF", "1CFFFF"};
    for (int j = 0; j < 6; ++j) {
        QVERIFY(lista->etiquetasNombres()[j]->text().startsWith(QStringLiteral("<font color=#") +
                                                                codigos[j] + QStringLiteral(">")));
        const QImage imagen = lista->etiquetasNombres()[j]->grab().toImage();
        // The plate's colour at its left edge, away from the text.
        QCOMPARE(imagen.pixelColor(1, imagen.height() / 2),
                 zul::fondoLegible(QColor(QStringLiteral("#") + codigos[j])));
    }
}

// "Evento siguiente" and "Evento anterior" follow the player of the event:
// the one completing a lap, or the kart the shot starts beside. With the
// whole track on show the camera stays, and only the followed player moves.
void PruebaProyector::saltoSigueAlJugador() {
    auto v = abre();
    CLineaTiempo* linea = v->findChild<CLineaTiempo*>();
    auto* jugador = v->findChild<QSpinBox*>();
    v->reproductor()->irAFrame(5);
    QCOMPARE(jugador->value(), 0);
    linea->botonSiguiente()->click(); // frame 7: player 1's lap
    QCOMPARE(v->reproductor()->frame(), 7LL);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
    linea->botonAnterior()->click(); // frame 4: player 0's lap
    QCOMPARE(v->reproductor()->frame(), 4LL);
    QCOMPARE(jugador->value(), 0);
    v->reproductor()->irAFrame(8);
    linea->eventoSiguiente(); // frame 9: the shot starts at player 1's kart
    QCOMPARE(v->reproductor()->frame(), 9LL);
    QCOMPARE(jugador->value(), 1);
    v->reproductor()->ponCamara(zul::Camara::Pista);
    linea->eventoAnterior();
    QCOMPARE(v->reproductor()->frame(), 7LL);
    linea->eventoAnterior();
    QCOMPARE(v->reproductor()->frame(), 4LL);
    QCOMPARE(jugador->value(), 0);
    QCOMPARE(v->vista()->opcionesEscena().camara, zul::Camara::Pista);
    // A jump by the slider changes nobody.
    jugador->setValue(1);
    emit linea->frameElegido(9);
    QCOMPARE(jugador->value(), 1);
}

// Shot marks are a colour no player has, and every mark has a tooltip.
void PruebaProyector::marcasConAyuda() {
    auto v = abre();
    CBarraFrames* barra = v->findChild<CLineaTiempo*>()->barra();
    const QRect franja = barra->franjaMarcas();
    const int arriba = franja.top() + 1;
    const int abajo = franja.bottom() - 1;
    QCOMPARE(barra->textoMarcasEn(QPoint(barra->xDeValor(7), abajo)),
             QStringLiteral("Paso 7: beta completa una vuelta"));
    QCOMPARE(barra->textoMarcasEn(QPoint(barra->xDeValor(9), arriba)),
             QStringLiteral("Paso 9: disparo"));
    QCOMPARE(barra->textoMarcasEn(QPoint(barra->xDeValor(7), arriba)), QString());
    QCOMPARE(barra->textoMarcasEn(QPoint(barra->xDeValor(5), abajo)), QString());
    const QImage imagen = barra->grab().toImage();
    const QColor borde = imagen.pixelColor(barra->xDeValor(9) - 3, arriba);
    QCOMPARE(borde, zul::colorMarcaDisparo());
    for (int j = 0; j < 40; ++j) {
        QVERIFY(zul::distanciaColores(zul::colorDisco(j), zul::colorMarcaDisparo()) > 20.0);
    }
}

// 40 players (and more): no two disc colours alike, no two label codes the
// same, the classic six untouched.
void PruebaProyector::coloresDistintos() {
    const QColor clasicos[] = {QColor(255, 76, 76),  QColor(76, 255, 76),  QColor(76, 76, 255),
                               QColor(255, 255, 76), QColor(255, 76, 255), QColor(76, 255, 255)};
    for (int j = 0; j < 6; ++j) {
        QCOMPARE(zul::colorDisco(j), clasicos[j]);
    }
    QCOMPARE(QString(zul::colorEtiqueta(5)), QStringLiteral("1CFFFF"));
    std::set<QString> codigos;
    double menor = 1e9;
    int a = 0;
    int b = 0;
    for (int i = 0; i < 40; ++i) {
        codigos.insert(QString::fromLatin1(zul::colorEtiqueta(i)));
        for (int j = 0; j < i; ++j) {
            const double d = zul::distanciaColores(zul::colorDisco(i), zul::colorDisco(j));
            if (d < menor) {
                menor = d;
                a = i;
                b = j;
            }
        }
        // Seen on the black track background and on the track blocks.
        QVERIFY(zul::distanciaColores(zul::colorDisco(i), Qt::black) > 30.0);
        QVERIFY(zul::distanciaColores(zul::colorDisco(i), QColor(108, 81, 81)) > 15.0);
    }
    QCOMPARE(codigos.size(), std::size_t(40));
    QVERIFY2(menor > 15.0, qPrintable(QStringLiteral("%1 y %2: %3").arg(a).arg(b).arg(menor)));
    // Players 0 and 25 were both red once.
    QVERIFY(zul::distanciaColores(zul::colorDisco(0), zul::colorDisco(25)) > 12.0);
}

// F11 goes full screen and back, and the panel's font grows there; H hides
// the panel and the track takes its width.
void PruebaProyector::pantallaCompletaYPanel() {
    auto v = abre();
    QWidget* panel = nullptr;
    for (QGroupBox* caja : v->findChildren<QGroupBox*>()) {
        panel = caja->title() == QLatin1String("Jugadores") ? caja->parentWidget() : panel;
    }
    QVERIFY(panel != nullptr);
    const int letra = v->findChild<QComboBox*>()->fontInfo().pixelSize();
    const int ancho = v->vista()->width();
    QTest::keyClick(v.get(), Qt::Key_H);
    QApplication::processEvents();
    QVERIFY(!panel->isVisible());
    QVERIFY(v->vista()->width() > ancho + 100);
    QTest::keyClick(v.get(), Qt::Key_H);
    QApplication::processEvents();
    QVERIFY(panel->isVisible());

    QTest::keyClick(v.get(), Qt::Key_F11);
    QTRY_VERIFY(v->isFullScreen());
    QTest::keyClick(v.get(), Qt::Key_F11);
    QTRY_VERIFY(!v->isFullScreen());
    QCOMPARE(v->findChild<QComboBox*>()->fontInfo().pixelSize(), letra);
    // The growth for a projector's screens (the offscreen screen is small).
    QCOMPARE(CDisposicion::escalaPantallaCompleta(QSize(800, 600)), 1.0);
    QCOMPARE(CDisposicion::escalaPantallaCompleta(QSize(1920, 1080)), 1.5);
    QCOMPARE(CDisposicion::escalaPantallaCompleta(QSize(1920, 1200)), 1.5);
    QCOMPARE(CDisposicion::escalaPantallaCompleta(QSize(7680, 4320)), 2.5);
}

// 0 shows the whole track, D follows the leader, N the labels, a number
// follows a player again; the selector shows the camera each time.
void PruebaProyector::teclasDeCamara() {
    auto v = abre();
    auto* selector = v->findChild<QComboBox*>();
    QCOMPARE(selector->currentText(), QStringLiteral("Seguir"));
    QCOMPARE(v->vista()->opcionesEscena().camara, zul::Camara::Seguir);
    QTest::keyClick(v.get(), Qt::Key_0);
    QCOMPARE(v->vista()->opcionesEscena().camara, zul::Camara::Pista);
    QCOMPARE(selector->currentText(), QStringLiteral("Pista entera"));
    QCOMPARE(v->panelJugadores()->marcado(), -1);
    QTest::keyClick(v.get(), Qt::Key_2);
    QCOMPARE(v->vista()->opcionesEscena().camara, zul::Camara::Seguir);
    QCOMPARE(v->vista()->jugadorSeguido(), 1);
    // Frame 5: player 0 has a lap and leads.
    v->reproductor()->irAFrame(5);
    QTest::keyClick(v.get(), Qt::Key_D);
    QCOMPARE(v->vista()->opcionesEscena().camara, zul::Camara::Director);
    QCOMPARE(v->panelJugadores()->marcado(), 0);
    QCOMPARE(v->vista()->encuadre().centro, v->vista()->posicionJugador(0));
    QVERIFY(!v->vista()->opcionesEscena().etiquetas);
    QTest::keyClick(v.get(), Qt::Key_N);
    QVERIFY(v->vista()->opcionesEscena().etiquetas);
    selector->setCurrentIndex(1);
    QCOMPARE(v->vista()->opcionesEscena().camara, zul::Camara::Centrado);
    // Off at start, and on from their boxes.
    for (const char* texto : {"Pista completa", "Disparos visibles"}) {
        QCheckBox* casilla = nullptr;
        for (QCheckBox* c : v->findChildren<QCheckBox*>()) {
            casilla = c->text() == QLatin1String(texto) ? c : casilla;
        }
        QVERIFY(casilla != nullptr && !casilla->isChecked());
        casilla->click();
    }
    QVERIFY(v->vista()->opcionesEscena().pistaCompleta);
    QVERIFY(v->vista()->opcionesEscena().disparosVisibles);
}

// Ctrl+S to a .jpg name writes JPEG data; an unknown extension is refused.
void PruebaProyector::guardaJpeg() {
    auto v = abre();
    QString error;
    const QString ruta = dir->filePath("vista.jpg");
    QVERIFY2(v->guardaImagenEn(ruta, &error), qPrintable(error));
    QImageReader lector(ruta);
    lector.setDecideFormatFromContent(true);
    QCOMPARE(lector.format(), QByteArray("jpeg"));
    QVERIFY(!v->guardaImagenEn(dir->filePath("vista.doc"), &error));
    QVERIFY(error.contains("vista.doc"));
    QVERIFY(!QFile::exists(dir->filePath("vista.doc")));
}

QTEST_MAIN(PruebaProyector)
#include "prueba_proyector.moc"
