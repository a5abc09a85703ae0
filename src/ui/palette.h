#pragma once
#include <QColor>

namespace mitoran {
// The 16-colour palette by index: 0 black, 1 navy, ... 12 red, 14 yellow, 15 white.
QColor paletteColour(int index);
}  // namespace mitoran
