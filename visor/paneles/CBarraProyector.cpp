#include "paneles/CBarraProyector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The cameras in the order the selector lists them.
constexpr zul::Camara kCamaras[] = {zul::Camara::Seguir, zul::Camara::Centrado, zul::Camara::Pista,
                                    zul::Camara::Director};

} // namespace

CBarraProyector::CBarraProyector(QWidget* parent) : QWidget(parent) {
    selectorCamara = new QComboBox;
    selectorCamara->addItems({tr("Seguir"), tr("Centrado"), tr("Pista entera"), tr("Director")});
    selectorCamara->setToolTip(
        tr("Seguir: el jugador arriba a la izquierda; Centrado: en el "
           "centro; Pista entera (0): todo el mapa; Director (D): el líder"));
    casillaEtiquetas = new QCheckBox(tr("Nombres"));
    casillaPistaCompleta = new QCheckBox(tr("Pista completa"));
    casillaDisparosVisibles = new QCheckBox(tr("Disparos visibles"));
    casillaDepuracion = new QCheckBox(tr("Depuración"));
    casillaDepuracion->setChecked(true);
    casillaDepuracion->setToolTip(tr("Lo que dibujaron los bots en cada paso (B)"));
    // Only with debug files: without them the bar keeps its size.
    casillaDepuracion->hide();
    casillaEtiquetas->setToolTip(
        tr("El nombre de cada kart a su lado, o su número si hay otro muy cerca (N)"));
    casillaPistaCompleta->setToolTip(tr("Desde zoom 7, también las casillas sin flecha"));
    casillaDisparosVisibles->setToolTip(tr("Disparos más gruesos, que se apagan en unos pasos"));

    // Two short rows: the track keeps its height, and the bar fits beside
    // the panel at the smallest window.
    auto* rejilla = new QGridLayout(this);
    rejilla->setContentsMargins(4, 2, 4, 2);
    rejilla->setVerticalSpacing(0);
    auto* etiqueta = new QLabel(tr("Cámara:"));
    etiqueta->setBuddy(selectorCamara);
    rejilla->addWidget(etiqueta, 0, 0);
    rejilla->addWidget(selectorCamara, 0, 1);
    rejilla->addWidget(casillaEtiquetas, 0, 2);
    rejilla->addWidget(casillaPistaCompleta, 1, 0, 1, 2);
    rejilla->addWidget(casillaDisparosVisibles, 1, 2);
    rejilla->addWidget(casillaDepuracion, 1, 3);
    rejilla->setColumnStretch(4, 1);

    connect(selectorCamara, &QComboBox::currentIndexChanged, this, &CBarraProyector::cambiadas);
    for (QCheckBox* casilla :
         {casillaEtiquetas, casillaPistaCompleta, casillaDisparosVisibles, casillaDepuracion}) {
        connect(casilla, &QCheckBox::toggled, this, &CBarraProyector::cambiadas);
    }
}

zul::Camara CBarraProyector::camara() const {
    const int indice = selectorCamara->currentIndex();
    return indice >= 0 && indice < static_cast<int>(std::size(kCamaras)) ? kCamaras[indice]
                                                                         : zul::Camara::Seguir;
}

void CBarraProyector::ponCamara(zul::Camara camara) {
    const auto* hallada = std::find(std::begin(kCamaras), std::end(kCamaras), camara);
    selectorCamara->setCurrentIndex(static_cast<int>(hallada - std::begin(kCamaras)));
}

void CBarraProyector::muestra(const zul::OpcionesEscena& opciones) {
    const QSignalBlocker selector(selectorCamara);
    ponCamara(opciones.camara);
    const std::pair<QCheckBox*, bool> casillas[] = {
        {casillaEtiquetas, opciones.etiquetas},
        {casillaPistaCompleta, opciones.pistaCompleta},
        {casillaDisparosVisibles, opciones.disparosVisibles},
        {casillaDepuracion, opciones.depuracion}};
    for (const auto& [casilla, marcada] : casillas) {
        const QSignalBlocker sinAvisos(casilla);
        casilla->setChecked(marcada);
    }
}

zul::OpcionesEscena CBarraProyector::aplicaA(zul::OpcionesEscena base) const {
    base.camara = camara();
    base.etiquetas = casillaEtiquetas->isChecked();
    base.pistaCompleta = casillaPistaCompleta->isChecked();
    base.disparosVisibles = casillaDisparosVisibles->isChecked();
    base.depuracion = casillaDepuracion->isChecked();
    return base;
}

void CBarraProyector::alternaEtiquetas() {
    casillaEtiquetas->toggle();
}

void CBarraProyector::hayDepuracion(bool hay) {
    casillaDepuracion->setVisible(hay);
}
