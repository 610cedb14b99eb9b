#include "ventana/CVentana.h"

#include "datos/nombres.h"
#include "paneles/CExportacionVideo.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CPanelJugadores.h"
#include "paneles/CVisualizador.h"
#include "reproduccion/carga.h"
#include "salida/formato_imagen.h"
#include "ventana/archivos_soltados.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
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
    control->ponRuta(rutaDe(archivoCarrera));

    try {
        if (modo == ModoCarrera::enVivo) {
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
        zul::Mapa mapa = zul::cargaMapa(rutaDe(archivoMapa));
        // The standings rank by progress round this track.
        control->ponMapa(mapa);
        visualizador->ponMapa(mapa.filas, mapa.columnas, std::move(mapa.celdas));
    } catch (const zul::ErrorCarga& error) {
        if (error.noAbre()) {
            throw new excepcionArchivoNoAbre(error.ruta(), error.motivoApertura());
        }
        throw new excepcionArchivoInvalido(error.ruta(), error.what());
    }

    divisor = new QSplitter(Qt::Horizontal, this);
    // The left pane: the track view over its timeline.
    auto* pista = new QWidget;
    auto* layoutPista = new QVBoxLayout(pista);
    layoutPista->setContentsMargins(0, 0, 0, 0);
    layoutPista->setSpacing(0);
    layoutPista->addWidget(visualizador, 1);
    lineaTiempo = new CLineaTiempo;
    layoutPista->addWidget(lineaTiempo);
    // The standings sit between the track and the panel, in the same pane as
    // the track, whose width they take while they are on show; where that
    // would leave the track less than half the window, under it.
    auto* izquierda = new QWidget;
    layoutIzquierda = new QBoxLayout(QBoxLayout::LeftToRight, izquierda);
    layoutIzquierda->setContentsMargins(0, 0, 0, 0);
    layoutIzquierda->addWidget(pista, 1);
    panelClasificacion = new CPanelClasificacion(control->analisis(), nombresJugadores());
    panelClasificacion->hide();
    layoutIzquierda->addWidget(panelClasificacion);
    divisor->addWidget(izquierda);

    panelLateral = new QWidget;
    auto* layoutPanel = new QVBoxLayout(panelLateral);
    auto* layoutVisualizacion = new QVBoxLayout;
    auto* temporizadorRepintado = new QTimer(this);
    layoutControles = new QVBoxLayout;

    grupoControles = new QGroupBox(tr("Controles"));
    jugadores = new CPanelJugadores;
    grupoVisualizacion = new QGroupBox(tr("Visualizacion"));
    botonReiniciar = new QPushButton(tr("Reiniciar"), this);
    botonEjecutar = new QPushButton(tr("Ejecuta&r"), this);
    botonPaso = new QPushButton(tr("Pa&so"), this);
    botonPausa = new QPushButton(tr("&Pausa"), this);
    botonPasoAtras = new QPushButton(tr("Paso atras"), this);
    selectorJugador = new QSpinBox;
    selectorZoom = new QDoubleSpinBox;
    selectorVelocidad = new QDoubleSpinBox;

    montaFilasJugadores();

    resize(712, 512);
    divisor->resize(512, 512);

    selectorZoom->setValue(10.0);
    selectorZoom->setRange(CReproductor::kZoomMinimo, CReproductor::kZoomMaximo);
    selectorZoom->setSingleStep(0.1);
    control->ponZoom(selectorZoom->value());
    visualizador->cambiaZoom(control->zoom());

    selectorVelocidad->setRange(0.01, 50.0);
    selectorVelocidad->setValue(1.0);

    temporizadorRepintado->setInterval(50);
    cambiaVelocidad(selectorVelocidad->value());
    if (!control->enVivo()) {
        step(); // live mode has shown what the log holds
    }
    botonPausa->setEnabled(control->enMarcha());
    botonEjecutar->setEnabled(!control->enMarcha());

    // Narrow margins: the panel has to fit a 512-pixel-high window with the
    // rows of a small race whole.
    layoutPanel->setContentsMargins(6, 4, 6, 4);
    layoutPanel->setSpacing(4);
    layoutPanel->addWidget(jugadores);
    layoutPanel->addWidget(grupoVisualizacion);
    layoutPanel->addWidget(grupoControles);
    grupoVisualizacion->setLayout(layoutVisualizacion);
    grupoControles->setLayout(layoutControles);
    // Tight boxes: the smallest window holds ten rows of players above them.
    for (QBoxLayout* caja : {static_cast<QBoxLayout*>(layoutVisualizacion),
                             static_cast<QBoxLayout*>(layoutControles)}) {
        caja->setContentsMargins(6, 2, 6, 4);
        caja->setSpacing(3);
    }
    divisor->addWidget(panelLateral);
    // The track takes whatever width the panel does not need.
    divisor->setStretchFactor(0, 1);
    divisor->setStretchFactor(1, 0);

    layoutControles->setSizeConstraint(QLayout::SetMinimumSize);
    layoutControles->addWidget(botonEjecutar);
    layoutControles->addWidget(botonPausa);
    // "Paso atras" beside "Pa&so", backwards on the left.
    auto* filaPaso = new QHBoxLayout;
    filaPaso->addWidget(botonPasoAtras);
    filaPaso->addWidget(botonPaso);
    layoutControles->addLayout(filaPaso);
    layoutControles->addWidget(botonReiniciar);

    layoutVisualizacion->addWidget(conEtiqueta(tr("Mirar al jugador:"), selectorJugador));
    layoutVisualizacion->addWidget(conEtiqueta(tr("Zoom:"), selectorZoom));
    layoutVisualizacion->addWidget(conEtiqueta(tr("Velocidad(pasos/segundo):"), selectorVelocidad));
    casillaEstelas = new QCheckBox(tr("Estelas"));
    layoutVisualizacion->addWidget(casillaEstelas);
    montaProyector(layoutPista);

    connect(selectorZoom, &QDoubleSpinBox::valueChanged, visualizador, &CVisualizador::cambiaZoom);
    connect(selectorJugador, &QSpinBox::valueChanged, visualizador, &CVisualizador::cambiaMira);
    connect(temporizadorRepintado, &QTimer::timeout, visualizador,
            qOverload<>(&CVisualizador::repaint));
    connect(botonPaso, &QPushButton::clicked, this, &CVentana::step);
    connect(selectorVelocidad, &QDoubleSpinBox::valueChanged, this, &CVentana::cambiaVelocidad);
    connect(botonEjecutar, &QPushButton::clicked, this, &CVentana::ejecutar);
    connect(botonPausa, &QPushButton::clicked, this, &CVentana::detener);
    connect(botonReiniciar, &QPushButton::clicked, this, &CVentana::reiniciar);
    setAcceptDrops(true);
    montaEnVivo();
    conecta();
    montaAcciones();
    telemetria = new CTelemetria(
        control, visualizador, [this] { return nombresJugadores(); }, this);
    connect(this, &CVentana::frameEnPantalla, telemetria, &CTelemetria::muestraFrame);
    connect(panelClasificacion, &CPanelClasificacion::graficasCreadas, telemetria,
            &CTelemetria::enlazaGraficas);
    muestraFoto();
    muestraSeguido();

    // No pane folds away, and the window never gets smaller than what shows
    // every control whole.
    divisor->setChildrenCollapsible(false);
    visualizador->setMinimumSize(160, 120);
    ajustaLetra();
    colocaClasificacion();

    temporizadorRepintado->start();
    propio.release()->setParent(this);
}

