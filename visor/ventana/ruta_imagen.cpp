#include "ventana/ruta_imagen.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>

#include <algorithm>

namespace zul {

QString pideRutaImagen(QWidget* padre, long long frame) {
    QFileDialog dialogo(
        padre, QObject::tr("Guardar imagen"),
        QDir::current().filePath(
            QStringLiteral("paso-%1.png").arg(std::max(frame, 0LL), 5, 10, QLatin1Char('0'))),
        QObject::tr("Imagen PNG (*.png);;Imagen JPEG (*.jpg *.jpeg)"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    // Before the dialog checks whether it would overwrite a file.
    dialogo.setDefaultSuffix(QStringLiteral("png"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialogo.selectedFiles().constFirst();
}

} // namespace zul
