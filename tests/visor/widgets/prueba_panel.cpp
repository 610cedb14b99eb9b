// The side panel and the replay, driven through the widgets as a user would.
#include "paneles/CVisualizador.h"
#include "ventana/CVentana.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <set>

namespace {

// Player j of frame k stands at (10k + j, j) with k laps, so what the view
// holds tells which frame each player comes from.
QByteArray jugador(int k, int j) {
    return QByteArray("p ") + QByteArray::number(10 * k + j) + " " + QByteArray::number(j) +
           " 0.5 " + QByteArray::number(k) + "\n";
}

QByteArray frame(int k, int n = 2) {
    QByteArray texto;
    for (int j = 0; j < n; ++j) {
        texto += jugador(k, j);
    }
    return texto;
}

// Shot i starts at (100 + i, 0).
QByteArray disparo(int i) {
    return "s " + QByteArray::number(100 + i) + " 0 1 1\n";
}

const QByteArray kMapa = "2 3\n0 1 2\n3 5 4\n";

// Two players, three complete frames, no shots.
const QByteArray kTresFrames = "2 alfa beta\n" + frame(0) + frame(1) + frame(2);

// Shots 0, 1 and 2 all belong to frame 0 (before its first record, inside it,
// right after it), shot 3 to frame 1 and shot 4 to the last frame.
const QByteArray kDisparos = "2 alfa beta\n" + disparo(0) + jugador(0, 0) + disparo(1) +
                             jugador(0, 1) + disparo(2) + frame(1) + disparo(3) + jugador(2, 0) +
                             disparo(4) + jugador(2, 1);

// Two complete frames, then a frame that ends after player 0, with a shot.
const QByteArray kParcial = "2 alfa beta\n" + frame(0) + frame(1) + jugador(2, 0) + disparo(5);

QByteArray nombresDe(int n) {
    QByteArray texto = QByteArray::number(n);
    for (int j = 0; j < n; ++j) {
        texto += " j" + QByteArray::number(j);
    }
    return texto + "\n";
}

// The widgets of a built window, found the way a user sees them.
struct Panel {
    std::unique_ptr<CVentana> ventana;
    QSplitter* divisor = nullptr;
    QWidget* lateral = nullptr;
    QGroupBox* jugadores = nullptr;
    QGroupBox* visualizacion = nullptr;
    QGroupBox* controles = nullptr;
    QPushButton* ejecutar = nullptr;
    QPushButton* pausa = nullptr;
    QPushButton* paso = nullptr;
    QPushButton* reiniciar = nullptr;
    QSpinBox* mira = nullptr;
    QDoubleSpinBox* zoom = nullptr;
    QDoubleSpinBox* velocidad = nullptr;
    QTimer* temporizador = nullptr;
    QTimer* repintado = nullptr;
    QList<QLabel*> nombres;
    QList<QLabel*> vueltas;

