#include "paneles/CDialogoVideo.h"

#include "salida/modo_png.h"
#include "video/codificador.h"
#include "video/formatos.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace zul {

PedidoVideo pedidoDeVista(const AspectoImagen& vista, long long frames, const QString& salida) {
    PedidoVideo pedido;
    pedido.video.salida = salida;
    pedido.video.primero = 0;
    pedido.video.ultimo = std::max(frames - 1, 0LL);
    pedido.video.fps = 30;
    pedido.video.pasosPorSegundo = 30.0;
    pedido.aspecto.jugador = std::max(vista.jugador, 0);
    pedido.aspecto.zoom = std::clamp(vista.zoom, kZoomMinimo, kZoomMaximo);
    // The view's size is a window's chance, often small with small text.
    pedido.aspecto.tamano = QSize(kAnchoVideoPropuesto, kAltoVideoPropuesto);
    // The view's camera, trails, names, full track and visible shots go along.
    pedido.aspecto.opciones = vista.opciones;
    // A video is made to be published: names, step and standings on.
    pedido.aspecto.opciones.rotulos = true;
    return pedido;
}

QString salidaPropuesta(const QString& rutaCarrera, const QString& carpetaVideos) {
    const QFileInfo carrera(rutaCarrera);
    const QString nombre = (carrera.completeBaseName().isEmpty() ? QStringLiteral("carrera")
                                                                 : carrera.completeBaseName()) +
                           QStringLiteral(".mp4");
    const QFileInfo junto(carrera.absolutePath());
    if (!rutaCarrera.isEmpty() && junto.isDir() && junto.isWritable()) {
        return QDir(junto.absoluteFilePath()).filePath(nombre);
    }
    const QString carpeta = carpetaVideos.isEmpty() ? QDir::homePath() : carpetaVideos;
    QDir().mkpath(carpeta);
    return QDir(carpeta).filePath(nombre);
}

} // namespace zul

namespace {

QSpinBox* selectorEntero(int minimo, int maximo, int valor) {
    auto* selector = new QSpinBox;
    selector->setRange(minimo, maximo);
    selector->setValue(valor);
    return selector;
}

int comoEntero(long long valor) {
    return static_cast<int>(std::clamp<long long>(valor, 0, std::numeric_limits<int>::max()));
}

} // namespace

