// The bots' debug files in the window: loaded or refused (the race stays),
// dropped on it, the notes panel following the frame and the followed player,
// the layer's key and check box, live growth through the replay controller,
// and the zulprueba command copied for the frame on show.
#include "control/CReproductor.h"
#include "paneles/CBarraProyector.h"
#include "paneles/CPanelNotas.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/depuraciones.h"
#include "ventana/CDepuracionVentana.h"
#include "ventana_de_prueba.h"

#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

namespace {

// Two players, six frames.
QByteArray carrera() {
    QByteArray texto = "2 alfa beta\n";
    for (int k = 0; k < 6; ++k) {
        texto += "p " + QByteArray::number(10.5 + k) + " 10.5 0 0\np 5.5 4.5 1.57 0\n";
    }
    return texto;
}

QByteArray mapa() {
    QByteArray texto = "20 30\n";
    for (int i = 0; i < 20; ++i) {
        texto += QByteArray("4 ").repeated(30) + '\n';
    }
    return texto;
}

// Player `id`'s file with `turnos` turns, each noting "<letra> <turno>";
// turn 2 notes twice.
QByteArray depuracion(int id, int turnos, char letra) {
    QByteArray texto = "zul-depuracion 1\n";
    for (int t = 0; t < turnos; ++t) {
        texto += "turno " + QByteArray::number(t) + " id " + QByteArray::number(id) + " m 1 0\n";
        texto += "linea 1 1 5 5 ff0000\n";
        if (t == 2) {
            texto += QByteArray("nota ") + letra + "2 x\nnota " + letra + "2 y\n";
        } else {
            texto += QByteArray("nota ") + letra + ' ' + QByteArray::number(t) + '\n';
        }
        texto += "fin\n";
    }
    return texto;
}

QString escribe(const QTemporaryDir& dir, const QString& nombre, const QByteArray& texto,
                QIODevice::OpenMode modo = QIODevice::WriteOnly) {
    QFile archivo(dir.filePath(nombre));
    if (!archivo.open(modo) || archivo.write(texto) != texto.size()) {
        qFatal("no se pudo escribir %s", qPrintable(nombre));
    }
    return archivo.fileName();
}

} // namespace

class PruebaDepuracionVentana : public QObject {
    Q_OBJECT

private slots:
    void carga_data();
    void carga();
    void soltar();
    void notas_data();
    void notas();
    void alternar();
    void enVivo();
    void orden_data();
    void orden();
    void copiar();
};

void PruebaDepuracionVentana::carga_data() {
    QTest::addColumn<QByteArray>("contenido"); // empty: no file
    QTest::addColumn<QString>("rechazo");      // empty: loaded
    QTest::newRow("bien") << depuracion(1, 6, 'b') << "";
    QTest::newRow("otro jugador") << depuracion(5, 2, 'b') << "es del jugador 5";
    QTest::newRow("más turnos que pasos") << depuracion(0, 7, 'a') << "tiene 7 turnos";
    QTest::newRow("línea rota") << QByteArray("zul-depuracion 1\nturno 0 id 0 m 0 0\nlinea 1 2\n")
                                << ", línea 3: la línea debe ser";
    QTest::newRow("cortado") << QByteArray("zul-depuracion 1\nturno 0 id 0 m 0 0\n")
                             << "sin su línea «fin»";
    QTest::newRow("no existe") << QByteArray() << "No se pudo abrir el archivo de depuración";
}

void PruebaDepuracionVentana::carga() {
    QFETCH(QByteArray, contenido);
    QFETCH(QString, rechazo);
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapa());
    ventana->reproductor()->irAFrame(3);
    const QString ruta = contenido.isEmpty() ? dir.filePath(QStringLiteral("no.dep"))
                                             : escribe(dir, QStringLiteral("b.dep"), contenido);
    QCOMPARE(ventana->depuracion()->carga({ruta}), rechazo.isEmpty());
    CReproductor* control = ventana->reproductor();
    auto* casilla = ventana->findChild<CBarraProyector*>()->casillaDeDepuracion();
    if (rechazo.isEmpty()) {
        QCOMPARE(control->depuraciones().cuantas(), std::size_t{1});
        QCOMPARE(ventana->vista()->escena().depuracion.size(), 1);
        QVERIFY(casilla->isVisible());
        QVERIFY(ventana->depuracion()->panelNotas()->isVisible());
    } else {
        // Named, and nothing of it shown; the race stays as it was.
        const QString motivo = ventana->depuracion()->ultimoRechazo();
        QVERIFY2(motivo.contains(rechazo) && motivo.contains(ruta), qPrintable(motivo));
        QCOMPARE(control->depuraciones().cuantas(), std::size_t{0});
        QVERIFY(ventana->vista()->escena().depuracion.isEmpty());
        QVERIFY(!casilla->isVisible());
        QVERIFY(ventana->findChild<QMessageBox*>() != nullptr);
        QCOMPARE(ventana->reproductor()->frame(), 3LL);
        QCOMPARE(ventana->reproductor()->numeroFrames(), 6u);
    }
}

