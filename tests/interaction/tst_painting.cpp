#include "TestServices.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"
#include "game/Invariants.h"

#include <QToolBar>

#include <QtTest>

using namespace vespin;

namespace {

constexpr QRgb Green = 0xff008000;

} // namespace

class TestPainting : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tableSitsBelowTheToolbar();
    void hidingAndShowingTheToolbarMovesEveryCardOnce();
    void floatingToolbarMovesTheTableOnceAndThenNothing();
    void refreshWithNothingChangedRedrawsTheSamePicture();
    void finishedGameShowsOnlyTheFoundationMarks();
    void foundationShowsItsTopCard();

private:
    QRgb tablePixel(int x, int y) const
    {
        return m_window->surface()->backingImage().pixel(x, y);
    }

    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<TfrmMain> m_window;
};

void TestPainting::init()
{
    m_services = std::make_unique<test::TestServices>();
    m_services->clock.millisecondsOfDay = 777;
    m_window = std::make_unique<TfrmMain>(m_services->services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    QVERIFY(m_window->isUsable());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->FormActivate();
    QVERIFY(m_window->table().ToolbarHeight > 0);
    QCOMPARE(m_window->table().TableTop, m_window->table().ToolbarHeight);
}

void TestPainting::cleanup()
{
    m_window.reset();
    m_services.reset();
}

void TestPainting::tableSitsBelowTheToolbar()
{
    // On screen, the first row lies 112 pixels below the top of the table
    // widget, whatever TableTop is.
    const QImage shown = m_window->surface()->grab().toImage();
    QCOMPARE(shown.pixel(ColumnX[1] + 35, 111), Green);
    QVERIFY(shown.pixel(ColumnX[1] + 35, 113) != Green);
    QCOMPARE(shown.pixel(ColumnX[5] + 35, 6), Green);
    QVERIFY(shown.pixel(ColumnX[5] + 1, 7 + 48) != Green); // the foundation mark
}

void TestPainting::hidingAndShowingTheToolbarMovesEveryCardOnce()
{
    TableModel &t = m_window->table();
    const CardLibrary &cards = m_window->cards();
    const int h = t.ToolbarHeight;
    auto expectRows = [&](int tableTop) {
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= t.TableauCounter[c]; ++r)
                QCOMPARE(cards.GetCardY(t.Tableau[c][r]), tableTop + 112 + 16 * (r - 1));
    };

    m_window->commands().mnuViewToolbar->trigger();
    QCOMPARE(t.TableTop, 0);
    QVERIFY(!t.RelayoutPending);
    expectRows(0);
    m_window->commands().mnuRefresh->trigger();
    expectRows(0);

    m_window->commands().mnuViewToolbar->trigger();
    QCOMPARE(t.TableTop, h);
    expectRows(h);
    m_window->commands().mnuRefresh->trigger();
    expectRows(h);
}

void TestPainting::floatingToolbarMovesTheTableOnceAndThenNothing()
{
    TableModel &t = m_window->table();
    CommandSurface &c = m_window->commands();
    const CardLibrary &cards = m_window->cards();
    auto firstRowY = [&] { return cards.GetCardY(t.Tableau[1][1]); };
    QCOMPARE(firstRowY(), t.ToolbarHeight + 112);

    // Dragged off its dock, the tool bar becomes a window of its own.
    m_window->removeToolBar(c.Toolbar);
    c.Toolbar->setParent(m_window.get(), Qt::Tool);
    c.Toolbar->show();
    QVERIFY(c.Toolbar->isFloating());
    m_window->ToolbarRecreated();
    QCOMPARE(t.TableTop, 0);
    QCOMPARE(firstRowY(), 112);

    // Hidden and shown again while it floats, it moves nothing.
    c.mnuViewToolbar->trigger();
    QVERIFY(c.Toolbar->isHidden());
    QCOMPARE(t.TableTop, 0);
    QCOMPARE(firstRowY(), 112);
    c.mnuViewToolbar->trigger();
    QCOMPARE(t.TableTop, 0);
    QCOMPARE(firstRowY(), 112);
    QVERIFY2(tableViolations(t, cards).isEmpty(), qPrintable(tableViolations(t, cards).join('\n')));
}

void TestPainting::refreshWithNothingChangedRedrawsTheSamePicture()
{
    const QImage before = m_window->surface()->backingImage().copy();
    m_window->commands().mnuRefresh->trigger();
    QCOMPARE(m_window->surface()->backingImage(), before);
}

void TestPainting::finishedGameShowsOnlyTheFoundationMarks()
{
    TableModel &t = m_window->table();
    const int top = t.TableTop;
    t.GameFinished = true;
    m_window->commands().mnuRefresh->trigger();
    for (int c = 1; c <= 8; ++c)
        QCOMPARE(tablePixel(ColumnX[c] + 35, top + 112 + 50), Green);
    for (int c = 1; c <= 4; ++c)
        QCOMPARE(tablePixel(ColumnX[c] + 35, top + 7 + 48), Green);
    for (int f = 5; f <= 8; ++f)
        QVERIFY(tablePixel(ColumnX[f] + 1, top + 7 + 48) != Green);
}

void TestPainting::foundationShowsItsTopCard()
{
    TableModel &t = m_window->table();
    const CardLibrary &cards = m_window->cards();
    const int top = t.TableTop;
    const QImage empty = m_window->surface()->backingImage().copy(ColumnX[6], top + 7, 71, 96);

    // Put the exposed card of column 1 on foundation 6 by hand.
    const int card = t.Tableau[1][t.TableauCounter[1]];
    --t.TableauCounter[1];
    t.Foundation[6][1] = card;
    t.FoundationCounter[6] = 1;
    cards.DealCard(m_window->surface()->handle(), card, ColumnX[6], top + 7);
    m_window->commands().mnuRefresh->trigger();
    QVERIFY(m_window->surface()->backingImage().copy(ColumnX[6], top + 7, 71, 96) == empty); // not used yet

    t.FoundationUsed[6] = true;
    m_window->commands().mnuRefresh->trigger();
    const QImage shown = m_window->surface()->backingImage().copy(ColumnX[6], top + 7, 71, 96);
    QVERIFY(shown != empty);
    // Painting disables foundation cards: they can no longer be picked up.
    QCOMPARE(cards.PointInCardTop(ColumnX[6] + 30, top + 7 + 30), 0);
}

QTEST_MAIN(TestPainting)
#include "tst_painting.moc"
