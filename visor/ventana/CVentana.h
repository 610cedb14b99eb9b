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

    // Read access for tests and tools: the replay, its analysis and what is
    // on show are the controller's.
    CReproductor* reproductor() const { return control; }
    CVisualizador* vista() const { return visualizador; }
    CMarcaEnVivo* marcaVivo() const { return enlace->marcaVivo(); }
    // The "Jugadores" box.
    CPanelJugadores* panelJugadores() const { return lateral->jugadores(); }
    // The standings table and the charts.
    CPanelClasificacion* clasificacion() const { return zona->clasificacion(); }
    // The bots' debug drawings and notes.
    CDepuracionVentana* depuracion() const { return dibujosBots; }
    // The kart inspector, the ghost race and the telemetry charts.
    CTelemetria* telemetriaVentana() const { return telemetria; }

    // Saves the track view, as it is on screen, in the format of the file's
    // extension (PNG when it has none); false, with the reason, when it
    // cannot.
    bool guardaImagenEn(const QString& ruta, QString* error = nullptr);

public slots:
    // The replay's own commands, which the buttons and the speed field reach.
    void step() { control->avanza(); }
    void cambiaVelocidad(double frames) { control->ponVelocidad(frames); }
    void ejecutar() { control->ejecuta(); }
    void detener() { control->detiene(); }
    void reiniciar() { control->reinicia(); }
    // F1: a small window listing every command and its keys.
    void muestraAtajos();
    // F11: full screen and back; the panel's fonts grow with the screen.
    void alternaPantallaCompleta();
    // H: hides or shows the side panel and the projector's options; the
    // track takes their room.
    void alternaPanel();
    // Ctrl+S: guardaImagenEn through a save dialog.
    void guardaImagen();
    // Ctrl+E: a video of the race, as CExportacionVideo asks and writes it.
    void exportaVideo();

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
