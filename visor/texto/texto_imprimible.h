#pragma once

#include <QString>

namespace zul {

// A one-line text as it may be printed to a terminal: control characters
// (such as a newline or an escape in a file name) become \n, \t, \r or \xHH,
// so a name can neither break a message nor drive the terminal. A backslash
// stays as it is.
QString textoImprimible(const QString& texto);

} // namespace zul
