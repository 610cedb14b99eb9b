#include "control/CReproductor.h"

#include "geometria/interaccion.h"
#include "reproduccion/protagonista.h"
#include "salida/imagen_frame.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The last frame a live replay shows: the newest complete one, since the
// referee writes a frame record by record.
long long ultimoCompleto(const zul::Reproduccion& r) {
    const long long completos = static_cast<long long>(r.carrera().framesCompletos());
    return completos > 0 ? completos - 1 : static_cast<long long>(r.numeroFrames()) - 1;
}

} // namespace

CReproductor::CReproductor(QObject* parent) : QObject(parent) {
    temporizadorPasos = new QTimer(this);
    temporizadorPasos->setInterval(1000);
    connect(temporizadorPasos, &QTimer::timeout, this, &CReproductor::tic);
    sondeo = new QTimer(this);
    sondeo->setInterval(kSondeoMs);
    connect(sondeo, &QTimer::timeout, this, &CReproductor::sondea);
}

CReproductor::~CReproductor() = default;

void CReproductor::ponCarrera(zul::Carrera carrera) {
    estado = zul::Reproduccion(std::move(carrera));
    analisisCarrera.reinicia(estado.carrera());
    aplica({true, false});
}

bool CReproductor::enMarcha() const {
    return temporizadorPasos != nullptr && temporizadorPasos->isActive();
}

int CReproductor::jugadorSeguido() const {
    return opcionesEscena.camara == zul::Camara::Director && liderActual >= 0 ? liderActual
                                                                              : elegido;
}

int CReproductor::seguidoEnCamara() const {
    return opcionesEscena.camara == zul::Camara::Pista ? -1 : jugadorSeguido();
}

zul::AspectoImagen CReproductor::aspecto() const {
    zul::AspectoImagen vista;
    vista.jugador = jugadorSeguido();
    vista.zoom = factorZoom;
    vista.opciones = opcionesEscena;
    return vista;
}

bool CReproductor::alFinal() const {
    return !enCurso && !enVivo() && frame() >= 0 && frame() + 1 == numeroFrames();
}

bool CReproductor::siguiendoLaCabeza() const {
    return enVivo() && enMarcha() && !atras && frame() >= ultimoCompleto(estado);
}

void CReproductor::avanza() {
    estado.avanza();
    anuncia();
}

void CReproductor::retrocede() {
    if (frame() > 0) {
        irAFrame(frame() - 1);
    }
}

void CReproductor::irAFrame(long long f) {
    if (numeroFrames() == 0) {
        return;
    }
    estado.irAFrame(f);
    anuncia();
}

void CReproductor::irAlFinal() {
    if (!enVivo()) {
        irAFrame(static_cast<long long>(numeroFrames()) - 1);
        return;
    }
    irAFrame(ultimoCompleto(estado));
    ejecuta();
}

void CReproductor::salta(long long cuantos) {
    irAFrame(std::max(frame(), 0LL) + cuantos);
}

void CReproductor::ponEnMarcha(bool marcha, bool haciaAtras) {
    atras = marcha && haciaAtras;
    if (marcha) {
        temporizadorPasos->start();
    } else {
        temporizadorPasos->stop();
    }
    emit enMarchaCambiado(marcha);
    avisaVivo();
}

void CReproductor::ejecuta() {
    ponEnMarcha(true, false);
}

void CReproductor::detiene() {
    ponEnMarcha(false, false);
}

void CReproductor::alternaEjecucion() {
    if (enMarcha()) {
        detiene();
    } else {
        ejecuta();
    }
}

void CReproductor::ejecutaHaciaAtras() {
    if (enMarcha() && atras) {
        detiene();
    } else if (frame() > 0) {
        ponEnMarcha(true, true);
    }
}

void CReproductor::reinicia() {
    estado.reinicia();
}

void CReproductor::tic() {
    if (atras) {
        retrocede();
        if (frame() <= 0) {
            detiene();
        }
        return;
    }
    // Following the head, a frame shows when it arrives, not on a tick; and
    // a frame still being written is not stepped onto.
    if (enVivo() && numeroFrames() > 0 &&
        static_cast<long long>(estado.siguienteFrame()) > ultimoCompleto(estado)) {
        return;
    }
    avanza();
}