QStringList CVentana::nombresJugadores() const {
    QStringList nombres;
    for (const std::string& nombre : carreraGrabada().nombres) {
        nombres.append(zul::textoNombre(nombre));
    }
    return nombres;
}

void CVentana::montaFilasJugadores() {
    const QStringList nombres = nombresJugadores();
    QVector<QString> codigos;
    for (int i = 0; i < nombres.size(); ++i) {
        codigos.append(QString::fromLatin1(visualizador->colorJugador(i)));
    }
    jugadores->ponJugadores(nombres, codigos);
    visualizador->ponNombres(nombres);
    // The event marks name the players in their tooltips.
    lineaTiempo->ponCarrera(numeroFrames(), control->eventos(), nombres);
    const QSignalBlocker sinAvisos(selectorJugador);
    selectorJugador->setRange(0, std::max(carreraGrabada().numJugadores - 1, 0));
}

QWidget* CVentana::conEtiqueta(const QString& texto, QWidget* control) {
    auto* fila = new QWidget;
    auto* layout = new QHBoxLayout(fila);
    // The box has margins of its own; doubled, they pushed the panel out of a
    // 512-pixel-high window.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(texto));
    layout->addWidget(control);
    return fila;
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
    if (divisor == nullptr || divisor->count() < 2 || layoutIzquierda == nullptr) {
        return; // still building
    }
    const int ancho = width();
    // The panel gets what it asks for and no more.
    const int panel = panelLateral->isHidden() ? 0 : panelLateral->sizeHint().width();
    panelClasificacion->ajustaAlAncho(ancho - panel);
    const bool alLado = ancho - panel - panelClasificacion->anchoCompleto() >= ancho / 2;
    if (alLado == panelClasificacion->estaDebajo()) {
        panelClasificacion->ponDebajo(!alLado);
        layoutIzquierda->setDirection(alLado ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    }
    fijaMinimo();
}

void CVentana::fijaMinimo() {
    // Never smaller than what shows every control whole; a full-screen
    // window is the screen's size anyway.
    if (!isFullScreen()) {
        setMinimumSize(divisor->minimumSizeHint().expandedTo(QSize(1, 1)));
    }
}

void CVentana::conecta() {
    connect(control, &CReproductor::frameCambiado, this, &CVentana::muestraFoto);
    connect(control, &CReproductor::seguidoCambiado, this, &CVentana::muestraSeguido);
    connect(control, &CReproductor::opcionesCambiadas, this, &CVentana::muestraOpciones);
    connect(control, &CReproductor::carreraCrecida, this, &CVentana::carreraCrecida);
    connect(control, &CReproductor::carreraSustituida, this, [this] {
        const int n = std::max(carreraGrabada().numJugadores, 0);
        montaFilasJugadores();
        visualizador->ponNumeroJugadores(static_cast<unsigned int>(n));
        // The trails of the race before must not stay drawn.
        visualizador->ponEstelas(nullptr, 0, n);
        visualizador->quitaRayo();
        muestraSeguido();
    });
    connect(control, &CReproductor::enMarchaCambiado, this, [this](bool enMarcha) {
        botonEjecutar->setEnabled(!enMarcha);
        botonPausa->setEnabled(enMarcha);
    });
    connect(control, &CReproductor::zoomCambiado, this, [this](double zoom) {
        const QSignalBlocker sinAvisos(selectorZoom);
        selectorZoom->setValue(zoom);
        visualizador->cambiaZoom(zoom);
    });
    connect(control, &CReproductor::velocidadCambiada, this, [this](double velocidad) {
        const QSignalBlocker sinAvisos(selectorVelocidad);
        selectorVelocidad->setValue(velocidad);
    });
    // The fields and the lists ask; what is shown comes back from the
    // controller.
    connect(selectorJugador, &QSpinBox::valueChanged, control, &CReproductor::elige);
    connect(selectorZoom, &QDoubleSpinBox::valueChanged, control, &CReproductor::ponZoom);
    connect(panelClasificacion, &CPanelClasificacion::jugadorElegido, control,
            &CReproductor::elige);
    connect(panelClasificacion, &CPanelClasificacion::frameElegido, control,
            &CReproductor::irAFrame);
    connect(jugadores, &CPanelJugadores::jugadorElegido, control, &CReproductor::sigue);
    connect(lineaTiempo, &CLineaTiempo::frameElegido, control, &CReproductor::irAFrame);
    // An event jump follows the player the event is about.
    connect(lineaTiempo, &CLineaTiempo::eventoElegido, control, &CReproductor::eligeProtagonista);
    connect(botonPasoAtras, &QPushButton::clicked, control, &CReproductor::retrocede);
    connect(casillaEstelas, &QCheckBox::toggled, control, [this](bool visibles) {
        zul::OpcionesEscena opciones = control->opciones();
        opciones.estelas = visibles;
        control->ponOpciones(opciones);
    });
}

void CVentana::step() {
    control->avanza();
}

void CVentana::muestraFoto() {
    visualizador->quitaRayo();
    const zul::Foto& foto = control->reproduccion().enPantalla();
    if (foto.frame >= 0) {
        for (std::size_t j = 0; j < foto.karts.size(); ++j) {
            const zul::EstadoKart& kart = foto.karts[j];
            visualizador->ponJugador(static_cast<unsigned int>(j), kart.posicion, kart.angulo,
                                     kart.vueltas);
            jugadores->ponVueltas(static_cast<int>(j),
                                  visualizador->vueltasJugador(static_cast<int>(j)));
        }
        lineaTiempo->muestraFrame(foto.frame);
        // The view draws the trails from the race's own records, so it keeps
        // no history.
        visualizador->ponEstelas(foto.estela, foto.largoEstela, carreraGrabada().numJugadores);
        for (std::size_t k = foto.primerDisparo; k < foto.finDisparos; ++k) {
            const zul::Disparo& disparo = carreraGrabada().disparos[k];
            visualizador->dibujaRayo(disparo.inicio, disparo.fin);
        }
    }
    visualizador->ponLider(control->lider());
    muestraPuestos();
    visualizador->ponRayosRecientes(control->rayosRecientes());
    panelClasificacion->muestraFrame(foto.frame, control->alFinal());
    emit frameEnPantalla(foto.frame);
}

void CVentana::muestraPuestos() {
    // Only the kart labels need the whole standings: they give the leaders
    // room first.
    QVector<int> orden;
    const long long frame = control->reproduccion().frameEnPantalla();
    if (control->opciones().etiquetas && frame >= 0 && control->analisis().framesAnalizados() > 0) {
        for (const zul::Puesto& puesto : control->analisis().clasificacion(frame)) {
            orden.append(puesto.jugador);
        }
    }
    visualizador->ponPuestos(orden);
}

void CVentana::muestraSeguido() {
    const int seguido = control->jugadorSeguido();
    {
        const QSignalBlocker sinAvisos(selectorJugador);
        selectorJugador->setValue(seguido);
    }
    visualizador->cambiaMira(seguido);
    panelClasificacion->ponJugadorSeguido(seguido);
    jugadores->marca(control->jugadorEnfocado());
}

void CVentana::carreraCrecida() {
    lineaTiempo->ponCarrera(numeroFrames(), control->eventos(), nombresJugadores());
    panelClasificacion->analisisActualizado();
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