    bool completo() const {
        return lateral && jugadores && visualizacion && controles && ejecutar && pausa && paso &&
               reiniciar && mira && zoom && velocidad && temporizador && repintado &&
               !nombres.isEmpty() && nombres.size() == vueltas.size();
    }
};

template <typename T> T* unico(QWidget* raiz, const std::function<bool(T*)>& es) {
    T* hallado = nullptr;
    for (T* w : raiz->findChildren<T*>()) {
        if (es(w)) {
            if (hallado != nullptr) {
                return nullptr; // ambiguous
            }
            hallado = w;
        }
    }
    return hallado;
}

QPushButton* boton(QWidget* raiz, const QString& texto) {
    return unico<QPushButton>(raiz, [&](QPushButton* b) { return b->text() == texto; });
}

QGroupBox* caja(QWidget* raiz, const QString& titulo) {
    return unico<QGroupBox>(raiz, [&](QGroupBox* g) { return g->title() == titulo; });
}

// The control that stands right after the label with this text, in the same row.
template <typename T> T* alLado(QWidget* raiz, const QString& etiqueta) {
    QLabel* texto = unico<QLabel>(raiz, [&](QLabel* l) { return l->text() == etiqueta; });
    if (texto == nullptr || texto->parentWidget()->layout() == nullptr) {
        return nullptr;
    }
    QLayout* fila = texto->parentWidget()->layout();
    const int i = fila->indexOf(texto);
    return i >= 0 && i + 1 < fila->count() ? qobject_cast<T*>(fila->itemAt(i + 1)->widget())
                                           : nullptr;
}

// Plain text and colour of a label's first character, as the label draws them.
QString textoVisible(const QLabel* etiqueta) {
    QTextDocument documento;
    documento.setHtml(etiqueta->text());
    return documento.toPlainText();
}

QColor colorVisible(const QLabel* etiqueta) {
    QTextDocument documento;
    documento.setHtml(etiqueta->text());
    return documento.begin().begin().fragment().charFormat().foreground().color();
}

// Which frame each player of the view comes from, as "k0,k1,...".
QString framesEnVista(const CVisualizador* vista) {
    QStringList frames;
    for (int j = 0; j < vista->cantidadJugadores(); ++j) {
        frames << QString::number((vista->posicionJugador(j).x() - j) / 10);
    }
    return frames.join(',');
}

QString disparosEnVista(const CVisualizador* vista) {
    QStringList ids;
    for (const QPointF& p : vista->iniciosDisparos()) {
        ids << QString::number(p.x() - 100);
    }
    return ids.join(',');
}

} // namespace

class PruebaPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void arranque_data();
    void arranque();
    void reproduccion_data();
    void reproduccion();
    void tictacReal();
    void velocidad_data();
    void velocidad();
    void velocidadInvalida_data();
    void velocidadInvalida();
    void zoomYMira();
    void muchosJugadores();
    void nombres_data();
    void nombres();
    void divisorDaAnchoALaPista();

private:
    Panel abre(const QByteArray& carrera, bool mostrar = true);
    void actua(Panel& panel, QChar accion);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaPanel::initTestCase() {
    // Spin boxes write numbers the C way whatever the machine's locale.
    QLocale::setDefault(QLocale::c());
}

void PruebaPanel::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

Panel PruebaPanel::abre(const QByteArray& carrera, bool mostrar) {
    Panel p;
    const auto escribe = [this](const char* nombre, const QByteArray& contenido) {
        QFile archivo(dir->filePath(nombre));
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) {
            qFatal("no se pudo escribir %s", nombre);
        }
        return QFile::encodeName(archivo.fileName());
    };
    const QByteArray rutaCarrera = escribe("carrera.txt", carrera);
    const QByteArray rutaMapa = escribe("mapa.txt", kMapa);
    p.ventana = std::make_unique<CVentana>(rutaCarrera.constData(), rutaMapa.constData());
    CVentana* v = p.ventana.get();
    p.divisor = v->findChild<QSplitter*>();
    p.lateral = p.divisor != nullptr && p.divisor->count() == 2 ? p.divisor->widget(1) : nullptr;
    p.jugadores = caja(v, "Jugadores");
    p.visualizacion = caja(v, "Visualizacion");
    p.controles = caja(v, "Controles");
    p.ejecutar = boton(v, "Ejecuta&r");
    p.pausa = boton(v, "&Pausa");
    p.paso = boton(v, "Pa&so");
    p.reiniciar = boton(v, "Reiniciar");
    p.mira = alLado<QSpinBox>(v, "Mirar al jugador:");
    p.zoom = alLado<QDoubleSpinBox>(v, "Zoom:");
    p.velocidad = alLado<QDoubleSpinBox>(v, "Velocidad(pasos/segundo):");
    // The window owns two timers: the repaint one runs from the start, the
    // playback one waits for "Ejecutar".
    for (QTimer* t : v->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly)) {
        (t->isActive() ? p.repintado : p.temporizador) = t;
    }
    // Rows of the "Jugadores" box: name label, then lap label.
    QLabel* primero = p.jugadores == nullptr ? nullptr : unico<QLabel>(p.jugadores, [](QLabel* l) {
        return l->text().startsWith("<font color=#FF1C1C>");
    });
    QLayout* lista = primero == nullptr ? nullptr : primero->parentWidget()->layout();
    for (int i = 0; lista != nullptr && i < lista->count(); ++i) {
        QLayout* fila = lista->itemAt(i)->layout();
        if (fila != nullptr && fila->count() == 2) {
            p.nombres.append(qobject_cast<QLabel*>(fila->itemAt(0)->widget()));
            p.vueltas.append(qobject_cast<QLabel*>(fila->itemAt(1)->widget()));
        }
    }
    if (mostrar) {
        v->show();
        QApplication::setActiveWindow(v);
        if (!QTest::qWaitForWindowActive(v)) {
            qWarning("la ventana no se activó");
        }
    }
    return p;
}

