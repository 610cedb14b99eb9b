#pragma once

// Opens the real window on a race and a map written into a test's folder,
// shown and active unless asked otherwise, as the window tests need it.
#include "ventana/CVentana.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

inline std::unique_ptr<CVentana> abreVentanaDePrueba(const QTemporaryDir& dir,
                                                     const QByteArray& carrera,
                                                     const QByteArray& mapa, QSize tamano = QSize(),
                                                     bool mostrar = true) {
    const auto escribe = [&dir](const char* nombre, const QByteArray& contenido) {
        QFile archivo(dir.filePath(nombre));
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) {
            qFatal("no se pudo escribir %s", nombre);
        }
        return QFile::encodeName(archivo.fileName());
    };
    const QByteArray rutaCarrera = escribe("carrera.txt", carrera);
    const QByteArray rutaMapa = escribe("mapa.txt", mapa);
    auto ventana = std::make_unique<CVentana>(rutaCarrera.constData(), rutaMapa.constData());
    if (tamano.isValid()) {
        ventana->resize(tamano);
    }
    if (mostrar) {
        ventana->show();
        QApplication::setActiveWindow(ventana.get());
        if (!QTest::qWaitForWindowActive(ventana.get())) {
            qWarning("la ventana no se activó");
        }
    }
    return ventana;
}
