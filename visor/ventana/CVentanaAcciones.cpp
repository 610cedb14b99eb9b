// The window's commands: one table of actions, each with its text, keys and
// status tip, which the F1 list reads back.
#include "paneles/CBarraProyector.h"
#include "paneles/CLineaTiempo.h"
#include "paneles/CPanelClasificacion.h"
#include "ventana/CDepuracionVentana.h"
#include "ventana/CDialogoAtajos.h"
#include "ventana/CDisposicion.h"
#include "ventana/CVentana.h"

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>

#include <functional>

QAction* CVentana::accion(const QString& texto, const QKeySequence& teclas,
                          std::function<void()> hace) {
    auto* nueva = new QAction(texto, this);
    nueva->setShortcut(teclas);
    nueva->setStatusTip(texto);
    connect(nueva, &QAction::triggered, this, std::move(hace));
    addAction(nueva);
    return nueva;
}

void CVentana::montaAcciones() {
    CReproductor* r = control;
    accion(tr("Ejecutar o pausar"), Qt::Key_Space, [r] { r->alternaEjecucion(); });
    accion(tr("Un paso adelante"), Qt::Key_Right, [this] { step(); });
    accion(tr("Un paso atrás"), Qt::Key_Left, [r] { r->retrocede(); });
    accion(tr("Primer paso"), Qt::Key_Home, [r] { r->irAFrame(0); });
    accion(tr("Último paso; en vivo, seguir la carrera de nuevo"), Qt::Key_End,
           [r] { r->irAlFinal(); });
    accion(tr("10 pasos adelante"), Qt::Key_PageUp, [r] { r->salta(10); });
    accion(tr("10 pasos atrás"), Qt::Key_PageDown, [r] { r->salta(-10); });
    accion(tr("Más velocidad: 1, 2, 5, 10, 25, 50 pasos/s"), Qt::Key_Greater,
           [r] { r->ponVelocidadPreset(1); });
    accion(tr("Menos velocidad"), Qt::Key_Less, [r] { r->ponVelocidadPreset(-1); });
    accion(tr("Hacia atrás hasta el paso 0, o pausa"), Qt::Key_Backspace,
           [r] { r->ejecutaHaciaAtras(); });
    accion(tr("Acercar (más zoom)"), Qt::Key_Plus, [r] { r->acerca(1.0); });
    accion(tr("Alejar (menos zoom)"), Qt::Key_Minus, [r] { r->acerca(-1.0); });
    for (int k = 1; k <= 9; ++k) {
        accion(tr("Mirar al jugador 0 … 8 (1 → 0, 9 → 8)"), Qt::Key_0 + k,
               [r, k] { r->sigue(k - 1); });
    }
    accion(tr("Evento anterior"), Qt::Key_BracketLeft,
           [this] { zona->lineaTiempo()->eventoAnterior(); });
    accion(tr("Evento siguiente"), Qt::Key_BracketRight,
           [this] { zona->lineaTiempo()->eventoSiguiente(); });
    accion(tr("Cámara «Pista entera»: todo el mapa"), Qt::Key_0,
           [r] { r->ponCamara(zul::Camara::Pista); });
    accion(tr("Cámara «Director»: sigue al líder"), Qt::Key_D,
           [r] { r->ponCamara(zul::Camara::Director); });
    accion(tr("Nombres de los karts"), Qt::Key_N, [this] { zona->barra()->alternaEtiquetas(); });
    accion(tr("Mostrar u ocultar la clasificación"), Qt::Key_C,
           [this] { disposicion->alternaClasificacion(); });
    accion(tr("Abrir o cerrar las gráficas"), Qt::Key_G,
           [this] { zona->clasificacion()->alternaGraficas(); });
    accion(tr("Encender o apagar el modo en vivo"), Qt::Key_L,
           [this] { lateral->casillaEnVivo()->toggle(); });
    dibujosBots->ponAccion(accion(tr("Depuración: mostrar u ocultar los dibujos de los bots"),
                                  Qt::Key_B, [this] { dibujosBots->alterna(); }));
    accion(tr("Copiar la orden de zulprueba que repite este paso del jugador seguido"),
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { dibujosBots->copiaOrden(); });
    accion(tr("Pantalla completa"), Qt::Key_F11, [this] { alternaPantallaCompleta(); });
    accion(tr("Ocultar o mostrar el panel"), Qt::Key_H, [this] { alternaPanel(); });
    QAction* trazada = accion(tr("Trazada por velocidad"), Qt::Key_V, [r] {
        zul::OpcionesEscena opciones = r->opciones();
        opciones.trazadaVelocidad = !opciones.trazadaVelocidad;
        r->ponOpciones(opciones);
    });
    trazada->setCheckable(true);
    trazada->setObjectName(QStringLiteral("trazadaVelocidad"));
    connect(r, &CReproductor::opcionesCambiadas, trazada,
            [trazada](const zul::OpcionesEscena& o) { trazada->setChecked(o.trazadaVelocidad); });
    accion(tr("Ficha del kart seguido (otra vez: cerrarla)"), Qt::Key_I,
           [this] { telemetria->alternaFicha(control->jugadorSeguido()); });
    accion(tr("Cerrar la ficha del kart, salir de un campo o de la pantalla completa"),
           Qt::Key_Escape, [this] {
               if (telemetria->cierraFicha()) {
                   return;
               }
               if (isFullScreen()) {
                   alternaPantallaCompleta();
               }
           });
    accion(tr("Guardar la vista como imagen"), QKeySequence(Qt::CTRL | Qt::Key_S),
           [this] { guardaImagen(); });
    accion(tr("Exportar vídeo…"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { exportaVideo(); });
    accion(tr("Esta lista de atajos"), Qt::Key_F1, [this] { muestraAtajos(); });
}

void CVentana::muestraAtajos() {
    CDialogoAtajos::muestraSobre(this);
}