// One user action: R/P/S click "Ejecutar", "Pausa", "Paso"; r/p/s press
// Alt+R, Alt+P, Alt+S; 0 clicks "Reiniciar"; t is one tick of the playback
// timer.
void PruebaPanel::actua(Panel& p, QChar accion) {
    const QString teclas = "rps";
    QPushButton* const botones[] = {p.ejecutar, p.pausa, p.paso};
    switch (accion.toLatin1()) {
    case 'R':
        QTest::mouseClick(p.ejecutar, Qt::LeftButton);
        break;
    case 'P':
        QTest::mouseClick(p.pausa, Qt::LeftButton);
        break;
    case 'S':
        QTest::mouseClick(p.paso, Qt::LeftButton);
        break;
    case '0':
        QTest::mouseClick(p.reiniciar, Qt::LeftButton);
        break;
    case 'r':
    case 'p':
    case 's': {
        QPushButton* b = botones[teclas.indexOf(accion)];
        QTest::keyClick(p.ventana.get(), accion.toUpper().toLatin1(), Qt::AltModifier);
        // A mnemonic holds the button down briefly and clicks on release.
        QTRY_VERIFY(!b->isDown());
        break;
    }
    case 't':
        QVERIFY2(p.temporizador->isActive(), "a tick while paused");
        QVERIFY(QMetaObject::invokeMethod(p.temporizador, "timeout"));
        break;
    default:
        QFAIL("unknown action");
    }
}

void PruebaPanel::arranque_data() {
    QTest::addColumn<QByteArray>("carrera");
    QTest::addColumn<QStringList>("nombres");
    QTest::addColumn<QStringList>("vueltas");

    QTest::newRow("tres jugadores")
        << QByteArray("3 alfa beta gama\np 1 1 0 2\np 2 2 0 0\np 3 3 0 1\np 1 1 0 3\n")
        << QStringList{"<font color=#FF1C1C>alfa</font>", "<font color=#1CFF1C>beta</font>",
                       "<font color=#1C1CFF>gama</font>"}
        << QStringList{"2 vueltas", "0 vueltas", "1 vueltas"};
    QTest::newRow("uno") << QByteArray("1 solo p 1 1 0 1")
                         << QStringList{"<font color=#FF1C1C>solo</font>"}
                         << QStringList{"1 vueltas"};
    QTest::newRow("solo cabecera")
        << QByteArray("2 alfa beta\n")
        << QStringList{"<font color=#FF1C1C>alfa</font>", "<font color=#1CFF1C>beta</font>"}
        << QStringList{"", ""};
}

