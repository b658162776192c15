#pragma once

// What the program remembers of games between runs: the statistics with the
// best time, and the Top Ten. Both live in memory while the program runs and
// reach the settings file at start and at close.

#include <QString>

#include <array>
#include <cstdint>

namespace vespin {

class SettingsFile;

struct Statistics {
    std::int32_t GamesPlayed = 0;
    std::int32_t GamesWon = 0;
    std::int32_t TotalScore = 0;
    QString SuperPlayer;
    std::int32_t SuperTime = 9999; // no best player yet
    QString SuperDate;
    std::int32_t SuperGame = 0;

    // This run only; never stored.
    std::int32_t SessionGames = 0;
    std::int32_t SessionScore = 0;
    std::int32_t SessionWon = 0;

    void read(const SettingsFile &file);
    void write(SettingsFile &file) const;

    // A finished game, and a won one. The sums stop at the largest number
    // the file can hold: a hand-edited total near it must not wrap round.
    void bookGame(std::int32_t score);
    void bookWin();
};

// a + b, held at the ends of the 32-bit range instead of wrapping.
std::int32_t saturatingAdd(std::int32_t a, std::int32_t b);

struct TopTenEntry {
    QString name;
    std::int32_t score = 0;
    std::int32_t time = 9999;
    std::int32_t gameNumber = 1;
};

struct TopTen {
    static constexpr int Rows = 10;
    std::array<TopTenEntry, Rows> rows; // row 1 first

    TopTen();
    // A finished or abandoned game takes its place by score, then time; a
    // game that ties a row goes above it, and the last row falls out.
    void offer(const TopTenEntry &game);
    void read(const SettingsFile &file);
    void write(SettingsFile &file) const;
};

} // namespace vespin
