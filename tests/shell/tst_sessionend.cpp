#include "TablePositions.h"
#include "TestServices.h"
#include "game/Invariants.h"
#include "persistence/SettingsFile.h"
#include "persistence/SettingsKeys.h"
#include "shell/TerminationSignals.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>

using namespace vespin;
using namespace vespin::test;

namespace {

// A start that asks nothing, with Auto Save on.
QByteArray quiet(const QByteArray &moreOptions = {})
{
    return "[Options]\nAutoSave=1\nShowTips=0\nShowNameBox=0\n" + moreOptions + "[TopTen]\nLastPlayer=Anna\n";
}

QAction *command(CommandSurface &c, const QString &name)
{
    const std::pair<const char *, QAction *> actions[] = {
        {"mnuNewGame", c.mnuNewGame},         {"mnuSelectGame", c.mnuSelectGame},
        {"mnuStatistics", c.mnuStatistics},   {"mnuTopTen", c.mnuTopTen},
        {"mnuPreferences", c.mnuPreferences}, {"mnuPlayerName", c.mnuPlayerName},
    };
    for (const auto &[actionName, action] : actions) {
        if (name == QLatin1String(actionName))
            return action;
    }
    return nullptr;
}

} // namespace

class TestSessionEnd : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void signalsEndTheSessionAsACloseDoes_data();
    void signalsEndTheSessionAsACloseDoes();
    void aSessionEndClosesTheOpenDialog_data();
    void aSessionEndClosesTheOpenDialog();
    void aSessionEndPutsADraggedCardBack_data();
    void aSessionEndPutsADraggedCardBack();
    void anEndBeforeTheStartUpWritesNothing();
    void anEndUnderAStartUpDialogKeepsWhatWasNotRead();

private:
    TfrmMain &start(const QByteArray &settings = quiet());
    // The saved game in the file is the table as it is now, card for card.
    void verifySavedIsTheTable();

    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
};

void TestSessionEnd::init()
{
    m_services = std::make_unique<TestServices>();
    m_services->clock.millisecondsOfDay = 1; // game 67387906: the deal moves no card
}

void TestSessionEnd::cleanup()
{
    m_window.reset();
    m_services.reset();
}

TfrmMain &TestSessionEnd::start(const QByteArray &settings)
{
    m_services->writeSettings(settings);
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("not exposed");
    m_window->FormActivate();
    m_services->modal.takeShown();
    return *m_window;
}

void TestSessionEnd::verifySavedIsTheTable()
{
    const TableModel &t = m_window->table();
    const SettingsFile file(m_services->settingsFile());
    QVERIFY(read(file, keys::GameSaved));
    QCOMPARE(read(file, keys::SavedGameNumber), t.GameNumber);
    for (int c = 1; c <= 8; ++c) {
        QCOMPARE(read(file, keys::SavedTableauCounter(c)), t.TableauCounter[c]);
        for (int r = 1; r <= t.TableauCounter[c]; ++r)
            QCOMPARE(read(file, keys::SavedTableau(c, r)), t.Tableau[c][r]);
    }
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        QCOMPARE(read(file, keys::SavedFoundationCounter(f)), t.FoundationCounter[f]);
}

void TestSessionEnd::signalsEndTheSessionAsACloseDoes_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestSessionEnd::signalsEndTheSessionAsACloseDoes()
{
    QFETCH(int, signal);
    TfrmMain &w = start(quiet("Prompts=1\n"));
    TerminationSignals terminations;
    connect(&terminations, &TerminationSignals::received, &w, &TfrmMain::endSession);
    QSignalSpy ended(&w, &TfrmMain::sessionEnded);
    // A game under way, with the clock running: a close would ask first.
    w.GameTimer.start();
    w.table().GameTime = 42;
    w.LastPlayer = QStringLiteral("Carl");

    // A second signal during the close changes nothing.
    QVERIFY(::raise(signal) == 0);
    QVERIFY(::raise(signal) == 0);
    QTRY_COMPARE(ended.count(), 1);
    QTest::qWait(20);
    QCOMPARE(ended.count(), 1);
    QVERIFY(m_services->modal.shown().isEmpty());

    const SettingsFile file(m_services->settingsFile());
    verifySavedIsTheTable();
    QCOMPARE(read(file, keys::SavedTime), 42);
    QCOMPARE(read(file, keys::LastPlayer), QStringLiteral("Carl"));
    QCOMPARE(read(file, keys::Height), w.frameGeometry().height());
}

void TestSessionEnd::aSessionEndClosesTheOpenDialog_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("the quit question of a deal") << QStringLiteral("mnuNewGame") << QStringLiteral("QMessageBox");
    QTest::newRow("Select Game") << QStringLiteral("mnuSelectGame") << QStringLiteral("vespin::TfrmGameSelect");
    QTest::newRow("Statistics") << QStringLiteral("mnuStatistics") << QStringLiteral("vespin::TfrmStatistics");
    QTest::newRow("Top Ten") << QStringLiteral("mnuTopTen") << QStringLiteral("vespin::TfrmTopten");
    QTest::newRow("Preferences") << QStringLiteral("mnuPreferences") << QStringLiteral("vespin::TfrmPreferences");
    QTest::newRow("Player Name") << QStringLiteral("mnuPlayerName") << QStringLiteral("vespin::TfrmPlayerName");
}

