#include "carpeta_temporal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {

std::string carpeta; // the running test's folder; empty until it is made

int borrar(const char* ruta, const struct stat*, int, struct FTW*) {
    return remove(ruta) == 0 ? 0 : -1;
}

// Removes the folder when each test ends, whether it passed or not.
class Limpieza : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        if (!carpeta.empty()) {
            nftw(carpeta.c_str(), borrar, 16, FTW_DEPTH | FTW_PHYS);
            carpeta.clear();
        }
    }
};

[[maybe_unused]] const bool registrada = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new Limpieza);
    return true;
}();

} // namespace

std::string rutaTemporal(const std::string& nombre) {
    if (carpeta.empty()) {
        std::string plantilla = testing::TempDir() + "zulkit_XXXXXX";
        if (mkdtemp(plantilla.data()) == nullptr) {
            throw std::runtime_error("mkdtemp falló en " + testing::TempDir());
        }
        carpeta = plantilla;
    }
    return carpeta + "/" + nombre;
}

std::string escribirArchivo(const std::string& nombre, const std::string& contenido) {
    const std::string ruta = rutaTemporal(nombre);
    std::ofstream(ruta, std::ios::binary) << contenido;
    return ruta;
}

std::string leerArchivo(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}
