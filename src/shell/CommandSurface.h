#pragma once

#include <QObject>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace vespin {

// Every command of the main window as the player reaches it: the menu bar,
// the tool bar, the pop-up menus and the status bar. Each command is one
// action shared by its menu entry and its tool bar button, so the two always
// agree on enabled and checked; the handlers are connected by the window.
struct CommandSurface {
    static constexpr int ToolbarHeight = 26;
    static constexpr int ButtonSize = 22;
    static constexpr int GlyphSize = 16;
    static constexpr int BannerWidth = 18;

    // Builds everything into the window.
    explicit CommandSurface(QMainWindow &window);

    // Game
    QAction *mnuNewGame, *mnuSelectGame, *mnuRestartGame, *mnuUndo, *mnuPause, *mnuTopTen, *mnuStatistics,
        *mnuExit;
    // Options
    QAction *mnuPreferences, *mnuPlayerName, *mnuSound, *mnuAutoSave, *mnuPlaceBookmark, *mnuReturnToBookmark,
        *mnuBackgroundColor, *mnuCardBack, *mnuRefresh;
    // View
    QAction *mnuViewToolbar, *mnuViewStatusBar;
    // Help
    QAction *mnuContents, *mnuKeywordSearch, *mnuHowtoPlay, *mnuHelpOnHelp, *mnuTip, *mnuAbout;
    // Only a key: Esc.
    QAction *mnuMinimize;
    // Only on the tool bar.
    QAction *btReadme;

    QMenu *mnuGame, *mnuOptions, *mnuView, *mnuHelp;
    QMenu *PopupMenuToolbar, *PopupMenuStatusBar, *PopupMenuHelp;
    QAction *mnuPopupHide, *mnuPopupHideStatusBar;
    QAction *PopUpContents, *PopUpKeywordSearch, *PopUpHowtoPlay, *PopUpUsingHelp, *PopUpTip;

    QToolBar *Toolbar;
    QToolButton *btHelp;

    QStatusBar *StatusBar;
    QLabel *StatusPanels[3];

    // The tool bar button of an action, for tests and looks.
    QToolButton *button(QAction *action) const;
};

} // namespace vespin
