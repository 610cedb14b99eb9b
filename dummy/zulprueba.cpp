// zulprueba: comprueba en local que un bot cumple el protocolo de turnos.
//
// Arranca el bot con tuberías, le envía el mapa y los turnos (de un archivo o sintéticos),
// y comprueba cada respuesta: una sola línea por turno, "m" o "s" con dos números, sin disparos
// a menos de 100 turnos del anterior y dentro del tiempo límite.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

constexpr int kTurnosEntreDisparos = 100;
constexpr int kMuro = 5;
constexpr size_t kLineaMaxima = 64 * 1024;
constexpr int kInfraccionesEnPantalla = 20;
constexpr int kMapaSinProgresoMs = 10000;
// Tras cerrarle la entrada, lo que se espera a que el bot termine.
constexpr int kEsperaFinalMs = 2000;
// Un bot que cerró su salida está terminando; se le espera con holgura (los informes de
// fallo de algunos runtimes tardan).
constexpr int kEsperaMuerteMs = 10000;

const char* const kUso =
    "Uso: zulprueba [--mapa MAPA] [--turnos ARCHIVO | --pasos N] [--limite MS]\n"
    "                [--jugadores K] [--registro ARCHIVO] -- ./mibot [argumentos]\n"
    "\n"
    "Arranca el bot, le envía el mapa y los turnos y comprueba cada respuesta.\n"
    "  --mapa MAPA         mapa que se envía (por omisión, el mapa de ejemplo del kit)\n"
    "  --turnos ARCHIVO    turnos en el formato del protocolo: N, N veces \"x y u v\", id\n"
    "  --pasos N           N turnos sintéticos con los karts quietos en las primeras\n"
    "                      casillas de pista (por omisión 300)\n"
    "  --jugadores K       karts de los turnos sintéticos (por omisión 4; el propio es el 0)\n"
    "  --limite MS         tiempo máximo por respuesta, en milisegundos (por omisión 1000)\n"
    "  --registro ARCHIVO  escribe todo el intercambio en ARCHIVO\n"
    "Estado de salida: 0 si el bot cumple el protocolo, 1 si no, 2 si no se pudo probar.\n";

struct Opciones {
    std::string mapa;
    std::string turnos;
    long pasos = -1;
    int jugadores = 4;
    int limiteMs = 1000;
    std::string registro;
    std::vector<std::string> bot;
};

struct Mapa {
    int filas = 0;
    int columnas = 0;
    std::vector<int> celdas;
};

[[noreturn]] void fallar(const char* formato, ...) __attribute__((format(printf, 1, 2)));
void fallar(const char* formato, ...) {
    va_list args;
    va_start(args, formato);
    fputs("zulprueba: ", stderr);
    vfprintf(stderr, formato, args);
    fputc('\n', stderr);
    va_end(args);
    exit(2);
}

