#include "ventana/CEnlaceReproductor.h"

#include "control/CReproductor.h"
#include "datos/nombres.h"
#include "escena/escena_frame.h"
#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CMarcaEnVivo.h"
#include "paneles/CPanelClasificacion.h"
#include "paneles/CPanelJugadores.h"
#include "paneles/CPanelLateral.h"
#include "paneles/CVisualizador.h"
#include "paneles/CZonaPista.h"
#include "paneles/filtro_selectores.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <initializer_list>

CEnlaceReproductor::CEnlaceReproductor(CReproductor* control, CPanelLateral* lateral,
                                       CZonaPista* zona, QObject* parent)
    : QObject(parent), control(control), lateral(lateral), zona(zona), vista(zona->vista()) {
    montaFilasJugadores();
    marca = new CMarcaEnVivo(vista);
    conectaControl();
    conectaPeticiones();
    conectaPista();
    muestraEnVivo();
}

QStringList CEnlaceReproductor::nombresJugadores() const {
    return zul::textosNombres(control->carrera().nombres);
}

void CEnlaceReproductor::montaFilasJugadores() {
    nombres = nombresJugadores();
    QVector<QString> codigos;
    for (int i = 0; i < nombres.size(); ++i) {
        codigos.append(QString::fromLatin1(vista->colorJugador(i)));
    }
    lateral->jugadores()->ponJugadores(nombres, codigos);
    // The event marks name the players in their tooltips.
    zona->lineaTiempo()->ponCarrera(control->numeroFrames(), control->eventos(), nombres);
    lateral->ponNumeroJugadores(control->carrera().numJugadores);
    zona->clasificacion()->ponNombres(nombres);
}

void CEnlaceReproductor::conectaControl() {
    connect(control, &CReproductor::frameCambiado, this, &CEnlaceReproductor::muestraFoto);
    connect(control, &CReproductor::seguidoCambiado, this, &CEnlaceReproductor::muestraSeguido);
    connect(control, &CReproductor::opcionesCambiadas, this, &CEnlaceReproductor::muestraOpciones);
    connect(control, &CReproductor::carreraCrecida, this, &CEnlaceReproductor::carreraCrecida);
    connect(control, &CReproductor::carreraSustituida, this,
            &CEnlaceReproductor::carreraSustituida);
    connect(control, &CReproductor::enVivoCambiado, this, &CEnlaceReproductor::muestraEnVivo);
    connect(control, &CReproductor::depuracionCambiada, this, &CEnlaceReproductor::muestraEscena);
    connect(control, &CReproductor::enMarchaCambiado, lateral, &CPanelLateral::muestraEnMarcha);
    connect(control, &CReproductor::zoomCambiado, this, [this](double zoom) {
        const QSignalBlocker sinAvisos(lateral->selectorZoom());
        lateral->selectorZoom()->setValue(zoom);
        vista->cambiaZoom(zoom);
    });
    connect(control, &CReproductor::velocidadCambiada, this, [this](double velocidad) {
        const QSignalBlocker sinAvisos(lateral->selectorVelocidad());
        lateral->selectorVelocidad()->setValue(velocidad);
    });
}

void CEnlaceReproductor::conectaPeticiones() {
    // The fields and the lists ask; what is shown comes back from the
    // controller.
    connect(lateral->selectorJugador(), &QSpinBox::valueChanged, control, &CReproductor::elige);
    connect(lateral->selectorZoom(), &QDoubleSpinBox::valueChanged, control,
            &CReproductor::ponZoom);
    CPanelClasificacion* tabla = zona->clasificacion();
    connect(tabla, &CPanelClasificacion::jugadorElegido, control, &CReproductor::elige);
    connect(tabla, &CPanelClasificacion::frameElegido, control, &CReproductor::irAFrame);
    connect(lateral->jugadores(), &CPanelJugadores::jugadorElegido, control, &CReproductor::sigue);
    connect(zona->lineaTiempo(), &CLineaTiempo::frameElegido, control, &CReproductor::irAFrame);
    // An event jump follows the player the event is about.
    connect(zona->lineaTiempo(), &CLineaTiempo::eventoElegido, control,
            &CReproductor::eligeProtagonista);
    connect(lateral->botonPasoAtras(), &QPushButton::clicked, control, &CReproductor::retrocede);
    connect(lateral->casillaEstelas(), &QCheckBox::toggled, control, [this](bool visibles) {
        zul::OpcionesEscena opciones = control->opciones();
        opciones.estelas = visibles;
        control->ponOpciones(opciones);
    });
    connect(lateral->casillaEnVivo(), &QCheckBox::toggled, control, &CReproductor::ponEnVivo);
    CBarraProyector* barra = zona->barra();
    connect(barra, &CBarraProyector::cambiadas, control,
            [this, barra] { control->ponOpciones(barra->aplicaA(control->opciones())); });
}

