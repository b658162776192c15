#pragma once

// The one saved position of Vespin.ini's [AutoSave] section, written by the
// close with Auto Save on and by Place Bookmark, read back at start and by
// Return to Bookmark.

#include "game/TableModel.h"

#include "vespin.h"

#include <QString>

#include <optional>
#include <vector>

namespace vespin {

class CardLibrary;
class SettingsFile;
class SettingsText;

struct SavedGame {
    std::int32_t gameNumber = 1;
    std::int32_t score = 0;
    std::int32_t time = 0;
    std::int32_t pauseCount = 0;
    IndexedArray<std::int32_t, 5, 8> faceDown{}; // face-down cards at the bottom of columns 5..8
    IndexedArray<std::vector<std::int32_t>, 1, 8> columns{};
    IndexedArray<std::vector<std::int32_t>, FirstFoundation, LastFoundation> foundations{};
};

// Writes the table as the saved game, the whole section at once.
// Into a text in memory the same, for the checks that need no disk.
void SaveGame(SettingsFile &file, const TableModel &table, const CardLibrary &cards);
void SaveGame(SettingsText &text, const TableModel &table, const CardLibrary &cards);

// The saved game, when the section describes a table that can be played:
// counters in range, every card once, face-down cards only under a face-up
// top, each foundation one suit from its Ace. Nothing otherwise.
std::optional<SavedGame> readSavedGame(const SettingsFile &file, const CardLibrary &cards);
std::optional<SavedGame> readSavedGame(const SettingsText &text, const CardLibrary &cards);

// Puts a saved game on the table and into the card library's records. The
// library must have been reset for a deal: every card face up, unblocked
// and enabled.
void layOutSavedGame(const SavedGame &saved, TableModel &table, const CardLibrary &cards, VespinSurface *window);

} // namespace vespin
