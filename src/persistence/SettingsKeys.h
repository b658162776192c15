#pragma once

// Every section and key of Vespin.ini, with its type and default, in one
// place. Readers and writers go through these, never through bare names.

#include "SettingsFile.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <limits>

namespace vespin {

struct NumberKey {
    QString section;
    QString name;
    std::int32_t fallback = 0;
    // A stored value outside the range reads as the default.
    std::int32_t min = std::numeric_limits<std::int32_t>::min();
    std::int32_t max = std::numeric_limits<std::int32_t>::max();
};

struct FlagKey {
    QString section;
    QString name;
    bool fallback = false;
};

struct TextKey {
    QString section;
    QString name;
    QString fallback;
};

// Settings is a SettingsFile, or a SettingsText in memory: the same rules,
// with or without the disk.
template <typename Settings>
std::int32_t read(const Settings &settings, const NumberKey &key)
{
    const std::int32_t value = settings.ReadNumber(key.section, key.name, key.fallback);
    return value >= key.min && value <= key.max ? value : key.fallback;
}

template <typename Settings>
bool read(const Settings &settings, const FlagKey &key)
{
    return settings.ReadFlag(key.section, key.name, key.fallback);
}

template <typename Settings>
QString read(const Settings &settings, const TextKey &key)
{
    return settings.ReadText(key.section, key.name, key.fallback);
}

template <typename Settings>
void write(Settings &settings, const NumberKey &key, std::int32_t value)
{
    settings.WriteNumber(key.section, key.name, value);
}

template <typename Settings>
void write(Settings &settings, const FlagKey &key, bool value)
{
    settings.WriteFlag(key.section, key.name, value);
}

template <typename Settings>
void write(Settings &settings, const TextKey &key, const QString &value)
{
    settings.WriteText(key.section, key.name, value);
}

namespace keys {

inline const QString Window = QStringLiteral("Window");
inline const QString Options = QStringLiteral("Options");
inline const QString Statistics = QStringLiteral("Statistics");
inline const QString TopTen = QStringLiteral("TopTen");
inline const QString AutoSave = QStringLiteral("AutoSave");

// [Window]; the position defaults centre a 640 x 480 frame on the screen.
NumberKey LeftPosition(QSize screen);
NumberKey TopPosition(QSize screen);
inline const NumberKey Height{Window, QStringLiteral("Height"), 450};
inline const FlagKey Maximized{Window, QStringLiteral("Maximized"), false};

// [Options]
inline const FlagKey Sound{Options, QStringLiteral("Sound"), true};
inline const FlagKey AutoSaveOption{Options, QStringLiteral("AutoSave"), false};
inline const FlagKey SlowAnim{Options, QStringLiteral("SlowAnim"), false};
inline const NumberKey CardBack{Options, QStringLiteral("CardBack"), 1, 1, 6};
inline const FlagKey Pause{Options, QStringLiteral("Pause"), true};
inline const FlagKey Prompts{Options, QStringLiteral("Prompts"), false};
inline const NumberKey BackGroundColor{Options, QStringLiteral("BackGroundColor"), 5, 0, 15};
inline const FlagKey ToolHint{Options, QStringLiteral("ToolHint"), true};
inline const FlagKey TexturedToolbar{Options, QStringLiteral("Textured Toolbar"), true};
// Shown by default only on a screen wider than 640 pixels.
FlagKey ToolBar(QSize screen);
FlagKey Statusbar(QSize screen);
// The View toggle writes the status bar key with this spelling; names match
// without regard to case, so the start-up read finds it.
inline const FlagKey StatusBarToggle{Options, QStringLiteral("StatusBar"), true};
inline const FlagKey ShowTips{Options, QStringLiteral("ShowTips"), true};
inline const NumberKey TipNumber{Options, QStringLiteral("TipNumber"), 0};
inline const FlagKey ShowNameBox{Options, QStringLiteral("ShowNameBox"), true};

// [Statistics]
inline const NumberKey GamesPlayed{Statistics, QStringLiteral("GamesPlayed"), 0};
inline const NumberKey GamesWon{Statistics, QStringLiteral("GamesWon"), 0};
inline const NumberKey TotalScore{Statistics, QStringLiteral("TotalScore"), 0};
inline const TextKey SuperPlayer{Statistics, QStringLiteral("SuperPlayer"), QString()};
inline const NumberKey SuperTime{Statistics, QStringLiteral("SuperTime"), 9999};
inline const TextKey SuperDate{Statistics, QStringLiteral("SuperDate"), QString()};
inline const NumberKey SuperGame{Statistics, QStringLiteral("SuperGame"), 0};

// [TopTen], rows 1..10
inline const TextKey LastPlayer{TopTen, QStringLiteral("LastPlayer"), QStringLiteral("Player 1")};
TextKey PlayerName(int row);
NumberKey PlayerScore(int row);
NumberKey PlayerTime(int row);
NumberKey PlayerGameNumber(int row);

// [AutoSave]: the saved game; a missing key reads as 0 unless given.
inline const FlagKey GameSaved{AutoSave, QStringLiteral("GameSaved"), false};
inline const NumberKey SavedGameNumber{AutoSave, QStringLiteral("GameNumber"), 1};
inline const NumberKey SavedScore{AutoSave, QStringLiteral("Score"), 0};
inline const NumberKey SavedTime{AutoSave, QStringLiteral("Time"), 0};
inline const NumberKey SavedPauseCount{AutoSave, QStringLiteral("PC"), 0};
NumberKey SavedStatus(int column);            // columns 5..8
NumberKey SavedTableauCounter(int column);    // columns 1..8
NumberKey SavedFoundationCounter(int foundation); // foundations 5..8
NumberKey SavedTableau(int column, int row);
NumberKey SavedFoundation(int foundation, int row);

} // namespace keys
} // namespace vespin
