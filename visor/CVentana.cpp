#include "CVentana.h"

#include "CLineaTiempo.h"
#include "CVisualizador.h"
#include "apertura.h"
#include "estelas.h"
#include "eventos.h"
#include "mapa.h"
#include "nombres.h"
#include "salida.h"

#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace {

using Archivo = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

Archivo abre(const char* ruta) {
    if (ruta == nullptr) {
        throw new CVentana::excepcionArchivoNoAbre(std::string());
    }
    zul::Apertura apertura = zul::abreParaLeer(ruta);
    if (!apertura.archivo) {
        throw new CVentana::excepcionArchivoNoAbre(ruta, apertura.motivo);
    }
    return std::move(apertura.archivo);
}

// Runs a loader and turns what it refuses into the window's own exception,
// which names the file.
template <typename Lector> void carga(const char* ruta, Lector lector) {
    Archivo archivo = abre(ruta);
    try {
        lector(archivo.get());
    } catch (const zul::ErrorFormato& error) {
        throw new CVentana::excepcionArchivoInvalido(ruta, error.what());
    } catch (const std::bad_alloc&) {
        throw new CVentana::excepcionArchivoInvalido(
            ruta, "No hay memoria suficiente para leer el archivo.");
    }
}

} // namespace

CVentana::CVentana(const char* archivoCarrera, const char* archivoMapa, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(tr("ZUL Karts"));

    // A child from the start, so that a failed load does not leak it; the
    // splitter takes it over below.
    visualizador = new CVisualizador(this);

    carga(archivoCarrera, [this](std::FILE* archivo) { leeCarrera(archivo); });
    carga(archivoMapa, [this](std::FILE* archivo) { leeMapa(archivo); });

    divisor = new QSplitter(Qt::Horizontal, this);
    // The left pane: the track view over its timeline.
    auto* pista = new QWidget;
    auto* layoutPista = new QVBoxLayout(pista);
    layoutPista->setContentsMargins(0, 0, 0, 0);
    layoutPista->setSpacing(0);
    layoutPista->addWidget(visualizador, 1);
    lineaTiempo = new CLineaTiempo;
    lineaTiempo->ponCarrera(numeroFrames(), zul::eventosCarrera(carrera));
    layoutPista->addWidget(lineaTiempo);
    divisor->addWidget(pista);

    auto* panelLateral = new QWidget;
    auto* layoutPanel = new QVBoxLayout(panelLateral);
    auto* layoutJugadores = new QVBoxLayout;
    auto* layoutVisualizacion = new QVBoxLayout;
    auto* temporizadorRepintado = new QTimer(this);
    layoutControles = new QVBoxLayout;

    grupoControles = new QGroupBox(tr("Controles"));
    grupoJugadores = new QGroupBox(tr("Jugadores"));
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

    const int n = carrera.numJugadores;
    etiquetasNombres.reserve(n);
    etiquetasVueltas.reserve(n);
    for (int i = 0; i < n; ++i) {
        auto* fila = new QHBoxLayout;
        // The name is text, not markup: escaped before it goes into the
        // colour markup.
        const QString nombre = zul::textoNombre(carrera.nombres[static_cast<std::size_t>(i)]);
        auto* etiquetaNombre = new QLabel(tr("<font color=#") + tr(visualizador->colorJugador(i)) +
                                          tr(">") + nombre.toHtmlEscaped() + tr("</font>"));
        etiquetaNombre->setTextFormat(Qt::RichText);
        auto* etiquetaVueltas = new QLabel;
        fila->addWidget(etiquetaNombre);
        fila->addWidget(etiquetaVueltas);
        layoutJugadores->addLayout(fila);
        etiquetasNombres.append(etiquetaNombre);
        etiquetasVueltas.append(etiquetaVueltas);
    }

    resize(712, 512);
    divisor->resize(512, 512);

    selectorZoom->setValue(10.0);
    selectorZoom->setRange(0.1, 50.0);
    selectorZoom->setSingleStep(0.1);
    visualizador->cambiaZoom(selectorZoom->value());

    selectorVelocidad->setRange(0.01, 50.0);
    selectorVelocidad->setValue(1.0);

    selectorJugador->setRange(0, n - 1);

    siguienteFrame = 0;
    siguienteDisparo = 0;
    temporizadorRepintado->setInterval(50);
    cambiaVelocidad(selectorVelocidad->value());
    step();
    botonPausa->setEnabled(false);

    layoutPanel->addWidget(grupoJugadores);
    layoutPanel->addWidget(grupoVisualizacion);
    layoutPanel->addWidget(grupoControles);
    // The rows scroll when a large race does not fit in the panel.
    auto* filasJugadores = new QWidget;
    filasJugadores->setLayout(layoutJugadores);
    auto* desplazamiento = new QScrollArea;
    desplazamiento->setWidget(filasJugadores);
    desplazamiento->setWidgetResizable(true);
    desplazamiento->setFrameShape(QFrame::NoFrame);
    auto* layoutGrupoJugadores = new QVBoxLayout;
    layoutGrupoJugadores->setContentsMargins(0, 0, 0, 0);
    layoutGrupoJugadores->addWidget(desplazamiento);
    grupoJugadores->setLayout(layoutGrupoJugadores);
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

    connect(selectorZoom, &QDoubleSpinBox::valueChanged, visualizador, &CVisualizador::cambiaZoom);
    connect(selectorJugador, &QSpinBox::valueChanged, visualizador, &CVisualizador::cambiaMira);
    connect(temporizadorRepintado, &QTimer::timeout, visualizador,
            qOverload<>(&CVisualizador::repaint));
    connect(botonPaso, &QPushButton::clicked, this, &CVentana::step);
    connect(temporizador, &QTimer::timeout, this, &CVentana::step);
    connect(selectorVelocidad, &QDoubleSpinBox::valueChanged, this, &CVentana::cambiaVelocidad);
    connect(botonEjecutar, &QPushButton::clicked, this, &CVentana::ejecutar);
    connect(botonPausa, &QPushButton::clicked, this, &CVentana::detener);
    connect(botonReiniciar, &QPushButton::clicked, this, &CVentana::reiniciar);
    montaNavegacion();
    connect(casillaEstelas, &QCheckBox::toggled, visualizador, &CVisualizador::muestraEstelas);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this), &QShortcut::activated, this,
            &CVentana::guardaImagen);
    setAcceptDrops(true);

    temporizadorRepintado->start();
}

