// Every committed input through the checks of the fuzz targets: the inputs that
// once broke something (entradas/) and the seed corpora.
#include "comprobaciones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Comprobacion = std::string (*)(const std::string&);

struct Caso {
    const char* carpeta;
    Comprobacion comprobacion;
};

const Caso kCasos[] = {
    {"carrera", zul::robustez::compruebaCarrera},
    {"carrera", zul::robustez::compruebaCarreraReferencia},
    {"mapa", zul::robustez::compruebaMapa},
    {"protocolo", zul::robustez::compruebaProtocolo},
};

std::string contenido(const fs::path& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>());
}

// Runs every file of `raiz`/<carpeta> through its check; returns how many ran.
std::size_t compruebaCarpetas(const fs::path& raiz) {
    std::size_t total = 0;
    for (const Caso& caso : kCasos) {
        const fs::path carpeta = raiz / caso.carpeta;
        if (!fs::is_directory(carpeta)) {
            continue;
        }
        std::vector<fs::path> archivos;
        for (const auto& entrada : fs::directory_iterator(carpeta)) {
            if (entrada.is_regular_file()) {
                archivos.push_back(entrada.path());
            }
        }
        std::sort(archivos.begin(), archivos.end());
        for (const fs::path& ruta : archivos) {
            EXPECT_EQ(caso.comprobacion(contenido(ruta)), "") << ruta;
            ++total;
        }
    }
    return total;
}

TEST(Regresion, EntradasQueRompieronAlgo) {
    EXPECT_GT(compruebaCarpetas(ZUL_ENTRADAS_REGRESION), 0u);
}

TEST(Regresion, CorpusDeSemillas) {
    // Four checks over three corpora of hundreds of seeds each.
    EXPECT_GT(compruebaCarpetas(ZUL_CORPUS_FUZZ), 1000u);
}

} // namespace
