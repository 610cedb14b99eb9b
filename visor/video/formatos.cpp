#include "video/formatos.h"

#include <QFileInfo>

namespace zul {

namespace {

// .mp4 is what browsers and phones play; .mkv carries the same H.264 for
// editors; .webm is the open-web choice.
constexpr FormatoVideo kFormatos[] = {
    {"mp4", "mp4", "libx264", "H.264"},
    {"mkv", "matroska", "libx264", "H.264"},
    {"webm", "webm", "libvpx-vp9", "VP9"},
};

} // namespace

const FormatoVideo* formatoPorNombre(const QString& ruta) {
    const QString extension = QFileInfo(ruta).suffix().toLower();
    for (const FormatoVideo& formato : kFormatos) {
        if (extension == QLatin1String(formato.extension)) {
            return &formato;
        }
    }
    return nullptr;
}

QString errorExtension(const QString& ruta) {
    const QString extension = QFileInfo(ruta).suffix();
    const QString cual = extension.isEmpty()
                             ? QStringLiteral("no tiene extensión")
                             : QStringLiteral("la extensión «.%1» no es de vídeo").arg(extension);
    return errorAlEmpezar(ruta, cual + QStringLiteral("; use .mp4, .webm o .mkv"));
}

QString errorAlEmpezar(const QString& ruta, const QString& motivo) {
    return QStringLiteral("No se puede escribir el vídeo %1: %2.").arg(ruta, motivo);
}

QString errorAlEscribir(const QString& ruta, const QString& motivo) {
    return QStringLiteral("No se pudo escribir el vídeo %1: %2.").arg(ruta, motivo);
}

} // namespace zul
