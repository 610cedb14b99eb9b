#include "datos/depuracion.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace zul {

namespace {

constexpr std::string_view kCabecera = "zul-depuracion 1";

// The next space-separated word of `l`, advancing it; empty at the end.
std::string_view palabra(std::string_view& l) {
    const size_t inicio = l.find_first_not_of(' ');
    if (inicio == std::string_view::npos) {
        l = {};
        return {};
    }
    l.remove_prefix(inicio);
    const size_t fin = std::min(l.find(' '), l.size());
    const std::string_view p = l.substr(0, fin);
    l.remove_prefix(fin);
    return p;
}

bool numero(std::string_view p, double& v) {
    if (p == "nan") {
        v = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (p == "inf" || p == "-inf") {
        v = p[0] == '-' ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    const char* fin = p.data() + p.size();
    const auto r = std::from_chars(p.data(), fin, v);
    return r.ec == std::errc() && r.ptr == fin;
}

template <typename T> bool entero(std::string_view p, T& v) {
    const char* fin = p.data() + p.size();
    const auto r = std::from_chars(p.data(), fin, v);
    return r.ec == std::errc() && r.ptr == fin;
}

bool color(std::string_view p, std::uint32_t& v) {
    if (p.size() != 6) {
        return false;
    }
    const char* fin = p.data() + p.size();
    const auto r = std::from_chars(p.data(), fin, v, 16);
    return r.ec == std::errc() && r.ptr == fin;
}

// The kit's escapes undone; false for a broken one.
bool desescapa(std::string_view e, std::string& texto) {
    texto.clear();
    texto.reserve(e.size());
    for (size_t k = 0; k < e.size(); ++k) {
        if (e[k] != '\\') {
            texto += e[k];
            continue;
        }
        if (k + 1 >= e.size()) {
            return false;
        }
        const char c = e[++k];
        if (c == '\\') {
            texto += '\\';
        } else if (c == 'n') {
            texto += '\n';
        } else if (c == 'x' && k + 2 < e.size()) {
            unsigned v = 0;
            const auto r = std::from_chars(e.data() + k + 1, e.data() + k + 3, v, 16);
            if (r.ec != std::errc() || r.ptr != e.data() + k + 3) {
                return false;
            }
            texto += static_cast<char>(v);
            k += 2;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

void Depuracion::falla(const std::string& motivo) const {
    throw ErrorFormato(nombre_ + ", línea " + std::to_string(numeroLinea_) + ": " + motivo);
}

void Depuracion::anade(std::string_view texto) {
    pendiente_.append(texto);
    size_t inicio = 0;
    for (size_t fin; (fin = pendiente_.find('\n', inicio)) != std::string::npos; inicio = fin + 1) {
        ++numeroLinea_;
        linea(std::string_view(pendiente_).substr(inicio, fin - inicio));
    }
    pendiente_.erase(0, inicio);
}

void Depuracion::termina() {
    if (!pendiente_.empty()) {
        ++numeroLinea_;
        falla("el archivo acaba a media línea");
    }
    if (!cabecera_) {
        throw ErrorFormato(nombre_ + ": no es un archivo de depuración (está vacío)");
    }
    if (abierto_) {
        falla("el archivo acaba dentro del turno " + std::to_string(actual_.turno) +
              " (sin su línea «fin»)");
    }
}

void Depuracion::linea(std::string_view l) {
    if (!cabecera_) {
        if (l != kCabecera) {
            falla("no es un archivo de depuración: debería empezar con «zul-depuracion 1»");
        }
        cabecera_ = true;
        return;
    }
    std::string_view resto = l;
    const std::string_view tipo = palabra(resto);
    if (!abierto_) {
        if (tipo != "turno") {
            falla("se esperaba «turno N id ID orden», no «" + std::string(l.substr(0, 40)) + "»");
        }
        TurnoDepuracion t;
        std::string_view letra;
        double x = 0, y = 0;
        if (!entero(palabra(resto), t.turno) || palabra(resto) != "id" ||
            !entero(palabra(resto), t.id) || ((letra = palabra(resto)) != "m" && letra != "s") ||
            !numero(palabra(resto), x) || !numero(palabra(resto), y) || !palabra(resto).empty()) {
            falla("el turno debe ser «turno N id ID m|s X Y»");
        }
        if (t.turno != static_cast<long>(turnos_.size())) {
            falla("se esperaba el turno " + std::to_string(turnos_.size()) + ", no el " +
                  std::to_string(t.turno));
        }
        if (id_ >= 0 && t.id != id_) {
            falla("el identificador cambia de " + std::to_string(id_) + " a " +
                  std::to_string(t.id) + ": cada archivo es de un solo jugador");
        }
        t.disparo = letra == "s";
        t.ordenX = x;
        t.ordenY = y;
        actual_ = std::move(t);
        abierto_ = true;
        return;
    }
    if (tipo == "fin" && resto.empty()) {
        id_ = actual_.id;
        turnos_.push_back(std::move(actual_));
        actual_ = TurnoDepuracion();
        abierto_ = false;
        return;
    }
    if (tipo == "nota") {
        std::string texto;
        if (!desescapa(l.size() > 5 ? l.substr(5) : std::string_view(), texto)) {
            falla("escape no válido en la nota");
        }
        actual_.notas.push_back(std::move(texto));
        return;
    }
    if (tipo == "descartados") {
        if (!entero(palabra(resto), actual_.descartados) || !resto.empty()) {
            falla("«descartados» necesita un número");
        }
        return;
    }
    DibujoDepuracion d;
    if (tipo == "linea") {
        d.tipo = DibujoDepuracion::Linea;
        if (!numero(palabra(resto), d.a) || !numero(palabra(resto), d.b) ||
            !numero(palabra(resto), d.c) || !numero(palabra(resto), d.d) ||
            !color(palabra(resto), d.color) || !palabra(resto).empty()) {
            falla("la línea debe ser «linea X1 Y1 X2 Y2 RRGGBB»");
        }
    } else if (tipo == "circulo") {
        d.tipo = DibujoDepuracion::Circulo;
        if (!numero(palabra(resto), d.a) || !numero(palabra(resto), d.b) ||
            !numero(palabra(resto), d.c) || !color(palabra(resto), d.color) ||
            !palabra(resto).empty()) {
            falla("el círculo debe ser «circulo X Y RADIO RRGGBB»");
        }
    } else if (tipo == "texto") {
        d.tipo = DibujoDepuracion::Texto;
        // Three words, one space, and the text to the end of the line.
        std::string_view r = l.size() > 6 ? l.substr(6) : std::string_view();
        const std::string_view x = palabra(r);
        const std::string_view y = palabra(r);
        const std::string_view col = palabra(r);
        if (!numero(x, d.a) || !numero(y, d.b) || !color(col, d.color) ||
            (!r.empty() && r[0] != ' ')) {
            falla("el texto debe ser «texto X Y RRGGBB TEXTO»");
        }
        if (!desescapa(r.empty() ? r : r.substr(1), d.texto)) {
            falla("escape no válido en el texto");
        }
    } else {
        falla("línea desconocida «" + std::string(l.substr(0, 40)) + "» dentro del turno " +
              std::to_string(actual_.turno));
    }
    actual_.dibujos.push_back(std::move(d));
}

const TurnoDepuracion* Depuracion::turnoDe(long frame, long desfase) const {
    const long t = frame - desfase;
    if (t < 0 || t >= static_cast<long>(turnos_.size())) {
        return nullptr;
    }
    return &turnos_[static_cast<size_t>(t)];
}

void Depuracion::compruebaCarrera(int jugadores, long frames) const {
    if (id_ >= jugadores || id_ < -1) {
        throw ErrorFormato(nombre_ + ": es del jugador " + std::to_string(id_) +
                           ", pero la carrera tiene " + std::to_string(jugadores) +
                           " jugadores (del 0 al " + std::to_string(jugadores - 1) +
                           "); ¿es de otra carrera?");
    }
    if (frames >= 0 && static_cast<long>(turnos_.size()) > frames) {
        throw ErrorFormato(nombre_ + ": tiene " + std::to_string(turnos_.size()) +
                           " turnos, pero la carrera solo " + std::to_string(frames) +
                           " pasos; ¿es de otra carrera?");
    }
}

Depuracion leeDepuracion(const std::string& ruta) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(ruta.c_str(), "rb"), std::fclose);
    if (!f) {
        throw ErrorFormato("No se pudo abrir el archivo de depuración " + ruta + ": " +
                           std::strerror(errno));
    }
    Depuracion d(ruta);
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        d.anade(std::string_view(buf, n));
    }
    if (std::ferror(f.get())) {
        throw ErrorFormato("No se pudo leer el archivo de depuración " + ruta);
    }
    d.termina();
    return d;
}

bool pareceDepuracion(std::string_view inicio) {
    return inicio.substr(0, kCabecera.size() + 1) == std::string(kCabecera) + "\n";
}

} // namespace zul
