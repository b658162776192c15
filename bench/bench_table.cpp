// Times the table's hot paths on the real card library: one step of a card
// drag, one deal, one full refresh. Prints figures; judging them is left to
// whoever reads them.

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
#include <cmath>
#include <cstdio>
#include <numbers>
#include <numeric>
#include <vector>

using namespace vespin;

namespace {

constexpr int DragSteps = 20000;
constexpr int StepsPerLap = 360;
constexpr int Deals = 1000;
constexpr int Refreshes = 1000;
constexpr int WarmUp = 20;

using bench::report;
using bench::Samples;

// Qt merges widget updates and paints them from a posted request; delivering
// that request here does at once what the event loop would do a little later,
// so its cost can be timed apart from everything else the loop might run.
void showPendingUpdates(QWidget &window)
{
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &request);
}

// Each operation timed alone, and again with the window update that shows
// its result (the touched area copied to the window).
struct Timings {
    Samples alone;
    Samples withScreen;
};

Timings timeDrag(TfrmMain &window, int steps)
{
    TableModel &t = window.table();
    const CardLibrary &cards = window.cards();
    VespinSurface *surface = window.surface()->handle();
    const std::vector<QPoint> path = bench::dragPath(t.TableTop, window.surface()->height(), StepsPerLap);

    Timings times;
    QElapsedTimer timer;
    int column = 1;
    while (int(times.alone.size()) < steps) {
        const int row = t.TableauCounter[column];
        if (row > 0) {
            const int card = t.Tableau[column][row];
            const QPoint grab(ColumnX[column] + CardWidth / 2, rowY(t.TableTop, row) + CardHeight / 2);
            const QPoint home(cards.GetCardX(card), cards.GetCardY(card));
            if (cards.InitDrag(surface, grab.x(), grab.y()) != card) {
                std::fprintf(stderr, "bench_table: InitDrag at %d,%d did not pick up card %d\n", grab.x(),
                             grab.y(), card);
                std::exit(1);
            }
            for (const QPoint &p : path) {
                timer.start();
                cards.DoDrag(surface, p.x(), p.y());
                const qint64 drag = timer.nsecsElapsed();
                showPendingUpdates(window);
                const qint64 both = timer.nsecsElapsed();
                times.alone.push_back(drag);
                times.withScreen.push_back(both);
            }
            cards.ReturnDrag(surface, card, home.x(), home.y());
            cards.AbortDrag();
            QCoreApplication::processEvents();
        }
        column = column % 8 + 1;
    }
    times.alone.resize(steps);
    times.withScreen.resize(steps);
    return times;
}

Timings timeDeals(TfrmMain &window, test::TestServices &services, int deals)
{
    Timings times;
    QElapsedTimer timer;
    for (int i = 0; i < deals; ++i) {
        // The deal is drawn from the clock; moving it on gives a new game each time.
        services.clock.millisecondsOfDay = std::uint32_t((i + 1) * 1237 % 86400000);
        timer.start();
        window.mnuNewGameClick();
        const qint64 deal = timer.nsecsElapsed();
        showPendingUpdates(window);
        const qint64 both = timer.nsecsElapsed();
        times.alone.push_back(deal);
        times.withScreen.push_back(both);
        QCoreApplication::processEvents();
    }
    return times;
}

Timings timeRefreshes(TfrmMain &window, int refreshes)
{
    Timings times;
    QElapsedTimer timer;
    for (int i = 0; i < refreshes; ++i) {
        timer.start();
        window.surface()->refresh();
        const qint64 refresh = timer.nsecsElapsed();
        showPendingUpdates(window);
        const qint64 both = timer.nsecsElapsed();
        times.alone.push_back(refresh);
        times.withScreen.push_back(both);
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
    const std::unique_ptr<TfrmMain> started = bench::startWindow(services, "bench_table", VESPIN_CARDLIB_PATH);
    TfrmMain &window = *started;
    bench::printTableInfo(window);

    // The first runs fill caches (card art at this ratio, glyphs, allocations).
    timeDrag(window, WarmUp * 10);
    timeDeals(window, services, WarmUp);
    timeRefreshes(window, WarmUp);

    // The drag runs on a dealt table, as in play; the deal runs last since it
    // leaves a different table each time.
    const Timings drag = timeDrag(window, DragSteps);
    const Timings refresh = timeRefreshes(window, Refreshes);
    const Timings deal = timeDeals(window, services, Deals);

    report("DoDrag step", drag.alone);
    report("DoDrag step + window update", drag.withScreen);
    report("Deal (mnuNewGameClick)", deal.alone);
    report("Deal + window update", deal.withScreen);
    report("Refresh (surface()->refresh())", refresh.alone);
    report("Refresh + window update", refresh.withScreen);
    return 0;
}
