#pragma once

#include "TableModel.h"

#include "vespin.h"

namespace vespin {

class CardLibrary;
class Clock;

// Fills Deck from the game number, drawing a random number first unless
// PresetGameNumber is set. The layout depends on GameNumber alone.
void Shuffle(TableModel &table, const Clock &clock);

// Lays Deck out onto the eight columns and the empty foundation marks, with
// every card's record set to match the table.
void LayOut(TableModel &table, const CardLibrary &cards, VespinSurface *window);

} // namespace vespin
