#include "paneles/CMarcaEnVivo.h"

#include <QEvent>

#include <algorithm>

namespace {

constexpr int kMargen = 8;

} // namespace

CMarcaEnVivo::CMarcaEnVivo(QWidget* vista) : QLabel(vista) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    hide();
    vista->installEventFilter(this);
}

void CMarcaEnVivo::muestraSesion(const zul::SesionEnVivo* sesion, bool enCabeza, bool hayFrames,
                                 const QString& archivo) {
    if (sesion == nullptr) {
        muestra(Aviso::ninguno);
        return;
    }
    using Estado = zul::SeguidorCarrera::Estado;
    switch (sesion->estado()) {
    case Estado::esperando:
        muestra(Aviso::esperando, archivo);
        break;
    case Estado::siguiendo:
        muestra(hayFrames && enCabeza ? Aviso::enVivo : Aviso::ninguno);
        break;
    case Estado::borrado:
        muestra(Aviso::borrado, archivo);
        break;
    case Estado::detenido:
        muestra(Aviso::detenido,
                archivo + QStringLiteral(": ") + QString::fromUtf8(sesion->motivo().c_str()));
        break;
    case Estado::error:
        muestra(Aviso::error,
                archivo + QStringLiteral(": ") + QString::fromUtf8(sesion->motivo().c_str()));
        break;
    }
}

void CMarcaEnVivo::muestra(Aviso aviso, const QString& detalle) {
    if (aviso == actual && detalle == detalleActual) {
        return; // called on every tick: nothing to lay out again
    }
    actual = aviso;
    detalleActual = detalle;
    QString texto;
    // Bold and large enough to read on a projector from the back of a room.
    QString estilo = QStringLiteral("color: white; font-weight: bold; border-radius: 4px; ");
    switch (aviso) {
    case Aviso::ninguno:
        hide();
        return;
    case Aviso::enVivo:
        texto = tr("EN VIVO");
        estilo += QStringLiteral("background: rgb(200, 0, 0); padding: 4px 10px; font-size: 16pt;");
        break;
    case Aviso::esperando:
        texto = tr("Esperando la carrera…");
        estilo +=
            QStringLiteral("background: rgba(0, 0, 0, 170); padding: 10px 16px; font-size: 16pt;");
        break;
    case Aviso::borrado:
        texto = tr("Se borró el registro de carrera; se conserva lo leído.");
        estilo += QStringLiteral(
            "background: rgba(120, 70, 0, 200); padding: 6px 12px; font-size: 11pt;");
        break;
    case Aviso::detenido:
        texto = tr("La lectura del registro de carrera se detuvo; se muestra lo leído.");
        estilo += QStringLiteral(
            "background: rgba(120, 70, 0, 200); padding: 6px 12px; font-size: 11pt;");
        break;
    case Aviso::error:
        texto = tr("No se puede leer el registro de carrera.");
        estilo +=
            QStringLiteral("background: rgba(140, 0, 0, 200); padding: 6px 12px; font-size: 11pt;");
        break;
    }
    if (!detalle.isEmpty()) {
        texto += QLatin1Char('\n') + detalle;
    }
    setStyleSheet(estilo);
    setText(texto);
    coloca();
    show();
    raise();
}

bool CMarcaEnVivo::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == parentWidget() && evento->type() == QEvent::Resize) {
        coloca();
    }
    return QLabel::eventFilter(objeto, evento);
}

void CMarcaEnVivo::coloca() {
    const QWidget* vista = parentWidget();
    if (vista == nullptr || actual == Aviso::ninguno) {
        return;
    }
    const int ancho = std::max(1, vista->width() - 2 * kMargen);
    setWordWrap(false);
    QSize tamano = sizeHint();
    if (tamano.width() > ancho) {
        // A long path wraps rather than running off the view.
        setWordWrap(true);
        tamano = QSize(ancho, heightForWidth(ancho));
    }
    resize(tamano);
    if (actual == Aviso::enVivo) {
        move(vista->width() - width() - kMargen, kMargen);
    } else if (actual == Aviso::esperando) {
        move((vista->width() - width()) / 2, (vista->height() - height()) / 2);
    } else {
        move((vista->width() - width()) / 2, kMargen);
    }
}
