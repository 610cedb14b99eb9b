#include "video/interrupcion.h"

#include <csignal>

namespace zul {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the handler may only touch lock-free data");

std::atomic<bool> cancelado{false};
volatile std::sig_atomic_t senal = 0;
struct sigaction anteriorInt {};
struct sigaction anteriorTerm {};
bool instalado = false;

extern "C" void alRecibir(int numero) {
    senal = numero;
    cancelado.store(true);
}

} // namespace

const std::atomic<bool>& instalaCancelacionPorSenales() {
    cancelado.store(false);
    senal = 0;
    struct sigaction accion {};
    accion.sa_handler = alRecibir;
    sigemptyset(&accion.sa_mask);
    // Back to the default after the first one, so a second Ctrl+C still works
    // if the export is stuck.
    accion.sa_flags = SA_RESETHAND;
    if (!instalado) {
        sigaction(SIGINT, &accion, &anteriorInt);
        sigaction(SIGTERM, &accion, &anteriorTerm);
        instalado = true;
    } else {
        sigaction(SIGINT, &accion, nullptr);
        sigaction(SIGTERM, &accion, nullptr);
    }
    return cancelado;
}

void restauraSenales() {
    if (instalado) {
        sigaction(SIGINT, &anteriorInt, nullptr);
        sigaction(SIGTERM, &anteriorTerm, nullptr);
        instalado = false;
    }
}

int senalRecibida() {
    return senal;
}

} // namespace zul
