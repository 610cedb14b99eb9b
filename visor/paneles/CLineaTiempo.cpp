#include "paneles/CLineaTiempo.h"

#include "geometria/colores.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

namespace {

// Frames past what a slider can hold are out of any real race; they are kept
// in range rather than wrapped.
int comoValor(long long frame) {
    return static_cast<int>(std::clamp<long long>(frame, 0, INT_MAX));
}

} // namespace

CBarraFrames::CBarraFrames(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // Its keys are the window's shortcuts, which work wherever the focus is.
    setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(22);
}

void CBarraFrames::ponMarcas(std::vector<Marca> nuevas) {
    lista = std::move(nuevas);
    capa = QPixmap();
    update();
}

QStyleOptionSlider CBarraFrames::opciones() const {
    QStyleOptionSlider opcion;
    initStyleOption(&opcion);
    return opcion;
}

QRect CBarraFrames::asa() const {
    const QStyleOptionSlider opcion = opciones();
    return style()->subControlRect(QStyle::CC_Slider, &opcion, QStyle::SC_SliderHandle, this);
}

int CBarraFrames::xDeValor(int valor) const {
    // Where the style itself would put the handle for that value.
    QStyleOptionSlider opcion = opciones();
    opcion.sliderPosition = valor;
    opcion.sliderValue = valor;
    return style()
        ->subControlRect(QStyle::CC_Slider, &opcion, QStyle::SC_SliderHandle, this)
        .center()
        .x();
}

QRect CBarraFrames::franjaMarcas() const {
    const QStyleOptionSlider opcion = opciones();
    const QRect surco =
        style()->subControlRect(QStyle::CC_Slider, &opcion, QStyle::SC_SliderGroove, this);
    // As tall as the handle, so that the marks stay visible beside a thin
    // groove; never outside the widget.
    const QRect alto = asa();
    const int arriba = std::max(0, std::min(surco.top(), alto.top() + 2));
    const int abajo = std::min(height() - 1, std::max(surco.bottom(), alto.bottom() - 2));
    return QRect(surco.left(), arriba, surco.width(), abajo - arriba + 1);
}

void CBarraFrames::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    QStyleOptionSlider opcion = opciones();

    opcion.subControls = QStyle::SC_SliderGroove;
    style()->drawComplexControl(QStyle::CC_Slider, &opcion, &pintor, this);

    // The marks change only with the race, the size and the range: they are
    // drawn once into a layer, however many there are.
    if (capa.isNull() || tamanoCapa != size() || rangoCapa != qMakePair(minimum(), maximum()) ||
        capa.devicePixelRatio() != devicePixelRatioF()) {
        pintaCapa();
    }
    pintor.drawPixmap(0, 0, capa);

    // The handle goes over the marks.
    opcion.subControls = QStyle::SC_SliderHandle;
    if (tickPosition() != NoTicks) {
        opcion.subControls |= QStyle::SC_SliderTickmarks;
    }
    style()->drawComplexControl(QStyle::CC_Slider, &opcion, &pintor, this);
}

void CBarraFrames::pintaCapa() {
    tamanoCapa = size();
    rangoCapa = qMakePair(minimum(), maximum());
    const qreal escala = devicePixelRatioF();
    capa = QPixmap(size() * escala);
    capa.setDevicePixelRatio(escala);
    capa.fill(Qt::transparent);
    QPainter pintor(&capa);
    const QRect franja = franjaMarcas();
    const int medio = franja.top() + franja.height() / 2;
    // The style places the handle linearly between its two ends.
    const int x0 = xDeValor(minimum());
    const int ancho = xDeValor(maximum()) - x0;
    for (const Marca& marca : lista) {
        const int x = x0 + QStyle::sliderPositionFromValue(minimum(), maximum(),
                                                           comoValor(marca.frame), ancho);
        if (marca.arriba) {
            // A shot: wider than a lap mark, in a colour no player has.
            pintor.fillRect(QRect(x - 3, franja.top(), 7, medio - franja.top()), marca.color);
            continue;
        }
        const QRect mitad(x - 2, medio, 5, franja.bottom() + 1 - medio);
        // A dark edge keeps pale colours visible on a pale groove.
        pintor.fillRect(mitad, marca.color.darker(220));
        pintor.fillRect(mitad.adjusted(1, 0, -1, 0), marca.color);
    }
}

