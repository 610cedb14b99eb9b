// The reply check on its own: which lines pass, and what a failing one is told.
#include "respuesta.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CasoRespuesta {
    const char* nombre;
    std::string linea;
    const char* motivo; // part of the reason; nullptr if the line is valid
    bool disparo;
};

class Respuesta : public testing::TestWithParam<CasoRespuesta> {};

TEST_P(Respuesta, Comprobada) {
    const auto& c = GetParam();
    const zul::Revision r = zul::comprobarRespuesta(c.linea);
    if (c.motivo == nullptr) {
        EXPECT_EQ(r.motivo, "");
        EXPECT_EQ(r.disparo, c.disparo);
    } else {
        EXPECT_NE(r.motivo.find(c.motivo), std::string::npos) << r.motivo;
        EXPECT_FALSE(r.disparo);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lineas, Respuesta,
    testing::Values(CasoRespuesta{"mover", "m 1.500000 0.000000", nullptr, false},
                    CasoRespuesta{"disparar", "s -0.000000 -1.500000", nullptr, true},
                    CasoRespuesta{"enteros_y_exponente", "m 1 2e3", nullptr, false},
                    CasoRespuesta{"vacia", "", "línea vacía", false},
                    CasoRespuesta{"otra_letra", "x 1 2", "debe empezar por la letra", false},
                    CasoRespuesta{"espacio_delante", " m 1 2", "debe empezar por la letra", false},
                    CasoRespuesta{"palabra", "mover 1 2", "tras la letra va un espacio", false},
                    CasoRespuesta{"tabulador", "m\t1 2", "tabulador", false},
                    CasoRespuesta{"tabulador_entre_numeros", "m 1\t2", "tabulador", false},
                    CasoRespuesta{"doble_espacio", "m  1 2", "un solo espacio", false},
                    CasoRespuesta{"doble_espacio_entre_numeros", "s 1  2", "un solo espacio",
                                  false},
                    CasoRespuesta{"espacio_final", "m 1 2 ", "sobran espacios al final", false},
                    CasoRespuesta{"retorno_de_carro", "m 1 2\r", "byte de control 0x0D", false},
                    CasoRespuesta{"un_numero", "m 1", "faltan números", false},
                    CasoRespuesta{"solo_letra", "m", "faltan números", false},
                    CasoRespuesta{"tres_numeros", "m 1 2 3", "sobra texto", false},
                    CasoRespuesta{"no_numero", "m 1 dos", "«dos» no es un número", false},
                    CasoRespuesta{"infinito", "m inf 0", "no es un número finito", false},
                    CasoRespuesta{"nan", "s 0 nan", "no es un número finito", false}),
    [](const auto& i) { return std::string(i.param.nombre); });

} // namespace