// A debug file dropped on the window is told by its content and loaded; a
// single file of another kind is not taken.
void PruebaDepuracionVentana::soltar() {
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapa());
    for (const auto& [nombre, contenido, tomado] :
         {std::tuple{"mapa.otro", mapa(), false}, {"bot", depuracion(0, 3, 'a'), true}}) {
        QMimeData datos;
        datos.setUrls({QUrl::fromLocalFile(escribe(dir, QString::fromLatin1(nombre), contenido))});
        QDragEnterEvent entra(QPoint(5, 5), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ventana.get(), &entra);
        QCOMPARE(entra.isAccepted(), tomado);
        if (tomado) {
            QDropEvent suelta(QPointF(5, 5), Qt::CopyAction, &datos, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(ventana.get(), &suelta);
        }
    }
    QCOMPARE(ventana->reproductor()->depuraciones().cuantas(), std::size_t{1});
}

void PruebaDepuracionVentana::notas_data() {
    // gK seek, t step, fJ follow, dD shift.
    QTest::addColumn<QString>("guion");
    QTest::addColumn<QString>("notas"); // joined by |
    QTest::addColumn<int>("capas");     // turns drawn
    QTest::newRow("inicio") << ""
                            << "a 0" << 2;
    QTest::newRow("dos notas") << "g2"
                               << "a2 x|a2 y" << 2;
    QTest::newRow("otro jugador") << "g2 f1"
                                  << "b2 x|b2 y" << 2;
    QTest::newRow("paso") << "g1 t"
                          << "a2 x|a2 y" << 2;
    QTest::newRow("sin turno") << "f1 g5"
                               << "" << 1;
    QTest::newRow("cambia el seguido") << "f1 g5 f0"
                                       << "a 5" << 1;
    QTest::newRow("desfase") << "d1 g3"
                             << "a2 x|a2 y" << 2;
    QTest::newRow("desfase antes del primero") << "d1 g0"
                                               << "" << 0;
}

void PruebaDepuracionVentana::notas() {
    QFETCH(QString, guion);
    QFETCH(QString, notas);
    QFETCH(int, capas);
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapa());
    QVERIFY(ventana->depuracion()->carga(
        {escribe(dir, QStringLiteral("a.dep"), depuracion(0, 6, 'a')),
         escribe(dir, QStringLiteral("b.dep"), depuracion(1, 4, 'b'))}));
    for (const QString& instruccion : guion.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int n = instruccion.mid(1).toInt();
        switch (instruccion[0].toLatin1()) {
        case 'g':
            ventana->reproductor()->irAFrame(n);
            break;
        case 't':
            ventana->step();
            break;
        case 'f':
            ventana->reproductor()->sigue(n);
            break;
        case 'd':
            ventana->depuracion()->ponDesfase(n);
            break;
        }
    }
    QCOMPARE(ventana->depuracion()->panelNotas()->notas().join(QLatin1Char('|')), notas);
    QCOMPARE(ventana->vista()->escena().depuracion.size(), capas);
}

// B and the check box turn the one scene option.
void PruebaDepuracionVentana::alternar() {
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapa());
    QVERIFY(ventana->depuracion()->carga(
        {escribe(dir, QStringLiteral("a.dep"), depuracion(0, 6, 'a'))}));
    QCheckBox* casilla = ventana->findChild<CBarraProyector*>()->casillaDeDepuracion();
    QVERIFY(casilla->isChecked());
    QTest::keyClick(ventana->vista(), Qt::Key_B);
    QVERIFY(!ventana->vista()->escena().opciones.depuracion);
    QVERIFY(!casilla->isChecked());
    casilla->click();
    QVERIFY(ventana->vista()->escena().opciones.depuracion);
    QTest::keyClick(ventana->vista(), Qt::Key_B);
    QVERIFY(!casilla->isChecked());
}