void PruebaPanel::arranque() {
    QFETCH(QByteArray, carrera);
    QFETCH(QStringList, nombres);
    QFETCH(QStringList, vueltas);
    Panel p = abre(carrera);
    QVERIFY(p.completo());
    CVentana* v = p.ventana.get();

    // The panel: three boxes top to bottom, beside the track.
    QVERIFY(p.lateral != nullptr);
    // The track view, with its timeline under it.
    QVERIFY(p.divisor->widget(0)->isAncestorOf(v->vista()));
    QLayout* columna = p.lateral->layout();
    QCOMPARE(columna->count(), 3);
    QCOMPARE(columna->itemAt(0)->widget(), p.jugadores);
    QCOMPARE(columna->itemAt(1)->widget(), p.visualizacion);
    QCOMPARE(columna->itemAt(2)->widget(), p.controles);

    // Buttons in order ("Pa&so" shares its row with "Paso atras"); paused:
    // only "Pausa" is disabled.
    QLayout* botones = p.controles->layout();
    QCOMPARE(botones->sizeConstraint(), QLayout::SetMinimumSize);
    QCOMPARE(botones->count(), 4);
    const QList<QPushButton*> enOrden = {p.ejecutar, p.pausa, p.paso, p.reiniciar};
    for (int i = 0; i < 4; ++i) {
        QVERIFY(enOrden[i] != nullptr);
        QLayoutItem* fila = botones->itemAt(i);
        QVERIFY(fila->widget() == enOrden[i] ||
                (fila->layout() != nullptr && fila->layout()->indexOf(enOrden[i]) >= 0));
    }
    QVERIFY(p.ejecutar->isEnabled());
    QVERIFY(!p.pausa->isEnabled());
    QVERIFY(p.paso->isEnabled());
    QVERIFY(p.reiniciar->isEnabled());

    // The three controls, in their rows and order, with their settings; the
    // "Estelas" check box, off, comes after them.
    QVERIFY(p.mira && p.zoom && p.velocidad);
    QLayout* filas = p.visualizacion->layout();
    QCOMPARE(filas->count(), 4);
    QCOMPARE(filas->itemAt(0)->widget(), p.mira->parentWidget());
    QCOMPARE(filas->itemAt(1)->widget(), p.zoom->parentWidget());
    QCOMPARE(filas->itemAt(2)->widget(), p.velocidad->parentWidget());
    auto* estelas = qobject_cast<QCheckBox*>(filas->itemAt(3)->widget());
    QVERIFY(estelas != nullptr);
    QCOMPARE(estelas->text(), QStringLiteral("Estelas"));
    QVERIFY(!estelas->isChecked());
    QCOMPARE(p.mira->minimum(), 0);
    QCOMPARE(p.mira->maximum(), nombres.size() - 1);
    QCOMPARE(p.mira->singleStep(), 1);
    QCOMPARE(p.mira->text(), QStringLiteral("0"));
    QCOMPARE(p.zoom->minimum(), 0.1);
    QCOMPARE(p.zoom->maximum(), 50.0);
    QCOMPARE(p.zoom->singleStep(), 0.1);
    QCOMPARE(p.zoom->decimals(), 2);
    QCOMPARE(p.zoom->text(), QStringLiteral("10.00"));
    QCOMPARE(p.velocidad->minimum(), 0.01);
    QCOMPARE(p.velocidad->maximum(), 50.0);
    QCOMPARE(p.velocidad->singleStep(), 1.0);
    QCOMPARE(p.velocidad->decimals(), 2);
    QCOMPARE(p.velocidad->text(), QStringLiteral("1.00"));
    QCOMPARE(v->vista()->zoom(), 10.0);
    QCOMPARE(v->vista()->jugadorSeguido(), 0);

    // Timers: playback stopped at 1000 ms, repaint running at 50 ms.
    QVERIFY(p.temporizador != nullptr && p.repintado != nullptr);
    QCOMPARE(p.temporizador->interval(), 1000);
    QVERIFY(!p.temporizador->isActive());
    QCOMPARE(p.repintado->interval(), 50);
    QVERIFY(p.repintado->isActive());

    // One row per player: coloured name, then the laps of frame 0.
    QLayout* lista = p.nombres.isEmpty() ? nullptr : p.nombres[0]->parentWidget()->layout();
    QVERIFY(lista != nullptr);
    QCOMPARE(lista->count(), nombres.size());
    QCOMPARE(p.nombres.size(), nombres.size());
    QCOMPARE(p.vueltas.size(), nombres.size());
    for (int i = 0; i < nombres.size(); ++i) {
        QLayout* fila = lista->itemAt(i)->layout();
        QVERIFY(fila != nullptr && fila->count() == 2);
        auto* nombre = qobject_cast<QLabel*>(fila->itemAt(0)->widget());
        auto* vuelta = qobject_cast<QLabel*>(fila->itemAt(1)->widget());
        QVERIFY(nombre && vuelta);
        QCOMPARE(nombre->text(), nombres[i]);
        QCOMPARE(nombre->textFormat(), Qt::RichText);
        QCOMPARE(vuelta->text(), vueltas[i]);
    }
    QCOMPARE(v->reproductor()->reproduccion().siguienteFrame(), vueltas[0].isEmpty() ? 0u : 1u);
}

