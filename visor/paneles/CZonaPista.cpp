#include "paneles/CZonaPista.h"

#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CVisualizador.h"

#include <QBoxLayout>
#include <QVBoxLayout>

CZonaPista::CZonaPista(CVisualizador* vista, const zul::AnalisisCarrera& analisis,
                       const QStringList& nombres, QWidget* parent)
    : QWidget(parent), visualizador(vista) {
    // The track view over its timeline and the bar.
    auto* pista = new QWidget;
    columnaPista = new QVBoxLayout(pista);
    columnaPista->setContentsMargins(0, 0, 0, 0);
    columnaPista->setSpacing(0);
    columnaPista->addWidget(visualizador, 1);
    linea = new CLineaTiempo;
    columnaPista->addWidget(linea);
    barraProyector = new CBarraProyector;
    columnaPista->addWidget(barraProyector);
    // The standings take the track's width while they are on show.
    layoutZona = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layoutZona->setContentsMargins(0, 0, 0, 0);
    layoutZona->addWidget(pista, 1);
    panelClasificacion = new CPanelClasificacion(analisis, nombres);
    panelClasificacion->hide();
    layoutZona->addWidget(panelClasificacion);
}

void CZonaPista::colocaClasificacion(int anchoVentana, int anchoPanel) {
    panelClasificacion->ajustaAlAncho(anchoVentana - anchoPanel);
    const bool alLado =
        anchoVentana - anchoPanel - panelClasificacion->anchoCompleto() >= anchoVentana / 2;
    if (alLado == panelClasificacion->estaDebajo()) {
        panelClasificacion->ponDebajo(!alLado);
        layoutZona->setDirection(alLado ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    }
}
