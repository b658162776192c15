#include "TablePositions.h"
#include "TestServices.h"
#include "game/TfrmGameOver.h"
#include "game/TfrmGameSelect.h"
#include "game/WinAnimation.h"
#include "interaction/TableSurface.h"
#include "persistence/SettingsFile.h"
#include "persistence/SettingsKeys.h"
#include "shell/TfrmMain.h"
#include "widgets/WinPicture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <vector>

using namespace vespin;

namespace {

// A game one move from its end: the King of hearts dragged from column 2
// into the empty column 3 frees the Queen of spades, and the automatic
// moves carry the last four cards up.
void layNearlyWon(TfrmMain &w)
{
    using namespace vespin::test;
    lay(w, {{{hearts(12), spades(13)}, {spades(12), hearts(13)}, {}, {}, {}, {}, {}, {}}}, {}, {13, 13, 11, 11});
    w.table().GameTime = 100;
    w.commands().mnuPlaceBookmark->setEnabled(true);
    w.GameTimer.start();
}

} // namespace

class TestWin : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void flightPoints_data();
    void flightPoints();
    void flightsLeaveKingsFirst();
    void animationDrawsEveryFrameOfEveryFlight();
    void winByTheMouse_data();
    void winByTheMouse();
    void keyPressStopsTheAnimation();
    void dealAndCloseWaitForTheSequence();
    void aCloseDuringTheSequenceAsksNoSecondTime();
    void aSessionEndDuringTheAnimationBooksTheWin();

private:
    void dragKingOfHeartsToColumn3();

    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
};

void TestWin::init()
{
    m_services = std::make_unique<test::TestServices>();
    m_services->clock.millisecondsOfDay = 1;
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->FormActivate();
    m_services->modal.takeShown();
    m_services->sound.played.clear();
}

void TestWin::cleanup()
{
    m_window.reset();
    m_services.reset();
}

void TestWin::flightPoints_data()
{
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("tableTop");
    QTest::addColumn<QPoint>("point");
    // At the start a card stands on the top row, a pixel left of its foundation.
    QTest::newRow("start, foundation 5") << 720 << 4 << 300 << 26 << QPoint(318, 33);
    QTest::newRow("start, foundation 8") << 720 << 1 << 300 << 0 << QPoint(552, 7);
    // At odd multiples of 90 degrees it touches the floor.
    QTest::newRow("bounce") << 630 << 4 << 300 << 26 << QPoint(228, 333);
    QTest::newRow("bounce, no tool bar") << 450 << 2 << 254 << 0 << QPoint(204, 261);
    // Halves go to the even neighbour.
    QTest::newRow("half, down to even") << 360 << 3 << 331 << 0 << QPoint(36, 172);
    QTest::newRow("half, up to even") << 360 << 3 << 333 << 0 << QPoint(36, 174);
    QTest::newRow("half at 540") << 540 << 1 << 302 << 0 << QPoint(372, 82);
    QTest::newRow("end of foundation 8") << 97 << 1 << 300 << 0 << QPoint(-71, qRound(300 - 300 * (97 / 720.0) * std::fabs(std::cos(97 * M_PI / 180)) + 7));
    QTest::newRow("end of foundation 5") << 97 - 234 << 4 << 300 << 0 << QPoint(-539, qRound(300 - 300 * (-137 / 720.0) * std::fabs(std::cos(-137 * M_PI / 180)) + 7));
}

void TestWin::flightPoints()
{
    QFETCH(int, g);
    QFETCH(int, k);
    QFETCH(int, H);
    QFETCH(int, tableTop);
    QFETCH(QPoint, point);
    QCOMPARE(flightPoint(g, k, H, tableTop), point);
}

