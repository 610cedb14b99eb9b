// Trails, saving the view as a picture, and opening dropped files: telling a
// map from a race log, the window's check box, Ctrl+S and drops.
#include "datos/rutas.h"
#include "datos/tipo_archivo.h"
#include "escena/estelas.h"
#include "geometria/colores.h"
#include "paneles/CVisualizador.h"
#include "ventana/CGestorVentanas.h"
#include "ventana/CVentana.h"

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

// 40 x 20 cells of wall: only the karts and their trails show on black.
QByteArray mapaMuros() {
    QByteArray texto = "20 40\n";
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 40; ++j) {
            texto += "5 ";
        }
        texto += '\n';
    }
    return texto;
}

// Player 0 drives right along row 10, half a cell per frame from x = 5;
// player 1 stands still at (9, 10), on player 0's path.
QByteArray carreraRecta(int frames) {
    QByteArray texto = "2 alfa beta\n";
    for (int k = 0; k < frames; ++k) {
        texto += "p " + QByteArray::number(5.0 + 0.5 * k) + " 10.5 0 0\n";
        texto += "p 9 10.5 0 0\n";
    }
    return texto;
}

const QByteArray kMapaPequeno = "2 3\n0 1 2\n3 5 4\n";
const QByteArray kCarreraPequena = "2 alfa beta\np 1.5 1.5 0 0\np 2 1 0 0\n";

QImage pintaVista(CVentana& ventana) {
    CVisualizador* vista = ventana.vista();
    // Fixed, so that the window's layout does not resize it while it renders.
    vista->setFixedSize(512, 512);
    QImage imagen(vista->size(), QImage::Format_RGB32);
    imagen.fill(Qt::magenta);
    vista->render(&imagen);
    return imagen;
}

// Pixel of map point (x, 10.5) in a 512 x 512 view at zoom 10 that follows
// a kart at (centro, 10.5).
QPoint pixel(double x, double centro) {
    return QPoint(static_cast<int>(256 + (x - centro) * 10), 256);
}

// A drag that enters the window and drops there, as the toolkit delivers it;
// whether the drop was taken.
bool suelta(QWidget& ventana, QMimeData& datos) {
    const QPoint punto(10, 10);
    QDragEnterEvent entrada(punto, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&ventana, &entrada);
    if (!entrada.isAccepted()) {
        return false;
    }
    QDropEvent caida(punto, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&ventana, &caida);
    return caida.isAccepted();
}

// Runs `accion` on the next modal dialog once it shows.
void conDialogo(std::function<void(QWidget*)> accion) {
    auto* reloj = new QTimer;
    reloj->setInterval(20);
    QObject::connect(reloj, &QTimer::timeout, [reloj, accion] {
        if (QWidget* dialogo = QApplication::activeModalWidget()) {
            reloj->stop();
            reloj->deleteLater();
            accion(dialogo);
        }
    });
    reloj->start();
}

} // namespace

class PruebaSalida : public QObject {
    Q_OBJECT

private slots:
    void init();

    void pareceMapa_data();
    void pareceMapa();
    void ordenaPorContenido_data();
    void ordenaPorContenido();
    void muestraLarga_data();
    void muestraLarga();

    void estelasDeLaCarrera_data();
    void estelasDeLaCarrera();
    void estelasSinReservas();
    void casillaEstelas();
    void estelasPintadas_data();
    void estelasPintadas();

    void guardaImagenEn();
    void guardaImagenConDialogo_data();
    void guardaImagenConDialogo();

    void arrastre_data();
    void arrastre();
    void soltarAbre_data();
    void soltarAbre();
    void soltarSinMapa();
    void soltarEnElGestor_data();
    void soltarEnElGestor();

private:
    QString escribe(const QString& nombre, const QByteArray& contenido);
    std::unique_ptr<CVentana> ventana(const QByteArray& carrera, const QByteArray& mapa);
    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaSalida::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QString PruebaSalida::escribe(const QString& nombre, const QByteArray& contenido) {
    QFile archivo(dir->filePath(nombre));
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) {
        qFatal("no se pudo escribir %s", qPrintable(nombre));
    }
    return archivo.fileName();
}

std::unique_ptr<CVentana> PruebaSalida::ventana(const QByteArray& carrera, const QByteArray& mapa) {
    const QByteArray rutaCarrera = QFile::encodeName(escribe("carrera.txt", carrera));
    const QByteArray rutaMapa = QFile::encodeName(escribe("mapa.txt", mapa));
    return std::make_unique<CVentana>(rutaCarrera.constData(), rutaMapa.constData());
}

