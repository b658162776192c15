#include "TestServices.h"
#include "interaction/TableSurface.h"
#include "shell/SingleInstance.h"
#include "shell/TfrmMain.h"
#include "game/TfrmGameSelect.h"
#include "widgets/BannerMenu.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vespin;

namespace {

// Everything the close writes to a fresh file, in its order: the start has
// written LastPlayer before.
const QByteArray GoldenCloseFile = [] {
    QByteArray golden = "[Options]\nShowTips=1\nTipNumber=0\nShowNameBox=1\n\n[TopTen]\nLastPlayer=Player 1\n";
    for (int row = 1; row <= 10; ++row)
        golden += QStringLiteral("Player%1=Player %1\nPlayer%1 Score=0\nPlayer%1 Time=9999\nPlayer%1 GameNumber=1\n")
                      .arg(row)
                      .toUtf8();
    golden += "\n[Statistics]\nGamesPlayed=0\nGamesWon=0\nTotalScore=0\nSuperPlayer=\nSuperTime=9999\nSuperDate=\n"
              "SuperGame=0\n"
              "\n[Window]\nLeftPosition=192\nTopPosition=144\nHeight=450\nMaximized=0\n";
    return golden;
}();

} // namespace

class TestFrame : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startWithoutAFileUsesEveryDefault();
    void closeWritesEverythingInItsOrder();
    void closeBeforeTheStartWritesNothing();
    void storedGeometryIsKeptOnScreen();
    void startReadsTheStoredOptions();
    void togglesWriteAtOnce_data();
    void togglesWriteAtOnce();
    void failedWriteIsReportedAndChangesNothing();
    void keysRunTheirCommands_data();
    void keysRunTheirCommands();
    void keysDoNotPassAModalDialog();
    void statusHintShowsTheLongPart();
    void hoveringShowsEveryHint_data();
    void hoveringShowsEveryHint();
    void rightClickOnTheToolbarOffersToHideIt_data();
    void rightClickOnTheToolbarOffersToHideIt();
    void floatingToolbarHasItsCaptionAndCloseButton();
    void pauseAllowsFivePerGame();
    void minimisingPausesARunningGame();
    void closeAsksOnlyWhileTheClockRuns();
    void menusCarryTheBanner();
    void toolbarHasItsButtonsInOrder();
    void secondCopyBringsTheFirstToTheFront();
    void socketLeftByACrashIsTakenOver();
    void lockLeftEmptyByACrashDoesNotBlockStarts();
    void aLockThatCannotBeMadeDoesNotBlockStarts();
    void selectGameChoosesTheNextDeal();
    void playerNameIsAskedWhenDue_data();
    void playerNameIsAskedWhenDue();

private:
    TfrmMain &start(const QByteArray &settings = {});

    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
    QList<test::ShownDialog> m_startDialogs;
};

void TestFrame::init()
{
    m_services = std::make_unique<test::TestServices>();
    // Game 67387906: no Ace lies on top of a column, so the deal moves no
    // card and the clock stays stopped until a test starts it.
    m_services->clock.millisecondsOfDay = 1;
}

void TestFrame::cleanup()
{
    m_window.reset();
    m_services.reset();
}

TfrmMain &TestFrame::start(const QByteArray &settings)
{
    if (!settings.isNull())
        m_services->writeSettings(settings);
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the window was not exposed");
    m_window->FormActivate();
    m_startDialogs = m_services->modal.takeShown();
    return *m_window;
}

