#pragma once

#include "control/CReproductor.h"
#include "paneles/CPanelLateral.h"
#include "paneles/CZonaPista.h"
#include "ventana/CEnlaceReproductor.h"
#include "ventana/CTelemetria.h"

#include <QWidget>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>

class CDepuracionVentana;
class CDisposicion;
class CVisualizador;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QKeySequence;
class QResizeEvent;
class QSplitter;

// The main window: loads a race log and its map, shows the track view beside a
// panel of controls, and replays the race frame by frame. The replay itself is
// its CReproductor's; the track's pane (CZonaPista) and the side panel
// (CPanelLateral) hold the widgets, and CEnlaceReproductor connects them to
// the controller. A new feature of the window is a class of its own, made in
// the constructor beside those, and its keys go in the action table.
class CVentana : public QWidget {
    Q_OBJECT

public:
    // Every error about one of the two input files; it knows the file's path.
    class excepcionArchivo : public std::exception {
    public:
        explicit excepcionArchivo(std::string ruta) : rutaArchivo(std::move(ruta)) {}
        const std::string& ruta() const { return rutaArchivo; }

    private:
        std::string rutaArchivo;
    };

    // what() is "No se pudo abrir el archivo", followed by the reason in
    // parentheses when it is known.
    class excepcionArchivoNoAbre : public excepcionArchivo {
    public:
        explicit excepcionArchivoNoAbre(std::string ruta, std::string motivo = std::string())
            : excepcionArchivo(std::move(ruta)), motivoFallo(std::move(motivo)),
              texto(motivoFallo.empty() ? std::string(kTexto)
                                        : std::string(kTexto) + " (" + motivoFallo + ")") {}
        const char* what() const noexcept override { return texto.c_str(); }
        // Why it did not open ("no existe", ...); empty when not known.
        const std::string& motivo() const { return motivoFallo; }

        static constexpr const char* kTexto = "No se pudo abrir el archivo";

    private:
        std::string motivoFallo;
        std::string texto;
    };

    // The file opened but its content cannot be shown; what() says why.
    class excepcionArchivoInvalido : public excepcionArchivo {
    public:
        excepcionArchivoInvalido(std::string ruta, std::string motivo)
            : excepcionArchivo(std::move(ruta)), motivo(std::move(motivo)) {}
        const char* what() const noexcept override { return motivo.c_str(); }

    private:
        std::string motivo;
    };

    // How the race log is read: whole, or followed while it is written.
    enum class ModoCarrera { grabada, enVivo };

    // Throws (as pointers created with new) excepcionArchivoNoAbre when a path
    // is missing or cannot be opened, excepcionArchivoInvalido when a file
    // cannot be used. In live mode a race log that does not exist yet, or
    // holds part of its header, is waited for; the replay runs from the start.
    CVentana(const char* archivoCarrera, const char* archivoMapa, QWidget* parent = nullptr,
             ModoCarrera modo = ModoCarrera::grabada);

    // Read access for tests and tools.
    CReproductor* reproductor() const { return control; }
    const zul::Carrera& carreraGrabada() const { return control->carrera(); }
    const zul::Reproduccion& reproduccionActual() const { return control->reproduccion(); }
    CVisualizador* vista() const { return visualizador; }
    std::uint32_t frameSiguiente() const { return control->reproduccion().siguienteFrame(); }
    std::uint32_t disparoSiguiente() const { return control->reproduccion().siguienteDisparo(); }
    // Frames of the race, a partial last one included.
    std::uint32_t numeroFrames() const { return control->numeroFrames(); }
    // The frame on show, or -1 before any frame has been shown.
    long long frameMostrado() const { return control->frame(); }

    // The standings analysis of the race, grown with it in live mode.
    const zul::AnalisisCarrera& analisisCarrera() const { return control->analisis(); }
    bool enVivo() const { return control->enVivo(); }
    CMarcaEnVivo* marcaVivo() const { return enlace->marcaVivo(); }

    // Saves the track view, as it is on screen, in the format of the file's
    // extension (PNG when it has none); false, with the reason, when it
    // cannot.
    bool guardaImagenEn(const QString& ruta, QString* error = nullptr);

    // The "Jugadores" box.
    CPanelJugadores* panelJugadores() const { return lateral->jugadores(); }
    // The bots' debug drawings and notes.
    CDepuracionVentana* depuracion() const { return dibujosBots; }
    // How much the panel's fonts grow in full screen on a screen this size.
    static double escalaPantallaCompleta(QSize pantalla);

