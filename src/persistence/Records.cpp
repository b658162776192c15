#include "Records.h"

#include "SettingsKeys.h"

#include <algorithm>
#include <limits>

namespace vespin {

void Statistics::read(const SettingsFile &file)
{
    GamesPlayed = vespin::read(file, keys::GamesPlayed);
    GamesWon = vespin::read(file, keys::GamesWon);
    TotalScore = vespin::read(file, keys::TotalScore);
    SuperPlayer = vespin::read(file, keys::SuperPlayer);
    SuperTime = vespin::read(file, keys::SuperTime);
    SuperDate = vespin::read(file, keys::SuperDate);
    SuperGame = vespin::read(file, keys::SuperGame);
}

void Statistics::write(SettingsFile &file) const
{
    vespin::write(file, keys::GamesPlayed, GamesPlayed);
    vespin::write(file, keys::GamesWon, GamesWon);
    vespin::write(file, keys::TotalScore, TotalScore);
    vespin::write(file, keys::SuperPlayer, SuperPlayer);
    vespin::write(file, keys::SuperTime, SuperTime);
    vespin::write(file, keys::SuperDate, SuperDate);
    vespin::write(file, keys::SuperGame, SuperGame);
}

void Statistics::bookGame(std::int32_t score)
{
    SessionGames = saturatingAdd(SessionGames, 1);
    SessionScore = saturatingAdd(SessionScore, score);
    GamesPlayed = saturatingAdd(GamesPlayed, 1);
    TotalScore = saturatingAdd(TotalScore, score);
}

void Statistics::bookWin()
{
    GamesWon = saturatingAdd(GamesWon, 1);
    SessionWon = saturatingAdd(SessionWon, 1);
}

std::int32_t saturatingAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t sum;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
}

TopTen::TopTen()
{
    for (int row = 1; row <= Rows; ++row)
        rows[std::size_t(row - 1)].name = keys::PlayerName(row).fallback;
}

void TopTen::offer(const TopTenEntry &game)
{
    if (game.score == 0)
        return;
    auto place = std::find_if(rows.begin(), rows.end(), [&](const TopTenEntry &row) {
        return row.score == game.score && row.time >= game.time;
    });
    if (place == rows.end())
        place = std::find_if(rows.begin(), rows.end(), [&](const TopTenEntry &row) { return row.score < game.score; });
    if (place == rows.end())
        return;
    std::move_backward(place, rows.end() - 1, rows.end());
    *place = game;
}

void TopTen::read(const SettingsFile &file)
{
    for (int row = 1; row <= Rows; ++row) {
        TopTenEntry &entry = rows[std::size_t(row - 1)];
        entry.name = vespin::read(file, keys::PlayerName(row));
        entry.score = vespin::read(file, keys::PlayerScore(row));
        entry.time = vespin::read(file, keys::PlayerTime(row));
        entry.gameNumber = vespin::read(file, keys::PlayerGameNumber(row));
    }
}

void TopTen::write(SettingsFile &file) const
{
    for (int row = 1; row <= Rows; ++row) {
        const TopTenEntry &entry = rows[std::size_t(row - 1)];
        vespin::write(file, keys::PlayerName(row), entry.name);
        vespin::write(file, keys::PlayerScore(row), entry.score);
        vespin::write(file, keys::PlayerTime(row), entry.time);
        vespin::write(file, keys::PlayerGameNumber(row), entry.gameNumber);
    }
}

} // namespace vespin
