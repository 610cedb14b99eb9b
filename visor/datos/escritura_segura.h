#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <sys/types.h>

namespace zul {

// Every writer replaces a file the same way: the new contents go whole into a
// file of its own beside the destination, which takes the destination's place
// by a rename only once it is complete. So an earlier file is never lost to a
// failed or interrupted write, a symbolic link keeps pointing where it did
// (the file it points to is the one replaced), and the replaced file's
// permissions stay.

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
    QByteArray final;
    bool existe = false;
    // False for a device or a pipe (/dev/stdout, a FIFO): written in place.
    bool regular = true;
    // The permission bits of the file replaced, to keep them.
    mode_t permisos = 0;
};
DestinoEscritura destinoDe(const QByteArray& ruta);

// Creates the file that the new contents go into, in `destino.final`'s folder,
// with the replaced file's permissions (or, for a new file, 0666 less the
// umask). Its name is `prefijo`, a random tail and `sufijo`; with an empty
// prefix, "." and the destination's own name. Registered as a partial file
// (see below) until publicaTemporal() or descartaTemporal(). -1, with errno
// set, when it cannot be created.
int creaTemporal(const DestinoEscritura& destino, const QByteArray& prefijo,
                 const QByteArray& sufijo, QByteArray& temporal);
// Renames the temporary file over the destination; 0 or the errno value. The
// temporary file is removed when the rename fails.
int publicaTemporal(const QByteArray& temporal, const DestinoEscritura& destino);
void descartaTemporal(const QByteArray& temporal);

// Writes `datos` to `ruta` as above, in place for a device or a pipe; 0 or
// the errno value of what failed.
int escribeArchivo(const QByteArray& ruta, const QByteArray& datos,
                   const LlamadasEscritura& llamadas = llamadasDelSistema());

// Why a file could not be written, in Spanish and in lower case, to follow
// the file's name: "no queda espacio en el disco", ...
QString motivoDeEscritura(int numero);

// Partial files of unfinished writes. A signal that ends the program (hang-up,
// Ctrl+C, Ctrl+\, termination: the window closed by the session, the user
// logging out) removes them before the program goes, so only finished files
// are ever left.
void registraParcial(const QByteArray& ruta);
void olvidaParcial(const QByteArray& ruta);
// Removes every registered partial file; safe inside a signal handler.
void borraParciales();
// Installs the handlers that remove the partial files and then end the
// program by the same signal, as it would have ended without them.
void instalaLimpiezaAlTerminar();
// What those handlers do, for a handler of its own that ends the program.
void terminaPorSenal(int numero);

} // namespace zul
