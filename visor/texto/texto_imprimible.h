#pragma once

#include <QString>

namespace zul {

// A one-line text as it may be printed to a terminal: control characters
// (such as a newline or an escape in a file name) become \n, \t, \r or \xHH,
// so a name can neither break a message nor drive the terminal. A backslash
// stays as it is.
// The controls that reorder text (U+202A to U+202E, U+2066 to U+2069,
// U+200E, U+200F, U+061C) become \uHHHH too: a name cannot turn the rest of
// a table row around.
QString textoImprimible(const QString& texto);

// "1 fotograma", "5 fotogramas": a count with its noun in the right number.
QString cantidad(long long n, const char* singular, const char* plural);

} // namespace zul