QString CBarraFrames::textoMarcasEn(QPoint punto) const {
    const QRect franja = franjaMarcas();
    if (punto.y() < franja.top() - 2 || punto.y() > franja.bottom() + 2) {
        return QString();
    }
    const bool arriba = punto.y() < franja.top() + franja.height() / 2;
    const int x0 = xDeValor(minimum());
    const int ancho = xDeValor(maximum()) - x0;
    QStringList textos;
    for (const Marca& marca : lista) {
        const int x = x0 + QStyle::sliderPositionFromValue(minimum(), maximum(),
                                                           comoValor(marca.frame), ancho);
        // Marks are 5 to 7 pixels wide; a pixel more on each side is easier
        // to hit.
        if (marca.arriba == arriba && std::abs(x - punto.x()) <= 4 && !marca.texto.isEmpty() &&
            !textos.contains(marca.texto)) {
            textos.append(marca.texto);
        }
    }
    // A crowded groove puts many marks under one pixel; a few say enough.
    if (textos.size() > 6) {
        const qsizetype resto = textos.size() - 5;
        textos = textos.mid(0, 5);
        textos.append(tr("y %1 más").arg(resto));
    }
    return textos.join(QLatin1Char('\n'));
}

bool CBarraFrames::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* ayuda = static_cast<QHelpEvent*>(event);
        const QString texto = textoMarcasEn(ayuda->pos());
        if (texto.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(ayuda->globalPos(), texto, this);
        }
        return true;
    }
    return QSlider::event(event);
}

void CBarraFrames::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled() && maximum() > minimum() &&
        !asa().contains(event->position().toPoint())) {
        // The value whose handle centre is nearest to the click: the handle
        // lands under the pointer, and the press below starts dragging it.
        const int x = event->position().toPoint().x();
        int bajo = minimum();
        int alto = maximum();
        while (bajo < alto) {
            const int medio = bajo + (alto - bajo) / 2;
            if (xDeValor(medio) < x) {
                bajo = medio + 1;
            } else {
                alto = medio;
            }
        }
        if (bajo > minimum() && x - xDeValor(bajo - 1) <= xDeValor(bajo) - x) {
            --bajo;
        }
        setValue(bajo);
    }
    QSlider::mousePressEvent(event);
}

CLineaTiempo::CLineaTiempo(QWidget* parent) : QWidget(parent) {
    barraFrames = new CBarraFrames;
    etiquetaFrame = new QLabel;
    botonEventoAnterior = new QPushButton(tr("Evento anterior"));
    botonEventoSiguiente = new QPushButton(tr("Evento siguiente"));
    // Like the slider, the buttons leave the focus where it was: their keys
    // are [ and ].
    botonEventoAnterior->setFocusPolicy(Qt::NoFocus);
    botonEventoSiguiente->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(barraFrames);
    auto* fila = new QHBoxLayout;
    fila->addWidget(etiquetaFrame);
    fila->addStretch(1);
    fila->addWidget(botonEventoAnterior);
    fila->addWidget(botonEventoSiguiente);
    layout->addLayout(fila);

    connect(barraFrames, &QSlider::valueChanged, this, &CLineaTiempo::eligeDesdeBarra);
    connect(botonEventoAnterior, &QPushButton::clicked, this, &CLineaTiempo::eventoAnterior);
    connect(botonEventoSiguiente, &QPushButton::clicked, this, &CLineaTiempo::eventoSiguiente);
    ponCarrera(0, {});
}

