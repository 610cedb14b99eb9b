#pragma once

#include "analisis/analisis.h"

#include <QStringList>
#include <QWidget>

class CBarraProyector;
class CLineaTiempo;
class CPanelClasificacion;
class CVisualizador;
class QBoxLayout;
class QVBoxLayout;

// The window's left pane: the track view over its timeline and the
// projector's bar, and the standings, beside the track while the track keeps
// half the window's width, else under it.
class CZonaPista : public QWidget {
    Q_OBJECT

public:
    // The standings show `analisis`, which must outlive this pane.
    CZonaPista(CVisualizador* vista, const zul::AnalisisCarrera& analisis,
               const QStringList& nombres, QWidget* parent = nullptr);

    CVisualizador* vista() const { return visualizador; }
    CLineaTiempo* lineaTiempo() const { return linea; }
    CBarraProyector* barra() const { return barraProyector; }
    CPanelClasificacion* clasificacion() const { return panelClasificacion; }
    // Under the bar: where more rows under the track go.
    QVBoxLayout* layoutPista() const { return columnaPista; }

    // Places the standings for a window `anchoVentana` wide whose side panel
    // takes `anchoPanel` of it.
    void colocaClasificacion(int anchoVentana, int anchoPanel);

private:
    CVisualizador* visualizador;
    CLineaTiempo* linea = nullptr;
    CBarraProyector* barraProyector = nullptr;
    CPanelClasificacion* panelClasificacion = nullptr;
    QVBoxLayout* columnaPista = nullptr;
    QBoxLayout* layoutZona = nullptr;
};
