// The replay without any widget: the cursor's step rules and what any frame
// shows, as data-driven rows.
#include "reproduccion/reproduccion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Player j of frame k stands at x = 10 k + j, heading k, with k / 2 laps.
// `registros` records in all (a partial last frame when not a multiple of
// the players); one shot per entry of `disparos`, in that frame.
zul::Carrera carrera(int jugadores, int registros, const std::vector<int>& disparos) {
    zul::Carrera c;
    c.numJugadores = jugadores;
    for (int i = 0; i < registros; ++i) {
        const int k = i / jugadores;
        c.posiciones.emplace_back(10 * k + i % jugadores, 0.5);
        c.angulos.push_back(k);
        c.vueltas.push_back(k / 2);
    }
    for (std::size_t d = 0; d < disparos.size(); ++d) {
        c.disparos.push_back({QPointF(static_cast<double>(d), 0), QPointF(0, 0)});
        c.framesDisparos.push_back(disparos[d]);
    }
    return c;
}

// S: step; 0: restart; B: step back; gK: go to frame K (one digit).
void actua(zul::Reproduccion& r, const std::string& acciones) {
    for (std::size_t i = 0; i < acciones.size(); ++i) {
        switch (acciones[i]) {
        case 'S':
            r.avanza();
            break;
        case '0':
            r.reinicia();
            break;
        case 'B':
            r.retrocede();
            break;
        case 'g':
            r.irAFrame(acciones[++i] - '0');
            break;
        default:
            FAIL() << "acción desconocida " << acciones[i];
        }
    }
}

// The shots on show, by index, as "0,1".
std::string disparos(const zul::Foto& foto) {
    std::string texto;
    for (std::size_t d = foto.primerDisparo; d < foto.finDisparos; ++d) {
        texto += (texto.empty() ? "" : ",") + std::to_string(d);
    }
    return texto;
}

// Each kart's x, as "20,11".
std::string posiciones(const zul::Foto& foto) {
    std::string texto;
    for (const zul::EstadoKart& kart : foto.karts) {
        texto += (texto.empty() ? "" : ",") + std::to_string(static_cast<int>(kart.posicion.x()));
    }
    return texto;
}

struct CasoCursor {
    const char* nombre;
    int registros; // two players
    std::vector<int> disparos;
    const char* acciones;
    long long mostrado;
    unsigned siguiente;
    const char* karts;
    const char* enPantalla; // shots
};

class Cursor : public testing::TestWithParam<CasoCursor> {};

TEST_P(Cursor, SigueLasReglasDelPaso) {
    const CasoCursor& c = GetParam();
    zul::Reproduccion r(carrera(2, c.registros, c.disparos));
    actua(r, c.acciones);
    EXPECT_EQ(r.frameEnPantalla(), c.mostrado);
    EXPECT_EQ(r.siguienteFrame(), c.siguiente);
    EXPECT_EQ(posiciones(r.enPantalla()), c.karts);
    EXPECT_EQ(disparos(r.enPantalla()), c.enPantalla);
}

INSTANTIATE_TEST_SUITE_P(
    Reproduccion, Cursor,
    testing::Values(
        CasoCursor{"nada_mostrado", 6, {}, "", -1, 0, "", ""},
        CasoCursor{"primer_paso", 6, {0}, "S", 0, 1, "0,1", "0"},
        CasoCursor{"tras_el_fin_los_karts_se_quedan", 6, {2}, "SSSS", 2, 3, "20,21", ""},
        CasoCursor{"parcial_se_queda_en_pantalla", 5, {}, "SSSS", 2, 2, "20,11", ""},
        CasoCursor{"parcial_muestra_su_disparo_una_vez", 5, {2}, "SSS", 2, 2, "20,11", "0"},
        CasoCursor{"parcial_y_de_nuevo", 5, {2}, "SSSS", 2, 2, "20,11", ""},
        CasoCursor{"varios_disparos_de_un_frame", 6, {0, 1, 1, 1, 2}, "SS", 1, 2, "10,11", "1,2,3"},
        CasoCursor{"salto_y_paso", 8, {0, 1, 2, 3}, "g2S", 3, 4, "30,31", "3"},
        CasoCursor{"salto_muestra_solo_su_frame", 8, {0, 1, 2, 2, 3}, "g2", 2, 3, "20,21", "2,3"},
        CasoCursor{"salto_fuera_se_acota", 8, {}, "g9", 3, 4, "30,31", ""},
        CasoCursor{"salto_al_parcial_completa_con_el_anterior", 7, {}, "g3", 3, 3, "30,21", ""},
        CasoCursor{"atras", 8, {1}, "SSSB", 1, 2, "10,11", "0"},
        CasoCursor{"atras_en_el_primero_no_hace_nada", 8, {0}, "SB", 0, 1, "0,1", "0"},
        CasoCursor{"reiniciar_en_pausa_no_cambia_la_vista", 8, {1}, "SS0", 1, 0, "10,11", "0"},
        CasoCursor{"reiniciar_y_paso", 8, {0, 1}, "SSS0S", 0, 1, "0,1", "0"},
        CasoCursor{"pendientes_se_muestran_juntos", 8, {0, 1, 2}, "g20S", 0, 1, "0,1", "0"},
        CasoCursor{"sin_jugadores", 0, {}, "SSg2", -1, 0, "", ""}),
    [](const testing::TestParamInfo<CasoCursor>& info) { return std::string(info.param.nombre); });

