#pragma once

#include "escena.h"
#include "eventos.h"
#include "reproduccion.h"

#include <QString>
#include <QVector>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zul {
class AnalisisCarrera;
}
class CLineaTiempo;
class ListaJugadores;
class QComboBox;
class CVisualizador;
class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QResizeEvent;
class QSpinBox;
class QSplitter;
class QTimer;
class QVBoxLayout;

// The main window: loads a race log and its map, shows the track view beside a
// panel of controls, and replays the race frame by frame.
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

    // Throws (as pointers created with new) excepcionArchivoNoAbre when a path
    // is missing or cannot be opened, excepcionArchivoInvalido when a file
    // cannot be used.
    CVentana(const char* archivoCarrera, const char* archivoMapa, QWidget* parent = nullptr);

    // Read access for tests and tools.
    const zul::Carrera& carreraGrabada() const { return reproduccion.carrera(); }
    const zul::Reproduccion& reproduccionActual() const { return reproduccion; }
    CVisualizador* vista() const { return visualizador; }
    std::uint32_t frameSiguiente() const { return reproduccion.siguienteFrame(); }
    std::uint32_t disparoSiguiente() const { return reproduccion.siguienteDisparo(); }
    // Frames of the race, a partial last one included.
    std::uint32_t numeroFrames() const { return reproduccion.numeroFrames(); }
    // The frame on show, or -1 before any frame has been shown.
    long long frameMostrado() const { return reproduccion.frameEnPantalla(); }

    ~CVentana() override;

    // Saves the track view, as it is on screen, in the format of the file's
    // extension (PNG when it has none); false, with the reason, when it
    // cannot.
    bool guardaImagenEn(const QString& ruta, QString* error = nullptr);

    ListaJugadores* listaJugadores() const { return lista; }
    // How much the panel's fonts grow in full screen on a screen this size.
    static double escalaPantallaCompleta(QSize pantalla);

public slots:
    void step();
    void cambiaVelocidad(double frames);
    void ejecutar();
    void detener();
    void reiniciar();
    // Shows frame f at once (clamped to the race) with the shots of that
    // frame; the replay goes on from there.
    void irAFrame(long long f);
    // "Paso atras" and Left: the frame before the one on show.
    void pasoAtras();
    // Space: runs a paused replay and pauses a running one.
    void alternaEjecucion();
    // F1: a small window listing every shortcut.
    void muestraAtajos();

    // Follows player j, as 1-9, a click on a kart or on a name do: the whole
    // track and the Director camera give way to following it.
    void mira(int jugador);
    // The camera of the view, also from the "Cámara" selector, 0 and D.
    void ponCamara(zul::Camara camara);
    // F11: full screen and back; the panel's fonts grow with the screen.
    void alternaPantallaCompleta();
    // H: hides or shows the side panel; the track takes its room.
    void alternaPanel();

    // Ctrl+S: guardaImagenEn through a save dialog.
    void guardaImagen();

signals:
    // Two files were dropped on the window; which is the race log and which
    // the map was told by their content.
    void abrirArchivos(const QString& rutaCarrera, const QString& rutaMapa);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    const zul::Carrera& carrera() const { return reproduccion.carrera(); }
    // Hands what the replay has on show to the view, the lap labels and the
    // timeline.
    void muestraFoto();
    QWidget* conEtiqueta(const QString& texto, QWidget* control);
    // Timeline, keyboard shortcuts and mouse on the track.
    void montaNavegacion();
    // Camera selector, labels, full track, visible shots, full screen and the
    // panel (CVentanaProyector.cpp).
    void montaProyector(QVBoxLayout* layoutVisualizacion);
    // The scene options of the check boxes and the selector, to the view.
    void aplicaOpciones();
    // What the options draw besides the frame: the leader, recent shots and
    // the marked row.
    void muestraExtras();
    // Fonts and the window's minimum size for the current screen state.
    void ajustaLetra();

    QSplitter* divisor = nullptr;
    QVBoxLayout* layoutControles = nullptr;
    QGroupBox* grupoJugadores = nullptr;
    QGroupBox* grupoControles = nullptr;
    QGroupBox* grupoVisualizacion = nullptr;
    CVisualizador* visualizador = nullptr;
    // One entry per player: a race may have any number of players.
    QVector<QLabel*> etiquetasNombres;
    QVector<QLabel*> etiquetasVueltas;
    QPushButton* botonEjecutar = nullptr;
    QPushButton* botonReiniciar = nullptr;
    QPushButton* botonPaso = nullptr;
    QPushButton* botonPausa = nullptr;
    QPushButton* botonPasoAtras = nullptr;
    CLineaTiempo* lineaTiempo = nullptr;
    QSpinBox* selectorJugador = nullptr;
    QDoubleSpinBox* selectorZoom = nullptr;
    QDoubleSpinBox* selectorVelocidad = nullptr;
    zul::Reproduccion reproduccion;
    QTimer* temporizador = nullptr;
    QCheckBox* casillaEstelas = nullptr;
    // The projector's controls and what they need.
    QWidget* panelLateral = nullptr;
    ListaJugadores* lista = nullptr;
    QComboBox* selectorCamara = nullptr;
    QCheckBox* casillaRotulos = nullptr;
    QCheckBox* casillaPistaCompleta = nullptr;
    QCheckBox* casillaDisparosVisibles = nullptr;
    std::unique_ptr<zul::AnalisisCarrera> analisis;
    std::vector<zul::Evento> eventos;
    double escalaLetra = 1.0;
};
