#include "CommandSurface.h"

#include "widgets/BannerMenu.h"
#include "widgets/Glyphs.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace vespin {
namespace {

const QString MenuHint = QStringLiteral("Press ESC key to exit menu mode");

struct Entry {
    QString caption;
    QKeySequence key;
    int image;            // menu image index; -1 for none
    QString tooltip;      // the tool bar button's tooltip; empty without a button
    QString hint;         // the status bar text
};

QAction *makeAction(QMainWindow &window, const Entry &entry)
{
    auto *action = new QAction(entry.caption, &window);
    action->setShortcut(entry.key);
    // Shortcuts belong to the main window: a modal dialog keeps them away.
    action->setShortcutContext(Qt::WindowShortcut);
    action->setStatusTip(entry.hint);
    action->setToolTip(entry.tooltip.isEmpty() ? entry.caption : entry.tooltip);
    if (entry.image >= 0)
        action->setIcon(glyphIcon(entry.image));
    // Keys work whether or not a menu or the tool bar shows the command.
    window.addAction(action);
    return action;
}

QMenu *makeMenu(QMainWindow &window, const QString &title)
{
    auto *menu = new BannerMenu(title, &window);
    menu->menuAction()->setStatusTip(MenuHint);
    window.menuBar()->addMenu(menu);
    return menu;
}

void addAll(QMenu *menu, std::initializer_list<QAction *> actions)
{
    for (QAction *action : actions) {
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
    }
}

} // namespace

