#include "ColourTable.h"

#include <array>

namespace vespin {
namespace {

struct NamedColour {
    const char *name;
    int red, green, blue;
};

constexpr std::array<NamedColour, ColourCount> colours{{
    {"Aqua", 0, 255, 255},   {"Black", 0, 0, 0},       {"Blue", 0, 0, 255},     {"Fuchsia", 255, 0, 255},
    {"Gray", 128, 128, 128}, {"Green", 0, 128, 0},     {"Lime", 0, 255, 0},     {"Maroon", 128, 0, 0},
    {"Navy", 0, 0, 128},     {"Olive", 128, 128, 0},   {"Purple", 128, 0, 128}, {"Red", 255, 0, 0},
    {"Silver", 192, 192, 192}, {"Teal", 0, 128, 128}, {"White", 255, 255, 255}, {"Yellow", 255, 255, 0},
}};

const NamedColour &entry(int index)
{
    return colours[std::size_t(index >= 0 && index < ColourCount ? index : DefaultColourIndex)];
}

} // namespace

QString colourName(int index)
{
    return QString::fromLatin1(entry(index).name);
}

QColor tableColour(int index)
{
    const NamedColour &c = entry(index);
    return QColor(c.red, c.green, c.blue);
}

} // namespace vespin
