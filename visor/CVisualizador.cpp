#include "CVisualizador.h"

#include "colores.h"

#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The picture in the working directory wins, so users can replace the tiles;
// otherwise the copy built into the program, so the track shows wherever the
// viewer is started.
QPixmap cargaImagen(const QString& nombre) {
    QPixmap imagen(nombre);
    if (imagen.isNull()) {
        imagen.load(QStringLiteral(":/flechas/") + nombre);
    }
    return imagen;
}

} // namespace

CVisualizador::CVisualizador(QWidget* parent) : QWidget(parent), lote(new QRectF[kCapacidadLote]) {
    imagenes[Arriba] = cargaImagen(tr("arriba.png"));
    imagenes[Abajo] = cargaImagen(tr("abajo.png"));
    imagenes[Izquierda] = cargaImagen(tr("izquierda.png"));
    imagenes[Derecha] = cargaImagen(tr("derecha.png"));
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
    this->filas = filas;
    this->columnas = columnas;
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
    if (celdas.empty()) {
        return '5'; // no grid: everything reads as wall
    }
    // Clamped in floating point first, so that any coordinate (far outside
    // the map, or not a number) lands on a cell of the grid.
    const double columna = std::clamp(std::floor(x), 0.0, static_cast<double>(columnas - 1));
    const double fila = std::clamp(std::floor(y), 0.0, static_cast<double>(filas - 1));
    const std::size_t j = std::isnan(columna) ? 0 : static_cast<std::size_t>(columna);
    const std::size_t i = std::isnan(fila) ? 0 : static_cast<std::size_t>(fila);
    return celdas[j + i * static_cast<std::size_t>(columnas)];
}

const char* CVisualizador::colorJugador(int i) const {
    return zul::colorEtiqueta(i);
}

int CVisualizador::cantidadJugadores() const {
    return static_cast<int>(posiciones.size());
}

double CVisualizador::zoom() const {
    return factorZoom;
}

QPointF CVisualizador::centro() const {
    return centroVista;
}

void CVisualizador::cambiaZoom(double nuevoZoom) {
    factorZoom = nuevoZoom;
    if (!(nuevoZoom >= 7.0) || !std::isfinite(nuevoZoom)) {
        return;
    }
    const int lado = static_cast<int>(nuevoZoom + 1.0);
    for (int d = 0; d < NumDirecciones; ++d) {
        flechas[d] = imagenes[d].isNull() ? QPixmap()
                                          : imagenes[d].scaled(lado, lado, Qt::KeepAspectRatio,
                                                               Qt::SmoothTransformation);
    }
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

void CVisualizador::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    pintor.fillRect(rect(), Qt::black);
}
