#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace zul {

// A player's name as the race log holds it: UTF-8 when its bytes are valid
// UTF-8 (logs written today), Latin-1 otherwise (older logs).
QString textoNombre(const std::string& bytes);
// Every name of a race log, each as textoNombre reads it.
QStringList textosNombres(const std::vector<std::string>& nombres);

} // namespace zul
