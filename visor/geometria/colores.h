#pragma once

#include <QColor>

namespace zul {

// Kart disc colour of player i. Players 0 to 5 keep the six classic pale
// colours; later players get generated pale colours of other hues.
QColor colorDisco(int i);

// Name label colour of player i as six hexadecimal digits (red, green, blue),
// in the hue of the player's disc. The text lives as long as the program.
const char* colorEtiqueta(int i);

} // namespace zul
