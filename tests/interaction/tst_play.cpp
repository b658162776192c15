#include "TablePositions.h"
#include "TestServices.h"
#include "game/Invariants.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include <vector>

using namespace vespin;
using namespace vespin::test;

namespace {

// The rules of a whole table, for the positions here that lay out only some
// of the cards: every rule but that all 52 are there.
QStringList violations(TfrmMain &w, bool settled = true)
{
    QStringList broken = tableViolations(w.table(), w.cards(), settled);
    broken.removeIf([](const QString &line) {
        return line.endsWith(QLatin1String("stands 0 times")) || line.startsWith(QLatin1String("the counters add up"));
    });
    return broken;
}

struct Snapshot {
    IndexedArray<CardList, 1, 8> tableau;
    ColumnArray counters;
    std::vector<std::array<int, 5>> records; // x, y, blocked, row, column

    explicit Snapshot(TfrmMain &w) : tableau(w.table().Tableau), counters(w.table().TableauCounter)
    {
        for (int card = 1; card <= 52; ++card) {
            const CardLibrary &c = w.cards();
            records.push_back({c.GetCardX(card), c.GetCardY(card), c.GetCardBlocked(card), c.GetUser3(card),
                               c.GetUser4(card)});
        }
    }
    bool sameTableAs(const Snapshot &o) const
    {
        if (counters != o.counters)
            return false;
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= counters[c]; ++r)
                if (tableau[c][r] != o.tableau[c][r])
                    return false;
        return true;
    }
};

} // namespace

class TestPlay : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void singleCardDrops_data();
    void singleCardDrops();
    void blockDrags_data();
    void blockDrags();
    void automaticMovesTakeAcesAndSuccessors();
    void faceDownCardTurnsUpAndMayFollow();
    void dealingGameOneMovesItsAces();
    void undoTakesBackTheLastMove_data();
    void undoTakesBackTheLastMove();
    void peekShowsACoveredCard();
    void pauseFollowsTheClock();
    void anythingElseEndsADragFirst_data();
    void anythingElseEndsADragFirst();
    void anotherButtonsDoubleClickKeepsTheDrag();

private:
    void press(Qt::MouseButton button, QPoint at) { test::press(*m_window, button, at); }
    void moveTo(QPoint at) { test::moveTo(*m_window, at); }
    void release(Qt::MouseButton button, QPoint at) { test::release(*m_window, button, at); }
    void dragCard(int card, QPoint to) { test::dragCard(*m_window, card, to); }

    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
};

void TestPlay::init()
{
    m_services = std::make_unique<test::TestServices>();
    m_services->clock.millisecondsOfDay = 1; // a deal that moves no card by itself
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->FormActivate();
    m_services->sound.played.clear();
}

void TestPlay::cleanup()
{
    m_window.reset();
    m_services.reset();
}

void TestPlay::singleCardDrops_data()
{
    // Column 2 ends in the 7 of hearts, column 6 in the 8 of hearts; columns
    // 4 and 5 are empty; column 3 ends in the King of spades.
    QTest::addColumn<int>("card");
    QTest::addColumn<QPoint>("offset"); // where the corner goes, from the target's corner
    QTest::addColumn<int>("target");    // the card or, negative, the empty column aimed at
    QTest::addColumn<int>("destination"); // column it must end in; 0: goes back

    QTest::newRow("onto the 8 of the suit") << hearts(7) << QPoint(10, 30) << hearts(8) << 6;
    QTest::newRow("overlapping other cards too") << hearts(7) << QPoint(-60, 80) << hearts(8) << 6;
    QTest::newRow("70 px to the right") << hearts(7) << QPoint(70, 0) << hearts(8) << 6;
    QTest::newRow("71 px to the right") << hearts(7) << QPoint(71, 0) << hearts(8) << 0;
    QTest::newRow("71 px to the left") << hearts(7) << QPoint(-71, 0) << hearts(8) << 0;
    QTest::newRow("95 px below") << hearts(7) << QPoint(0, 95) << hearts(8) << 6;
    QTest::newRow("96 px below") << hearts(7) << QPoint(0, 96) << hearts(8) << 0;
    QTest::newRow("96 px above") << hearts(7) << QPoint(0, -96) << hearts(8) << 0;
    QTest::newRow("covered 8 of the suit") << diamonds(7) << QPoint(5, 5) << diamonds(8) << 0;
    QTest::newRow("8 of another suit") << hearts(7) << QPoint(5, 5) << spades(8) << 0;
    QTest::newRow("King to an empty column") << spades(13) << QPoint(71, 200) << -5 << 5;
    QTest::newRow("King just out of reach") << spades(13) << QPoint(72, 200) << -5 << 0;
    QTest::newRow("King between two empty columns") << spades(13) << QPoint(-40, -50) << -5 << 4;
    QTest::newRow("not a King to an empty column") << hearts(7) << QPoint(0, 0) << -4 << 0;
    QTest::newRow("click without moving") << hearts(7) << QPoint() << 0 << 0;
}