void CVentana::leeCarrera(std::FILE* archivo) {
    zul::leerCarrera(archivo, carrera);
    visualizador->ponNumeroJugadores(static_cast<unsigned int>(carrera.numJugadores));
}

void CVentana::leeMapa(std::FILE* archivo) {
    zul::Mapa mapa;
    zul::leerMapa(archivo, mapa);
    visualizador->ponMapa(mapa.filas, mapa.columnas, std::move(mapa.celdas));
}

QWidget* CVentana::conEtiqueta(const QString& texto, QWidget* control) {
    auto* fila = new QWidget;
    auto* layout = new QHBoxLayout(fila);
    layout->addWidget(new QLabel(texto));
    layout->addWidget(control);
    return fila;
}

void CVentana::resizeEvent(QResizeEvent* event) {
    divisor->resize(event->size());
}

void CVentana::step() {
    visualizador->quitaRayo();
    const std::size_t n = static_cast<std::size_t>(carrera.numJugadores);
    const std::size_t f = siguienteFrame;
    const std::size_t total = carrera.posiciones.size();
    if (n == 0 || f * n >= total) {
        return; // the race is over: the karts stay on the last frame
    }
    // A log that ends inside its last frame leaves only some of its players.
    const std::size_t fin = std::min((f + 1) * n, total);
    for (std::size_t k = f * n; k < fin; ++k) {
        const std::size_t j = k - f * n;
        visualizador->ponJugador(static_cast<unsigned int>(j), carrera.posiciones[k],
                                 carrera.angulos[k], carrera.vueltas[k]);
        etiquetasVueltas[static_cast<qsizetype>(j)]->setText(
            QString::number(visualizador->vueltasJugador(static_cast<int>(j))) + tr(" vueltas"));
    }
    frameEnPantalla = static_cast<long long>(f);
    if (lineaTiempo != nullptr) {
        lineaTiempo->muestraPaso(frameEnPantalla);
    }
    // The trails end at this frame; the view draws them from the race's own
    // records, so it keeps no history.
    constexpr std::size_t atras = zul::kLargoEstela - 1;
    const std::size_t desde = f >= atras ? f - atras : 0;
    visualizador->ponEstelas(carrera.posiciones.data() + desde * n, fin - desde * n,
                             static_cast<int>(n));
    // Every shot of this frame (or still pending from an earlier one) shows
    // now, so none is shown late or lost at the end of the race. A partial
    // last frame shows its shots too, once: later steps find none pending.
    while (siguienteDisparo < carrera.disparos.size() &&
           static_cast<long long>(carrera.framesDisparos[siguienteDisparo]) <=
               static_cast<long long>(f)) {
        const zul::Disparo& disparo = carrera.disparos[siguienteDisparo];
        visualizador->dibujaRayo(disparo.inicio, disparo.fin);
        ++siguienteDisparo;
    }
    if (fin == (f + 1) * n) {
        ++siguienteFrame; // a partial last frame stays on show until a restart
    }
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

std::uint32_t CVentana::numeroFrames() const {
    return static_cast<std::uint32_t>(carrera.framesCompletos() +
                                      (carrera.ultimoFrameParcial() ? 1 : 0));
}

void CVentana::irAFrame(long long f) {
    const long long total = numeroFrames();
    if (total == 0) {
        return;
    }
    f = std::clamp(f, 0LL, total - 1);
    siguienteFrame = static_cast<std::uint32_t>(f);
    // Shots of earlier frames are past; those of frame f show with it.
    const auto primero =
        std::lower_bound(carrera.framesDisparos.begin(), carrera.framesDisparos.end(), f,
                         [](int frame, long long g) { return frame < g; });
    siguienteDisparo =
        static_cast<std::uint32_t>(std::distance(carrera.framesDisparos.begin(), primero));
    step();
}

void CVentana::reiniciar() {
    siguienteFrame = 0;
    siguienteDisparo = 0;
}

bool CVentana::guardaImagenEn(const QString& ruta, QString* error) {
    QString motivo;
    const bool guardada = zul::guardaPng(visualizador->grab().toImage(), ruta, motivo);
    if (!guardada && error != nullptr) {
        *error = motivo;
    }
    return guardada;
}

void CVentana::guardaImagen() {
    QFileDialog dialogo(
        this, tr("Guardar imagen"),
        QDir::current().filePath(QStringLiteral("paso-%1.png")
                                     .arg(std::max(frameEnPantalla, 0LL), 5, 10, QLatin1Char('0'))),
        tr("Imagen PNG (*.png)"));
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