void TestWin::flightsLeaveKingsFirst()
{
    TableModel t;
    for (int f = 5; f <= 8; ++f) {
        t.FoundationCounter[f] = 13;
        for (int r = 1; r <= 13; ++r)
            t.Foundation[f][r] = (f - 5) * 13 + r;
    }
    const std::vector<Flight> flights = winFlights(t);
    QCOMPARE(int(flights.size()), 52);
    int i = 0;
    for (int r = 13; r >= 1; --r) {
        for (int f = 5; f <= 8; ++f) {
            QCOMPARE(flights[std::size_t(i)].card, t.Foundation[f][r]);
            QCOMPARE(flights[std::size_t(i)].k, 9 - f);
            ++i;
        }
    }
}

void TestWin::animationDrawsEveryFrameOfEveryFlight()
{
    TableModel t;
    for (int f = 5; f <= 8; ++f) {
        t.FoundationCounter[f] = 13;
        for (int r = 1; r <= 13; ++r)
            t.Foundation[f][r] = (f - 5) * 13 + r;
    }
    t.Random.RandomState = 12345;
    // The speeds come from the game's own generator, one draw per flight.
    GameRandom replay;
    replay.RandomState = 12345;
    int expectedFrames = 0;
    for (const Flight &flight : winFlights(t)) {
        const int m = int(replay.RandomBelow(3)) + 2;
        for (int g = 720; g >= lastStep(flight.k); --g)
            expectedFrames += g % m == 0;
    }
    std::vector<std::pair<int, QPoint>> drawn;
    runWinAnimation(t, {[] { return true; }, [] { return 300; },
                        [&](std::int32_t card, QPoint at) { drawn.emplace_back(card, at); }});
    QCOMPARE(int(drawn.size()), expectedFrames);
    QCOMPARE(drawn.front().first, t.Foundation[5][13]);
    QCOMPARE(drawn.back().first, t.Foundation[8][1]);
    QCOMPARE(t.Random.RandomState, replay.RandomState);

    // Told to stop, it draws nothing more.
    int frames = 0;
    runWinAnimation(t, {[&] { return frames < 10; }, [] { return 300; }, [&](std::int32_t, QPoint) { ++frames; }});
    QCOMPARE(frames, 10);
}

void TestWin::dragKingOfHeartsToColumn3()
{
    TableSurface *surface = m_window->surface();
    const int top = m_window->table().TableTop;
    const QPoint from(ColumnX[2] + 20, rowY(top, 2) + 8);
    const QPoint to(ColumnX[3] + 20, rowY(top, 1) + 60);
    QTest::mousePress(surface, Qt::LeftButton, {}, surface->toWidget(from));
    QTest::mouseMove(surface, surface->toWidget((from + to) / 2));
    QTest::mouseMove(surface, surface->toWidget(to));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, surface->toWidget(to));
}

void TestWin::winByTheMouse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("bestBefore");
    QTest::addColumn<bool>("newBest");
    QTest::newRow("No, a second faster than the best") << "no" << 119 << 120 << true;
    QTest::newRow("Replay, as fast as the best") << "replay" << 120 << 120 << false;
    QTest::newRow("Yes, no best yet") << "yes" << 100 << 9999 << true;
    QTest::newRow("Yes, 9999 seconds never make a best") << "yes" << 9999 << 9999 << false;
    QTest::newRow("Select Game") << "select" << 100 << 9999 << true;
}