void TestPlay::singleCardDrops()
{
    QFETCH(int, card);
    QFETCH(QPoint, offset);
    QFETCH(int, target);
    QFETCH(int, destination);
    TfrmMain &w = *m_window;
    const int top = w.table().TableTop;
    lay(w, {{{clubs(9), clubs(5)},
             {clubs(13), diamonds(5), hearts(7)},
             {diamonds(12), diamonds(7), diamonds(8), clubs(3), spades(13)},
             {},
             {},
             {diamonds(9), hearts(8)},
             {clubs(11), spades(8)},
             {spades(9), diamonds(10)}}});
    const Snapshot before(w);
    const int sourceColumn = w.cards().GetUser4(card);

    QPoint to;
    if (target > 0)
        to = corner(w, target) + offset;
    else if (target < 0)
        to = QPoint(ColumnX[-target], top + 112) + offset;
    if (target == 0) {
        const QPoint at = corner(w, card) + QPoint(20, 8);
        press(Qt::LeftButton, at);
        release(Qt::LeftButton, at);
    } else {
        dragCard(card, to);
    }

    const CardLibrary &cards = w.cards();
    const TableModel &t = w.table();
    QVERIFY2(violations(w, false).isEmpty(), qPrintable(violations(w, false).join('\n')));
    if (destination == 0) {
        QVERIFY(Snapshot(w).sameTableAs(before));
        QCOMPARE(corner(w, card), QPoint(before.records[std::size_t(card - 1)][0], before.records[std::size_t(card - 1)][1]));
        QVERIFY(!w.commands().mnuUndo->isEnabled());
        QVERIFY(!w.GameTimer.isActive());
        QCOMPARE(m_services->sound.played, target == 0 ? QStringList() : QStringList{QStringLiteral("Abort.wav")});
        QCOMPARE(t.UndoCount, 0);
        return;
    }
    const int row = t.TableauCounter[destination];
    QCOMPARE(t.Tableau[destination][row], card);
    QCOMPARE(t.TableauCounter[sourceColumn], before.counters[sourceColumn] - 1);
    QCOMPARE(cards.GetUser4(card), destination);
    QCOMPARE(cards.GetUser3(card), row);
    QCOMPARE(corner(w, card), QPoint(ColumnX[destination], rowY(top, row)));
    QCOMPARE(cards.GetCardBlocked(card), 0);
    if (row > 1)
        QCOMPARE(cards.GetCardBlocked(t.Tableau[destination][row - 1]), 1);
    QCOMPARE(cards.GetCardBlocked(t.Tableau[sourceColumn][t.TableauCounter[sourceColumn]]), 0);
    QCOMPARE(t.UndoCount, 1);
    QCOMPARE(t.UndoCards[1], card);
    QCOMPARE(t.UndoFrom, sourceColumn);
    QCOMPARE(t.UndoTo, destination);
    QVERIFY(w.commands().mnuUndo->isEnabled());
    QVERIFY(w.GameTimer.isActive());
    QCOMPARE(m_services->sound.played, QStringList{QStringLiteral("Dealcard.wav")});
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join('\n')));
}

