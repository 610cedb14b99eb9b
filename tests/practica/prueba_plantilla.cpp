// Copying the contestant template out, as zulprueba --plantilla does.
#include "plantilla.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path carpetaNueva(const char* nombre) {
    const fs::path p = fs::path(testing::TempDir()) / nombre;
    fs::remove_all(p);
    return p;
}

std::string contenido(const fs::path& p) {
    std::ifstream f(p);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(Plantilla, SeEncuentraLaDelArbolDeFuentes) {
    EXPECT_EQ(zulprueba::carpetaPlantilla("/no/existe"),
              fs::weakly_canonical(ZUL_PLANTILLA).string());
}

TEST(Plantilla, SeCopiaEnteraYConSusPermisos) {
    const fs::path destino = carpetaNueva("plantilla_copia") / "mibot";
    std::vector<std::string> copiados;
    std::string error;
    ASSERT_TRUE(zulprueba::copiarPlantilla(ZUL_PLANTILLA, destino.string(), copiados, error))
        << error;
    EXPECT_EQ(copiados.size(), 4u);
    for (const char* a : {"CMakeLists.txt", "README.md", "bot.cpp", "bot.py"}) {
        EXPECT_EQ(contenido(destino / a), contenido(fs::path(ZUL_PLANTILLA) / a)) << a;
    }
    EXPECT_NE(fs::status(destino / "bot.py").permissions() & fs::perms::owner_exec,
              fs::perms::none);
}

TEST(Plantilla, NoSobrescribeNada) {
    const fs::path destino = carpetaNueva("plantilla_existente");
    fs::create_directories(destino);
    std::ofstream(destino / "bot.py") << "mi bot\n";
    std::vector<std::string> copiados;
    std::string error;
    EXPECT_FALSE(zulprueba::copiarPlantilla(ZUL_PLANTILLA, destino.string(), copiados, error));
    EXPECT_EQ(error, "no se copia nada: ya existe " + (destino / "bot.py").string());
    EXPECT_TRUE(copiados.empty());
    EXPECT_EQ(contenido(destino / "bot.py"), "mi bot\n");
    EXPECT_FALSE(fs::exists(destino / "bot.cpp"));
}

TEST(Plantilla, ErroresConSuArchivo) {
    std::vector<std::string> copiados;
    std::string error;
    EXPECT_FALSE(zulprueba::copiarPlantilla("/no/existe", "x", copiados, error));
    EXPECT_EQ(error, "no se encontró la plantilla en /no/existe (¿está instalado el kit?)");
    const fs::path archivo = carpetaNueva("plantilla_archivo");
    std::ofstream(archivo) << "x";
    EXPECT_FALSE(zulprueba::copiarPlantilla(ZUL_PLANTILLA, archivo.string(), copiados, error));
    EXPECT_EQ(error, archivo.string() + " ya existe y no es una carpeta");
}

// A copy that fails halfway takes back what it wrote: a second try must not meet a clash.
TEST(Plantilla, UnaCopiaAMediasSeDeshace) {
    const fs::path origen = carpetaNueva("plantilla_origen");
    fs::create_directories(origen / "sub");
    std::ofstream(origen / "a.txt") << "a";
    std::ofstream(origen / "sub" / "b.txt") << "b";
    const fs::path destino = carpetaNueva("plantilla_a_medias");
    fs::create_directories(destino);
    std::ofstream(destino / "sub") << "un archivo donde iría la carpeta";
    std::vector<std::string> copiados;
    std::string error;
    EXPECT_FALSE(zulprueba::copiarPlantilla(origen.string(), destino.string(), copiados, error));
    EXPECT_EQ(error, "no se pudo crear la carpeta " + (destino / "sub").string() +
                         ": una parte de la ruta no es una carpeta");
    EXPECT_TRUE(copiados.empty());
    EXPECT_FALSE(fs::exists(destino / "a.txt"));
    EXPECT_EQ(contenido(destino / "sub"), "un archivo donde iría la carpeta");
}

} // namespace