void PruebaPanel::reproduccion_data() {
    QTest::addColumn<QByteArray>("carrera");
    QTest::addColumn<QString>("acciones"); // see actua()
    QTest::addColumn<QString>("frames");   // frame each player shows
    QTest::addColumn<uint>("siguiente");   // frame the next step shows
    QTest::addColumn<bool>("corriendo");
    QTest::addColumn<QString>("disparos"); // shots on show, in order

    const QByteArray t = kTresFrames;
    QTest::newRow("inicio") << t << ""
                            << "0,0" << 1u << false << "";
    QTest::newRow("pausa deshabilitada") << t << "Pp"
                                         << "0,0" << 1u << false << "";
    QTest::newRow("paso") << t << "S"
                          << "1,1" << 2u << false << "";
    QTest::newRow("alt+s") << t << "s"
                           << "1,1" << 2u << false << "";
    QTest::newRow("dos pasos") << t << "Ss"
                               << "2,2" << 3u << false << "";
    QTest::newRow("fin en pausa") << t << "SSSSS"
                                  << "2,2" << 3u << false << "";
    QTest::newRow("ejecutar espera un intervalo") << t << "R"
                                                  << "0,0" << 1u << true << "";
    QTest::newRow("alt+r y tics") << t << "rtt"
                                  << "2,2" << 3u << true << "";
    QTest::newRow("ejecutar deshabilitado") << t << "Rrr"
                                            << "0,0" << 1u << true << "";
    QTest::newRow("fin corriendo") << t << "Rtttttt"
                                   << "2,2" << 3u << true << "";
    QTest::newRow("pausa") << t << "RtP"
                           << "1,1" << 2u << false << "";
    QTest::newRow("alt+p") << t << "rtp"
                           << "1,1" << 2u << false << "";
    QTest::newRow("paso corriendo") << t << "RtS"
                                    << "2,2" << 3u << true << "";
    QTest::newRow("alt+s corriendo") << t << "Rts"
                                     << "2,2" << 3u << true << "";
    QTest::newRow("reanudar") << t << "RPRt"
                              << "1,1" << 2u << true << "";
    QTest::newRow("reiniciar en pausa no cambia nada") << t << "SS0"
                                                       << "2,2" << 0u << false << "";
    QTest::newRow("reiniciar en pausa y paso") << t << "SS0S"
                                               << "0,0" << 1u << false << "";
    QTest::newRow("reiniciar corriendo") << t << "Rtt0t"
                                         << "0,0" << 1u << true << "";
    QTest::newRow("reiniciar tras el fin") << t << "SSSS0SS"
                                           << "1,1" << 2u << false << "";

    const QByteArray d = kDisparos;
    QTest::newRow("disparos del frame 0") << d << ""
                                          << "0,0" << 1u << false << "0,1,2";
    QTest::newRow("un paso los quita") << d << "S"
                                       << "1,1" << 2u << false << "3";
    QTest::newRow("disparo del ultimo frame") << d << "SS"
                                              << "2,2" << 3u << false << "4";
    QTest::newRow("tras el fin no quedan") << d << "SSS"
                                           << "2,2" << 3u << false << "";
    QTest::newRow("tics con disparos") << d << "Rtt"
                                       << "2,2" << 3u << true << "4";
    QTest::newRow("reiniciar no los quita") << d << "SS0"
                                            << "2,2" << 0u << false << "4";
    QTest::newRow("reiniciar los vuelve a mostrar") << d << "SSS0S"
                                                    << "0,0" << 1u << false << "0,1,2";

    const QByteArray q = kParcial;
    QTest::newRow("parcial: frame completo") << q << "S"
                                             << "1,1" << 2u << false << "";
    QTest::newRow("parcial: su disparo una vez") << q << "SS"
                                                 << "2,1" << 2u << false << "5";
    QTest::newRow("parcial: no avanza") << q << "SSSS"
                                        << "2,1" << 2u << false << "";
    QTest::newRow("parcial corriendo") << q << "Rtttt"
                                       << "2,1" << 2u << true << "";
    QTest::newRow("parcial y reiniciar") << q << "SSS0S"
                                         << "0,0" << 1u << false << "";
}