void TestPlay::blockDrags_data()
{
    QTest::addColumn<int>("head");
    QTest::addColumn<int>("target");      // card, or negative: an empty column
    QTest::addColumn<int>("destination"); // 0: goes back
    QTest::newRow("mixed block onto the 8 of the suit") << hearts(7) << hearts(8) << 6;
    QTest::newRow("its own last card is the successor") << hearts(4) << hearts(5) << 0;
    QTest::newRow("King-headed block to an empty column") << spades(13) << -4 << 4;
    QTest::newRow("a block from row 1 empties its column") << clubs(12) << clubs(13) << 8;
    QTest::newRow("a block not headed by a King, to an empty column") << hearts(7) << -4 << 0;
}

void TestPlay::blockDrags()
{
    QFETCH(int, head);
    QFETCH(int, target);
    QFETCH(int, destination);
    TfrmMain &w = *m_window;
    const int top = w.table().TableTop;
    lay(w, {{{clubs(12), diamonds(3)},
             {clubs(10), hearts(7), clubs(2), spades(12)},
             {hearts(4), clubs(3), hearts(5)},
             {},
             {spades(13), diamonds(11), spades(7)},
             {diamonds(9), hearts(8)},
             {clubs(11), spades(6)},
             {spades(9), clubs(13)}}});
    const Snapshot before(w);
    const int source = w.cards().GetUser4(head);
    const int row = w.cards().GetUser3(head);
    std::vector<int> block;
    for (int r = row; r <= w.table().TableauCounter[source]; ++r)
        block.push_back(w.table().Tableau[source][r]);
    QVERIFY(block.size() >= 2);

    const QPoint to = target > 0 ? corner(w, target) + QPoint(8, 20) : QPoint(ColumnX[-target] + 30, top + 250);
    dragCard(head, to);

    const TableModel &t = w.table();
    const CardLibrary &cards = w.cards();
    if (destination == 0) {
        QVERIFY(Snapshot(w).sameTableAs(before));
        for (int card : block)
            QCOMPARE(corner(w, card), QPoint(before.records[std::size_t(card - 1)][0], before.records[std::size_t(card - 1)][1]));
        QCOMPARE(cards.GetCardBlocked(block.back()), 0);
        QCOMPARE(m_services->sound.played, QStringList{QStringLiteral("Abort.wav")});
        QVERIFY(!w.commands().mnuUndo->isEnabled());
        return;
    }
    const int count = int(block.size());
    QCOMPARE(t.TableauCounter[source], row - 1);
    const int first = t.TableauCounter[destination] - count + 1;
    const int firstY = target > 0 ? cards.GetCardY(target) + 16 : top + 112;
    for (int k = 0; k < count; ++k) {
        QCOMPARE(t.Tableau[destination][first + k], block[std::size_t(k)]);
        QCOMPARE(corner(w, block[std::size_t(k)]), QPoint(ColumnX[destination], firstY + 16 * k));
        QCOMPARE(t.UndoCards[k + 1], block[std::size_t(k)]);
    }
    QCOMPARE(t.UndoCount, count);
    QCOMPARE(t.UndoFrom, source);
    QCOMPARE(t.UndoTo, destination);
    QVERIFY(w.commands().mnuUndo->isEnabled());
    QCOMPARE(m_services->sound.played, QStringList{QStringLiteral("Dealcard.wav")});
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join('\n')));
    if (row == 1) {
        // The emptied column takes a King at the next release.
        QVERIFY(t.EmptyColumn[source]);
    }
}

