#include "escena/colocacion_etiquetas.h"

#include <algorithm>
#include <array>

namespace zul {

namespace {

bool libre(const QRectF& caja, const std::vector<EtiquetaColocada>& puestas) {
    return std::none_of(puestas.begin(), puestas.end(),
                        [&](const EtiquetaColocada& otra) { return caja.intersects(otra.caja); });
}

bool cubreDisco(const QRectF& caja, const std::vector<PedidoEtiqueta>& pedidos, int propio,
                double radio) {
    for (const PedidoEtiqueta& otro : pedidos) {
        if (otro.jugador != propio &&
            caja.intersects(
                QRectF(otro.punto.x() - radio, otro.punto.y() - radio, 2.0 * radio, 2.0 * radio))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<EtiquetaColocada> colocaEtiquetas(const std::vector<PedidoEtiqueta>& pedidos,
                                              const ReglasEtiquetas& reglas,
                                              const std::function<double(const QString&)>& ancho) {
    std::vector<EtiquetaColocada> puestas;
    puestas.reserve(pedidos.size());
    const QRectF cuadro(QPointF(0.0, 0.0), reglas.tamano);
    const double h = reglas.alto;
    const double s = reglas.separacion;
    for (const PedidoEtiqueta& pedido : pedidos) {
        const QPointF p = pedido.punto;
        const auto sitios = [&](double w) {
            // Boxes to the left stop at the picture's left edge rather than
            // leave it; in a narrow picture that is where a name fits.
            const double xIzquierda = std::max(0.0, p.x() - s - w);
            const double xMedio =
                std::clamp(p.x() - w / 2.0, 0.0, std::max(0.0, cuadro.width() - w));
            const QRectF derecha(p.x() + s, p.y() - h / 2.0, w, h);
            const QRectF izquierda(xIzquierda, p.y() - h / 2.0, w, h);
            const QRectF arribaDerecha(p.x() + s, p.y() - s - h, w, h);
            const QRectF arribaIzquierda(xIzquierda, p.y() - s - h, w, h);
            const QRectF abajoDerecha(p.x() + s, p.y() + s, w, h);
            const QRectF abajoIzquierda(xIzquierda, p.y() + s, w, h);
            const QRectF arriba(xMedio, p.y() - s - h, w, h);
            const QRectF abajo(xMedio, p.y() + s, w, h);
            if (reglas.arribaPrimero) {
                return std::array<QRectF, 8>{arribaDerecha, arribaIzquierda, derecha, izquierda,
                                             abajoDerecha,  abajoIzquierda,  arriba,  abajo};
            }
            return std::array<QRectF, 8>{derecha,         izquierda,    arribaDerecha,
                                         arribaIzquierda, abajoDerecha, abajoIzquierda,
                                         arriba,          abajo};
        };
        const auto acepta = [&](const QRectF& caja, bool dentro, bool sobreDiscos) {
            return (dentro ? cuadro.contains(caja) : cuadro.intersects(caja)) &&
                   libre(caja, puestas) &&
                   (sobreDiscos || !cubreDisco(caja, pedidos, pedido.jugador, reglas.radio));
        };
        const double anchoLargo = ancho(pedido.largo) + 2.0 * reglas.relleno;
        const double anchoCorto = ancho(pedido.corto) + 2.0 * reglas.relleno;
        const auto largos = sitios(anchoLargo);
        const auto cortos = sitios(anchoCorto);
        const auto pon = [&](const QString& texto, const QRectF& caja) {
            puestas.push_back({pedido.jugador, texto, caja});
            return true;
        };
        bool puesta = false;
        // Each place in turn: the long text whole in the picture and clear of
        // the discs; where only a disc is in its way, the short one there.
        for (std::size_t i = 0; i < largos.size() && !puesta && !pedido.largo.isEmpty(); ++i) {
            if (acepta(largos[i], true, false)) {
                puesta = pon(pedido.largo, largos[i]);
            } else if (acepta(largos[i], true, true) && acepta(cortos[i], true, false)) {
                puesta = pon(pedido.corto, cortos[i]);
            }
        }
        // Then ever less fussy: the short text anywhere in the picture, the
        // texts cut by its edge, and last the short one over other discs;
        // the first kart served (the followed one) keeps its name over them.
        struct Intento {
            bool largo, dentro, sobreDiscos, soloPrimero;
        };
        const bool primero = &pedido == &pedidos.front();
        for (const Intento intento :
             {Intento{false, true, false, false}, Intento{true, false, false, false},
              Intento{false, false, false, false}, Intento{true, true, true, true},
              Intento{false, true, true, false}, Intento{false, false, true, false}}) {
            const QString& texto = intento.largo ? pedido.largo : pedido.corto;
            if (puesta || texto.isEmpty() || (intento.soloPrimero && !primero)) {
                continue;
            }
            for (const QRectF& caja : intento.largo ? largos : cortos) {
                if (acepta(caja, intento.dentro, intento.sobreDiscos)) {
                    puesta = pon(texto, caja);
                    break;
                }
            }
        }
    }
    return puestas;
}

std::vector<int> prioridadEtiquetas(int seguido, const QVector<int>& puestos, int jugadores) {
    std::vector<int> orden;
    std::vector<bool> visto(static_cast<std::size_t>(std::max(jugadores, 0)), false);
    const auto anade = [&](int j) {
        if (j >= 0 && j < jugadores && !visto[static_cast<std::size_t>(j)]) {
            visto[static_cast<std::size_t>(j)] = true;
            orden.push_back(j);
        }
    };
    anade(seguido);
    for (const int j : puestos) {
        anade(j);
    }
    for (int j = 0; j < jugadores; ++j) {
        anade(j);
    }
    return orden;
}

} // namespace zul