void PruebaPanel::reproduccion() {
    QFETCH(QByteArray, carrera);
    QFETCH(QString, acciones);
    QFETCH(QString, frames);
    QFETCH(uint, siguiente);
    QFETCH(bool, corriendo);
    QFETCH(QString, disparos);
    Panel p = abre(carrera);
    QVERIFY(p.completo());
    QVERIFY(QTest::qWaitForWindowActive(p.ventana.get()));
    // So slow that no real tick comes while the test runs: "t" is the tick.
    p.velocidad->setValue(0.01);
    QCOMPARE(p.temporizador->interval(), 100000);

    for (QChar accion : acciones) {
        actua(p, accion);
        if (QTest::currentTestFailed()) {
            return;
        }
    }
    const CVisualizador* vista = p.ventana->vista();
    QCOMPARE(framesEnVista(vista), frames);
    const QStringList porJugador = frames.split(',');
    for (int j = 0; j < porJugador.size(); ++j) {
        QCOMPARE(p.vueltas[j]->text(), porJugador[j] + " vueltas");
    }
    QCOMPARE(p.ventana->reproductor()->reproduccion().siguienteFrame(), siguiente);
    QCOMPARE(disparosEnVista(vista), disparos);
    QCOMPARE(vista->hayDisparos(), !disparos.isEmpty());
    QCOMPARE(p.temporizador->isActive(), corriendo);
    QCOMPARE(p.ejecutar->isEnabled(), !corriendo);
    QCOMPARE(p.pausa->isEnabled(), corriendo);
    QVERIFY(p.paso->isEnabled());
    QVERIFY(p.reiniciar->isEnabled());
    QVERIFY(p.repintado->isActive());
    QCOMPARE(p.temporizador->interval(), 100000);
}

// The playback timer itself drives the steps, and the view keeps being
// repainted while the replay is paused.
void PruebaPanel::tictacReal() {
    Panel p = abre(kTresFrames);
    QVERIFY(p.completo());
    int pinturas = 0;
    struct Contador : QObject {
        int* cuenta;
        explicit Contador(int* c) : cuenta(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            *cuenta += e->type() == QEvent::Paint;
            return false;
        }
    } contador(&pinturas);
    p.ventana->vista()->installEventFilter(&contador);
    QTRY_VERIFY(pinturas >= 3);

    p.velocidad->setValue(50.0);
    QSignalSpy tics(p.temporizador, &QTimer::timeout);
    QTest::mouseClick(p.ejecutar, Qt::LeftButton);
    QVERIFY(tics.wait(5000));
    QCOMPARE(p.ventana->reproductor()->reproduccion().siguienteFrame(), 2u);
    QTRY_COMPARE(p.ventana->reproductor()->reproduccion().siguienteFrame(), 3u);
    QTest::mouseClick(p.pausa, Qt::LeftButton);
    QVERIFY(!p.temporizador->isActive());
    pinturas = 0;
    QTRY_VERIFY(pinturas >= 3);
    p.ventana->vista()->removeEventFilter(&contador);
}

