#pragma once

#include "TableModel.h"

#include <QStringList>

#include <bitset>

namespace vespin {

class CardLibrary;

// Card numbers 1..52 as a set; bit 0 is unused.
using CardSet = std::bitset<CardCount + 1>;

// What must hold of the table after every operation that changes it, with
// the card library's records agreeing with the model. Returns one line per
// rule broken; empty when all hold. `settled`: a status check has run since
// the last change, so no column ends in a face-down card and the score is
// up to date. `mayBeAbsent`: cards that may be missing from the table
// altogether; every card that is there must still stand exactly once.
QStringList tableViolations(const TableModel &table, const CardLibrary &cards, bool settled = true,
                            const CardSet &mayBeAbsent = {});

#ifndef NDEBUG
// Debug builds stop the program at the first operation that leaves the
// table broken, naming the operation and every rule broken, before play
// goes on from a table that no longer adds up.
void checkTable(const TableModel &table, const CardLibrary &cards, bool settled, const char *operation);

// A position laid out with only some of the 52 cards, to play particular
// moves on it, as the tests do: the check lets `absent` be missing from
// this table until it next holds all 52 cards, as after a deal.
void allowAbsentCards(const TableModel &table, const CardSet &absent);
#else
inline void checkTable(const TableModel &, const CardLibrary &, bool, const char *) {}
inline void allowAbsentCards(const TableModel &, const CardSet &) {}
#endif

} // namespace vespin
