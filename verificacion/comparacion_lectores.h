// The fast readers against the fscanf readers on one input: the differential
// test and the differential fuzz target share this comparison.
#pragma once

#include "datos/carrera.h"
#include "datos/mapa.h"
#include "datos/vectorial.h"
#include "referencia.h"

#include <QPointF>

#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>

namespace zul::comparacion {

// Bit-for-bit, so that NaN, -0.0 and infinities count too.
inline bool mismoDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool mismoPunto(const QPointF& a, const QPointF& b) {
    return mismoDouble(a.x(), b.x()) && mismoDouble(a.y(), b.y());
}

// What a reader made of an input: the result, or the text of its ErrorFormato.
template <typename Resultado> struct Lectura {
    std::optional<Resultado> resultado;
    std::string error;
};

// Runs `lector` over the bytes of `texto`, NUL bytes included.
template <typename Resultado>
Lectura<Resultado> lee(const std::string& texto, void (*lector)(std::FILE*, Resultado&)) {
    std::string copia = texto;
    std::FILE* archivo =
        copia.empty() ? std::fopen("/dev/null", "r") : fmemopen(copia.data(), copia.size(), "r");
    if (archivo == nullptr) {
        return {std::nullopt, "no se pudo abrir la entrada en memoria"};
    }
    Lectura<Resultado> lectura;
    try {
        Resultado resultado;
        lector(archivo, resultado);
        lectura.resultado = std::move(resultado);
    } catch (const ErrorFormato& e) {
        lectura.error = e.what();
    }
    std::fclose(archivo);
    return lectura;
}

// Empty when both readers give the same race log or the same error; otherwise
// what differs first.
inline std::string diferenciaCarreraUna(const std::string& texto) {
    const auto rapida = lee<Carrera>(texto, leerCarrera);
    const auto referencia = lee<Carrera>(texto, leerCarreraReferencia);
    std::ostringstream d;
    if (rapida.error != referencia.error ||
        rapida.resultado.has_value() != referencia.resultado.has_value()) {
        d << "el error difiere\nrápida: " << rapida.error << "\nreferencia: " << referencia.error;
        return d.str();
    }
    if (!rapida.resultado) {
        return "";
    }
    const Carrera& a = *rapida.resultado;
    const Carrera& b = *referencia.resultado;
    if (a.numJugadores != b.numJugadores || a.nombres != b.nombres) {
        return "la cabecera difiere";
    }
    if (a.posiciones.size() != b.posiciones.size() || a.angulos.size() != b.angulos.size() ||
        a.vueltas != b.vueltas) {
        d << "los registros de jugador difieren: " << a.posiciones.size() << " contra "
          << b.posiciones.size();
        return d.str();
    }
    for (std::size_t i = 0; i < a.posiciones.size(); ++i) {
        if (!mismoPunto(a.posiciones[i], b.posiciones[i]) ||
            !mismoDouble(a.angulos[i], b.angulos[i])) {
            d << "el registro de jugador " << i << " difiere";
            return d.str();
        }
    }
    if (a.disparos.size() != b.disparos.size() || a.framesDisparos != b.framesDisparos) {
        d << "los disparos difieren: " << a.disparos.size() << " contra " << b.disparos.size();
        return d.str();
    }
    for (std::size_t i = 0; i < a.disparos.size(); ++i) {
        if (!mismoPunto(a.disparos[i].inicio, b.disparos[i].inicio) ||
            !mismoPunto(a.disparos[i].fin, b.disparos[i].fin)) {
            d << "el disparo " << i << " difiere";
            return d.str();
        }
    }
    return "";
}

// The same with the fast reader's vector paths and with its plain ones.
inline std::string diferenciaCarrera(const std::string& texto) {
    std::string d;
    for (const bool vectores : {true, false}) {
        vectorial::activa(vectores);
        d = diferenciaCarreraUna(texto);
        if (!d.empty()) {
            d = (vectores && vectorial::activo() ? "con vectores: " : "sin vectores: ") + d;
            break;
        }
    }
    vectorial::activa(true);
    return d;
}

// Empty when `lector` gives the same grid as the fscanf reader did, or the same error.
inline std::string diferenciaMapaCon(const std::string& texto, void (*lector)(std::FILE*, Mapa&),
                                     const Lectura<Mapa>& referencia) {
    const auto rapido = lee<Mapa>(texto, lector);
    if (rapido.error != referencia.error ||
        rapido.resultado.has_value() != referencia.resultado.has_value()) {
        return "el error difiere\nrápido: " + rapido.error + "\nreferencia: " + referencia.error;
    }
    if (rapido.resultado && (rapido.resultado->filas != referencia.resultado->filas ||
                             rapido.resultado->columnas != referencia.resultado->columnas ||
                             rapido.resultado->celdas != referencia.resultado->celdas)) {
        return "el mapa difiere";
    }
    return "";
}

// Empty when both readers give the same grid or the same error, also with the
// fast reader's stream cut in small pieces: their size comes from the input's,
// so that inputs of every length put the cuts in different places.
inline std::string diferenciaMapa(const std::string& texto) {
    void (*const enTrozos[])(std::FILE*, Mapa&) = {
        [](std::FILE* f, Mapa& m) { leerMapaEnTrozos(f, m, 1); },
        [](std::FILE* f, Mapa& m) { leerMapaEnTrozos(f, m, 3); },
        [](std::FILE* f, Mapa& m) { leerMapaEnTrozos(f, m, 8); },
        [](std::FILE* f, Mapa& m) { leerMapaEnTrozos(f, m, 17); },
    };
    const auto referencia = lee<Mapa>(texto, leerMapaReferencia);
    std::string d = diferenciaMapaCon(texto, leerMapa, referencia);
    if (d.empty()) {
        d = diferenciaMapaCon(texto, enTrozos[texto.size() % 4], referencia);
        if (!d.empty()) {
            d = "en trozos pequeños: " + d;
        }
    }
    return d;
}

} // namespace zul::comparacion
