#include "entradas.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace zul::bench {

namespace {

constexpr double kPi = 3.141592653589793;

// A fixed generator, so every run and every machine measures the same bytes.
class Azar {
public:
    explicit Azar(std::uint64_t semilla) : estado(semilla) {}
    // Uniform in [0, 1).
    double real() {
        estado = estado * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(estado >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    std::uint64_t estado;
};

template <typename... Args> void anade(std::string& texto, const char* formato, Args... args) {
    char linea[160];
    const int n = std::snprintf(linea, sizeof linea, formato, args...);
    texto.append(linea, static_cast<std::size_t>(n));
}

} // namespace

Tamanos tamanosCompletos() {
    return Tamanos{};
}

Tamanos tamanosReducidos() {
    Tamanos t;
    t.frames = 200;
    t.mapaPequeno = 17;
    t.mapaGrande = 64;
    t.mapaAlterno = 65;
    t.turnos = 5;
    return t;
}

std::size_t disparosGenerados(int frames, int cadaDisparo) {
    return frames > 0 ? static_cast<std::size_t>((frames - 1) / cadaDisparo + 1) : 0;
}

std::string generaCarrera(int jugadores, int frames, int cadaDisparo) {
    std::string texto;
    texto.reserve(static_cast<std::size_t>(jugadores) * static_cast<std::size_t>(frames) * 38 +
                  1024);
    anade(texto, "%d\n", jugadores);
    for (int j = 0; j < jugadores; ++j) {
        anade(texto, "%sJugador%d", j > 0 ? " " : "", j + 1);
    }
    texto += '\n';
    Azar azar(20261208);
    for (int k = 0; k < frames; ++k) {
        for (int j = 0; j < jugadores; ++j) {
            const double t = k * 0.001 + j * 0.3 + azar.real() * 0.01;
            const double x = 256.0 + 200.0 * std::cos(t) + azar.real();
            const double y = 256.0 + 150.0 * std::sin(t) + azar.real();
            const double rumbo = std::atan2(150.0 * std::cos(t), -200.0 * std::sin(t));
            const int vueltas = static_cast<int>(t / (2.0 * kPi));
            anade(texto, "p %.6f %.6f %.6f %d\n", x, y, rumbo, vueltas);
        }
        if (k % cadaDisparo == 0) {
            const double x = 56.0 + 400.0 * azar.real();
            const double y = 106.0 + 300.0 * azar.real();
            anade(texto, "s %.6f %.6f %.6f %.6f\n", x, y, x + 30.0 * azar.real(),
                  y + 30.0 * azar.real());
        }
    }
    return texto;
}

std::string generaMapa(int lado) {
    std::string texto;
    texto.reserve(static_cast<std::size_t>(lado) * static_cast<std::size_t>(lado) * 2 + 32);
    anade(texto, "%d %d\n", lado, lado);
    const double centro = lado / 2.0;
    for (int y = 0; y < lado; ++y) {
        for (int x = 0; x < lado; ++x) {
            const double dx = (x + 0.5 - centro) / (0.4 * lado);
            const double dy = (y + 0.5 - centro) / (0.3 * lado);
            const double d = dx * dx + dy * dy;
            int valor = 5;
            if (d > 0.6 && d < 1.4) {
                // Arrows point round the ring: down on the right side, up on the
                // left, right along the top and left along the bottom.
                const bool horizontal = std::abs(dy) > std::abs(dx);
                const int flecha = horizontal ? (dy < 0 ? 1 : 3) : (dx > 0 ? 0 : 2);
                valor = (x + y) % 3 == 0 ? flecha : 4;
            }
            texto += static_cast<char>('0' + valor);
            texto += x + 1 < lado ? ' ' : '\n';
        }
    }
    return texto;
}

std::string generaMapaAlterno(int lado) {
    std::string texto;
    texto.reserve(static_cast<std::size_t>(lado) * static_cast<std::size_t>(lado) * 2 + 32);
    anade(texto, "%d %d\n", lado, lado);
    for (int y = 0; y < lado; ++y) {
        for (int x = 0; x < lado; ++x) {
            texto += (x + y) % 2 == 0 ? '5' : '4';
            texto += x + 1 < lado ? ' ' : '\n';
        }
    }
    return texto;
}

std::string generaTurnos(int turnos, int entradas) {
    std::string texto = "1 1\n4\n";
    Azar azar(7);
    for (int t = 0; t < turnos; ++t) {
        anade(texto, "%d\n", entradas);
        for (int i = 0; i < entradas; ++i) {
            anade(texto, "%.3f %.3f %.4f %.4f\n", 512.0 * azar.real(), 512.0 * azar.real(),
                  4.0 * azar.real() - 2.0, 4.0 * azar.real() - 2.0);
        }
        anade(texto, "%d\n", entradas > 0 ? t % entradas : 0);
    }
    return texto;
}

DirectorioTemporal::DirectorioTemporal() {
    std::string plantilla = (std::filesystem::temp_directory_path() / "zul_bench-XXXXXX").string();
    if (mkdtemp(plantilla.data()) == nullptr) {
        throw std::runtime_error("No se pudo crear una carpeta temporal en " + plantilla + ": " +
                                 std::strerror(errno));
    }
    ruta = plantilla;
}

DirectorioTemporal::~DirectorioTemporal() {
    std::error_code ignorado;
    std::filesystem::remove_all(ruta, ignorado);
}

std::string DirectorioTemporal::escribe(const std::string& nombre,
                                        const std::string& contenido) const {
    const std::string archivo = ruta + "/" + nombre;
    std::ofstream salida(archivo, std::ios::binary);
    salida.write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
    salida.close();
    if (!salida) {
        throw std::runtime_error("No se pudo escribir " + archivo);
    }
    return archivo;
}

std::string leeArchivo(const std::string& ruta) {
    std::ifstream entrada(ruta, std::ios::binary);
    if (!entrada) {
        throw std::runtime_error("No se pudo abrir " + ruta);
    }
    std::ostringstream texto;
    texto << entrada.rdbuf();
    return texto.str();
}

} // namespace zul::bench
