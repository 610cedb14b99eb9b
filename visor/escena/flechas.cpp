#include "escena/flechas.h"

#include "escena/datos_instalados.h"
#include "geometria/geometria.h"

#include <QFileInfo>

namespace zul {

namespace {

QPixmap cargaImagen(const QString& nombre) {
    QPixmap imagen(nombre);
    if (imagen.isNull()) {
        const QString instalada = rutaDatosInstalados(nombre);
        if (!instalada.isEmpty() && QFileInfo::exists(instalada)) {
            imagen.load(instalada);
        }
    }
    if (imagen.isNull()) {
        imagen.load(QStringLiteral(":/flechas/") + nombre);
    }
    return imagen;
}

} // namespace

Flechas::Flechas() {
    originales[Arriba] = cargaImagen(QStringLiteral("arriba.png"));
    originales[Abajo] = cargaImagen(QStringLiteral("abajo.png"));
    originales[Izquierda] = cargaImagen(QStringLiteral("izquierda.png"));
    originales[Derecha] = cargaImagen(QStringLiteral("derecha.png"));
}

void Flechas::ajustaA(double zoom) {
    // Past kLadoMaximo a tile would outgrow any view (and its pixel count any
    // allocation).
    constexpr double kLadoMaximo = 16384.0;
    if (!(zoom >= kZoomFlechas) || !(zoom < kLadoMaximo)) {
        return;
    }
    const int lado = static_cast<int>(zoom + 1.0);
    // Painting asks again at every frame; the same side needs no new scaling.
    if (lado == ladoEscaladas) {
        return;
    }
    ladoEscaladas = lado;
    ++cambios;
    for (int d = 0; d < NumBaldosas; ++d) {
        escaladas[d] =
            originales[d].isNull()
                ? QPixmap()
                : originales[d].scaled(lado, lado, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
}

} // namespace zul
