#pragma once

#include <QColor>

namespace zul {

// Kart disc colour of player i. Players 0 to 5 keep the six classic pale
// colours; later players get generated colours, each as far as can be from
// all those before it.
QColor colorDisco(int i);

// The colour of the timeline's shot marks: a dark grey that no player has.
QColor colorMarcaDisparo();

// How different two colours look (CIELAB distance; about 2.3 is the least
// the eye tells apart).
double distanciaColores(const QColor& a, const QColor& b);

// Black or white, whichever a text of this colour reads best on.
QColor fondoLegible(const QColor& texto);

// The contrast ratio (WCAG) of a colour against white: 1 for white, 21 for
// black.
double contrasteConBlanco(const QColor& color);

// Line colour of player i on a white chart: its label colour, darkened just
// enough to stand out on white (a contrast of at least 3).
QColor colorSobreBlanco(int i);

// Name label colour of player i as six hexadecimal digits (red, green, blue),
// the player's disc colour made stronger as the classic pairs are. The text lives as long as the
// program.
const char* colorEtiqueta(int i);

} // namespace zul