void TestWin::winByTheMouse()
{
    QFETCH(QString, answer);
    QFETCH(int, time);
    QFETCH(int, bestBefore);
    QFETCH(bool, newBest);
    TfrmMain &w = *m_window;
    CommandSurface &c = w.commands();
    w.statistics().SuperTime = bestBefore;
    w.LastPlayer = QStringLiteral("Ann");
    w.table().GameNumber = 4711;
    layNearlyWon(w);
    w.table().GameTime = time;
    const int wonBefore = w.statistics().GamesWon;

    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmGameOver"), [answer](QDialog &dialog) {
        auto &over = static_cast<TfrmGameOver &>(dialog);
        if (answer == QLatin1String("replay"))
            over.cbReplayGame->setChecked(true);
        if (answer == QLatin1String("select"))
            over.cbSelectGame->setChecked(true);
        (answer == QLatin1String("no") ? over.btNo : over.btYes)->click();
        return dialog.result();
    });
    dragKingOfHeartsToColumn3();

    const TableModel &t = w.table();
    QCOMPARE(w.statistics().GamesWon, wonBefore + 1);
    QCOMPARE(w.statistics().SessionWon, 1);
    QCOMPARE(w.statistics().SuperTime, newBest ? time : bestBefore);
    QCOMPARE(w.statistics().SuperPlayer, newBest ? QStringLiteral("Ann") : QString());
    QCOMPARE(w.statistics().SuperGame, newBest ? 4711 : 0);
    QCOMPARE(m_services->sound.played.count(QStringLiteral("WinGame.wav")), 1);
    // A new best time shows the statistics first, then the game over, once.
    QStringList shown;
    for (const test::ShownDialog &dialog : m_services->modal.shown())
        shown << dialog.className;
    QStringList expected{QStringLiteral("vespin::TfrmGameOver")};
    if (newBest)
        expected.prepend(QStringLiteral("vespin::TfrmStatistics"));
    // Yes with Select Game opens Select Game; cancelled there, nothing is dealt.
    if (answer == QLatin1String("select"))
        expected.append(QStringLiteral("vespin::TfrmGameSelect"));
    QCOMPARE(shown, expected);
    if (answer == QLatin1String("select")) {
        QVERIFY(t.GameFinished);
        return;
    }

    if (answer == QLatin1String("no")) {
        QVERIFY(t.GameFinished && t.WinRecorded);
        QCOMPARE(t.Score, 52);
        QVERIFY(!w.GameTimer.isActive());
        QVERIFY(!c.mnuPlaceBookmark->isEnabled() && !c.mnuReturnToBookmark->isEnabled() && !c.mnuPause->isEnabled());
        QVERIFY(!w.winPicture()->isHidden());
        // Only the four foundation marks stay on the table.
        const QImage table = w.surface()->backingImage();
        const QRgb green = table.pixel(3, t.TableTop + 3);
        for (int col = 1; col <= 8; ++col)
            QCOMPARE(table.pixel(ColumnX[col] + 35, t.TableTop + 112 + 40), green);
        for (int f = 5; f <= 8; ++f)
            QVERIFY(table.pixel(ColumnX[f] + 1, t.TableTop + 7 + 48) != green);
        // Later status checks do not win again.
        w.play().CheckGameStatus();
        QCOMPARE(m_services->sound.played.count(QStringLiteral("WinGame.wav")), 1);
    } else {
        QVERIFY(!t.GameFinished && !t.WinRecorded);
        QVERIFY(w.winPicture()->isHidden());
        QCOMPARE(m_services->sound.played.count(QStringLiteral("Shuffle.wav")), 1);
        if (answer == QLatin1String("replay"))
            QCOMPARE(t.GameNumber, 4711);
    }
}

void TestWin::keyPressStopsTheAnimation()
{
    TfrmMain &w = *m_window;
    layNearlyWon(w);
    const std::uint32_t before = w.table().Random.RandomState;
    // The key waits in the queue until the animation lets the window run.
    QCoreApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmGameOver"), [](QDialog &dialog) {
        static_cast<TfrmGameOver &>(dialog).btNo->click();
        return dialog.result();
    });
    dragKingOfHeartsToColumn3();
    // One flight began, drawing its speed, and none after it: the animation
    // ended at its first frame.
    QCOMPARE(w.table().Random.RandomState, before * 134775813u + 1u);
    // The steps after the animation ran all the same.
    QVERIFY(!w.winPicture()->isHidden());
    QCOMPARE(m_services->modal.shown().last().className, QStringLiteral("vespin::TfrmGameOver"));
    QCOMPARE(w.statistics().SessionWon, 1);
}

