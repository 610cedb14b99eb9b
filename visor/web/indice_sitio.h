#pragma once

#include "analisis/analisis.h"
#include "datos/carrera.h"
#include "datos/mapa.h"
#include "web/sitio.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zul {

// One race of a contest site, read and ranked.
struct CarreraSitio {
    QString ruta;
    QString pagina; // file name of its replay page
    Carrera carrera;
    Mapa mapa;
    std::vector<Puesto> resultados;
    QStringList nombres;
};

// The site's index page: the contest's standings, then each race's results
// with its chart of positions lap after lap and a link to its replay page.
QString indiceSitio(const OpcionesSitio& opciones, const std::vector<CarreraSitio>& carreras,
                    const std::vector<FilaConcurso>& concurso);

} // namespace zul
