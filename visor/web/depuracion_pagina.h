#pragma once

#include "datos/depuracion.h"

#include <QByteArray>

#include <vector>

namespace zul {

// The bots' debug files as the replay page carries them (web/depuracion.js):
// JSON, { "desfase": D, "archivos": [{ "id": J, "turnos": [[disparo, ordenX,
// ordenY, dibujos, notas], ...] }] }, a drawing being [0, color, x1, y1, x2,
// y2], [1, color, x, y, radio] or [2, color, x, y, texto]. Numbers in their
// shortest form that reads back the same; one that is not finite is null.
QByteArray depuracionJson(const std::vector<Depuracion>& archivos, long long desfase);

// The same deflated (zlib) and in base64, as the page embeds it; empty
// without files.
QByteArray depuracionPagina(const std::vector<Depuracion>& archivos, long long desfase);

} // namespace zul
