#include "TablePositions.h"

#include "game/Invariants.h"
#include "interaction/TableSurface.h"

#include <QAction>
#include <QtTest>

namespace vespin::test {

void lay(TfrmMain &w, const Columns &columns, const std::array<int, 8> &faceDown, const std::array<int, 4> &foundations)
{
    TableModel &t = w.table();
    const CardLibrary &cards = w.cards();
    VespinSurface *surface = w.surface()->handle();
    CardSet absent;
    absent.set().reset(0);
    cards.SetDefaultValues();
    t.FoundationUsed.fill(false);
    t.FoundationCounter.fill(0);
    int onFoundations = 0;
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        const int count = foundations[std::size_t(f - FirstFoundation)];
        t.FoundationCounter[f] = count;
        t.FoundationUsed[f] = count > 0;
        for (int k = 1; k <= count; ++k) {
            const int card = (f - FirstFoundation) * 13 + k;
            t.Foundation[f][k] = card;
            absent.reset(std::size_t(card));
            cards.DealCard(surface, card, ColumnX[f], t.TableTop + 7);
            cards.SetCardDisabled(card, 1);
        }
        onFoundations += count;
    }
    for (int c = 1; c <= 8; ++c) {
        const std::vector<int> &column = columns[std::size_t(c - 1)];
        const int n = int(column.size());
        t.TableauCounter[c] = n;
        for (int r = 1; r <= n; ++r) {
            const int card = column[std::size_t(r - 1)];
            t.Tableau[c][r] = card;
            absent.reset(std::size_t(card));
            if (r <= faceDown[std::size_t(c - 1)])
                cards.SetCardStatus(card, 0);
            cards.DealCard(surface, card, ColumnX[c], rowY(t.TableTop, r));
            cards.SetUser3(card, r);
            cards.SetUser4(card, c);
            cards.AdjustCardBlocked(card, r < n);
        }
    }
    t.Score = onFoundations;
    // The cards left out are no fault of the play that follows.
    allowAbsentCards(t, absent);
    w.GameTimer.stop();
    w.commands().mnuUndo->setEnabled(false);
    w.surface()->refresh();
}

QPoint corner(TfrmMain &w, int card)
{
    return QPoint(w.cards().GetCardX(card), w.cards().GetCardY(card));
}

void press(TfrmMain &w, Qt::MouseButton button, QPoint at)
{
    QTest::mousePress(w.surface(), button, {}, w.surface()->toWidget(at));
}

void moveTo(TfrmMain &w, QPoint at)
{
    QTest::mouseMove(w.surface(), w.surface()->toWidget(at));
}

void release(TfrmMain &w, Qt::MouseButton button, QPoint at)
{
    QTest::mouseRelease(w.surface(), button, {}, w.surface()->toWidget(at));
}

void dragCard(TfrmMain &w, int card, QPoint to)
{
    const QPoint grab(20, 8);
    const QPoint from = corner(w, card) + grab;
    press(w, Qt::LeftButton, from);
    const QPoint target = to + grab;
    for (int step = 1; step <= 4; ++step)
        moveTo(w, from + (target - from) * step / 4);
    release(w, Qt::LeftButton, target);
}

} // namespace vespin::test
