// Every writer replaces a file the same way: the new contents go whole into a
// file of its own beside the destination, which takes the destination's place
// by a rename only once it is complete. So an earlier file is never lost to a
// failed or interrupted write, a symbolic link keeps pointing where it did
// (the file it points to is the one replaced), and the replaced file's
// permissions stay. Plain C++ over the system's calls: the viewer and
// zulprueba write through it.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace zul {

// The system calls that put a file on disk. The program uses the real ones; a
// test gives calls that fail on purpose, as a full disk would.
struct LlamadasEscritura {
    ssize_t (*escribe)(int fd, const void* datos, size_t largo);
    int (*sincroniza)(int fd);
    int (*cierra)(int fd);
};

// The real write, fsync and close.
const LlamadasEscritura& llamadasDelSistema();

// Where a new version of a path goes.
struct DestinoEscritura {
    // The path the rename replaces: through symbolic links, the file they
    // point to.
    std::string final;
    bool existe = false;
    // False for a device, a pipe or a folder (/dev/stdout, a FIFO): written
    // in place, never replaced.
    bool regular = true;
    // The permission bits of the file replaced, to keep them.
    mode_t permisos = 0;
};
DestinoEscritura destinoDe(const std::string& ruta);

// Creates the file that the new contents go into, in `destino.final`'s folder,
// with the replaced file's permissions (or, for a new file, 0666 less the
// umask). Its name is `prefijo`, a random tail and `sufijo`; with an empty
// prefix, "." and the destination's own name. Registered as a partial file
// (see below) until publicaTemporal() or descartaTemporal(). -1, with errno
// set, when it cannot be created.
int creaTemporal(const DestinoEscritura& destino, const std::string& prefijo,
                 const std::string& sufijo, std::string& temporal);
// Renames the temporary file over the destination; 0 or the errno value. The
// temporary file is removed when the rename fails.
int publicaTemporal(const std::string& temporal, const DestinoEscritura& destino);
void descartaTemporal(const std::string& temporal);

// Opens a destination that is no regular file to write in place, without
// waiting for a reader of a FIFO; -1 with errno set.
int abreEnSuSitio(const std::string& ruta);

// Writes `largo` bytes to `ruta` as above, in place for a device or a pipe; 0
// or the errno value of what failed.
int escribeArchivo(const std::string& ruta, const char* datos, size_t largo,
                   const LlamadasEscritura& llamadas = llamadasDelSistema());

// Partial files of unfinished writes. A signal that ends the program (hang-up,
// Ctrl+C, Ctrl+\, termination: the window closed by the session, the user
// logging out) removes them before the program goes, so only finished files
// are ever left.
void registraParcial(const std::string& ruta);
void olvidaParcial(const std::string& ruta);
// Removes every registered partial file; safe inside a signal handler.
void borraParciales();
// Installs the handlers that remove the partial files and then end the
// program by the same signal, as it would have ended without them.
void instalaLimpiezaAlTerminar();
// What those handlers do, for a handler of its own that ends the program.
void terminaPorSenal(int numero);

} // namespace zul