void CEnlaceReproductor::conectaPista() {
    connect(vista, &CVisualizador::ruedaGirada, control, &CReproductor::acerca);
    connect(vista, &CVisualizador::clicEnMapa, control, [this](QPointF punto) {
        // At the zoom the camera frames with, which the whole track chooses.
        control->sigue(control->kartEn(punto, vista->encuadre().zoom));
    });
    auto* filtro = new FiltroSelectores(vista, this);
    // Enter in a number field hands the keys back to the track, so that 1-9
    // and the other shortcuts work again.
    for (QAbstractSpinBox* selector : std::initializer_list<QAbstractSpinBox*>{
             lateral->selectorJugador(), lateral->selectorZoom(), lateral->selectorVelocidad()}) {
        selector->installEventFilter(filtro);
        connect(selector, &QAbstractSpinBox::editingFinished, this, [this, selector] {
            if (selector->hasFocus()) {
                vista->setFocus(Qt::OtherFocusReason);
            }
        });
    }
    // A click on the track takes the focus out of any field.
    vista->setFocusPolicy(Qt::ClickFocus);
}

void CEnlaceReproductor::muestraEscena() {
    zul::Escena base;
    base.zoom = control->zoom();
    base.mira = control->jugadorSeguido();
    base.nombres = nombres;
    base.opciones = control->opciones();
    zul::CapasEscena capas;
    capas.depuracion = control->turnosDepuracion();
    vista->muestra(zul::escenaDeFrame(std::move(base), control->reproduccion(),
                                      control->reproduccion().enPantalla(), &control->analisis(),
                                      estelas, std::move(capas)));
}

void CEnlaceReproductor::muestraFoto() {
    muestraEscena();
    const zul::Foto& foto = control->reproduccion().enPantalla();
    if (foto.frame >= 0) {
        for (std::size_t j = 0; j < foto.karts.size(); ++j) {
            lateral->jugadores()->ponVueltas(static_cast<int>(j), foto.karts[j].vueltas);
        }
        zona->lineaTiempo()->muestraFrame(foto.frame);
    }
    zona->clasificacion()->muestraFrame(foto.frame, control->alFinal());
    emit frameEnPantalla(foto.frame);
}

void CEnlaceReproductor::muestraSeguido() {
    const int seguido = control->jugadorSeguido();
    {
        const QSignalBlocker sinAvisos(lateral->selectorJugador());
        lateral->selectorJugador()->setValue(seguido);
    }
    vista->cambiaMira(seguido);
    zona->clasificacion()->ponJugadorSeguido(seguido);
    lateral->jugadores()->marca(control->seguidoEnCamara());
}

void CEnlaceReproductor::muestraOpciones() {
    const zul::OpcionesEscena& opciones = control->opciones();
    vista->ponOpciones(opciones);
    zona->barra()->muestra(opciones);
    {
        const QSignalBlocker sinAvisos(lateral->casillaEstelas());
        lateral->casillaEstelas()->setChecked(opciones.estelas);
    }
    muestraEscena();
    // The whole track marks no row.
    muestraSeguido();
}

void CEnlaceReproductor::carreraCrecida() {
    zona->lineaTiempo()->ponCarrera(control->numeroFrames(), control->eventos(),
                                    nombresJugadores());
    zona->clasificacion()->analisisActualizado();
}

void CEnlaceReproductor::carreraSustituida() {
    montaFilasJugadores();
    // Nothing of the race before stays drawn.
    muestraEscena();
    muestraSeguido();
}

void CEnlaceReproductor::muestraEnVivo() {
    {
        const QSignalBlocker sinAvisos(lateral->casillaEnVivo());
        lateral->casillaEnVivo()->setChecked(control->enVivo());
    }
    marca->muestraSesion(control->sesion(), control->siguiendoLaCabeza(),
                         control->numeroFrames() > 0,
                         QFileInfo(QFile::decodeName(control->ruta().c_str())).fileName());
}