std::string formato(const char* f, ...) __attribute__((format(printf, 1, 2)));
std::string formato(const char* f, ...) {
    va_list args;
    va_start(args, f);
    va_list copia;
    va_copy(copia, args);
    int n = vsnprintf(nullptr, 0, f, args);
    va_end(args);
    std::string s(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    vsnprintf(s.data(), s.size() + 1, f, copia);
    va_end(copia);
    return s;
}

// Texto recibido, legible en una línea: recorta y escapa los bytes de control.
std::string mostrar(const std::string& s) {
    std::string r;
    for (unsigned char c : s.substr(0, 80)) {
        if (c < ' ' || c == 127) {
            r += formato("\\x%02X", c);
        } else {
            r += static_cast<char>(c);
        }
    }
    if (s.size() > 80) {
        r += "…";
    }
    return "«" + r + "»";
}

bool entero(const std::string& s, long minimo, long maximo, long& valor) {
    if (s.empty()) {
        return false;
    }
    errno = 0;
    char* fin = nullptr;
    long v = strtol(s.c_str(), &fin, 10);
    if (errno != 0 || *fin != '\0' || v < minimo || v > maximo) {
        return false;
    }
    valor = v;
    return true;
}

bool real(const std::string& s) {
    char* fin = nullptr;
    strtof(s.c_str(), &fin);
    return !s.empty() && *fin == '\0';
}

Opciones leerOpciones(int argc, char** argv) {
    Opciones o;
    std::string pasos;
    auto valor = [&](int& i) -> std::string {
        if (i + 1 >= argc) {
            fallar("falta el valor de %s\n%s", argv[i], kUso);
        }
        return argv[++i];
    };
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        long v = 0;
        if (a == "--") {
            ++i;
            break;
        } else if (a == "--ayuda" || a == "-h" || a == "--help") {
            fputs(kUso, stdout);
            exit(0);
        } else if (a == "--mapa") {
            o.mapa = valor(i);
        } else if (a == "--turnos") {
            o.turnos = valor(i);
        } else if (a == "--registro") {
            o.registro = valor(i);
        } else if (a == "--pasos") {
            pasos = valor(i);
            if (!entero(pasos, 0, 100000000, v)) {
                fallar("--pasos necesita un número de turnos entre 0 y 100000000, no «%s»",
                       pasos.c_str());
            }
            o.pasos = v;
        } else if (a == "--limite") {
            std::string s = valor(i);
            if (!entero(s, 1, 3600000, v)) {
                fallar("--limite necesita milisegundos entre 1 y 3600000, no «%s»", s.c_str());
            }
            o.limiteMs = static_cast<int>(v);
        } else if (a == "--jugadores") {
            std::string s = valor(i);
            if (!entero(s, 1, 10000, v)) {
                fallar("--jugadores necesita un número entre 1 y 10000, no «%s»", s.c_str());
            }
            o.jugadores = static_cast<int>(v);
        } else if (a.rfind("-", 0) == 0) {
            fallar("opción desconocida «%s»\n%s", a.c_str(), kUso);
        } else {
            break;
        }
    }
    for (; i < argc; ++i) {
        o.bot.push_back(argv[i]);
    }
    if (o.bot.empty()) {
        fallar("falta el bot que probar\n%s", kUso);
    }
    if (!o.turnos.empty() && o.pasos >= 0) {
        fallar("--turnos y --pasos se excluyen: use uno de los dos");
    }
    if (o.turnos.empty() && o.pasos < 0) {
        o.pasos = 300;
    }
    return o;
}

bool existe(const std::string& ruta) {
    return access(ruta.c_str(), R_OK) == 0;
}

// El mapa de ejemplo: junto al programa instalado (share/zul) o, en el árbol de compilación,
// en las fuentes.
std::string mapaDeEjemplo() {
    std::vector<std::string> candidatos;
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        exe[n] = '\0';
        std::string dir(exe);
        dir.erase(dir.rfind('/'));
        candidatos.push_back(dir + "/" + ZUL_MAPA_RELATIVO);
    }
    candidatos.push_back(ZUL_MAPA_FUENTE);
    for (const auto& c : candidatos) {
        if (existe(c)) {
            char limpia[PATH_MAX];
            return realpath(c.c_str(), limpia) != nullptr ? std::string(limpia) : c;
        }
    }
    std::string lista;
    for (const auto& c : candidatos) {
        lista += (lista.empty() ? "" : " ni en ") + c;
    }
    fallar("no se encontró el mapa de ejemplo (ni en %s); indique uno con --mapa MAPA",
           lista.c_str());
}

// Lee fichas separadas por espacio en blanco.
class Fichas {
public:
    explicit Fichas(FILE* f) : f_(f) {}
    bool siguiente(std::string& t) {
        t.clear();
        int c;
        while ((c = getc(f_)) != EOF && isspace(c)) {
        }
        while (c != EOF && !isspace(c)) {
            if (t.size() < 4096) {
                t += static_cast<char>(c);
            }
            c = getc(f_);
        }
        return !t.empty();
    }

private:
    FILE* f_;
};

