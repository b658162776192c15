// Times play on the real card library through the play handlers: one mouse
// step of a single-card drag and of a 13-card block drag, and a drop that
// sets off ten automatic moves, each with and without bringing the window up
// to date. Prints figures; judging them is left to whoever reads them.

#include "BenchWindow.h"
#include "Report.h"
#include "TestServices.h"
#include "game/TableModel.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <numeric>
#include <vector>

using namespace vespin;

namespace {

constexpr int DragSteps = 20000;
constexpr int StepsPerLap = 360;
constexpr int Cascades = 500;
constexpr int WarmUp = 20;

using bench::report;
using bench::Samples;

[[noreturn]] void giveUp(const char *why)
{
    bench::giveUp("bench_play", why);
}

// Qt merges widget updates and paints them from a posted request; delivering
// that request here does at once what the event loop would do a little later,
// so its cost can be timed apart from everything else the loop might run.
void showPendingUpdates(QWidget &window)
{
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &request);
}

int card(int suit, int value) // suit 0 clubs .. 3 spades
{
    return suit * 13 + value;
}

using Columns = std::array<std::vector<int>, 8>;

// Puts all 52 cards face up in the given columns, bottom card first, with
// the records as a deal leaves them, and paints the table afresh. Positions
// of our own make the timed work the same on every run.
void lay(TfrmMain &window, const Columns &columns)
{
    TableModel &t = window.table();
    const CardLibrary &cards = window.cards();
    VespinSurface *surface = window.surface()->handle();
    cards.SetDefaultValues();
    t.FoundationUsed.fill(false);
    t.FoundationCounter.fill(0);
    t.Score = 0;
    int laid = 0;
    for (int c = 1; c <= 8; ++c) {
        const std::vector<int> &column = columns[std::size_t(c - 1)];
        const int n = int(column.size());
        t.TableauCounter[c] = n;
        for (int r = 1; r <= n; ++r) {
            const int k = column[std::size_t(r - 1)];
            t.Tableau[c][r] = k;
            cards.DealCard(surface, k, ColumnX[c], rowY(t.TableTop, r));
            cards.SetUser3(k, r);
            cards.SetUser4(k, c);
            cards.AdjustCardBlocked(k, r < n);
            ++laid;
        }
    }
    if (laid != CardCount)
        giveUp("a position does not hold the 52 cards");
    window.surface()->refresh();
    QCoreApplication::processEvents();
}

// Column 1 is one block of 13 cards headed by the King of spades; no column
// ends in an Ace, and no drop back to where a drag began is legal.
Columns blockPosition()
{
    Columns columns;
    columns[0] = {card(3, 13), card(1, 5), card(2, 9), card(0, 12), card(1, 2), card(2, 6), card(0, 8),
                  card(3, 3),  card(1, 11), card(2, 4), card(0, 7), card(3, 10), card(1, 7)};
    std::vector<int> rest;
    for (int k = 1; k <= CardCount; ++k)
        if (std::find(columns[0].begin(), columns[0].end(), k) == columns[0].end())
            rest.push_back(k);
    // Aces go to the bottom rows, never on top.
    std::stable_partition(rest.begin(), rest.end(), [](int k) { return (k - 1) % 13 == 0; });
    const std::array<int, 7> sizes{6, 6, 6, 6, 5, 5, 5};
    std::size_t next = 0;
    for (int c = 1; c < 8; ++c)
        for (int r = 0; r < sizes[std::size_t(c - 1)]; ++r)
            columns[std::size_t(c)].push_back(rest[next++]);
    return columns;
}

// Column 2 holds the 10 of clubs down to the Ace, covered by the 5 of hearts;
// the 6 of hearts ends column 3. Moving the 5 onto the 6 frees the Ace, and
// the automatic moves then take the clubs up one by one, ten in all; nothing
// else can follow them.
Columns cascadePosition()
{
    Columns columns;
    for (int v = 10; v >= 1; --v)
        columns[1].push_back(card(0, v));
    columns[1].push_back(card(2, 5));
    columns[2] = {card(0, 11), card(3, 7), card(2, 6)};
    columns[0] = {card(1, 1), card(0, 12), card(3, 9), card(1, 13), card(2, 2)};
    columns[3] = {card(2, 1), card(0, 13), card(1, 8), card(3, 4), card(1, 6)};
    columns[4] = {card(3, 1), card(1, 3), card(2, 11), card(3, 12), card(2, 8)};
    columns[5] = {card(1, 2), card(2, 13), card(3, 5), card(1, 10), card(3, 11)};
    columns[6] = {card(2, 3), card(1, 4), card(3, 2), card(2, 9), card(1, 12), card(3, 8)};
    columns[7] = {card(3, 3), card(2, 4), card(1, 5), card(3, 6), card(2, 7), card(1, 7), card(2, 10),
                  card(1, 9), card(3, 10), card(2, 12), card(1, 11), card(3, 13)};
    return columns;
}

struct StepTimes {
    Samples step;          // FormMouseMove alone
    Samples stepAndScreen; // FormMouseMove, then the touched area copied to the window
};

