// A bot without the library that breaks the protocol on purpose, as its first argument says:
//   doble     two lines in turn 3               basura   text instead of a command in turn 2
//   dispara   "s" in every turn                 duerme   falls asleep in turn 2
//   revienta  SIGSEGV in turn 3                 eterno   keeps writing once its input ends
//   vivo      does not end when its input ends
//   tabulador, espacios, final   in turn 2, a tab, two spaces or a trailing space
//   sinsalto  when its input ends, writes a stderr line without its final '\n'
//   hijos     in turn 1 leaves two processes that never end, one in a session of its own, and
//             writes "hijos BOT CHILD1 CHILD2" to stderr; with a second argument "duerme", it
//             then falls asleep
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

pid_t dejarHijo(bool otraSesion) {
    const pid_t p = fork();
    if (p == 0) {
        if (otraSesion) {
            setsid();
        }
        for (;;) {
            pause();
        }
    }
    return p;
}

} // namespace

int main(int argc, char** argv) {
    const char* modo = argc > 1 ? argv[1] : "";
    int filas = 0, columnas = 0, v = 0;
    if (scanf("%d %d", &filas, &columnas) != 2) {
        return 0;
    }
    for (long k = 0; k < static_cast<long>(filas) * columnas; ++k) {
        if (scanf("%d", &v) != 1) {
            return 0;
        }
    }
    for (int turno = 1;; ++turno) {
        int n = 0, id = 0;
        float x, y, u, w;
        bool completo = scanf("%d", &n) == 1;
        for (int i = 0; completo && i < n; ++i) {
            completo = scanf("%f %f %f %f", &x, &y, &u, &w) == 4;
        }
        completo = completo && scanf("%d", &id) == 1;
        if (!completo) {
            if (strcmp(modo, "sinsalto") == 0) {
                fputs("adiós sin salto", stderr);
            }
            if (strcmp(modo, "eterno") == 0) {
                for (;;) {
                    printf("m 0 0\n");
                }
            }
            if (strcmp(modo, "vivo") == 0) {
                pause();
            }
            return 0;
        }
        if (strcmp(modo, "hijos") == 0 && turno == 1) {
            const pid_t a = dejarHijo(false);
            const pid_t b = dejarHijo(true);
            fprintf(stderr, "hijos %d %d %d\n", static_cast<int>(getpid()), static_cast<int>(a),
                    static_cast<int>(b));
            fflush(stderr);
        }
        if (strcmp(modo, "hijos") == 0 && turno == 2 && argc > 2 &&
            strcmp(argv[2], "duerme") == 0) {
            for (;;) {
                pause();
            }
        }
        if (strcmp(modo, "tabulador") == 0 && turno == 2) {
            printf("m\t1 0\n");
        } else if (strcmp(modo, "espacios") == 0 && turno == 2) {
            printf("m 1  0\n");
        } else if (strcmp(modo, "final") == 0 && turno == 2) {
            printf("m 1 0 \n");
        } else if (strcmp(modo, "doble") == 0 && turno == 3) {
            printf("m 1 0\nm 1 0\n");
        } else if (strcmp(modo, "basura") == 0 && turno == 2) {
            printf("hola mundo\n");
        } else if (strcmp(modo, "dispara") == 0) {
            printf("s 1.000000 0.000000\n");
        } else if (strcmp(modo, "duerme") == 0 && turno == 2) {
            sleep(30);
        } else if (strcmp(modo, "revienta") == 0 && turno == 3) {
            rlimit sinNucleo = {0, 0};
            setrlimit(RLIMIT_CORE, &sinNucleo);
            signal(SIGSEGV, SIG_DFL); // without the sanitizers' handler, if any
            raise(SIGSEGV);
        } else {
            printf("m 1.000000 0.000000\n");
        }
        fflush(stdout);
    }
}