void PruebaPanel::velocidad_data() {
    QTest::addColumn<QString>("escrito"); // typed into the speed box
    QTest::addColumn<int>("intervalo");
    QTest::addColumn<bool>("corriendo");
    QTest::newRow("1") << "1" << 1000 << false;
    QTest::newRow("3") << "3" << 333 << false;
    QTest::newRow("4") << "4" << 250 << false;
    QTest::newRow("7") << "7" << 142 << false;
    QTest::newRow("50") << "50" << 20 << false;
    QTest::newRow("0.01") << "0.01" << 100000 << false;
    QTest::newRow("3 corriendo") << "3" << 333 << true;
    QTest::newRow("50 corriendo") << "50" << 20 << true;
    QTest::newRow("0.5 corriendo") << "0.5" << 2000 << true;
}

void PruebaPanel::velocidad() {
    QFETCH(QString, escrito);
    QFETCH(int, intervalo);
    QFETCH(bool, corriendo);
    Panel p = abre(kTresFrames);
    QVERIFY(p.completo());
    // Start from a speed far from the new one, so that a restart shows in
    // what remains until the next tick.
    const bool masLento = intervalo > 20;
    if (corriendo) {
        p.velocidad->setValue(masLento ? 50.0 : 0.01);
        QTest::mouseClick(p.ejecutar, Qt::LeftButton);
    }
    QLineEdit* campo = p.velocidad->findChild<QLineEdit*>();
    QVERIFY(campo != nullptr);
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(campo, escrito);
    QTest::keyClick(campo, Qt::Key_Return);
    QCOMPARE(p.velocidad->value(), escrito.toDouble());
    QCOMPARE(p.temporizador->interval(), intervalo);
    QCOMPARE(p.temporizador->isActive(), corriendo);
    if (corriendo) {
        // Restarted at once: the next tick is one new interval away, not
        // what was left of the old one.
        const int resta = p.temporizador->remainingTime();
        QVERIFY2(masLento ? resta > 20 : resta <= intervalo, qPrintable(QString::number(resta)));
    }

    // The arrows step the speed by whole steps per second, up to 50.
    QTest::keyClick(campo, Qt::Key_Up);
    const double arriba = std::min(escrito.toDouble() + 1.0, 50.0);
    QCOMPARE(p.temporizador->interval(), static_cast<int>(1000.0 / arriba));
}

void PruebaPanel::velocidadInvalida_data() {
    QTest::addColumn<double>("frames");
    QTest::newRow("cero") << 0.0;
    QTest::newRow("menos cero") << -0.0;
    QTest::newRow("negativa") << -2.0;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("+inf") << std::numeric_limits<double>::infinity();
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    QTest::newRow("intervalo sin cabida") << 1e-300;
}

void PruebaPanel::velocidadInvalida() {
    QFETCH(double, frames);
    Panel p = abre(kTresFrames, false);
    QVERIFY(p.completo());
    p.velocidad->setValue(4.0);
    p.ventana->cambiaVelocidad(frames);
    QCOMPARE(p.temporizador->interval(), 250);
}

void PruebaPanel::zoomYMira() {
    Panel p = abre(kTresFrames);
    QVERIFY(p.completo());
    CVisualizador* vista = p.ventana->vista();
    p.zoom->setFocus();
    QTest::keyClick(p.zoom, Qt::Key_Up);
    QCOMPARE(p.zoom->text(), QStringLiteral("10.10"));
    QCOMPARE(vista->zoom(), 10.1);
    p.zoom->setValue(99.0); // clamped to the range
    QCOMPARE(vista->zoom(), 50.0);
    p.zoom->setValue(0.0);
    QCOMPARE(vista->zoom(), 0.1);

    QTest::keyClick(p.mira, Qt::Key_Up);
    QCOMPARE(vista->jugadorSeguido(), 1);
    QTest::keyClick(p.mira, Qt::Key_Up); // two players: 1 is the last
    QCOMPARE(p.mira->value(), 1);
    QTest::keyClick(p.mira, Qt::Key_Down);
    QCOMPARE(vista->jugadorSeguido(), 0);
}