void PruebaSalida::pareceMapa_data() {
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<bool>("completo");
    QTest::addColumn<bool>("mapa");
    QTest::newRow("mapa") << QByteArray("2 3\n0 1 2\n3 5 4\n") << true << true;
    QTest::newRow("mapa en una línea, con signos")
        << QByteArray("+2\t3\r\n0 -1 2 3 5 4") << true << true;
    QTest::newRow("solo las dimensiones") << QByteArray("60 90\n") << true << true;
    QTest::newRow("dimensiones negativas") << QByteArray("-2 4") << true << true;
    QTest::newRow("un solo entero") << QByteArray("7\n") << true << false;
    QTest::newRow("vacío") << QByteArray("") << true << false;
    QTest::newRow("solo blancos") << QByteArray(" \n\t ") << true << false;
    QTest::newRow("registro") << QByteArray(kCarreraPequena) << true << false;
    QTest::newRow("registro con nombres numéricos")
        << QByteArray("2 10 20\np 1 1 0 0\n") << true << false;
    QTest::newRow("decimal") << QByteArray("2 3 0 1.5") << true << false;
    QTest::newRow("signo suelto al final del archivo") << QByteArray("2 3 0 -") << true << false;
    QTest::newRow("cortado en un número") << QByteArray("2 3 0 1 2") << false << true;
    QTest::newRow("cortado en un signo") << QByteArray("2 3 0 -") << false << true;
    QTest::newRow("cortado en una palabra") << QByteArray("2 3 0 1 x") << false << false;
    QTest::newRow("cortado en las dimensiones") << QByteArray("2 3") << false << false;
    QTest::newRow("palabra antes del corte") << QByteArray("2 3 p 1") << false << false;
}

void PruebaSalida::pareceMapa() {
    QFETCH(QByteArray, texto);
    QFETCH(bool, completo);
    QFETCH(bool, mapa);
    QCOMPARE(zul::pareceMapa(std::string_view(texto.constData(), texto.size()), completo), mapa);
}

void PruebaSalida::ordenaPorContenido_data() {
    QTest::addColumn<QByteArray>("primero"); // "-" for a file that does not exist
    QTest::addColumn<QByteArray>("segundo");
    QTest::addColumn<QString>("carrera"); // "uno", "dos", or the start of the error
    QTest::addColumn<QString>("mapa");
    QTest::newRow("carrera y mapa") << kCarreraPequena << kMapaPequeno << "uno"
                                    << "dos";
    QTest::newRow("mapa y carrera") << kMapaPequeno << kCarreraPequena << "dos"
                                    << "uno";
    QTest::newRow("dos mapas") << kMapaPequeno << kMapaPequeno << "Los dos archivos parecen mapas"
                               << "";
    QTest::newRow("ningún mapa") << kCarreraPequena << QByteArray("hola")
                                 << "Ninguno de los dos archivos parece un mapa"
                                 << "";
    QTest::newRow("uno no existe")
        << kCarreraPequena << QByteArray("-") << "No se pudo abrir el archivo"
        << "";
}

void PruebaSalida::ordenaPorContenido() {
    QFETCH(QByteArray, primero);
    QFETCH(QByteArray, segundo);
    QFETCH(QString, carrera);
    QFETCH(QString, mapa);
    const auto ruta = [&](const char* nombre, const QByteArray& contenido) {
        return QFile::encodeName(contenido == "-" ? dir->filePath(nombre)
                                                  : escribe(nombre, contenido))
            .toStdString();
    };
    const std::string uno = ruta("uno", primero);
    const std::string dos = ruta("dos", segundo);
    try {
        const zul::ParArchivos par = zul::ordenaPorContenido(uno, dos);
        QVERIFY2(!mapa.isEmpty(), "se esperaba un error");
        QCOMPARE(QString::fromStdString(par.carrera), dir->filePath(carrera));
        QCOMPARE(QString::fromStdString(par.mapa), dir->filePath(mapa));
    } catch (const zul::ErrorFormato& error) {
        QVERIFY2(mapa.isEmpty(), error.what());
        QVERIFY2(QString::fromUtf8(error.what()).startsWith(carrera), error.what());
        // The message names the file or files concerned.
        QVERIFY2(QString::fromUtf8(error.what()).contains(dir->filePath("dos")), error.what());
    }
}