void CReproductor::ponVelocidad(double pasosSegundo) {
    // Zero, negative or non-finite speeds leave the interval as it was, and so
    // does a speed so slow that its interval does not fit in an int.
    if (!(pasosSegundo > 0.0) || !std::isfinite(pasosSegundo) ||
        !(1000.0 / pasosSegundo <= 2147483647.0)) {
        return;
    }
    temporizadorPasos->setInterval(static_cast<int>(1000.0 / pasosSegundo));
    if (pasosSegundo != pasosPorSegundo) {
        pasosPorSegundo = pasosSegundo;
        emit velocidadCambiada(pasosSegundo);
    }
}

void CReproductor::ponVelocidadPreset(int sentido) {
    // A small margin, so that a speed typed near a preset counts as on it.
    constexpr double margen = 1e-9;
    double nueva = pasosPorSegundo;
    if (sentido > 0) {
        const auto* p = std::find_if(std::begin(kVelocidades), std::end(kVelocidades),
                                     [this](double v) { return v > pasosPorSegundo + margen; });
        nueva = p != std::end(kVelocidades) ? *p : nueva;
    } else {
        for (double v : kVelocidades) {
            if (v < pasosPorSegundo - margen) {
                nueva = v;
            }
        }
    }
    ponVelocidad(nueva);
}

void CReproductor::ponZoom(double zoom) {
    if (!std::isfinite(zoom)) {
        return;
    }
    // Two decimals, as the zoom field shows it: the zoom shown is the zoom drawn.
    zoom = std::clamp(std::round(zoom * 100.0) / 100.0, kZoomMinimo, kZoomMaximo);
    if (zoom != factorZoom) {
        factorZoom = zoom;
        emit zoomCambiado(zoom);
    }
}

void CReproductor::acerca(double muescas) {
    ponZoom(zul::zoomTrasMuescas(factorZoom, muescas));
}

int CReproductor::kartEn(QPointF punto, double zoomDibujo) const {
    QVector<QPointF> posiciones;
    for (const zul::EstadoKart& kart : estado.enPantalla().karts) {
        posiciones.append(kart.posicion);
    }
    return zul::kartEnPunto(posiciones, punto, zoomDibujo);
}

void CReproductor::sigue(int jugador) {
    if (jugador < 0 || jugador >= carrera().numJugadores) {
        return; // a player the race does not have is no reason to follow another
    }
    elegido = jugador;
    if (opcionesEscena.camara == zul::Camara::Pista ||
        opcionesEscena.camara == zul::Camara::Director) {
        ponCamara(zul::Camara::Seguir);
    }
    avisaSeguido();
}

void CReproductor::elige(int jugador) {
    if (jugador < 0 || jugador >= carrera().numJugadores) {
        return;
    }
    elegido = jugador;
    if (opcionesEscena.camara == zul::Camara::Director) {
        ponCamara(zul::Camara::Seguir);
    }
    avisaSeguido();
}

void CReproductor::eligeProtagonista(long long frameEvento) {
    const int jugador = zul::protagonistaEvento(estado, eventosCarrera, frameEvento, elegido);
    if (jugador >= 0) {
        elige(jugador);
    }
}

void CReproductor::ponCamara(zul::Camara camara) {
    zul::OpcionesEscena nuevas = opcionesEscena;
    nuevas.camara = camara;
    ponOpciones(nuevas);
}

void CReproductor::ponOpciones(const zul::OpcionesEscena& nuevas) {
    if (nuevas == opcionesEscena) {
        return;
    }
    opcionesEscena = nuevas;
    emit opcionesCambiadas(opcionesEscena);
    avisaSeguido();
}

void CReproductor::ponCarreraEnCurso(bool curso) {
    enCurso = curso;
    anuncia();
}

