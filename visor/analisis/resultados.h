#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

namespace zul {

enum class FormatoResultados { Texto, Csv, Json };

// "texto", "csv" or "json"; false for anything else.
bool leeFormatoResultados(const QString& nombre, FormatoResultados& formato);

// The header line of the CSV results, without its line break.
extern const char* const kCabeceraCsv;

// One CSV field per RFC 4180: quoted, with its quotes doubled, when it holds
// a comma, a quote or a line break; as it is otherwise.
QString campoCsv(const QString& valor);

// Prints the results (the standings at the last complete frame) of each race
// log, in the order given, to `salida`; what goes wrong goes to `errores`, in
// Spanish, naming the file. A race that cannot be read, or that has no
// complete frame and so no results, does not stop the others. Returns the exit
// status: 0 when every race was printed, 1 otherwise.
int escribeResultados(const QStringList& rutas, FormatoResultados formato, std::ostream& salida,
                      std::ostream& errores);

} // namespace zul
