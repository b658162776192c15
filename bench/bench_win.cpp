// Times the win animation on the real card library and the real window: the
// whole sequence of 52 flights and each of its frames, once drawing plain
// cards with their trail and once dealing them (Slow Animation). Prints
// figures; judging them is left to whoever reads them.

#include "BenchWindow.h"
#include "Report.h"
#include "TablePositions.h"
#include "TestServices.h"
#include "game/WinAnimation.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>

#include <cstdio>
#include <cstdlib>

using namespace vespin;

namespace {

constexpr int Runs = 5;

struct RunTimes {
    bench::Samples whole;  // one per run
    bench::Samples frames; // every frame of every run
    std::size_t framesPerRun = 0;
};

// The animation as the win sequence runs it, with the same hooks: each frame
// lets the window run, then draws the card.
RunTimes timeAnimation(TfrmMain &window, bool slow)
{
    RunTimes times;
    const CardLibrary &cards = window.cards();
    VespinSurface *surface = window.surface()->handle();
    for (int run = 0; run < Runs; ++run) {
        test::lay(window, {}, {}, {13, 13, 13, 13});
        // The same flights every run: the speeds come from the generator.
        window.table().Random.RandomState = 4711;
        QCoreApplication::processEvents();

        QElapsedTimer whole;
        QElapsedTimer frame;
        std::size_t frames = 0;
        whole.start();
        frame.start();
        runWinAnimation(window.table(),
                        {[&] {
                             QCoreApplication::processEvents();
                             return true;
                         },
                         [&] {
                             const int client = window.height()
                                                - (window.menuBar()->isVisible() ? window.menuBar()->height() : 0);
                             return client - CardHeight;
                         },
                         [&](std::int32_t card, QPoint at) {
                             if (slow)
                                 cards.DealCard(surface, card, at.x(), at.y());
                             else
                                 cards.DrawCard(surface, card, at.x(), at.y());
                             times.frames.push_back(frame.nsecsElapsed());
                             frame.restart();
                             ++frames;
                         }});
        QCoreApplication::processEvents();
        times.whole.push_back(whole.nsecsElapsed());
        times.framesPerRun = frames;
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::preferOffscreen();
    QApplication app(argc, argv);

    test::TestServices services;
    const std::unique_ptr<TfrmMain> started = bench::startWindow(services, "bench_win", VESPIN_CARDLIB_PATH);
    TfrmMain &window = *started;
    std::printf("platform %s, device pixel ratio %g, window %dx%d\n", qPrintable(QGuiApplication::platformName()),
                window.surface()->devicePixelRatioF(), window.width(), window.height());

    // A first run draws the card art at this ratio.
    timeAnimation(window, false);
    for (const bool slow : {false, true}) {
        const RunTimes times = timeAnimation(window, slow);
        const char *mode = slow ? "slow animation (DealCard)" : "normal animation (DrawCard)";
        std::printf("win animation, %s: %zu frames a run\n", mode, times.framesPerRun);
        char what[128];
        std::snprintf(what, sizeof what, "  whole animation, %s", mode);
        bench::report(what, times.whole);
        std::snprintf(what, sizeof what, "  frame, %s", mode);
        bench::report(what, times.frames);
    }
    return 0;
}
