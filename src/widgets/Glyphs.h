#pragma once

#include <QIcon>

namespace vespin {

// The small pictures of the menus and the tool bar. The first 25 follow the
// order of the menus' image list; the last two only appear on the tool bar.
enum class Glyph {
    NewGame, SelectGame, RestartGame, Undo, Pause, TopTen, Statistics, Exit,
    Preferences, PlayerName, Sound, AutoSave, PlaceBookmark, ReturnToBookmark,
    BackgroundColor, CardBack, Refresh, ViewToolbar, ViewStatusBar, Contents,
    KeywordSearch, HowToPlay, UsingHelp, TipOfTheDay, About,
    Help, Readme,
};

inline constexpr int MenuGlyphCount = 25;
inline constexpr int GlyphCount = 27;

// Drawn as vectors at whatever size and pixel ratio they are asked for.
// Undo, Pause, Exit, Statistics, Preferences, Readme and ReturnToBookmark
// bring their own disabled look; the others leave it to the style.
QIcon glyphIcon(Glyph glyph);
// A null icon outside 0..MenuGlyphCount-1.
QIcon glyphIcon(int menuImageIndex);

} // namespace vespin
