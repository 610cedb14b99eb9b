#include "video/interrupcion.h"

#include "datos/escritura_segura.h"

#include <csignal>

namespace zul {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the handler may only touch lock-free data");

// Every signal that ends a program from its terminal or its session.
constexpr int kSenales[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr int kCuantas = sizeof kSenales / sizeof kSenales[0];

std::atomic<bool> cancelado{false};
volatile std::sig_atomic_t senal = 0;
struct sigaction anteriores[kCuantas];
bool instalado = false;

extern "C" void alRecibir(int numero) {
    if (cancelado.load()) {
        // A second one, as when the export is stuck: the program ends at
        // once, as usual, without leaving its partial file.
        terminaPorSenal(numero);
        return;
    }
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
    for (int k = 0; k < kCuantas; ++k) {
        sigaction(kSenales[k], &accion, instalado ? nullptr : &anteriores[k]);
    }
    instalado = true;
    return cancelado;
}

void restauraSenales() {
    if (instalado) {
        for (int k = 0; k < kCuantas; ++k) {
            sigaction(kSenales[k], &anteriores[k], nullptr);
        }
        instalado = false;
    }
}

int senalRecibida() {
    return senal;
}

} // namespace zul
