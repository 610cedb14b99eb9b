#pragma once

#include "analisis/analisis.h"
#include "datos/eventos.h"
#include "envivo/sesion_en_vivo.h"
#include "escena/escena.h"
#include "reproduccion/depuraciones.h"
#include "reproduccion/reproduccion.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zul {
struct AspectoImagen;
}

// The replay as the window shows it, with no widget: the race, its analysis,
// live mode, the step timer, the speed, running or paused, the pause at the
// end, the followed player, the zoom and the scene options. Widgets show what
// it says and forward the user's requests to it; it tells every change by a
// signal.
class CReproductor : public QObject {
    Q_OBJECT

public:
    // The presets that the speed keys step through, in steps per second.
    static constexpr double kVelocidades[] = {0.25, 0.5, 1, 2, 5, 10, 25, 50};
    static constexpr double kZoomMinimo = 0.1;
    static constexpr double kZoomMaximo = 50.0;
    // How often live mode looks at the log, in milliseconds.
    static constexpr int kSondeoMs = 50;

    explicit CReproductor(QObject* parent = nullptr);
    ~CReproductor() override;

    // A race read whole: it replaces the one held, and nothing is on show.
    void ponCarrera(zul::Carrera carrera);
    // The standings rank by progress round this track from now on.
    void ponMapa(const zul::Mapa& mapa) { analisisCarrera.ponMapa(mapa, carrera()); }
    // The race log that live mode follows.
    void ponRuta(std::string ruta) { rutaCarrera = std::move(ruta); }
    const std::string& ruta() const { return rutaCarrera; }

    const zul::Reproduccion& reproduccion() const { return estado; }
    const zul::Carrera& carrera() const { return estado.carrera(); }
    const zul::AnalisisCarrera& analisis() const { return analisisCarrera; }
    const std::vector<zul::Evento>& eventos() const { return eventosCarrera; }
    const zul::SesionEnVivo* sesion() const { return sesionEnVivo.get(); }
    // The step timer: its interval is the speed's, and it runs while the
    // replay does.
    QTimer* temporizador() const { return temporizadorPasos; }

    // The frame on show, -1 while there is none.
    long long frame() const { return estado.frameEnPantalla(); }
    std::uint32_t numeroFrames() const { return estado.numeroFrames(); }
    bool enMarcha() const;
    bool haciaAtras() const { return atras; }
    double velocidad() const { return pasosPorSegundo; }
    double zoom() const { return factorZoom; }
    const zul::OpcionesEscena& opciones() const { return opcionesEscena; }
    // The player chosen by the user (digits, a click, a row, an event).
    int jugadorElegido() const { return elegido; }
    // The one followed player that every widget shows: the leader under the
    // Director camera (the chosen one while none is known), else the chosen
    // one.
    int jugadorSeguido() const;
    // The player the camera keeps in view: jugadorSeguido(), or -1 for the
    // whole track.
    int seguidoEnCamara() const;
    // The followed player, the zoom and the options, for a picture or a
    // video of the race as the window shows it (at the aspect's own size).
    zul::AspectoImagen aspecto() const;
    // The leader at the frame on show, -1 when not known.
    int lider() const { return liderActual; }
    // The player whose kart, drawn at this zoom on the frame on show, holds
    // the map point; -1 when none does.
    int kartEn(QPointF punto, double zoomDibujo) const;
    // The frame on show is the end of the race: its standings are final.
    bool alFinal() const;

    bool enVivo() const { return sesionEnVivo != nullptr; }
    // Live mode shows each new frame as it arrives.
    bool siguiendoLaCabeza() const;

