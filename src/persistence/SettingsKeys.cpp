#include "SettingsKeys.h"

namespace vespin {

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