void TestFrame::startWithoutAFileUsesEveryDefault()
{
    TfrmMain &w = start();
    CommandSurface &c = w.commands();
    QCOMPARE(w.frameGeometry(), QRect(192, 144, 640, 450));
    QVERIFY(c.mnuSound->isChecked() && c.mnuSound->isEnabled());
    QVERIFY(!c.mnuAutoSave->isChecked());
    QVERIFY(!w.options().Prompts && !w.options().SlowAnim);
    QVERIFY(w.options().Pause && w.options().ToolHint && w.options().TexturedToolbar);
    QCOMPARE(w.surface()->tableColour(), QColor(0, 128, 0));
    QVERIFY(c.mnuViewToolbar->isChecked() && c.Toolbar->isVisible());
    QVERIFY(c.mnuViewStatusBar->isChecked() && c.StatusBar->isVisible());
    QVERIFY(c.mnuTip->isChecked());
    QCOMPARE(w.LastPlayer, QStringLiteral("Player 1"));
    for (int row = 1; row <= 10; ++row) {
        const TopTenEntry &entry = w.topTen().rows[std::size_t(row - 1)];
        QCOMPARE(entry.name, QStringLiteral("Player %1").arg(row));
        QCOMPARE(entry.score, 0);
        QCOMPARE(entry.time, 9999);
        QCOMPARE(entry.gameNumber, 1);
    }
    QCOMPARE(w.statistics().GamesPlayed, 0);
    QCOMPARE(w.statistics().SuperTime, 9999);
    QVERIFY(w.statistics().SuperPlayer.isEmpty());
    QVERIFY(!c.mnuUndo->isEnabled() && !c.mnuReturnToBookmark->isEnabled());
    // A tip greets the player, and the default name is asked for at every start.
    QCOMPARE(m_startDialogs.size(), 2);
    QCOMPARE(m_startDialogs.at(0).className, QStringLiteral("vespin::TfrmTipOfTheDay"));
    QCOMPARE(m_startDialogs.at(1).className, QStringLiteral("vespin::TfrmPlayerName"));
    // Pause is offered once the clock runs: an Ace on top of a column has
    // gone up at the deal and started it.
    QCOMPARE(c.mnuPause->isEnabled(), w.GameTimer.isActive());

    // No wave output: the Sound entry is off and cannot be turned on.
    cleanup();
    init();
    m_services->system.audioOutputs = 0;
    TfrmMain &silent = start("[Options]\nSound=1\n");
    QVERIFY(!silent.commands().mnuSound->isChecked());
    QVERIFY(!silent.commands().mnuSound->isEnabled());
    QVERIFY(m_services->sound.played.isEmpty());

    // A narrow screen starts without tool bar and status bar.
    cleanup();
    init();
    m_services->system.screen = QSize(640, 480);
    TfrmMain &narrow = start();
    QVERIFY(!narrow.commands().mnuViewToolbar->isChecked() && narrow.commands().Toolbar->isHidden());
    QVERIFY(!narrow.commands().mnuViewStatusBar->isChecked() && narrow.commands().StatusBar->isHidden());
    QCOMPARE(narrow.table().TableTop, 0);
}

void TestFrame::closeWritesEverythingInItsOrder()
{
    start();
    QCOMPARE(m_services->readSettings(),
             QByteArray("[Options]\nShowTips=1\nTipNumber=0\nShowNameBox=1\n\n[TopTen]\nLastPlayer=Player 1\n"));
    QVERIFY(m_window->close());
    QCOMPARE(m_services->readSettings(), GoldenCloseFile);
}

void TestFrame::closeBeforeTheStartWritesNothing()
{
    m_services->writeSettings("[Statistics]\nGamesPlayed=12\n");
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    QVERIFY(m_window->close());
    QCOMPARE(m_services->readSettings(), QByteArray("[Statistics]\nGamesPlayed=12\n"));
}

void TestFrame::storedGeometryIsKeptOnScreen()
{
    TfrmMain &w = start("[Window]\nLeftPosition=700\nTopPosition=-5\nHeight=600\n");
    QCOMPARE(w.frameGeometry(), QRect(192, 144, 640, 450));
    cleanup();
    init();
    TfrmMain &kept = start("[Window]\nLeftPosition=10\nTopPosition=20\nHeight=520\n");
    QCOMPARE(kept.frameGeometry(), QRect(10, 20, 640, 520));
}

void TestFrame::startReadsTheStoredOptions()
{
    TfrmMain &w = start("[Options]\nSound=0\nAutoSave=1\nSlowAnim=1\nCardBack=4\nPause=0\nPrompts=1\n"
                        "BackGroundColor=8\nToolHint=0\nTextured Toolbar=0\nToolBar=0\nStatusBar=0\nShowTips=0\n"
                        "[TopTen]\nLastPlayer=Ann\nPlayer3=Bob\nPlayer3 Score=40\n"
                        "[Statistics]\nGamesPlayed=7\nSuperPlayer=Cy\nSuperTime=120\n");
    CommandSurface &c = w.commands();
    QVERIFY(!c.mnuSound->isChecked());
    QVERIFY(c.mnuAutoSave->isChecked());
    QVERIFY(w.options().SlowAnim && w.options().Prompts && !w.options().Pause);
    QCOMPARE(w.options().CardBack, 4);
    QVERIFY(!w.options().ToolHint && !w.options().TexturedToolbar);
    QCOMPARE(w.surface()->tableColour(), QColor(0, 0, 128));
    QVERIFY(c.Toolbar->isHidden() && !c.mnuViewToolbar->isChecked());
    QVERIFY(c.StatusBar->isHidden() && !c.mnuViewStatusBar->isChecked());
    QCOMPARE(w.table().TableTop, 0);
    QVERIFY(!c.mnuTip->isChecked());
    QCOMPARE(w.LastPlayer, QStringLiteral("Ann"));
    QCOMPARE(w.topTen().rows[2].name, QStringLiteral("Bob"));
    QCOMPARE(w.topTen().rows[2].score, 40);
    QCOMPARE(w.statistics().GamesPlayed, 7);
    QCOMPARE(w.statistics().SuperTime, 120);
    QVERIFY(m_services->sound.played.isEmpty()); // sound is off
    // The banner takes the table colour at every deal.
    QCOMPARE(BannerMenu::bannerBackground(), QColor(0, 0, 128));
}

