#include "ventana/CVentana.h"

#include "datos/nombres.h"
#include "datos/rutas.h"
#include "paneles/CExportacionVideo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/carga.h"
#include "salida/formato_imagen.h"
#include "ventana/CDepuracionVentana.h"
#include "ventana/CDisposicion.h"
#include "ventana/archivos_soltados.h"
#include "ventana/carga_entradas.h"
#include "ventana/ruta_imagen.h"

#include <QBoxLayout>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>

#include <algorithm>
#include <memory>

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
    carga(archivoCarrera != nullptr ? archivoCarrera : "",
          archivoMapa != nullptr ? archivoMapa : "", modo == ModoCarrera::enVivo);
    // Before the link: a click on a kart opens its card before following it
    // changes the framing.
    telemetria = new CTelemetria(
        control, visualizador, [this] { return zul::textosNombres(control->carrera().nombres); },
        this);

    divisor = new QSplitter(Qt::Horizontal, this);
    zona = new CZonaPista(visualizador, control->analisis(),
                          zul::textosNombres(control->carrera().nombres));
    divisor->addWidget(zona);
    lateral = new CPanelLateral;
    divisor->addWidget(lateral);
    disposicion = new CDisposicion(this, divisor, zona, lateral);
    enlace = new CEnlaceReproductor(control, lateral, zona, this);
    connect(enlace, &CEnlaceReproductor::frameEnPantalla, this, &CVentana::frameEnPantalla);
    connect(this, &CVentana::frameEnPantalla, telemetria, &CTelemetria::muestraFrame);
    connect(zona->clasificacion(), &CPanelClasificacion::graficasCreadas, telemetria,
            &CTelemetria::enlazaGraficas);
    dibujosBots = new CDepuracionVentana(this, control, visualizador, zona->barra(),
                                         qobject_cast<QBoxLayout*>(lateral->layout()));

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
    disposicion->ajusta();

    temporizadorRepintado->start();
    propio.release()->setParent(this);
}

void CVentana::carga(const std::string& rutaCarrera, const std::string& rutaMapa, bool enVivo) {
    try {
        zul::cargaEntradas(*control, *visualizador, rutaCarrera, rutaMapa, enVivo);
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

void CVentana::resizeEvent(QResizeEvent* event) {
    divisor->resize(event->size());
    if (disposicion != nullptr) {
        disposicion->ajusta();
    }
}

void CVentana::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Full screen at the window's own size brings no resize, but the fonts
    // still grow.
    if (event->type() == QEvent::WindowStateChange && disposicion != nullptr) {
        disposicion->ajusta();
    }
}

bool CVentana::event(QEvent* event) {
    // The window has no layout of its own: the splitter says here that what
    // it needs has changed (another font, the standings shown or hidden).
    if (event->type() == QEvent::LayoutRequest && disposicion != nullptr) {
        disposicion->ponMinimo();
    }
    return QWidget::event(event);
}

void CVentana::alternaPantallaCompleta() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

void CVentana::alternaPanel() {
    disposicion->alternaPanel();
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
    const QString ruta = zul::pideRutaImagen(this, control->frame());
    QString error;
    if (!ruta.isEmpty() && !guardaImagenEn(ruta, &error)) {
        QMessageBox::warning(this, tr("Guardar imagen"), error);
    }
}

void CVentana::exportaVideo() {
    CExportacionVideo::pideYExporta(this, control->reproduccion(), *visualizador,
                                    control->aspecto(), zul::rutaDeBytes(control->ruta().c_str()));
}

void CVentana::dragEnterEvent(QDragEnterEvent* event) {
    if (!dibujosBots->aceptaArrastre(event->mimeData())) {
        zul::aceptaDosArchivos(event);
        return;
    }
    event->acceptProposedAction();
}

void CVentana::dropEvent(QDropEvent* event) {
    // Bots' debug files go over the race on show.
    if (dibujosBots->suelta(event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    zul::sueltaDosArchivos(event, this, [this](const QString& carrera, const QString& mapa) {
        emit abrirArchivos(carrera, mapa);
    });
}