// Any number of players: one row each, distinct colours, and the list
// scrolls instead of squeezing the controls out of the window.
void PruebaPanel::muchosJugadores() {
    for (int n : {12, 40}) {
        Panel p = abre(nombresDe(n) + frame(0, n));
        QVERIFY(p.completo());
        QCOMPARE(p.nombres.size(), n);
        QCOMPARE(p.vueltas.size(), n);
        QCOMPARE(p.mira->maximum(), n - 1);
        std::set<QRgb> colores;
        for (int j = 0; j < n; ++j) {
            QCOMPARE(textoVisible(p.nombres[j]), QString("j%1").arg(j));
            colores.insert(colorVisible(p.nombres[j]).rgb());
            QCOMPARE(p.vueltas[j]->text(), QStringLiteral("0 vueltas"));
        }
        QCOMPARE(colores.size(), std::size_t(n));
        QCOMPARE(colorVisible(p.nombres[5]), QColor("#1CFFFF"));

        auto* desplazamiento = p.jugadores->findChild<QScrollArea*>();
        QVERIFY(desplazamiento != nullptr);
        QCOMPARE(p.ventana->size(), QSize(712, 512));
        if (n == 40) {
            QVERIFY(desplazamiento->verticalScrollBar()->maximum() > 0);
        }
        // The buttons stay whole inside the window.
        const QRect ventana = p.ventana->rect();
        for (QPushButton* b : {p.ejecutar, p.pausa, p.paso, p.reiniciar}) {
            const QRect r(b->mapTo(p.ventana.get(), QPoint(0, 0)), b->size());
            QVERIFY2(ventana.contains(r), qPrintable(b->text()));
            QVERIFY(b->height() >= b->minimumSizeHint().height());
        }
    }
}

void PruebaPanel::nombres_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("visible");
    QTest::newRow("marcado") << QByteArray("<b>negrita</b>") << "<b>negrita</b>";
    QTest::newRow("fin de font") << QByteArray("x</font><b>y</b>") << "x</font><b>y</b>";
    QTest::newRow("entidad") << QByteArray("a&amp;b") << "a&amp;b";
    QTest::newRow("utf-8") << QByteArray("Jos\xC3\xA9") << QString::fromUtf8("Jos\xC3\xA9");
    QTest::newRow("latin-1") << QByteArray("Jos\xE9") << QString::fromUtf8("Jos\xC3\xA9");
    QTest::newRow("utf-8 roto") << QByteArray("\xC3\x28") << QString::fromUtf8("\xC3\x83(");
}

void PruebaPanel::nombres() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, visible);
    Panel p = abre("2 otro " + bytes + "\n" + frame(0), false);
    QVERIFY(p.completo());
    QCOMPARE(p.nombres.size(), 2);
    QCOMPARE(textoVisible(p.nombres[1]), visible);
    // Drawn whole in the player's colour.
    QTextDocument documento;
    documento.setHtml(p.nombres[1]->text());
    QCOMPARE(documento.blockCount(), 1);
    for (auto f = documento.begin().begin(); !f.atEnd(); ++f) {
        QCOMPARE(f.fragment().charFormat().foreground().color(), QColor("#1CFF1C"));
    }
}

// The track gets the width the panel does not need, at the start and after
// a resize.
void PruebaPanel::divisorDaAnchoALaPista() {
    Panel p = abre(kTresFrames);
    QVERIFY(p.completo());
    QCOMPARE(p.ventana->size(), QSize(712, 512));
    QCOMPARE(p.divisor->size(), QSize(712, 512));
    const int anchoPanel = p.lateral->width();
    const int anchoPista = p.ventana->vista()->width();
    QVERIFY2(anchoPista > anchoPanel,
             qPrintable(QString("%1 / %2").arg(anchoPista).arg(anchoPanel)));
    // The panel gets what it asks for and no more.
    QVERIFY(anchoPanel <= p.lateral->sizeHint().width());
    p.ventana->resize(1000, 600);
    QCOMPARE(p.divisor->size(), QSize(1000, 600));
    QCOMPARE(p.lateral->width(), anchoPanel);
    QCOMPARE(p.ventana->vista()->width(), anchoPista + 288);
}

QTEST_MAIN(PruebaPanel)
#include "prueba_panel.moc"