void TestFrame::togglesWriteAtOnce_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("sound") << "mnuSound" << QByteArray("Sound=0");
    QTest::newRow("auto save") << "mnuAutoSave" << QByteArray("AutoSave=1");
    QTest::newRow("tip of the day") << "mnuTip" << QByteArray("ShowTips=0");
    QTest::newRow("status bar") << "mnuViewStatusBar" << QByteArray("StatusBar=0");
    QTest::newRow("tool bar") << "mnuViewToolbar" << QByteArray("ToolBar=0");
}

void TestFrame::togglesWriteAtOnce()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, written);
    TfrmMain &w = start();
    CommandSurface &c = w.commands();
    const std::map<QString, QAction *> actions{{"mnuSound", c.mnuSound},
                                               {"mnuAutoSave", c.mnuAutoSave},
                                               {"mnuTip", c.mnuTip},
                                               {"mnuViewStatusBar", c.mnuViewStatusBar},
                                               {"mnuViewToolbar", c.mnuViewToolbar}};
    QAction *action = actions.at(command);
    const bool before = action->isChecked();
    action->trigger();
    QCOMPARE(action->isChecked(), !before);
    QVERIFY2(m_services->readSettings().contains("\n" + written + "\n"), m_services->readSettings());
    action->trigger();
    QCOMPARE(action->isChecked(), before);
    QVERIFY(!m_services->readSettings().contains(written));
}

void TestFrame::failedWriteIsReportedAndChangesNothing()
{
    TfrmMain &w = start();
    const QByteArray before = m_services->readSettings();
    // The file's place is taken by a directory's worth of nothing writable.
    QFile::remove(m_services->settingsFile());
    QVERIFY(QDir().mkpath(m_services->settingsFile()));
    w.commands().mnuSound->trigger();
    QCOMPARE(m_services->modal.shown().size(), 1);
    QCOMPARE(m_services->modal.shown().last().text,
             QStringLiteral("Unable to write to %1").arg(m_services->settingsFile()));
    QVERIFY(QFileInfo(m_services->settingsFile()).isDir());
    Q_UNUSED(before);
}

void TestFrame::keysRunTheirCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("command");
    QTest::newRow("U") << int(Qt::Key_U) << "mnuUndo";
    QTest::newRow("T") << int(Qt::Key_T) << "mnuTopTen";
    QTest::newRow("S") << int(Qt::Key_S) << "mnuStatistics";
    QTest::newRow("P") << int(Qt::Key_P) << "mnuPreferences";
    QTest::newRow("N") << int(Qt::Key_N) << "mnuPlayerName";
    QTest::newRow("M") << int(Qt::Key_M) << "mnuPlaceBookmark";
    QTest::newRow("R") << int(Qt::Key_R) << "mnuReturnToBookmark";
    QTest::newRow("C") << int(Qt::Key_C) << "mnuBackgroundColor";
    QTest::newRow("B") << int(Qt::Key_B) << "mnuCardBack";
    QTest::newRow("F1") << int(Qt::Key_F1) << "mnuContents";
    QTest::newRow("F2") << int(Qt::Key_F2) << "mnuNewGame";
    QTest::newRow("F3") << int(Qt::Key_F3) << "mnuSelectGame";
    QTest::newRow("F4") << int(Qt::Key_F4) << "mnuRestartGame";
    QTest::newRow("F5") << int(Qt::Key_F5) << "mnuPause";
    QTest::newRow("F12") << int(Qt::Key_F12) << "mnuRefresh";
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "mnuMinimize";
}

