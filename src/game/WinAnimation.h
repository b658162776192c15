#pragma once

#include "TableModel.h"

#include <QPoint>

#include <functional>
#include <vector>

namespace vespin {

// The bouncing cards of a won game: every card leaves its foundation, Kings
// first, in a flight of its own that bounces along the bottom of the table
// and runs off to the left.
struct Flight {
    std::int32_t card = 0;
    int k = 0; // 4, 3, 2, 1 for the foundations 5, 6, 7, 8
};

// The 52 flights in their order: row 13 of foundations 5 to 8, then row 12,
// and so on down to the Aces.
std::vector<Flight> winFlights(const TableModel &table);

// Where a card of flight k stands at step g: H is the height the cards
// bounce in, the client height less a card.
QPoint flightPoint(int g, int k, int H, int tableTop);

// The last step of a flight.
constexpr int lastStep(int k)
{
    return 97 - 78 * (k - 1);
}

// Plays the flights: for each, a speed m of 2, 3 or 4 drawn from the game's
// generator, then a frame at every step g (720 down to the last) that m
// divides. Before each frame `goOn` lets the window run and says whether to
// go on; the flights end as soon as it says no. Then the card is drawn at its
// point, with the bounce height as it is at that moment.
struct WinAnimationHooks {
    std::function<bool()> goOn;
    std::function<int()> bounceHeight;
    std::function<void(std::int32_t card, QPoint at)> draw;
};
void runWinAnimation(TableModel &table, const WinAnimationHooks &hooks);

} // namespace vespin
