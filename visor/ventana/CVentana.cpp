#include "ventana/CVentana.h"

#include "datos/eventos.h"
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
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <new>

namespace {

std::string rutaDe(const char* ruta) {
    return ruta == nullptr ? std::string() : std::string(ruta);
}

} // namespace

CVentana::CVentana(const char* archivoCarrera, const char* archivoMapa, QWidget* parent,
                   ModoCarrera modo)
    : QWidget(parent), rutaCarrera(rutaDe(archivoCarrera)) {
    setWindowTitle(tr("ZUL Karts"));

    // A child from the start, so that a failed load does not leak it; the
    // splitter takes it over below.
    visualizador = new CVisualizador(this);

    try {
        if (modo == ModoCarrera::enVivo) {
            sesionEnVivo =
                std::make_unique<zul::SesionEnVivo>(rutaCarrera, reproduccion, analisis, true);
            // Only a log that is there and cannot be read is an error; one
            // that is not there yet is waited for.
            if (sesionEnVivo->estado() == zul::SeguidorCarrera::Estado::error) {
                throw zul::ErrorCarga(rutaCarrera, sesionEnVivo->motivo(), false);
            }
        } else {
            reproduccion = zul::Reproduccion(zul::cargaCarrera(rutaCarrera));
            analisis = zul::AnalisisCarrera(carrera());
        }
        visualizador->ponNumeroJugadores(static_cast<unsigned int>(carrera().numJugadores));
        zul::Mapa mapa = zul::cargaMapa(rutaDe(archivoMapa));
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
    // the track, whose width they take while they are on show.
    auto* izquierda = new QWidget;
    auto* layoutIzquierda = new QHBoxLayout(izquierda);
    layoutIzquierda->setContentsMargins(0, 0, 0, 0);
    layoutIzquierda->addWidget(pista, 1);
    panelClasificacion = new CPanelClasificacion(analisis, nombresJugadores());
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
    temporizador = new QTimer(this);
    selectorZoom = new QDoubleSpinBox;
    selectorVelocidad = new QDoubleSpinBox;

    const int n = carrera().numJugadores;
    montaFilasJugadores();

    resize(712, 512);
    divisor->resize(512, 512);

    selectorZoom->setValue(10.0);
    selectorZoom->setRange(0.1, 50.0);
    selectorZoom->setSingleStep(0.1);
    visualizador->cambiaZoom(selectorZoom->value());

    selectorVelocidad->setRange(0.01, 50.0);
    selectorVelocidad->setValue(1.0);

    selectorJugador->setRange(0, n - 1);

    temporizadorRepintado->setInterval(50);
    cambiaVelocidad(selectorVelocidad->value());
    if (sesionEnVivo) {
        muestraFoto(); // the session has shown what the log holds
    } else {
        step();
    }
    botonPausa->setEnabled(false);

    // Narrow margins: the panel has to fit a 512-pixel-high window with the
    // rows of a small race whole.
    layoutPanel->setContentsMargins(6, 4, 6, 4);
    layoutPanel->setSpacing(4);
    layoutPanel->addWidget(jugadores);
    layoutPanel->addWidget(grupoVisualizacion);
    layoutPanel->addWidget(grupoControles);
    grupoVisualizacion->setLayout(layoutVisualizacion);
    grupoControles->setLayout(layoutControles);
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
    // The log is looked at before the view paints, so a new frame shows on
    // the same tick.
    connect(temporizadorRepintado, &QTimer::timeout, this, &CVentana::sondeaEnVivo);
    connect(temporizadorRepintado, &QTimer::timeout, visualizador,
            qOverload<>(&CVisualizador::repaint));
    connect(botonPaso, &QPushButton::clicked, this, &CVentana::step);
    connect(temporizador, &QTimer::timeout, this, &CVentana::step);
    connect(selectorVelocidad, &QDoubleSpinBox::valueChanged, this, &CVentana::cambiaVelocidad);
    connect(botonEjecutar, &QPushButton::clicked, this, &CVentana::ejecutar);
    connect(botonPausa, &QPushButton::clicked, this, &CVentana::detener);
    connect(botonReiniciar, &QPushButton::clicked, this, &CVentana::reiniciar);
    montaNavegacion();
    connect(selectorJugador, &QSpinBox::valueChanged, panelClasificacion,
            &CPanelClasificacion::ponJugadorSeguido);
    // Through the spin box, so that the view, the box and the table agree.
    connect(panelClasificacion, &CPanelClasificacion::jugadorElegido, selectorJugador,
            &QSpinBox::setValue);
    connect(panelClasificacion, &CPanelClasificacion::frameElegido, this, &CVentana::irAFrame);
    panelClasificacion->ponJugadorSeguido(selectorJugador->value());
    anunciaFrame();
    anadeAtajo(Qt::Key_C, tr("C"), tr("Mostrar u ocultar la clasificación"),
               [this] { panelClasificacion->alterna(); });
    anadeAtajo(Qt::Key_G, tr("G"), tr("Abrir o cerrar las gráficas"),
               [this] { panelClasificacion->alternaGraficas(); });
    connect(casillaEstelas, &QCheckBox::toggled, visualizador, &CVisualizador::muestraEstelas);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this), &QShortcut::activated, this,
            &CVentana::guardaImagen);
    auto* atajoVideo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
    atajoVideo->setWhatsThis(tr("Exportar vídeo…"));
    connect(atajoVideo, &QShortcut::activated, this, &CVentana::exportaVideo);
    setAcceptDrops(true);
    montaEnVivo(modo == ModoCarrera::enVivo);
    montaTelemetria();

    // No pane folds away, and the window never gets smaller than what shows
    // every control whole.
    divisor->setChildrenCollapsible(false);
    visualizador->setMinimumSize(160, 120);
    ajustaLetra();

    temporizadorRepintado->start();
}

