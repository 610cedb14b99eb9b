#pragma once

#include "datos/escritura_segura.h"

#include <QString>

class QByteArray;
class QImage;

namespace zul {

// Writes a picture as PNG. The picture goes whole into a new file beside
// `ruta`, which takes its place only once every write, the sync and the close
// have succeeded (see escribeArchivo): a failed save removes its partial file
// and leaves an existing file as it was. False, with "No se pudo guardar la imagen en RUTA:
// motivo." in `error`, when it cannot be saved.
bool guardaPng(const QImage& imagen, const QString& ruta, QString& error,
               const LlamadasEscritura& llamadas = llamadasDelSistema());

// The same for any format Qt writes ("png", "jpg", ...), at `calidad` from 0
// to 100 where the format has one (-1: its default).
bool guardaEnFormato(const QImage& imagen, const QString& ruta, const char* formato, int calidad,
                     QString& error, const LlamadasEscritura& llamadas = llamadasDelSistema());

// Writes any bytes the same safe way. `que` names what they are in the
// message ("la imagen", "la página"): "No se pudo guardar QUE en RUTA: motivo."
bool guardaDatos(const QByteArray& datos, const QString& ruta, const QString& que, QString& error,
                 const LlamadasEscritura& llamadas = llamadasDelSistema());

} // namespace zul