void TestPlay::automaticMovesTakeAcesAndSuccessors()
{
    TfrmMain &w = *m_window;
    // The 2 of hearts on top of column 1, the Ace of hearts on column 3 and
    // the Ace of spades on column 5, each freed by moving one card away.
    lay(w, {{{clubs(9), hearts(2)},
             {clubs(8)},
             {hearts(1), diamonds(6)},
             {clubs(12), diamonds(7)},
             {spades(1), clubs(7)},
             {},
             {},
             {}}});
    w.play().CheckGameStatus();
    QCOMPARE(w.table().Score, 0);
    // The 6 of diamonds onto the 7: the Ace of hearts goes up, then the 2,
    // scanned again from column 1.
    dragCard(diamonds(6), corner(w, diamonds(7)) + QPoint(0, 20));
    const TableModel &t = w.table();
    QCOMPARE(t.FoundationCounter[5], 2);
    QCOMPARE(t.Foundation[5][1], hearts(1));
    QCOMPARE(t.Foundation[5][2], hearts(2));
    QCOMPARE(t.Score, 2);
    QVERIFY(!w.commands().mnuUndo->isEnabled()); // an automatic move took the undo away
    QVERIFY(w.GameTimer.isActive());
    QCOMPARE(m_services->sound.played,
             QStringList({"Dealcard.wav", "MoveCard.wav", "MoveCard.wav"}));
    // Then the 7 of clubs onto the 8: the Ace of spades takes foundation 6.
    dragCard(clubs(7), corner(w, clubs(8)) + QPoint(0, 20));
    QCOMPARE(t.FoundationCounter[6], 1);
    QCOMPARE(t.Foundation[6][1], spades(1));
    QCOMPARE(corner(w, spades(1)), QPoint(ColumnX[6], t.TableTop + 7));
    QVERIFY(w.windowTitle().endsWith(QStringLiteral(") Score: 3")));
    QCOMPARE(w.commands().StatusPanels[2]->text(), QStringLiteral("Score: 3"));
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join('\n')));
    QVERIFY(w.isEnabled());
}

void TestPlay::faceDownCardTurnsUpAndMayFollow()
{
    TfrmMain &w = *m_window;
    // Column 5: the 2 of clubs face down under the Ace of clubs, with the 3
    // face down under that; the cascade turns and takes all three.
    lay(w, {{{diamonds(9)}, {}, {}, {}, {clubs(3), clubs(2), clubs(1)}, {}, {}, {}}}, {0, 0, 0, 0, 2, 0, 0, 0});
    w.play().CheckGameStatus();
    const TableModel &t = w.table();
    QCOMPARE(t.FoundationCounter[5], 3);
    QCOMPARE(t.TableauCounter[5], 0);
    QCOMPARE(w.cards().GetCardStatus(clubs(3)), 1);
    QVERIFY(!w.commands().mnuUndo->isEnabled());
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join('\n')));
}

void TestPlay::dealingGameOneMovesItsAces()
{
    TfrmMain &w = *m_window;
    w.table().GameNumber = 1;
    w.table().PresetGameNumber = true;
    w.commands().mnuNewGame->trigger();
    const TableModel &t = w.table();
    // Column 5 ends in the Ace of clubs, column 8 in the Ace of diamonds,
    // which uncovers the 2 of clubs.
    QCOMPARE(t.FoundationCounter[5], 2);
    QCOMPARE(t.Foundation[5][1], 1);
    QCOMPARE(t.Foundation[5][2], 2);
    QCOMPARE(t.Foundation[6][1], 14);
    QCOMPARE(t.Score, 3);
    QVERIFY(w.GameTimer.isActive());
    QVERIFY(w.commands().mnuPause->isEnabled());
    QCOMPARE(w.windowTitle(), QStringLiteral("Vespintide (Game Number: 1) Score: 3"));
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join('\n')));
}

void TestPlay::undoTakesBackTheLastMove_data()
{
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("target"); // negative: an empty column
    QTest::newRow("single card") << hearts(7) << hearts(8);
    QTest::newRow("block") << diamonds(10) << diamonds(11);
    QTest::newRow("King alone into an empty column, emptying its own") << spades(13) << -4;
}

