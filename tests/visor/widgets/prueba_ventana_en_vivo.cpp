// The window in live mode, offscreen: it waits for a log that is not there
// yet, follows the head, stays where the user is otherwise, rebuilds its
// panel and standings for another race, survives a deletion; the check box
// and L; and the command line that refuses live mode with a headless output.
#include "paneles/CLineaTiempo.h"
#include "paneles/CMarcaEnVivo.h"
#include "paneles/CModeloClasificacion.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CVisualizador.h"
#include "ventana/CDialogoAtajos.h"
#include "ventana/CVentana.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

using Aviso = CMarcaEnVivo::Aviso;

// Player 0 of frame k stands at x = 100 + k, so the view tells which frame is
// on show.
QByteArray frames(int desde, int hasta) {
    QByteArray texto;
    for (int k = desde; k < hasta; ++k) {
        texto += "p " + QByteArray::number(100 + k) + " 5 0 " + QByteArray::number(k / 4) + "\n";
        texto += "p " + QByteArray::number(103 + k) + " 5 0 0\n";
    }
    return texto;
}

const QByteArray kCabecera = "2 alfa beta\n";
const QByteArray kMapa = "3 4\n4 4 4 4\n4 5 5 4\n4 4 4 4\n";
// Long enough for a test: the replay runs without stepping by itself.
constexpr double kVelocidadLenta = 0.01;

long long frameEnVista(const CVentana& v) {
    return std::llround(v.vista()->posicionJugador(0).x()) - 100;
}

QStringList nombresEnPanel(const CVentana& v) {
    QStringList nombres;
    for (const QLabel* etiqueta : v.findChildren<QLabel*>()) {
        if (etiqueta->textFormat() == Qt::RichText && etiqueta->text().startsWith("<font")) {
            nombres << QTextDocumentFragment::fromHtml(etiqueta->text()).toPlainText();
        }
    }
    return nombres;
}

// The standings table's names, in player order.
QStringList nombresEnTabla(const CVentana& v) {
    const CModeloClasificacion* modelo = v.clasificacion()->modelo();
    QStringList nombres(modelo->rowCount());
    for (int fila = 0; fila < modelo->rowCount(); ++fila) {
        const int jugador = modelo->jugadorEnFila(fila);
        if (jugador >= 0 && jugador < nombres.size()) {
            nombres[jugador] = modelo->index(fila, CModeloClasificacion::Jugador).data().toString();
        }
    }
    return nombres;
}

bool hayCajaDeMensaje() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) {
            return true;
        }
    }
    return false;
}

} // namespace

class PruebaVentanaEnVivo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void esperaLaCarrera_data();
    void esperaLaCarrera();
    void sigueLaCabeza();
    void seQuedaDondeEsta_data();
    void seQuedaDondeEsta();
    void otraCarrera_data();
    void otraCarrera();
    void sobreviveAlBorrado();
    void diceQueSeDetuvo();
    void casillaYTecla();
    void unaCarpetaEsUnError();
    void ordenesRechazadas_data();
    void ordenesRechazadas();

private:
    void escribe(const QByteArray& contenido, const QString& nombre = QStringLiteral("vivo.txt"));
    void anade(const QByteArray& contenido);
    std::unique_ptr<CVentana> abre(CVentana::ModoCarrera modo = CVentana::ModoCarrera::enVivo);
    QString ruta() const { return dir->filePath(QStringLiteral("vivo.txt")); }
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaVentanaEnVivo::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QFile mapa(dir->filePath(QStringLiteral("mapa.txt")));
    QVERIFY(mapa.open(QIODevice::WriteOnly));
    mapa.write(kMapa);
}

void PruebaVentanaEnVivo::escribe(const QByteArray& contenido, const QString& nombre) {
    QFile archivo(dir->filePath(nombre));
    QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(archivo.write(contenido), contenido.size());
}

void PruebaVentanaEnVivo::anade(const QByteArray& contenido) {
    QFile archivo(ruta());
    QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Append));
    QCOMPARE(archivo.write(contenido), contenido.size());
}

std::unique_ptr<CVentana> PruebaVentanaEnVivo::abre(CVentana::ModoCarrera modo) {
    auto ventana = std::make_unique<CVentana>(
        QFile::encodeName(ruta()).constData(),
        QFile::encodeName(dir->filePath("mapa.txt")).constData(), nullptr, modo);
    ventana->show();
    QApplication::setActiveWindow(ventana.get());
    if (!QTest::qWaitForWindowActive(ventana.get())) {
        qWarning("la ventana no se activó");
    }
    return ventana;
}

