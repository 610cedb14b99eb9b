#include "paneles/CPanelClasificacion.h"

#include "geometria/colores.h"
#include "paneles/CGraficas.h"
#include "paneles/CModeloClasificacion.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// A name wider than this is cut with "…", so that a long one does not push
// the track off the window.
constexpr int kAnchoMaximoNombre = 220;

// Names in their players' colours on a plate of black or white, whichever the
// colour reads best on, as in the "Jugadores" list: on the white table the
// pale colours would hardly show.
class DelegadoNombre : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override {
        QStyledItemDelegate::initStyleOption(opcion, indice);
        const QVariant color = indice.data(Qt::ForegroundRole);
        if (color.canConvert<QColor>()) {
            opcion->backgroundBrush = zul::fondoLegible(color.value<QColor>());
        }
    }
};
// Room around a cell's text.
constexpr int kMargenCelda = 14;

} // namespace

CPanelClasificacion::CPanelClasificacion(const zul::AnalisisCarrera& analisis,
                                         QStringList nombresJugadores, QWidget* parent)
    : QGroupBox(parent), analisisCarrera(&analisis), nombres(std::move(nombresJugadores)) {
    modeloTabla = new CModeloClasificacion(analisisCarrera, nombres, this);
    setTitle(modeloTabla->titulo());
    connect(modeloTabla, &CModeloClasificacion::tituloCambiado, this, &QGroupBox::setTitle);

    vistaTabla = new QTableView;
    vistaTabla->setModel(modeloTabla);
    vistaTabla->verticalHeader()->hide();
    vistaTabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The followed player's row is the highlight; a selection would be a
    // second one. Without focus, the arrow keys and Space stay the window's.
    vistaTabla->setSelectionMode(QAbstractItemView::NoSelection);
    vistaTabla->setFocusPolicy(Qt::NoFocus);
    // Where the box is narrower than its columns (under the track), a bar
    // says there is more.
    vistaTabla->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    vistaTabla->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    vistaTabla->setWordWrap(false);
    vistaTabla->horizontalHeader()->setSectionsClickable(false);
    vistaTabla->horizontalHeader()->setHighlightSections(false);
    vistaTabla->setItemDelegateForColumn(CModeloClasificacion::Jugador,
                                         new DelegadoNombre(vistaTabla));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vistaTabla);
    ponAnchos();
    connect(vistaTabla, &QTableView::clicked, this, [this](const QModelIndex& indice) {
        const int jugador = modeloTabla->jugadorEnFila(indice.row());
        if (jugador >= 0) {
            emit jugadorElegido(jugador);
        }
    });
}

CPanelClasificacion::~CPanelClasificacion() {
    delete ventanaGraficas.data();
    delete vistaTabla;
    delete modeloTabla;
}

CGraficas* CPanelClasificacion::graficas() const {
    return ventanaGraficas.data();
}

void CPanelClasificacion::ponAnchos() {
    // Fixed widths from the widest text each column can hold: measuring the
    // rows on every frame would cost a pass over every player.
    // Bold, as the followed player's row is: the widest a cell gets.
    QFont negrita = vistaTabla->font();
    negrita.setBold(true);
    const QFontMetrics celdas(negrita);
    const QFontMetrics cabecera(vistaTabla->horizontalHeader()->font());
    int anchoNombres = 0;
    for (const QString& nombre : nombres) {
        anchoNombres = std::max(anchoNombres, celdas.horizontalAdvance(nombre));
    }
    const QString muestras[CModeloClasificacion::NumColumnas] = {
        QStringLiteral("9999"),  QString(),
        QStringLiteral("9999"),  QStringLiteral("99999"),
        QStringLiteral("99999"), tr("+999 vueltas"),
        tr("+999 vueltas"),      QStringLiteral("9999"),
        QStringLiteral("9999"),  QStringLiteral("9999"),
        QStringLiteral("9999"),  QStringLiteral("9999"),
        QStringLiteral("9999"),  QStringLiteral("99999")};
    // The columns a table without the track has set its width; the track's
    // columns beyond them scroll into view, so the box leaves the track the
    // same room as ever.
    int total = 0;
    for (int c = 0; c < modeloTabla->columnCount(); ++c) {
        const QString titulo = modeloTabla->headerData(c, Qt::Horizontal).toString();
        const int contenido = c == CModeloClasificacion::Jugador
                                  ? std::min(anchoNombres, kAnchoMaximoNombre)
                                  : celdas.horizontalAdvance(muestras[c]);
        const int ancho = std::max(cabecera.horizontalAdvance(titulo), contenido) + kMargenCelda;
        vistaTabla->setColumnWidth(c, ancho);
        if (c < CModeloClasificacion::kColumnasSinMapa) {
            total += ancho;
        }
    }
    vistaTabla->horizontalHeader()->setStretchLastSection(true);
    // Rows as tall as the font: full screen makes it larger.
    vistaTabla->verticalHeader()->setDefaultSectionSize(celdas.height() + 6);
    anchoColumnas =
        total + vistaTabla->verticalScrollBar()->sizeHint().width() + 2 * vistaTabla->frameWidth();
    ponDebajo(debajo);
}

