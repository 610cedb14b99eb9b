// Writing with SIGPIPE blocked, for the library's writes to the referee and to the recording.
//
// C runtime only, as the rest of the library.
#ifndef ZUL_SIN_SIGPIPE_H
#define ZUL_SIN_SIGPIPE_H

#include <signal.h>

namespace zullib {

// A reader that went away makes the write fail with EPIPE (and the library report it) instead of
// killing the contestant. The contestant's own handling of SIGPIPE stays as it was.
struct SinSigpipe {
    sigset_t antes;
    bool yaBloqueada; // the contestant blocks SIGPIPE itself: what is pending stays theirs
};

void bloquearSigpipe(SinSigpipe* b);

// `fallo`: the write failed with EPIPE and so left a SIGPIPE pending, which is taken back.
// Keeps errno.
void desbloquearSigpipe(const SinSigpipe* b, bool fallo);

} // namespace zullib

#endif
