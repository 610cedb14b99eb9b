// One paint of the track view into a 512 x 512 image, against a painter that
// fills one rectangle per track cell of the whole map.
#include "bancos.h"

#include "CVisualizador.h"
#include "carrera.h"
#include "colores.h"
#include "geometria.h"
#include "mapa.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zul::bench {

namespace {

constexpr int kLadoImagen = 512;

// The obvious painter: no visible range, no runs, no batch. Every track cell
// of the map is one fillRect below zoom 7, every arrow cell one drawPixmap
// from zoom 7 on, and the painter's clipping throws away what falls outside.
// The karts are drawn as the view draws them, so only the track differs.
class CVisualizadorIngenuo : public CVisualizador {
public:
    using CVisualizador::CVisualizador;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pintor(this);
        const QSize vista = size();
        pintor.fillRect(QRect(QPoint(0, 0), vista), Qt::black);
        pintor.setPen(Qt::NoPen);

        Encuadre encuadre;
        encuadre.ancla = anclaVista(vista.width(), vista.height());
        encuadre.zoom = zoom();
        encuadre.centro = posicionJugador(jugadorMirado());

        const int filas = filasMapa();
        const int columnas = columnasMapa();
        const std::string& celdas = celdasMapa();
        const QColor pista(108, 81, 81);
        const double alto = std::ceil(encuadre.zoom);
        for (int i = 0; i < filas; ++i) {
            for (int j = 0; j < columnas; ++j) {
                const char c =
                    celdas[static_cast<std::size_t>(j) +
                           static_cast<std::size_t>(i) * static_cast<std::size_t>(columnas)];
                if (encuadre.zoom < kZoomFlechas) {
                    if (c != kMuro) {
                        const double x = encuadre.X(j);
                        pintor.fillRect(
                            QRectF(x, encuadre.Y(i), std::ceil(encuadre.X(j + 1)) - x, alto),
                            pista);
                    }
                    continue;
                }
                const int d = c == '0' ? 1 : c == '1' ? 3 : c == '2' ? 0 : c == '3' ? 2 : -1;
                if (d >= 0) {
                    pintor.drawPixmap(QPointF(std::trunc(encuadre.X(j)), std::trunc(encuadre.Y(i))),
                                      flecha(d));
                }
            }
        }

        const double radio = radioDisco(encuadre.zoom);
        const double largo = largoRumbo(encuadre.zoom);
        for (int k = 0; k < cantidadJugadores(); ++k) {
            const QPointF p = encuadre.aPixel(posicionJugador(k));
            pintor.setBrush(colorDisco(k));
            if (dentroDeVista(p, vista)) {
                pintor.drawEllipse(QRectF(p.x() - radio, p.y() - radio, 2 * radio, 2 * radio));
            }
            pintor.setPen(QPen(Qt::black, 0, Qt::SolidLine));
            pintor.drawLine(QLineF(p, puntaRumbo(p, anguloJugador(k), largo)));
            pintor.setPen(Qt::NoPen);
        }
    }
};

struct Escena {
    Mapa mapa;
    std::vector<QPointF> posiciones;
    std::vector<double> angulos;
};

Escena escenaEjemplo(const std::string& ejemplos) {
    Escena escena;
    const auto abre = [](const std::string& ruta) {
        std::FILE* f = std::fopen(ruta.c_str(), "r");
        if (f == nullptr) {
            throw std::runtime_error("No se pudo abrir " + ruta);
        }
        return std::unique_ptr<std::FILE, int (*)(std::FILE*)>(f, &std::fclose);
    };
    Carrera carrera;
    leerCarrera(abre(ejemplos + "/carrera.txt").get(), carrera);
    leerMapa(abre(ejemplos + "/mapa.txt").get(), escena.mapa);
    // Mid-race, so the karts are spread along the track rather than on the grid.
    const std::size_t n = static_cast<std::size_t>(carrera.numJugadores);
    const std::size_t frame = carrera.framesCompletos() / 2;
    for (std::size_t j = 0; j < n; ++j) {
        escena.posiciones.push_back(carrera.posiciones[frame * n + j]);
        escena.angulos.push_back(carrera.angulos[frame * n + j]);
    }
    return escena;
}

