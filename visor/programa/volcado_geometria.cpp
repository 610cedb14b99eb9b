#include "programa/volcado_geometria.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QWidget>

#include <utility>

namespace zul {

namespace {

QJsonArray comoLista(QSize tamano) {
    return QJsonArray{tamano.width(), tamano.height()};
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
            {QStringLiteral("texto"), textoVisible(w)},
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

} // namespace

QString textoVisible(const QWidget* w) {
    if (const auto* etiqueta = qobject_cast<const QLabel*>(w)) {
        return etiqueta->textFormat() == Qt::PlainText
                   ? etiqueta->text()
                   : QTextDocumentFragment::fromHtml(etiqueta->text()).toPlainText();
    }
    if (const auto* boton = qobject_cast<const QAbstractButton*>(w)) {
        return boton->text();
    }
    if (const auto* caja = qobject_cast<const QGroupBox*>(w)) {
        return caja->title();
    }
    if (const auto* numero = qobject_cast<const QAbstractSpinBox*>(w)) {
        return numero->text();
    }
    if (const auto* lista = qobject_cast<const QComboBox*>(w)) {
        return lista->currentText();
    }
    return QString();
}

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

} // namespace zul
