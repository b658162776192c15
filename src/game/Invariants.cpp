#include "Invariants.h"

#include "interaction/CardLibrary.h"

#include <array>

namespace vespin {

QStringList tableViolations(const TableModel &t, const CardLibrary &cards, bool settled, const CardSet &mayBeAbsent)
{
    QStringList broken;
    auto fail = [&broken](const QString &what) { broken << what; };

    std::array<int, CardCount + 1> seen{};
    int total = 0;
    for (int c = 1; c <= 8; ++c) {
        const int count = t.TableauCounter[c];
        if (count < 0 || count > MaxColumnCards) {
            fail(QStringLiteral("column %1 counts %2 cards").arg(c).arg(count));
            continue;
        }
        total += count;
        bool faceDownRun = true;
        for (int r = 1; r <= count; ++r) {
            const int card = t.Tableau[c][r];
            if (card < 1 || card > CardCount) {
                fail(QStringLiteral("column %1 row %2 holds %3").arg(c).arg(r).arg(card));
                continue;
            }
            ++seen[std::size_t(card)];
            if (cards.GetUser4(card) != c || cards.GetUser3(card) != r)
                fail(QStringLiteral("card %1 at %2/%3 is recorded at %4/%5")
                         .arg(card).arg(c).arg(r).arg(cards.GetUser4(card)).arg(cards.GetUser3(card)));
            if (cards.GetCardX(card) != ColumnX[c] || cards.GetCardY(card) != rowY(t.TableTop, r))
                fail(QStringLiteral("card %1 at %2/%3 lies at (%4, %5)")
                         .arg(card).arg(c).arg(r).arg(cards.GetCardX(card)).arg(cards.GetCardY(card)));
            if (bool(cards.GetCardBlocked(card)) != (r < count))
                fail(QStringLiteral("card %1 at %2/%3 blocked is %4").arg(card).arg(c).arg(r).arg(cards.GetCardBlocked(card)));
            const bool faceDown = cards.GetCardStatus(card) == 0;
            if (faceDown && (c < 5 || !faceDownRun))
                fail(QStringLiteral("card %1 at %2/%3 lies face down out of place").arg(card).arg(c).arg(r));
            if (!faceDown)
                faceDownRun = false;
            if (settled && faceDown && r == count)
                fail(QStringLiteral("column %1 ends face down").arg(c));
        }
    }

    int score = 0;
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        const int count = t.FoundationCounter[f];
        if (count < 0 || count > 13) {
            fail(QStringLiteral("foundation %1 counts %2 cards").arg(f).arg(count));
            continue;
        }
        total += count;
        score += count;
        if (t.FoundationUsed[f] != (count > 0))
            fail(QStringLiteral("foundation %1 used is %2 with %3 cards").arg(f).arg(t.FoundationUsed[f]).arg(count));
        for (int k = 1; k <= count; ++k) {
            const int card = t.Foundation[f][k];
            if (card < 1 || card > CardCount) {
                fail(QStringLiteral("foundation %1 place %2 holds %3").arg(f).arg(k).arg(card));
                continue;
            }
            ++seen[std::size_t(card)];
            if (cards.GetCardValue(card) != k || cards.GetCardSuit(card) != cards.GetCardSuit(t.Foundation[f][1]))
                fail(QStringLiteral("foundation %1 place %2 holds card %3").arg(f).arg(k).arg(card));
            if (cards.GetCardX(card) != ColumnX[f] || cards.GetCardY(card) != t.TableTop + FoundationRowY)
                fail(QStringLiteral("foundation card %1 lies at (%2, %3)").arg(card).arg(cards.GetCardX(card)).arg(cards.GetCardY(card)));
        }
        // The records have no disabled flag to read; the top card of a
        // foundation must at least not be offered to the mouse.
        if (count > 0 && cards.PointInCardTop(ColumnX[f] + CardWidth / 2, t.TableTop + FoundationRowY + CardHeight / 2) != 0)
            fail(QStringLiteral("foundation %1 offers a card to the mouse").arg(f));
    }

    int absent = 0;
    for (int card = 1; card <= CardCount; ++card) {
        if (seen[std::size_t(card)] == 0 && mayBeAbsent[std::size_t(card)])
            ++absent;
        else if (seen[std::size_t(card)] != 1)
            fail(QStringLiteral("card %1 stands %2 times").arg(card).arg(seen[std::size_t(card)]));
    }
    if (total + absent != CardCount)
        fail(QStringLiteral("the counters add up to %1").arg(total));
    if (settled && t.Score != score)
        fail(QStringLiteral("the score is %1 with %2 cards up").arg(t.Score).arg(score));
    return broken;
}

#ifndef NDEBUG

namespace {

// The table that holds a partial position, and the cards left out of it.
struct PartialPosition {
    const TableModel *table = nullptr;
    CardSet absent;
};
PartialPosition partial;

} // namespace

void allowAbsentCards(const TableModel &table, const CardSet &absent)
{
    partial = {&table, absent};
}

void checkTable(const TableModel &table, const CardLibrary &cards, bool settled, const char *operation)
{
    QStringList broken = tableViolations(table, cards, settled);
    if (partial.table == &table) {
        if (broken.isEmpty())
            partial = {}; // all 52 are back: a game is on the table
        else
            broken = tableViolations(table, cards, settled, partial.absent);
    }
    if (!broken.isEmpty())
        qFatal("The table is broken after %s:\n    %s", operation, qPrintable(broken.join(QStringLiteral("\n    "))));
}

#endif

} // namespace vespin
