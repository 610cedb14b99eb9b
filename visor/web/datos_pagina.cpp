#include "web/datos_pagina.h"

#include "analisis/analisis.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zul {

namespace {

constexpr int kMaxDecimales = 9;

const std::array<double, kMaxDecimales + 1> kPotencias = {1e0, 1e1, 1e2, 1e3, 1e4,
                                                          1e5, 1e6, 1e7, 1e8, 1e9};

class Escritor {
public:
    void u8(std::uint8_t v) { datos.append(static_cast<char>(v)); }
    void u32(std::uint32_t v) {
        for (int b = 0; b < 4; ++b) {
            u8(static_cast<std::uint8_t>(v >> (8 * b)));
        }
    }
    void f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    // The words plane by plane: every lowest byte, then every second byte...
    void planos(const std::vector<std::uint32_t>& palabras) {
        for (int b = 0; b < 4; ++b) {
            for (std::uint32_t p : palabras) {
                u8(static_cast<std::uint8_t>(p >> (8 * b)));
            }
        }
    }
    void bytes(const std::string& s) { datos.append(s.data(), static_cast<qsizetype>(s.size())); }

    QByteArray datos;
};

bool mismosBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The whole number k with k / 10^d == v exactly, if there is one that fits
// in 32 bits.
bool comoDecimal(double v, int d, std::int64_t& k) {
    if (!std::isfinite(v)) {
        return false;
    }
    const double escalado = std::round(v * kPotencias[static_cast<std::size_t>(d)]);
    if (!(std::abs(escalado) < 2147483647.0)) {
        return false;
    }
    k = static_cast<std::int64_t>(escalado);
    return mismosBits(static_cast<double>(k) / kPotencias[static_cast<std::size_t>(d)], v);
}

// The fewest places that write v, or -1.
int decimalesDe(double v) {
    std::int64_t k = 0;
    for (int d = 0; d <= kMaxDecimales; ++d) {
        if (comoDecimal(v, d, k)) {
            return d;
        }
    }
    return -1;
}

// One column of doubles; `salto` is the distance to the value it is told
// apart from (the player count for records, 1 for shots).
template <typename Leer>
void escribeColumna(Escritor& salida, std::size_t cuantos, std::size_t salto, Leer valor) {
    // The places that leave the fewest values out: too few places miss the
    // longer decimals, too many overflow 32 bits on the larger values.
    std::array<std::size_t, kMaxDecimales + 1> caben{};
    for (std::size_t i = 0; i < cuantos; ++i) {
        const double v = valor(i);
        const int minimo = decimalesDe(v);
        for (int d = std::max(minimo, 0); minimo >= 0 && d <= kMaxDecimales; ++d) {
            if (std::abs(v) * kPotencias[static_cast<std::size_t>(d)] < 2147483647.0) {
                ++caben[static_cast<std::size_t>(d)];
            }
        }
    }
    int d = 0;
    for (int e = 1; e <= kMaxDecimales; ++e) {
        if (caben[static_cast<std::size_t>(e)] > caben[static_cast<std::size_t>(d)]) {
            d = e;
        }
    }
    std::vector<std::uint32_t> diferencias(cuantos);
    std::vector<std::uint32_t> enteros(cuantos);
    std::vector<std::uint32_t> excepciones;
    for (std::size_t i = 0; i < cuantos; ++i) {
        std::int64_t k = 0;
        const std::uint32_t anterior = i >= salto ? enteros[i - salto] : 0;
        if (comoDecimal(valor(i), d, k)) {
            enteros[i] = static_cast<std::uint32_t>(k);
        } else {
            enteros[i] = anterior;
            excepciones.push_back(static_cast<std::uint32_t>(i));
        }
        diferencias[i] = enteros[i] - anterior;
    }
    salida.u8(static_cast<std::uint8_t>(d));
    salida.u32(static_cast<std::uint32_t>(excepciones.size()));
    salida.planos(diferencias);
    for (std::uint32_t i : excepciones) {
        salida.u32(i);
    }
    for (std::uint32_t i : excepciones) {
        salida.f64(valor(i));
    }
}

template <typename Leer>
void escribeEnteros(Escritor& salida, std::size_t cuantos, std::size_t salto, Leer valor) {
    std::vector<std::uint32_t> diferencias(cuantos);
    for (std::size_t i = 0; i < cuantos; ++i) {
        const std::uint32_t anterior =
            i >= salto ? static_cast<std::uint32_t>(valor(i - salto)) : 0;
        diferencias[i] = static_cast<std::uint32_t>(valor(i)) - anterior;
    }
    salida.planos(diferencias);
}

// The viewer's standings of every complete frame, where it ranks by progress
// round the track; the page has no track distances and would rank by laps.
void escribeClasificacion(Escritor& salida, const Carrera& carrera, const Mapa& mapa) {
    const AnalisisCarrera analisis(carrera, mapa);
    if (analisis.campo() == nullptr || analisis.numJugadores() == 0) {
        salida.u32(0);
        return;
    }
    const long long frames = analisis.framesAnalizados();
    const std::size_t n = static_cast<std::size_t>(analisis.numJugadores());
    std::vector<std::uint32_t> orden;
    std::vector<std::uint32_t> diferencias;
    orden.reserve(static_cast<std::size_t>(frames) * n);
    diferencias.reserve(static_cast<std::size_t>(frames) * n);
    for (long long k = 0; k < frames; ++k) {
        for (const Puesto& p : analisis.clasificacion(k)) {
            orden.push_back(static_cast<std::uint32_t>(p.jugador));
            const long long d = p.diferenciaPasos ? *p.diferenciaPasos : -p.diferenciaVueltas;
            diferencias.push_back(static_cast<std::uint32_t>(
                static_cast<std::int32_t>(std::clamp<long long>(d, INT32_MIN, INT32_MAX))));
        }
    }
    salida.u32(static_cast<std::uint32_t>(frames));
    escribeEnteros(salida, orden.size(), n, [&](std::size_t i) { return orden[i]; });
    escribeEnteros(salida, diferencias.size(), n, [&](std::size_t i) { return diferencias[i]; });
}

} // namespace

