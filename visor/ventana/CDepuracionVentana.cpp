#include "ventana/CDepuracionVentana.h"

#include "control/CReproductor.h"
#include "datos/rutas.h"
#include "paneles/CBarraProyector.h"
#include "paneles/CPanelNotas.h"
#include "paneles/CVisualizador.h"
#include "ventana/archivos_soltados.h"

#include <QAction>
#include <QBoxLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QToolTip>

#include <algorithm>

#include <filesystem>
#include <system_error>

CDepuracionVentana::CDepuracionVentana(QWidget* ventana, CReproductor* control,
                                       CVisualizador* vista, CBarraProyector* barra,
                                       QBoxLayout* panel)
    : QObject(ventana), ventana(ventana), control(control), vista(vista), barra(barra),
      panel(panel) {
    for (auto senal : {&CReproductor::depuracionCambiada, &CReproductor::carreraSustituida,
                       &CReproductor::carreraCrecida}) {
        connect(control, senal, this, &CDepuracionVentana::muestra);
    }
    connect(control, &CReproductor::frameCambiado, this, &CDepuracionVentana::muestra);
    connect(control, &CReproductor::seguidoCambiado, this, &CDepuracionVentana::muestra);
    connect(control, &CReproductor::opcionesCambiadas, this, &CDepuracionVentana::muestra);
    connect(control, &CReproductor::depuracionRechazada, this, &CDepuracionVentana::rechaza);
}

bool CDepuracionVentana::carga(const QStringList& rutas) {
    QStringList motivos;
    for (const QString& ruta : rutas) {
        try {
            control->cargaDepuracion(zul::bytesDeRuta(ruta).toStdString());
        } catch (const zul::ErrorFormato& error) {
            motivos.append(QString::fromUtf8(error.what()));
        }
    }
    if (!motivos.isEmpty()) {
        rechaza(motivos.join(QLatin1Char('\n')));
    }
    return motivos.isEmpty();
}

void CDepuracionVentana::ponDesfase(long desfase) {
    control->ponDesfase(desfase);
}

bool CDepuracionVentana::aceptaArrastre(const QMimeData* datos) const {
    return !zul::archivosDepuracionArrastrados(datos).isEmpty();
}

bool CDepuracionVentana::suelta(const QMimeData* datos) {
    const QStringList rutas = zul::archivosDepuracionArrastrados(datos);
    if (rutas.isEmpty()) {
        return false;
    }
    carga(rutas);
    return true;
}

void CDepuracionVentana::ponAccion(QAction* accion) {
    accionDepuracion = accion;
    accion->setCheckable(true);
    muestra();
}

void CDepuracionVentana::alterna() {
    zul::OpcionesEscena opciones = control->opciones();
    opciones.depuracion = !opciones.depuracion;
    control->ponOpciones(opciones);
}

QString CDepuracionVentana::orden() const {
    // Absolute, so that it works pasted in any folder.
    std::error_code error;
    std::filesystem::path ruta = std::filesystem::absolute(control->ruta(), error);
    if (error) {
        ruta = control->ruta();
    }
    return QString::fromStdString(zul::ordenRepeticion(ruta.lexically_normal().string(),
                                                       control->jugadorSeguido(),
                                                       std::max(control->frame(), 0LL)));
}

QString CDepuracionVentana::copiaOrden() {
    const QString texto = orden();
    QGuiApplication::clipboard()->setText(texto);
    QToolTip::showText(vista->mapToGlobal(QPoint(8, 8)),
                       tr("Copiado al portapapeles (cambie ./mibot por su bot):\n%1").arg(texto),
                       vista, QRect(), 6000);
    return texto;
}

void CDepuracionVentana::muestra() {
    // The drawings reach the view in the scene of the frame (CEnlaceReproductor).
    const bool hay = !control->depuraciones().ninguna();
    barra->hayDepuracion(hay);
    // Made with the first file: without any, the panel is as it always was.
    if (hay && notas == nullptr) {
        notas = new CPanelNotas;
        panel->addWidget(notas);
    }
    if (notas != nullptr) {
        notas->setVisible(hay);
        notas->muestra(control->notasDepuracion(), control->jugadorSeguido(), control->frame());
    }
    if (accionDepuracion != nullptr) {
        const QSignalBlocker sinAvisos(accionDepuracion);
        accionDepuracion->setChecked(control->opciones().depuracion);
    }
}

void CDepuracionVentana::rechaza(const QString& motivo) {
    rechazo = motivo;
    // Not modal: a drop's source may still be waiting, and the race stays on show.
    auto* caja = new QMessageBox(QMessageBox::Warning, tr("Depuración"),
                                 tr("No se pudo mostrar el archivo de depuración."),
                                 QMessageBox::Ok, ventana);
    caja->setInformativeText(motivo);
    caja->setAttribute(Qt::WA_DeleteOnClose);
    caja->open();
}
