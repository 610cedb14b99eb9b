#pragma once

#include <QString>

#include <cstdio>

namespace zul {

class ErrorCarga;

// A one-line text as it may be printed to a terminal: control characters
// (such as a newline or an escape in a file name) become \n, \t, \r or \xHH,
// so a name can neither break a message nor drive the terminal. A backslash
// stays as it is.
QString textoImprimible(const QString& texto);

// "RUTA: why", as the headless modes report a race log or map that cannot be
// loaded.
QString textoErrorCarga(const ErrorCarga& fallo);

// Writes a text in the locale's encoding and flushes.
void escribe(std::FILE* destino, const QString& texto);

} // namespace zul
