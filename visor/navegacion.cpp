// The main window's navigation: the timeline, the keyboard shortcuts with
// their help window, and the mouse on the track view.
#include "CLineaTiempo.h"
#include "CVentana.h"
#include "CVisualizador.h"
#include "interaccion.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The object names that tell this window's own shortcuts and help window.
const char* const kNombreAtajo = "atajoNavegacion";
const char* const kNombreAyuda = "dialogoAtajos";

// A spin box with the focus takes digits, signs, arrows, Home and End as
// typing, and Page Up / Page Down as steps. Space, [ and ] mean nothing to a
// number, so they keep their meaning for the whole window.
class FiltroSelectores : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::ShortcutOverride) {
            return QObject::eventFilter(objeto, evento);
        }
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if ((tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        switch (tecla->key()) {
        case Qt::Key_Space:
        case Qt::Key_BracketLeft:
        case Qt::Key_BracketRight:
            evento->ignore(); // not the spin box's: the shortcut runs
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            evento->accept(); // the spin box steps
            return true;
        default:
            return false;
        }
    }
};

// What the window's shortcuts made elsewhere do, for those that do not say.
QString accionConocida(const QKeySequence& teclas) {
    if (teclas == QKeySequence(Qt::CTRL | Qt::Key_O)) {
        return QObject::tr("Abrir otra carrera");
    }
    if (teclas == QKeySequence(Qt::CTRL | Qt::Key_S)) {
        return QObject::tr("Guardar la vista como imagen PNG");
    }
    return QObject::tr("Atajo de la ventana");
}

struct FilaAyuda {
    QString tecla;
    QString accion;
};

} // namespace

void CVentana::montaNavegacion() {
    connect(lineaTiempo, &CLineaTiempo::pasoElegido, this, &CVentana::irAFrame);
    connect(botonPasoAtras, &QPushButton::clicked, this, &CVentana::pasoAtras);

    const auto zoomEn = [this](double muescas) {
        // Through the spin box, so that it, the view and its range agree.
        selectorZoom->setValue(zul::zoomTrasMuescas(selectorZoom->value(), muescas));
    };
    const auto mira = [this](int jugador) {
        // A player the race does not have is no reason to follow another one.
        if (jugador >= 0 && jugador < carrera.numJugadores) {
            selectorJugador->setValue(jugador);
        }
    };
    connect(visualizador, &CVisualizador::ruedaGirada, this, zoomEn);
    connect(visualizador, &CVisualizador::clicEnMapa, this, [this, mira](QPointF punto) {
        QVector<QPointF> posiciones;
        for (int j = 0; j < visualizador->cantidadJugadores(); ++j) {
            posiciones.append(visualizador->posicionJugador(j));
        }
        mira(zul::kartEnPunto(posiciones, punto, visualizador->zoom()));
    });

    const auto salta = [this](long long pasos) {
        irAFrame(std::max(frameEnPantalla, 0LL) + pasos);
    };
    const auto atajo = [this](QKeySequence teclas, const QString& tecla, const QString& accion,
                              std::function<void()> hace) {
        auto* nuevo = new QShortcut(teclas, this);
        nuevo->setObjectName(kNombreAtajo);
        // What the help window shows for it; empty for the keys that share
        // one row there.
        nuevo->setProperty("tecla", tecla);
        nuevo->setWhatsThis(accion);
        connect(nuevo, &QShortcut::activated, this, std::move(hace));
    };
    atajo(Qt::Key_Space, tr("Espacio"), tr("Ejecutar o pausar"), [this] { alternaEjecucion(); });
    atajo(Qt::Key_Right, tr("Flecha derecha"), tr("Un paso adelante"), [this] { step(); });
    atajo(Qt::Key_Left, tr("Flecha izquierda"), tr("Un paso atrás"), [this] { pasoAtras(); });
    atajo(Qt::Key_Home, tr("Inicio"), tr("Primer paso"), [this] { irAFrame(0); });
    atajo(Qt::Key_End, tr("Fin"), tr("Último paso"),
          [this] { irAFrame(static_cast<long long>(numeroFrames()) - 1); });
    atajo(Qt::Key_PageUp, tr("Re Pág"), tr("10 pasos adelante"), [salta] { salta(10); });
    atajo(Qt::Key_PageDown, tr("Av Pág"), tr("10 pasos atrás"), [salta] { salta(-10); });
    atajo(Qt::Key_Plus, tr("+"), tr("Acercar (más zoom)"), [zoomEn] { zoomEn(1.0); });
    atajo(Qt::Key_Minus, tr("-"), tr("Alejar (menos zoom)"), [zoomEn] { zoomEn(-1.0); });
    for (int k = 1; k <= 9; ++k) {
        atajo(Qt::Key_0 + k, k == 1 ? tr("1 … 9") : QString(),
              tr("Mirar al jugador 0 … 8 (1 → 0, 9 → 8)"), [mira, k] { mira(k - 1); });
    }
    atajo(Qt::Key_BracketLeft, tr("["), tr("Evento anterior"),
          [this] { lineaTiempo->eventoAnterior(); });
    atajo(Qt::Key_BracketRight, tr("]"), tr("Evento siguiente"),
          [this] { lineaTiempo->eventoSiguiente(); });
    atajo(Qt::Key_F1, tr("F1"), tr("Esta lista de atajos"), [this] { muestraAtajos(); });

    auto* filtro = new FiltroSelectores(this);
    for (QWidget* selector :
         std::initializer_list<QWidget*>{selectorJugador, selectorZoom, selectorVelocidad}) {
        selector->installEventFilter(filtro);
    }
}