void TestPlay::undoTakesBackTheLastMove()
{
    QFETCH(int, card);
    QFETCH(int, target);
    TfrmMain &w = *m_window;
    const int top = w.table().TableTop;
    lay(w, {{{clubs(9), clubs(5)},
             {clubs(12), diamonds(5), hearts(7)},
             {diamonds(10), clubs(2), spades(3)},
             {},
             {spades(13)},
             {diamonds(9), hearts(8)},
             {clubs(11), diamonds(11)},
             {spades(9), clubs(13)}}});
    w.play().CheckGameStatus();
    const Snapshot before(w);
    const QPoint to = target > 0 ? corner(w, target) + QPoint(5, 10) : QPoint(ColumnX[-target], top + 200);
    dragCard(card, to);
    QVERIFY(w.commands().mnuUndo->isEnabled());
    QVERIFY(!Snapshot(w).sameTableAs(before));
    m_services->sound.played.clear();

    w.commands().mnuUndo->trigger();
    const Snapshot after(w);
    QVERIFY(after.sameTableAs(before));
    QCOMPARE(after.records, before.records);
    QVERIFY(!w.commands().mnuUndo->isEnabled());
    QCOMPARE(m_services->sound.played, QStringList{QStringLiteral("Undo.wav")});
    // Never twice: the command is off, and its key does nothing.
    QTest::keyClick(&w, Qt::Key_U);
    QVERIFY(Snapshot(w).sameTableAs(before));
}

void TestPlay::peekShowsACoveredCard()
{
    TfrmMain &w = *m_window;
    const int top = w.table().TableTop;
    lay(w, {{{clubs(9), clubs(5), hearts(3)}, {}, {}, {}, {spades(4), spades(8)}, {}, {}, {}}}, {0, 0, 0, 0, 1, 0, 0, 0});
    w.surface()->refresh();
    const QImage plain = w.surface()->backingImage().copy();
    const QRect column1(ColumnX[1], top + 112, 71, 96 + 32);
    const QPoint strip = corner(w, clubs(5)) + QPoint(30, 6);

    press(Qt::RightButton, strip);
    QVERIFY(w.play().Peeking);
    QCOMPARE(w.play().PeekCard, clubs(5));
    QVERIFY(w.surface()->backingImage().copy(column1) != plain.copy(column1));
    // A left press while peeking starts nothing.
    press(Qt::LeftButton, strip);
    QVERIFY(!w.play().SingleDragging && !w.play().BlockDragging);
    release(Qt::LeftButton, strip);
    moveTo(strip + QPoint(10, -10)); // still within 10 px
    QVERIFY(w.play().Peeking);
    moveTo(strip + QPoint(11, 0));
    QVERIFY(!w.play().Peeking);
    QCOMPARE(w.surface()->backingImage().copy(column1), plain.copy(column1));
    release(Qt::RightButton, strip + QPoint(11, 0));

    press(Qt::RightButton, strip);
    QVERIFY(w.play().Peeking);
    release(Qt::RightButton, strip);
    QVERIFY(!w.play().Peeking);
    QCOMPARE(w.surface()->backingImage(), plain);

    // A face-down card shows nothing.
    press(Qt::RightButton, corner(w, spades(4)) + QPoint(30, 6));
    QVERIFY(!w.play().Peeking);
    release(Qt::RightButton, corner(w, spades(4)) + QPoint(30, 6));
    QCOMPARE(w.surface()->backingImage(), plain);
}

void TestPlay::pauseFollowsTheClock()
{
    TfrmMain &w = *m_window;
    lay(w, {{{clubs(9), hearts(7)}, {}, {}, {}, {diamonds(9), hearts(8)}, {}, {spades(5)}, {spades(6)}}});
    w.play().CheckGameStatus();
    QVERIFY(!w.commands().mnuPause->isEnabled()); // the clock has not started
    dragCard(spades(5), corner(w, spades(6)) + QPoint(0, 16));
    QVERIFY(w.GameTimer.isActive());
    QVERIFY(w.commands().mnuPause->isEnabled());

    w.commands().mnuPause->trigger();
    QVERIFY(!w.GameTimer.isActive());
    QCOMPARE(w.commands().StatusPanels[0]->text(), QStringLiteral("Vespintide - Pause, press <F5> to continue..."));
    // A move during the pause ends it.
    dragCard(hearts(7), corner(w, hearts(8)) + QPoint(0, 16));
    QVERIFY(w.GameTimer.isActive());
    QVERIFY(!w.commands().mnuPause->isChecked());
    QCOMPARE(w.commands().StatusPanels[0]->text(), QStringLiteral("Vespintide"));

    // With the limit reached, status checks leave Pause off.
    w.table().PauseDisabled = true;
    w.commands().mnuPause->setEnabled(false);
    w.play().CheckGameStatus();
    QVERIFY(!w.commands().mnuPause->isEnabled());

    // The clock counts in whole seconds on the status bar.
    const int before = w.table().GameTime;
    w.GameTimerTimer();
    QCOMPARE(w.table().GameTime, before + 1);
    QCOMPARE(w.commands().StatusPanels[1]->text(), QStringLiteral("Time: %1").arg(before + 1));
}

