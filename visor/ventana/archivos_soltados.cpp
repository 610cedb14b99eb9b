#include "ventana/archivos_soltados.h"

#include "datos/depuracion.h"
#include "datos/rutas.h"
#include "datos/tipo_archivo.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

namespace zul {

QStringList dosArchivosArrastrados(const QMimeData* datos) {
    if (datos == nullptr || !datos->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = datos->urls();
    if (urls.size() != 2) {
        return {};
    }
    QStringList rutas;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) {
            return {};
        }
        // The path's own bytes: toLocalFile() would turn those that are not
        // UTF-8 into U+FFFD, a name that does not open.
        rutas.append(
            rutaDeBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
    }
    return rutas;
}

QStringList archivosDepuracionArrastrados(const QMimeData* datos) {
    if (datos == nullptr || !datos->hasUrls()) {
        return {};
    }
    QStringList rutas;
    for (const QUrl& url : datos->urls()) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) {
            return {};
        }
        try {
            bool completo = false;
            if (!pareceDepuracion(
                    leeMuestra(QFile::encodeName(url.toLocalFile()).toStdString(), completo))) {
                return {};
            }
        } catch (const ErrorFormato&) {
            return {};
        }
        rutas.append(url.toLocalFile());
    }
    return rutas;
}

bool ordenaArchivos(const QStringList& rutas, QString& carrera, QString& mapa, QString& error) {
    if (rutas.size() != 2) {
        error = QStringLiteral("Hay que soltar dos archivos: un registro de carrera y un mapa.");
        return false;
    }
    try {
        const ParArchivos par = ordenaPorContenido(bytesDeRuta(rutas[0]).toStdString(),
                                                   bytesDeRuta(rutas[1]).toStdString());
        carrera = rutaDeBytes(QByteArray::fromStdString(par.carrera));
        mapa = rutaDeBytes(QByteArray::fromStdString(par.mapa));
        return true;
    } catch (const ErrorFormato& fallo) {
        error = QString::fromUtf8(fallo.what());
        return false;
    }
}

void aceptaDosArchivos(QDragEnterEvent* evento) {
    if (dosArchivosArrastrados(evento->mimeData()).size() == 2) {
        evento->acceptProposedAction();
    }
}

void sueltaDosArchivos(QDropEvent* evento, QWidget* ventana,
                       const std::function<void(const QString&, const QString&)>& abre) {
    const QStringList rutas = dosArchivosArrastrados(evento->mimeData());
    if (rutas.size() != 2) {
        return;
    }
    evento->acceptProposedAction();
    QString rutaCarrera;
    QString rutaMapa;
    QString error;
    if (!ordenaArchivos(rutas, rutaCarrera, rutaMapa, error)) {
        // Not modal: the drag's source is still waiting for the drop to end.
        auto* caja = new QMessageBox(QMessageBox::Warning, QObject::tr("Abrir carrera"), error,
                                     QMessageBox::Ok, ventana);
        caja->setAttribute(Qt::WA_DeleteOnClose);
        caja->open();
        return;
    }
    // Opening may replace the window; that happens once the drop is over.
    QMetaObject::invokeMethod(
        ventana, [abre, rutaCarrera, rutaMapa] { abre(rutaCarrera, rutaMapa); },
        Qt::QueuedConnection);
}

} // namespace zul
