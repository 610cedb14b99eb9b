#include "reproduccion/carga.h"

#include "datos/apertura.h"

#include <cstdio>
#include <memory>
#include <new>

namespace zul {

namespace {

template <typename T, typename Lector> T carga(const std::string& ruta, Lector lector) {
    if (ruta.empty()) {
        throw ErrorCarga::archivoSinAbrir(ruta, std::string());
    }
    Apertura apertura = abreParaLeer(ruta.c_str());
    if (!apertura.archivo) {
        throw ErrorCarga::archivoSinAbrir(ruta, apertura.motivo);
    }
    T resultado;
    try {
        lector(apertura.archivo.get(), resultado);
    } catch (const ErrorFormato& error) {
        throw ErrorCarga(ruta, error.what(), false);
    } catch (const std::bad_alloc&) {
        throw ErrorCarga(ruta, "No hay memoria suficiente para leer el archivo.", false);
    }
    return resultado;
}

} // namespace

ErrorCarga ErrorCarga::archivoSinAbrir(std::string ruta, std::string motivo) {
    std::string texto = "No se pudo abrir el archivo";
    if (!motivo.empty()) {
        texto += " (" + motivo + ")";
    }
    ErrorCarga error(std::move(ruta), std::move(texto), true);
    error.motivoNoAbre = std::move(motivo);
    return error;
}

Carrera cargaCarrera(const std::string& ruta) {
    return carga<Carrera>(ruta, [](std::FILE* f, Carrera& c) { leerCarrera(f, c); });
}

Mapa cargaMapa(const std::string& ruta) {
    return carga<Mapa>(ruta, [](std::FILE* f, Mapa& m) { leerMapa(f, m); });
}

} // namespace zul
