#include "programa/volcado.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMetaProperty>
#include <QSaveFile>
#include <QSpinBox>
#include <QTextDocumentFragment>
#include <QTimer>

namespace {

QJsonArray rectangulo(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// The text a widget shows, as plain text.
QString textoDe(const QWidget* w) {
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

// A table's rows as shown, and which of them are bold.
void anadeFilas(const QAbstractItemView* vista, QJsonObject& objeto) {
    const QAbstractItemModel* modelo = vista->model();
    if (modelo == nullptr) {
        return;
    }
    QJsonArray filas;
    QJsonArray negritas;
    for (int f = 0; f < modelo->rowCount(); ++f) {
        QStringList celdas;
        bool negrita = false;
        for (int c = 0; c < modelo->columnCount(); ++c) {
            const QModelIndex indice = modelo->index(f, c);
            celdas << indice.data().toString();
            negrita = negrita || indice.data(Qt::FontRole).value<QFont>().bold();
        }
        filas.append(celdas.join(QLatin1Char('|')));
        if (negrita) {
            negritas.append(f);
        }
    }
    objeto[QStringLiteral("filas")] = filas;
    objeto[QStringLiteral("filasNegrita")] = negritas;
}

QJsonObject volcadoWidget(QWidget* w, QWidget* ventana) {
    QJsonObject objeto;
    objeto[QStringLiteral("clase")] = QString::fromLatin1(w->metaObject()->className());
    objeto[QStringLiteral("nombre")] = w->objectName();
    objeto[QStringLiteral("geometria")] =
        rectangulo(QRect(w->mapTo(ventana, QPoint(0, 0)), w->size()));
    objeto[QStringLiteral("activo")] = w->isEnabled();
    const QString texto = textoDe(w);
    if (!texto.isEmpty()) {
        objeto[QStringLiteral("texto")] = texto;
        const QSize pide = w->sizeHint();
        const auto* etiqueta = qobject_cast<const QLabel*>(w);
        const bool ajusta = etiqueta != nullptr && etiqueta->wordWrap();
        objeto[QStringLiteral("recortado")] =
            (!ajusta && pide.width() > w->width()) || pide.height() > w->height();
        objeto[QStringLiteral("elidido")] = texto.contains(QChar(0x2026));
    }
    if (w->font().bold()) {
        objeto[QStringLiteral("negrita")] = true;
    }
    if (const auto* boton = qobject_cast<const QAbstractButton*>(w);
        boton && boton->isCheckable()) {
        objeto[QStringLiteral("marcado")] = boton->isChecked();
    }
    if (const auto* numero = qobject_cast<const QSpinBox*>(w)) {
        objeto[QStringLiteral("valor")] = numero->value();
    } else if (const auto* real = qobject_cast<const QDoubleSpinBox*>(w)) {
        objeto[QStringLiteral("valor")] = real->value();
    }
    if (const auto* vista = qobject_cast<const QAbstractItemView*>(w)) {
        anadeFilas(vista, objeto);
    }
    // The properties the viewer's own widget classes declare.
    const QMetaObject* meta = w->metaObject();
    if (QByteArray(meta->className()).startsWith('C')) {
        QJsonObject propiedades;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty propiedad = meta->property(i);
            propiedades[QString::fromLatin1(propiedad.name())] =
                QJsonValue::fromVariant(propiedad.read(w));
        }
        if (!propiedades.isEmpty()) {
            objeto[QStringLiteral("propiedades")] = propiedades;
        }
    }
    return objeto;
}

} // namespace

void CVolcado::instalaSiSePide(QObject* padre) {
    const QString ruta = qEnvironmentVariable(kVariable);
    if (!ruta.isEmpty()) {
        new CVolcado(ruta, padre);
    }
}

CVolcado::CVolcado(QString ruta, QObject* parent) : QObject(parent), destino(std::move(ruta)) {
    auto* reloj = new QTimer(this);
    connect(reloj, &QTimer::timeout, this, &CVolcado::escribe);
    reloj->start(kIntervaloMs);
}

QJsonObject CVolcado::volcadoVentana(QWidget* ventana) {
    QJsonObject objeto = volcadoWidget(ventana, ventana);
    objeto[QStringLiteral("titulo")] = ventana->windowTitle();
    objeto[QStringLiteral("pantallaCompleta")] = ventana->isFullScreen();
    objeto[QStringLiteral("geometria")] = rectangulo(ventana->geometry());
    QJsonArray hijos;
    for (QWidget* w : ventana->findChildren<QWidget*>()) {
        if (w->isVisible() && w->window() == ventana) {
            hijos.append(volcadoWidget(w, ventana));
        }
    }
    objeto[QStringLiteral("widgets")] = hijos;
    return objeto;
}

void CVolcado::escribe() {
    QJsonArray ventanas;
    for (QWidget* ventana : QApplication::topLevelWidgets()) {
        if (ventana->isVisible()) {
            ventanas.append(volcadoVentana(ventana));
        }
    }
    QJsonObject todo;
    todo[QStringLiteral("ventanas")] = ventanas;
    const QWidget* foco = QApplication::focusWidget();
    todo[QStringLiteral("foco")] =
        foco != nullptr ? QString::fromLatin1(foco->metaObject()->className()) : QString();
    const QByteArray datos = QJsonDocument(todo).toJson(QJsonDocument::Indented);
    if (datos == ultimo) {
        return;
    }
    // Whole or not at all: a reader never sees half a picture.
    QSaveFile archivo(destino);
    if (archivo.open(QIODevice::WriteOnly) && archivo.write(datos) == datos.size() &&
        archivo.commit()) {
        ultimo = datos;
    }
}
