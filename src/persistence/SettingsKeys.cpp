#include "SettingsKeys.h"

namespace vespin {

std::int32_t read(const SettingsFile &file, const NumberKey &key)
{
    const std::int32_t value = file.ReadNumber(key.section, key.name, key.fallback);
    return value >= key.min && value <= key.max ? value : key.fallback;
}

bool read(const SettingsFile &file, const FlagKey &key)
{
    return file.ReadFlag(key.section, key.name, key.fallback);
}

QString read(const SettingsFile &file, const TextKey &key)
{
    return file.ReadText(key.section, key.name, key.fallback);
}

void write(SettingsFile &file, const NumberKey &key, std::int32_t value)
{
    file.WriteNumber(key.section, key.name, value);
}

void write(SettingsFile &file, const FlagKey &key, bool value)
{
    file.WriteFlag(key.section, key.name, value);
}

void write(SettingsFile &file, const TextKey &key, const QString &value)
{
    file.WriteText(key.section, key.name, value);
}

namespace keys {

NumberKey LeftPosition(QSize screen)
{
    return {Window, QStringLiteral("LeftPosition"), screen.width() / 2 - 320};
}

NumberKey TopPosition(QSize screen)
{
    return {Window, QStringLiteral("TopPosition"), screen.height() / 2 - 240};
}

FlagKey ToolBar(QSize screen)
{
    return {Options, QStringLiteral("ToolBar"), screen.width() > 640};
}

FlagKey Statusbar(QSize screen)
{
    return {Options, QStringLiteral("Statusbar"), screen.width() > 640};
}

TextKey PlayerName(int row)
{
    return {TopTen, QStringLiteral("Player%1").arg(row), QStringLiteral("Player %1").arg(row)};
}

NumberKey PlayerScore(int row)
{
    return {TopTen, QStringLiteral("Player%1 Score").arg(row), 0};
}

NumberKey PlayerTime(int row)
{
    return {TopTen, QStringLiteral("Player%1 Time").arg(row), 9999};
}

NumberKey PlayerGameNumber(int row)
{
    return {TopTen, QStringLiteral("Player%1 GameNumber").arg(row), 1};
}

NumberKey SavedStatus(int column)
{
    return {AutoSave, QStringLiteral("Status%1").arg(column), 0};
}

NumberKey SavedTableauCounter(int column)
{
    return {AutoSave, QStringLiteral("TableauCounter%1").arg(column), 0};
}

NumberKey SavedFoundationCounter(int foundation)
{
    return {AutoSave, QStringLiteral("FoundationCounter%1").arg(foundation), 0};
}

NumberKey SavedTableau(int column, int row)
{
    return {AutoSave, QStringLiteral("Tableau_%1_%2").arg(column).arg(row), 0};
}

NumberKey SavedFoundation(int foundation, int row)
{
    return {AutoSave, QStringLiteral("Foundation_%1_%2").arg(foundation).arg(row), 0};
}

} // namespace keys
} // namespace vespin