CVentana::~CVentana() {
    // The standings box and its charts read the analysis, a member that is
    // gone by the time QWidget deletes the children.
    delete panelClasificacion;
}

QStringList CVentana::nombresJugadores() const {
    QStringList nombres;
    for (const std::string& nombre : carrera().nombres) {
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
    eventos = zul::eventosCarrera(carrera());
    lineaTiempo->ponCarrera(numeroFrames(), eventos, nombres);
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
    if (divisor->count() > 1) {
        panelClasificacion->ajustaAlAncho(event->size().width() -
                                          divisor->widget(1)->sizeHint().width());
    }
    ajustaLetra();
}

void CVentana::step() {
    reproduccion.avanza();
    muestraFoto();
}

void CVentana::muestraFoto() {
    visualizador->quitaRayo();
    const zul::Foto& foto = reproduccion.enPantalla();
    if (foto.frame < 0) {
        anunciaFrame();
        return;
    }
    for (std::size_t j = 0; j < foto.karts.size(); ++j) {
        const zul::EstadoKart& kart = foto.karts[j];
        visualizador->ponJugador(static_cast<unsigned int>(j), kart.posicion, kart.angulo,
                                 kart.vueltas);
        jugadores->ponVueltas(static_cast<int>(j),
                              visualizador->vueltasJugador(static_cast<int>(j)));
    }
    if (lineaTiempo != nullptr) {
        lineaTiempo->muestraFrame(foto.frame);
    }
    // The view draws the trails from the race's own records, so it keeps no
    // history.
    visualizador->ponEstelas(foto.estela, foto.largoEstela, carrera().numJugadores);
    for (std::size_t k = foto.primerDisparo; k < foto.finDisparos; ++k) {
        const zul::Disparo& disparo = carrera().disparos[k];
        visualizador->dibujaRayo(disparo.inicio, disparo.fin);
    }
    muestraExtras();
    anunciaFrame();
}

void CVentana::anunciaFrame() {
    // The constructor shows frame 0 before the standings exist; it calls this
    // again once they do.
    if (panelClasificacion == nullptr) {
        return;
    }
    const long long frame = frameMostrado();
    const bool alFinal = !carreraEnCurso && frame >= 0 && frame + 1 == numeroFrames();
    if (alFinal && pausaAlFinal && temporizador->isActive()) {
        detener();
    }
    panelClasificacion->muestraFrame(frame, alFinal);
    emit frameEnPantalla(frame);
}

void CVentana::ponCarreraEnCurso(bool enCurso) {
    carreraEnCurso = enCurso;
    anunciaFrame();
}

void CVentana::carreraCrecida() {
    panelClasificacion->analisisActualizado();
    anunciaFrame();
}

void CVentana::cambiaVelocidad(double frames) {
    // Zero, negative or non-finite speeds leave the interval as it was, and so
    // does a speed so slow that its interval does not fit in an int.
    if (!(frames > 0.0) || !std::isfinite(frames)) {
        return;
    }
    const double intervalo = 1000.0 / frames;
    if (!(intervalo <= 2147483647.0)) {
        return;
    }
    temporizador->setInterval(static_cast<int>(intervalo));
}

void CVentana::ejecutar() {
    botonEjecutar->setEnabled(false);
    botonPausa->setEnabled(true);
    temporizador->start();
}

void CVentana::detener() {
    botonEjecutar->setEnabled(true);
    botonPausa->setEnabled(false);
    temporizador->stop();
}

void CVentana::irAFrame(long long f) {
    if (reproduccion.numeroFrames() == 0) {
        return;
    }
    reproduccion.irAFrame(f);
    muestraFoto();
}

void CVentana::reiniciar() {
    reproduccion.reinicia();
}

void CVentana::pasoAtras() {
    if (frameMostrado() > 0) {
        irAFrame(frameMostrado() - 1);
    }
}

void CVentana::alternaEjecucion() {
    if (temporizador->isActive()) {
        detener();
    } else {
        ejecutar();
    }
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
    CExportacionVideo::pideYExporta(this, reproduccion, *visualizador);
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
