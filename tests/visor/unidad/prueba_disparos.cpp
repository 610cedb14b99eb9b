// The race's shots read back bit for bit, however they are kept: whole
// numbers and halves, numbers no float holds, NaN payloads, signed zeros,
// infinities, past the float range and below it, across the pieces they are
// kept in.
#include "datos/disparos.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

double deBits(std::uint64_t b) {
    double v = 0;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

zul::Disparo disparo(double x0, double y0, double x1, double y1) {
    return {QPointF(x0, y0), QPointF(x1, y1)};
}

// Empty when shot k of `d` is `esperado` bit for bit.
std::string diferencia(const zul::Disparos& d, std::size_t k, const zul::Disparo& esperado) {
    const zul::Disparo leido = d[k];
    const double a[4] = {leido.inicio.x(), leido.inicio.y(), leido.fin.x(), leido.fin.y()};
    const double b[4] = {esperado.inicio.x(), esperado.inicio.y(), esperado.fin.x(),
                         esperado.fin.y()};
    for (int c = 0; c < 4; ++c) {
        if (bits(a[c]) != bits(b[c])) {
            return "disparo " + std::to_string(k) + ", coordenada " + std::to_string(c) + ": " +
                   std::to_string(bits(a[c])) + " en vez de " + std::to_string(bits(b[c]));
        }
    }
    return "";
}

struct Caso {
    const char* nombre;
    double valor;
};

class Coordenada : public testing::TestWithParam<Caso> {};

// The value in each of the four places, among shots that are kept compact
// and shots that are not, so that it lands on either side of a 64-shot block.
TEST_P(Coordenada, SeLeeIgual) {
    const double v = GetParam().valor;
    zul::Disparos d;
    std::vector<zul::Disparo> esperados;
    for (int k = 0; k < 140; ++k) {
        const double otro = k % 3 == 0 ? 0.1 * k : k;
        zul::Disparo s = disparo(otro, otro + 1, otro + 2, otro + 3);
        if (k % 5 == 0) {
            const double c[4] = {k % 4 == 0 ? v : otro, k % 4 == 1 ? v : otro,
                                 k % 4 == 2 ? v : otro, k % 4 == 3 ? v : otro};
            s = disparo(c[0], c[1], c[2], c[3]);
        }
        d.push_back(s);
        esperados.push_back(s);
    }
    ASSERT_EQ(d.size(), esperados.size());
    for (std::size_t k = 0; k < esperados.size(); ++k) {
        ASSERT_EQ(diferencia(d, k, esperados[k]), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Disparos, Coordenada,
    testing::Values(
        Caso{"Entero", 3}, Caso{"Medio", 2.5}, Caso{"Decimal", 50.351}, Caso{"Decima", 0.1},
        Caso{"CeroNegativo", -0.0}, Caso{"Infinito", std::numeric_limits<double>::infinity()},
        Caso{"MenosInfinito", -std::numeric_limits<double>::infinity()},
        Caso{"NaN", std::numeric_limits<double>::quiet_NaN()},
        Caso{"NaNConCarga", deBits(0x7ff8000000000123u)},
        Caso{"NaNNegativoConCarga", deBits(0xfff0000000000001u)},
        Caso{"MayorFloat", static_cast<double>(FLT_MAX)},
        Caso{"PasadoElFloat", static_cast<double>(FLT_MAX) * 2}, Caso{"EnormeNoFloat", 1e300},
        Caso{"FloatSubnormal", static_cast<double>(std::numeric_limits<float>::denorm_min())},
        Caso{"DoubleSubnormal", std::numeric_limits<double>::denorm_min()},
        Caso{"CasiUnFloat", 1.0 + DBL_EPSILON}, Caso{"EnteroGrande", 16777217.0}),
    [](const testing::TestParamInfo<Caso>& i) { return std::string(i.param.nombre); });

// Past several pieces of the sequences, shots of every kind at random; then
// the first ones dropped (as the live reader does), a copy, and a clear.
TEST(Disparos, MuchosEnOrden) {
    std::mt19937_64 azar(2105);
    zul::Disparos d;
    std::vector<zul::Disparo> esperados;
    for (int k = 0; k < 200000; ++k) {
        double c[4];
        for (double& v : c) {
            const std::uint64_t r = azar();
            switch (r % 4) {
            case 0:
                v = static_cast<double>(r >> 40); // whole, fits in a float
                break;
            case 1:
                v = static_cast<double>(r >> 20) / 1000.0; // three decimals
                break;
            case 2:
                v = deBits(r); // any bits at all, NaN payloads included
                break;
            default:
                v = static_cast<double>(r >> 44) * 0.25;
                break;
            }
        }
        // Most shots with every coordinate a float, as on short logs.
        if (k % 4 != 0) {
            for (double& v : c) {
                v = std::floor(static_cast<double>(azar() >> 50) * 0.5);
            }
        }
        esperados.push_back(disparo(c[0], c[1], c[2], c[3]));
        d.push_back(esperados.back());
    }
    ASSERT_EQ(d.size(), esperados.size());
    for (std::size_t k = 0; k < esperados.size(); ++k) {
        ASSERT_EQ(diferencia(d, k, esperados[k]), "");
    }

    const zul::Disparos copia = d;
    const std::size_t quitados = 70001;
    d.quitaPrimeros(quitados);
    ASSERT_EQ(d.size(), esperados.size() - quitados);
    for (std::size_t k = 0; k < d.size(); ++k) {
        ASSERT_EQ(diferencia(d, k, esperados[k + quitados]), "");
    }
    d.push_back(disparo(1, 2, 3, 0.1));
    EXPECT_EQ(diferencia(d, d.size() - 1, disparo(1, 2, 3, 0.1)), "");
    ASSERT_EQ(copia.size(), esperados.size());
    EXPECT_EQ(diferencia(copia, 0, esperados[0]), "");
    EXPECT_EQ(diferencia(copia, copia.size() - 1, esperados.back()), "");

    d.quitaPrimeros(d.size() + 5);
    EXPECT_TRUE(d.empty());
    d.push_back(disparo(0.5, 0.25, 7, 8));
    EXPECT_EQ(diferencia(d, 0, disparo(0.5, 0.25, 7, 8)), "");
    d.clear();
    EXPECT_TRUE(d.empty());
    EXPECT_EQ(d.size(), 0u);
}

} // namespace
