#pragma once

#include <QPixmap>
#include <QPointF>
#include <QVector>
#include <QWidget>

#include "escena/cache_escena.h"
#include "escena/escena.h"
#include "escena/estelas.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"
#include "geometria/geometria.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

class QImage;
class QMouseEvent;
class QPaintEvent;
class QWheelEvent;

// The track view: holds the frame on show (grid, karts, shots, zoom, followed
// player) and paints it as a scene through the shared scene painter. It never repaints by itself;
// the main window repaints it on a timer, and a repaint that would draw the
// same picture as the last one shows the kept picture.
class CVisualizador : public QWidget {
    Q_OBJECT
    // For debugging dumps: the followed player and the one the camera keeps
    // in view (ringed), -1 for the whole track.
    Q_PROPERTY(int mira READ jugadorMirado)
    Q_PROPERTY(int enfocado READ jugadorEnfocado)

public:
    class excepcionFueraRango : public std::exception {
    public:
        explicit excepcionFueraRango(unsigned int indice) : indice(indice) {}
        const char* what() const noexcept override { return "Indice fuera de rango"; }
        unsigned int indice;
    };

    // Capacity of the rectangle batch that painting fills with track runs.
    static constexpr int kCapacidadLote = zul::PintorEscena::kCapacidadLote;

    explicit CVisualizador(QWidget* parent = nullptr);
    ~CVisualizador() override;

    void ponMapa(int filas, int columnas, const std::string& celdas);
    // Same, taking over the cells so that a huge grid is not held twice.
    void ponMapa(int filas, int columnas, std::string&& celdas);
    void ponNumeroJugadores(unsigned int n);
    void ponJugador(unsigned int i, QPointF posicion, double angulo, int vueltas);
    int vueltasJugador(int i) const;
    char casilla(double x, double y) const;
    const char* colorJugador(int i) const;
    int cantidadJugadores() const;
    double zoom() const;
    QPointF centro() const;

    // Read access for painting helpers and tests.
    int filasMapa() const { return filas; }
    int columnasMapa() const { return columnas; }
    const std::string& celdasMapa() const { return celdas; }
    int jugadorMirado() const { return mira; }
    int jugadorEnfocado() const;
    QPointF posicionJugador(int i) const { return posiciones.at(i); }
    double anguloJugador(int i) const { return angulos.at(i); }
    const QVector<QPointF>& iniciosRayos() const { return inicios; }
    const QVector<QPointF>& finesRayos() const { return fines; }
    bool hayRayos() const { return rayos; }
    bool estelasVisibles() const { return opciones.estelas; }
    const zul::OpcionesEscena& opcionesEscena() const { return opciones; }
    // How the picture is framed now (the camera may choose its own zoom).
    zul::Encuadre encuadre() const { return zul::encuadreDe(escena()); }

    // Camera, labels, full track and visible shots; the trails stay with
    // muestraEstelas.
    void ponOpciones(const zul::OpcionesEscena& nuevas);
    // What the scene options draw besides the frame: the names for the
    // labels, the leader for the Director camera (-1: none), and the shots of
    // the steps before.
    void ponNombres(const QStringList& nombres);
    void ponLider(int jugador);
    // The standings, leader first: the kart labels give them room first.
    void ponPuestos(const QVector<int>& orden);
    void ponRayosRecientes(const QVector<zul::RayoReciente>& recientes);
    // The bots' debug turns over the frame on show, held by their owner
    // until the next call.
    void ponDepuracion(const QVector<const zul::TurnoDepuracion*>& turnos);
    const zul::Estelas& estelas() const { return recorridos; }
    // The karts of a ghost race on this frame; empty: none.
    void ponFantasma(const zul::CapaFantasma& capa) { fantasma = capa; }
    const zul::CapaFantasma& capaFantasma() const { return fantasma; }

    // The karts' recent paths, frame after frame as the recorded race holds
    // them (see zul::Estelas); drawn under the karts while trails are on.
    void ponEstelas(const QPointF* puntos, std::size_t cuantos, int jugadores);

    // The arrow tiles in the order up, down, left, right.
    const QPixmap& flecha(int direccion) const { return flechas.flecha(direccion); }

    // What the view shows, as a scene of its size; valid while the view is
    // unchanged.
    zul::Escena escena() const;
    // The view's picture, drawn by the scene painter, as Ctrl+S saves it.
    QImage imagen();

public slots:
    void cambiaZoom(double nuevoZoom);
    void cambiaMira(int nuevaMira);
    void dibujaRayo(QPointF inicio, QPointF fin);
    void quitaRayo();
    void muestraEstelas(bool visibles);

signals:
    // The wheel turned over the track, in notches (positive: away from the
    // user, to zoom in); fine-grained wheels give fractions.
    void ruedaGirada(double muescas);
    // A left click on the track, at this map point.
    void clicEnMapa(QPointF punto);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QVector<QPointF> posiciones;
    QVector<double> angulos;
    std::string celdas;
    QPointF centroVista;
    int mira = 0;
    double factorZoom = 1.0;
    int filas = 0;
    int columnas = 0;
    std::uint64_t revisionCeldas = 0;
    zul::PintorEscena pintorEscena;
    zul::CacheEscena cache;
    zul::Flechas flechas;
    QVector<QPointF> inicios;
    QVector<QPointF> fines;
    QVector<int> vueltas;
    bool rayos = false;
    zul::Estelas recorridos;
    zul::OpcionesEscena opciones;
    QStringList nombresJugadores;
    int lider = -1;
    QVector<int> puestos;
    QVector<zul::RayoReciente> rayosRecientes;
    zul::CapaFantasma fantasma;
    QVector<const zul::TurnoDepuracion*> depuracion;
};
