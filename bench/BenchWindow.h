#pragma once

// What the table benchmarks share: the game's window started as for play,
// and the mouse path their drags follow.

#include "TestServices.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <vector>

namespace vespin::bench {

// Before the application exists: the offscreen platform unless another was
// asked for, so that only the drawing is timed.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

[[noreturn]] inline void giveUp(const char *program, const char *why)
{
    std::fprintf(stderr, "%s: %s\n", program, why);
    std::exit(1);
}

// The main window on the real card library, shown, started and with its
// first events run; ends the program when it cannot be.
inline std::unique_ptr<TfrmMain> startWindow(test::TestServices &services, const char *program, const char *cardLibrary)
{
    auto window = std::make_unique<TfrmMain>(services.services(), QString::fromLocal8Bit(cardLibrary));
    if (!window->isUsable())
        giveUp(program, "the card library is not usable");
    window->options().Prompts = false;
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        giveUp(program, "the window was never exposed");
    window->FormActivate();
    QCoreApplication::processEvents();
    return window;
}

inline void printTableInfo(const TfrmMain &window)
{
    const QImage &backing = window.surface()->backingImage();
    std::printf("platform %s, device pixel ratio %g, table backing image %dx%d\n",
                qPrintable(QGuiApplication::platformName()), window.surface()->devicePixelRatioF(), backing.width(),
                backing.height());
}

// A lap around the middle of the table, a few pixels per step as a quick
// hand moves the mouse, passing over every column.
inline std::vector<QPoint> dragPath(int tableTop, int tableHeight, int steps)
{
    const double cx = TfrmMain::TableWidth / 2.0;
    const double cy = tableTop + tableHeight / 2.0;
    const double rx = cx - CardWidth;
    const double ry = std::max(20.0, tableHeight / 2.0 - CardHeight / 2.0);
    std::vector<QPoint> path;
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * std::numbers::pi * i / steps;
        path.emplace_back(int(std::lround(cx + rx * std::cos(a))), int(std::lround(cy + ry * std::sin(a))));
    }
    return path;
}

} // namespace vespin::bench