    // The kart inspector, over the track's corner.
    CFichaKart* fichaKart() const { return telemetria->ficha(); }
    CTelemetria* telemetriaVentana() const { return telemetria; }

    // Shows another run of the same map as a ghost under the race, aligned
    // by step or by the followed player's laps. A log that cannot be read
    // leaves the race as it was, with no ghost: false, with the reason
    // ("RUTA: why"). An empty path takes the ghost away.
    bool cargaFantasma(const QString& ruta, zul::Alineacion alineacion, QString* error = nullptr) {
        return telemetria->cargaFantasma(ruta, alineacion, error);
    }
    const zul::FantasmaCargado* fantasmaCargado() const { return telemetria->fantasmaCargado(); }

    // The standings table and the charts.
    CPanelClasificacion* clasificacion() const { return zona->clasificacion(); }
    // While the race is still being written (live mode) its last frame is
    // not its end: reaching it neither pauses the replay nor makes the
    // standings final.
    void ponCarreraEnCurso(bool enCurso) { control->ponCarreraEnCurso(enCurso); }
    // A running replay that reaches the last frame pauses there. Off by
    // default, where the timer runs on past the end as it always has; the
    // viewer's own windows (CGestorVentanas) turn it on.
    void ponPausaAlFinal(bool pausa) { control->ponPausaAlFinal(pausa); }

public slots:
    void step();
    void cambiaVelocidad(double frames);
    void ejecutar();
    void detener();
    void reiniciar();
    // Shows frame f at once (clamped to the race) with the shots of that
    // frame; the replay goes on from there.
    void irAFrame(long long f) { control->irAFrame(f); }
    // "Paso atras" and Left: the frame before the one on show.
    void pasoAtras() { control->retrocede(); }
    // Space: runs a paused replay and pauses a running one.
    void alternaEjecucion() { control->alternaEjecucion(); }
    // F1: a small window listing every command and its keys.
    void muestraAtajos();
    // I and a click on a kart: opens the inspector's card on player j, or
    // closes it when it already shows j.
    void alternaFicha(int jugador) { telemetria->alternaFicha(jugador); }
    // Esc: closes the card; false when it was not open.
    bool cierraFicha() { return telemetria->cierraFicha(); }

    // Follows player j, as 1-9, a click on a kart or on a name do: the whole
    // track and the Director camera give way to following it.
    void mira(int jugador) { control->sigue(jugador); }
    // The camera of the view, also from the "Cámara" selector, 0 and D.
    void ponCamara(zul::Camara camara) { control->ponCamara(camara); }
    // F11: full screen and back; the panel's fonts grow with the screen.
    void alternaPantallaCompleta();
    // H: hides or shows the side panel and the projector's options; the
    // track takes their room.
    void alternaPanel();

    // Ctrl+S: guardaImagenEn through a save dialog.
    void guardaImagen();
    // Ctrl+E: a video of the race, as CExportacionVideo asks and writes it.
    void exportaVideo();

    // "En vivo" and L: follows the race log while it is written, or stops.
    void ponEnVivo(bool encendido) { control->ponEnVivo(encendido); }

signals:
    // The replay has put a frame on show (by a step, a seek or a restart's
    // next step); -1 while there is none. Everything that follows the frame
    // on show hooks here.
    void frameEnPantalla(long long frame);
    // Two files were dropped on the window; which is the race log and which
    // the map was told by their content.
    void abrirArchivos(const QString& rutaCarrera, const QString& rutaMapa);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Reads both files into the controller and the view; a file that cannot
    // be used throws as the constructor says.
    void carga(const std::string& rutaCarrera, const std::string& rutaMapa, bool enVivo);
    // The spin boxes and buttons, to the slots (CVentana.cpp).
    void conectaControles();
    // Every command as a QAction with its keys, in one table
    // (CVentanaAcciones.cpp).
    void montaAcciones();
    QAction* accion(const QString& texto, const QKeySequence& teclas, std::function<void()> hace);

    CReproductor* control = nullptr;
    QSplitter* divisor = nullptr;
    CVisualizador* visualizador = nullptr;
    CZonaPista* zona = nullptr;
    CPanelLateral* lateral = nullptr;
    CEnlaceReproductor* enlace = nullptr;
    CDisposicion* disposicion = nullptr;
    CDepuracionVentana* dibujosBots = nullptr;
    // The kart inspector, the ghost and the telemetry charts.
    CTelemetria* telemetria = nullptr;
};
