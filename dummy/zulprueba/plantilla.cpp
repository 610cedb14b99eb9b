#include "plantilla.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zulprueba {

std::string carpetaPlantilla(const std::string& dirPrograma) {
    const fs::path candidatos[] = {fs::path(dirPrograma) / ZUL_PLANTILLA_RELATIVA,
                                   fs::path(ZUL_PLANTILLA_FUENTE)};
    for (const auto& c : candidatos) {
        std::error_code e;
        if (fs::is_regular_file(c / "bot.cpp", e)) {
            return fs::weakly_canonical(c, e).string();
        }
    }
    return "";
}

bool copiarPlantilla(const std::string& origen, const std::string& destino,
                     std::vector<std::string>& copiados, std::string& error) {
    copiados.clear();
    std::error_code e;
    if (!fs::is_directory(origen, e)) {
        error = "no se encontró la plantilla en " + origen + " (¿está instalado el kit?)";
        return false;
    }
    if (fs::exists(destino, e) && !fs::is_directory(destino, e)) {
        error = destino + " ya existe y no es una carpeta";
        return false;
    }
    std::vector<fs::path> archivos;
    for (fs::recursive_directory_iterator it(origen, e), fin; !e && it != fin; it.increment(e)) {
        if (it->is_regular_file(e)) {
            archivos.push_back(fs::relative(it->path(), origen, e));
        }
    }
    if (e) {
        error = "no se pudo leer la plantilla " + origen + ": " + e.message();
        return false;
    }
    std::sort(archivos.begin(), archivos.end());
    std::string existentes;
    for (const auto& a : archivos) {
        if (fs::exists(fs::path(destino) / a, e)) {
            existentes += (existentes.empty() ? "" : ", ") + (fs::path(destino) / a).string();
        }
    }
    if (!existentes.empty()) {
        error = "no se copia nada: ya existe " + existentes;
        return false;
    }
    for (const auto& a : archivos) {
        const fs::path hacia = fs::path(destino) / a;
        fs::create_directories(hacia.parent_path(), e);
        // copy_file without overwrite also refuses a file that appeared meanwhile.
        if (e || !fs::copy_file(fs::path(origen) / a, hacia, fs::copy_options::none, e)) {
            error = "no se pudo copiar " + (fs::path(origen) / a).string() + " en " +
                    hacia.string() + ": " + e.message();
            return false;
        }
        copiados.push_back(hacia.string());
    }
    return true;
}

} // namespace zulprueba