QByteArray codificaCarrera(const Carrera& carrera, const Mapa& mapa) {
    Escritor salida;
    const std::size_t n = static_cast<std::size_t>(std::max(carrera.numJugadores, 0));
    const std::size_t registros =
        std::min({carrera.posiciones.size(), carrera.angulos.size(), carrera.vueltas.size()});
    const std::size_t disparos = std::min(carrera.disparos.size(), carrera.framesDisparos.size());
    salida.bytes("ZULW");
    salida.u32(2);
    salida.u32(static_cast<std::uint32_t>(n));
    salida.u32(static_cast<std::uint32_t>(registros));
    salida.u32(static_cast<std::uint32_t>(disparos));
    salida.u32(static_cast<std::uint32_t>(mapa.filas));
    salida.u32(static_cast<std::uint32_t>(mapa.columnas));
    const std::size_t salto = std::max<std::size_t>(n, 1);
    escribeColumna(salida, registros, salto,
                   [&](std::size_t i) { return carrera.posiciones[i].x(); });
    escribeColumna(salida, registros, salto,
                   [&](std::size_t i) { return carrera.posiciones[i].y(); });
    escribeColumna(salida, registros, salto, [&](std::size_t i) { return carrera.angulos[i]; });
    escribeColumna(salida, disparos, 1,
                   [&](std::size_t i) { return carrera.disparos[i].inicio.x(); });
    escribeColumna(salida, disparos, 1,
                   [&](std::size_t i) { return carrera.disparos[i].inicio.y(); });
    escribeColumna(salida, disparos, 1, [&](std::size_t i) { return carrera.disparos[i].fin.x(); });
    escribeColumna(salida, disparos, 1, [&](std::size_t i) { return carrera.disparos[i].fin.y(); });
    escribeEnteros(salida, registros, salto, [&](std::size_t i) { return carrera.vueltas[i]; });
    escribeEnteros(salida, disparos, 1, [&](std::size_t i) { return carrera.framesDisparos[i]; });
    salida.bytes(mapa.celdas);
    escribeClasificacion(salida, carrera, mapa);
    return salida.datos;
}

QByteArray comprimeCarrera(const Carrera& carrera, const Mapa& mapa) {
    // qCompress puts the length before the zlib stream; the browser wants the
    // stream alone.
    return qCompress(codificaCarrera(carrera, mapa), 6).mid(4);
}

} // namespace zul