void TestWin::dealAndCloseWaitForTheSequence()
{
    TfrmMain &w = *m_window;
    layNearlyWon(w);
    w.table().GameNumber = 99;
    // New Game and a close request arrive while the cards fly.
    QMetaObject::invokeMethod(w.commands().mnuNewGame, &QAction::trigger, Qt::QueuedConnection);
    QMetaObject::invokeMethod(&w, &QWidget::close, Qt::QueuedConnection);
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmGameOver"), [](QDialog &dialog) {
        static_cast<TfrmGameOver &>(dialog).btNo->click();
        return dialog.result();
    });
    dragKingOfHeartsToColumn3();
    // The sequence ended on the game it started with.
    QVERIFY(w.table().GameFinished);
    QCOMPARE(w.table().GameNumber, 99);
    QCOMPARE(m_services->modal.shown().last().className, QStringLiteral("vespin::TfrmGameOver"));
    QVERIFY(w.isVisible());
    // The close comes after it.
    QTRY_VERIFY(!w.isVisible());
}

void TestWin::aCloseDuringTheSequenceAsksNoSecondTime()
{
    TfrmMain &w = *m_window;
    w.options().Prompts = true;
    layNearlyWon(w);
    QMetaObject::invokeMethod(&w, &QWidget::close, Qt::QueuedConnection);
    // Yes, with a chosen game whose deal moves its Aces and starts the clock.
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmGameOver"), [](QDialog &dialog) {
        auto &over = static_cast<TfrmGameOver &>(dialog);
        over.cbSelectGame->setChecked(true);
        over.btYes->click();
        return dialog.result();
    });
    m_services->modal.answerWhen(QStringLiteral("vespin::TfrmGameSelect"), [](QDialog &dialog) {
        auto &select = static_cast<TfrmGameSelect &>(dialog);
        select.edGameNumber->setText(QStringLiteral("1"));
        select.btOK->click();
        return dialog.result();
    });
    m_services->modal.press(QMessageBox::Yes); // the deal's own question
    dragKingOfHeartsToColumn3();
    QCOMPARE(w.table().GameNumber, 1);
    QVERIFY(w.GameTimer.isActive());
    QTRY_VERIFY(!w.isVisible());
    for (const test::ShownDialog &shown : m_services->modal.shown())
        QVERIFY(shown.text != QStringLiteral("Are you sure you want to quit Vespintide?"));
}

void TestWin::aSessionEndDuringTheAnimationBooksTheWin()
{
    TfrmMain &w = *m_window;
    w.commands().mnuAutoSave->setChecked(true);
    layNearlyWon(w);
    w.table().Score = 48;
    const Statistics before = w.statistics();
    QSignalSpy ended(&w, &TfrmMain::sessionEnded);
    // It arrives while the cards fly.
    QMetaObject::invokeMethod(&w, &TfrmMain::endSession, Qt::QueuedConnection);
    dragKingOfHeartsToColumn3();
    QCOMPARE(ended.count(), 1);
    // Won and booked once, as for a close; nothing is asked any more.
    QCOMPARE(w.statistics().GamesWon, before.GamesWon + 1);
    QCOMPARE(w.statistics().GamesPlayed, before.GamesPlayed + 1);
    QCOMPARE(m_services->modal.shown().size(), 0);
    const SettingsFile file(m_services->settingsFile());
    QCOMPARE(read(file, keys::GamesWon), before.GamesWon + 1);
    QCOMPARE(read(file, keys::GamesPlayed), before.GamesPlayed + 1);
    QCOMPARE(read(file, keys::TotalScore), before.TotalScore + 52);
    // The won game is not kept to be won again.
    QVERIFY(!read(file, keys::GameSaved));
}

QTEST_MAIN(TestWin)
#include "tst_win.moc"