void PruebaSalida::muestraLarga_data() {
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<bool>("mapa");
    // Far past the sample: only its start is read, and a number cut at its
    // end does not spoil it.
    QByteArray mapa = "300 300\n";
    while (mapa.size() < static_cast<qsizetype>(3 * zul::kMuestraTipo)) {
        mapa += "12345 ";
    }
    QTest::newRow("mapa grande") << mapa << true;
    QByteArray registro = "1 alfa\n";
    while (registro.size() < static_cast<qsizetype>(3 * zul::kMuestraTipo)) {
        registro += "p 1.25 2.5 0 0\n";
    }
    QTest::newRow("registro grande") << registro << false;
    // A word past the sample is not seen: the start decides.
    QTest::newRow("palabra pasada la muestra") << mapa + "p" << true;
    // Exactly the sample's size: the whole file, so its last token counts.
    QByteArray justo = "2 3 ";
    justo += QByteArray(static_cast<qsizetype>(zul::kMuestraTipo) - justo.size() - 1, ' ');
    justo += 'x';
    QTest::newRow("palabra al final de una muestra justa") << justo << false;
}

void PruebaSalida::muestraLarga() {
    QFETCH(QByteArray, contenido);
    QFETCH(bool, mapa);
    const std::string ruta = QFile::encodeName(escribe("archivo", contenido)).toStdString();
    bool completo = false;
    const std::string muestra = zul::leeMuestra(ruta, completo);
    QVERIFY(muestra.size() <= zul::kMuestraTipo);
    QCOMPARE(completo, static_cast<std::size_t>(contenido.size()) <= zul::kMuestraTipo);
    QCOMPARE(zul::pareceMapa(muestra, completo), mapa);
}

void PruebaSalida::estelasDeLaCarrera_data() {
    QTest::addColumn<int>("frames");   // frames in the race
    QTest::addColumn<bool>("parcial"); // the last frame lacks player 1
    QTest::addColumn<int>("frame");    // the frame shown
    QTest::addColumn<int>("desde");    // first frame of the trail
    QTest::newRow("primer frame") << 50 << false << 0 << 0;
    QTest::newRow("menos de 30 frames") << 50 << false << 12 << 0;
    QTest::newRow("justo 30 frames") << 50 << false << 29 << 0;
    QTest::newRow("más de 30 frames") << 50 << false << 30 << 1;
    QTest::newRow("último frame") << 50 << false << 49 << 20;
    QTest::newRow("último frame, parcial") << 50 << true << 50 << 21;
}

// The window hands the view the last 30 frames of the recorded race, after a
// jump as after a step.
void PruebaSalida::estelasDeLaCarrera() {
    QFETCH(int, frames);
    QFETCH(bool, parcial);
    QFETCH(int, frame);
    QFETCH(int, desde);
    QByteArray carrera = carreraRecta(frames);
    if (parcial) {
        carrera += "p 100 10.5 0 0\n";
    }
    auto v = ventana(carrera, mapaMuros());
    for (const bool conSaltos : {true, false}) {
        if (conSaltos) {
            v->reproductor()->irAFrame(frame);
        } else {
            v->reproductor()->irAFrame(0);
            for (int k = 0; k < frame; ++k) {
                v->step();
            }
        }
        QCOMPARE(v->reproductor()->frame(), static_cast<long long>(frame));
        const zul::Estelas& estelas = v->vista()->estelas();
        QCOMPARE(estelas.jugadores(), 2);
        const std::size_t esperados = static_cast<std::size_t>(
            2 * (frame - desde + 1) - (parcial && frame == frames ? 1 : 0));
        QCOMPARE(estelas.puntos().size(), esperados);
        QCOMPARE(estelas.puntos().front().x(), 5.0 + 0.5 * desde);
        QCOMPARE(estelas.puntos()[1], QPointF(9, 10.5));
        QCOMPARE(estelas.puntos().back(),
                 v->reproductor()->carrera().posiciones[static_cast<std::size_t>(
                     2 * frame + (parcial && frame == frames ? 0 : 1))]);
    }
}

// A steady replay reuses the view's buffer.
void PruebaSalida::estelasSinReservas() {
    auto v = ventana(carreraRecta(100), mapaMuros());
    v->reproductor()->irAFrame(40);
    const QPointF* antes = v->vista()->estelas().puntos().data();
    for (int k = 0; k < 50; ++k) {
        v->step();
        QCOMPARE(v->vista()->estelas().puntos().data(), antes);
    }
}

