#pragma once

#include "IndexedArray.h"
#include "Random.h"

#include <cstdint>
#include <optional>

namespace vespin {

// Table geometry, in table pixels.
inline constexpr int CardWidth = 71;
inline constexpr int CardHeight = 96;
inline constexpr int RowStep = 16;          // a card lying on another is this much lower
inline constexpr int FoundationRowY = 7;    // below TableTop
inline constexpr int FirstRowY = 112;       // below TableTop
inline constexpr IndexedArray<int, 1, 8> ColumnX{{7, 85, 163, 241, 319, 397, 475, 553}};

inline constexpr int CardCount = 52;
inline constexpr int MaxColumnCards = 52;
inline constexpr int FirstFoundation = 5;
inline constexpr int LastFoundation = 8;

using ColumnArray = IndexedArray<std::int32_t, 1, 8>;
using FoundationArray = IndexedArray<std::int32_t, FirstFoundation, LastFoundation>;
using CardList = IndexedArray<std::int32_t, 1, CardCount>;

// y of row r of any column.
constexpr int rowY(int tableTop, int row)
{
    return tableTop + FirstRowY + RowStep * (row - 1);
}

// The state of the one game on the table, with the flags that sequence
// dealing, pausing and winning. The handlers of the main window and the game
// routines read and write these fields directly.
struct TableModel {
    // Tableau[c][r]: row 1 is the first card dealt to column c; entries above
    // TableauCounter[c] are stale and never read as cards.
    IndexedArray<CardList, 1, 8> Tableau{};
    ColumnArray TableauCounter{};
    // Foundation[f][k]: the k-th card put on foundation f (5..8); k = 1 is its Ace.
    IndexedArray<IndexedArray<std::int32_t, 1, 13>, FirstFoundation, LastFoundation> Foundation{};
    FoundationArray FoundationCounter{};
    IndexedArray<bool, FirstFoundation, LastFoundation> FoundationUsed{};
    IndexedArray<bool, 1, 8> EmptyColumn{};
    CardList Deck{};

    // The last move that can be taken back.
    CardList UndoCards{};
    std::int32_t UndoCount = 0;
    std::int32_t UndoFrom = 0;
    std::int32_t UndoTo = 0;

    std::int32_t Score = 0;
    std::int32_t GameTime = 0;
    std::int32_t GameNumber = 0;
    bool PresetGameNumber = false;
    // A number chosen for the next deal (Select Game and the like). It
    // becomes GameNumber only once that deal goes ahead, so that the game
    // on the table keeps its own number if the player declines to leave it.
    std::optional<std::int32_t> NextGameNumber;
    std::int32_t PauseCount = 0;

    bool UserInterrupt = false;
    bool WinRecorded = false;
    bool PauseDisabled = false;
    bool FirstDeal = false;
    bool RestorePending = false;
    bool ReturningToBookmark = false;
    bool GameFinished = false;
    bool SecretGamePicked = false;
    bool NewSuperRecord = false;

    std::int32_t TableTop = 0;
    std::int32_t ToolbarHeight = 0;
    bool RelayoutPending = false; // the next paint moves every card by ToolbarHeight
    bool ToolbarRedocked = false; // the tool bar was docked or floated since the last paint

    GameRandom Random;
};

} // namespace vespin
