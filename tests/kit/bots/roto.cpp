// Bot sin la biblioteca que rompe el protocolo a propósito, según su primer argumento:
//   doble     dos líneas en el turno 3        basura   texto en vez de orden en el turno 2
//   dispara   "s" en todos los turnos         duerme   se duerme en el turno 2
//   revienta  SIGSEGV en el turno 3           eterno   sigue escribiendo al acabarse la entrada
//   vivo      no termina al acabarse la entrada
//   tabulador, espacios, final   en el turno 2, un tabulador, dos espacios o uno al final
//   sinsalto  al acabarse la entrada escribe en stderr una línea sin salto final
//   hijos     en el turno 1 deja dos procesos que no terminan, uno en otra sesión, y escribe en
//             stderr "hijos BOT HIJO1 HIJO2"; con un segundo argumento "duerme", se duerme
//             después
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
            signal(SIGSEGV, SIG_DFL); // sin el manejador de los sanitizers, si los hay
            raise(SIGSEGV);
        } else {
            printf("m 1.000000 0.000000\n");
        }
        fflush(stdout);
    }
}