struct CasoFoto {
    const char* nombre;
    int registros; // three players
    std::vector<int> disparos;
    long long frame;
    const char* karts;
    const char* enPantalla;
    std::size_t estela; // records in the trail
};

class Consulta : public testing::TestWithParam<CasoFoto> {};

TEST_P(Consulta, DiceLoQueMuestraUnFrame) {
    const CasoFoto& c = GetParam();
    const zul::Reproduccion r(carrera(3, c.registros, c.disparos));
    const zul::Foto foto = r.fotoFrame(c.frame);
    EXPECT_EQ(foto.frame, c.frame);
    EXPECT_EQ(posiciones(foto), c.karts);
    EXPECT_EQ(disparos(foto), c.enPantalla);
    EXPECT_EQ(foto.largoEstela, c.estela);
    if (c.estela > 0) {
        // The trail ends with the frame's own last record.
        EXPECT_EQ(foto.estela + c.estela - 1 - r.carrera().posiciones.data(),
                  static_cast<long>(std::min<std::size_t>((c.frame + 1) * 3, c.registros) - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reproduccion, Consulta,
    testing::Values(CasoFoto{"primero", 9, {0, 0, 2}, 0, "0,1,2", "0,1", 3},
                    CasoFoto{"del_medio", 9, {0, 1, 1, 2}, 1, "10,11,12", "1,2", 6},
                    CasoFoto{"parcial", 8, {2}, 2, "20,21,12", "0", 8},
                    CasoFoto{"primer_frame_parcial", 2, {}, 0, "0,1,0", "", 2},
                    CasoFoto{"estela_de_30_frames", 3 * 40, {}, 35, "350,351,352", "", 90},
                    CasoFoto{"fuera_de_la_carrera", 9, {}, 5, "0,0,0", "", 0}),
    [](const testing::TestParamInfo<CasoFoto>& info) { return std::string(info.param.nombre); });

TEST(Reproduccion, CuentaElFrameParcial) {
    EXPECT_EQ(zul::Reproduccion(carrera(2, 6, {})).numeroFrames(), 3u);
    EXPECT_EQ(zul::Reproduccion(carrera(2, 7, {})).numeroFrames(), 4u);
    EXPECT_EQ(zul::Reproduccion(carrera(2, 0, {})).numeroFrames(), 0u);
}

// Live mode appends to the race under the cursor: a partial frame that is
// completed is stepped past, and new frames come after the old end.
TEST(Reproduccion, LaCarreraCreceMientrasSeMuestra) {
    zul::Reproduccion r(carrera(2, 5, {}));
    actua(r, "SSSS");
    ASSERT_EQ(r.siguienteFrame(), 2u);
    const zul::Carrera mas = carrera(2, 8, {3});
    zul::Carrera& c = r.carreraModificable();
    c.posiciones.assign(mas.posiciones.begin(), mas.posiciones.end());
    c.angulos.assign(mas.angulos.begin(), mas.angulos.end());
    c.vueltas.assign(mas.vueltas.begin(), mas.vueltas.end());
    c.disparos = mas.disparos;
    c.framesDisparos = mas.framesDisparos;
    EXPECT_EQ(r.numeroFrames(), 4u);
    r.avanza();
    EXPECT_EQ(r.frameEnPantalla(), 2);
    EXPECT_EQ(posiciones(r.enPantalla()), "20,21");
    r.avanza();
    EXPECT_EQ(r.frameEnPantalla(), 3);
    EXPECT_EQ(disparos(r.enPantalla()), "0");
}

} // namespace
