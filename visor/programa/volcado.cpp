#include "programa/volcado.h"
#include "programa/volcado_geometria.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMetaProperty>
#include <QSaveFile>
#include <QSpinBox>

namespace {

QJsonArray rectangulo(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
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
    const QString texto = zul::textoVisible(w);
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

void CVolcado::instalaSiSePide(QObject* aplicacion) {
    QString rutaEstado = qEnvironmentVariable(kVariable);
    QString rutaGeometria = qEnvironmentVariable(kVariableGeometria);
    if (aplicacion == nullptr || (rutaEstado.isEmpty() && rutaGeometria.isEmpty())) {
        return;
    }
    aplicacion->installEventFilter(
        new CVolcado(std::move(rutaEstado), std::move(rutaGeometria), aplicacion));
}

CVolcado::CVolcado(QString rutaEstado, QString rutaGeometria, QObject* parent)
    : QObject(parent), estado{std::move(rutaEstado), {}}, geometria{std::move(rutaGeometria), {}} {
    asiento.setSingleShot(true);
    asiento.setInterval(kAsientoMs);
    connect(&asiento, &QTimer::timeout, this, &CVolcado::escribe);
    // Changes that move no widget (a value, a check, the focus) are seen here.
    connect(&sondeo, &QTimer::timeout, this, &CVolcado::escribe);
    pendiente.start();
    asiento.start();
    sondeo.start(kIntervaloMs);
}

bool CVolcado::eventFilter(QObject* objeto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::FontChange:
    case QEvent::LayoutRequest:
    case QEvent::WindowStateChange:
        // A layout that never settles (a running replay) is still written
        // once in a while.
        if (!asiento.isActive()) {
            pendiente.start();
            asiento.start();
        } else if (pendiente.elapsed() < kEsperaMaximaMs) {
            asiento.start();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(objeto, evento);
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

QByteArray CVolcado::volcadoEstado() {
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
    return QJsonDocument(todo).toJson(QJsonDocument::Indented);
}

void CVolcado::escribeSiCambia(Salida& salida, const QByteArray& datos) {
    if (datos == salida.ultimo) {
        return;
    }
    // Whole or not at all: a reader never sees half a picture.
    QSaveFile archivo(salida.ruta);
    if (archivo.open(QIODevice::WriteOnly) && archivo.write(datos) == datos.size() &&
        archivo.commit()) {
        salida.ultimo = datos;
    }
}

void CVolcado::escribe() {
    // Mid-layout pictures would show widgets half moved: wait for it to settle.
    if (asiento.isActive()) {
        return;
    }
    if (!estado.ruta.isEmpty()) {
        escribeSiCambia(estado, volcadoEstado());
    }
    if (!geometria.ruta.isEmpty()) {
        escribeSiCambia(geometria, zul::volcadoGeometria());
    }
}
