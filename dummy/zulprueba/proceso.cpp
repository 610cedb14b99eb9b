#include "proceso.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace zul {

namespace {

void cerrar(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// Only async-signal-safe calls from here until exec: the parent may have any state.
[[noreturn]] void ejecutarHijo(char** args, char** entorno, const Arranque& a, int e, int s, int r,
                               int aviso) {
    setpgid(0, 0);
    // An ignored SIGPIPE would survive exec; the program gets the default dispositions.
    signal(SIGPIPE, SIG_DFL);
    sigset_t ninguna;
    sigemptyset(&ninguna);
    sigprocmask(SIG_SETMASK, &ninguna, nullptr);
    dup2(e, STDIN_FILENO);
    dup2(s, STDOUT_FILENO);
    dup2(r, STDERR_FILENO);
    if (a.limiteMemoria > 0) {
        const rlimit limite = {static_cast<rlim_t>(a.limiteMemoria),
                               static_cast<rlim_t>(a.limiteMemoria)};
        setrlimit(RLIMIT_AS, &limite);
    }
    execvpe(args[0], args, entorno);
    const int err = errno;
    ssize_t escrito = write(aviso, &err, sizeof err);
    (void)escrito;
    _exit(127);
}

} // namespace

int msHasta(Reloj::time_point limite) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now()).count();
    return ms < 0 ? 0 : static_cast<int>(std::min<long long>(ms, INT_MAX));
}

