#include "respuesta.h"

#include "texto.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace zul {

Revision comprobarRespuesta(const std::string& linea) {
    Revision r;
    if (linea.empty()) {
        r.motivo = "línea vacía; se esperaba «m X Y» o «s X Y»";
        return r;
    }
    const std::string motivo = "respuesta no válida " + mostrar(linea) + ": ";
    for (unsigned char c : linea) {
        if (c == '\t') {
            r.motivo = motivo + "contiene un tabulador; los campos se separan con un espacio";
            return r;
        }
        if (c < ' ' || c == 127) {
            r.motivo = formato("respuesta no válida %s: contiene el byte de control 0x%02X",
                               mostrar(linea).c_str(), c);
            return r;
        }
    }
    if (linea[0] != 'm' && linea[0] != 's') {
        r.motivo = motivo + "debe empezar por la letra «m» o «s»";
        return r;
    }
    std::vector<std::string> campos;
    for (size_t inicio = 0;;) {
        const size_t fin = linea.find(' ', inicio);
        campos.push_back(linea.substr(inicio, fin - inicio));
        if (fin == std::string::npos) {
            break;
        }
        inicio = fin + 1;
    }
    if (campos[0].size() != 1) {
        r.motivo = motivo + "tras la letra va un espacio";
        return r;
    }
    // Empty fields are doubled, leading or trailing spaces.
    if (linea.back() == ' ') {
        r.motivo = motivo + "sobran espacios al final";
        return r;
    }
    for (size_t k = 1; k < campos.size(); ++k) {
        if (campos[k].empty()) {
            r.motivo = motivo + "entre los campos va un solo espacio";
            return r;
        }
    }
    if (campos.size() < 3) {
        r.motivo = motivo + "faltan números: van dos tras la letra";
        return r;
    }
    if (campos.size() > 3) {
        r.motivo = motivo + "sobra texto tras los dos números";
        return r;
    }
    for (size_t k = 1; k <= 2; ++k) {
        char* fin = nullptr;
        const double v = std::strtod(campos[k].c_str(), &fin);
        if (fin != campos[k].c_str() + campos[k].size()) {
            r.motivo = motivo + mostrar(campos[k]) + " no es un número";
            return r;
        }
        if (!std::isfinite(v)) {
            r.motivo = motivo + mostrar(campos[k]) + " no es un número finito";
            return r;
        }
    }
    r.disparo = linea[0] == 's';
    return r;
}

} // namespace zul
