#pragma once

#include "envivo/sesion_en_vivo.h"

#include <QLabel>
#include <QString>

class QEvent;

// Live mode's word over the track view: "EN VIVO" in a corner while the
// replay follows the race as it is written, or a notice when there is no
// race yet (in the middle) or its log is gone (at the top). A child of the view that keeps to its
// size; clicks go through it to the track.
class CMarcaEnVivo : public QLabel {
    Q_OBJECT

public:
    enum class Aviso {
        ninguno,
        enVivo,    // following the head
        esperando, // no race in the log yet
        borrado,   // the log was deleted; what was read stays on show
        error,     // the log cannot be read; the detail says why
        detenido,  // reading stopped at a record it cannot read; what came before stays
    };

    explicit CMarcaEnVivo(QWidget* vista);

    // `detalle` goes on a line of its own under the notice (the log's name,
    // the reason); "EN VIVO" has none.
    void muestra(Aviso aviso, const QString& detalle = QString());
    // What a live session's state calls for (none without a session):
    // "EN VIVO" while `enCabeza` and there are frames; `archivo`, the log's
    // name, in the notices.
    void muestraSesion(const zul::SesionEnVivo* sesion, bool enCabeza, bool hayFrames,
                       const QString& archivo);
    Aviso aviso() const { return actual; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void coloca();

    Aviso actual = Aviso::ninguno;
    QString detalleActual;
};
