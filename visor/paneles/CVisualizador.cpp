#include "paneles/CVisualizador.h"

#include "escena/camara.h"
#include "geometria/casillas.h"
#include "geometria/colores.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

CVisualizador::CVisualizador(QWidget* parent) : QWidget(parent) {}

CVisualizador::~CVisualizador() = default;

void CVisualizador::ponMapa(int filas, int columnas, const std::string& celdas) {
    ponMapa(filas, columnas,
            std::string(celdas, 0,
                        static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas)));
}

void CVisualizador::ponMapa(int filas, int columnas, std::string&& celdas) {
    this->celdas = std::move(celdas);
    this->celdas.resize(static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas));
    this->filas = filas;
    this->columnas = columnas;
    ++revisionCeldas;
}

void CVisualizador::ponNumeroJugadores(unsigned int n) {
    const auto cuantos = static_cast<qsizetype>(n);
    posiciones.resize(cuantos);
    angulos.resize(cuantos);
    vueltas.resize(cuantos);
}

void CVisualizador::ponJugador(unsigned int i, QPointF posicion, double angulo, int vueltas) {
    if (i >= static_cast<unsigned int>(posiciones.size())) {
        throw new excepcionFueraRango(i);
    }
    posiciones[i] = posicion;
    angulos[i] = angulo;
    this->vueltas[i] = vueltas;
}

int CVisualizador::vueltasJugador(int i) const {
    return vueltas[i];
}

char CVisualizador::casilla(double x, double y) const {
    return zul::casillaEn(celdas, filas, columnas, x, y);
}

const char* CVisualizador::colorJugador(int i) const {
    return zul::colorEtiqueta(i);
}

int CVisualizador::cantidadJugadores() const {
    return static_cast<int>(posiciones.size());
}

int CVisualizador::jugadorEnfocado() const {
    return zul::jugadorEnfocado(escena());
}

double CVisualizador::zoom() const {
    return factorZoom;
}

QPointF CVisualizador::centro() const {
    return centroVista;
}

void CVisualizador::cambiaZoom(double nuevoZoom) {
    factorZoom = nuevoZoom;
    flechas.ajustaA(nuevoZoom);
}

void CVisualizador::cambiaMira(int nuevaMira) {
    mira = nuevaMira;
}

void CVisualizador::dibujaRayo(QPointF inicio, QPointF fin) {
    inicios.append(inicio);
    fines.append(fin);
    rayos = true;
}

void CVisualizador::quitaRayo() {
    inicios.clear();
    fines.clear();
    rayos = false;
}

void CVisualizador::ponEstelas(const QPointF* puntos, std::size_t cuantos, int jugadores) {
    recorridos.pon(puntos, cuantos, jugadores);
}

void CVisualizador::muestraEstelas(bool visibles) {
    opciones.estelas = visibles;
}

void CVisualizador::ponOpciones(const zul::OpcionesEscena& nuevas) {
    opciones = nuevas;
}

void CVisualizador::ponNombres(const QStringList& nombres) {
    nombresJugadores = nombres;
}

void CVisualizador::ponLider(int jugador) {
    lider = jugador;
}

void CVisualizador::ponPuestos(const QVector<int>& orden) {
    puestos = orden;
}

void CVisualizador::ponRayosRecientes(const QVector<zul::RayoReciente>& recientes) {
    rayosRecientes = recientes;
}

void CVisualizador::ponDepuracion(const QVector<const zul::TurnoDepuracion*>& turnos) {
    depuracion = turnos;
}

zul::Escena CVisualizador::escena() const {
    zul::Escena escena;
    escena.tamano = size();
    escena.zoom = factorZoom;
    escena.mira = mira;
    escena.filas = filas;
    escena.columnas = columnas;
    escena.celdas = celdas;
    escena.revisionCeldas = revisionCeldas;
    escena.posiciones = posiciones;
    escena.angulos = angulos;
    if (rayos) {
        escena.iniciosRayos = inicios;
        escena.finesRayos = fines;
    }
    escena.estelas = &recorridos;
    escena.flechas = &flechas;
    escena.opciones = opciones;
    escena.nombres = nombresJugadores;
    escena.lider = lider;
    escena.fantasma = fantasma;
    if (opciones.etiquetas) {
        escena.puestos = puestos;
    }
    if (opciones.disparosVisibles) {
        escena.rayosRecientes = rayosRecientes;
    }
    escena.depuracion = depuracion;
    return escena;
}

QImage CVisualizador::imagen() {
    QImage imagen(size(), QImage::Format_RGB32);
    if (imagen.isNull()) {
        return imagen;
    }
    QPainter pintor(&imagen);
    const zul::Escena actual = escena();
    centroVista = zul::encuadreDe(actual).centro;
    flechas.ajustaA(zul::encuadreDe(actual).zoom);
    pintorEscena.pinta(pintor, actual);
    return imagen;
}

void CVisualizador::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    const zul::Escena actual = escena();
    centroVista = zul::encuadreDe(actual).centro;
    // The whole-track camera frames at a zoom of its own; the same side is
    // not scaled again.
    flechas.ajustaA(zul::encuadreDe(actual).zoom);
    pintor.drawImage(QPoint(0, 0), cache.imagen(actual, pintorEscena, devicePixelRatioF()));
}

void CVisualizador::wheelEvent(QWheelEvent* event) {
    const double muescas = event->angleDelta().y() / 120.0;
    if (muescas != 0.0) {
        emit ruedaGirada(muescas);
    }
    event->accept();
}

void CVisualizador::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The frame as it is on show now: the next paint uses the same centre.
    emit clicEnMapa(zul::encuadreDe(escena()).aMapa(event->position()));
    event->accept();
}
