#include "informe.h"

#include "comun/motivo_error.h"
#include "error.h"
#include "texto.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace zul {

namespace {

constexpr int kInfraccionesEnPantalla = 20;
// A bot that writes to stderr without line breaks still gets its text into the transcript.
constexpr size_t kLineaMaxima = 64 * 1024;

} // namespace

Transcripcion::Transcripcion(const std::string& ruta) {
    if (ruta.empty()) {
        return;
    }
    destino_ = destinoDe(ruta);
    // A device or a pipe (/dev/stdout, a FIFO) is written in place; a folder refuses it.
    const int fd = destino_.existe && !destino_.regular
                       ? abreEnSuSitio(ruta)
                       : creaTemporal(destino_, std::string(), ".parcial", parcial_);
    if (fd >= 0 && (f_ = fdopen(fd, "w")) == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    if (f_ == nullptr) {
        const int error = errno;
        if (!parcial_.empty()) {
            descartaTemporal(parcial_);
        }
        throw ErrorDePrueba(formato("no se pudo crear el registro %s: %s", ruta.c_str(),
                                    zul::motivoAlCrear(error).c_str()));
    }
}

Transcripcion::~Transcripcion() {
    cerrar();
}

void Transcripcion::escribir(char marca, const std::string& texto) {
    if (f_ == nullptr) {
        return;
    }
    size_t inicio = 0;
    while (inicio < texto.size()) {
        size_t fin = texto.find('\n', inicio);
        if (fin == std::string::npos) {
            fin = texto.size();
        }
        if (std::fprintf(f_, "%c %.*s\n", marca, static_cast<int>(fin - inicio),
                         texto.data() + inicio) < 0 &&
            error_ == 0) {
            error_ = errno;
        }
        inicio = fin + 1;
    }
}

void Transcripcion::erroresDelBot(const char* datos, size_t largo) {
    // Shown at once, as it came.
    ssize_t escrito = write(STDERR_FILENO, datos, largo);
    (void)escrito;
    errores_.append(datos, largo);
    size_t fin;
    while ((fin = errores_.find('\n')) != std::string::npos) {
        escribir('!', errores_.substr(0, fin));
        errores_.erase(0, fin + 1);
    }
    if (errores_.size() > kLineaMaxima) {
        terminarErrores();
    }
}

void Transcripcion::terminarErrores() {
    if (!errores_.empty()) {
        escribir('!', errores_);
        errores_.clear();
    }
}

bool Transcripcion::cerrar() {
    if (f_ == nullptr) {
        return true;
    }
    terminarErrores();
    bool bien = std::fflush(f_) == 0 && std::ferror(f_) == 0;
    if (!bien && error_ == 0) {
        error_ = errno;
    }
    // Some file systems report a full disk only when the data is flushed or the file closed.
    if (bien && !parcial_.empty() && ::fsync(fileno(f_)) != 0 && errno != EINVAL &&
        errno != EROFS) {
        bien = false;
        error_ = error_ != 0 ? error_ : errno;
    }
    if (std::fclose(f_) != 0) {
        bien = false;
        error_ = error_ != 0 ? error_ : errno;
    }
    f_ = nullptr;
    if (parcial_.empty()) {
        return bien;
    }
    if (!bien) {
        descartaTemporal(parcial_);
    } else if (const int fallo = publicaTemporal(parcial_, destino_); fallo != 0) {
        bien = false;
        error_ = error_ != 0 ? error_ : fallo;
    }
    parcial_.clear();
    return bien;
}

void Informe::infraccion(long turno, const std::string& texto) {
    const std::string linea = turno > 0 ? formato("turno %ld: %s", turno, texto.c_str()) : texto;
    if (++infracciones_ <= kInfraccionesEnPantalla) {
        std::printf("%s\n", linea.c_str());
    }
    transcripcion_.escribir('#', "INFRACCIÓN " + linea);
}

void Informe::tiempo(long turno, double ms) {
    total_ += ms;
    ++respuestas_;
    if (ms > maximo_) {
        maximo_ = ms;
        turnoMaximo_ = turno;
    }
}

void Informe::resumen(long respondidos, long turnos, const std::string& final) {
    if (infracciones_ > kInfraccionesEnPantalla) {
        std::printf("… y %d infracciones más%s\n", infracciones_ - kInfraccionesEnPantalla,
                    transcripcion_.activa() ? " (todas en el registro)" : "");
    }
    std::vector<std::string> lineas;
    lineas.push_back(formato("Turnos respondidos: %ld de %ld", respondidos, turnos));
    if (respuestas_ > 0) {
        lineas.push_back(formato("Tiempo por turno: media %.3f ms, máximo %.3f ms (turno %ld)",
                                 total_ / static_cast<double>(respuestas_), maximo_, turnoMaximo_));
    } else {
        lineas.push_back("Tiempo por turno: ninguna respuesta");
    }
    lineas.push_back("Final del bot: " + final);
    lineas.push_back(infracciones_ == 0
                         ? std::string("Resultado: el bot cumple el protocolo")
                         : formato("Resultado: el bot NO cumple el protocolo (%d infracci%s)",
                                   infracciones_, infracciones_ == 1 ? "ón" : "ones"));
    for (const auto& l : lineas) {
        std::printf("%s\n", l.c_str());
        transcripcion_.escribir('#', l);
    }
}

} // namespace zul
