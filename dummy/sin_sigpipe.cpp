#include "sin_sigpipe.h"

#include <errno.h>
#include <time.h>

namespace zullib {

void bloquearSigpipe(SinSigpipe* b) {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigprocmask(SIG_BLOCK, &pipe, &b->antes);
    b->yaBloqueada = sigismember(&b->antes, SIGPIPE) == 1;
}

void desbloquearSigpipe(const SinSigpipe* b, bool fallo) {
    const int error = errno;
    if (fallo && !b->yaBloqueada) {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        const timespec nada = {0, 0};
        while (sigtimedwait(&pipe, nullptr, &nada) == SIGPIPE) {
        }
    }
    sigprocmask(SIG_SETMASK, &b->antes, nullptr);
    errno = error;
}

} // namespace zullib