void PruebaSalida::casillaEstelas() {
    auto v = ventana(carreraRecta(3), mapaMuros());
    QCheckBox* casilla = nullptr;
    for (QCheckBox* c : v->findChildren<QCheckBox*>()) {
        if (c->text() == QStringLiteral("Estelas")) {
            casilla = c;
        }
    }
    QVERIFY(casilla != nullptr);
    auto* grupo = qobject_cast<QGroupBox*>(casilla->parentWidget());
    QVERIFY(grupo != nullptr);
    QCOMPARE(grupo->title(), QStringLiteral("Visualizacion"));
    QVERIFY(!casilla->isChecked());
    QVERIFY(!v->vista()->estelasVisibles());
    casilla->click();
    QVERIFY(v->vista()->estelasVisibles());
    casilla->click();
    QVERIFY(!v->vista()->estelasVisibles());
}

void PruebaSalida::estelasPintadas_data() {
    QTest::addColumn<int>("frame");
    QTest::addColumn<double>("x");          // map x of the pixel looked at, on row 10.5
    QTest::addColumn<QString>("conEstela"); // its colour with trails on
    QTest::addColumn<QString>("sin");       // and off
    const QString rojo = zul::colorDisco(0).name();
    const QString verde = zul::colorDisco(1).name();
    const QString negro = QColor(Qt::black).name();
    // At frame 20 player 0 is at x = 15 and its trail reaches back to x = 5.
    QTest::newRow("sobre la estela") << 20 << 5.5 << rojo << negro;
    QTest::newRow("comienzo de la estela") << 20 << 5.0 << rojo << negro;
    QTest::newRow("antes de la estela") << 20 << 4.5 << negro << negro;
    QTest::newRow("bajo el otro kart") << 20 << 8.5 << verde << verde;
    // At frame 50 (x = 30) the trail starts at frame 21, x = 15.5.
    QTest::newRow("dentro de los 30 pasos") << 50 << 16.0 << rojo << negro;
    QTest::newRow("pasados los 30 pasos") << 50 << 15.0 << negro << negro;
}

void PruebaSalida::estelasPintadas() {
    QFETCH(int, frame);
    QFETCH(double, x);
    QFETCH(QString, conEstela);
    QFETCH(QString, sin);
    auto v = ventana(carreraRecta(60), mapaMuros());
    v->reproductor()->irAFrame(frame);
    const double centro = 5.0 + 0.5 * frame;
    const QPoint p = pixel(x, centro);
    v->vista()->muestraEstelas(true);
    QCOMPARE(pintaVista(*v).pixelColor(p).name(), conEstela);
    v->vista()->muestraEstelas(false);
    QCOMPARE(pintaVista(*v).pixelColor(p).name(), sin);
    if (conEstela == sin) {
        return;
    }
    // The trail is one pixel thin.
    v->vista()->muestraEstelas(true);
    const QImage imagen = pintaVista(*v);
    QCOMPARE(imagen.pixelColor(p.x(), p.y() - 2).name(), QColor(Qt::black).name());
    QCOMPARE(imagen.pixelColor(p.x(), p.y() + 2).name(), QColor(Qt::black).name());
}

void PruebaSalida::guardaImagenEn() {
    auto v = ventana(carreraRecta(3), mapaMuros());
    v->resize(712, 512);
    v->show();
    QVERIFY(QTest::qWaitForWindowExposed(v.get()));
    const QString ruta = dir->filePath("vista.png");
    QString error;
    QVERIFY2(v->guardaImagenEn(ruta, &error), qPrintable(error));
    QImage guardada(ruta, "PNG");
    QVERIFY(!guardada.isNull());
    QCOMPARE(guardada.size(), v->vista()->size());
    const QImage vista = v->vista()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(guardada.convertToFormat(QImage::Format_RGB32), vista);

    // A folder that does not exist: refused, with the path in the reason, and
    // an earlier picture of the same name elsewhere is untouched.
    const QString imposible = dir->filePath("no/existe/vista.png");
    QVERIFY(!v->guardaImagenEn(imposible, &error));
    QVERIFY2(error.contains(imposible), qPrintable(error));
    QVERIFY(!QFile::exists(imposible));
}

