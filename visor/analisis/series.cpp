#include "analisis/series.h"

namespace zul {

SeriesGraficas seriesGraficas(const AnalisisCarrera& analisis) {
    SeriesGraficas series;
    const int n = analisis.numJugadores();
    const long long frames = analisis.framesAnalizados();
    series.posiciones.resize(static_cast<std::size_t>(n));
    series.tiempos.resize(static_cast<std::size_t>(n));
    series.vueltas.resize(static_cast<std::size_t>(n));
    if (frames == 0) {
        return series;
    }
    const std::vector<std::vector<CambioVueltas>> todos = analisis.cambios();
    for (int j = 0; j < n; ++j) {
        const std::size_t i = static_cast<std::size_t>(j);
        SerieGrafica& posiciones = series.posiciones[i];
        posiciones.push_back({static_cast<double>(analisis.vueltas(j, 0)),
                              static_cast<double>(analisis.posicion(j, 0)), 0});
        for (const VueltaCompletada& v : analisis.completadas(j)) {
            posiciones.push_back({static_cast<double>(v.ultima),
                                  static_cast<double>(analisis.posicion(j, v.frame)), v.frame});
            series.tiempos[i].push_back(
                {static_cast<double>(v.primera), static_cast<double>(v.tiempo), v.frame});
        }
        SerieGrafica& vueltas = series.vueltas[i];
        const std::vector<CambioVueltas>& cambios = todos[i];
        for (std::size_t c = 0; c < cambios.size(); ++c) {
            const double x = static_cast<double>(cambios[c].frame);
            if (c > 0) {
                vueltas.push_back(
                    {x, static_cast<double>(cambios[c - 1].vueltas), cambios[c].frame});
            }
            vueltas.push_back({x, static_cast<double>(cambios[c].vueltas), cambios[c].frame});
        }
        if (vueltas.back().frame < frames - 1) {
            vueltas.push_back({static_cast<double>(frames - 1), vueltas.back().y, frames - 1});
        }
    }
    return series;
}

SeriesGraficas hastaFrame(const SeriesGraficas& series, long long frame) {
    const auto corta = [frame](const std::vector<SerieGrafica>& todas) {
        std::vector<SerieGrafica> cortadas(todas.size());
        for (std::size_t j = 0; j < todas.size(); ++j) {
            for (const PuntoGrafica& p : todas[j]) {
                if (p.frame <= frame) {
                    cortadas[j].push_back(p);
                }
            }
        }
        return cortadas;
    };
    SeriesGraficas cortadas;
    cortadas.posiciones = corta(series.posiciones);
    cortadas.tiempos = corta(series.tiempos);
    cortadas.vueltas = corta(series.vueltas);
    for (SerieGrafica& vueltas : cortadas.vueltas) {
        if (!vueltas.empty() && vueltas.back().frame < frame) {
            vueltas.push_back({static_cast<double>(frame), vueltas.back().y, frame});
        }
    }
    return cortadas;
}

} // namespace zul
