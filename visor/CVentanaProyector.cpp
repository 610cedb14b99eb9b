// The window's projector side: cameras, kart labels, full track, visible
// shots, full screen and the panel that can be hidden.
#include "CVentana.h"

#include "CDialogoAtajos.h"
#include "CLineaTiempo.h"
#include "CVisualizador.h"
#include "analisis.h"
#include "camara.h"
#include "disparos_recientes.h"
#include "lista_jugadores.h"
#include "protagonista.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

// The cameras in the order the selector lists them.
constexpr zul::Camara kCamaras[] = {zul::Camara::Seguir, zul::Camara::Centrado, zul::Camara::Pista,
                                    zul::Camara::Director};

} // namespace

void CVentana::montaProyector(QVBoxLayout* layoutVisualizacion) {
    selectorCamara = new QComboBox;
    selectorCamara->addItems({tr("Seguir"), tr("Centrado"), tr("Pista entera"), tr("Director")});
    selectorCamara->setToolTip(
        tr("Seguir: el jugador arriba a la izquierda; Centrado: en el "
           "centro; Pista entera (0): todo el mapa; Director (D): el líder"));
    layoutVisualizacion->addWidget(conEtiqueta(tr("Cámara:"), selectorCamara));
    casillaRotulos = new QCheckBox(tr("Rótulos"));
    casillaPistaCompleta = new QCheckBox(tr("Pista completa"));
    casillaDisparosVisibles = new QCheckBox(tr("Disparos visibles"));
    casillaRotulos->setToolTip(tr("El nombre de cada kart a su lado (N)"));
    casillaPistaCompleta->setToolTip(tr("Desde zoom 7, también las casillas sin flecha"));
    casillaDisparosVisibles->setToolTip(tr("Disparos más gruesos, que se apagan en unos pasos"));
    // Two a row, so the panel fits a 512-pixel-high window.
    auto* casillas = new QGridLayout;
    casillas->addWidget(casillaEstelas, 0, 0);
    casillas->addWidget(casillaRotulos, 0, 1);
    casillas->addWidget(casillaPistaCompleta, 1, 0);
    casillas->addWidget(casillaDisparosVisibles, 1, 1);
    layoutVisualizacion->addLayout(casillas);

    connect(selectorCamara, &QComboBox::currentIndexChanged, this, [this] { aplicaOpciones(); });
    for (QCheckBox* casilla : {casillaRotulos, casillaPistaCompleta, casillaDisparosVisibles}) {
        connect(casilla, &QCheckBox::toggled, this, [this] { aplicaOpciones(); });
    }
    connect(selectorJugador, &QSpinBox::valueChanged, this, [this] { muestraExtras(); });
    connect(lista, &ListaJugadores::jugadorElegido, this, &CVentana::mira);
    // An event jump follows the player the event is about; the whole track
    // already shows it, so there only the marked player changes.
    connect(lineaTiempo, &CLineaTiempo::eventoElegido, this, [this](long long frame) {
        const int j =
            zul::protagonistaEvento(reproduccion, eventos, frame, selectorJugador->value());
        if (j < 0) {
            return;
        }
        if (visualizador->opcionesEscena().camara == zul::Camara::Pista) {
            selectorJugador->setValue(j);
        } else {
            mira(j);
        }
    });

    const auto atajo = [this](QKeySequence teclas, const QString& tecla, const QString& accion,
                              std::function<void()> hace) {
        auto* nuevo = new QShortcut(teclas, this);
        nuevo->setObjectName(CDialogoAtajos::kNombreAtajo);
        nuevo->setProperty("tecla", tecla);
        nuevo->setWhatsThis(accion);
        connect(nuevo, &QShortcut::activated, this, std::move(hace));
    };
    atajo(Qt::Key_0, tr("0"), tr("Cámara «Pista entera»: todo el mapa"),
          [this] { ponCamara(zul::Camara::Pista); });
    atajo(Qt::Key_D, tr("D"), tr("Cámara «Director»: sigue al líder"),
          [this] { ponCamara(zul::Camara::Director); });
    atajo(Qt::Key_N, tr("N"), tr("Rótulos de los karts"), [this] { casillaRotulos->toggle(); });
    atajo(Qt::Key_F11, tr("F11"), tr("Pantalla completa"), [this] { alternaPantallaCompleta(); });
    atajo(Qt::Key_H, tr("H"), tr("Ocultar o mostrar el panel"), [this] { alternaPanel(); });
    atajo(Qt::Key_Escape, tr("Esc"), tr("Salir de un campo o de la pantalla completa"), [this] {
        if (isFullScreen()) {
            alternaPantallaCompleta();
        }
    });
}