void PruebaVentanaEnVivo::esperaLaCarrera_data() {
    QTest::addColumn<QByteArray>("alEmpezar"); // "-": no log at all
    QTest::newRow("sin registro") << QByteArray("-");
    QTest::newRow("vacío") << QByteArray();
    QTest::newRow("cabecera a medias") << QByteArray("2 alfa be");
}

void PruebaVentanaEnVivo::esperaLaCarrera() {
    QFETCH(QByteArray, alEmpezar);
    if (alEmpezar != "-") {
        escribe(alEmpezar);
    }
    auto v = abre();
    QVERIFY(v->reproductor()->enVivo());
    QVERIFY(!hayCajaDeMensaje());
    QCOMPARE(v->reproductor()->numeroFrames(), 0u);
    QTRY_COMPARE(v->marcaVivo()->aviso(), Aviso::esperando);
    QVERIFY(v->marcaVivo()->isVisible());
    QVERIFY(v->marcaVivo()->text().startsWith(QStringLiteral("Esperando la carrera…")));
    QCOMPARE(nombresEnPanel(*v), QStringList());

    escribe(kCabecera);
    QTRY_COMPARE(nombresEnPanel(*v), (QStringList{"alfa", "beta"}));
    anade(frames(0, 3));
    QTRY_COMPARE(v->reproductor()->numeroFrames(), 3u);
    QCOMPARE(nombresEnTabla(*v), (QStringList{"alfa", "beta"}));
    // Opened live, the replay runs: the newest frame is on show.
    QCOMPARE(v->reproductor()->frame(), 2);
    QCOMPARE(frameEnVista(*v), 2);
    QTRY_COMPARE(v->marcaVivo()->aviso(), Aviso::enVivo);
    QCOMPARE(v->marcaVivo()->text(), QStringLiteral("EN VIVO"));
}

void PruebaVentanaEnVivo::sigueLaCabeza() {
    escribe(kCabecera + frames(0, 5));
    auto v = abre();
    v->cambiaVelocidad(kVelocidadLenta);
    QCOMPARE(v->reproductor()->frame(), 4); // it opens at the head
    auto* linea = v->findChild<CLineaTiempo*>();
    QVERIFY(linea != nullptr);
    for (int hasta = 6; hasta <= 9; ++hasta) {
        anade(frames(hasta - 1, hasta));
        QTRY_COMPARE(v->reproductor()->frame(), hasta - 1);
        QCOMPARE(frameEnVista(*v), hasta - 1);
    }
    QCOMPARE(linea->contador()->text(), QStringLiteral("Paso 8 de 9"));
    QCOMPARE(linea->barra()->maximum(), 8);
    QCOMPARE(v->reproductor()->analisis().framesAnalizados(), 9);
    QCOMPARE(v->marcaVivo()->aviso(), Aviso::enVivo);
}

void PruebaVentanaEnVivo::seQuedaDondeEsta_data() {
    QTest::addColumn<bool>("enMarcha");
    QTest::addColumn<long long>("mostrado");
    QTest::newRow("en pausa en el último") << false << 4LL;
    QTest::newRow("en marcha más atrás") << true << 2LL;
    QTest::newRow("en pausa más atrás") << false << 1LL;
}

void PruebaVentanaEnVivo::seQuedaDondeEsta() {
    QFETCH(bool, enMarcha);
    QFETCH(long long, mostrado);
    escribe(kCabecera + frames(0, 5));
    auto v = abre();
    v->cambiaVelocidad(kVelocidadLenta);
    if (!enMarcha) {
        v->detener();
    }
    v->reproductor()->irAFrame(mostrado);
    anade(frames(5, 9));
    QTRY_COMPARE(v->reproductor()->numeroFrames(), 9u);
    QCOMPARE(v->reproductor()->frame(), mostrado);
    QCOMPARE(frameEnVista(*v), mostrado);
    QCOMPARE(v->marcaVivo()->aviso(), Aviso::ninguno);
    QCOMPARE(v->findChild<CLineaTiempo*>()->contador()->text(),
             QStringLiteral("Paso %1 de 9").arg(mostrado));

    // End goes back to the head; running, the replay follows it from there.
    QTest::keyClick(v.get(), Qt::Key_End);
    QCOMPARE(v->reproductor()->frame(), 8);
    v->ejecutar();
    anade(frames(9, 11));
    QTRY_COMPARE(v->reproductor()->frame(), 10);
    QTRY_COMPARE(v->marcaVivo()->aviso(), Aviso::enVivo);
}