Proceso::Proceso(const Arranque& arranque) {
    // Writing to a program that has gone must not kill the writer.
    signal(SIGPIPE, SIG_IGN);
    int e[2], s[2], r[2], x[2];
    if (pipe2(e, O_CLOEXEC) || pipe2(s, O_CLOEXEC) || pipe2(r, O_CLOEXEC) || pipe2(x, O_CLOEXEC)) {
        throw ErrorDeArranque("no se pudieron crear las tuberías", errno);
    }
    // Prepared before fork: the child may not allocate.
    std::vector<char*> args;
    for (const auto& a : arranque.argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    std::vector<char*> entorno;
    for (char** v = environ; *v != nullptr; ++v) {
        const char* igual = strchr(*v, '=');
        const size_t largo = igual != nullptr ? static_cast<size_t>(igual - *v) + 1 : strlen(*v);
        const bool sustituida =
            std::any_of(arranque.entorno.begin(), arranque.entorno.end(),
                        [&](const std::string& a) { return a.compare(0, largo, *v, largo) == 0; });
        if (!sustituida) {
            entorno.push_back(*v);
        }
    }
    for (const auto& v : arranque.entorno) {
        entorno.push_back(const_cast<char*>(v.c_str()));
    }
    entorno.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        ejecutarHijo(args.data(), entorno.data(), arranque, e[0], s[1], r[1], x[1]);
    }
    const int errorFork = errno;
    close(e[0]);
    close(s[1]);
    close(r[1]);
    close(x[1]);
    entrada_ = e[1];
    salida_ = s[0];
    errores_ = r[0];
    if (pid_ < 0) {
        close(x[0]);
        throw ErrorDeArranque("no se pudo arrancar el programa", errorFork);
    }
    // Set on both sides, so the group exists whichever runs first.
    setpgid(pid_, pid_);
    int err = 0;
    ssize_t n;
    do {
        n = read(x[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    close(x[0]);
    if (n == static_cast<ssize_t>(sizeof err)) {
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        cerrar(entrada_);
        cerrar(salida_);
        cerrar(errores_);
        throw ErrorDeArranque("no se pudo ejecutar " + arranque.argv[0], err);
    }
    fcntl(entrada_, F_SETFL, O_NONBLOCK);
}

Proceso::~Proceso() {
    detener();
    cerrar(salida_);
    cerrar(errores_);
}

Proceso::Envio Proceso::enviar(const std::string& texto, Reloj::time_point limite, int progresoMs) {
    size_t hecho = 0;
    while (hecho < texto.size()) {
        if (entrada_ < 0) {
            return CERRADO;
        }
        const ssize_t n = write(entrada_, texto.data() + hecho, texto.size() - hecho);
        if (n > 0) {
            hecho += static_cast<size_t>(n);
            if (progresoMs > 0) {
                limite = Reloj::now() + std::chrono::milliseconds(progresoMs);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return CERRADO;
        }
        if (Reloj::now() >= limite) {
            return AGOTADO;
        }
        pollfd p[3] = {{entrada_, POLLOUT, 0}, {salida_, POLLIN, 0}, {errores_, POLLIN, 0}};
        poll(p, 3, std::min(msHasta(limite), 50));
        leer(0);
    }
    return ENVIADO;
}

void Proceso::leer(int esperaMs) {
    if (flujosCerrados()) {
        // Nothing to read: only let the time pass, without spinning.
        usleep(static_cast<useconds_t>(std::min(esperaMs, 10)) * 1000);
        return;
    }
    pollfd p[2] = {{salida_, POLLIN, 0}, {errores_, POLLIN, 0}};
    if (poll(p, 2, esperaMs) <= 0) {
        return;
    }
    char buf[16384];
    int* fd[2] = {&salida_, &errores_};
    for (int k = 0; k < 2; ++k) {
        if (*fd[k] < 0 || p[k].revents == 0) {
            continue;
        }
        const ssize_t n = read(*fd[k], buf, sizeof buf);
        if (n > 0) {
            const size_t largo = static_cast<size_t>(n);
            if (k == 0) {
                salida.append(buf, largo);
            } else if (alRecibirErrores) {
                alRecibirErrores(buf, largo);
            } else {
                errores.append(buf, largo);
            }
        } else if (n == 0 || errno != EINTR) {
            cerrar(*fd[k]);
        }
    }
}

bool Proceso::sacarLinea(std::string& linea) {
    const size_t fin = salida.find('\n');
    if (fin == std::string::npos) {
        return false;
    }
    linea.assign(salida, 0, fin);
    salida.erase(0, fin + 1);
    return true;
}

void Proceso::cerrarEntrada() {
    cerrar(entrada_);
}

void Proceso::cerrarSalida() {
    cerrar(salida_);
}

void Proceso::acabarGrupo() {
    // The program has ended but is not reaped yet, so its group id cannot have been reused.
    kill(-pid_, SIGKILL);
    waitpid(pid_, &estado_, 0);
    terminado_ = true;
}

bool Proceso::esperar(Reloj::time_point limite) {
    for (;;) {
        if (terminado_) {
            return true;
        }
        siginfo_t info;
        info.si_pid = 0;
        if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid_) {
            acabarGrupo();
            return true;
        }
        if (Reloj::now() >= limite) {
            return false;
        }
        leer(std::min(msHasta(limite), 10));
    }
}

void Proceso::detener() {
    cerrarEntrada();
    if (pid_ > 0 && !terminado_) {
        acabarGrupo();
        detenido_ = true;
    }
}

void Proceso::vaciar(Reloj::time_point limite) {
    while (!flujosCerrados() && Reloj::now() < limite) {
        leer(std::min(msHasta(limite), 50));
    }
}

void adoptarHuerfanos() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

void terminarDescendientes() {
    // /proc/PID/task/PID/children, written by hand: snprintf is not async-signal-safe.
    char ruta[64] = "/proc/";
    char cifras[24];
    auto anadirPid = [&](size_t& k) {
        long v = getpid();
        int n = 0;
        do {
            cifras[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v > 0);
        while (n > 0) {
            ruta[k++] = cifras[--n];
        }
    };
    size_t k = 6;
    anadirPid(k);
    for (const char* p = "/task/"; *p; ++p) {
        ruta[k++] = *p;
    }
    anadirPid(k);
    for (const char* p = "/children"; *p; ++p) {
        ruta[k++] = *p;
    }
    ruta[k] = '\0';
    // Each round ends the children seen; the ones they leave behind are adopted for the next.
    for (int ronda = 0; ronda < 1000; ++ronda) {
        const int fd = open(ruta, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return;
        }
        char lista[4096];
        ssize_t n = read(fd, lista, sizeof lista - 1);
        close(fd);
        if (n <= 0) {
            return;
        }
        // Each pid ends with a space; one cut short by the buffer waits for the next round.
        pid_t hijo = 0;
        for (ssize_t i = 0; i < n; ++i) {
            if (lista[i] >= '0' && lista[i] <= '9') {
                hijo = hijo * 10 + (lista[i] - '0');
            } else if (hijo > 0) {
                kill(-hijo, SIGKILL);
                kill(hijo, SIGKILL);
                waitpid(hijo, nullptr, 0);
                hijo = 0;
            }
        }
    }
}

} // namespace zul
