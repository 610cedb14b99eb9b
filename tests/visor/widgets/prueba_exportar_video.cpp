// "Exportar vídeo…" in the window: what it proposes, and the export on its
// worker thread: finished, cancelled from the progress dialog, or dropped
// with the window, while the window's event loop keeps running.
#include "paneles/CDialogoVideo.h"
#include "paneles/CExportacionVideo.h"
#include "paneles/CVisualizador.h"
#include "ventana/CVentana.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Two players over a small track for `frames` frames.
QByteArray carrera(int frames) {
    QByteArray texto = "2 alfa beta\n";
    for (int k = 0; k < frames; ++k) {
        texto += "p " + QByteArray::number(3.5 + (k % 20)) + " 3.5 0 0\np 5.5 5.5 1.57 0\n";
    }
    return texto;
}

QByteArray mapa() {
    QByteArray texto = "10 30\n";
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 30; ++j) {
            texto += (i == 0 || i == 9) ? "5 " : "1 ";
        }
        texto += '\n';
    }
    return texto;
}

zul::Mapa mapaDe(const CVisualizador& vista) {
    zul::Mapa mapa;
    mapa.filas = vista.filasMapa();
    mapa.columnas = vista.columnasMapa();
    mapa.celdas = vista.celdasMapa();
    return mapa;
}

} // namespace

class PruebaExportarVideo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void propuestaDeLaVista();
    void termina();
    void cancelaDesdeElDialogo();
    void ventanaCerradaAMedias();

private:
    std::unique_ptr<CVentana> abre(int frames);
    QStringList archivosDeVideo() const;

    std::unique_ptr<QTemporaryDir> dir;
};

void PruebaExportarVideo::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

std::unique_ptr<CVentana> PruebaExportarVideo::abre(int frames) {
    const QString rutaCarrera = dir->filePath(QStringLiteral("carrera.txt"));
    const QString rutaMapa = dir->filePath(QStringLiteral("mapa.txt"));
    for (const auto& [ruta, contenido] :
         {std::pair{rutaCarrera, carrera(frames)}, {rutaMapa, mapa()}}) {
        QFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) {
            return nullptr;
        }
    }
    return std::make_unique<CVentana>(QFile::encodeName(rutaCarrera).constData(),
                                      QFile::encodeName(rutaMapa).constData());
}

QStringList PruebaExportarVideo::archivosDeVideo() const {
    return QDir(dir->path()).entryList({"*.mp4*", ".*.parcial"}, QDir::Files | QDir::Hidden);
}

void PruebaExportarVideo::propuestaDeLaVista() {
    const auto ventana = abre(12);
    QVERIFY(ventana);
    CReproductor* control = ventana->reproductor();
    control->ponZoom(4.0);
    control->sigue(1);
    zul::OpcionesEscena opciones = control->opciones();
    opciones.estelas = true;
    control->ponOpciones(opciones);
    ventana->vista()->setFixedSize(300, 200);
    const zul::PedidoVideo pedido =
        zul::pedidoDeVista(control->aspecto(), ventana->reproductor()->numeroFrames(), "v.mp4");
    QCOMPARE(pedido.video.primero, 0LL);
    QCOMPARE(pedido.video.ultimo, 11LL);
    QCOMPARE(pedido.video.fps, 30);
    QCOMPARE(pedido.video.pasosPorSegundo, 30.0);
    QCOMPARE(pedido.aspecto.zoom, 4.0);
    QCOMPARE(pedido.aspecto.jugador, 1);
    QCOMPARE(pedido.aspecto.tamano, QSize(1280, 720)); // not the view's size
    QVERIFY(pedido.aspecto.opciones.estelas);
    QVERIFY(pedido.aspecto.opciones.rotulos);
    // The view's camera and projector options go along.
    opciones.camara = zul::Camara::Director;
    opciones.disparosVisibles = true;
    control->ponOpciones(opciones);
    const zul::PedidoVideo conCamara = zul::pedidoDeVista(control->aspecto(), 12, "v.mp4");
    QCOMPARE(conCamara.aspecto.opciones.camara, zul::Camara::Director);
    QVERIFY(conCamara.aspecto.opciones.disparosVisibles);
    QVERIFY(conCamara.aspecto.opciones.estelas && conCamara.aspecto.opciones.rotulos);

    // The dialog hands back what it was given, with an extension added.
    CDialogoVideo dialogo(pedido, ventana->reproductor()->numeroFrames(), 2);
    zul::PedidoVideo leido = pedido;
    leido.video.salida = QStringLiteral("v");
    CDialogoVideo sinExtension(leido, ventana->reproductor()->numeroFrames(), 2);
    QCOMPARE(sinExtension.pedido().video.salida, QStringLiteral("v.mp4"));
    QCOMPARE(dialogo.pedido().aspecto.tamano, QSize(1280, 720));
    QCOMPARE(dialogo.pedido().video.ultimo, 11LL);
    QCOMPARE(dialogo.pedido().aspecto.zoom, 4.0);

    // Beside the race log, named after it; in the video folder when the
    // log's folder is not there to write in.
    QTemporaryDir dir;
    const QString videos = dir.filePath(QStringLiteral("Vídeos"));
    const QString carrera = dir.filePath(QStringLiteral("final.txt"));
    QCOMPARE(zul::salidaPropuesta(carrera, videos), dir.filePath(QStringLiteral("final.mp4")));
    QCOMPARE(zul::salidaPropuesta(dir.filePath(QStringLiteral("no/hay/final.txt")), videos),
             videos + QStringLiteral("/final.mp4"));
    QVERIFY(QFileInfo(videos).isDir());
}

