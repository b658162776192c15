#pragma once

// Positions of our own on the table of a running main window, and a hand on
// its mouse, for tests that play particular moves.

#include "shell/TfrmMain.h"

#include <array>
#include <vector>

namespace vespin::test {

// Cards by suit and value.
constexpr int clubs(int v) { return v; }
constexpr int diamonds(int v) { return 13 + v; }
constexpr int hearts(int v) { return 26 + v; }
constexpr int spades(int v) { return 39 + v; }

using Columns = std::array<std::vector<int>, 8>;

// Lays a position out as the deal would: columns bottom to top, the first
// `faceDown[c]` cards of column c face down; `foundations` holds how many
// clubs, diamonds, hearts and spades already lie on foundations 5 to 8.
// The clock is stopped and Undo is off, as after a deal. The cards left out
// may be missing from the table until it next holds all 52.
void lay(TfrmMain &w, const Columns &columns, const std::array<int, 8> &faceDown = {},
         const std::array<int, 4> &foundations = {});

// The top-left corner of a card on the table.
QPoint corner(TfrmMain &w, int card);

// Mouse on the real table widget, at table points.
void press(TfrmMain &w, Qt::MouseButton button, QPoint at);
void moveTo(TfrmMain &w, QPoint at);
void release(TfrmMain &w, Qt::MouseButton button, QPoint at);
// A left drag of a card by a point of its top strip, so that its corner
// ends at `to`; in a few steps, as a hand would.
void dragCard(TfrmMain &w, int card, QPoint to);

} // namespace vespin::test
