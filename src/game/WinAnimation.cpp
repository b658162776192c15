#include "WinAnimation.h"

#include <cfenv>
#include <cmath>
#include <numbers>

namespace vespin {

namespace {

// The position was kept in a 6-byte real: 40 significant bits. Rounding
// there first keeps the halves where that type put them.
double toSixByteReal(double value)
{
    if (value == 0 || !std::isfinite(value))
        return value;
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent);
    return std::ldexp(std::nearbyint(std::ldexp(mantissa, 40)), exponent - 40);
}

// Halves go to the even neighbour.
int roundHalfEven(double value)
{
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return int(rounded);
}

} // namespace

std::vector<Flight> winFlights(const TableModel &table)
{
    std::vector<Flight> flights;
    int k = 5;
    for (int r = 13; r >= 1; --r) {
        for (int f = FirstFoundation; f <= LastFoundation; ++f) {
            if (--k == 0)
                k = 4;
            flights.push_back({table.Foundation[f][r], k});
        }
    }
    return flights;
}

QPoint flightPoint(int g, int k, int H, int tableTop)
{
    const double radians = g * std::numbers::pi / 180.0;
    const double y = H - H * (g / 720.0) * std::fabs(std::cos(radians)) + tableTop + FoundationRowY;
    return QPoint(g - 168 - 78 * (k - 1), roundHalfEven(toSixByteReal(y)));
}

void runWinAnimation(TableModel &table, const WinAnimationHooks &hooks)
{
    for (const Flight &flight : winFlights(table)) {
        const int m = int(table.Random.RandomBelow(3)) + 2;
        for (int g = 720; g >= lastStep(flight.k); --g) {
            if (g % m != 0)
                continue;
            if (!hooks.goOn())
                return;
            hooks.draw(flight.card, flightPoint(g, flight.k, hooks.bounceHeight(), table.TableTop));
        }
    }
}

} // namespace vespin
