#include "SavedGame.h"

#include "SettingsFile.h"
#include "SettingsKeys.h"
#include "SettingsText.h"
#include "interaction/CardLibrary.h"

#include <algorithm>
#include <array>

namespace vespin {
namespace {

// The same keys whether the settings are the file or a text in memory; only
// the file has a batch to gather its writes in.
template <typename Settings>
void saveGame(Settings &file, const TableModel &t, const CardLibrary &cards)
{
    if constexpr (requires { file.beginBatch(); })
        file.beginBatch();
    file.ClearSection(keys::AutoSave);
    write(file, keys::GameSaved, true);
    write(file, keys::SavedGameNumber, t.GameNumber);
    write(file, keys::SavedScore, t.Score);
    write(file, keys::SavedTime, t.GameTime);
    write(file, keys::SavedPauseCount, t.PauseCount);
    for (int c = 5; c <= 8; ++c) {
        // The highest face-down row is the column's face-down count.
        int faceDown = 0;
        for (int r = 1; r <= std::min(6, t.TableauCounter[c]); ++r) {
            if (cards.GetCardStatus(t.Tableau[c][r]) == 0)
                faceDown = r;
        }
        if (faceDown > 0)
            write(file, keys::SavedStatus(c), faceDown);
    }
    for (int c = 1; c <= 8; ++c)
        write(file, keys::SavedTableauCounter(c), t.TableauCounter[c]);
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        write(file, keys::SavedFoundationCounter(f), t.FoundationCounter[f]);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= t.TableauCounter[c]; ++r)
            write(file, keys::SavedTableau(c, r), t.Tableau[c][r]);
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        for (int r = 1; r <= t.FoundationCounter[f]; ++r)
            write(file, keys::SavedFoundation(f, r), t.Foundation[f][r]);
    if constexpr (requires { file.commitBatch(); })
        file.commitBatch();
}

template <typename Settings>
std::optional<SavedGame> readSaved(const Settings &file, const CardLibrary &cards)
{
    SavedGame saved;
    saved.gameNumber = read(file, keys::SavedGameNumber);
    saved.score = read(file, keys::SavedScore);
    saved.time = read(file, keys::SavedTime);
    saved.pauseCount = read(file, keys::SavedPauseCount);
    if (saved.time < 0 || saved.pauseCount < 0 || saved.pauseCount > 5)
        return std::nullopt;

    std::array<int, CardCount + 1> seen{};
    auto take = [&](int card) {
        if (card < 1 || card > CardCount || seen[std::size_t(card)]++ > 0)
            return false;
        return true;
    };
    for (int c = 1; c <= 8; ++c) {
        const int count = read(file, keys::SavedTableauCounter(c));
        if (count < 0 || count > CardCount)
            return std::nullopt;
        for (int r = 1; r <= count; ++r) {
            const int card = read(file, keys::SavedTableau(c, r));
            if (!take(card))
                return std::nullopt;
            saved.columns[c].push_back(card);
        }
        if (c >= 5) {
            // Face down only under a face-up top card.
            const int faceDown = read(file, keys::SavedStatus(c));
            if (faceDown < 0 || faceDown > 6 || (faceDown > 0 && faceDown >= count))
                return std::nullopt;
            saved.faceDown[c] = faceDown;
        }
    }
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        const int count = read(file, keys::SavedFoundationCounter(f));
        if (count < 0 || count > 13)
            return std::nullopt;
        for (int r = 1; r <= count; ++r) {
            const int card = read(file, keys::SavedFoundation(f, r));
            if (!take(card) || cards.GetCardValue(card) != r
                || (r > 1 && cards.GetCardSuit(card) != cards.GetCardSuit(saved.foundations[f].front())))
                return std::nullopt;
            saved.foundations[f].push_back(card);
        }
    }
    for (int card = 1; card <= CardCount; ++card) {
        if (seen[std::size_t(card)] != 1)
            return std::nullopt;
    }
    // A game with every card home was won and booked already; restored, it
    // would be won, and booked, a second time.
    std::size_t home = 0;
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        home += saved.foundations[f].size();
    if (home == std::size_t(CardCount))
        return std::nullopt;
    return saved;
}

} // namespace

void SaveGame(SettingsFile &file, const TableModel &table, const CardLibrary &cards)
{
    saveGame(file, table, cards);
}

void SaveGame(SettingsText &text, const TableModel &table, const CardLibrary &cards)
{
    saveGame(text, table, cards);
}

std::optional<SavedGame> readSavedGame(const SettingsFile &file, const CardLibrary &cards)
{
    return readSaved(file, cards);
}

std::optional<SavedGame> readSavedGame(const SettingsText &text, const CardLibrary &cards)
{
    return readSaved(text, cards);
}

void layOutSavedGame(const SavedGame &saved, TableModel &t, const CardLibrary &cards, VespinSurface *window)
{
    t.GameNumber = saved.gameNumber;
    t.Score = saved.score;
    t.GameTime = saved.time;
    t.PauseCount = saved.pauseCount;
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        t.FoundationCounter[f] = std::int32_t(saved.foundations[f].size());
        t.FoundationUsed[f] = t.FoundationCounter[f] != 0;
        for (int r = 1; r <= t.FoundationCounter[f]; ++r)
            t.Foundation[f][r] = saved.foundations[f][std::size_t(r - 1)];
    }
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        cards.DrawSymbol(window, VESPIN_SYMBOL_EMPTY_FOUNDATION, ColumnX[f], t.TableTop + FoundationRowY);
    for (int c = 1; c <= 8; ++c) {
        const int count = int(saved.columns[c].size());
        t.TableauCounter[c] = count;
        for (int r = 1; r <= count; ++r) {
            const int card = saved.columns[c][std::size_t(r - 1)];
            t.Tableau[c][r] = card;
            if (c >= 5 && r <= saved.faceDown[c])
                cards.SetCardStatus(card, 0);
            cards.DealCard(window, card, ColumnX[c], rowY(t.TableTop, r));
            cards.SetUser3(card, r);
            cards.SetUser4(card, c);
            if (r < count)
                cards.AdjustCardBlocked(card, 1);
        }
    }
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        for (int r = 1; r <= t.FoundationCounter[f]; ++r) {
            const int card = t.Foundation[f][r];
            cards.DealCard(window, card, ColumnX[f], t.TableTop + FoundationRowY);
            cards.SetCardDisabled(card, 1);
        }
    }
}

} // namespace vespin
