#pragma once

#include <QByteArray>
#include <QString>

namespace zul {

// A path is bytes, and need not be UTF-8: `visor --png $'o\xe9.png'` must
// write exactly that name. Qt decodes file names as UTF-8 and turns each byte
// that is not UTF-8 into U+FFFD, so two names become one and neither opens.
// Paths from the command line are decoded here instead, each such byte into
// its own code point (U+DC80 to U+DCFF, a lone surrogate no UTF-8 text
// holds, as Python's "surrogateescape" does), and turned back into the very
// same bytes before they reach the system.
QString rutaDeBytes(const QByteArray& bytes);
QByteArray bytesDeRuta(const QString& ruta);

// Whether two paths name one file (through links and other names); false if
// either does not exist.
bool mismoArchivo(const QString& a, const QString& b);

} // namespace zul