int CPanelClasificacion::anchoCompleto() const {
    const QMargins margenes = contentsMargins() + layout()->contentsMargins();
    return anchoColumnas + margenes.left() + margenes.right();
}

void CPanelClasificacion::ponDebajo(bool abajo) {
    debajo = abajo;
    if (debajo) {
        // The header, five rows and the bar that scrolls sideways.
        const int filas = 5;
        vistaTabla->setMinimumWidth(0);
        vistaTabla->setFixedHeight(vistaTabla->horizontalHeader()->sizeHint().height() +
                                   filas * vistaTabla->verticalHeader()->defaultSectionSize() +
                                   vistaTabla->horizontalScrollBar()->sizeHint().height() +
                                   2 * vistaTabla->frameWidth());
    } else {
        // No minimum width: the window's smallest size is the one with the
        // box under the track. The window puts it here only where every
        // column fits, and the size hint asks for them all.
        vistaTabla->setMinimumWidth(0);
        vistaTabla->setMinimumHeight(0);
        vistaTabla->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    updateGeometry();
}

QSize CPanelClasificacion::sizeHint() const {
    const QSize propio = QGroupBox::sizeHint();
    return debajo ? propio : QSize(anchoCompleto(), propio.height());
}

void CPanelClasificacion::changeEvent(QEvent* evento) {
    QGroupBox::changeEvent(evento);
    // Full screen sets a larger font on the box.
    if (evento->type() == QEvent::FontChange && vistaTabla != nullptr) {
        ponAnchos();
    }
}

void CPanelClasificacion::ajustaAlAncho(int anchoLibre) {
    if (elegidoPorUsuario) {
        return;
    }
    setVisible(anchoLibre - anchoCompleto() >= kAnchoMinimoPista);
}

void CPanelClasificacion::muestraFrame(long long frame, bool final) {
    modeloTabla->ponFinal(final);
    modeloTabla->ponFrame(std::max(frame, 0LL));
    frameEnPantalla = frame;
    if (ventanaGraficas != nullptr) {
        ventanaGraficas->muestraFrame(frame);
    }
}

void CPanelClasificacion::ponJugadorSeguido(int jugador) {
    jugadorSeguido = jugador;
    if (ventanaGraficas != nullptr) {
        ventanaGraficas->ponJugadorSeguido(jugador);
    }
    modeloTabla->ponJugadorSeguido(jugador);
    const int fila = modeloTabla->filaDeJugador(jugador);
    if (fila >= 0) {
        vistaTabla->scrollTo(modeloTabla->index(fila, 0));
    }
}

void CPanelClasificacion::analisisActualizado() {
    modeloTabla->actualiza();
    if (ventanaGraficas != nullptr && ventanaGraficas->isVisible()) {
        ventanaGraficas->actualiza();
    } else {
        graficasAtrasadas = true;
    }
}

void CPanelClasificacion::ponNombres(const QStringList& nombresJugadores) {
    nombres = nombresJugadores;
    modeloTabla->ponNombres(nombres);
    // The name column fits the new names.
    ponAnchos();
    if (ventanaGraficas != nullptr) {
        // Drawn with them at the next growth of the race (analisisActualizado),
        // which follows the new race's first frames; once, not twice.
        ventanaGraficas->ponNombres(nombres);
        graficasAtrasadas = graficasAtrasadas || !ventanaGraficas->isVisible();
    }
}

void CPanelClasificacion::alterna() {
    elegidoPorUsuario = true;
    // isHidden, not isVisible: the window itself may not be on screen yet.
    setVisible(isHidden());
}

void CPanelClasificacion::alternaGraficas() {
    if (ventanaGraficas != nullptr && ventanaGraficas->isVisible()) {
        ventanaGraficas->close();
        return;
    }
    if (ventanaGraficas == nullptr) {
        // A window of its own that closes with the race's window.
        ventanaGraficas = new CGraficas(analisisCarrera, nombres, window());
        ventanaGraficas->setWindowFlag(Qt::Window);
        connect(ventanaGraficas, &CGraficas::frameElegido, this,
                &CPanelClasificacion::frameElegido);
        connect(ventanaGraficas, &CGraficas::jugadorElegido, this,
                &CPanelClasificacion::jugadorElegido);
        ventanaGraficas->ponJugadorSeguido(jugadorSeguido);
        graficasAtrasadas = false;
        emit graficasCreadas(ventanaGraficas);
    } else if (graficasAtrasadas) {
        ventanaGraficas->actualiza();
        graficasAtrasadas = false;
    }
    ventanaGraficas->show();
    // Shown, it takes the frame on show in ("Hasta el paso actual").
    ventanaGraficas->muestraFrame(frameEnPantalla);
    ventanaGraficas->raise();
    ventanaGraficas->activateWindow();
}
