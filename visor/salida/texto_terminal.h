#pragma once

#include "texto/texto_imprimible.h"

#include <QString>

#include <cstdio>

namespace zul {

class ErrorCarga;

// "RUTA: why", as the headless modes report a race log or map that cannot be
// loaded.
QString textoErrorCarga(const ErrorCarga& fallo);

// Writes a text in the locale's encoding and flushes.
void escribe(std::FILE* destino, const QString& texto);

// "visor: ERROR" on standard error, as the headless modes report a failure,
// the text made printable.
void informaError(const QString& error);

} // namespace zul