Mapa leerMapa(const std::string& ruta) {
    FILE* f = fopen(ruta.c_str(), "r");
    if (f == nullptr) {
        fallar("no se pudo abrir el mapa %s: %s", ruta.c_str(), strerror(errno));
    }
    Fichas fichas(f);
    Mapa m;
    std::string t;
    long v = 0;
    if (!fichas.siguiente(t) || !entero(t, 0, INT_MAX, v)) {
        fallar("%s: se esperaba el número de filas (entero no negativo)", ruta.c_str());
    }
    m.filas = static_cast<int>(v);
    if (!fichas.siguiente(t) || !entero(t, 0, INT_MAX, v)) {
        fallar("%s: se esperaba el número de columnas (entero no negativo)", ruta.c_str());
    }
    m.columnas = static_cast<int>(v);
    const long long total = static_cast<long long>(m.filas) * m.columnas;
    for (long long k = 0; k < total; ++k) {
        if (!fichas.siguiente(t)) {
            fallar("%s: el mapa termina tras %lld de sus %lld celdas", ruta.c_str(), k, total);
        }
        if (!entero(t, INT_MIN, INT_MAX, v)) {
            fallar("%s: la celda de la fila %lld, columna %lld no es un entero: %s", ruta.c_str(),
                   k / m.columnas, k % m.columnas, mostrar(t).c_str());
        }
        m.celdas.push_back(static_cast<int>(v));
    }
    fclose(f);
    return m;
}

std::string textoMapa(const Mapa& m) {
    std::string s = formato("%d %d\n", m.filas, m.columnas);
    for (size_t k = 0; k < m.celdas.size(); ++k) {
        s += std::to_string(m.celdas[k]);
        s += (k + 1) % static_cast<size_t>(m.columnas) == 0 ? '\n' : ' ';
    }
    return s;
}

// Los karts quietos en las primeras casillas de pista, fila a fila.
std::string turnoSintetico(const Mapa& m, int jugadores) {
    std::vector<size_t> pista;
    for (size_t k = 0; k < m.celdas.size() && pista.size() < static_cast<size_t>(jugadores); ++k) {
        if (m.celdas[k] != kMuro) {
            pista.push_back(k);
        }
    }
    std::string s = formato("%d\n", jugadores);
    for (int j = 0; j < jugadores; ++j) {
        double x = 0.5, y = 0.5;
        if (!pista.empty()) {
            size_t k = pista[static_cast<size_t>(j) % pista.size()];
            x = static_cast<double>(k % static_cast<size_t>(m.columnas)) + 0.5;
            y = static_cast<double>(k / static_cast<size_t>(m.columnas)) + 0.5;
        }
        s += formato("%g %g 0 0\n", x, y);
    }
    return s + "0\n";
}

// Turnos de un archivo en el formato del protocolo; se envían con sus números tal cual.
std::vector<std::string> leerTurnos(const std::string& ruta) {
    FILE* f = fopen(ruta.c_str(), "r");
    if (f == nullptr) {
        fallar("no se pudo abrir el archivo de turnos %s: %s", ruta.c_str(), strerror(errno));
    }
    Fichas fichas(f);
    std::vector<std::string> turnos;
    std::string t;
    long n = 0;
    while (fichas.siguiente(t)) {
        const size_t numero = turnos.size() + 1;
        if (!entero(t, INT_MIN, INT_MAX, n)) {
            fallar("%s: turno %zu: se esperaba el número de jugadores (entero), no %s",
                   ruta.c_str(), numero, mostrar(t).c_str());
        }
        std::string texto = t + "\n";
        for (long i = 0; i < n; ++i) {
            for (int c = 0; c < 4; ++c) {
                if (!fichas.siguiente(t) || !real(t)) {
                    fallar("%s: turno %zu: la entrada %ld necesita cuatro números (x y u v)%s%s",
                           ruta.c_str(), numero, i, t.empty() ? "" : "; no vale ",
                           t.empty() ? "" : mostrar(t).c_str());
                }
                texto += t + (c == 3 ? "\n" : " ");
            }
        }
        long id = 0;
        if (!fichas.siguiente(t) || !entero(t, INT_MIN, INT_MAX, id)) {
            fallar("%s: turno %zu: falta el identificador propio (entero) tras las entradas",
                   ruta.c_str(), numero);
        }
        turnos.push_back(texto + t + "\n");
    }
    fclose(f);
    return turnos;
}