void CLineaTiempo::ponCarrera(long long numeroFrames, const std::vector<zul::Evento>& eventos,
                              const QStringList& nombres) {
    frames = std::max(0LL, numeroFrames);
    framesEventos.clear();
    std::vector<CBarraFrames::Marca> marcas;
    marcas.reserve(eventos.size());
    for (const zul::Evento& evento : eventos) {
        if (evento.frame < 0 || evento.frame >= frames) {
            continue;
        }
        framesEventos.push_back(evento.frame);
        const bool disparo = evento.tipo == zul::Evento::Disparo;
        // Shots in a colour of their own (the track's yellow is also a
        // player's); laps in the colour of the player's kart.
        const QString quien = evento.jugador >= 0 && evento.jugador < nombres.size()
                                  ? nombres[evento.jugador]
                                  : tr("el jugador %1").arg(evento.jugador);
        marcas.push_back(
            {evento.frame, disparo ? zul::colorMarcaDisparo() : zul::colorDisco(evento.jugador),
             disparo,
             disparo ? tr("Paso %1: disparo").arg(evento.frame)
                     : tr("Paso %1: %2 completa una vuelta").arg(evento.frame).arg(quien)});
    }
    std::sort(framesEventos.begin(), framesEventos.end());
    framesEventos.erase(std::unique(framesEventos.begin(), framesEventos.end()),
                        framesEventos.end());
    barraFrames->ponMarcas(std::move(marcas));

    siguiendo = true;
    barraFrames->setRange(0, comoValor(frames - 1));
    barraFrames->setPageStep(10);
    siguiendo = false;
    barraFrames->setEnabled(frames > 1);
    ajustaContador();
    muestraFrame(std::min(actual, frames - 1));
}

void CLineaTiempo::ajustaContador() {
    // Wide enough for the longest count, so the buttons do not shift as the
    // replay runs.
    const QString largo = tr("Paso %1 de %2").arg(std::max(0LL, frames - 1)).arg(frames);
    // (and a pixel or two more than the text, which the label's own margin
    // takes).
    etiquetaFrame->setMinimumWidth(etiquetaFrame->fontMetrics().horizontalAdvance(largo) + 2);
}

void CLineaTiempo::changeEvent(QEvent* evento) {
    QWidget::changeEvent(evento);
    // Full screen sets a larger font on the timeline.
    if (evento->type() == QEvent::FontChange && etiquetaFrame != nullptr) {
        ajustaContador();
    }
}

void CLineaTiempo::muestraFrame(long long frame) {
    actual = frame < 0 || frames == 0 ? -1 : std::min(frame, frames - 1);
    // A handle the user is dragging stays under the pointer.
    if (!barraFrames->isSliderDown()) {
        siguiendo = true;
        barraFrames->setValue(comoValor(actual));
        siguiendo = false;
    }
    actualiza();
}

void CLineaTiempo::eventoAnterior() {
    // Before any frame is on show, every event lies ahead.
    const long long destino = actual < 0 ? -1 : zul::frameEventoAnterior(framesEventos, actual);
    if (destino >= 0) {
        emit frameElegido(destino);
        emit eventoElegido(destino);
    }
}

void CLineaTiempo::eventoSiguiente() {
    const long long destino = zul::frameEventoSiguiente(framesEventos, actual);
    if (destino >= 0) {
        emit frameElegido(destino);
        emit eventoElegido(destino);
    }
}

void CLineaTiempo::eligeDesdeBarra(int valor) {
    if (!siguiendo) {
        emit frameElegido(valor);
    }
}

void CLineaTiempo::actualiza() {
    etiquetaFrame->setText(actual < 0 ? tr("Paso - de %1").arg(frames)
                                      : tr("Paso %1 de %2").arg(actual).arg(frames));
    botonEventoAnterior->setEnabled(actual >= 0 &&
                                    zul::frameEventoAnterior(framesEventos, actual) >= 0);
    botonEventoSiguiente->setEnabled(zul::frameEventoSiguiente(framesEventos, actual) >= 0);
}
