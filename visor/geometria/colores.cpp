#include "colores.h"

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

// The classic hues sit on multiples of 60 degrees. The next six players take
// the hues half way between them; after that the golden angle spreads the hues
// and the lightness alternates, so neighbouring players stay apart.
double tono(int i) {
    const int k = i - kClasicos;
    if (k < kClasicos) {
        return 30.0 + 60.0 * k;
    }
    return std::fmod(15.0 + 137.50776405 * (k - kClasicos), 360.0);
}

double valorDisco(int i) {
    const int k = i - kClasicos;
    return k < kClasicos ? 1.0 : (k % 2 == 0 ? 0.85 : 1.0);
}

std::vector<std::string> construyeEtiquetas(int cuantas) {
    std::vector<std::string> textos;
    textos.reserve(static_cast<std::size_t>(cuantas));
    for (int i = kClasicos; i < kClasicos + cuantas; ++i) {
        // Saturated like the classic label colours, but a little darker so
        // that light hues stay readable on the panel.
        const QColor c = QColor::fromHsvF(static_cast<float>(tono(i) / 360.0), 0.89f,
                                          static_cast<float>(valorDisco(i) * 0.85));
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
    return QColor::fromHsvF(static_cast<float>(tono(i) / 360.0), 0.70f,
                            static_cast<float>(valorDisco(i)));
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
