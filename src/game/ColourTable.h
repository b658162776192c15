#pragma once

#include <QColor>
#include <QString>

namespace vespin {

inline constexpr int ColourCount = 16;
inline constexpr int DefaultColourIndex = 5; // Green

// The table colours by index: their names and values.
QString colourName(int index);
// Out-of-range indexes give the default colour.
QColor tableColour(int index);

} // namespace vespin