void CReproductor::ponEnVivo(bool encendido) {
    if (encendido == enVivo()) {
        return;
    }
    if (encendido) {
        sesionEnVivo =
            std::make_unique<zul::SesionEnVivo>(rutaCarrera, estado, analisisCarrera, true);
        aplica(sesionEnVivo->alEmpezar());
        sondeo->start();
        // The L key and the box lead where --en-vivo opens: at the head,
        // running.
        if (numeroFrames() > 0) {
            estado.irAFrame(ultimoCompleto(estado));
        }
        ejecuta();
    } else {
        const zul::SesionEnVivo::Novedades ultimas = sesionEnVivo->termina();
        sesionEnVivo.reset();
        sondeo->stop();
        aplica(ultimas);
        // What the bots wrote so far stays; a block still open is not shown.
        sondeaDepuracion();
        archivosDepuracion.dejaDeSeguir();
    }
    anuncia();
    vivoAvisado = -1;
    avisaVivo();
}

void CReproductor::sondea() {
    if (sesionEnVivo) {
        aplica(sesionEnVivo->sondea(enMarcha() && !atras));
        avisaVivo();
        sondeaDepuracion();
    }
}

void CReproductor::cargaDepuracion(const std::string& ruta) {
    // A race still being written may have fewer frames than the bot's turns yet.
    const bool creciendo = enVivo() || enCurso;
    archivosDepuracion.anade(ruta, carrera().numJugadores,
                             creciendo ? -1L : static_cast<long>(numeroFrames()), enVivo());
    emit depuracionCambiada();
}

void CReproductor::ponDesfase(long desfase) {
    archivosDepuracion.ponDesfase(desfase);
    emit depuracionCambiada();
}

void CReproductor::sondeaDepuracion() {
    std::vector<std::string> rechazos;
    if (archivosDepuracion.sondea(carrera().numJugadores, rechazos)) {
        emit depuracionCambiada();
    }
    for (const std::string& motivo : rechazos) {
        emit depuracionRechazada(QString::fromStdString(motivo));
    }
}

QVector<const zul::TurnoDepuracion*> CReproductor::turnosDepuracion() const {
    QVector<const zul::TurnoDepuracion*> turnos;
    for (const zul::TurnoDepuracion* t : archivosDepuracion.turnos(frame())) {
        turnos.append(t);
    }
    return turnos;
}

QStringList CReproductor::notasDepuracion() const {
    QStringList notas;
    for (const std::string& nota : archivosDepuracion.notas(frame(), jugadorSeguido())) {
        notas.append(QString::fromStdString(nota));
    }
    return notas;
}

void CReproductor::aplica(const zul::SesionEnVivo::Novedades& novedades) {
    if (novedades.otraCarrera || novedades.crecio) {
        // The event marks and the event jumps need them.
        eventosCarrera = zul::eventosCarrera(carrera());
    }
    if (novedades.otraCarrera) {
        elegido = std::clamp(elegido, 0, std::max(carrera().numJugadores - 1, 0));
        liderActual = -1;
        emit carreraSustituida();
    }
    if (novedades.crecio) {
        emit carreraCrecida();
        anuncia();
    }
}

void CReproductor::anuncia() {
    liderActual = -1;
    if (frame() >= 0 && analisisCarrera.framesAnalizados() > 0) {
        const std::vector<zul::Puesto> puestos = analisisCarrera.clasificacion(frame());
        liderActual = puestos.empty() ? -1 : puestos.front().jugador;
    }
    if (enMarcha() && !atras && pausaAlFinal && alFinal()) {
        detiene();
    }
    avisaSeguido();
    emit frameCambiado(frame());
}

void CReproductor::avisaSeguido() {
    const int seguido = jugadorSeguido();
    if (seguido != seguidoAvisado) {
        seguidoAvisado = seguido;
        emit seguidoCambiado(seguido);
    }
}

void CReproductor::avisaVivo() {
    int codigo = 0;
    if (sesionEnVivo) {
        codigo = 1 + static_cast<int>(sesionEnVivo->estado()) * 4 + (siguiendoLaCabeza() ? 1 : 0) +
                 (numeroFrames() > 0 ? 2 : 0);
    }
    if (codigo != vivoAvisado) {
        vivoAvisado = codigo;
        emit enVivoCambiado();
    }
}