// ---------------------------------------------------------------------------------------------

FILE* transcripcion = nullptr;

void transcribir(char marca, const std::string& texto) {
    if (transcripcion == nullptr) {
        return;
    }
    size_t inicio = 0;
    while (inicio < texto.size()) {
        size_t fin = texto.find('\n', inicio);
        if (fin == std::string::npos) {
            fin = texto.size();
        }
        fprintf(transcripcion, "%c %s\n", marca, texto.substr(inicio, fin - inicio).c_str());
        inicio = fin + 1;
    }
}

volatile sig_atomic_t grupoDelBot = 0;

void alInterrumpir(int senal) {
    if (grupoDelBot > 0) {
        kill(-grupoDelBot, SIGKILL);
    }
    _exit(128 + senal);
}

int msHasta(Reloj::time_point t) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Reloj::now()).count();
    return ms < 0 ? 0 : static_cast<int>(std::min<long long>(ms, INT_MAX));
}

class Bot {
public:
    explicit Bot(const std::vector<std::string>& argv) {
        int e[2], s[2], r[2], x[2];
        if (pipe2(e, O_CLOEXEC) || pipe2(s, O_CLOEXEC) || pipe2(r, O_CLOEXEC) ||
            pipe2(x, O_CLOEXEC)) {
            fallar("no se pudieron crear las tuberías: %s", strerror(errno));
        }
        std::vector<char*> args;
        for (const auto& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        pid_ = fork();
        if (pid_ < 0) {
            fallar("no se pudo arrancar el bot: %s", strerror(errno));
        }
        if (pid_ == 0) {
            setpgid(0, 0);
            signal(SIGPIPE, SIG_DFL);
            dup2(e[0], STDIN_FILENO);
            dup2(s[1], STDOUT_FILENO);
            dup2(r[1], STDERR_FILENO);
            execvp(args[0], args.data());
            int err = errno;
            ssize_t escrito = write(x[1], &err, sizeof err);
            (void)escrito;
            _exit(127);
        }
        setpgid(pid_, pid_);
        grupoDelBot = pid_;
        close(e[0]);
        close(s[1]);
        close(r[1]);
        close(x[1]);
        int err = 0;
        ssize_t n;
        do {
            n = read(x[0], &err, sizeof err);
        } while (n < 0 && errno == EINTR);
        close(x[0]);
        if (n == static_cast<ssize_t>(sizeof err)) {
            waitpid(pid_, nullptr, 0);
            grupoDelBot = 0;
            fallar("no se pudo ejecutar %s: %s", argv[0].c_str(),
                   err == ENOENT   ? "no existe"
                   : err == EACCES ? "no tiene permiso de ejecución"
                                   : strerror(err));
        }
        entrada_ = e[1];
        salida_ = s[0];
        errores_ = r[0];
        fcntl(entrada_, F_SETFL, O_NONBLOCK);
    }

    ~Bot() { detener(); }

    // Escribe todo el texto antes del límite. Falla si vence o si el bot ya no lee.
    enum Envio { ENVIADO, AGOTADO, CERRADO };
    Envio enviar(const std::string& texto, Reloj::time_point limite, bool renovarConProgreso) {
        size_t hecho = 0;
        while (hecho < texto.size()) {
            ssize_t n = write(entrada_, texto.data() + hecho, texto.size() - hecho);
            if (n > 0) {
                hecho += static_cast<size_t>(n);
                if (renovarConProgreso) {
                    limite = Reloj::now() + std::chrono::milliseconds(kMapaSinProgresoMs);
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

    // Recoge lo que haya en la salida y los errores, esperando como mucho esperaMs.
    void leer(int esperaMs) {
        pollfd p[2] = {{salida_, POLLIN, 0}, {errores_, POLLIN, 0}};
        if (salida_ < 0 && errores_ < 0) {
            // Nada que leer: solo se deja pasar el tiempo, sin girar en vacío.
            usleep(static_cast<useconds_t>(std::min(esperaMs, 10)) * 1000);
            return;
        }
        if (poll(p, 2, esperaMs) <= 0) {
            return;
        }
        char buf[16384];
        if (salida_ >= 0 && p[0].revents) {
            ssize_t n = read(salida_, buf, sizeof buf);
            if (n > 0) {
                salida.append(buf, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(salida_);
                salida_ = -1;
            }
        }
        if (errores_ >= 0 && p[1].revents) {
            ssize_t n = read(errores_, buf, sizeof buf);
            if (n > 0) {
                // Lo que el bot escribe en stderr se ve tal cual y queda en la transcripción.
                ssize_t escrito = write(STDERR_FILENO, buf, static_cast<size_t>(n));
                (void)escrito;
                errores.append(buf, static_cast<size_t>(n));
                size_t fin;
                while ((fin = errores.find('\n')) != std::string::npos) {
                    transcribir('!', errores.substr(0, fin));
                    errores.erase(0, fin + 1);
                }
                if (errores.size() > kLineaMaxima) {
                    transcribir('!', errores);
                    errores.clear();
                }
            } else if (n == 0 || errno != EINTR) {
                close(errores_);
                errores_ = -1;
            }
        }
    }

    bool sacarLinea(std::string& linea) {
        size_t fin = salida.find('\n');
        if (fin == std::string::npos) {
            return false;
        }
        linea = salida.substr(0, fin);
        salida.erase(0, fin + 1);
        return true;
    }

    bool salidaCerrada() const { return salida_ < 0; }

    void cerrarEntrada() {
        if (entrada_ >= 0) {
            close(entrada_);
            entrada_ = -1;
        }
    }

    // Espera a que el proceso termine; false si no termina antes del límite.
    bool esperar(Reloj::time_point limite) {
        for (;;) {
            pid_t r = waitpid(pid_, &estado_, WNOHANG);
            if (r == pid_) {
                terminado_ = true;
                return true;
            }
            if (Reloj::now() >= limite) {
                return false;
            }
            leer(std::min(msHasta(limite), 10));
        }
    }

    void detener() {
        cerrarEntrada();
        if (pid_ > 0 && !terminado_) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, &estado_, 0);
            terminado_ = true;
            detenido_ = true;
        }
        grupoDelBot = 0;
        if (!errores.empty()) {
            transcribir('!', errores);
            errores.clear();
        }
    }

    // Recoge el resto de la salida hasta que el bot la cierre o venza el límite.
    void vaciar(Reloj::time_point limite) {
        while ((salida_ >= 0 || errores_ >= 0) && Reloj::now() < limite) {
            leer(std::min(msHasta(limite), 50));
        }
    }

    std::string comoTermino() const {
        if (detenido_) {
            return "zulprueba lo detuvo";
        }
        if (WIFSIGNALED(estado_)) {
            int s = WTERMSIG(estado_);
            const char* nombre = sigabbrev_np(s);
            return formato("murió por la señal %d (SIG%s)", s, nombre ? nombre : "?");
        }
        return formato("terminó con estado %d", WEXITSTATUS(estado_));
    }

    bool terminoBien() const {
        return !detenido_ && WIFEXITED(estado_) && WEXITSTATUS(estado_) == 0;
    }

    std::string salida;
    std::string errores;

private:
    pid_t pid_ = -1;
    int entrada_ = -1;
    int salida_ = -1;
    int errores_ = -1;
    int estado_ = 0;
    bool terminado_ = false;
    bool detenido_ = false;
};

// ---------------------------------------------------------------------------------------------

class Informe {
public:
    void infraccion(long turno, const std::string& texto) {
        std::string linea = turno > 0 ? formato("turno %ld: %s", turno, texto.c_str()) : texto;
        if (++infracciones_ <= kInfraccionesEnPantalla) {
            printf("%s\n", linea.c_str());
        }
        transcribir('#', "INFRACCIÓN " + linea);
    }
    int infracciones() const { return infracciones_; }
    void resumen() {
        if (infracciones_ > kInfraccionesEnPantalla) {
            printf("… y %d infracciones más%s\n", infracciones_ - kInfraccionesEnPantalla,
                   transcripcion ? " (todas en el registro)" : "");
        }
    }

private:
    int infracciones_ = 0;
};

// Comprueba una respuesta; devuelve el motivo si no vale. `disparo` dice si es una "s".
std::string comprobarLinea(const std::string& linea, bool& disparo) {
    if (linea.empty()) {
        return "línea vacía; se esperaba «m X Y» o «s X Y»";
    }
    for (unsigned char c : linea) {
        if ((c < ' ' && c != '\t') || c == 127) {
            return formato("respuesta no válida %s: contiene el byte de control 0x%02X",
                           mostrar(linea).c_str(), c);
        }
    }
    std::vector<std::string> partes;
    size_t i = 0;
    while (i < linea.size()) {
        while (i < linea.size() && (linea[i] == ' ' || linea[i] == '\t')) {
            ++i;
        }
        size_t inicio = i;
        while (i < linea.size() && linea[i] != ' ' && linea[i] != '\t') {
            ++i;
        }
        if (i > inicio) {
            partes.push_back(linea.substr(inicio, i - inicio));
        }
    }
    const std::string motivo = "respuesta no válida " + mostrar(linea) + ": ";
    if (linea[0] != 'm' && linea[0] != 's') {
        return motivo + "debe empezar por la letra «m» o «s»";
    }
    if (partes[0].size() != 1) {
        return motivo + "tras la letra va un espacio";
    }
    if (partes.size() < 3) {
        return motivo + "faltan números: van dos tras la letra";
    }
    if (partes.size() > 3) {
        return motivo + "sobra texto tras los dos números";
    }
    for (int k = 1; k <= 2; ++k) {
        char* fin = nullptr;
        double v = strtod(partes[k].c_str(), &fin);
        if (*fin != '\0') {
            return motivo + mostrar(partes[k]) + " no es un número";
        }
        if (!std::isfinite(v)) {
            return motivo + mostrar(partes[k]) + " no es un número finito";
        }
    }
    disparo = linea[0] == 's';
    return "";
}

struct Tiempos {
    double total = 0;
    double maximo = 0;
    long turnoMaximo = 0;
    long n = 0;
    void anotar(long turno, double ms) {
        total += ms;
        ++n;
        if (ms > maximo) {
            maximo = ms;
            turnoMaximo = turno;
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    const Opciones o = leerOpciones(argc, argv);
    const std::string rutaMapa = o.mapa.empty() ? mapaDeEjemplo() : o.mapa;
    const Mapa mapa = leerMapa(rutaMapa);
    std::vector<std::string> turnos;
    if (!o.turnos.empty()) {
        turnos = leerTurnos(o.turnos);
    }
    const long numTurnos = o.turnos.empty() ? o.pasos : static_cast<long>(turnos.size());
    const std::string sintetico = o.turnos.empty() ? turnoSintetico(mapa, o.jugadores) : "";

    if (!o.registro.empty()) {
        transcripcion = fopen(o.registro.c_str(), "w");
        if (transcripcion == nullptr) {
            fallar("no se pudo crear el registro %s: %s", o.registro.c_str(), strerror(errno));
        }
    }
    signal(SIGPIPE, SIG_IGN);
    signal(SIGINT, alInterrumpir);
    signal(SIGTERM, alInterrumpir);

    std::string orden;
    for (const auto& a : o.bot) {
        orden += (orden.empty() ? "" : " ") + a;
    }
    const std::string origen =
        o.turnos.empty() ? formato("%ld turnos sintéticos con %d karts", numTurnos, o.jugadores)
                         : formato("%ld turnos de %s", numTurnos, o.turnos.c_str());
    printf("zulprueba: %s con el mapa %s (%d filas × %d columnas), %s, límite %d ms\n",
           orden.c_str(), rutaMapa.c_str(), mapa.filas, mapa.columnas, origen.c_str(), o.limiteMs);
    fflush(stdout);
    transcribir('#', "bot: " + orden);
    transcribir('#', formato("mapa: %s (%d filas × %d columnas)", rutaMapa.c_str(), mapa.filas,
                             mapa.columnas));

    Informe informe;
    Tiempos tiempos;
    Bot bot(o.bot);
    long respondidos = 0;
    long ultimoDisparo = 0; // turno del último disparo válido; 0 = ninguno
    std::string final;
    bool parar = false;
    std::string linea;

    // Lo que llega sin que se haya pedido es una línea de más del turno anterior.
    auto lineasDeMas = [&](long turno) {
        bot.leer(0);
        while (bot.sacarLinea(linea)) {
            transcribir('<', linea);
            informe.infraccion(turno, turno == 0
                                          ? "respuesta antes del primer turno (el mapa no "
                                            "se contesta): " +
                                                mostrar(linea)
                                          : "línea de más en el mismo turno: " + mostrar(linea));
        }
    };
    auto finalTrasMorir = [&](long turno) {
        const auto limite = Reloj::now() + std::chrono::milliseconds(kEsperaMuerteMs);
        const std::string cuando =
            turno == 0 ? std::string(" al leer el mapa") : formato(" en el turno %ld", turno);
        if (bot.esperar(limite)) {
            final = bot.comoTermino() + cuando;
        } else {
            bot.detener();
            final = "cerró su salida" + cuando + " sin terminar; zulprueba lo detuvo";
        }
    };

    const std::string textoDelMapa = textoMapa(mapa);
    transcribir('>', textoDelMapa);
    switch (bot.enviar(textoDelMapa, Reloj::now() + std::chrono::milliseconds(kMapaSinProgresoMs),
                       true)) {
    case Bot::AGOTADO:
        informe.infraccion(
            0, formato("el bot dejó de leer el mapa (%d ms sin leer nada)", kMapaSinProgresoMs));
        bot.detener();
        final = "dejó de leer el mapa (silencio); zulprueba lo detuvo";
        parar = true;
        break;
    case Bot::CERRADO:
        informe.infraccion(0, "el bot no leyó el mapa entero");
        finalTrasMorir(0);
        parar = true;
        break;
    case Bot::ENVIADO:
        break;
    }

    for (long t = 1; t <= numTurnos && !parar; ++t) {
        const std::string& texto =
            o.turnos.empty() ? sintetico : turnos[static_cast<size_t>(t - 1)];
        lineasDeMas(t - 1);
        transcribir('#', formato("turno %ld", t));
        transcribir('>', texto);
        const auto inicio = Reloj::now();
        const auto limite = inicio + std::chrono::milliseconds(o.limiteMs);
        const Bot::Envio envio = bot.enviar(texto, limite, false);
        bool hay = false;
        while (envio == Bot::ENVIADO && !(hay = bot.sacarLinea(linea))) {
            if (bot.salida.size() > kLineaMaxima || bot.salidaCerrada() || Reloj::now() >= limite) {
                break;
            }
            bot.leer(msHasta(limite));
        }
        const double ms = std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
        if (!hay) {
            std::string resto =
                bot.salida.empty() ? "" : "; llegó " + mostrar(bot.salida) + " sin salto de línea";
            if (bot.salida.size() > kLineaMaxima) {
                informe.infraccion(t,
                                   formato("más de %zu bytes sin un salto de línea", kLineaMaxima));
                bot.detener();
                final = formato("escribió sin fin en el turno %ld; zulprueba lo detuvo", t);
            } else if (envio == Bot::CERRADO || bot.salidaCerrada()) {
                finalTrasMorir(t);
                informe.infraccion(t, "sin respuesta: el bot " + final + resto);
            } else {
                informe.infraccion(t, formato("sin respuesta en %d ms", o.limiteMs) + resto);
                bot.detener();
                final = formato("dejó de responder en el turno %ld (silencio); zulprueba lo "
                                "detuvo",
                                t);
            }
            parar = true;
            break;
        }
        ++respondidos;
        tiempos.anotar(t, ms);
        transcribir('<', linea);
        transcribir('#', formato("respuesta en %.3f ms", ms));
        bool disparo = false;
        const std::string motivo = comprobarLinea(linea, disparo);
        if (!motivo.empty()) {
            informe.infraccion(t, motivo);
        } else if (disparo && ultimoDisparo > 0 && t - ultimoDisparo < kTurnosEntreDisparos) {
            informe.infraccion(t, formato("disparo a %ld turnos del anterior (turno %ld); entre "
                                          "dos disparos van al menos %d turnos",
                                          t - ultimoDisparo, ultimoDisparo, kTurnosEntreDisparos));
        } else if (disparo) {
            ultimoDisparo = t;
        }
        lineasDeMas(t);
    }

    if (!parar) {
        // Al cerrarse la entrada el bot debe terminar sin escribir nada más.
        bot.cerrarEntrada();
        transcribir('#', "fin de la entrada");
        const auto limite = Reloj::now() + std::chrono::milliseconds(kEsperaFinalMs);
        long deMas = 0;
        std::string primera;
        while (!bot.salidaCerrada() && Reloj::now() < limite) {
            bot.leer(std::min(msHasta(limite), 50));
            while (bot.sacarLinea(linea)) {
                if (deMas++ < 5) {
                    transcribir('<', linea);
                }
                if (primera.empty()) {
                    primera = mostrar(linea);
                }
            }
            if (bot.salida.size() > kLineaMaxima) {
                bot.salida.clear();
                ++deMas;
            }
        }
        if (deMas > 0) {
            informe.infraccion(0, formato("tras el último turno: %ld línea%s de más (la primera: "
                                          "%s)",
                                          deMas, deMas == 1 ? "" : "s", primera.c_str()));
        }
        if (bot.salidaCerrada() && !bot.salida.empty()) {
            informe.infraccion(0, "tras el último turno: texto sin salto de línea " +
                                      mostrar(bot.salida));
        }
        if (bot.esperar(limite)) {
            final = bot.comoTermino() + " al cerrarse su entrada";
            if (!bot.terminoBien()) {
                informe.infraccion(0, "al cerrarse su entrada el bot " + bot.comoTermino());
            }
        } else {
            bot.detener();
            final = "siguió vivo tras cerrarse su entrada; zulprueba lo detuvo (aviso: el "
                    "programa debe terminar al acabarse la entrada)";
        }
    } else {
        bot.detener();
    }
    // Lo último que el bot escribió en stderr, antes del resumen.
    bot.vaciar(Reloj::now() + std::chrono::milliseconds(1000));

    informe.resumen();
    std::vector<std::string> resumen;
    resumen.push_back(formato("Turnos respondidos: %ld de %ld", respondidos, numTurnos));
    if (tiempos.n > 0) {
        resumen.push_back(formato("Tiempo por turno: media %.3f ms, máximo %.3f ms (turno %ld)",
                                  tiempos.total / static_cast<double>(tiempos.n), tiempos.maximo,
                                  tiempos.turnoMaximo));
    } else {
        resumen.push_back("Tiempo por turno: ninguna respuesta");
    }
    resumen.push_back("Final del bot: " + final);
    resumen.push_back(informe.infracciones() == 0
                          ? std::string("Resultado: el bot cumple el protocolo")
                          : formato("Resultado: el bot NO cumple el protocolo (%d infracci%s)",
                                    informe.infracciones(),
                                    informe.infracciones() == 1 ? "ón" : "ones"));
    for (const auto& l : resumen) {
        printf("%s\n", l.c_str());
        transcribir('#', l);
    }
    if (transcripcion != nullptr && fclose(transcripcion) != 0) {
        fprintf(stderr, "zulprueba: no se pudo escribir el registro %s\n", o.registro.c_str());
        return 2;
    }
    return informe.infracciones() == 0 ? 0 : 1;
}