namespace {

QAction *commandNamed(CommandSurface &c, const QString &name)
{
    const std::map<QString, QAction *> all{
        {"mnuUndo", c.mnuUndo},           {"mnuTopTen", c.mnuTopTen},
        {"mnuStatistics", c.mnuStatistics}, {"mnuPreferences", c.mnuPreferences},
        {"mnuPlayerName", c.mnuPlayerName}, {"mnuPlaceBookmark", c.mnuPlaceBookmark},
        {"mnuReturnToBookmark", c.mnuReturnToBookmark}, {"mnuBackgroundColor", c.mnuBackgroundColor},
        {"mnuCardBack", c.mnuCardBack},   {"mnuContents", c.mnuContents},
        {"mnuNewGame", c.mnuNewGame},     {"mnuSelectGame", c.mnuSelectGame},
        {"mnuRestartGame", c.mnuRestartGame}, {"mnuPause", c.mnuPause},
        {"mnuRefresh", c.mnuRefresh},     {"mnuMinimize", c.mnuMinimize}};
    return all.at(name);
}

} // namespace

void TestFrame::keysRunTheirCommands()
{
    QFETCH(int, key);
    QFETCH(QString, command);
    TfrmMain &w = start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QAction *action = commandNamed(w.commands(), command);
    action->setEnabled(true); // some start disabled
    QSignalSpy spy(action, &QAction::triggered);
    QTest::keyClick(&w, Qt::Key(key));
    QCOMPARE(spy.size(), 1);
}

void TestFrame::keysDoNotPassAModalDialog()
{
    TfrmMain &w = start();
    QDialog dialog(&w);
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy newGame(w.commands().mnuNewGame, &QAction::triggered);
    QSignalSpy topTen(w.commands().mnuTopTen, &QAction::triggered);
    QTest::keyClick(&dialog, Qt::Key_F2);
    QTest::keyClick(&dialog, Qt::Key_T);
    QCOMPARE(newGame.size() + topTen.size(), 0);
}

void TestFrame::statusHintShowsTheLongPart()
{
    TfrmMain &w = start();
    QLabel *panel = w.commands().StatusPanels[0];
    QStatusTipEvent hint(QStringLiteral("Starts a new game"));
    QApplication::sendEvent(&w, &hint);
    QCOMPARE(panel->text(), QStringLiteral("Starts a new game"));
    QStatusTipEvent twoPart(QStringLiteral("New Game|Starts a new game"));
    QApplication::sendEvent(&w, &twoPart);
    QCOMPARE(panel->text(), QStringLiteral("Starts a new game"));
    QStatusTipEvent cleared{QString()};
    QApplication::sendEvent(&w, &cleared);
    QCOMPARE(panel->text(), QStringLiteral("Vespintide"));
    w.commands().mnuPause->setChecked(true);
    QApplication::sendEvent(&w, &cleared);
    QCOMPARE(panel->text(), QStringLiteral("Vespintide - Pause, press <F5> to continue..."));
    // The other panels stay where they are while a hint shows.
    QVERIFY(w.commands().StatusPanels[1]->isVisible());
}

void TestFrame::hoveringShowsEveryHint_data()
{
    QTest::addColumn<QString>("menu"); // the menu's title, or "toolbar"
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("hint");
    const QList<std::pair<QString, QList<std::pair<QString, QString>>>> menus = {
        {QStringLiteral("&Game"),
         {{"&New Game", "Starts a new game"}, {"Select &Game...", "Manually select a new game"},
          {"&Restart Game", "Restarts current game"}, {"&Undo", "Undo last move"}, {"P&ause", "Pause the game"},
          {"&Top Ten...", "Display the Vespintide Hall of Fame"},
          {"&Statistics...", "Display the Statistics dialog box"}, {"E&xit", "Exit Vespintide"}}},
        {QStringLiteral("&Options"),
         {{"&Preferences...", "Display the Vespintide Preferences dialog box"},
          {"Player &Name...", "Display the Player Name dialog box, so that you can change Player Name"},
          {"So&und", "Turn on or off the Vespintide sound effects"}, {"&Auto Save", "Turn on or off the Autosave option"},
          {"Place Book&mark", "Save game in current position"},
          {"&Return to Bookmark", "Restore game from previously saved Bookmark Position"},
          {"Background &Color...", "Display the Preferences dialog box and let you choose Background Color"},
          {"Card &Back...", "Display the Preferences dialog box and let you choose Card Back"},
          {"Refresh &Screen", "Refresh the main game window"}}},
        {QStringLiteral("&View"),
         {{"&Toolbar", "Show or hide the Toolbar"}, {"&Status Bar", "Show or hide the Status Bar"}}},
        {QStringLiteral("&Help"),
         {{"&Contents", "Opens the Helpfile for Vespintide"},
          {"&Keyword Search", "Displays the Index tab in Vespintides Help system"},
          {"&How to Play", "How to play Vespintide"}, {"&Using Help", "Information about the Windows Help System"},
          {"&Tip of the Day", "Show Tip of the day dialog box at startup?"},
          {"&About...", "Display the About box for Vespintide"}}},
        {QStringLiteral("help drop-down"),
         {{"&Contents", "Opens the Helpfile for Vespintide"},
          {"&Tip of the Day", "Show Tip of the day dialog box at startup?"}}},
        {QStringLiteral("tool bar pop-up"), {{"&Hide Toolbar", "Hide the Vespintide Toolbar"}}},
        {QStringLiteral("status bar pop-up"), {{"&Hide Status Bar", "Hide the Vespintide Status Bar"}}},
        {QStringLiteral("toolbar"),
         {{"New Game", "Starts a new game"}, {"Select Game", "Manually select a new game"},
          {"Top Ten", "Display the Vespintide Hall of Fame"}, {"Exit", "Exit Vespintide"},
          {"Player Name", "Display the Player Name dialog box, so that you can change Player Name"},
          {"Select Cardback", "Display the Preferences dialog box and let you choose Card Back"},
          {"Readme", "Starts Notepad and opens the Readme-file"}, {"About", "Display the About box for Vespintide"}}},
    };
    for (const auto &[menu, entries] : menus) {
        for (const auto &[entry, hint] : entries)
            QTest::addRow("%s: %s", qPrintable(menu), qPrintable(entry)) << menu << entry << hint;
    }
}

