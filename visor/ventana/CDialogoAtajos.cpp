#include "ventana/CDialogoAtajos.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

namespace {

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

std::vector<FilaAyuda> filasDe(const QWidget* ventana) {
    std::vector<FilaAyuda> filas;
    const QList<QShortcut*> atajos =
        ventana->findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QShortcut* atajo : atajos) {
        if (atajo->objectName() == QLatin1String(CDialogoAtajos::kNombreAtajo) &&
            !atajo->property("tecla").toString().isEmpty()) {
            filas.push_back({atajo->property("tecla").toString(), atajo->whatsThis()});
        }
    }
    // The window's other shortcuts, in the words of whoever made them.
    for (const QShortcut* atajo : atajos) {
        if (atajo->objectName() != QLatin1String(CDialogoAtajos::kNombreAtajo)) {
            filas.push_back(
                {atajo->key().toString(QKeySequence::NativeText),
                 atajo->whatsThis().isEmpty() ? accionConocida(atajo->key()) : atajo->whatsThis()});
        }
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
