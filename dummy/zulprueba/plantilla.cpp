#include "plantilla.h"

#include "comun/motivo_error.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zulprueba {

namespace {

// Why a copy failed. The filesystem library's codes are errno values, but one of its own
// (a path that is not what was expected, say) is told in its words.
std::string motivo(const std::error_code& e, bool creando) {
    if (e.category() != std::generic_category() && e.category() != std::system_category()) {
        return e.message();
    }
    return creando ? zul::motivoAlCrear(e.value()) : zul::motivoDelSistema(e.value());
}

} // namespace

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
        error = "no se pudo leer la plantilla " + origen + ": " + motivo(e, false);
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
    // A copy that fails halfway takes back what it wrote, so a second try meets no clash.
    std::vector<fs::path> carpetasNuevas;
    const auto deshacer = [&](const fs::path& aMedias) {
        std::error_code ignorado;
        if (!aMedias.empty()) {
            fs::remove(aMedias, ignorado);
        }
        for (auto c = copiados.rbegin(); c != copiados.rend(); ++c) {
            fs::remove(*c, ignorado);
        }
        for (auto c = carpetasNuevas.rbegin(); c != carpetasNuevas.rend(); ++c) {
            fs::remove(*c, ignorado); // only while empty
        }
        copiados.clear();
    };
    for (const auto& a : archivos) {
        const fs::path hacia = fs::path(destino) / a;
        std::vector<fs::path> faltan;
        for (fs::path c = hacia.parent_path(); !c.empty() && !fs::exists(c, e);
             c = c.parent_path()) {
            faltan.push_back(c);
            if (c == c.parent_path()) {
                break;
            }
        }
        fs::create_directories(hacia.parent_path(), e);
        carpetasNuevas.insert(carpetasNuevas.end(), faltan.rbegin(), faltan.rend());
        if (e) {
            error = "no se pudo crear la carpeta " + hacia.parent_path().string() + ": " +
                    motivo(e, true);
            deshacer({});
            return false;
        }
        // copy_file without overwrite also refuses a file that appeared meanwhile.
        if (!fs::copy_file(fs::path(origen) / a, hacia, fs::copy_options::none, e)) {
            error = "no se pudo copiar " + (fs::path(origen) / a).string() + " en " +
                    hacia.string() + ": " + motivo(e, true);
            deshacer(e == std::errc::file_exists ? fs::path() : hacia);
            return false;
        }
        copiados.push_back(hacia.string());
    }
    return true;
}

} // namespace zulprueba
