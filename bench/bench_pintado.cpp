// One paint of the track scene into a 512 x 512 image, against a painter that
// fills one rectangle per track cell of the whole map.
#include "bancos.h"

#include "datos/carrera.h"
#include "datos/mapa.h"
#include "escena/cache_escena.h"
#include "escena/escena.h"
#include "escena/flechas.h"
#include "escena/pintor_escena.h"
#include "geometria/casillas.h"
#include "geometria/geometria.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace zul::bench {

namespace {

constexpr int kLadoImagen = 512;

// The obvious painter: no visible range, no runs, no batch. Every track cell
// of the map is one fillRect below zoom 7, every arrow cell one drawPixmap
// from zoom 7 on, and the painter's clipping throws away what falls outside.
// The karts and shots are drawn by the scene painter, so only the track
// differs.
class PintorIngenuo {
public:
    void pinta(QPainter& pintor, const Escena& escena) {
        pintor.fillRect(QRect(QPoint(0, 0), escena.tamano), Qt::black);
        pintor.setPen(Qt::NoPen);
        const Encuadre encuadre = encuadreDe(escena);
        const QColor pista(108, 81, 81);
        const double alto = std::ceil(encuadre.zoom);
        for (int i = 0; i < escena.filas; ++i) {
            for (int j = 0; j < escena.columnas; ++j) {
                const char c = escena.celdas[static_cast<std::size_t>(j) +
                                             static_cast<std::size_t>(i) *
                                                 static_cast<std::size_t>(escena.columnas)];
                if (encuadre.zoom < kZoomFlechas) {
                    if (c != kMuro) {
                        const double x = encuadre.X(j);
                        pintor.fillRect(
                            QRectF(x, encuadre.Y(i), std::ceil(encuadre.X(j + 1)) - x, alto),
                            pista);
                    }
                    continue;
                }
                const Baldosa d = baldosaDe(c);
                if (d != SinBaldosa) {
                    pintor.drawPixmap(QPointF(std::trunc(encuadre.X(j)), std::trunc(encuadre.Y(i))),
                                      escena.flechas->flecha(d));
                }
            }
        }
        PintorEscena::pintaKarts(pintor, escena, encuadre);
        PintorEscena::pintaRayos(pintor, escena, encuadre);
    }
};

// What the view does at every repaint: the kept picture when nothing changed,
// else a fresh paint into it, then the picture onto the target.
class PintorConCache {
public:
    void pinta(QPainter& pintor, const Escena& escena) {
        pintor.drawImage(QPoint(0, 0), cache.imagen(escena, escenas));
    }
    bool reutilizo() const { return !cache.pintoUltima(); }

private:
    PintorEscena escenas;
    CacheEscena cache;
};

struct Entrada {
    Mapa mapa;
    std::vector<QPointF> posiciones;
    std::vector<double> angulos;
};

Entrada escenaEjemplo(const std::string& ejemplos) {
    Entrada escena;
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
Entrada escenaAlterna(int lado) {
    Entrada escena;
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

Escena prepara(const Entrada& entrada, const Flechas& flechas, double zoom) {
    Escena escena;
    escena.tamano = QSize(kLadoImagen, kLadoImagen);
    escena.zoom = zoom;
    escena.mira = 0;
    escena.filas = entrada.mapa.filas;
    escena.columnas = entrada.mapa.columnas;
    escena.celdas = entrada.mapa.celdas;
    for (std::size_t k = 0; k < entrada.posiciones.size(); ++k) {
        escena.posiciones.append(entrada.posiciones[k]);
        escena.angulos.append(entrada.angulos[k]);
    }
    escena.flechas = &flechas;
    return escena;
}

enum class Modo {
    // The followed kart moves a little before every paint, as in playback:
    // nothing of the previous picture can be reused.
    Completo,
    // Nothing changes between paints, as while the replay is paused.
    Reposo,
};

template <typename Pintor>
void pinta(benchmark::State& estado, Perezoso<Entrada>& entrada, double zoom, Modo modo) {
    const Entrada& e = entrada();
    Flechas flechas;
    flechas.ajustaA(zoom);
    Escena escena = prepara(e, flechas, zoom);
    Pintor pintor;
    QImage imagen(kLadoImagen, kLadoImagen, QImage::Format_RGB32);
    {
        QPainter lienzo(&imagen);
        pintor.pinta(lienzo, escena); // loads whatever the first paint loads
    }
    const QPointF base = e.posiciones[0];
    long vuelta = 0;
    for (auto _ : estado) {
        if (modo == Modo::Completo) {
            // A hundredth of a cell moves the picture by a fraction of a
            // pixel at most zooms.
            const double desplazamiento = (++vuelta % 2) * 0.01;
            escena.posiciones[0] = QPointF(base.x() + desplazamiento, base.y());
        }
        QPainter lienzo(&imagen);
        pintor.pinta(lienzo, escena);
        lienzo.end();
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
    if constexpr (std::is_same_v<Pintor, PintorConCache>) {
        if (modo == Modo::Reposo && !pintor.reutilizo()) {
            estado.SkipWithError("el repintado en reposo volvió a pintar");
        }
    }
}

} // namespace

void registraPintado(const Contexto& contexto) {
    const Tamanos t = contexto.tamanos;
    const std::string ejemplos = contexto.ejemplos;
    auto ejemplo =
        std::make_shared<Perezoso<Entrada>>([ejemplos] { return escenaEjemplo(ejemplos); });
    auto alterno =
        std::make_shared<Perezoso<Entrada>>([t] { return escenaAlterna(t.mapaAlterno); });
    const struct {
        const char* nombre;
        std::shared_ptr<Perezoso<Entrada>> escena;
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
            pinta<PintorEscena>(e, *escena, zoom, Modo::Completo);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_PintarIngenuo/" + caso).c_str(),
                                     [escena, zoom](benchmark::State& e) {
                                         pinta<PintorIngenuo>(e, *escena, zoom, Modo::Completo);
                                     })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_PintarReposo/" + caso).c_str(), [escena, zoom](
                                                                              benchmark::State& e) {
            pinta<PintorConCache>(e, *escena, zoom, Modo::Reposo);
        })->Unit(benchmark::kMicrosecond);
    }
}

} // namespace zul::bench
