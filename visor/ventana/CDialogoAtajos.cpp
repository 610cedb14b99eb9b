#include "ventana/CDialogoAtajos.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace {

struct FilaAyuda {
    QString tecla;
    QString accion;
};

std::vector<FilaAyuda> filasDe(const QWidget* ventana) {
    std::vector<FilaAyuda> filas;
    // Actions that do one thing for several keys (1 … 9) share a row.
    QString ultimaTecla;
    for (const QAction* accion : ventana->actions()) {
        if (accion->shortcut().isEmpty()) {
            continue;
        }
        const QString texto = QString(accion->text()).remove(QLatin1Char('&'));
        const QString tecla = CDialogoAtajos::nombreTecla(accion->shortcut());
        if (!filas.empty() && filas.back().accion == texto) {
            filas.back().tecla = ultimaTecla + QStringLiteral(" … ") + tecla;
            continue;
        }
        filas.push_back({tecla, texto});
        ultimaTecla = tecla;
    }
    // The buttons' own keys: Alt and the underlined letter.
    for (const QPushButton* boton : ventana->findChildren<QPushButton*>()) {
        const QKeySequence mnemonico = QKeySequence::mnemonic(boton->text());
        if (!mnemonico.isEmpty() && boton->window() == ventana) {
            filas.push_back(
                {mnemonico.toString(QKeySequence::NativeText),
                 QObject::tr("Botón «%1»").arg(QString(boton->text()).remove(QLatin1Char('&')))});
        }
    }
    filas.push_back({QObject::tr("Rueda del ratón en la pista"), QObject::tr("Acercar o alejar")});
    filas.push_back({QObject::tr("Clic en un kart"), QObject::tr("Mirar a ese jugador")});
    filas.push_back(
        {QObject::tr("Clic o arrastre en la línea de tiempo"), QObject::tr("Ir a ese paso")});
    return filas;
}

} // namespace

QString CDialogoAtajos::nombreTecla(const QKeySequence& teclas) {
    // The keys whose names Qt gives in English whatever the language.
    static const std::pair<Qt::Key, const char*> kNombres[] = {
        {Qt::Key_Space, QT_TR_NOOP("Espacio")},
        {Qt::Key_Right, QT_TR_NOOP("Flecha derecha")},
        {Qt::Key_Left, QT_TR_NOOP("Flecha izquierda")},
        {Qt::Key_Home, QT_TR_NOOP("Inicio")},
        {Qt::Key_End, QT_TR_NOOP("Fin")},
        {Qt::Key_PageUp, QT_TR_NOOP("Re Pág")},
        {Qt::Key_PageDown, QT_TR_NOOP("Av Pág")},
        {Qt::Key_Backspace, QT_TR_NOOP("Retroceso")},
        {Qt::Key_Escape, QT_TR_NOOP("Esc")}};
    if (teclas.count() == 1 && teclas[0].keyboardModifiers() == Qt::NoModifier) {
        for (const auto& [tecla, nombre] : kNombres) {
            if (teclas[0].key() == tecla) {
                return tr(nombre);
            }
        }
    }
    return teclas.toString(QKeySequence::NativeText);
}

CDialogoAtajos::CDialogoAtajos(QWidget* ventana) : QDialog(ventana) {
    // Rows are read before the dialog's own button exists.
    const std::vector<FilaAyuda> filas = filasDe(ventana);
    setObjectName(kNombreDialogo);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Atajos de teclado"));
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
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabla);
    layout->addWidget(nota);
    layout->addWidget(botones);
}

void CDialogoAtajos::muestraSobre(QWidget* ventana) {
    if (auto* abierta = ventana->findChild<QDialog*>(kNombreDialogo, Qt::FindDirectChildrenOnly)) {
        abierta->raise();
        abierta->activateWindow();
        return;
    }
    (new CDialogoAtajos(ventana))->show();
}