CDialogoVideo::CDialogoVideo(const zul::PedidoVideo& inicial, long long frames, int jugadores,
                             QWidget* parent)
    : QDialog(parent), base(inicial) {
    setWindowTitle(tr("Exportar vídeo"));
    const int ultimo = comoEntero(std::max(frames - 1, 0LL));
    campoArchivo = new QLineEdit(inicial.video.salida);
    auto* botonExaminar = new QPushButton(tr("Examinar..."));
    auto* filaArchivo = new QHBoxLayout;
    filaArchivo->addWidget(campoArchivo, 1);
    filaArchivo->addWidget(botonExaminar);

    selectorDesde = selectorEntero(0, ultimo, comoEntero(inicial.video.primero));
    selectorHasta = selectorEntero(0, ultimo, comoEntero(inicial.video.ultimo));
    selectorFps = selectorEntero(1, zul::kFpsMaximo, inicial.video.fps);
    selectorVelocidad = new QDoubleSpinBox;
    selectorVelocidad->setDecimals(3);
    selectorVelocidad->setRange(zul::kPasosPorSegundoMinimo, 100000.0);
    selectorVelocidad->setValue(inicial.video.pasosPorSegundo > 0.0
                                    ? inicial.video.pasosPorSegundo
                                    : static_cast<double>(inicial.video.fps));
    selectorJugador = selectorEntero(0, std::max(jugadores - 1, 0), inicial.aspecto.jugador);
    selectorZoom = new QDoubleSpinBox;
    selectorZoom->setRange(zul::kZoomMinimo, zul::kZoomMaximo);
    selectorZoom->setSingleStep(0.1);
    selectorZoom->setValue(inicial.aspecto.zoom);
    selectorAncho = selectorEntero(1, zul::kLadoMaximoVideo, inicial.aspecto.tamano.width());
    selectorAlto = selectorEntero(1, zul::kLadoMaximoVideo, inicial.aspecto.tamano.height());
    auto* filaTamano = new QHBoxLayout;
    filaTamano->addWidget(selectorAncho);
    filaTamano->addWidget(new QLabel(QStringLiteral("×")));
    filaTamano->addWidget(selectorAlto);
    casillaEstelas = new QCheckBox(tr("Estelas"));
    casillaEstelas->setChecked(inicial.aspecto.opciones.estelas);
    casillaRotulos = new QCheckBox(tr("Rótulos: nombres, paso y clasificación"));
    casillaRotulos->setChecked(inicial.aspecto.opciones.rotulos);

    auto* formulario = new QFormLayout;
    formulario->addRow(tr("Archivo:"), filaArchivo);
    formulario->addRow(tr("Desde el paso:"), selectorDesde);
    formulario->addRow(tr("Hasta el paso:"), selectorHasta);
    formulario->addRow(tr("Fotogramas por segundo:"), selectorFps);
    formulario->addRow(tr("Pasos por segundo de vídeo:"), selectorVelocidad);
    formulario->addRow(tr("Mirar al jugador:"), selectorJugador);
    formulario->addRow(tr("Zoom:"), selectorZoom);
    formulario->addRow(tr("Tamaño (píxeles):"), filaTamano);
    formulario->addRow(casillaEstelas);
    formulario->addRow(casillaRotulos);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    botonAceptar = botones->button(QDialogButtonBox::Ok);
    botonAceptar->setText(tr("Exportar"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(formulario);
    layout->addWidget(botones);

    connect(botones, &QDialogButtonBox::accepted, this, &CDialogoVideo::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &CDialogoVideo::reject);
    connect(botonExaminar, &QPushButton::clicked, this, &CDialogoVideo::examina);
    connect(campoArchivo, &QLineEdit::textChanged, this, &CDialogoVideo::actualizaBoton);
    // The range never runs backwards.
    connect(selectorDesde, &QSpinBox::valueChanged, this, [this](int desde) {
        selectorHasta->setValue(std::max(selectorHasta->value(), desde));
    });
    connect(selectorHasta, &QSpinBox::valueChanged, this, [this](int hasta) {
        selectorDesde->setValue(std::min(selectorDesde->value(), hasta));
    });
    // One step per picture until the user asks for another speed.
    connect(selectorFps, &QSpinBox::valueChanged, this, [this](int fps) {
        if (!selectorVelocidad->property("tocado").toBool()) {
            const QSignalBlocker bloqueo(selectorVelocidad);
            selectorVelocidad->setValue(fps);
        }
    });
    connect(selectorVelocidad, &QDoubleSpinBox::valueChanged, this,
            [this] { selectorVelocidad->setProperty("tocado", true); });
    actualizaBoton();
}

zul::PedidoVideo CDialogoVideo::pedido() const {
    zul::PedidoVideo pedido = base;
    QString ruta = campoArchivo->text().trimmed();
    if (!ruta.isEmpty() && QFileInfo(ruta).suffix().isEmpty()) {
        ruta += QStringLiteral(".mp4");
    }
    pedido.video.salida = ruta;
    pedido.video.primero = selectorDesde->value();
    pedido.video.ultimo = selectorHasta->value();
    pedido.video.fps = selectorFps->value();
    pedido.video.pasosPorSegundo = selectorVelocidad->value();
    pedido.aspecto.jugador = selectorJugador->value();
    pedido.aspecto.zoom = selectorZoom->value();
    pedido.aspecto.tamano = QSize(selectorAncho->value(), selectorAlto->value());
    pedido.aspecto.opciones.estelas = casillaEstelas->isChecked();
    pedido.aspecto.opciones.rotulos = casillaRotulos->isChecked();
    return pedido;
}

void CDialogoVideo::accept() {
    const QString ruta = pedido().video.salida;
    if (ruta.isEmpty()) {
        return;
    }
    // Told here, while the dialog is still open to correct it.
    if (zul::formatoPorNombre(ruta) == nullptr) {
        QMessageBox::warning(this, windowTitle(), zul::errorExtension(ruta));
        return;
    }
    if (QFileInfo::exists(ruta) &&
        QMessageBox::question(this, windowTitle(),
                              tr("%1 ya existe. ¿Quiere reemplazarlo?").arg(ruta)) !=
            QMessageBox::Yes) {
        return;
    }
    QDialog::accept();
}

void CDialogoVideo::examina() {
    QFileDialog dialogo(this, tr("Exportar vídeo"), campoArchivo->text(),
                        tr("Vídeo MP4 (*.mp4);;Vídeo WebM (*.webm);;Vídeo Matroska (*.mkv)"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(QStringLiteral("mp4"));
    // The dialog here asks before replacing a file, once.
    dialogo.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty()) {
        campoArchivo->setText(dialogo.selectedFiles().constFirst());
    }
}

void CDialogoVideo::actualizaBoton() {
    botonAceptar->setEnabled(!campoArchivo->text().trimmed().isEmpty());
}
