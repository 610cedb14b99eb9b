#include "ventana/CVentana.h"

#include "datos/nombres.h"
#include "paneles/CBarraProyector.h"
#include "paneles/CExportacionVideo.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/carga.h"
#include "salida/formato_imagen.h"
#include "ventana/archivos_soltados.h"
#include "ventana/letra_pantalla.h"

#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

std::string rutaDe(const char* ruta) {
    return ruta == nullptr ? std::string() : std::string(ruta);
}

} // namespace

CVentana::CVentana(const char* archivoCarrera, const char* archivoMapa, QWidget* parent,
                   ModoCarrera modo)
    : QWidget(parent) {
    setWindowTitle(tr("ZUL Karts"));
    // A child from the start, so that a failed load does not leak it; the
    // splitter takes it over below.
    visualizador = new CVisualizador(this);
    // The controller becomes the window's last child at the end, so that it
    // outlives every widget that shows its race; until then this owns it.
    std::unique_ptr<CReproductor> propio = std::make_unique<CReproductor>();
    control = propio.get();
    // The step timer is the window's, as the repaint timer is.
    control->temporizador()->setParent(this);
    carga(rutaDe(archivoCarrera), rutaDe(archivoMapa), modo == ModoCarrera::enVivo);
    // Before the link: a click on a kart opens its card before following it
    // changes the framing.
    telemetria = new CTelemetria(
        control, visualizador, [this] { return zul::textosNombres(carreraGrabada().nombres); },
        this);

    divisor = new QSplitter(Qt::Horizontal, this);
    zona = new CZonaPista(visualizador, control->analisis(),
                          zul::textosNombres(carreraGrabada().nombres));
    divisor->addWidget(zona);
    lateral = new CPanelLateral;
    divisor->addWidget(lateral);
    // The track takes whatever width the panel does not need, and no pane
    // folds away.
    divisor->setStretchFactor(0, 1);
    divisor->setStretchFactor(1, 0);
    divisor->setChildrenCollapsible(false);
    visualizador->setMinimumSize(160, 120);
    enlace = new CEnlaceReproductor(control, lateral, zona, this);
    connect(enlace, &CEnlaceReproductor::frameEnPantalla, this, &CVentana::frameEnPantalla);
    connect(this, &CVentana::frameEnPantalla, telemetria, &CTelemetria::muestraFrame);
    connect(zona->clasificacion(), &CPanelClasificacion::graficasCreadas, telemetria,
            &CTelemetria::enlazaGraficas);

    resize(712, 512);
    divisor->resize(512, 512);
    control->ponZoom(lateral->selectorZoom()->value());
    visualizador->cambiaZoom(control->zoom());
    auto* temporizadorRepintado = new QTimer(this);
    temporizadorRepintado->setInterval(50);
    cambiaVelocidad(lateral->selectorVelocidad()->value());
    if (!control->enVivo()) {
        step(); // live mode has shown what the log holds
    }
    lateral->muestraEnMarcha(control->enMarcha());

    conectaControles();
    connect(temporizadorRepintado, &QTimer::timeout, visualizador,
            qOverload<>(&CVisualizador::repaint));
    setAcceptDrops(true);
    montaAcciones();
    enlace->muestraFoto();
    enlace->muestraSeguido();
    ajustaLetra();
    colocaClasificacion();

    temporizadorRepintado->start();
    propio.release()->setParent(this);
}

void CVentana::carga(const std::string& rutaCarrera, const std::string& rutaMapa, bool enVivo) {
    control->ponRuta(rutaCarrera);
    try {
        if (enVivo) {
            control->ponEnVivo(true);
            // Only a log that is there and cannot be read is an error; one
            // that is not there yet is waited for.
            if (control->sesion()->estado() == zul::SeguidorCarrera::Estado::error) {
                throw zul::ErrorCarga(control->ruta(), control->sesion()->motivo(), false);
            }
        } else {
            control->ponCarrera(zul::cargaCarrera(control->ruta()));
        }
        visualizador->ponNumeroJugadores(
            static_cast<unsigned int>(std::max(carreraGrabada().numJugadores, 0)));
        zul::Mapa mapa = zul::cargaMapa(rutaMapa);
        // The standings rank by progress round this track.
        control->ponMapa(mapa);
        visualizador->ponMapa(mapa.filas, mapa.columnas, std::move(mapa.celdas));
    } catch (const zul::ErrorCarga& error) {
        if (error.noAbre()) {
            throw new excepcionArchivoNoAbre(error.ruta(), error.motivoApertura());
        }
        throw new excepcionArchivoInvalido(error.ruta(), error.what());
    }
}

void CVentana::conectaControles() {
    connect(lateral->selectorZoom(), &QDoubleSpinBox::valueChanged, visualizador,
            &CVisualizador::cambiaZoom);
    connect(lateral->selectorJugador(), &QSpinBox::valueChanged, visualizador,
            &CVisualizador::cambiaMira);
    connect(lateral->botonPaso(), &QPushButton::clicked, this, &CVentana::step);
    connect(lateral->selectorVelocidad(), &QDoubleSpinBox::valueChanged, this,
            &CVentana::cambiaVelocidad);
    connect(lateral->botonEjecutar(), &QPushButton::clicked, this, &CVentana::ejecutar);
    connect(lateral->botonPausa(), &QPushButton::clicked, this, &CVentana::detener);
    connect(lateral->botonReiniciar(), &QPushButton::clicked, this, &CVentana::reiniciar);
}

