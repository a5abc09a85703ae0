#include "ui/palette.h"

#include <array>

namespace mitoran {

QColor paletteColour(int index) {
    static constexpr std::array<QRgb, 16> colours = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    // Only the low four bits select a colour, as in the 16-colour palette the screens were made
    // for.
    return QColor::fromRgb(colours[static_cast<unsigned>(index) & 15u]);
}

}  // namespace mitoran
