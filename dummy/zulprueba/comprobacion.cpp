#include "comprobacion.h"

#include "comun/motivo_error.h"
#include "error.h"
#include "respuesta.h"
#include "texto.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring> // sigabbrev_np
#include <sys/stat.h>
#include <sys/wait.h>

namespace zul {

namespace {

constexpr int kTurnosEntreDisparos = 100;
constexpr size_t kLineaMaxima = 64 * 1024;
constexpr int kMapaSinProgresoMs = 10000;
// How long a bot whose input was closed after the last turn has to end.
constexpr int kEsperaFinalMs = 2000;
// A bot that closed its output is ending; it gets plenty of time (some runtimes take long to
// report a crash).
constexpr int kEsperaMuerteMs = 10000;

Reloj::time_point dentroDe(int ms) {
    return Reloj::now() + std::chrono::milliseconds(ms);
}

Arranque arranque(const Opciones& o) {
    Arranque a;
    a.argv = o.bot;
    if (!o.depuracion.empty()) {
        a.entorno.push_back("ZUL_DEPURACION=" + o.depuracion);
    }
    return a;
}

std::string comoTermino(const Proceso& p) {
    if (p.detenido()) {
        return "zulprueba lo detuvo";
    }
    if (WIFSIGNALED(p.estado())) {
        const int s = WTERMSIG(p.estado());
        const char* nombre = sigabbrev_np(s);
        return formato("murió por la señal %d (SIG%s)", s, nombre ? nombre : "?");
    }
    return formato("terminó con estado %d", WEXITSTATUS(p.estado()));
}

bool terminoBien(const Proceso& p) {
    return !p.detenido() && WIFEXITED(p.estado()) && WEXITSTATUS(p.estado()) == 0;
}

// Why the bot could not be run. Lacking permission to run a program is not lacking permission to
// read it, and a script whose "#!" line names a missing interpreter fails as if the script itself
// were missing.
std::string motivoDeArranque(const std::vector<std::string>& bot, int error) {
    struct stat datos;
    const bool sinRuta = !bot.empty() && bot[0].find('/') == std::string::npos;
    if (sinRuta && error == ENOENT && stat(bot[0].c_str(), &datos) == 0) {
        // As in the shell, a name without a '/' is looked for in PATH only.
        return formato("no está en el PATH; para el de esta carpeta escriba ./%s", bot[0].c_str());
    }
    const bool existe = !sinRuta && !bot.empty() && stat(bot[0].c_str(), &datos) == 0;
    if (error == EACCES) {
        return existe && S_ISDIR(datos.st_mode) ? "es una carpeta, no un programa"
                                                : "no tiene permiso de ejecución";
    }
    if (error == ENOENT && existe) {
        return "el archivo existe, pero no el intérprete que pide (su línea #!)";
    }
    return zul::motivoDelSistema(error);
}

std::string ordenDelBot(const std::vector<std::string>& bot) {
    std::string orden;
    for (const auto& a : bot) {
        orden += (orden.empty() ? "" : " ") + a;
    }
    return orden;
}

} // namespace

Comprobacion::Comprobacion(const Opciones& o, const Mapa& mapa, const FuenteDeTurnos& turnos,
                           Transcripcion& transcripcion)
    : opciones_(o), mapa_(mapa), turnos_(turnos), transcripcion_(transcripcion),
      informe_(transcripcion) {
    const std::string orden = ordenDelBot(o.bot);
    if (o.desde > 0 && o.desde >= turnos.cantidad()) {
        throw ErrorDePrueba(formato("--desde %ld pasa del último turno: hay %ld (del 0 al %ld)",
                                    o.desde, turnos.cantidad(), turnos.cantidad() - 1));
    }
    std::string tramo;
    if (o.desde > 0 || o.hasta >= 0) {
        tramo = o.hasta >= 0 ? formato(", comprobados del %ld al %ld", o.desde, o.hasta)
                             : formato(", comprobados desde el %ld", o.desde);
    }
    std::printf("zulprueba: %s con el mapa %s (%d filas × %d columnas), %s%s, límite %d ms\n",
                orden.c_str(), o.mapa.c_str(), mapa.filas, mapa.columnas,
                turnos.descripcion().c_str(), tramo.c_str(), o.limiteMs);
    std::fflush(stdout);
    transcripcion_.escribir('#', "bot: " + orden);
    transcripcion_.escribir('#', formato("mapa: %s (%d filas × %d columnas)", o.mapa.c_str(),
                                         mapa.filas, mapa.columnas));
    try {
        bot_.emplace(arranque(o));
    } catch (const ErrorDeArranque& e) {
        throw ErrorDePrueba(formato("%s: %s", e.what(), motivoDeArranque(o.bot, e.error).c_str()));
    }
    bot_->alRecibirErrores = [this](const char* datos, size_t largo) {
        transcripcion_.erroresDelBot(datos, largo);
    };
}

void Comprobacion::lineasDeMas(long turno) {
    // What arrives unasked for is an extra line of the previous turn.
    bot_->leer(0);
    std::string linea;
    while (bot_->sacarLinea(linea)) {
        transcripcion_.escribir('<', linea);
        informe_.infraccion(turno, turno == 0
                                       ? "respuesta antes del primer turno (el mapa no "
                                         "se contesta): " +
                                             mostrar(linea)
                                       : "línea de más en el mismo turno: " + mostrar(linea));
    }
}

void Comprobacion::finalTrasMorir(long turno) {
    const std::string cuando =
        turno == 0 ? std::string(" al leer el mapa") : formato(" en el turno %ld", turno);
    if (bot_->esperar(dentroDe(kEsperaMuerteMs))) {
        final_ = comoTermino(*bot_) + cuando;
    } else {
        bot_->detener();
        final_ = "cerró su salida" + cuando + " sin terminar; zulprueba lo detuvo";
    }
}

bool Comprobacion::enviarMapa() {
    const std::string texto = textoMapa(mapa_);
    transcripcion_.escribir('>', texto);
    switch (bot_->enviar(texto, dentroDe(kMapaSinProgresoMs), kMapaSinProgresoMs)) {
    case Proceso::AGOTADO:
        informe_.infraccion(
            0, formato("el bot dejó de leer el mapa (%d ms sin leer nada)", kMapaSinProgresoMs));
        bot_->detener();
        final_ = "dejó de leer el mapa (silencio); zulprueba lo detuvo";
        return false;
    case Proceso::CERRADO:
        informe_.infraccion(0, "el bot no leyó el mapa entero");
        finalTrasMorir(0);
        return false;
    case Proceso::ENVIADO:
        break;
    }
    return true;
}

bool Comprobacion::jugarTurno(long t, bool comprobar) {
    const std::string& texto = turnos_.turno(t);
    lineasDeMas(t - 1);
    transcripcion_.escribir('#', formato("turno %ld%s", t, comprobar ? "" : " (sin comprobar)"));
    transcripcion_.escribir('>', texto);
    const auto inicio = Reloj::now();
    const auto limite = inicio + std::chrono::milliseconds(opciones_.limiteMs);
    const Proceso::Envio envio = bot_->enviar(texto, limite);
    bool hay = false;
    std::string linea;
    while (envio == Proceso::ENVIADO && !(hay = bot_->sacarLinea(linea))) {
        if (bot_->salida.size() > kLineaMaxima || bot_->salidaCerrada() || Reloj::now() >= limite) {
            break;
        }
        bot_->leer(msHasta(limite));
    }
    const double ms = std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
    if (!hay) {
        const std::string resto =
            bot_->salida.empty() ? "" : "; llegó " + mostrar(bot_->salida) + " sin salto de línea";
        if (bot_->salida.size() > kLineaMaxima) {
            informe_.infraccion(t, formato("más de %zu bytes sin un salto de línea", kLineaMaxima));
            bot_->detener();
            final_ = formato("escribió sin fin en el turno %ld; zulprueba lo detuvo", t);
        } else if (envio == Proceso::CERRADO || bot_->salidaCerrada()) {
            finalTrasMorir(t);
            informe_.infraccion(t, "sin respuesta: el bot " + final_ + resto);
        } else {
            informe_.infraccion(t, formato("sin respuesta en %d ms", opciones_.limiteMs) + resto);
            bot_->detener();
            final_ =
                formato("dejó de responder en el turno %ld (silencio); zulprueba lo detuvo", t);
        }
        return false;
    }
    transcripcion_.escribir('<', linea);
    const Revision r = comprobarRespuesta(linea);
    if (!comprobar) {
        // Only the shot wait matters here: it carries into the checked turns.
        if (r.motivo.empty() && r.disparo &&
            (ultimoDisparo_ == 0 || t - ultimoDisparo_ >= kTurnosEntreDisparos)) {
            ultimoDisparo_ = t;
        }
        return true;
    }
    ++respondidos_;
    informe_.tiempo(t, ms);
    if (transcripcion_.activa()) {
        for (const auto& nota : turnos_.notas(t)) {
            transcripcion_.escribir('#', nota);
        }
    }
    transcripcion_.escribir('#', formato("respuesta en %.3f ms", ms));
    if (!r.motivo.empty()) {
        informe_.infraccion(t, r.motivo);
    } else if (r.disparo && ultimoDisparo_ > 0 && t - ultimoDisparo_ < kTurnosEntreDisparos) {
        const long distancia = t - ultimoDisparo_;
        informe_.infraccion(t, formato("disparo a %ld %s del anterior (turno %ld); entre dos "
                                       "disparos van al menos %d turnos",
                                       distancia, distancia == 1 ? "turno" : "turnos",
                                       ultimoDisparo_, kTurnosEntreDisparos));
    } else if (r.disparo) {
        ultimoDisparo_ = t;
    }
    lineasDeMas(t);
    return true;
}

void Comprobacion::esperarFinal() {
    // Once its input is closed the bot must end without writing anything more.
    bot_->cerrarEntrada();
    transcripcion_.escribir('#', "fin de la entrada");
    const auto limite = dentroDe(kEsperaFinalMs);
    long deMas = 0;
    std::string primera;
    std::string linea;
    while (!bot_->salidaCerrada() && Reloj::now() < limite) {
        bot_->leer(std::min(msHasta(limite), 50));
        while (bot_->sacarLinea(linea)) {
            if (deMas++ < 5) {
                transcripcion_.escribir('<', linea);
            }
            if (primera.empty()) {
                primera = mostrar(linea);
            }
        }
        if (bot_->salida.size() > kLineaMaxima) {
            bot_->salida.clear();
            ++deMas;
        }
    }
    if (deMas > 0) {
        informe_.infraccion(0, formato("tras el último turno: %ld línea%s de más (la primera: "
                                       "%s)",
                                       deMas, deMas == 1 ? "" : "s", primera.c_str()));
    }
    if (bot_->salidaCerrada() && !bot_->salida.empty()) {
        informe_.infraccion(0, "tras el último turno: texto sin salto de línea " +
                                   mostrar(bot_->salida));
    }
    if (bot_->esperar(limite)) {
        final_ = comoTermino(*bot_) + " al cerrarse su entrada";
        if (!terminoBien(*bot_)) {
            informe_.infraccion(0, "al cerrarse su entrada el bot " + comoTermino(*bot_));
        }
    } else {
        bot_->detener();
        final_ = "siguió vivo tras cerrarse su entrada; zulprueba lo detuvo (aviso: el "
                 "programa debe terminar al acabarse la entrada)";
    }
}

int Comprobacion::ejecutar() {
    bool seguir = enviarMapa();
    long ultimo = turnos_.cantidad();
    if (opciones_.hasta >= 0 && opciones_.hasta + 1 < ultimo) {
        ultimo = opciones_.hasta + 1;
    }
    // Turn t of the exchange is turn t - 1 counted from 0, as --desde and the debug file count.
    for (long t = 1; t <= ultimo && seguir; ++t) {
        seguir = jugarTurno(t, t - 1 >= opciones_.desde);
    }
    if (seguir) {
        esperarFinal();
    } else {
        bot_->detener();
    }
    // The last of the bot's standard error, before the summary.
    bot_->vaciar(dentroDe(1000));
    transcripcion_.terminarErrores();
    informe_.resumen(respondidos_, ultimo - opciones_.desde, final_);
    return informe_.infracciones() == 0 ? 0 : 1;
}

} // namespace zul
