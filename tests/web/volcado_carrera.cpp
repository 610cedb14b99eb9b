// Prints what the C++ side makes of a race, for the page's tests to compare
// against: the block the page embeds, every double of the race as its 64
// bits in hexadecimal (so NaN and -0 compare exactly), the laps, the shots'
// frames and the standings of every complete frame.
#include "analisis/analisis.h"
#include "reproduccion/carga.h"
#include "web/datos_pagina.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>

namespace {

void hexDoubles(const char* nombre, std::size_t cuantos,
                const std::function<double(std::size_t)>& v) {
    std::printf("\"%s\":[", nombre);
    for (std::size_t i = 0; i < cuantos; ++i) {
        const double d = v(i);
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        std::printf("%s\"%016" PRIx64 "\"", i ? "," : "", bits);
    }
    std::printf("],");
}

template <typename T> void enteros(const char* nombre, const std::vector<T>& v) {
    std::printf("\"%s\":[", nombre);
    for (std::size_t i = 0; i < v.size(); ++i) {
        std::printf("%s%lld", i ? "," : "", static_cast<long long>(v[i]));
    }
    std::printf("],");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: volcado_carrera CARRERA MAPA\n");
        return 2;
    }
    try {
        const zul::Carrera c = zul::cargaCarrera(argv[1]);
        const zul::Mapa m = zul::cargaMapa(argv[2]);
        std::printf("{\"bloque\":\"%s\",", zul::comprimeCarrera(c, m).toBase64().constData());
        std::printf("\"n\":%d,\"filas\":%d,\"columnas\":%d,", c.numJugadores, m.filas, m.columnas);
        hexDoubles("x", c.posiciones.size(), [&](std::size_t i) { return c.posiciones[i].x(); });
        hexDoubles("y", c.posiciones.size(), [&](std::size_t i) { return c.posiciones[i].y(); });
        hexDoubles("angulos", c.angulos.size(), [&](std::size_t i) { return c.angulos[i]; });
        const std::size_t d = c.disparos.size();
        hexDoubles("disparoX1", d, [&](std::size_t i) { return c.disparos[i].inicio.x(); });
        hexDoubles("disparoY1", d, [&](std::size_t i) { return c.disparos[i].inicio.y(); });
        hexDoubles("disparoX2", d, [&](std::size_t i) { return c.disparos[i].fin.x(); });
        hexDoubles("disparoY2", d, [&](std::size_t i) { return c.disparos[i].fin.y(); });
        enteros("vueltas", c.vueltas);
        enteros("framesDisparos", c.framesDisparos);
        std::printf("\"celdas\":\"%s\",",
                    QByteArray::fromStdString(m.celdas).toBase64().constData());
        // [jugador, vueltas, paso, ultima or -1, mejor or -1, gap] best first,
        // ranked as the window ranks with the map; the gap in frames, or
        // minus the laps behind.
        const zul::AnalisisCarrera analisis(c, m);
        std::printf("\"clasificacion\":[");
        for (long long f = 0; f < analisis.framesAnalizados(); ++f) {
            std::printf("%s[", f ? "," : "");
            const auto puestos = analisis.clasificacion(f);
            for (std::size_t k = 0; k < puestos.size(); ++k) {
                const zul::Puesto& p = puestos[k];
                std::printf("%s[%d,%d,%lld,%lld,%lld,%lld]", k ? "," : "", p.jugador, p.vueltas,
                            p.frameVuelta, p.ultimaVuelta.value_or(-1), p.mejorVuelta.value_or(-1),
                            p.diferenciaPasos ? *p.diferenciaPasos : -p.diferenciaVueltas);
            }
            std::printf("]");
        }
        std::printf("]}\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "volcado_carrera: %s\n", e.what());
        return 1;
    }
    return 0;
}