    // The bots' debug files over the replay: read whole, or followed with
    // the log in live mode. Throws zul::ErrorFormato naming the file (and
    // the line) for one that does not parse or belongs to another race;
    // the files held stay as they were.
    void cargaDepuracion(const std::string& ruta);
    void ponDesfase(long desfase);
    const zul::Depuraciones& depuraciones() const { return archivosDepuracion; }
    // The debug turns over the frame on show, and the followed player's notes.
    QVector<const zul::TurnoDepuracion*> turnosDepuracion() const;
    QStringList notasDepuracion() const;

public slots:
    // "Pa&so": the next frame.
    void avanza();
    void retrocede();
    void irAFrame(long long f);
    // Fin: the last frame; in live mode the replay follows the head again.
    void irAlFinal();
    void salta(long long pasos);
    void ejecuta();
    void detiene();
    void alternaEjecucion();
    // Plays backwards at the same speed, down to frame 0, where it pauses;
    // again while it does, pauses.
    void ejecutaHaciaAtras();
    // The next step shows frame 0; nothing else changes.
    void reinicia();
    // Steps per second; zero, negative or non-finite speeds are ignored.
    void ponVelocidad(double pasosSegundo);
    // The next preset up (sentido > 0) or down.
    void ponVelocidadPreset(int sentido);
    void ponZoom(double zoom);
    // The zoom after `muescas` notches of the wheel or the keys (negative: out).
    void acerca(double muescas);
    // Follows player j, leaving the whole track and the Director camera.
    void sigue(int jugador);
    // Chooses player j from a list: it leaves the Director camera, whose
    // player is the leader, and keeps the whole track.
    void elige(int jugador);
    // The event at `frame` has been jumped to: its player is chosen.
    void eligeProtagonista(long long frame);
    void ponCamara(zul::Camara camara);
    void ponOpciones(const zul::OpcionesEscena& nuevas);
    // A running replay that reaches the last frame pauses there.
    void ponPausaAlFinal(bool pausa) { pausaAlFinal = pausa; }
    // The race is still being written: its last frame is not its end.
    void ponCarreraEnCurso(bool enCurso);
    // Live mode on: the race comes from the log as it is written, and the
    // replay runs at its head. Off: the rest of the log is read as a whole.
    void ponEnVivo(bool encendido);
    // One look at the log in live mode.
    void sondea();

signals:
    void frameCambiado(long long frame);
    void seguidoCambiado(int jugador);
    void enMarchaCambiado(bool enMarcha);
    void velocidadCambiada(double pasosSegundo);
    void zoomCambiado(double zoom);
    void opcionesCambiadas(const zul::OpcionesEscena& opciones);
    // Frames or shots were appended to the race.
    void carreraCrecida();
    // Another race (other players) is held now.
    void carreraSustituida();
    // Live mode went on or off, or its state (waiting, following, gone) changed.
    void enVivoCambiado();
    // Debug files were added, grew or were dropped: turns taken before are
    // no longer valid.
    void depuracionCambiada();
    // A followed debug file stopped parsing or fitting the race, and was dropped.
    void depuracionRechazada(const QString& motivo);

private:
    void tic();
    void aplica(const zul::SesionEnVivo::Novedades& novedades);
    // Tells a new frame on show: the leader, the followed player, the end.
    void anuncia();
    void avisaSeguido();
    void avisaVivo();
    void ponEnMarcha(bool enMarcha, bool haciaAtras);
    void sondeaDepuracion();

    zul::Reproduccion estado;
    zul::AnalisisCarrera analisisCarrera;
    std::vector<zul::Evento> eventosCarrera;
    // Declared after the replay and the analysis, which it fills.
    std::unique_ptr<zul::SesionEnVivo> sesionEnVivo;
    std::string rutaCarrera;
    QPointer<QTimer> temporizadorPasos;
    QTimer* sondeo = nullptr;
    double pasosPorSegundo = 1.0;
    double factorZoom = 10.0;
    bool atras = false;
    bool pausaAlFinal = false;
    bool enCurso = false;
    zul::OpcionesEscena opcionesEscena;
    int elegido = 0;
    int liderActual = -1;
    int seguidoAvisado = 0;
    // What the live mark last showed.
    int vivoAvisado = -1;
    zul::Depuraciones archivosDepuracion;
};