void CVentana::aplicaOpciones() {
    zul::OpcionesEscena opciones = visualizador->opcionesEscena();
    const int indice = selectorCamara->currentIndex();
    opciones.camara = indice >= 0 && indice < static_cast<int>(std::size(kCamaras))
                          ? kCamaras[indice]
                          : zul::Camara::Seguir;
    opciones.rotulos = casillaRotulos->isChecked();
    opciones.pistaCompleta = casillaPistaCompleta->isChecked();
    opciones.disparosVisibles = casillaDisparosVisibles->isChecked();
    visualizador->ponOpciones(opciones);
    muestraExtras();
}

void CVentana::muestraExtras() {
    if (lista == nullptr) {
        return; // still building
    }
    const long long frame = reproduccion.frameEnPantalla();
    const zul::OpcionesEscena& opciones = visualizador->opcionesEscena();
    int lider = -1;
    if (opciones.camara == zul::Camara::Director && frame >= 0) {
        // Built when first needed; a race that grew (live) is taken in.
        if (!analisis) {
            analisis = std::make_unique<zul::AnalisisCarrera>(carrera());
        } else if (analisis->framesAnalizados() <
                   static_cast<long long>(carrera().framesCompletos())) {
            analisis->extiende(carrera());
        }
        const std::vector<zul::Puesto> puestos = analisis->clasificacion(frame);
        lider = puestos.empty() ? -1 : puestos.front().jugador;
    }
    visualizador->ponLider(lider);
    QVector<zul::RayoReciente> recientes;
    if (opciones.disparosVisibles && frame >= 0) {
        for (const zul::DisparoReciente& d :
             zul::disparosRecientes(reproduccion, frame, zul::kPasosRayoVisible)) {
            const zul::Disparo& disparo = carrera().disparos[d.indice];
            recientes.append({disparo.inicio, disparo.fin, d.edad});
        }
    }
    visualizador->ponRayosRecientes(recientes);
    lista->marca(zul::jugadorEnfocado(visualizador->escena()));
}

void CVentana::mira(int jugador) {
    // A player the race does not have is no reason to follow another one.
    if (jugador < 0 || jugador >= carrera().numJugadores) {
        return;
    }
    const zul::Camara camara = visualizador->opcionesEscena().camara;
    if (camara == zul::Camara::Pista || camara == zul::Camara::Director) {
        ponCamara(zul::Camara::Seguir);
    }
    selectorJugador->setValue(jugador);
    muestraExtras();
}

void CVentana::ponCamara(zul::Camara camara) {
    const auto* hallada = std::find(std::begin(kCamaras), std::end(kCamaras), camara);
    selectorCamara->setCurrentIndex(static_cast<int>(hallada - std::begin(kCamaras)));
}

void CVentana::alternaPantallaCompleta() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

void CVentana::alternaPanel() {
    panelLateral->setVisible(!panelLateral->isVisible());
    ajustaLetra();
}

double CVentana::escalaPantallaCompleta(QSize pantalla) {
    // 1280 x 720 and smaller keep the usual fonts; a 1080p projector gets
    // half as large again.
    return std::clamp(std::min(pantalla.width() / 1280.0, pantalla.height() / 720.0), 1.0, 2.5);
}

void CVentana::ajustaLetra() {
    // In full screen the panel and the timeline grow with the screen, as far
    // as the panel still fits in its height.
    double escala = isFullScreen() ? escalaPantallaCompleta(size()) : 1.0;
    QFont letra = QApplication::font(this);
    const double base = letra.pointSizeF() > 0 ? letra.pointSizeF() : 9.0;
    for (;; escala -= 0.125) {
        escala = std::max(escala, 1.0);
        if (escala != escalaLetra) {
            letra.setPointSizeF(base * escala);
            panelLateral->setFont(escala == 1.0 ? QFont() : letra);
            lineaTiempo->setFont(escala == 1.0 ? QFont() : letra);
            escalaLetra = escala;
            lista->ajusta();
        }
        if (escala == 1.0 || panelLateral->minimumSizeHint().height() <= height()) {
            break;
        }
    }
    // Never smaller than what shows every control whole; a full-screen
    // window is the screen's size anyway.
    if (!isFullScreen()) {
        setMinimumSize(divisor->minimumSizeHint().expandedTo(QSize(1, 1)));
    }
}