void PruebaVentanaEnVivo::otraCarrera_data() {
    QTest::addColumn<bool>("sustituida");
    QTest::newRow("acortada") << false;
    QTest::newRow("sustituida") << true;
}

void PruebaVentanaEnVivo::otraCarrera() {
    QFETCH(bool, sustituida);
    escribe(kCabecera + frames(0, 8));
    auto v = abre();
    v->cambiaVelocidad(kVelocidadLenta);
    QCOMPARE(nombresEnPanel(*v), (QStringList{"alfa", "beta"}));
    const QByteArray nueva = "3 x y z\np 100 1 0 0\np 1 1 0 0\np 2 2 0 0\n";
    if (sustituida) {
        // Another file in the log's place, as a referee that writes a new
        // race beside it and renames it.
        escribe(nueva + "p 101 1 0 0\np 1 1 0 0\np 2 2 0 0\n", QStringLiteral("nuevo.txt"));
        QVERIFY(QFile::remove(ruta()));
        QVERIFY(QFile::rename(dir->filePath("nuevo.txt"), ruta()));
    } else {
        escribe(nueva);
    }
    QTRY_COMPARE(nombresEnPanel(*v), (QStringList{"x", "y", "z"}));
    QCOMPARE(v->reproductor()->carrera().numJugadores, 3);
    QCOMPARE(v->vista()->cantidadJugadores(), 3);
    const unsigned int framesNuevos = sustituida ? 2u : 1u;
    QCOMPARE(v->reproductor()->numeroFrames(), framesNuevos);
    // Running, it follows the new race's head.
    QCOMPARE(v->reproductor()->frame(), static_cast<long long>(framesNuevos) - 1);
    QCOMPARE(v->findChild<CLineaTiempo*>()->barra()->maximum(), static_cast<int>(framesNuevos) - 1);
    QCOMPARE(v->reproductor()->analisis().numJugadores(), 3);
    QCOMPARE(nombresEnTabla(*v), (QStringList{"x", "y", "z"}));
    QVERIFY(!hayCajaDeMensaje());
}

void PruebaVentanaEnVivo::sobreviveAlBorrado() {
    escribe(kCabecera + frames(0, 6));
    auto v = abre();
    v->cambiaVelocidad(kVelocidadLenta);
    QCOMPARE(v->reproductor()->numeroFrames(), 6u);
    QVERIFY(QFile::remove(ruta()));
    QTRY_COMPARE(v->marcaVivo()->aviso(), Aviso::borrado);
    QVERIFY(v->marcaVivo()->text().contains(QStringLiteral("vivo.txt")));
    QVERIFY(!hayCajaDeMensaje());
    QCOMPARE(v->reproductor()->numeroFrames(), 6u);
    QCOMPARE(frameEnVista(*v), 5);
    QCOMPARE(nombresEnPanel(*v), (QStringList{"alfa", "beta"}));
    // Steps still work on what was read.
    v->reproductor()->irAFrame(2);
    QCOMPARE(frameEnVista(*v), 2);
}