void TestSessionEnd::aSessionEndClosesTheOpenDialog()
{
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    TfrmMain &w = start(quiet("Prompts=1\n"));
    QSignalSpy ended(&w, &TfrmMain::sessionEnded);
    const auto tableau = w.table().Tableau;
    const auto counters = w.table().TableauCounter;
    // The session ends while the dialog waits for its answer; what the
    // dialog shows is then given up.
    m_services->modal.answerWith([&](QDialog &shown) {
        w.endSession();
        return shown.result();
    });
    CommandSurface &c = w.commands();
    QAction *action = ::command(c, command);
    QVERIFY(action);
    action->trigger();

    QCOMPARE(ended.count(), 1);
    // Only the one dialog was shown; nothing was dealt after it.
    QCOMPARE(m_services->modal.shown().size(), 1);
    QCOMPARE(m_services->modal.shown().first().className, dialog);
    QCOMPARE(w.table().TableauCounter, counters);
    QVERIFY(w.table().Tableau == tableau);
    verifySavedIsTheTable();
    // Commands find the program ending and do nothing.
    c.mnuNewGame->trigger();
    QCOMPARE(w.table().TableauCounter, counters);
    QCOMPARE(m_services->modal.shown().size(), 1);
}

void TestSessionEnd::aSessionEndPutsADraggedCardBack_data()
{
    QTest::addColumn<bool>("block");
    QTest::newRow("a single card") << false;
    QTest::newRow("a block") << true;
}

void TestSessionEnd::aSessionEndPutsADraggedCardBack()
{
    QFETCH(bool, block);
    TfrmMain &w = start();
    // Column 1: the 9 and 8 of clubs, a block; column 2 ends in the 10 of clubs.
    lay(w, {{{hearts(4), clubs(9), clubs(8)}, {spades(2), clubs(10)}, {}, {}, {}, {}, {}, {}}});
    const int grabbed = block ? clubs(9) : clubs(8);
    const QPoint from = corner(w, grabbed);
    QSignalSpy ended(&w, &TfrmMain::sessionEnded);

    press(w, Qt::LeftButton, from + QPoint(20, 5));
    moveTo(w, from + QPoint(60, 40));
    moveTo(w, from + QPoint(120, 60));
    QVERIFY(w.play().SingleDragging || w.play().BlockDragging);
    w.endSession();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!w.play().SingleDragging && !w.play().BlockDragging);
    QCOMPARE(corner(w, grabbed), from);
    QCOMPARE(w.cards().GetUser4(clubs(8)), 1);
    QCOMPARE(w.cards().GetUser3(clubs(8)), 3);
    verifySavedIsTheTable();
    // The release that follows moves nothing.
    release(w, Qt::LeftButton, from + QPoint(120, 60));
    QCOMPARE(corner(w, grabbed), from);
    QCOMPARE(w.table().TableauCounter[1], 3);
}

void TestSessionEnd::anEndBeforeTheStartUpWritesNothing()
{
    m_services->writeSettings(quiet());
    TfrmMain w(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    QSignalSpy ended(&w, &TfrmMain::sessionEnded);
    w.endSession();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!w.hasStarted());
    QCOMPARE(m_services->readSettings(), quiet());
    QCOMPARE(filesUnder(m_services->settings.root()).size(), 1);
}

void TestSessionEnd::anEndUnderAStartUpDialogKeepsWhatWasNotRead()
{
    // The tip shows before the player's name and the Top Ten are read: they
    // must come through the close as they were.
    m_services->writeSettings(
        "[Options]\nAutoSave=1\nShowTips=1\nShowNameBox=1\n"
        "[TopTen]\nLastPlayer=Anna\nPlayer1=Bea\nPlayer1 Score=40\nPlayer1 Time=300\nPlayer1 GameNumber=12\n");
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    TfrmMain &w = *m_window;
    QSignalSpy ended(&w, &TfrmMain::sessionEnded);
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmTipOfTheDay"), [&w](QDialog &dialog) {
        w.endSession();
        return dialog.result();
    });
    w.FormActivate();
    QCOMPARE(ended.count(), 1);
    // The name was never asked.
    QCOMPARE(m_services->modal.shown().size(), 1);
    const SettingsFile file(m_services->settingsFile());
    QCOMPARE(read(file, keys::LastPlayer), QStringLiteral("Anna"));
    QCOMPARE(read(file, keys::PlayerName(1)), QStringLiteral("Bea"));
    QCOMPARE(read(file, keys::PlayerScore(1)), 40);
    QCOMPARE(read(file, keys::PlayerGameNumber(1)), 12);
    verifySavedIsTheTable();
}

QTEST_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"