// One kart in the middle of the map, so the view shows as much of it as it can.
Escena escenaAlterna(int lado) {
    Escena escena;
    const std::string texto = generaMapaAlterno(lado);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(
        fmemopen(const_cast<char*>(texto.data()), texto.size(), "r"), &std::fclose);
    if (!f) {
        throw std::runtime_error("fmemopen falló");
    }
    leerMapa(f.get(), escena.mapa);
    escena.posiciones.push_back(QPointF(lado / 2.0, lado / 2.0));
    escena.angulos.push_back(0.0);
    return escena;
}

void prepara(CVisualizador& vista, const Escena& escena, double zoom) {
    vista.resize(kLadoImagen, kLadoImagen);
    vista.ponMapa(escena.mapa.filas, escena.mapa.columnas, escena.mapa.celdas);
    vista.ponNumeroJugadores(static_cast<unsigned int>(escena.posiciones.size()));
    for (std::size_t k = 0; k < escena.posiciones.size(); ++k) {
        vista.ponJugador(static_cast<unsigned int>(k), escena.posiciones[k], escena.angulos[k], 0);
    }
    vista.cambiaMira(0);
    vista.cambiaZoom(zoom);
}

enum class Modo {
    // The followed kart moves a little before every paint, as in playback:
    // nothing of the previous picture can be reused.
    Completo,
    // Nothing changes between paints, as while the replay is paused.
    Reposo,
};

template <typename Vista>
void pinta(benchmark::State& estado, Perezoso<Escena>& escena, double zoom, Modo modo) {
    const Escena& e = escena();
    Vista vista;
    prepara(vista, e, zoom);
    QImage imagen(kLadoImagen, kLadoImagen, QImage::Format_RGB32);
    vista.render(&imagen); // loads whatever the first paint loads
    const QPointF base = e.posiciones[0];
    long vuelta = 0;
    for (auto _ : estado) {
        if (modo == Modo::Completo) {
            // A hundredth of a cell moves the picture by a fraction of a
            // pixel at most zooms.
            const double paso = (++vuelta % 2) * 0.01;
            vista.ponJugador(0, QPointF(base.x() + paso, base.y()), e.angulos[0], 0);
        }
        vista.render(&imagen);
        benchmark::DoNotOptimize(imagen.constBits());
    }
    // Something other than black must have been painted: the track or a kart.
    const QRgb negro = qRgb(0, 0, 0);
    bool pintado = false;
    for (int y = 0; y < imagen.height() && !pintado; ++y) {
        const QRgb* linea = reinterpret_cast<const QRgb*>(imagen.constScanLine(y));
        for (int x = 0; x < imagen.width(); ++x) {
            if ((linea[x] | 0xff000000u) != negro) {
                pintado = true;
                break;
            }
        }
    }
    if (!pintado) {
        estado.SkipWithError("la imagen quedó toda negra");
    }
}

} // namespace

void registraPintado(const Contexto& contexto) {
    const Tamanos t = contexto.tamanos;
    const std::string ejemplos = contexto.ejemplos;
    auto ejemplo =
        std::make_shared<Perezoso<Escena>>([ejemplos] { return escenaEjemplo(ejemplos); });
    auto alterno = std::make_shared<Perezoso<Escena>>([t] { return escenaAlterna(t.mapaAlterno); });
    const struct {
        const char* nombre;
        std::shared_ptr<Perezoso<Escena>> escena;
        double zoom;
    } casos[] = {{"ejemplo_z3", ejemplo, 3.0},
                 {"ejemplo_z10", ejemplo, 10.0},
                 {"alterno_z1", alterno, 1.0},
                 {"alterno_z0.1", alterno, 0.1}};
    for (const auto& c : casos) {
        const auto escena = c.escena;
        const double zoom = c.zoom;
        const std::string caso = c.nombre;
        benchmark::RegisterBenchmark(("BM_Pintar/" + caso).c_str(), [escena,
                                                                     zoom](benchmark::State& e) {
            pinta<CVisualizador>(e, *escena, zoom, Modo::Completo);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_PintarIngenuo/" + caso).c_str(),
                                     [escena, zoom](benchmark::State& e) {
                                         pinta<CVisualizadorIngenuo>(e, *escena, zoom,
                                                                     Modo::Completo);
                                     })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_PintarReposo/" + caso).c_str(), [escena, zoom](
                                                                              benchmark::State& e) {
            pinta<CVisualizador>(e, *escena, zoom, Modo::Reposo);
        })->Unit(benchmark::kMicrosecond);
    }
}

} // namespace zul::bench