void CVentana::step() {
    control->avanza();
}

void CVentana::cambiaVelocidad(double frames) {
    control->ponVelocidad(frames);
}

void CVentana::ejecutar() {
    control->ejecuta();
}

void CVentana::detener() {
    control->detiene();
}

void CVentana::reiniciar() {
    control->reinicia();
}

void CVentana::resizeEvent(QResizeEvent* event) {
    divisor->resize(event->size());
    ajustaLetra();
    colocaClasificacion();
}

void CVentana::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Full screen at the window's own size brings no resize, but the fonts
    // still grow.
    if (event->type() == QEvent::WindowStateChange) {
        ajustaLetra();
        colocaClasificacion();
    }
}

bool CVentana::event(QEvent* event) {
    // The window has no layout of its own: the splitter says here that what
    // it needs has changed (another font, the standings shown or hidden).
    if (event->type() == QEvent::LayoutRequest && divisor != nullptr) {
        fijaMinimo();
    }
    return QWidget::event(event);
}

void CVentana::colocaClasificacion() {
    if (enlace == nullptr) {
        return; // still building
    }
    // The panel gets what it asks for and no more.
    zona->colocaClasificacion(width(), lateral->isHidden() ? 0 : lateral->sizeHint().width());
    fijaMinimo();
}

void CVentana::fijaMinimo() {
    // Never smaller than what shows every control whole; a full-screen
    // window is the screen's size anyway.
    if (!isFullScreen()) {
        setMinimumSize(divisor->minimumSizeHint().expandedTo(QSize(1, 1)));
    }
}

double CVentana::escalaPantallaCompleta(QSize pantalla) {
    return zul::escalaPantallaCompleta(pantalla);
}

void CVentana::ajustaLetra() {
    if (enlace == nullptr) {
        return; // still building
    }
    // In full screen the panel, the bar and the timeline grow with the
    // screen, as far as the panel still fits in its height.
    escalaLetra = zul::ajustaLetra(
        this, isFullScreen() ? escalaPantallaCompleta(size()) : 1.0, escalaLetra,
        {lateral, zona->lineaTiempo(), zona->barra(), zona->clasificacion()}, lateral);
    fijaMinimo();
}

void CVentana::alternaPantallaCompleta() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

void CVentana::alternaPanel() {
    const bool visible = !lateral->isVisible();
    lateral->setVisible(visible);
    zona->barra()->setVisible(visible);
    ajustaLetra();
    colocaClasificacion();
}

bool CVentana::guardaImagenEn(const QString& ruta, QString* error) {
    QString motivo;
    const bool guardada = zul::guardaImagen(visualizador->imagen(), ruta, motivo);
    if (!guardada && error != nullptr) {
        *error = motivo;
    }
    return guardada;
}

void CVentana::guardaImagen() {
    QFileDialog dialogo(
        this, tr("Guardar imagen"),
        QDir::current().filePath(QStringLiteral("paso-%1.png")
                                     .arg(std::max(frameMostrado(), 0LL), 5, 10, QLatin1Char('0'))),
        tr("Imagen PNG (*.png);;Imagen JPEG (*.jpg *.jpeg)"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets ".png" before the dialog checks
    // whether it would overwrite a file.
    dialogo.setDefaultSuffix(QStringLiteral("png"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) {
        return;
    }
    QString error;
    if (!guardaImagenEn(dialogo.selectedFiles().constFirst(), &error)) {
        QMessageBox::warning(this, tr("Guardar imagen"), error);
    }
}

void CVentana::exportaVideo() {
    CExportacionVideo::pideYExporta(this, control->reproduccion(), *visualizador,
                                    QFile::decodeName(control->ruta().c_str()));
}

void CVentana::dragEnterEvent(QDragEnterEvent* event) {
    if (zul::dosArchivosArrastrados(event->mimeData()).size() == 2) {
        event->acceptProposedAction();
    }
}

void CVentana::dropEvent(QDropEvent* event) {
    const QStringList rutas = zul::dosArchivosArrastrados(event->mimeData());
    if (rutas.size() != 2) {
        return;
    }
    event->acceptProposedAction();
    QString rutaCarrera;
    QString rutaMapa;
    QString error;
    if (!zul::ordenaArchivos(rutas, rutaCarrera, rutaMapa, error)) {
        // Not modal: the drag's source is still waiting for the drop to end.
        auto* caja = new QMessageBox(QMessageBox::Warning, tr("Abrir carrera"), error,
                                     QMessageBox::Ok, this);
        caja->setAttribute(Qt::WA_DeleteOnClose);
        caja->open();
        return;
    }
    // Opening may replace this window; that happens once the drop is over.
    QMetaObject::invokeMethod(
        this, [this, rutaCarrera, rutaMapa] { emit abrirArchivos(rutaCarrera, rutaMapa); },
        Qt::QueuedConnection);
}
