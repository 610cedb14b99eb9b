#include "ventana/CSeleccionarArchivo.h"

#include <QByteArray>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

CSeleccionarArchivo::CSeleccionarArchivo(QWidget* parent) : QWidget(parent) {
    // The field is created first: the order of creation is the Tab order, and
    // Tab goes from the field to its button.
    lineaArchivo = new QLineEdit(this);
    botonExaminar = new QPushButton(tr("Examinar..."), this);
    disposicion = new QHBoxLayout(this);
    // Embedded in a form row: the row's own margins are enough.
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->addWidget(lineaArchivo);
    disposicion->addWidget(botonExaminar);
    setFocusProxy(lineaArchivo);
    // In a dialog, Return means the dialog's own default button, even right
    // after browsing, when focus is still on this one.
    botonExaminar->setAutoDefault(false);
    connect(botonExaminar, &QPushButton::clicked, this, &CSeleccionarArchivo::examinar);
    connect(lineaArchivo, &QLineEdit::textChanged, this, &CSeleccionarArchivo::rutaCambiada);
}

std::string CSeleccionarArchivo::obtenerArchivo() const {
    const QByteArray bytes = lineaArchivo->text().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString CSeleccionarArchivo::ruta() const {
    return lineaArchivo->text();
}

void CSeleccionarArchivo::ponRuta(const QString& ruta) {
    lineaArchivo->setText(ruta);
}

void CSeleccionarArchivo::examinar() {
    const QString titulo = tr("Selecciona el archivo...");
    // Cancelling returns an empty path, which clears the field.
    lineaArchivo->setText(QFileDialog::getOpenFileName(this, titulo, QString(), QString()));
}