// Laps of drags of the card taken at `grab`, each ended by a drop back where
// it began, which the rules refuse.
StepTimes timeDrag(TfrmMain &window, QPoint grab, bool block, int steps)
{
    TablePlay &play = window.play();
    const std::vector<QPoint> path = bench::dragPath(window.table().TableTop, window.surface()->height(), StepsPerLap);
    StepTimes times;
    QElapsedTimer timer;
    while (int(times.step.size()) < steps) {
        play.FormMouseDown(Qt::LeftButton, grab.x(), grab.y());
        if (block ? !play.BlockDragging : !play.SingleDragging)
            giveUp(block ? "the press did not start a block drag" : "the press did not start a single drag");
        for (const QPoint &p : path) {
            timer.start();
            play.FormMouseMove(p.x(), p.y());
            const qint64 step = timer.nsecsElapsed();
            showPendingUpdates(window);
            const qint64 both = timer.nsecsElapsed();
            times.step.push_back(step);
            times.stepAndScreen.push_back(both);
        }
        play.FormMouseMove(grab.x(), grab.y());
        play.FormMouseUp(Qt::LeftButton, grab.x(), grab.y());
        if (window.table().Score != 0)
            giveUp("a drop back to the start moved cards");
        QCoreApplication::processEvents();
    }
    times.step.resize(steps);
    times.stepAndScreen.resize(steps);
    return times;
}

struct ReleaseTimes {
    Samples release;          // FormMouseUp: the drop, the automatic moves, the status check
    Samples releaseAndScreen; // the same, then the window brought up to date
};

ReleaseTimes timeCascades(TfrmMain &window, int count)
{
    TableModel &t = window.table();
    const CardLibrary &cards = window.cards();
    TablePlay &play = window.play();
    const Columns position = cascadePosition();
    const int mover = card(2, 5);
    const int target = card(2, 6);
    ReleaseTimes times;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        lay(window, position);
        const QPoint grab(cards.GetCardX(mover) + CardWidth / 2, cards.GetCardY(mover) + CardHeight / 2);
        const QPoint drop = QPoint(cards.GetCardX(target), cards.GetCardY(target)) + QPoint(CardWidth / 2 + 10, CardHeight / 2 + 20);
        play.FormMouseDown(Qt::LeftButton, grab.x(), grab.y());
        for (int k = 1; k <= 4; ++k)
            play.FormMouseMove(grab.x() + (drop.x() - grab.x()) * k / 4, grab.y() + (drop.y() - grab.y()) * k / 4);
        showPendingUpdates(window);
        timer.start();
        play.FormMouseUp(Qt::LeftButton, drop.x(), drop.y());
        const qint64 release = timer.nsecsElapsed();
        showPendingUpdates(window);
        const qint64 both = timer.nsecsElapsed();
        if (t.Score != 10 || t.TableauCounter[2] != 0)
            giveUp("the drop did not set off the ten automatic moves");
        times.release.push_back(release);
        times.releaseAndScreen.push_back(both);
        QCoreApplication::processEvents();
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::preferOffscreen();
    QApplication app(argc, argv);

    test::TestServices services;
    const std::unique_ptr<TfrmMain> started = bench::startWindow(services, "bench_play", VESPIN_CARDLIB_PATH);
    TfrmMain &window = *started;
    bench::printTableInfo(window);

    const TableModel &t = window.table();
    const CardLibrary &cards = window.cards();
    lay(window, blockPosition());
    // The single card: the top of column 5, taken in its middle; the block:
    // all of column 1, taken by the strip of its King.
    const int single = t.Tableau[5][t.TableauCounter[5]];
    const QPoint singleGrab(cards.GetCardX(single) + CardWidth / 2, cards.GetCardY(single) + CardHeight / 2);
    const QPoint blockGrab(ColumnX[1] + CardWidth / 2, rowY(t.TableTop, 1) + RowStep / 2);
    if (t.TableauCounter[1] != 13)
        giveUp("column 1 does not hold the 13-card block");

    // The first runs fill caches (card art at this ratio, glyphs, allocations).
    timeDrag(window, singleGrab, false, WarmUp * 10);
    timeDrag(window, blockGrab, true, WarmUp * 10);
    timeCascades(window, WarmUp);

    lay(window, blockPosition());
    const StepTimes single1 = timeDrag(window, singleGrab, false, DragSteps);
    const StepTimes block13 = timeDrag(window, blockGrab, true, DragSteps);
    const ReleaseTimes cascade = timeCascades(window, Cascades);

    report("FormMouseMove step, single card", single1.step);
    report("FormMouseMove step + window update, single card", single1.stepAndScreen);
    report("FormMouseMove step, 13-card block", block13.step);
    report("FormMouseMove step + window update, 13-card block", block13.stepAndScreen);
    report("Release with 10 automatic moves (FormMouseUp)", cascade.release);
    report("Release with 10 automatic moves + window update", cascade.releaseAndScreen);
    return 0;
}
