#pragma once

#include "escena/escena.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

// The view's options for a projector, under the timeline: the camera
// ("Cámara"), each kart's name beside it ("Nombres"), the direction-less
// cells from the arrow zoom on ("Pista completa") and the shots drawn thicker
// and fading ("Disparos visibles"), and the bots' debug drawings
// ("Depuración", on show only while there are some). Everything off but the
// drawings, and the specified camera, at start.
class CBarraProyector : public QWidget {
    Q_OBJECT

public:
    explicit CBarraProyector(QWidget* parent = nullptr);

    zul::Camara camara() const;
    void ponCamara(zul::Camara camara);
    // Shows these options, without telling cambiadas().
    void muestra(const zul::OpcionesEscena& opciones);
    // `base` with this bar's options in it; the options the bar does not
    // show (the trails, the overlays) stay as they are.
    zul::OpcionesEscena aplicaA(zul::OpcionesEscena base) const;
    // N: the names on or off.
    void alternaEtiquetas();
    // Whether there are debug drawings whose check box to show.
    void hayDepuracion(bool hay);
    QCheckBox* casillaDeDepuracion() const { return casillaDepuracion; }

    QComboBox* selector() const { return selectorCamara; }

signals:
    // A control changed an option.
    void cambiadas();

private:
    QComboBox* selectorCamara = nullptr;
    QCheckBox* casillaEtiquetas = nullptr;
    QCheckBox* casillaPistaCompleta = nullptr;
    QCheckBox* casillaDisparosVisibles = nullptr;
    QCheckBox* casillaDepuracion = nullptr;
};
