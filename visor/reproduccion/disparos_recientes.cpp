#include "reproduccion/disparos_recientes.h"

namespace zul {

std::vector<DisparoReciente> disparosRecientes(const Reproduccion& reproduccion, long long frame,
                                               int pasos) {
    std::vector<DisparoReciente> recientes;
    for (int edad = 1; edad < pasos && frame - edad >= 0; ++edad) {
        const Foto foto = reproduccion.fotoFrame(frame - edad);
        for (std::size_t d = foto.primerDisparo; d < foto.finDisparos; ++d) {
            recientes.push_back({d, edad});
        }
    }
    return recientes;
}

} // namespace zul