void PruebaSalida::guardaImagenConDialogo_data() {
    QTest::addColumn<QString>("escrito"); // typed in the dialog; empty to cancel
    QTest::addColumn<QString>("archivo"); // file expected; empty for none
    QTest::newRow("con extensión") << "captura.png"
                                   << "captura.png";
    QTest::newRow("sin extensión") << "captura"
                                   << "captura.png";
    QTest::newRow("cancelado") << ""
                               << "";
}

// Ctrl+S opens the save dialog; accepting it writes the view as a PNG.
void PruebaSalida::guardaImagenConDialogo() {
    QFETCH(QString, escrito);
    QFETCH(QString, archivo);
    auto v = ventana(carreraRecta(3), mapaMuros());
    v->show();
    QVERIFY(QTest::qWaitForWindowActive(v.get()));
    QString titulo;
    bool visto = false;
    conDialogo([&](QWidget* activo) {
        auto* dialogo = qobject_cast<QFileDialog*>(activo);
        if (dialogo == nullptr) {
            activo->close();
            return;
        }
        visto = true;
        titulo = dialogo->windowTitle();
        if (escrito.isEmpty()) {
            dialogo->reject();
            return;
        }
        dialogo->setDirectory(dir->path());
        auto* campo = dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (campo != nullptr) {
            campo->setText(escrito);
        }
        dialogo->selectFile(escrito);
        static_cast<QDialog*>(dialogo)->accept();
    });
    QTest::keyClick(v.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(visto);
    QCOMPARE(titulo, QStringLiteral("Guardar imagen"));
    const QStringList escritos = QDir(dir->path()).entryList({QStringLiteral("*.png")});
    if (archivo.isEmpty()) {
        QVERIFY2(escritos.isEmpty(), qPrintable(escritos.join(' ')));
        return;
    }
    QCOMPARE(escritos, QStringList{archivo});
    const QImage guardada(dir->filePath(archivo), "PNG");
    QCOMPARE(guardada.size(), v->vista()->size());
}

void PruebaSalida::arrastre_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("aceptado");
    const QUrl a = QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"));
    const QUrl b = QUrl::fromLocalFile(QStringLiteral("/tmp/b.txt"));
    QTest::newRow("dos archivos") << QList<QUrl>{a, b} << true;
    QTest::newRow("uno") << QList<QUrl>{a} << false;
    QTest::newRow("tres") << QList<QUrl>{a, b, a} << false;
    QTest::newRow("uno remoto") << QList<QUrl>{a, QUrl(QStringLiteral("https://example.org/m.txt"))}
                                << false;
    QTest::newRow("ninguno") << QList<QUrl>{} << false;
}

// Only a drag of exactly two local files is welcome.
void PruebaSalida::arrastre() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, aceptado);
    auto v = ventana(kCarreraPequena, kMapaPequeno);
    QVERIFY(v->acceptDrops());
    QMimeData datos;
    datos.setUrls(urls);
    if (urls.isEmpty()) {
        datos.setText(QStringLiteral("texto"));
    }
    QDragEnterEvent entrada(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    entrada.setAccepted(false);
    QCoreApplication::sendEvent(v.get(), &entrada);
    QCOMPARE(entrada.isAccepted(), aceptado);
}

void PruebaSalida::soltarAbre_data() {
    QTest::addColumn<bool>("mapaPrimero");
    QTest::addColumn<QByteArray>("nombre"); // the race log's file name, as bytes
    QTest::newRow("carrera y mapa") << false << QByteArray("otra-carrera.log");
    QTest::newRow("mapa y carrera") << true << QByteArray("otra-carrera.log");
    QTest::newRow("nombre que no es utf-8") << false << QByteArray("otra \xff\xfe.log");
}

// The window asks for the two files in the right order, whatever their order
// in the drop.
void PruebaSalida::soltarAbre() {
    QFETCH(bool, mapaPrimero);
    QFETCH(QByteArray, nombre);
    auto v = ventana(kCarreraPequena, kMapaPequeno);
    // Under the name's own bytes; a file manager drops it percent-encoded.
    const QByteArray bytes = QFile::encodeName(dir->path()) + '/' + nombre;
    std::FILE* archivo = std::fopen(bytes.constData(), "wb");
    QVERIFY(archivo != nullptr);
    const QByteArray contenido = carreraRecta(4);
    std::fwrite(contenido.constData(), 1, contenido.size(), archivo);
    QCOMPARE(std::fclose(archivo), 0);
    const QString carrera = zul::rutaDeBytes(bytes);
    const QUrl urlCarrera = QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"));
    const QString mapa = escribe("otro-mapa.dat", mapaMuros());
    QMimeData datos;
    datos.setUrls(mapaPrimero ? QList<QUrl>{QUrl::fromLocalFile(mapa), urlCarrera}
                              : QList<QUrl>{urlCarrera, QUrl::fromLocalFile(mapa)});
    QSignalSpy abrir(v.get(), &CVentana::abrirArchivos);
    QVERIFY(suelta(*v, datos));
    QVERIFY(abrir.wait(2000));
    QCOMPARE(abrir.size(), 1);
    QCOMPARE(abrir[0][0].toString(), carrera);
    QCOMPARE(abrir[0][1].toString(), mapa);
}

