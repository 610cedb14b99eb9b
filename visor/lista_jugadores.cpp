#include "lista_jugadores.h"

#include "colores.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

ListaJugadores::ListaJugadores(const QStringList& nombresJugadores,
                               const QVector<QString>& codigosColor, QVBoxLayout* layoutFilas,
                               QScrollArea* area, QObject* parent)
    : QObject(parent), textos(nombresJugadores), codigos(codigosColor), layout(layoutFilas),
      desplazamiento(area) {
    layout->setSpacing(1);
    for (int i = 0; i < textos.size(); ++i) {
        auto* fila = new QWidget;
        fila->setObjectName(QStringLiteral("filaJugador"));
        fila->setCursor(Qt::PointingHandCursor);
        auto* horizontal = new QHBoxLayout(fila);
        horizontal->setContentsMargins(3, 0, 3, 0);
        auto* nombre = new QLabel;
        nombre->setTextFormat(Qt::RichText);
        fila->setToolTip(tr("%1 (clic: mirar a este jugador)").arg(textos[i]));
        const QColor color(QStringLiteral("#") + codigos[i]);
        // A plate of black or white behind each name, whichever its colour
        // reads best on, so that no colour code fades into the panel.
        nombre->setStyleSheet(QStringLiteral("QLabel { background: %1; padding: 0px 4px; }")
                                  .arg(zul::fondoLegible(color).name()));
        auto* vuelta = new QLabel;
        // Clicks and the tooltip are the row's, wherever in it they land.
        nombre->setAttribute(Qt::WA_TransparentForMouseEvents);
        vuelta->setAttribute(Qt::WA_TransparentForMouseEvents);
        horizontal->addWidget(nombre);
        horizontal->addWidget(vuelta, 1);
        layout->addWidget(fila);
        fila->installEventFilter(this);
        nombre->installEventFilter(this);
        vuelta->installEventFilter(this);
        filas.append(fila);
        nombres.append(nombre);
        vueltas.append(vuelta);
    }
    layout->addStretch(1);
    desplazamiento->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ajusta();
}

void ListaJugadores::ajusta() {
    // Measured in bold, as the followed row shows it.
    QFont negrita = desplazamiento->font();
    negrita.setBold(true);
    const QFontMetrics medida(negrita);
    const int tope = medida.averageCharWidth() * kLargoNombre;
    int anchoNombres = 0;
    for (const QString& nombre : textos) {
        anchoNombres = std::max(anchoNombres, std::min(tope, medida.horizontalAdvance(nombre)));
    }
    for (int i = 0; i < filas.size(); ++i) {
        const QString visible = medida.elidedText(textos[i], Qt::ElideRight, tope);
        // The name is text, not markup: escaped before it goes into the
        // colour markup.
        nombres[i]->setText(tr("<font color=#") + codigos[i] + tr(">") + visible.toHtmlEscaped() +
                            tr("</font>"));
        // Every name as wide as the widest (cut) one, so the laps line up.
        nombres[i]->setFixedWidth(anchoNombres + medida.averageCharWidth() + 10);
        vueltas[i]->setMinimumWidth(medida.horizontalAdvance(tr("9999 vueltas")));
    }
    // The list asks for room for a small race's rows, so no scroll bar shows
    // for them at the usual size; smaller windows squeeze it down to a few
    // rows before the controls under it lose any room.
    const int alto = filas.isEmpty() ? 0 : filas.first()->sizeHint().height() + layout->spacing();
    const int visibles = std::min<int>(static_cast<int>(filas.size()), kFilasSinDesplazar);
    const QMargins margenes = layout->contentsMargins();
    const int extra = margenes.top() + margenes.bottom() + 2;
    desplazamiento->setMinimumHeight(std::min(visibles, kFilasMinimas) * alto + extra);
    altoPedido = visibles * alto + extra;
    const int barra =
        filas.size() > visibles ? desplazamiento->verticalScrollBar()->sizeHint().width() : 0;
    const int anchoFila = filas.isEmpty() ? 0 : filas.first()->sizeHint().width();
    desplazamiento->setMinimumWidth(anchoFila + margenes.left() + margenes.right() + barra + 2);
}

void ListaJugadores::marca(int jugador) {
    if (jugador == seguido) {
        return;
    }
    const auto pon = [this](int j, bool activo) {
        if (j < 0 || j >= filas.size()) {
            return;
        }
        QFont letra = vueltas[j]->font();
        letra.setBold(activo);
        nombres[j]->setFont(letra);
        vueltas[j]->setFont(letra);
        // A highlighted frame around the row, in the style's own colours.
        filas[j]->setAutoFillBackground(activo);
        filas[j]->setBackgroundRole(activo ? QPalette::Highlight : QPalette::Window);
        vueltas[j]->setForegroundRole(activo ? QPalette::HighlightedText : QPalette::WindowText);
    };
    pon(seguido, false);
    seguido = jugador;
    pon(seguido, true);
}

bool ListaJugadores::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        auto* widget = static_cast<QWidget*>(objeto);
        int j = static_cast<int>(filas.indexOf(widget));
        j = j >= 0 ? j : static_cast<int>(nombres.indexOf(widget));
        j = j >= 0 ? j : static_cast<int>(vueltas.indexOf(widget));
        if (j >= 0) {
            emit jugadorElegido(j);
            return true;
        }
    }
    return QObject::eventFilter(objeto, evento);
}
