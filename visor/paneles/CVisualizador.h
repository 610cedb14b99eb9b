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

// The track view: holds the scene on show (zul::escenaDeFrame makes it) on its
// own grid and tiles, at its own size, and paints it through the shared scene
// painter. The slots change single fields of it. It never repaints by itself;
// the main window repaints it on a timer, and a repaint that would draw the
// same picture as the last one shows the kept picture.
class CVisualizador : public QWidget {
    Q_OBJECT
    // For debugging dumps: the followed player and the one the camera keeps
    // in view (ringed), -1 for the whole track.
    Q_PROPERTY(int mira READ jugadorSeguido)
    Q_PROPERTY(int enfocado READ seguidoEnCamara)

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
    int filasMapa() const { return actual.filas; }
    int columnasMapa() const { return actual.columnas; }
    const std::string& celdasMapa() const { return celdas; }
    int jugadorSeguido() const { return actual.mira; }
    int seguidoEnCamara() const;
    QPointF posicionJugador(int i) const { return actual.posiciones.at(i); }
    double anguloJugador(int i) const { return actual.angulos.at(i); }
    const QVector<QPointF>& iniciosDisparos() const { return actual.iniciosDisparos; }
    const QVector<QPointF>& finesDisparos() const { return actual.finesDisparos; }
    bool hayDisparos() const { return !actual.iniciosDisparos.isEmpty(); }
    bool estelasVisibles() const { return actual.opciones.estelas; }
    const zul::OpcionesEscena& opcionesEscena() const { return actual.opciones; }
    // How the picture is framed now (the camera may choose its own zoom).
    zul::Encuadre encuadre() const { return zul::encuadreDe(escena()); }

    // Camera, labels, full track and visible shots; the trails stay with
    // muestraEstelas.
    void ponOpciones(const zul::OpcionesEscena& nuevas);
    // The trails on show.
    const zul::Estelas& estelas() const;
    // The karts of a ghost race on this frame, kept over every scene shown
    // until the next call; empty: none.
    void ponFantasma(const zul::CapaFantasma& capa);
    const zul::CapaFantasma& capaFantasma() const { return fantasma; }

    // The karts' recent paths, frame after frame as the recorded race holds
    // them (see zul::Estelas); drawn under the karts while trails are on.
    void ponEstelas(const QPointF* puntos, std::size_t cuantos, int jugadores);

    // Shows the frame of this scene, as zul::escenaDeFrame made it, on the
    // view's own grid and tiles, at its size, zoom, followed player and
    // options. Data it points to (the trails) must outlive it, until the
    // next scene.
    void muestra(zul::Escena escena);

    // The arrow tiles in the order up, down, left, right.
    const QPixmap& flecha(int direccion) const { return flechas.flecha(direccion); }

    // What the view shows, as a scene of its size; valid while the view is
    // unchanged. Without a grid of its own, the scene's tiles and cells are
    // the view's.
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
    // Everything but its size, which is the view's own at painting.
    zul::Escena actual;
    std::string celdas;
    QPointF centroVista;
    zul::PintorEscena pintorEscena;
    zul::CacheEscena cache;
    zul::Flechas flechas;
    // The trails set by ponEstelas; a scene shown may point to others.
    zul::Estelas recorridos;
    zul::CapaFantasma fantasma;
};
