#include "paneles/CExportacionVideo.h"

#include "paneles/CDialogoVideo.h"
#include "paneles/CVisualizador.h"
#include "video/progreso.h"

#include <QDir>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

namespace {
constexpr const char* kNombre = "exportacionVideo";
} // namespace

CExportacionVideo::CExportacionVideo(const zul::Reproduccion& reproduccion, const zul::Mapa& mapa,
                                     const zul::PedidoVideo& pedido, QWidget* ventana)
    : QObject(ventana), reproduccion(reproduccion.carrera()), mapa(mapa), pedido(pedido) {
    setObjectName(QLatin1String(kNombre));
    progreso = new QProgressDialog(ventana);
    progreso->setWindowTitle(tr("Exportar vídeo"));
    progreso->setCancelButtonText(tr("Cancelar"));
    progreso->setAutoClose(false);
    progreso->setAutoReset(false);
    // Not modal: the window stays usable while the video is written.
    progreso->setWindowModality(Qt::NonModal);
    progreso->setMinimumDuration(0);
    progreso->hide();
    connect(progreso, &QProgressDialog::canceled, this, &CExportacionVideo::cancela);
    reloj = new QTimer(this);
    reloj->setInterval(100);
    connect(reloj, &QTimer::timeout, this, &CExportacionVideo::actualizaProgreso);
}

CExportacionVideo::~CExportacionVideo() {
    cancelar.store(true);
    if (hilo.joinable()) {
        hilo.join();
    }
    delete progreso;
}

bool CExportacionVideo::empieza(QString& error) {
    if (hilo.joinable() || !zul::compruebaPedido(reproduccion, pedido, error)) {
        return false;
    }
    // Made here, on the window's thread, where the arrow tiles may be
    // loaded; the worker only reads them.
    dibujo = std::make_unique<zul::ImagenFrame>(reproduccion, mapa, pedido.aspecto);
    progreso->setLabelText(tr("Exportando %1…").arg(pedido.video.salida));
    progreso->setRange(0, 0);
    progreso->setValue(0);
    progreso->show();
    reloj->start();
    cronometro.start();
    hilo = std::thread([this] {
        const zul::ResultadoVideo resultado = zul::exportaCarrera(
            *dibujo, pedido,
            [this](const zul::Progreso& p) {
                total.store(p.total);
                hechos.store(p.hechos);
            },
            &cancelar);
        // Delivered on the window's thread; dropped if this object is gone
        // by then (its destructor joined this thread first).
        QMetaObject::invokeMethod(
            this, [this, resultado] { alTerminar(resultado); }, Qt::QueuedConnection);
    });
    return true;
}

void CExportacionVideo::cancela() {
    cancelar.store(true);
    if (progreso != nullptr) {
        progreso->setLabelText(tr("Cancelando…"));
    }
}

void CExportacionVideo::actualizaProgreso() {
    const long long cuantos = total.load();
    if (cuantos <= 0 || cancelar.load() || progreso == nullptr) {
        return;
    }
    const long long hecho = hechos.load();
    // The dialog counts in int; thousandths fit any length of video.
    progreso->setRange(0, 1000);
    progreso->setValue(static_cast<int>(hecho * 1000 / cuantos));
    zul::Progreso visto;
    visto.hechos = hecho;
    visto.total = cuantos;
    visto.segundos = static_cast<double>(cronometro.elapsed()) / 1000.0;
    progreso->setLabelText(
        tr("Exportando %1\n%2").arg(pedido.video.salida, zul::lineaProgreso(visto)));
}

void CExportacionVideo::alTerminar(const zul::ResultadoVideo& resultado) {
    hilo.join();
    acabada = true;
    final = resultado;
    reloj->stop();
    if (progreso != nullptr) {
        progreso->hide();
    }
    emit terminada();
}

void CExportacionVideo::pideYExporta(QWidget* ventana, const zul::Reproduccion& reproduccion,
                                     const CVisualizador& pista, const zul::AspectoImagen& vista,
                                     const QString& rutaCarrera) {
    auto* enCurso = ventana->findChild<CExportacionVideo*>(QLatin1String(kNombre));
    if (enCurso != nullptr && enCurso->progreso != nullptr) {
        enCurso->progreso->show();
        enCurso->progreso->raise();
        return;
    }
    const long long frames = reproduccion.numeroFrames();
    const zul::PedidoVideo propuesta = zul::pedidoDeVista(
        vista, frames,
        zul::salidaPropuesta(rutaCarrera,
                             QStandardPaths::writableLocation(QStandardPaths::MoviesLocation)));
    CDialogoVideo dialogo(propuesta, frames, reproduccion.carrera().numJugadores, ventana);
    if (dialogo.exec() != QDialog::Accepted) {
        return;
    }
    zul::Mapa mapa;
    mapa.filas = pista.filasMapa();
    mapa.columnas = pista.columnasMapa();
    mapa.celdas = pista.celdasMapa();
    auto* exportacion = new CExportacionVideo(reproduccion, mapa, dialogo.pedido(), ventana);
    QString error;
    if (!exportacion->empieza(error)) {
        delete exportacion;
        QMessageBox::warning(ventana, tr("Exportar vídeo"), error);
        return;
    }
    connect(exportacion, &CExportacionVideo::terminada, ventana, [exportacion, ventana] {
        const zul::ResultadoVideo resultado = exportacion->resultado();
        const zul::PedidoVideo pedido = exportacion->pedido;
        exportacion->deleteLater();
        if (resultado.estado == zul::EstadoVideo::Cancelado) {
            return;
        }
        auto* caja = new QMessageBox(
            resultado.bien() ? QMessageBox::Information : QMessageBox::Warning,
            tr("Exportar vídeo"),
            resultado.bien()
                ? zul::resumenVideo(pedido.video.salida, resultado.progreso, pedido.video.fps)
                : resultado.error,
            QMessageBox::Ok, ventana);
        caja->setAttribute(Qt::WA_DeleteOnClose);
        caja->open();
    });
}
