#include "paneles/CVisualizador.h"

#include "escena/camara.h"
#include "escena/escena_frame.h"
#include "geometria/casillas.h"
#include "geometria/colores.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

CVisualizador::CVisualizador(QWidget* parent) : QWidget(parent) {
    actual.estelas = &recorridos;
    actual.flechas = &flechas;
}

CVisualizador::~CVisualizador() = default;

void CVisualizador::ponMapa(int filas, int columnas, const std::string& celdas) {
    ponMapa(filas, columnas,
            std::string(celdas, 0,
                        static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas)));
}

void CVisualizador::ponMapa(int filas, int columnas, std::string&& celdas) {
    this->celdas = std::move(celdas);
    this->celdas.resize(static_cast<std::size_t>(filas) * static_cast<std::size_t>(columnas));
    actual.filas = filas;
    actual.columnas = columnas;
    actual.celdas = this->celdas;
    ++actual.revisionCeldas;
}

void CVisualizador::ponNumeroJugadores(unsigned int n) {
    const auto cuantos = static_cast<qsizetype>(n);
    actual.posiciones.resize(cuantos);
    actual.angulos.resize(cuantos);
    actual.vueltas.resize(cuantos);
}

void CVisualizador::ponJugador(unsigned int i, QPointF posicion, double angulo, int vueltas) {
    if (i >= static_cast<unsigned int>(actual.posiciones.size())) {
        throw new excepcionFueraRango(i);
    }
    actual.posiciones[i] = posicion;
    actual.angulos[i] = angulo;
    actual.vueltas[i] = vueltas;
}

int CVisualizador::vueltasJugador(int i) const {
    return actual.vueltas[i];
}

char CVisualizador::casilla(double x, double y) const {
    return zul::casillaEn(celdas, actual.filas, actual.columnas, x, y);
}

const char* CVisualizador::colorJugador(int i) const {
    return zul::colorEtiqueta(i);
}

int CVisualizador::cantidadJugadores() const {
    return static_cast<int>(actual.posiciones.size());
}

int CVisualizador::seguidoEnCamara() const {
    return zul::seguidoEnCamara(escena());
}

double CVisualizador::zoom() const {
    return actual.zoom;
}

QPointF CVisualizador::centro() const {
    return centroVista;
}

void CVisualizador::cambiaZoom(double nuevoZoom) {
    actual.zoom = nuevoZoom;
    flechas.ajustaA(nuevoZoom);
}

void CVisualizador::cambiaMira(int nuevaMira) {
    actual.mira = nuevaMira;
}

void CVisualizador::dibujaRayo(QPointF inicio, QPointF fin) {
    actual.iniciosDisparos.append(inicio);
    actual.finesDisparos.append(fin);
}

void CVisualizador::quitaRayo() {
    actual.iniciosDisparos.clear();
    actual.finesDisparos.clear();
}

void CVisualizador::ponEstelas(const QPointF* puntos, std::size_t cuantos, int jugadores) {
    recorridos.pon(puntos, cuantos, jugadores);
    actual.estelas = &recorridos;
}

const zul::Estelas& CVisualizador::estelas() const {
    return actual.estelas != nullptr ? *actual.estelas : recorridos;
}

void CVisualizador::muestraEstelas(bool visibles) {
    actual.opciones.estelas = visibles;
}

void CVisualizador::ponOpciones(const zul::OpcionesEscena& nuevas) {
    actual.opciones = nuevas;
}

void CVisualizador::muestra(zul::Escena escena) {
    // The grid, the tiles and how they are looked at stay the view's, which
    // its slots set.
    zul::ponFondo(escena, actual.zoom, actual.mira, actual.opciones, actual.filas, actual.columnas,
                  actual.celdas, actual.revisionCeldas, &flechas);
    if (escena.estelas == nullptr) {
        escena.estelas = &recorridos;
    }
    // The window's ghost race is laid by its telemetry, frame by frame.
    if (escena.fantasma.karts.isEmpty()) {
        escena.fantasma = fantasma;
    }
    actual = std::move(escena);
}

void CVisualizador::ponFantasma(const zul::CapaFantasma& capa) {
    fantasma = capa;
    actual.fantasma = capa;
}

zul::Escena CVisualizador::escena() const {
    zul::Escena escena = actual;
    escena.tamano = size();
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
