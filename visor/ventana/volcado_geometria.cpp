#include "ventana/volcado_geometria.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSaveFile>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace zul {

namespace {

QJsonArray comoLista(QSize tamano) {
    return QJsonArray{tamano.width(), tamano.height()};
}

QString textoDe(const QWidget* w) {
    if (const auto* boton = qobject_cast<const QAbstractButton*>(w)) {
        return boton->text();
    }
    if (const auto* etiqueta = qobject_cast<const QLabel*>(w)) {
        return etiqueta->text();
    }
    if (const auto* caja = qobject_cast<const QGroupBox*>(w)) {
        return caja->title();
    }
    return QString();
}

// The part of w inside every ancestor up to the window, in the window's
// coordinates: what is not there is cut off.
QRect parteVisible(const QWidget* w) {
    QRect visible(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    for (const QWidget* padre = w->parentWidget(); padre != nullptr && !padre->isWindow();
         padre = padre->parentWidget()) {
        visible &= QRect(padre->mapTo(padre->window(), QPoint(0, 0)), padre->size());
    }
    return visible;
}

// What kind of control a widget is, for whoever checks the layout.
QString tipoDe(const QWidget* w) {
    static const std::pair<const char*, const char*> tipos[] = {
        {"CVisualizador", "pista"},  {"QAbstractButton", "boton"},
        {"QLabel", "etiqueta"},      {"QAbstractSpinBox", "selector"},
        {"QComboBox", "selector"},   {"QLineEdit", "selector"},
        {"QScrollBar", "barra"},     {"QAbstractSlider", "deslizador"},
        {"QHeaderView", "cabecera"}, {"QAbstractItemView", "lista"},
        {"QGroupBox", "caja"},       {"QAbstractScrollArea", "area"},
    };
    for (const auto& [clase, tipo] : tipos) {
        if (w->inherits(clase)) {
            return QString::fromLatin1(tipo);
        }
    }
    return QString();
}

void anadeHijos(const QWidget* padre, int indicePadre, QJsonArray& lista) {
    for (const QObject* hijo : padre->children()) {
        const auto* w = qobject_cast<const QWidget*>(hijo);
        if (w == nullptr || w->isWindow() || !w->isVisible()) {
            continue;
        }
        const QRect r(w->mapTo(w->window(), QPoint(0, 0)), w->size());
        const QRect v = parteVisible(w);
        QJsonObject fila{
            {QStringLiteral("clase"), QString::fromLatin1(w->metaObject()->className())},
            {QStringLiteral("tipo"), tipoDe(w)},
            {QStringLiteral("padre"), indicePadre},
            {QStringLiteral("nombre"), w->objectName()},
            {QStringLiteral("texto"), textoDe(w)},
            {QStringLiteral("rect"), QJsonArray{r.x(), r.y(), r.width(), r.height()}},
            {QStringLiteral("visible"), QJsonArray{v.x(), v.y(), v.width(), v.height()}},
            {QStringLiteral("sugerido"), comoLista(w->sizeHint())},
            {QStringLiteral("minimo"), comoLista(w->minimumSizeHint())},
            {QStringLiteral("letra"), QFontInfo(w->font()).pixelSize()},
        };
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(w)) {
            // Whether the content is wider or taller than what shows, and
            // whether a bar says so.
            const QScrollBar* h = area->horizontalScrollBar();
            const QScrollBar* v2 = area->verticalScrollBar();
            fila.insert(QStringLiteral("desborde"),
                        QJsonArray{h->maximum() > h->minimum(), v2->maximum() > v2->minimum()});
            fila.insert(QStringLiteral("barras"), QJsonArray{h->isVisible(), v2->isVisible()});
        }
        const int indice = static_cast<int>(lista.size());
        lista.append(fila);
        anadeHijos(w, indice, lista);
    }
}

// Writes the dump a moment after the layout stops changing.
class Volcador : public QObject {
public:
    Volcador(QObject* padre, QString ruta) : QObject(padre), ruta(std::move(ruta)) {
        reloj.setSingleShot(true);
        reloj.setInterval(150);
        connect(&reloj, &QTimer::timeout, this, &Volcador::escribe);
        reloj.start();
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        switch (evento->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::FontChange:
        case QEvent::LayoutRequest:
        case QEvent::WindowStateChange:
            // A layout that never settles (a running replay) is still
            // written once a second.
            if (!reloj.isActive()) {
                pendiente.start();
                reloj.start();
            } else if (pendiente.elapsed() < 1000) {
                reloj.start();
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(objeto, evento);
    }

private:
    void escribe() {
        // Whole or not at all: a reader never sees half a dump.
        QSaveFile archivo(ruta);
        if (archivo.open(QIODevice::WriteOnly)) {
            archivo.write(volcadoGeometria());
            archivo.commit();
        }
    }

    QString ruta;
    QTimer reloj;
    QElapsedTimer pendiente;
};

} // namespace

QByteArray volcadoGeometria() {
    QJsonArray ventanas;
    for (const QWidget* ventana : QApplication::topLevelWidgets()) {
        if (!ventana->isVisible()) {
            continue;
        }
        QJsonArray widgets;
        anadeHijos(ventana, -1, widgets);
        ventanas.append(QJsonObject{
            {QStringLiteral("clase"), QString::fromLatin1(ventana->metaObject()->className())},
            {QStringLiteral("titulo"), ventana->windowTitle()},
            {QStringLiteral("tamano"), comoLista(ventana->size())},
            {QStringLiteral("minimo"), comoLista(ventana->minimumSize())},
            {QStringLiteral("pantallaCompleta"), ventana->isFullScreen()},
            {QStringLiteral("widgets"), widgets},
        });
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("ventanas"), ventanas}}).toJson();
}

void activaVolcadoGeometria(QObject* aplicacion) {
    const QString ruta = qEnvironmentVariable(kVariableVolcado);
    if (ruta.isEmpty() || aplicacion == nullptr) {
        return;
    }
    aplicacion->installEventFilter(new Volcador(aplicacion, ruta));
}

} // namespace zul
