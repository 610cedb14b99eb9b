#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zul {

// `visor --sitio CARPETA [--titulo TEXTO] [--puntos LISTA] CARRERA MAPA ...`:
// a static site for a whole contest.
struct OpcionesSitio {
    QString carpeta;
    QString titulo;
    // Points by finishing position, from the winner's.
    std::vector<int> puntos = {25, 18, 15, 12, 10, 8, 6, 4, 2, 1};
    QStringList carreras; // race log and map, in pairs
};

// One player of the contest: races are matched by name.
struct FilaConcurso {
    QString nombre;
    long long puntos = 0;
    // How many times the player finished first, second... (index 0: wins).
    std::vector<int> puestos;
    int posicion = 0; // from 1; equal for players tied on everything
};

// The contest's standings from each race's finishing order (names, winner
// first): points by position, ties broken by wins, then second places and so
// on; players tied on all of that share a position, in name order.
std::vector<FilaConcurso> clasificacionConcurso(const std::vector<QStringList>& ordenes,
                                                const std::vector<int>& puntos);

// "25,18,15"; false when it is not a list of whole numbers from 0.
bool leePuntos(const QString& texto, std::vector<int>& puntos);

// The whole mode, once a QGuiApplication exists: loads every race, writes
// the site into a new folder beside CARPETA and puts it in CARPETA's place
// only once it is complete. A CARPETA that exists and is neither empty nor a
// site written here is refused. The exit status: 0, or 1 with the reason on
// standard error (nothing changed then).
int ejecutaModoSitio(const OpcionesSitio& opciones);

// The file that marks a folder as a site written by visor --sitio.
extern const char* const kMarcaSitio;

} // namespace zul
