#include "ventana/CDialogoAbrir.h"

#include "datos/rutas.h"
#include "texto/texto_imprimible.h"
#include "ventana/CSeleccionarArchivo.h"
#include "ventana/CVentana.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <new>

CDialogoAbrir::CDialogoAbrir(QWidget* parent)
    : QDialog(parent), seleccionCarrera(new CSeleccionarArchivo),
      seleccionMapa(new CSeleccionarArchivo), seleccionFantasma(nullptr), alineacion(nullptr),
      botonAceptar(new QPushButton(tr("Aceptar"))), botonCancelar(new QPushButton(tr("Cancelar"))) {
    setWindowTitle(tr("Abrir carrera"));

    auto* filas = new QFormLayout;
    filas->addRow(tr("Carrera:"), seleccionCarrera);
    filas->addRow(tr("Mapa:"), seleccionMapa);
    // Paths are long: the fields take the dialog's extra width.
    filas->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto* botones = new QDialogButtonBox;
    botones->addButton(botonAceptar, QDialogButtonBox::AcceptRole);
    botones->addButton(botonCancelar, QDialogButtonBox::RejectRole);

    auto* disposicion = new QVBoxLayout(this);
    disposicion->addLayout(filas);
    disposicion->addWidget(botones);
    // Only now, inside the dialog, does the button become the dialog's default
    // for Return.
    botonAceptar->setDefault(true);
    // The optional ghost, between the paths and the buttons on screen but
    // made last, so that it comes last to the keyboard too: the race, the
    // map and Return stay the quick way.
    auto* grupoFantasma = new QGroupBox(tr("Carrera fantasma (opcional)"), this);
    auto* filasFantasma = new QFormLayout(grupoFantasma);
    seleccionFantasma = new CSeleccionarArchivo;
    alineacion = new QComboBox;
    alineacion->addItem(tr("Por paso"), static_cast<int>(zul::Alineacion::Paso));
    alineacion->addItem(tr("Por vuelta"), static_cast<int>(zul::Alineacion::Vuelta));
    filasFantasma->addRow(tr("Fantasma:"), seleccionFantasma);
    filasFantasma->addRow(tr("Alinear:"), alineacion);
    filasFantasma->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    disposicion->insertWidget(1, grupoFantasma);
    resize(520, sizeHint().height());

    connect(botones, &QDialogButtonBox::accepted, this, &CDialogoAbrir::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &CDialogoAbrir::reject);
    connect(seleccionCarrera, &CSeleccionarArchivo::rutaCambiada, this,
            &CDialogoAbrir::actualizaAceptar);
    connect(seleccionMapa, &CSeleccionarArchivo::rutaCambiada, this,
            &CDialogoAbrir::actualizaAceptar);
    actualizaAceptar();
}

CDialogoAbrir::~CDialogoAbrir() = default;

std::unique_ptr<CVentana> CDialogoAbrir::tomarVentana() {
    return std::move(ventana);
}

void CDialogoAbrir::actualizaAceptar() {
    botonAceptar->setEnabled(!seleccionCarrera->ruta().trimmed().isEmpty() &&
                             !seleccionMapa->ruta().trimmed().isEmpty());
}

void CDialogoAbrir::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The first field still to fill, so that typing and Return just work.
    if (seleccionCarrera->ruta().isEmpty()) {
        seleccionCarrera->setFocus();
    } else if (seleccionMapa->ruta().isEmpty()) {
        seleccionMapa->setFocus();
    } else {
        botonAceptar->setFocus();
    }
}

void CDialogoAbrir::accept() {
    // Return in a field would come here even with the button disabled.
    if (!botonAceptar->isEnabled()) {
        return;
    }
    ventana = construyeVentana(seleccionCarrera->ruta(), seleccionMapa->ruta(), this);
    if (!ventana) {
        return;
    }
    // A ghost that cannot be read is told; the race opens without it.
    const QString fantasma = seleccionFantasma->ruta().trimmed();
    QString error;
    if (!fantasma.isEmpty() &&
        !ventana->telemetriaVentana()->cargaFantasma(
            fantasma, static_cast<zul::Alineacion>(alineacion->currentData().toInt()), &error)) {
        QMessageBox caja(this);
        caja.setWindowTitle(tr("Fantasma"));
        caja.setIcon(QMessageBox::Warning);
        caja.setText(tr("No se pudo mostrar la carrera fantasma."));
        caja.setInformativeText(error);
        caja.exec();
    }
    QDialog::accept();
}

std::unique_ptr<CVentana> CDialogoAbrir::construyeVentana(const QString& rutaCarrera,
                                                          const QString& rutaMapa, QWidget* padre) {
    // The very bytes the path was given as (see datos/rutas.h), not the 8-bit
    // text of the fields, so that any path the dialog shows can be opened,
    // even one that is not UTF-8.
    const QByteArray carrera = zul::bytesDeRuta(rutaCarrera);
    const QByteArray mapa = zul::bytesDeRuta(rutaMapa);
    try {
        return std::make_unique<CVentana>(carrera.constData(), mapa.constData());
    } catch (std::exception* error) {
        std::unique_ptr<std::exception> propio(error);
        QMessageBox caja(padre);
        caja.setWindowTitle(tr("Abrir carrera"));
        caja.setIcon(QMessageBox::Warning);
        explicaError(caja, *error);
        caja.exec();
        return nullptr;
    } catch (const std::bad_alloc&) {
        // Too big for the memory left: told, and the window on show stays.
        QMessageBox caja(padre);
        caja.setWindowTitle(tr("Abrir carrera"));
        caja.setIcon(QMessageBox::Warning);
        caja.setText(tr("No hay memoria suficiente para mostrar la carrera."));
        caja.setInformativeText(tr("Carrera: %1\nMapa: %2").arg(rutaCarrera, rutaMapa));
        caja.exec();
        return nullptr;
    }
}

void explicaError(QMessageBox& caja, const std::exception& error) {
    caja.setText(QObject::tr(error.what()));
    // The reason why a file did not open goes beside its name, under the
    // plain "No se pudo abrir el archivo".
    QString motivo;
    if (auto* noAbre = dynamic_cast<const CVentana::excepcionArchivoNoAbre*>(&error);
        noAbre != nullptr && !noAbre->motivo().empty()) {
        caja.setText(QObject::tr(CVentana::excepcionArchivoNoAbre::kTexto));
        motivo = QObject::tr("Motivo: %1.").arg(QString::fromUtf8(noAbre->motivo().c_str())) +
                 QLatin1Char('\n');
    }
    if (auto* deArchivo = dynamic_cast<const CVentana::excepcionArchivo*>(&error)) {
        const QString ruta =
            zul::textoImprimible(zul::rutaDeBytes(QByteArray::fromStdString(deArchivo->ruta())));
        caja.setInformativeText(motivo + (ruta.isEmpty() ? QObject::tr("Falta la ruta del archivo.")
                                                         : QObject::tr("Archivo: %1").arg(ruta)));
    }
}
