#include "paneles/CFichaKart.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

CFichaKart::CFichaKart(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fichaKart"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, QColor(20, 20, 20, 230));
    paleta.setColor(QPalette::WindowText, Qt::white);
    setPalette(paleta);
    texto = new QLabel(this);
    texto->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(texto);
    // Clicks go through to the track, where they pick karts.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (parent != nullptr) {
        parent->installEventFilter(this);
    }
    hide();
}

void CFichaKart::muestra(const zul::FichaKart& ficha) {
    actual = ficha.jugador;
    mostradas = QStringList{ficha.titulo} + ficha.lineas;
    texto->setText(mostradas.join(QLatin1Char('\n')));
    adjustSize();
    coloca();
    show();
    raise();
}

QStringList CFichaKart::lineas() const {
    return isVisible() ? mostradas : QStringList();
}

void CFichaKart::cierra() {
    actual = -1;
    hide();
}

bool CFichaKart::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == parent() && evento->type() == QEvent::Resize) {
        coloca();
    }
    return QFrame::eventFilter(objeto, evento);
}

void CFichaKart::coloca() {
    if (auto* padre = parentWidget()) {
        move(std::max(0, padre->width() - width() - 8), 8);
    }
}
