#include "geometria/geometria.h"

#include <algorithm>
#include <cmath>

namespace zul {

namespace {

bool finito(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

bool cercano(QPointF p) {
    return finito(p) && std::abs(p.x()) < kLejosMaximo && std::abs(p.y()) < kLejosMaximo;
}

// The top and bottom of the blocks of row i, cut to the view widened by one
// pixel; false when nothing of them is left.
bool franjaFila(const Encuadre& encuadre, int fila, QSize vista, double& arriba, double& abajo) {
    const double alto = vista.height() + 1.0;
    arriba = std::clamp(encuadre.Y(fila), -1.0, alto);
    abajo = std::clamp(encuadre.Y(fila) + std::ceil(encuadre.zoom), -1.0, alto);
    return abajo > arriba;
}

} // namespace

QPointF Encuadre::aMapa(QPointF pixel) const {
    if (!(zoom > 0.0) || !std::isfinite(zoom)) {
        const double nan = std::nan("");
        return QPointF(nan, nan);
    }
    return QPointF(centro.x() + (pixel.x() - ancla) / zoom,
                   centro.y() + (pixel.y() - ancla) / zoom);
}

Encuadre encuadra(QSize vista, double zoom, QPointF centro) {
    Encuadre encuadre;
    encuadre.ancla = anclaVista(vista.width(), vista.height());
    encuadre.zoom = zoom;
    encuadre.centro = centro;
    return encuadre;
}

double anclaVista(int ancho, int alto) {
    return std::min(ancho, alto) * 0.5;
}

QPointF eligeCentro(const QVector<QPointF>& posiciones, int mira, int filas, int columnas) {
    if (mira >= 0 && mira < posiciones.size() && finito(posiciones[mira])) {
        return posiciones[mira];
    }
    if (filas > 0 && columnas > 0) {
        return QPointF(columnas * 0.5, filas * 0.5);
    }
    return QPointF(0.0, 0.0);
}

Rango rangoVisible(double ancla, double centro, double zoom, int cuantas, int limite) {
    if (cuantas <= 0 || !(zoom > 0.0) || !std::isfinite(zoom)) {
        return Rango{};
    }
    const auto borde = [&](int k) { return ancla + (static_cast<double>(k) - centro) * zoom; };
    // Each rounded step of borde() is monotonic in k, so each test below holds
    // from some k on (or up to some k) and a bisection finds the same end as
    // walking the whole dimension would, in about 31 steps however many cells
    // a header declares. A centre that is not a number holds nowhere.
    const auto primera = [&](auto cumple) { // the least k in [0, cuantas] where cumple holds
        int bajo = 0;
        int alto = cuantas;
        while (bajo < alto) {
            const int medio = bajo + (alto - bajo) / 2;
            if (cumple(medio)) {
                alto = medio;
            } else {
                bajo = medio + 1;
            }
        }
        return bajo;
    };
    const int inicio = primera([&](int k) { return borde(k) + 2.0 * zoom >= 0.0; });
    const int fin =
        primera([&](int k) { return !(borde(k) - zoom < static_cast<double>(limite)); });
    return Rango{inicio, fin};
}

Rango filasVisibles(const Encuadre& encuadre, int filas, int alto) {
    return rangoVisible(encuadre.ancla, encuadre.centro.y(), encuadre.zoom, filas, alto);
}

Rango columnasVisibles(const Encuadre& encuadre, int columnas, int ancho) {
    return rangoVisible(encuadre.ancla, encuadre.centro.x(), encuadre.zoom, columnas, ancho);
}

QRectF rectanguloTramo(const Encuadre& encuadre, int fila, Tramo tramo, QSize vista) {
    double arriba = 0.0;
    double abajo = 0.0;
    if (!franjaFila(encuadre, fila, vista, arriba, abajo)) {
        return QRectF();
    }
    const double ancho = vista.width() + 1.0;
    const double izquierda = std::clamp(encuadre.X(tramo.inicio), -1.0, ancho);
    const double derecha = std::clamp(std::ceil(encuadre.X(tramo.fin + 1)), -1.0, ancho);
    if (!(derecha > izquierda)) {
        return QRectF();
    }
    return QRectF(QPointF(izquierda, arriba), QPointF(derecha, abajo));
}

bool filaFueraDeVista(const Encuadre& encuadre, int fila, QSize vista) {
    double arriba = 0.0;
    double abajo = 0.0;
    return !franjaFila(encuadre, fila, vista, arriba, abajo);
}

bool esquinaBaldosa(const Encuadre& encuadre, int fila, int columna, QSize baldosa, QSize vista,
                    QPoint& esquina) {
    const double x = std::trunc(encuadre.X(columna));
    const double y = std::trunc(encuadre.Y(fila));
    if (!(x < vista.width() && y < vista.height() && x + baldosa.width() > 0.0 &&
          y + baldosa.height() > 0.0)) {
        return false;
    }
    esquina = QPoint(static_cast<int>(x), static_cast<int>(y));
    return true;
}

double radioDisco(double zoom) {
    const double medida = 2.5 * zoom;
    return medida > 6.0 ? std::min(std::ceil(medida), kLargoMaximo) : 6.0;
}

double largoRumbo(double zoom) {
    const double medida = 2.5 * zoom;
    return medida > 6.0 ? std::min(medida, kLargoMaximo) : 6.0;
}

bool dentroDeVista(QPointF punto, QSize vista) {
    return punto.x() >= 0.0 && punto.x() < vista.width() && punto.y() >= 0.0 &&
           punto.y() < vista.height();
}

QPointF puntaRumbo(QPointF punto, double angulo, double largo) {
    return QPointF(punto.x() + std::cos(angulo) * largo, punto.y() + std::sin(angulo) * largo);
}

bool recortaSegmento(QLineF& linea, const QRectF& caja) {
    const QPointF a = linea.p1();
    const QPointF b = linea.p2();
    if (!cercano(a) || !cercano(b)) {
        return false;
    }
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    // Liang-Barsky: the line is a + t (b - a) for t in [0, 1]; each side of the
    // box narrows that interval.
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - caja.left(), caja.right() - a.x(), a.y() - caja.top(),
                         caja.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return false; // parallel to this side and outside it
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    linea = QLineF(t0 > 0.0 ? QPointF(a.x() + t0 * dx, a.y() + t0 * dy) : a,
                   t1 < 1.0 ? QPointF(a.x() + t1 * dx, a.y() + t1 * dy) : b);
    return true;
}

QRectF cajaRecorte(QSize vista) {
    return QRectF(-4.0, -4.0, vista.width() + 8.0, vista.height() + 8.0);
}

} // namespace zul