// Live: the debug file is read as it grows, a block still open waits for its
// "fin", a file written again from its start is read again, and one that
// stops parsing is dropped, named.
void PruebaDepuracionVentana::enVivo() {
    QTemporaryDir dir;
    const QString log = escribe(dir, QStringLiteral("c.txt"), carrera());
    const QString ruta = dir.filePath(QStringLiteral("a.dep"));
    CReproductor control;
    control.ponRuta(QFile::encodeName(log).toStdString());
    control.ponEnVivo(true);
    QSignalSpy cambios(&control, &CReproductor::depuracionCambiada);
    QSignalSpy rechazos(&control, &CReproductor::depuracionRechazada);
    // Not written yet: waited for.
    control.cargaDepuracion(QFile::encodeName(ruta).toStdString());
    const auto turnos = [&control] {
        return control.depuraciones().cuantas() == 1
                   ? static_cast<int>(control.depuraciones().depuracion(0).turnos().size())
                   : -1;
    };
    const QByteArray dos = depuracion(0, 2, 'a');
    const struct {
        QByteArray texto;
        QIODevice::OpenMode modo;
        int turnos;
    } escrituras[] = {
        {dos.left(dos.size() - 4), QIODevice::WriteOnly, 1}, // the second block without "fin"
        {"fin\n", QIODevice::Append, 2},
        {depuracion(0, 1, 'z'), QIODevice::WriteOnly | QIODevice::Truncate, 1},
        {depuracion(0, 3, 'a').mid(17), QIODevice::Append, -1}, // turn 0 again: broken
    };
    for (const auto& escritura : escrituras) {
        escribe(dir, QStringLiteral("a.dep"), escritura.texto, escritura.modo);
        const qsizetype antes = cambios.size();
        control.sondea();
        QCOMPARE(turnos(), escritura.turnos);
        QCOMPARE(cambios.size(), antes + 1);
    }
    QCOMPARE(rechazos.size(), 1);
    const QString motivo = rechazos.constFirst().constFirst().toString();
    QVERIFY2(motivo.contains(ruta) && motivo.contains(QStringLiteral("línea 6")),
             qPrintable(motivo));
}

void PruebaDepuracionVentana::orden_data() {
    QTest::addColumn<QString>("carrera");
    QTest::addColumn<QString>("orden");
    const QString cola = QStringLiteral(" --jugador 1 --desde 4 -- ./mibot");
    QTest::newRow("simple") << "/t/c-1.txt"
                            << "zulprueba --carrera /t/c-1.txt" + cola;
    QTest::newRow("espacio") << "/t/mi carrera.txt"
                             << "zulprueba --carrera '/t/mi carrera.txt'" + cola;
    QTest::newRow("comilla") << "/t/l'a $x.txt"
                             << "zulprueba --carrera '/t/l'\\''a $x.txt'" + cola;
}

void PruebaDepuracionVentana::orden() {
    QFETCH(QString, carrera);
    QFETCH(QString, orden);
    QCOMPARE(QString::fromStdString(zul::ordenRepeticion(carrera.toStdString(), 1, 4)), orden);
}

// The window's: the frame on show, the followed player, the race's absolute path.
void PruebaDepuracionVentana::copiar() {
    QTemporaryDir dir;
    auto ventana = abreVentanaDePrueba(dir, carrera(), mapa());
    ventana->reproductor()->irAFrame(4);
    ventana->reproductor()->sigue(1);
    const QString copiada = ventana->depuracion()->copiaOrden();
    QCOMPARE(QGuiApplication::clipboard()->text(), copiada);
    QCOMPARE(copiada, QStringLiteral("zulprueba --carrera %1 --jugador 1 --desde 4 -- ./mibot")
                          .arg(QDir(dir.path()).absoluteFilePath(QStringLiteral("carrera.txt"))));
}

QTEST_MAIN(PruebaDepuracionVentana)
#include "prueba_depuracion_ventana.moc"
