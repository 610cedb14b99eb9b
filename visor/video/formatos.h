#pragma once

#include <QString>

// The containers a video can be written in, told by the file's extension.
namespace zul {

struct FormatoVideo {
    const char* extension;   // lower case, without the dot
    const char* contenedor;  // libavformat muxer
    const char* codificador; // libavcodec encoder
    const char* nombreCodec; // as users know it
};

// The format for a file name (".mp4", ".webm" or ".mkv", in any case), or
// null when its extension is none of those.
const FormatoVideo* formatoPorNombre(const QString& ruta);

// "No se puede escribir el vídeo X: la extensión ..." for an unknown one.
QString errorExtension(const QString& ruta);

// The two messages every failure ends in: the video could not be started
// ("No se puede escribir el vídeo X: motivo.") or could not be finished
// ("No se pudo escribir el vídeo X: motivo.").
QString errorAlEmpezar(const QString& ruta, const QString& motivo);
QString errorAlEscribir(const QString& ruta, const QString& motivo);

} // namespace zul
