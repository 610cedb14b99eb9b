#include "carga.h"

#include <cstdio>
#include <memory>
#include <new>

namespace zul {

namespace {

template <typename T, typename Lector> T carga(const std::string& ruta, Lector lector) {
    const auto noAbre = [&ruta] { return ErrorCarga(ruta, "No se pudo abrir el archivo", true); };
    if (ruta.empty()) {
        throw noAbre();
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> archivo(std::fopen(ruta.c_str(), "r"),
                                                            &std::fclose);
    if (!archivo) {
        throw noAbre();
    }
    T resultado;
    try {
        lector(archivo.get(), resultado);
    } catch (const ErrorFormato& error) {
        throw ErrorCarga(ruta, error.what(), false);
    } catch (const std::bad_alloc&) {
        throw ErrorCarga(ruta, "No hay memoria suficiente para leer el archivo.", false);
    }
    return resultado;
}

} // namespace

Carrera cargaCarrera(const std::string& ruta) {
    return carga<Carrera>(ruta, [](std::FILE* f, Carrera& c) { leerCarrera(f, c); });
}

Mapa cargaMapa(const std::string& ruta) {
    return carga<Mapa>(ruta, [](std::FILE* f, Mapa& m) { leerMapa(f, m); });
}

} // namespace zul
