#include "CVisualizador.h"

#include "colores.h"
#include "geometria.h"
#include "salida.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The picture in the working directory wins, so users can replace the tiles;
// then the installed one beside the program; otherwise the copy built into
// the program, so the track shows wherever the viewer is started.
QPixmap cargaImagen(const QString& nombre) {
    QPixmap imagen(nombre);
    if (imagen.isNull()) {
        const QString instalada = zul::rutaDatosInstalados(nombre);
        if (!instalada.isEmpty() && QFileInfo::exists(instalada)) {
            imagen.load(instalada);
        }
    }
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
    // Past kLadoMaximo a tile would outgrow any view (and its pixel count any
    // allocation): the tiles are left as they are.
    constexpr double kLadoMaximo = 16384.0;
    if (!(nuevoZoom >= 7.0) || !(nuevoZoom < kLadoMaximo)) {
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

void CVisualizador::ponEstelas(const QPointF* puntos, std::size_t cuantos, int jugadores) {
    recorridos.pon(puntos, cuantos, jugadores);
}

void CVisualizador::muestraEstelas(bool visibles) {
    conEstelas = visibles;
}

void CVisualizador::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    const QSize vista = size();
    pintor.fillRect(QRect(QPoint(0, 0), vista), Qt::black);
    pintor.setPen(Qt::NoPen);

    centroVista = zul::eligeCentro(posiciones, mira, filas, columnas);
    zul::Encuadre encuadre;
    encuadre.ancla = zul::anclaVista(vista.width(), vista.height());
    encuadre.zoom = factorZoom;
    encuadre.centro = centroVista;

    const zul::Rango filasV = zul::filasVisibles(encuadre, filas, vista.height());
    const zul::Rango columnasV = zul::columnasVisibles(encuadre, columnas, vista.width());
    if (!filasV.vacio() && !columnasV.vacio()) {
        pintor.setBrush(QColor(108, 81, 81));
        if (factorZoom < zul::kZoomFlechas) {
            pintaBloques(pintor, encuadre, filasV, columnasV);
        } else {
            pintaFlechas(pintor, encuadre, filasV, columnasV);
        }
    }

    if (conEstelas) {
        recorridos.pinta(pintor, encuadre, vista); // under the karts
    }

    const QPen lineaRumbo(Qt::black, 0, Qt::SolidLine);
    const QRectF caja = zul::cajaRecorte(vista);
    const double largo = zul::largoRumbo(factorZoom);
    for (int k = 0; k < posiciones.size(); ++k) {
        pintor.setBrush(zul::colorDisco(k));
        const QPointF punto = encuadre.aPixel(posiciones[k]);
        dibujaKart(pintor, punto);
        pintor.setBrush(Qt::black);
        pintor.setPen(lineaRumbo);
        QLineF rumbo(punto, zul::puntaRumbo(punto, angulos[k], largo));
        if (zul::recortaSegmento(rumbo, caja)) {
            pintor.drawLine(rumbo);
        }
        pintor.setPen(Qt::NoPen);
    }

    if (rayos) {
        pintor.setPen(QPen(Qt::yellow, 0, Qt::SolidLine));
        const int cuantos = static_cast<int>(std::min(inicios.size(), fines.size()));
        for (int k = 0; k < cuantos; ++k) {
            QLineF rayo(encuadre.aPixel(inicios[k]), encuadre.aPixel(fines[k]));
            if (zul::recortaSegmento(rayo, caja)) {
                pintor.drawLine(rayo);
            }
        }
    }
}

void CVisualizador::pintaBloques(QPainter& pintor, const zul::Encuadre& encuadre, zul::Rango filasV,
                                 zul::Rango columnasV) {
    const QSize vista = size();
    const std::size_t ancho = static_cast<std::size_t>(columnas);
    int enLote = 0;
    const auto guarda = [&](const QRectF& bloque) {
        // A full batch is drawn and reused, so no run is ever left out.
        if (enLote == kCapacidadLote) {
            pintor.drawRects(lote.get(), enLote);
            enLote = 0;
        }
        lote[static_cast<std::size_t>(enLote++)] = bloque;
    };
    for (int i = filasV.inicio; i < filasV.fin; ++i) {
        if (zul::filaFueraDeVista(encuadre, i, vista)) {
            continue;
        }
        const char* fila = celdas.data() + static_cast<std::size_t>(i) * ancho;
        zul::bloquesFila(encuadre, i, fila, columnasV, vista, guarda);
    }
    if (enLote > 0) {
        pintor.drawRects(lote.get(), enLote);
    }
}

void CVisualizador::pintaFlechas(QPainter& pintor, const zul::Encuadre& encuadre, zul::Rango filasV,
                                 zul::Rango columnasV) {
    const QSize vista = size();
    const std::size_t ancho = static_cast<std::size_t>(columnas);
    for (int i = filasV.inicio; i < filasV.fin; ++i) {
        // The visible ranges lie inside the grid, so its cells are read directly.
        const char* fila = celdas.data() + static_cast<std::size_t>(i) * ancho;
        for (int j = columnasV.inicio; j < columnasV.fin; ++j) {
            const QPixmap* baldosa = nullptr;
            switch (fila[j]) {
            case '0':
                baldosa = &flechas[Abajo];
                break;
            case '1':
                baldosa = &flechas[Derecha];
                break;
            case '2':
                baldosa = &flechas[Arriba];
                break;
            case '3':
                baldosa = &flechas[Izquierda];
                break;
            default:
                continue;
            }
            QPoint esquina;
            if (!baldosa->isNull() &&
                zul::esquinaBaldosa(encuadre, i, j, baldosa->size(), vista, esquina)) {
                pintor.drawPixmap(esquina, *baldosa);
            }
        }
    }
}

void CVisualizador::dibujaKart(QPainter& pintor, QPointF punto) {
    if (!zul::dentroDeVista(punto, size())) {
        return;
    }
    const double radio = zul::radioDisco(factorZoom);
    pintor.drawEllipse(QRectF(punto.x() - radio, punto.y() - radio, 2.0 * radio, 2.0 * radio));
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
    zul::Encuadre encuadre;
    encuadre.ancla = zul::anclaVista(width(), height());
    encuadre.zoom = factorZoom;
    encuadre.centro = zul::eligeCentro(posiciones, mira, filas, columnas);
    emit clicEnMapa(encuadre.aMapa(event->position()));
    event->accept();
}