void PruebaVentanaEnVivo::casillaYTecla() {
    escribe(kCabecera + frames(0, 4));
    auto v = abre(CVentana::ModoCarrera::grabada);
    QCheckBox* casilla = nullptr;
    for (QCheckBox* c : v->findChildren<QCheckBox*>()) {
        casilla = c->text() == QStringLiteral("En vivo") ? c : casilla;
    }
    QVERIFY(casilla != nullptr);
    QVERIFY(!casilla->isChecked());
    QVERIFY(!v->reproductor()->enVivo()); // off unless asked for
    v->reproductor()->irAFrame(1);
    anade(frames(4, 6));
    QTest::qWait(150);
    QCOMPARE(v->reproductor()->numeroFrames(), 4u);

    QTest::keyClick(v.get(), Qt::Key_L);
    QVERIFY(v->reproductor()->enVivo());
    QVERIFY(casilla->isChecked());
    // The same race read again, longer; as with --en-vivo, the replay runs
    // at its head and follows it.
    QCOMPARE(v->reproductor()->numeroFrames(), 6u);
    QCOMPARE(frameEnVista(*v), 5);
    QCOMPARE(v->marcaVivo()->aviso(), Aviso::enVivo);
    anade(frames(6, 7) + "p 107 5 0 0");
    QTRY_COMPARE(v->reproductor()->numeroFrames(), 7u);
    QCOMPARE(frameEnVista(*v), 6);

    // Off: the rest is read as a whole read would, partial last frame too.
    casilla->setChecked(false);
    QVERIFY(!v->reproductor()->enVivo());
    QCOMPARE(v->reproductor()->numeroFrames(), 8u);
    QCOMPARE(v->marcaVivo()->aviso(), Aviso::ninguno);

    CDialogoAtajos ayuda(v.get());
    bool conL = false;
    for (const QTableWidget* tabla : ayuda.findChildren<QTableWidget*>()) {
        for (int fila = 0; fila < tabla->rowCount(); ++fila) {
            conL = conL || (tabla->item(fila, 0)->text() == QStringLiteral("L") &&
                            tabla->item(fila, 1)->text().contains(QStringLiteral("en vivo")));
        }
    }
    QVERIFY(conL);
}

// A player record that cannot be read stops the reading: the notice says so
// in place of "EN VIVO", and what was read stays on show.
void PruebaVentanaEnVivo::diceQueSeDetuvo() {
    escribe(kCabecera + frames(0, 2));
    auto v = abre();
    QTRY_COMPARE(v->marcaVivo()->aviso(), Aviso::enVivo);
    anade("p 1 uno 0 0\n" + frames(2, 4));
    QTRY_COMPARE(v->marcaVivo()->aviso(), Aviso::detenido);
    QVERIFY(v->marcaVivo()->isVisible());
    QVERIFY(v->marcaVivo()->text().startsWith(
        QStringLiteral("La lectura del registro de carrera se detuvo; se muestra lo leído.")));
    QCOMPARE(v->reproductor()->numeroFrames(), 2u);
}

void PruebaVentanaEnVivo::unaCarpetaEsUnError() {
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("vivo.txt")));
    try {
        abre();
        QFAIL("una carpeta no es un registro de carrera");
    } catch (CVentana::excepcionArchivo* error) {
        std::unique_ptr<CVentana::excepcionArchivo> propio(error);
        QCOMPARE(QFile::decodeName(error->ruta().c_str()), ruta());
        QVERIFY(QString::fromUtf8(error->what()).contains(QStringLiteral("carpeta")));
    }
}

void PruebaVentanaEnVivo::ordenesRechazadas_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("dice");
    QTest::newRow("con --png") << QStringList{"--en-vivo", "--png", "x.png", "C", "M"}
                               << QStringLiteral("--png");
    QTest::newRow("--png antes") << QStringList{"--png", "x.png", "C", "M", "--en-vivo"}
                                 << QStringLiteral("--png");
    QTest::newRow("con --video") << QStringList{"--en-vivo", "--video", "x.mp4", "C", "M"}
                                 << QStringLiteral("--video");
    QTest::newRow("sin mapa") << QStringList{"--en-vivo", "C"} << QStringLiteral("el mapa");
    QTest::newRow("dos veces") << QStringList{"--en-vivo", "--en-vivo", "C", "M"}
                               << QStringLiteral("más de una vez");
}

void PruebaVentanaEnVivo::ordenesRechazadas() {
    QFETCH(QStringList, argumentos);
    QFETCH(QString, dice);
    for (QString& a : argumentos) {
        a = a == "C" ? ruta() : a == "M" ? dir->filePath("mapa.txt") : a;
    }
    QProcess visor;
    visor.setWorkingDirectory(dir->path());
    visor.start(QStringLiteral(ZUL_BINARIO_VISOR), argumentos);
    QVERIFY(visor.waitForFinished(30000));
    QCOMPARE(visor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(visor.exitCode(), 2);
    const QString errores = QString::fromUtf8(visor.readAllStandardError());
    QVERIFY2(errores.contains(QStringLiteral("--en-vivo")) && errores.contains(dice),
             qPrintable(errores));
    QVERIFY(!QFile::exists(dir->filePath("x.png")));
}

QTEST_MAIN(PruebaVentanaEnVivo)
#include "prueba_ventana_en_vivo.moc"
