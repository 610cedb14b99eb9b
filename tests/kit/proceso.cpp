#include "proceso.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Reloj = std::chrono::steady_clock;

int msHasta(Reloj::time_point limite) {
    auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
    return resto.count() < 0 ? 0 : static_cast<int>(resto.count());
}

void cerrar(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

} // namespace

std::vector<std::string> Resultado::lineas() const {
    std::vector<std::string> v;
    size_t inicio = 0;
    for (size_t fin; (fin = salida.find('\n', inicio)) != std::string::npos; inicio = fin + 1) {
        v.push_back(salida.substr(inicio, fin - inicio));
    }
    if (inicio < salida.size()) {
        v.push_back(salida.substr(inicio));
    }
    return v;
}

Proceso::Proceso(const std::vector<std::string>& argv, const std::vector<std::string>& entorno) {
    signal(SIGPIPE, SIG_IGN);
    int e[2], s[2], r[2];
    if (pipe2(e, O_CLOEXEC) != 0 || pipe2(s, O_CLOEXEC) != 0 || pipe2(r, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 falló");
    }
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork falló");
    }
    if (pid_ == 0) {
        dup2(e[0], STDIN_FILENO);
        dup2(s[1], STDOUT_FILENO);
        dup2(r[1], STDERR_FILENO);
        for (const auto& v : entorno) {
            putenv(const_cast<char*>(v.c_str()));
        }
        execv(args[0], args.data());
        _exit(127);
    }
    close(e[0]);
    close(s[1]);
    close(r[1]);
    entrada_ = e[1];
    salida_ = s[0];
    errores_ = r[0];
    fcntl(entrada_, F_SETFL, O_NONBLOCK);
}

Proceso::~Proceso() {
    cerrar(entrada_);
    cerrar(salida_);
    cerrar(errores_);
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void Proceso::cerrarEntrada() {
    cerrar(entrada_);
}

// Lee lo que haya en la salida y los errores; espera como mucho esperaMs a que llegue algo.
// Devuelve false cuando ambos flujos se han cerrado.
bool Proceso::leerDisponible(int esperaMs) {
    pollfd fds[2] = {{salida_, POLLIN, 0}, {errores_, POLLIN, 0}};
    if (salida_ < 0 && errores_ < 0) {
        return false;
    }
    if (poll(fds, 2, esperaMs) <= 0) {
        return true;
    }
    char buf[65536];
    int* fd[2] = {&salida_, &errores_};
    std::string* destino[2] = {&bufSalida_, &bufErrores_};
    for (int k = 0; k < 2; ++k) {
        if (*fd[k] >= 0 && (fds[k].revents & (POLLIN | POLLHUP | POLLERR))) {
            ssize_t n = read(*fd[k], buf, sizeof buf);
            if (n > 0) {
                destino[k]->append(buf, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                cerrar(*fd[k]);
            }
        }
    }
    return true;
}

void Proceso::escribir(const std::string& texto) {
    size_t hecho = 0;
    const auto limite = Reloj::now() + std::chrono::seconds(20);
    while (hecho < texto.size() && entrada_ >= 0 && Reloj::now() < limite) {
        ssize_t n = write(entrada_, texto.data() + hecho, texto.size() - hecho);
        if (n > 0) {
            hecho += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EPIPE) {
            cerrarEntrada();
            return;
        }
        // Tubería llena: se vacía la salida del programa mientras tanto para no bloquearse.
        pollfd p = {entrada_, POLLOUT, 0};
        poll(&p, 1, 0);
        if (!(p.revents & POLLOUT)) {
            leerDisponible(10);
        }
    }
}

bool Proceso::leerLinea(std::string& linea, int topeMs) {
    const auto limite = Reloj::now() + std::chrono::milliseconds(topeMs);
    for (;;) {
        size_t fin = bufSalida_.find('\n', consumido_);
        if (fin != std::string::npos) {
            linea = bufSalida_.substr(consumido_, fin - consumido_);
            consumido_ = fin + 1;
            return true;
        }
        if (Reloj::now() >= limite || salida_ < 0) {
            return false;
        }
        leerDisponible(msHasta(limite));
    }
}

Resultado Proceso::terminar(int topeMs) {
    cerrarEntrada();
    Resultado r;
    const auto limite = Reloj::now() + std::chrono::milliseconds(topeMs);
    while ((salida_ >= 0 || errores_ >= 0) && Reloj::now() < limite) {
        leerDisponible(msHasta(limite));
    }
    int estado = 0;
    while (waitpid(pid_, &estado, WNOHANG) == 0) {
        if (Reloj::now() >= limite) {
            r.colgado = true;
            kill(pid_, SIGKILL);
            waitpid(pid_, &estado, 0);
            break;
        }
        usleep(2000);
    }
    pid_ = -1;
    cerrar(salida_);
    cerrar(errores_);
    if (WIFEXITED(estado)) {
        r.estado = WEXITSTATUS(estado);
    } else if (WIFSIGNALED(estado)) {
        r.senal = WTERMSIG(estado);
    }
    r.salida = bufSalida_.substr(consumido_);
    r.errores = bufErrores_;
    return r;
}

Resultado ejecutar(const std::vector<std::string>& argv, const std::string& entrada,
                   const std::vector<std::string>& entorno, int topeMs) {
    Proceso p(argv, entorno);
    p.escribir(entrada);
    return p.terminar(topeMs);
}