void PruebaExportarVideo::termina() {
    const auto ventana = abre(12);
    QVERIFY(ventana);
    zul::PedidoVideo pedido = zul::pedidoDeVista(ventana->reproductor()->aspecto(), 12,
                                                 dir->filePath(QStringLiteral("v.mp4")));
    pedido.aspecto.tamano = QSize(64, 48);
    CExportacionVideo exportacion(ventana->reproductor()->reproduccion(), mapaDe(*ventana->vista()),
                                  pedido, ventana.get());
    QSignalSpy terminada(&exportacion, &CExportacionVideo::terminada);
    QString error;
    QVERIFY2(exportacion.empieza(error), qPrintable(error));
    QVERIFY(terminada.wait(60000));
    QVERIFY2(exportacion.resultado().bien(), qPrintable(exportacion.resultado().error));
    QCOMPARE(exportacion.resultado().progreso.hechos, 12LL);
    QCOMPARE(archivosDeVideo(), QStringList{"v.mp4"});
    QVERIFY(QFileInfo(dir->filePath("v.mp4")).size() > 0);
    QVERIFY(!exportacion.dialogoProgreso()->isVisible());
}

void PruebaExportarVideo::cancelaDesdeElDialogo() {
    const auto ventana = abre(400);
    QVERIFY(ventana);
    const QString salida = dir->filePath(QStringLiteral("v.mp4"));
    {
        QFile anterior(salida);
        QVERIFY(anterior.open(QIODevice::WriteOnly));
        anterior.write("anterior");
    }
    zul::PedidoVideo pedido = zul::pedidoDeVista(ventana->reproductor()->aspecto(), 400, salida);
    pedido.aspecto.tamano = QSize(64, 48);
    // Slow motion: many more pictures than the test waits for.
    pedido.video.pasosPorSegundo = 0.05;
    CExportacionVideo exportacion(ventana->reproductor()->reproduccion(), mapaDe(*ventana->vista()),
                                  pedido, ventana.get());
    QSignalSpy terminada(&exportacion, &CExportacionVideo::terminada);
    int latidos = 0;
    QTimer latido;
    connect(&latido, &QTimer::timeout, [&latidos] { ++latidos; });
    latido.start(10);
    QString error;
    QVERIFY2(exportacion.empieza(error), qPrintable(error));
    QProgressDialog* progreso = exportacion.dialogoProgreso();
    QVERIFY(progreso->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(progreso->value() > 0, 30000);
    // The window's loop ran all along.
    QVERIFY(latidos >= 3);
    QVERIFY(exportacion.enMarcha());
    auto* cancelar = progreso->findChild<QPushButton*>();
    QVERIFY(cancelar != nullptr);
    QCOMPARE(cancelar->text(), QStringLiteral("Cancelar"));
    QTest::mouseClick(cancelar, Qt::LeftButton);
    QVERIFY(terminada.wait(30000));
    QCOMPARE(exportacion.resultado().estado, zul::EstadoVideo::Cancelado);
    QVERIFY(exportacion.resultado().progreso.hechos < exportacion.resultado().progreso.total);
    // No partial file, and the earlier video as it was.
    QCOMPARE(archivosDeVideo(), QStringList{"v.mp4"});
    QFile anterior(salida);
    QVERIFY(anterior.open(QIODevice::ReadOnly));
    QCOMPARE(anterior.readAll(), QByteArray("anterior"));
}

void PruebaExportarVideo::ventanaCerradaAMedias() {
    auto ventana = abre(400);
    QVERIFY(ventana);
    zul::PedidoVideo pedido = zul::pedidoDeVista(ventana->reproductor()->aspecto(), 400,
                                                 dir->filePath(QStringLiteral("v.mp4")));
    pedido.aspecto.tamano = QSize(64, 48);
    pedido.video.pasosPorSegundo = 0.05;
    auto* exportacion = new CExportacionVideo(ventana->reproductor()->reproduccion(),
                                              mapaDe(*ventana->vista()), pedido, ventana.get());
    QString error;
    QVERIFY2(exportacion->empieza(error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(exportacion->dialogoProgreso()->value() > 0, 30000);
    // The window owns the export: closing it stops the thread, and leaves
    // nothing behind.
    ventana.reset();
    QCoreApplication::processEvents();
    QCOMPARE(archivosDeVideo(), QStringList());
}

QTEST_MAIN(PruebaExportarVideo)
#include "prueba_exportar_video.moc"