// Two files of which none is a map open nothing and say why.
void PruebaSalida::soltarSinMapa() {
    auto v = ventana(kCarreraPequena, kMapaPequeno);
    v->show();
    QVERIFY(QTest::qWaitForWindowExposed(v.get()));
    const QString uno = escribe("uno.txt", kCarreraPequena);
    const QString dos = escribe("dos.txt", carreraRecta(2));
    QMimeData datos;
    datos.setUrls({QUrl::fromLocalFile(uno), QUrl::fromLocalFile(dos)});
    QSignalSpy abrir(v.get(), &CVentana::abrirArchivos);
    QVERIFY(suelta(*v, datos));
    QMessageBox* aviso = nullptr;
    QTRY_VERIFY((aviso = v->findChild<QMessageBox*>()) != nullptr && aviso->isVisible());
    QVERIFY2(aviso->text().contains(QStringLiteral("Ninguno de los dos archivos parece un mapa")),
             qPrintable(aviso->text()));
    QVERIFY(aviso->text().contains(uno));
    aviso->close();
    QTest::qWait(50);
    QCOMPARE(abrir.size(), 0);
}

void PruebaSalida::soltarEnElGestor_data() {
    QTest::addColumn<QByteArray>("carrera");
    QTest::addColumn<bool>("abre");
    QTest::newRow("carrera válida") << carreraRecta(4) << true;
    QTest::newRow("carrera sin jugadores") << QByteArray("0 p 1 1 0 0\n") << false;
}

// In the running program a drop opens the race as Ctrl+O does: a new window
// in the old one's place, or the error over the old one, which stays.
void PruebaSalida::soltarEnElGestor() {
    QFETCH(QByteArray, carrera);
    QFETCH(bool, abre);
    CGestorVentanas gestor;
    const QString primera = escribe("primera.txt", kCarreraPequena);
    const QString mapaPrimera = escribe("primer-mapa.txt", kMapaPequeno);
    gestor.muestra(std::make_unique<CVentana>(QFile::encodeName(primera).constData(),
                                              QFile::encodeName(mapaPrimera).constData()),
                   primera, mapaPrimera);
    QPointer<CVentana> vieja = gestor.ventanaActual();
    QVERIFY(QTest::qWaitForWindowExposed(vieja));
    const QString rutaCarrera = escribe("soltada.txt", carrera);
    const QString rutaMapa = escribe("soltado-mapa.txt", mapaMuros());
    QMimeData datos;
    datos.setUrls({QUrl::fromLocalFile(rutaMapa), QUrl::fromLocalFile(rutaCarrera)});
    QString aviso;
    if (!abre) {
        conDialogo([&](QWidget* caja) {
            if (auto* mensaje = qobject_cast<QMessageBox*>(caja)) {
                aviso = mensaje->text() + QLatin1Char(' ') + mensaje->informativeText();
            }
            caja->close();
        });
    }
    QVERIFY(suelta(*vieja, datos));
    if (abre) {
        QTRY_VERIFY(gestor.ventanaActual() != vieja.data());
        QTRY_VERIFY(vieja.isNull()); // closed and released
        CVentana* nueva = gestor.ventanaActual();
        QCOMPARE(nueva->reproductor()->numeroFrames(), 4u);
        QCOMPARE(nueva->vista()->filasMapa(), 20);
        QVERIFY(nueva->isVisible());
    } else {
        QTRY_VERIFY(!aviso.isEmpty());
        QVERIFY2(aviso.contains(rutaCarrera), qPrintable(aviso));
        QCOMPARE(gestor.ventanaActual(), vieja.data());
        QVERIFY(vieja->isVisible());
    }
}

QTEST_MAIN(PruebaSalida)
#include "prueba_salida.moc"