CommandSurface::CommandSurface(QMainWindow &window)
{
    auto make = [&window](const Entry &entry) { return makeAction(window, entry); };

    mnuNewGame = make({QStringLiteral("&New Game"), Qt::Key_F2, 0, QStringLiteral("New Game"),
                       QStringLiteral("Starts a new game")});
    mnuSelectGame = make({QStringLiteral("Select &Game..."), Qt::Key_F3, 1, QStringLiteral("Select Game"),
                          QStringLiteral("Manually select a new game")});
    mnuRestartGame = make({QStringLiteral("&Restart Game"), Qt::Key_F4, 2, QStringLiteral("Restart Game"),
                           QStringLiteral("Restarts current game")});
    mnuUndo = make({QStringLiteral("&Undo"), Qt::Key_U, 3, QStringLiteral("Undo"), QStringLiteral("Undo last move")});
    mnuPause = make({QStringLiteral("P&ause"), Qt::Key_F5, 4, QStringLiteral("Pause"), QStringLiteral("Pause the game")});
    mnuTopTen = make({QStringLiteral("&Top Ten..."), Qt::Key_T, 5, QStringLiteral("Top Ten"),
                      QStringLiteral("Display the Vespintide Hall of Fame")});
    mnuStatistics = make({QStringLiteral("&Statistics..."), Qt::Key_S, 6, QStringLiteral("Statistics"),
                          QStringLiteral("Display the Statistics dialog box")});
    mnuExit = make({QStringLiteral("E&xit"), QKeySequence(Qt::ALT | Qt::Key_F4), 7, QStringLiteral("Exit"),
                    QStringLiteral("Exit Vespintide")});

    mnuPreferences = make({QStringLiteral("&Preferences..."), Qt::Key_P, 8, QStringLiteral("Preferences"),
                           QStringLiteral("Display the Vespintide Preferences dialog box")});
    mnuPlayerName = make({QStringLiteral("Player &Name..."), Qt::Key_N, 9, QStringLiteral("Player Name"),
                          QStringLiteral("Display the Player Name dialog box, so that you can change Player Name")});
    mnuSound = make({QStringLiteral("So&und"), {}, 10, {}, QStringLiteral("Turn on or off the Vespintide sound effects")});
    mnuAutoSave = make({QStringLiteral("&Auto Save"), {}, 11, {}, QStringLiteral("Turn on or off the Autosave option")});
    mnuPlaceBookmark = make({QStringLiteral("Place Book&mark"), Qt::Key_M, 12, QStringLiteral("Place Bookmark"),
                             QStringLiteral("Save game in current position")});
    mnuReturnToBookmark = make({QStringLiteral("&Return to Bookmark"), Qt::Key_R, 13,
                                QStringLiteral("Return to Bookmark"),
                                QStringLiteral("Restore game from previously saved Bookmark Position")});
    mnuBackgroundColor = make({QStringLiteral("Background &Color..."), Qt::Key_C, 14,
                               QStringLiteral("Select Background Color"),
                               QStringLiteral("Display the Preferences dialog box and let you choose Background Color")});
    mnuCardBack = make({QStringLiteral("Card &Back..."), Qt::Key_B, 15, QStringLiteral("Select Cardback"),
                        QStringLiteral("Display the Preferences dialog box and let you choose Card Back")});
    mnuRefresh = make({QStringLiteral("Refresh &Screen"), Qt::Key_F12, 16, QStringLiteral("Refresh Screen"),
                       QStringLiteral("Refresh the main game window")});

    mnuViewToolbar = make({QStringLiteral("&Toolbar"), {}, 17, {}, QStringLiteral("Show or hide the Toolbar")});
    mnuViewStatusBar = make({QStringLiteral("&Status Bar"), {}, 18, {}, QStringLiteral("Show or hide the Status Bar")});

    mnuContents = make({QStringLiteral("&Contents"), Qt::Key_F1, 19, {}, QStringLiteral("Opens the Helpfile for Vespintide")});
    mnuKeywordSearch = make({QStringLiteral("&Keyword Search"), {}, 20, {},
                             QStringLiteral("Displays the Index tab in Vespintides Help system")});
    mnuHowtoPlay = make({QStringLiteral("&How to Play"), {}, 21, {}, QStringLiteral("How to play Vespintide")});
    mnuHelpOnHelp = make({QStringLiteral("&Using Help"), {}, 22, {}, QStringLiteral("Information about the Windows Help System")});
    mnuTip = make({QStringLiteral("&Tip of the Day"), {}, 23, {}, QStringLiteral("Show Tip of the day dialog box at startup?")});
    mnuAbout = make({QStringLiteral("&About..."), {}, 24, QStringLiteral("About"),
                     QStringLiteral("Display the About box for Vespintide")});

    mnuMinimize = make({QStringLiteral("Minimize"), Qt::Key_Escape, -1, {}, {}});
    btReadme = make({QStringLiteral("Readme"), {}, -1, QStringLiteral("Readme"),
                     QStringLiteral("Starts Notepad and opens the Readme-file")});
    btReadme->setIcon(glyphIcon(Glyph::Readme));

    // The menu shows no picture for the entry whose image is the first of
    // the list; its tool bar button does.
    mnuNewGame->setIconVisibleInMenu(false);

    for (QAction *toggle : {mnuPause, mnuSound, mnuAutoSave, mnuViewToolbar, mnuViewStatusBar, mnuTip})
        toggle->setCheckable(true);
    mnuSound->setChecked(true);
    for (QAction *idle : {mnuUndo, mnuPause, mnuReturnToBookmark})
        idle->setEnabled(false);

    mnuGame = makeMenu(window, QStringLiteral("&Game"));
    addAll(mnuGame, {mnuNewGame, mnuSelectGame, mnuRestartGame, nullptr, mnuUndo, mnuPause, nullptr, mnuTopTen,
                     mnuStatistics, nullptr, mnuExit});
    mnuOptions = makeMenu(window, QStringLiteral("&Options"));
    addAll(mnuOptions, {mnuPreferences, nullptr, mnuPlayerName, nullptr, mnuSound, mnuAutoSave, nullptr,
                        mnuPlaceBookmark, mnuReturnToBookmark, nullptr, mnuBackgroundColor, mnuCardBack, nullptr,
                        mnuRefresh});
    mnuView = makeMenu(window, QStringLiteral("&View"));
    addAll(mnuView, {mnuViewToolbar, mnuViewStatusBar});
    mnuHelp = makeMenu(window, QStringLiteral("&Help"));
    addAll(mnuHelp, {mnuContents, mnuKeywordSearch, mnuHowtoPlay, mnuHelpOnHelp, mnuTip, nullptr, mnuAbout});

    // The help drop-down offers the same entries as the Help menu, without
    // a banner; sharing the actions keeps their checks equal.
    PopupMenuHelp = new QMenu(&window);
    PopUpContents = mnuContents;
    PopUpKeywordSearch = mnuKeywordSearch;
    PopUpHowtoPlay = mnuHowtoPlay;
    PopUpUsingHelp = mnuHelpOnHelp;
    PopUpTip = mnuTip;
    addAll(PopupMenuHelp, {PopUpContents, PopUpKeywordSearch, PopUpHowtoPlay, PopUpUsingHelp, PopUpTip});

    // The entries belong to the window: a menu opened on its own sends the
    // hint of the entry under the pointer to the entry's owner, and the
    // window shows it in the status bar.
    PopupMenuToolbar = new QMenu(&window);
    mnuPopupHide = new QAction(QStringLiteral("&Hide Toolbar"), &window);
    mnuPopupHide->setStatusTip(QStringLiteral("Hide the Vespintide Toolbar"));
    PopupMenuToolbar->addAction(mnuPopupHide);
    PopupMenuStatusBar = new QMenu(&window);
    mnuPopupHideStatusBar = new QAction(QStringLiteral("&Hide Status Bar"), &window);
    mnuPopupHideStatusBar->setStatusTip(QStringLiteral("Hide the Vespintide Status Bar"));
    PopupMenuStatusBar->addAction(mnuPopupHideStatusBar);

    Toolbar = new QToolBar(QStringLiteral("Vespintide Toolbar"), &window);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    Toolbar->setAllowedAreas(Qt::TopToolBarArea);
    Toolbar->setMovable(true);
    Toolbar->setFloatable(true);
    Toolbar->setIconSize(QSize(GlyphSize, GlyphSize));
    Toolbar->setFixedHeight(ToolbarHeight);
    Toolbar->setContentsMargins(0, 0, 0, 0);
    Toolbar->layout()->setContentsMargins(0, 0, 0, 0);
    Toolbar->layout()->setSpacing(0);
    Toolbar->setContextMenuPolicy(Qt::CustomContextMenu); // the window's own pop-up menu answers
    for (QAction *action : {mnuNewGame, mnuSelectGame, mnuRestartGame, mnuUndo, mnuPause, mnuTopTen, mnuStatistics,
                            mnuExit, static_cast<QAction *>(nullptr), mnuPreferences, mnuPlayerName, mnuPlaceBookmark,
                            mnuReturnToBookmark, mnuBackgroundColor, mnuCardBack, mnuRefresh,
                            static_cast<QAction *>(nullptr)}) {
        if (action)
            Toolbar->addAction(action);
        else
            Toolbar->addSeparator();
    }
    btHelp = new QToolButton(Toolbar);
    btHelp->setIcon(glyphIcon(Glyph::Help));
    btHelp->setToolTip(QStringLiteral("Help"));
    btHelp->setMenu(PopupMenuHelp);
    btHelp->setPopupMode(QToolButton::InstantPopup);
    btHelp->setAutoRaise(true);
    Toolbar->addWidget(btHelp);
    Toolbar->addAction(btReadme);
    Toolbar->addAction(mnuAbout);
    for (QToolButton *b : Toolbar->findChildren<QToolButton *>())
        b->setFixedSize(ButtonSize, ButtonSize);
    window.addToolBar(Qt::TopToolBarArea, Toolbar);

    StatusBar = window.statusBar();
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[3] = {450, 80, 80};
    const QString texts[3] = {QStringLiteral("Vespintide"), QStringLiteral("Time: 0"), QStringLiteral("Score: 0")};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(texts[i]);
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        StatusBar->addWidget(StatusPanels[i]);
    }
    StatusPanels[0]->setFrameShape(QFrame::NoFrame);
}

QToolButton *CommandSurface::button(QAction *action) const
{
    return qobject_cast<QToolButton *>(Toolbar->widgetForAction(action));
}

} // namespace vespin