void TestPlay::anythingElseEndsADragFirst_data()
{
    QTest::addColumn<bool>("block");
    QTest::addColumn<QString>("interruption");
    for (const bool block : {false, true}) {
        for (const char *what : {"S", "U", "F2", "Escape", "menu", "another window"})
            QTest::addRow("%s, %s", block ? "block" : "card", what) << block << QString::fromLatin1(what);
    }
}

// A command, a dialog, a deal, undo, minimising or another window taking
// the focus in the middle of a drag: the drag ends first as a refused drop,
// and the table stays whole.
void TestPlay::anythingElseEndsADragFirst()
{
    QFETCH(bool, block);
    QFETCH(QString, interruption);
    TfrmMain &w = *m_window;
    lay(w, {{{hearts(2), clubs(9), clubs(8)}, {spades(2), clubs(10)}, {hearts(4)}, {spades(3), hearts(5)}, {}, {},
             {}, {}}});
    // A move for Undo to take back.
    dragCard(hearts(4), corner(w, hearts(5)) + QPoint(0, 16));
    QCOMPARE(w.cards().GetUser4(hearts(4)), 4);
    const Snapshot before(w);
    const int grabbed = block ? clubs(9) : clubs(8);
    const QPoint from = corner(w, grabbed);
    const QPoint over = corner(w, clubs(10)) + QPoint(20, 24);
    press(Qt::LeftButton, from + QPoint(20, 5));
    moveTo(from + QPoint(40, 20));
    moveTo(over);
    QVERIFY(w.play().DragMoved);

    QWidget other;
    if (interruption == QLatin1String("menu")) {
        w.commands().mnuGame->popup(w.mapToGlobal(QPoint(0, 0)));
        w.commands().mnuGame->hide();
    } else if (interruption == QLatin1String("another window")) {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    } else {
        QTest::keyClick(&w, QKeySequence::fromString(interruption)[0].key());
    }
    QVERIFY(!w.play().SingleDragging && !w.play().BlockDragging && !w.play().DragMoved);
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join(QLatin1Char('\n'))));
    const bool tableChanged = interruption == QLatin1String("U") || interruption == QLatin1String("F2");
    if (!tableChanged) {
        QVERIFY(Snapshot(w).sameTableAs(before));
        QCOMPARE(corner(w, grabbed), from);
    }
    // The release drops nothing; the next press drags the top card alone.
    const Snapshot after(w);
    release(Qt::LeftButton, over);
    QVERIFY(Snapshot(w).sameTableAs(after));
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join(QLatin1Char('\n'))));
}

void TestPlay::anotherButtonsDoubleClickKeepsTheDrag()
{
    TfrmMain &w = *m_window;
    lay(w, {{{hearts(2), clubs(8)}, {spades(2), clubs(9)}, {}, {}, {}, {}, {}, {}}});
    const QPoint onto = corner(w, clubs(9)) + QPoint(0, 16);
    press(Qt::LeftButton, corner(w, clubs(8)) + QPoint(20, 5));
    moveTo(onto + QPoint(10, 10));
    moveTo(onto + QPoint(20, 5));
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton})
        QTest::mouseDClick(w.surface(), other, {}, w.surface()->toWidget(onto + QPoint(20, 5)));
    QVERIFY(w.play().DragMoved);
    release(Qt::LeftButton, onto + QPoint(20, 5));
    QCOMPARE(w.cards().GetUser4(clubs(8)), 2);
    QCOMPARE(corner(w, clubs(8)), onto);
    QVERIFY2(violations(w).isEmpty(), qPrintable(violations(w).join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestPlay)
#include "tst_play.moc"
