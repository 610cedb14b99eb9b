#include "ventana/CEnlaceReproductor.h"

#include "control/CReproductor.h"
#include "datos/nombres.h"
#include "geometria/interaccion.h"
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
    const QStringList nombres = nombresJugadores();
    QVector<QString> codigos;
    for (int i = 0; i < nombres.size(); ++i) {
        codigos.append(QString::fromLatin1(vista->colorJugador(i)));
    }
    lateral->jugadores()->ponJugadores(nombres, codigos);
    vista->ponNombres(nombres);
    // The event marks name the players in their tooltips.
    zona->lineaTiempo()->ponCarrera(control->numeroFrames(), control->eventos(), nombres);
    lateral->ponNumeroJugadores(control->carrera().numJugadores);
}

void CEnlaceReproductor::conectaControl() {
    connect(control, &CReproductor::frameCambiado, this, &CEnlaceReproductor::muestraFoto);
    connect(control, &CReproductor::seguidoCambiado, this, &CEnlaceReproductor::muestraSeguido);
    connect(control, &CReproductor::opcionesCambiadas, this, &CEnlaceReproductor::muestraOpciones);
    connect(control, &CReproductor::carreraCrecida, this, &CEnlaceReproductor::carreraCrecida);
    connect(control, &CReproductor::carreraSustituida, this,
            &CEnlaceReproductor::carreraSustituida);
    connect(control, &CReproductor::enVivoCambiado, this, &CEnlaceReproductor::muestraEnVivo);
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
    connect(vista, &CVisualizador::ruedaGirada, control, [this](double muescas) {
        control->ponZoom(zul::zoomTrasMuescas(control->zoom(), muescas));
    });
    connect(vista, &CVisualizador::clicEnMapa, control, [this](QPointF punto) {
        QVector<QPointF> posiciones;
        for (int j = 0; j < vista->cantidadJugadores(); ++j) {
            posiciones.append(vista->posicionJugador(j));
        }
        // At the zoom the camera frames with, which the whole track chooses.
        control->sigue(zul::kartEnPunto(posiciones, punto, vista->encuadre().zoom));
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

void CEnlaceReproductor::muestraFoto() {
    vista->quitaRayo();
    const zul::Foto& foto = control->reproduccion().enPantalla();
    if (foto.frame >= 0) {
        for (std::size_t j = 0; j < foto.karts.size(); ++j) {
            const zul::EstadoKart& kart = foto.karts[j];
            vista->ponJugador(static_cast<unsigned int>(j), kart.posicion, kart.angulo,
                              kart.vueltas);
            lateral->jugadores()->ponVueltas(static_cast<int>(j),
                                             vista->vueltasJugador(static_cast<int>(j)));
        }
        zona->lineaTiempo()->muestraFrame(foto.frame);
        // The view draws the trails from the race's own records, so it keeps
        // no history.
        vista->ponEstelas(foto.estela, foto.largoEstela, control->carrera().numJugadores);
        for (std::size_t k = foto.primerDisparo; k < foto.finDisparos; ++k) {
            const zul::Disparo& disparo = control->carrera().disparos[k];
            vista->dibujaRayo(disparo.inicio, disparo.fin);
        }
    }
    vista->ponLider(control->lider());
    muestraPuestos();
    vista->ponRayosRecientes(control->rayosRecientes());
    zona->clasificacion()->muestraFrame(foto.frame, control->alFinal());
    emit frameEnPantalla(foto.frame);
}

void CEnlaceReproductor::muestraPuestos() {
    // Only the kart labels need the whole standings: they give the leaders
    // room first.
    QVector<int> orden;
    const long long frame = control->frame();
    if (control->opciones().etiquetas && frame >= 0 && control->analisis().framesAnalizados() > 0) {
        for (const zul::Puesto& puesto : control->analisis().clasificacion(frame)) {
            orden.append(puesto.jugador);
        }
    }
    vista->ponPuestos(orden);
}

void CEnlaceReproductor::muestraSeguido() {
    const int seguido = control->jugadorSeguido();
    {
        const QSignalBlocker sinAvisos(lateral->selectorJugador());
        lateral->selectorJugador()->setValue(seguido);
    }
    vista->cambiaMira(seguido);
    zona->clasificacion()->ponJugadorSeguido(seguido);
    lateral->jugadores()->marca(control->jugadorEnfocado());
}

void CEnlaceReproductor::muestraOpciones() {
    const zul::OpcionesEscena& opciones = control->opciones();
    vista->ponOpciones(opciones);
    zona->barra()->muestra(opciones);
    {
        const QSignalBlocker sinAvisos(lateral->casillaEstelas());
        lateral->casillaEstelas()->setChecked(opciones.estelas);
    }
    vista->ponRayosRecientes(control->rayosRecientes());
    muestraPuestos();
    // The whole track marks no row.
    muestraSeguido();
}

void CEnlaceReproductor::carreraCrecida() {
    zona->lineaTiempo()->ponCarrera(control->numeroFrames(), control->eventos(),
                                    nombresJugadores());
    zona->clasificacion()->analisisActualizado();
}

void CEnlaceReproductor::carreraSustituida() {
    const int n = std::max(control->carrera().numJugadores, 0);
    montaFilasJugadores();
    vista->ponNumeroJugadores(static_cast<unsigned int>(n));
    // The trails of the race before must not stay drawn.
    vista->ponEstelas(nullptr, 0, n);
    vista->quitaRayo();
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