// A real hover: the pointer on the entry or the button, the hint in the
// first panel, and the product name back once the menu has closed.
void TestFrame::hoveringShowsEveryHint()
{
    QFETCH(QString, menu);
    QFETCH(QString, entry);
    QFETCH(QString, hint);
    TfrmMain &w = start("[Options]\nShowTips=0\nShowNameBox=0\n[TopTen]\nLastPlayer=Ann\n");
    CommandSurface &c = w.commands();
    QLabel *panel = c.StatusPanels[0];
    if (menu == QLatin1String("toolbar")) {
        QToolButton *button = nullptr;
        for (QAction *action : c.Toolbar->actions()) {
            if (action->toolTip() == entry)
                button = c.button(action);
        }
        QVERIFY(button);
        QTest::mouseMove(button, button->rect().center());
        QTRY_COMPARE(panel->text(), hint);
        QTest::mouseMove(w.surface(), QPoint(300, 300));
        QTRY_COMPARE(panel->text(), QStringLiteral("Vespintide"));
        return;
    }
    QMenu *shown = nullptr;
    if (menu == QLatin1String("help drop-down"))
        shown = c.PopupMenuHelp;
    else if (menu == QLatin1String("tool bar pop-up"))
        shown = c.PopupMenuToolbar;
    else if (menu == QLatin1String("status bar pop-up"))
        shown = c.PopupMenuStatusBar;
    for (QMenu *bar : {c.mnuGame, c.mnuOptions, c.mnuView, c.mnuHelp}) {
        if (bar->title() == menu)
            shown = bar;
    }
    QVERIFY(shown);
    // Away first: a move to where the pointer already is moves nothing.
    QTest::mouseMove(w.surface(), QPoint(300, 300));
    shown->popup(w.mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QAction *action = nullptr;
    for (QAction *candidate : shown->actions()) {
        if (candidate->text() == entry)
            action = candidate;
    }
    QVERIFY(action);
    QTest::mouseMove(shown, shown->actionGeometry(action).center());
    QTRY_COMPARE(panel->text(), hint);
    shown->hide();
    QTRY_COMPARE(panel->text(), QStringLiteral("Vespintide"));
}

void TestFrame::rightClickOnTheToolbarOffersToHideIt_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("a button") << QStringLiteral("button");
    QTest::newRow("the bar beside the buttons") << QStringLiteral("bar");
}

void TestFrame::rightClickOnTheToolbarOffersToHideIt()
{
    QFETCH(QString, where);
    TfrmMain &w = start("[Options]\nShowTips=0\nShowNameBox=0\n[TopTen]\nLastPlayer=Ann\n");
    CommandSurface &c = w.commands();
    QWidget *target = c.Toolbar;
    QPoint at(c.Toolbar->width() - 5, c.Toolbar->height() / 2);
    if (where == QLatin1String("button")) {
        target = c.button(c.mnuNewGame);
        at = target->rect().center();
    }
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &click);
    QTRY_VERIFY(c.PopupMenuToolbar->isVisible());
    // Only the program's own menu: no menu of the toolkit's tool bars.
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *other = qobject_cast<QMenu *>(top); other && other != c.PopupMenuToolbar)
            QVERIFY(!other->isVisible());
    }
    QVERIFY(!w.createPopupMenu());
    c.mnuPopupHide->trigger();
    QVERIFY(c.Toolbar->isHidden());
    QVERIFY(!c.mnuViewToolbar->isChecked());
    QCOMPARE(w.table().TableTop, 0);
}

