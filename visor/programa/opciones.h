#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// Every option the viewer takes, each with its Spanish description: the
// parser is built from this table and --help is printed from it. A new
// option is one row in opciones.cpp, plus its check in the validator of its
// mode (validadores.cpp).
namespace zul {

// The part of the help that lists an option: one per mode, the options
// shared by --png and --video, the general ones, and Qt's own (not listed).
enum class GrupoDeOpciones {
    Ventana,
    Imagen,
    Fantasma,
    Video,
    Depuracion,
    Web,
    Resultados,
    Telemetria,
    General,
    Qt
};

struct OpcionDelVisor {
    QCommandLineOption opcion;
    GrupoDeOpciones grupo;
};

// In the order the help lists them.
const QList<OpcionDelVisor>& opcionesDelVisor();

// QApplication's own options (-platform, -style...): taken in window mode
// only, where QApplication removes them from the arguments.
bool esOpcionDeQt(const QString& nombre);

} // namespace zul
