#include "paneles/CPanelJugadores.h"

#include "geometria/colores.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

CPanelJugadores::CPanelJugadores(QWidget* parent) : QGroupBox(tr("Jugadores"), parent) {
    // The rows scroll when a large race does not fit in the panel.
    auto* filas = new QWidget;
    layoutFilas = new QVBoxLayout(filas);
    layoutFilas->setSpacing(1);
    layoutFilas->setContentsMargins(4, 2, 4, 2);
    // Rows keep their own height at the top of a tall list, rather than
    // spreading over it.
    layoutFilas->setAlignment(Qt::AlignTop);
    area = new QScrollArea;
    area->setWidget(filas);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
}

void CPanelJugadores::ponJugadores(const QStringList& nombresJugadores,
                                   const QVector<QString>& codigosColor) {
    // Rows of another race go first, with their labels.
    while (QLayoutItem* fila = layoutFilas->takeAt(0)) {
        if (QLayout* celdas = fila->layout()) {
            while (QLayoutItem* celda = celdas->takeAt(0)) {
                delete celda->widget();
                delete celda;
            }
        }
        delete fila;
    }
    nombres.clear();
    vueltas.clear();
    seguido = -1;
    textos = nombresJugadores;
    codigos = codigosColor;

    for (int i = 0; i < textos.size(); ++i) {
        auto* fila = new QHBoxLayout;
        fila->setContentsMargins(0, 0, 0, 0);
        auto* nombre = new QLabel;
        nombre->setTextFormat(Qt::RichText);
        auto* vuelta = new QLabel;
        for (QLabel* etiqueta : {nombre, vuelta}) {
            etiqueta->setToolTip(tr("%1 (clic: mirar a este jugador)").arg(textos[i]));
            etiqueta->setCursor(Qt::PointingHandCursor);
            etiqueta->installEventFilter(this);
        }
        fila->addWidget(nombre);
        fila->addWidget(vuelta, 1);
        layoutFilas->addLayout(fila);
        nombres.append(nombre);
        vueltas.append(vuelta);
        pintaMarca(i, false);
    }
    ajusta();
}

void CPanelJugadores::ponVueltas(int jugador, int cuantas) {
    if (jugador >= 0 && jugador < vueltas.size()) {
        vueltas[jugador]->setText(QString::number(cuantas) + tr(" vueltas"));
    }
}

void CPanelJugadores::ajusta() {
    // Measured in bold, as the followed row shows it.
    QFont negrita = font();
    negrita.setBold(true);
    const QFontMetrics medida(negrita);
    const int tope = medida.averageCharWidth() * kLargoNombre;
    int anchoNombres = 0;
    for (const QString& nombre : textos) {
        anchoNombres = std::max(anchoNombres, std::min(tope, medida.horizontalAdvance(nombre)));
    }
    for (int i = 0; i < nombres.size(); ++i) {
        pintaMarca(i, i == seguido);
        const QString visible = medida.elidedText(textos[i], Qt::ElideRight, tope);
        // The name is text, not markup: escaped before it goes into the
        // colour markup.
        nombres[i]->setText(tr("<font color=#") + codigos[i] + tr(">") + visible.toHtmlEscaped() +
                            tr("</font>"));
        // Every name as wide as the widest (cut) one, so the laps line up.
        nombres[i]->setFixedWidth(anchoNombres + medida.averageCharWidth() + 10);
        vueltas[i]->setMinimumWidth(medida.horizontalAdvance(tr("9999 vueltas")) + 6);
    }
    // Smaller windows squeeze the list down to a few rows before the
    // controls under it lose any room; the scroll area asks for every row.
    const int alto = nombres.isEmpty() ? 0
                                       : std::max(nombres.first()->sizeHint().height(),
                                                  vueltas.first()->sizeHint().height()) +
                                             layoutFilas->spacing();
    const QMargins margenes = layoutFilas->contentsMargins();
    const int extra = margenes.top() + margenes.bottom() + 2;
    const int filasMinimas = std::min<int>(static_cast<int>(nombres.size()), kFilasMinimas);
    area->setMinimumHeight(filasMinimas * alto + extra);
    // Room for the scroll bar, which a large race needs.
    const int barra = area->verticalScrollBar()->sizeHint().width();
    const int anchoFila = nombres.isEmpty() ? 0
                                            : nombres.first()->width() + layoutFilas->spacing() +
                                                  vueltas.first()->minimumWidth();
    area->setMinimumWidth(anchoFila + margenes.left() + margenes.right() + barra + 2);
    updateGeometry();
}

void CPanelJugadores::pintaMarca(int j, bool activo) {
    if (j < 0 || j >= nombres.size()) {
        return;
    }
    // The panel's font (larger in full screen), bold on the followed row.
    QFont letra = font();
    letra.setBold(activo);
    nombres[j]->setFont(letra);
    vueltas[j]->setFont(letra);
    // A plate of black or white behind each name, whichever its colour reads
    // best on, so that no colour code fades into the panel; the followed
    // row's plate is edged above and below in the style's highlight.
    const QColor fondo = zul::fondoLegible(QColor(QStringLiteral("#") + codigos[j]));
    const QColor borde = activo ? palette().color(QPalette::Highlight) : fondo;
    nombres[j]->setStyleSheet(
        QStringLiteral("QLabel { background: %1; padding: 0px 4px; border-top: 2px solid %2; "
                       "border-bottom: 2px solid %2; }")
            .arg(fondo.name(), borde.name()));
    vueltas[j]->setAutoFillBackground(activo);
    vueltas[j]->setBackgroundRole(activo ? QPalette::Highlight : QPalette::Window);
    vueltas[j]->setForegroundRole(activo ? QPalette::HighlightedText : QPalette::WindowText);
}

void CPanelJugadores::marca(int jugador) {
    if (jugador == seguido) {
        return;
    }
    pintaMarca(seguido, false);
    seguido = jugador;
    pintaMarca(seguido, true);
    // The Director camera may follow a player far down a long list.
    if (seguido >= 0 && seguido < nombres.size()) {
        area->ensureWidgetVisible(nombres[seguido], 0, 0);
    }
}

void CPanelJugadores::changeEvent(QEvent* evento) {
    QGroupBox::changeEvent(evento);
    // Full screen sets a larger font on the panel.
    if (evento->type() == QEvent::FontChange) {
        ajusta();
    }
}

bool CPanelJugadores::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        auto* etiqueta = static_cast<QLabel*>(objeto);
        int j = static_cast<int>(nombres.indexOf(etiqueta));
        j = j >= 0 ? j : static_cast<int>(vueltas.indexOf(etiqueta));
        if (j >= 0) {
            emit jugadorElegido(j);
            return true;
        }
    }
    return QGroupBox::eventFilter(objeto, evento);
}