void TestFrame::floatingToolbarHasItsCaptionAndCloseButton()
{
    TfrmMain &w = start("[Options]\nShowTips=0\nShowNameBox=0\n[TopTen]\nLastPlayer=Ann\n");
    CommandSurface &c = w.commands();
    // Floated as the toolkit floats it, frameless, by a drag of its handle.
    w.removeToolBar(c.Toolbar);
    c.Toolbar->setParent(&w, Qt::Tool | Qt::FramelessWindowHint);
    c.Toolbar->show();
    QVERIFY(c.Toolbar->isFloating());
    QTest::mouseRelease(c.Toolbar, Qt::LeftButton, {}, QPoint(3, 10));
    QTRY_VERIFY(c.Toolbar->windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(c.Toolbar->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!c.Toolbar->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(c.Toolbar->isVisible());
    QCOMPARE(c.Toolbar->windowTitle(), QStringLiteral("Vespintide Toolbar"));

    // Its close button is View > Toolbar.
    QVERIFY(!c.Toolbar->close());
    QVERIFY(c.Toolbar->isHidden());
    QVERIFY(!c.mnuViewToolbar->isChecked());
    QVERIFY(m_services->readSettings().contains("\nToolBar=0"));
}

void TestFrame::pauseAllowsFivePerGame()
{
    TfrmMain &w = start();
    CommandSurface &c = w.commands();
    w.GameTimer.start();
    c.mnuPause->setEnabled(true);
    for (int i = 1; i <= 5; ++i) {
        c.mnuPause->trigger();
        QVERIFY(c.mnuPause->isChecked());
        QVERIFY(!w.GameTimer.isActive());
        QCOMPARE(c.StatusPanels[0]->text(), QStringLiteral("Vespintide - Pause, press <F5> to continue..."));
        c.mnuPause->trigger();
        QVERIFY(!c.mnuPause->isChecked());
        QVERIFY(w.GameTimer.isActive());
        QCOMPARE(c.StatusPanels[0]->text(), QStringLiteral("Vespintide"));
    }
    QCOMPARE(w.table().PauseCount, 5);
    c.mnuPause->trigger();
    QCOMPARE(m_services->modal.shown().size(), 1);
    QVERIFY(m_services->modal.shown().last().text.startsWith(QStringLiteral("You have reached the limit of 5 Pauses")));
    QVERIFY(!c.mnuPause->isEnabled() && w.table().PauseDisabled);
    QVERIFY(w.GameTimer.isActive());

    c.mnuNewGame->trigger();
    QCOMPARE(w.table().PauseCount, 0);
    QVERIFY(!w.table().PauseDisabled);
}

void TestFrame::minimisingPausesARunningGame()
{
    TfrmMain &w = start();
    w.GameTimer.start();
    w.commands().mnuMinimize->trigger();
    QVERIFY(w.commands().mnuPause->isChecked());
    QVERIFY(!w.GameTimer.isActive());
    QVERIFY(w.table().UserInterrupt);
    QVERIFY(w.isMinimized());
    // Restoring does not resume: F5 does.
    w.showNormal();
    QVERIFY(w.commands().mnuPause->isChecked());
    QCOMPARE(w.table().PauseCount, 1);
}

void TestFrame::closeAsksOnlyWhileTheClockRuns()
{
    TfrmMain &w = start("[Options]\nPrompts=1\n");
    QVERIFY(!w.GameTimer.isActive());
    w.GameTimer.start();
    m_services->modal.press(QMessageBox::No);
    QVERIFY(!w.close());
    QCOMPARE(m_services->modal.shown().last().text, QStringLiteral("Are you sure you want to quit Vespintide?"));
    QVERIFY(w.table().UserInterrupt);
    QVERIFY(!m_services->readSettings().contains("[Statistics]"));
    m_services->modal.press(QMessageBox::Yes);
    QVERIFY(w.close());
    QVERIFY(m_services->readSettings().contains("[Statistics]"));

    // Paused, or before the first move, it closes without asking.
    cleanup();
    init();
    TfrmMain &idle = start("[Options]\nPrompts=1\n");
    QVERIFY(idle.close());
    QVERIFY(m_services->modal.shown().isEmpty());
}

void TestFrame::menusCarryTheBanner()
{
    TfrmMain &w = start();
    CommandSurface &c = w.commands();
    for (QMenu *menu : {c.mnuGame, c.mnuOptions, c.mnuView, c.mnuHelp}) {
        QVERIFY(qobject_cast<BannerMenu *>(menu));
        QCOMPARE(menu->menuAction()->statusTip(), QStringLiteral("Press ESC key to exit menu mode"));
    }
    QVERIFY(!qobject_cast<BannerMenu *>(c.PopupMenuHelp));
    QCOMPARE(w.menuBar()->actions().size(), 4);
    // Separators where the command table has them.
    auto shape = [](QMenu *menu) {
        QString s;
        for (QAction *a : menu->actions())
            s += a->isSeparator() ? QLatin1Char('|') : QLatin1Char('x');
        return s;
    };
    QCOMPARE(shape(c.mnuGame), QStringLiteral("xxx|xx|xx|x"));
    QCOMPARE(shape(c.mnuOptions), QStringLiteral("x|x|xx|xx|xx|x"));
    QCOMPARE(shape(c.mnuView), QStringLiteral("xx"));
    QCOMPARE(shape(c.mnuHelp), QStringLiteral("xxxxx|x"));
    QVERIFY(!c.mnuNewGame->isIconVisibleInMenu());
    QVERIFY(!c.mnuSelectGame->icon().isNull());
}

void TestFrame::toolbarHasItsButtonsInOrder()
{
    TfrmMain &w = start();
    CommandSurface &c = w.commands();
    QStringList tips;
    for (QAction *action : c.Toolbar->actions()) {
        if (action->isSeparator()) {
            tips << QStringLiteral("|");
            continue;
        }
        QWidget *button = c.Toolbar->widgetForAction(action);
        QCOMPARE(button->size(), QSize(22, 22));
        tips << (button == c.btHelp ? c.btHelp->toolTip() : action->toolTip());
    }
    QCOMPARE(tips, QStringList({"New Game", "Select Game", "Restart Game", "Undo", "Pause", "Top Ten", "Statistics",
                                "Exit", "|", "Preferences", "Player Name", "Place Bookmark", "Return to Bookmark",
                                "Select Background Color", "Select Cardback", "Refresh Screen", "|", "Help", "Readme",
                                "About"}));
    QCOMPARE(c.Toolbar->height(), 26);
    QCOMPARE(c.Toolbar->windowTitle(), QStringLiteral("Vespintide Toolbar"));
    QCOMPARE(c.btHelp->popupMode(), QToolButton::InstantPopup);
    QCOMPARE(c.btHelp->menu(), c.PopupMenuHelp);
}

void TestFrame::secondCopyBringsTheFirstToTheFront()
{
    SingleInstance first(QStringLiteral("Vespin Window test"));
    QVERIFY(first.becomePrimary());
    SingleInstance second(QStringLiteral("Vespin Window test"));
    QVERIFY(!second.becomePrimary());
    QSignalSpy restore(&first, &SingleInstance::restoreRequested);
    second.askPrimaryToRestore();
    QVERIFY(restore.wait(2000));
}

// A socket left by a copy that crashed is taken over; a client that sends
// something else, or too much, is let go without a restore.
void TestFrame::socketLeftByACrashIsTakenOver()
{
    SingleInstance probe(QStringLiteral("Vespin Window stale socket test"));
    const QByteArray path = QFile::encodeName(probe.socketPath());
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
        ::close(fd); // the file stays, with nobody listening
    }
    QVERIFY(QFileInfo::exists(probe.socketPath()));

    SingleInstance first(QStringLiteral("Vespin Window stale socket test"));
    QVERIFY(first.becomePrimary());
    QCOMPARE(QFileInfo(first.socketPath()).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup
                                                            | QFile::WriteGroup),
             QFileDevice::Permissions());
    QSignalSpy restore(&first, &SingleInstance::restoreRequested);
    for (const QByteArray &message : {QByteArray("hello\n"), QByteArray(4096, 'x')}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        QCOMPARE(::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
        QCOMPARE(::write(fd, message.constData(), std::size_t(message.size())), message.size());
        ::close(fd);
    }
    QTest::qWait(100);
    QCOMPARE(restore.count(), 0);
    SingleInstance second(QStringLiteral("Vespin Window stale socket test"));
    QVERIFY(!second.becomePrimary());
    second.askPrimaryToRestore();
    QVERIFY(restore.wait(2000));
}

// A lock file left behind by a copy that crashed, even an empty one, must
// not block the next start, while a live copy's lock keeps holding however
// old it is.
void TestFrame::lockLeftEmptyByACrashDoesNotBlockStarts()
{
    const QString name = QStringLiteral("Vespin Window empty lock test");
    {
        SingleInstance probe(name);
        QFile left(probe.lockPath());
        QVERIFY(left.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(left.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
    }
    SingleInstance first(name);
    QVERIFY(first.becomePrimary());
    QFile held(first.lockPath());
    QVERIFY(held.open(QIODevice::ReadWrite));
    QVERIFY(held.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    SingleInstance second(name);
    QVERIFY(!second.becomePrimary());
}

// Where no lock can be made, the game starts all the same: it then cannot
// find other copies, but a start that silently ends would be worse.
void TestFrame::aLockThatCannotBeMadeDoesNotBlockStarts()
{
    SingleInstance first(QStringLiteral("Vespin Window unusable lock test"));
    // A folder where the lock file would go.
    QVERIFY(QDir().mkpath(first.lockPath()));
    const auto removeFolder = qScopeGuard([&] { QDir().rmdir(first.lockPath()); });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot lock .*unusable lock test")));
    QVERIFY(first.becomePrimary());
}

void TestFrame::selectGameChoosesTheNextDeal()
{
    TfrmMain &w = start("[Options]\nPrompts=1\n");
    const std::int32_t current = w.table().GameNumber;
    auto choose = [this](const QString &text) {
        m_services->modal.answerWith([text](QDialog &dialog) {
            auto &select = static_cast<TfrmGameSelect &>(dialog);
            select.edGameNumber->setText(text);
            select.btOK->click();
            return dialog.result();
        });
    };
    const auto dealt = w.table().Tableau;
    // Chosen, but the player keeps the game on the table: it keeps its
    // number, and nothing chosen waits for a later deal.
    choose(QStringLiteral("4711"));
    m_services->modal.press(QMessageBox::No);
    w.commands().mnuSelectGame->trigger();
    QCOMPARE(m_services->modal.shown().last().text, QStringLiteral("Sure you want to quit current game?"));
    QCOMPARE(w.table().GameNumber, current);
    QVERIFY(w.windowTitle().contains(QStringLiteral("Game Number: %1").arg(current)));
    // Restart deals the game the caption names, card for card.
    m_services->modal.press(QMessageBox::Yes);
    w.commands().mnuRestartGame->trigger();
    QCOMPARE(w.table().GameNumber, current);
    QVERIFY(w.table().Tableau == dealt);
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Vespintide (Game Number: %1)").arg(current)));
    // Chosen and confirmed, the chosen game is dealt.
    choose(QStringLiteral("4711"));
    m_services->modal.press(QMessageBox::Yes);
    w.commands().mnuSelectGame->trigger();
    QCOMPARE(w.table().GameNumber, 4711);
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Vespintide (Game Number: 4711)")));

    // Cancel deals nothing.
    const auto deck = w.table().Deck;
    m_services->modal.answerWith([](QDialog &dialog) {
        static_cast<TfrmGameSelect &>(dialog).btCancel->click();
        return dialog.result();
    });
    w.commands().mnuSelectGame->trigger();
    QCOMPARE(w.table().Deck, deck);
    QCOMPARE(w.table().GameNumber, 4711);
}

void TestFrame::playerNameIsAskedWhenDue_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("asked");
    QTest::newRow("no file") << QByteArray() << true;
    QTest::newRow("Anna, box off") << QByteArray("[TopTen]\nLastPlayer=Anna\n[Options]\nShowNameBox=0\n") << false;
    QTest::newRow("Anna, box on") << QByteArray("[TopTen]\nLastPlayer=Anna\n[Options]\nShowNameBox=1\n") << true;
    QTest::newRow("the default name, box off")
        << QByteArray("[TopTen]\nLastPlayer=Player 1\n[Options]\nShowNameBox=0\n") << true;
    QTest::newRow("an empty name, box off") << QByteArray("[TopTen]\nLastPlayer=\n[Options]\nShowNameBox=0\n") << true;
    QTest::newRow("another case of the default name")
        << QByteArray("[TopTen]\nLastPlayer=player 1\n[Options]\nShowNameBox=0\n") << false;
}

void TestFrame::playerNameIsAskedWhenDue()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, asked);
    start(stored);
    const bool shown = std::any_of(m_startDialogs.begin(), m_startDialogs.end(), [](const test::ShownDialog &d) {
        return d.className == QLatin1String("vespin::TfrmPlayerName");
    });
    QCOMPARE(shown, asked);
    // The name is stored as it stands, asked or not.
    QVERIFY(m_services->readSettings().contains("LastPlayer="));
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
