#include "geometria/colores.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace zul {

namespace {

constexpr int kClasicos = 6;

const std::array<QColor, kClasicos> kDiscos = {
    QColor(255, 76, 76),  QColor(76, 255, 76),  QColor(76, 76, 255),
    QColor(255, 255, 76), QColor(255, 76, 255), QColor(76, 255, 255),
};

const std::array<const char*, kClasicos> kEtiquetas = {
    "FF1C1C", "1CFF1C", "1C1CFF", "FFFF1C", "FF1CFF", "1CFFFF",
};

// CIELAB lightness and colour, where a distance is about what the eye sees.
struct Lab {
    double l, a, b;
};

Lab aLab(const QColor& c) {
    const auto lineal = [](double v) {
        v /= 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double r = lineal(c.red()), g = lineal(c.green()), b = lineal(c.blue());
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
}

double distancia(const Lab& p, const Lab& q) {
    return std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) +
                     (p.b - q.b) * (p.b - q.b));
}

// Players past the classic six, each the candidate farthest from every colour
// taken before it (the classic ones, the black background and the track
// blocks included), so that no two players look alike however many there
// are up to this count; later players repeat the sequence.
constexpr int kGenerados = 96;

const std::vector<QColor>& generados() {
    static const std::vector<QColor> colores = [] {
        std::vector<QColor> candidatos;
        // Pale like the classic discs (no channel below 60, one at 200 or
        // more), so every kart stands out on the dark track.
        for (int tono = 0; tono < 360; tono += 5) {
            for (double saturacion : {0.25, 0.45, 0.7}) {
                for (double valor : {0.8, 0.9, 1.0}) {
                    candidatos.push_back(QColor::fromHsvF(static_cast<float>(tono / 360.0),
                                                          static_cast<float>(saturacion),
                                                          static_cast<float>(valor)));
                }
            }
        }
        std::vector<Lab> tomados = {aLab(Qt::black), aLab(QColor(108, 81, 81)),
                                    aLab(colorMarcaDisparo())};
        for (const QColor& c : kDiscos) {
            tomados.push_back(aLab(c));
        }
        std::vector<double> cercania(candidatos.size(), 1e9);
        const auto acerca = [&](const Lab& nuevo) {
            for (std::size_t k = 0; k < candidatos.size(); ++k) {
                cercania[k] = std::min(cercania[k], distancia(aLab(candidatos[k]), nuevo));
            }
        };
        for (const Lab& t : tomados) {
            acerca(t);
        }
        std::vector<QColor> elegidos;
        while (static_cast<int>(elegidos.size()) < kGenerados) {
            std::size_t mejor = 0;
            for (std::size_t k = 1; k < candidatos.size(); ++k) {
                if (cercania[k] > cercania[mejor]) {
                    mejor = k;
                }
            }
            elegidos.push_back(candidatos[mejor]);
            acerca(aLab(candidatos[mejor]));
        }
        return elegidos;
    }();
    return colores;
}

// The label colour that goes with a disc colour: the classic pairs map each
// channel 76 -> 0x1C and 255 -> 0xFF, and so do the generated ones.
QColor etiquetaDeDisco(const QColor& disco) {
    const auto canal = [](int v) { return std::clamp(28 + (v - 76) * 227 / 179, 0, 255); };
    return QColor(canal(disco.red()), canal(disco.green()), canal(disco.blue()));
}

std::vector<std::string> construyeEtiquetas(int cuantas) {
    std::vector<std::string> textos;
    textos.reserve(static_cast<std::size_t>(cuantas));
    for (int i = kClasicos; i < kClasicos + cuantas; ++i) {
        const QColor c = etiquetaDeDisco(colorDisco(i));
        char texto[8];
        std::snprintf(texto, sizeof texto, "%02X%02X%02X", c.red(), c.green(), c.blue());
        textos.emplace_back(texto);
    }
    return textos;
}

} // namespace

QColor colorDisco(int i) {
    if (i >= 0 && i < kClasicos) {
        return kDiscos[static_cast<std::size_t>(i)];
    }
    if (i < 0) {
        return Qt::white;
    }
    const std::vector<QColor>& otros = generados();
    return otros[static_cast<std::size_t>(i - kClasicos) % otros.size()];
}

QColor colorMarcaDisparo() {
    return QColor(48, 48, 48);
}

double distanciaColores(const QColor& a, const QColor& b) {
    return distancia(aLab(a), aLab(b));
}

namespace {

// Relative luminance, as WCAG measures it.
double luminancia(const QColor& color) {
    const auto lineal = [](double v) {
        v /= 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lineal(color.red()) + 0.7152 * lineal(color.green()) +
           0.0722 * lineal(color.blue());
}

} // namespace

QColor fondoLegible(const QColor& texto) {
    // The contrast ratio of WCAG against black and against white.
    const double luz = luminancia(texto);
    return (luz + 0.05) / 0.05 >= 1.05 / (luz + 0.05) ? QColor(Qt::black) : QColor(Qt::white);
}

double contrasteConBlanco(const QColor& color) {
    return 1.05 / (luminancia(color) + 0.05);
}

QColor colorSobreBlanco(int i) {
    const QColor base(QLatin1Char('#') + QLatin1String(colorEtiqueta(i)));
    // Darker in steps, hue kept, until the line reads on white.
    QColor color = base;
    for (double factor = 0.95; contrasteConBlanco(color) < 3.0 && factor > 0.0; factor -= 0.05) {
        color = QColor::fromRgbF(static_cast<float>(base.redF() * factor),
                                 static_cast<float>(base.greenF() * factor),
                                 static_cast<float>(base.blueF() * factor));
    }
    return color;
}

const char* colorEtiqueta(int i) {
    if (i >= 0 && i < kClasicos) {
        return kEtiquetas[static_cast<std::size_t>(i)];
    }
    if (i < 0) {
        return "FFFFFF";
    }
    // Built once for every index a race may have; the texts never move after.
    static const std::vector<std::string> generadas = construyeEtiquetas(1000);
    const std::size_t k = static_cast<std::size_t>(i - kClasicos);
    return k < generadas.size() ? generadas[k].c_str() : "FFFFFF";
}

} // namespace zul