void CVentana::pasoAtras() {
    if (frameEnPantalla > 0) {
        irAFrame(frameEnPantalla - 1);
    }
}

void CVentana::alternaEjecucion() {
    if (temporizador->isActive()) {
        detener();
    } else {
        ejecutar();
    }
}

void CVentana::muestraAtajos() {
    if (auto* abierta = findChild<QDialog*>(kNombreAyuda, Qt::FindDirectChildrenOnly)) {
        abierta->raise();
        abierta->activateWindow();
        return;
    }

    std::vector<FilaAyuda> filas;
    const QList<QShortcut*> atajos =
        findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QShortcut* atajo : atajos) {
        if (atajo->objectName() == kNombreAtajo && !atajo->property("tecla").toString().isEmpty()) {
            filas.push_back({atajo->property("tecla").toString(), atajo->whatsThis()});
        }
    }
    // The window's other shortcuts, in the words of whoever made them.
    for (const QShortcut* atajo : atajos) {
        if (atajo->objectName() != kNombreAtajo) {
            filas.push_back(
                {atajo->key().toString(QKeySequence::NativeText),
                 atajo->whatsThis().isEmpty() ? accionConocida(atajo->key()) : atajo->whatsThis()});
        }
    }
    // The buttons' own keys: Alt and the underlined letter.
    for (const QPushButton* boton : findChildren<QPushButton*>()) {
        const QKeySequence mnemonico = QKeySequence::mnemonic(boton->text());
        if (!mnemonico.isEmpty() && boton->window() == this) {
            filas.push_back(
                {mnemonico.toString(QKeySequence::NativeText),
                 tr("Botón «%1»").arg(QString(boton->text()).remove(QLatin1Char('&')))});
        }
    }
    filas.push_back({tr("Rueda del ratón en la pista"), tr("Acercar o alejar")});
    filas.push_back({tr("Clic en un kart"), tr("Mirar a ese jugador")});
    filas.push_back({tr("Clic o arrastre en la línea de tiempo"), tr("Ir a ese paso")});

    auto* dialogo = new QDialog(this);
    dialogo->setObjectName(kNombreAyuda);
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    dialogo->setWindowTitle(tr("Atajos de teclado"));
    auto* tabla = new QTableWidget(static_cast<int>(filas.size()), 2);
    tabla->setHorizontalHeaderLabels({tr("Tecla"), tr("Acción")});
    tabla->verticalHeader()->hide();
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->setSelectionMode(QAbstractItemView::NoSelection);
    for (int i = 0; i < static_cast<int>(filas.size()); ++i) {
        const FilaAyuda& fila = filas[static_cast<std::size_t>(i)];
        tabla->setItem(i, 0, new QTableWidgetItem(fila.tecla));
        tabla->setItem(i, 1, new QTableWidgetItem(fila.accion));
    }
    tabla->resizeColumnsToContents();
    tabla->resizeRowsToContents();
    tabla->horizontalHeader()->setStretchLastSection(true);
    // The whole list at once, without scrolling.
    tabla->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    tabla->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* nota = new QLabel(tr("Con el cursor en un campo numérico, las teclas de escribir y "
                               "mover el cursor son del campo; Espacio, [, ] y F1 siguen "
                               "funcionando."));
    nota->setWordWrap(true);
    auto* botones = new QDialogButtonBox;
    botones->addButton(tr("Cerrar"), QDialogButtonBox::RejectRole);
    connect(botones, &QDialogButtonBox::rejected, dialogo, &QDialog::close);
    auto* layout = new QVBoxLayout(dialogo);
    layout->addWidget(tabla);
    layout->addWidget(nota);
    layout->addWidget(botones);
    dialogo->show();
}
