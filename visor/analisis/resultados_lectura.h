#pragma once

#include "analisis/analisis.h"
#include "datos/mapa.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace zul {

// One race's results, with the names already decoded.
struct ResultadosCarrera {
    QString ruta;
    long long ultimoFrame = 0;
    std::vector<Puesto> puestos;
    QStringList nombres;
    bool conMapa = false;
    bool framePedido = false;
};

// Reads the map at `ruta`; nothing, with the reason, when it cannot be read.
std::shared_ptr<const Mapa> leeMapaResultados(const QString& ruta, QString& error);

// Reads the race log at `ruta` and ranks it at `frame` (the last complete
// step when none), by progress round the track when there is a map; false,
// with the reason, when it cannot be read or has nothing to rank.
bool calculaResultados(const QString& ruta, const std::shared_ptr<const Mapa>& mapa,
                       const std::optional<long long>& frame, ResultadosCarrera& resultado,
                       QString& error);

} // namespace zul
