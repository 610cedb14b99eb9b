#include "paneles/CPanelNotas.h"

#include <QListWidget>
#include <QVBoxLayout>

CPanelNotas::CPanelNotas(QWidget* parent) : QGroupBox(tr("Notas"), parent) {
    lista = new QListWidget;
    lista->setWordWrap(true);
    lista->setSelectionMode(QAbstractItemView::NoSelection);
    lista->setFocusPolicy(Qt::NoFocus); // the keys stay with the track
    // A few rows: the panel above keeps its room in a small window.
    lista->setMinimumHeight(lista->fontMetrics().height() * 3);
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(6, 2, 6, 4);
    caja->addWidget(lista);
}

void CPanelNotas::muestra(const QStringList& notas, int jugador, long long frame) {
    setTitle(frame >= 0 ? tr("Notas del jugador %1, paso %2").arg(jugador).arg(frame)
                        : tr("Notas"));
    lista->clear();
    lista->addItems(notas);
    lista->setToolTip(notas.isEmpty() ? tr("Su bot no anotó nada en este paso") : QString());
}

QStringList CPanelNotas::notas() const {
    QStringList todas;
    for (int k = 0; k < lista->count(); ++k) {
        todas.append(lista->item(k)->text());
    }
    return todas;
}
