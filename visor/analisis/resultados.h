#pragma once

#include <QString>
#include <QStringList>

#include <optional>
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

// The header line of the CSV results with a map: kCabeceraCsv and the
// columns that need the track.
extern const char* const kCabeceraCsvConMapa;

struct OpcionesResultados {
    FormatoResultados formato = FormatoResultados::Texto;
    // The track's map file; empty for none. With it karts are ranked by
    // progress round the track, and each row gains the progress, the
    // interval to the kart ahead and the sector times.
    QString mapa;
    // The standings at this step instead of the last complete one.
    std::optional<long long> frame;
};

// Prints the results (the standings at the last complete frame, or at the
// step asked for) of each race log, in the order given, to `salida`; what
// goes wrong goes to `errores`, in Spanish, naming the file. A race that
// cannot be read, that has no complete frame and so no results, or that does
// not reach the step asked for, does not stop the others; a map that cannot
// be read stops everything. Returns the exit status: 0 when every race was
// printed, 1 otherwise.
int escribeResultados(const QStringList& rutas, const OpcionesResultados& opciones,
                      std::ostream& salida, std::ostream& errores);
int escribeResultados(const QStringList& rutas, FormatoResultados formato, std::ostream& salida,
                      std::ostream& errores);

} // namespace zul
