// Random play on a few hundred deals through the real table widget: the
// mouse as a hurried or clumsy player uses it, and Undo. The rules are
// written out a second time here, independently of the play code, so that a
// drop the program takes or refuses wrongly shows up, not only a table that
// falls apart. Every run plays the same games and the same actions; a
// failure prints the game and the mouse events that led to it.

#include "TestServices.h"
#include "game/Invariants.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

using namespace vespin;

namespace {

constexpr int LowGames = 150;     // game numbers 1..150
constexpr int SpreadGames = 150;  // and these many drawn from the whole range
constexpr int ActionsPerGame = 50;
constexpr std::uint32_t SpreadSeed = 0x5eed0001;
constexpr std::uint32_t ActionSeed = 0x5eed0002;

std::vector<std::int32_t> gameNumbers()
{
    std::vector<std::int32_t> games;
    for (int n = 1; n <= LowGames; ++n)
        games.push_back(n);
    std::mt19937 random(SpreadSeed);
    // The deal draws its numbers below 2^31 - 1; the same range here.
    std::uniform_int_distribution<std::int32_t> spread(LowGames + 1, 2147483646);
    for (int i = 0; i < SpreadGames; ++i)
        games.push_back(spread(random));
    return games;
}

// Where a card is in the model: a column and row, or a foundation.
struct Place {
    int column = 0;
    int row = 0;
    int foundation = 0;
    bool operator==(const Place &) const = default;
};

// Every card's place, by card number; read from the model's arrays alone.
using Places = std::array<Place, CardCount + 1>;

Places locateAll(const TableModel &t)
{
    Places places{};
    auto put = [&places](int card, Place p) {
        if (card >= 1 && card <= CardCount)
            places[std::size_t(card)] = p;
    };
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= std::min(t.TableauCounter[c], MaxColumnCards); ++r)
            put(t.Tableau[c][r], {c, r, 0});
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        for (int k = 1; k <= std::min(t.FoundationCounter[f], 13); ++k)
            put(t.Foundation[f][k], {0, k, f});
    return places;
}

Place locate(const TableModel &t, int card)
{
    return locateAll(t)[std::size_t(card)];
}

// Everything of the table a player can see or the next move depends on: the
// model's columns and foundations and every card's record.
struct Snapshot {
    struct Card {
        Place place;
        int x, y, status, blocked, user3, user4;
        bool operator==(const Card &) const = default;
    };
    std::array<Card, CardCount + 1> cards{};
    ColumnArray counters{};
    FoundationArray foundationCounters{};
    std::int32_t score = 0;

    Snapshot(const TableModel &t, const CardLibrary &c)
        : counters(t.TableauCounter), foundationCounters(t.FoundationCounter), score(t.Score)
    {
        const Places places = locateAll(t);
        for (int card = 1; card <= CardCount; ++card)
            cards[std::size_t(card)] = {places[std::size_t(card)], c.GetCardX(card),   c.GetCardY(card),
                                        c.GetCardStatus(card),     c.GetCardBlocked(card), c.GetUser3(card),
                                        c.GetUser4(card)};
    }

    // The differences, one line each; empty when the two are the same.
    QStringList differences(const Snapshot &now) const
    {
        QStringList lines;
        auto where = [](const Place &p) {
            return p.foundation ? QStringLiteral("foundation %1/%2").arg(p.foundation).arg(p.row)
                                : QStringLiteral("column %1/%2").arg(p.column).arg(p.row);
        };
        for (int c = 1; c <= 8; ++c)
            if (counters[c] != now.counters[c])
                lines << QStringLiteral("column %1 counts %2, was %3").arg(c).arg(now.counters[c]).arg(counters[c]);
        for (int f = FirstFoundation; f <= LastFoundation; ++f)
            if (foundationCounters[f] != now.foundationCounters[f])
                lines << QStringLiteral("foundation %1 counts %2, was %3")
                             .arg(f).arg(now.foundationCounters[f]).arg(foundationCounters[f]);
        if (score != now.score)
            lines << QStringLiteral("score %1, was %2").arg(now.score).arg(score);
        for (int card = 1; card <= CardCount; ++card) {
            const Card &a = cards[std::size_t(card)];
            const Card &b = now.cards[std::size_t(card)];
            if (a == b)
                continue;
            lines << QStringLiteral("card %1: %2 at (%3, %4) status %5 blocked %6 user %7/%8, was %9 at (%10, %11) "
                                    "status %12 blocked %13 user %14/%15")
                         .arg(card).arg(where(b.place)).arg(b.x).arg(b.y).arg(b.status).arg(b.blocked).arg(b.user4)
                         .arg(b.user3).arg(where(a.place)).arg(a.x).arg(a.y).arg(a.status).arg(a.blocked).arg(a.user4)
                         .arg(a.user3);
        }
        return lines;
    }
};

// One mouse event at a table point; a left drag is a list of these, so that
// the same drag can be played again after an undo.
struct MouseStep {
    enum Kind { Press, Move, Release, DoubleClick } kind;
    Qt::MouseButton button;
    QPoint at;
};
using Gesture = std::vector<MouseStep>;

QString describe(const Gesture &gesture)
{
    QStringList parts;
    for (const MouseStep &s : gesture) {
        const char *button = s.button == Qt::LeftButton    ? "L"
                             : s.button == Qt::RightButton ? "R"
                             : s.button == Qt::MiddleButton ? "M"
                                                            : "";
        const char *kind = s.kind == MouseStep::Press     ? "+"
                           : s.kind == MouseStep::Release ? "-"
                           : s.kind == MouseStep::DoubleClick ? "2"
                                                          : "";
        parts << QStringLiteral("%1%2(%3,%4)").arg(button, kind).arg(s.at.x()).arg(s.at.y());
    }
    return parts.join(' ');
}

class Soak {
public:
    struct Figures {
        int games = 0;
        int releases = 0;
        int legalMoves = 0;
        int refusedDrops = 0;
        int undos = 0;
        int peeks = 0;
        int wins = 0;
        int interruptedDrags = 0;
    };

    Soak(TfrmMain &window) : w(window), t(window.table()), cards(window.cards()) {}

    // Plays one game; false with failure() set at the first fault.
    bool play(std::int32_t gameNumber);
    QString failure() const { return m_failure; }
    const Figures &figures() const { return m_figures; }

private:
    enum class Drop { Legal, Random };

    bool fail(const QString &what);
    bool tableWhole(const char *after);
    bool sameAs(const Snapshot &expected, const char *after);
    bool leftDrag(Drop kind);
    bool undo();
    bool peek();
    bool click();
    // A drag cut into by a command, a dialog, Undo, a deal, minimising, a
    // menu or another window: it must end as a refused drop first.
    bool interruptedDrag();
    bool toTheFront();
    void send(const MouseStep &step);
    void run(const Gesture &gesture);

    // Face-up cards in the columns, and those among them with a legal drop.
    std::vector<int> faceUpCards() const;
    std::vector<int> cardsWithALegalDrop() const;
    std::vector<int> emptyColumns() const;
    // Where a drop with the dragged card's corner here ends by the rules:
    // the column, or 0 when the card goes back.
    int ruledDestination(int card, QPoint corner, int sourceColumn) const;
    // A point of the card the mouse can take it by: any point of an exposed
    // card, the visible strip of a covered one.
    QPoint grabPoint(int card);
    QPoint randomTablePoint();
    int pick(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(m_random); }
    bool chance(int percent) { return pick(0, 99) < percent; }

    TfrmMain &w;
    TableModel &t;
    const CardLibrary &cards;
    std::mt19937 m_random;
    std::int32_t m_game = 0;
    int m_step = 0;
    QStringList m_log;
    QString m_failure;
    Figures m_figures;
    // The table before the last legal move, while Undo may take it back.
    std::optional<Snapshot> m_beforeLastMove;
    // Set when an interruption dealt another game: this one is over.
    bool m_dealtElsewhere = false;
    QWidget m_otherWindow;
};

bool Soak::fail(const QString &what)
{
    const QString when = m_step > ActionsPerGame ? QStringLiteral("after its actions")
                                                 : QStringLiteral("action %1").arg(m_step);
    m_failure = QStringLiteral("game %1, %2: %3\nactions of this game (table points):\n  %4")
                    .arg(m_game).arg(when, what, m_log.join(QStringLiteral("\n  ")));
    return false;
}

bool Soak::tableWhole(const char *after)
{
    const QStringList broken = tableViolations(t, cards);
    if (!broken.isEmpty())
        return fail(QStringLiteral("after %1 the table is broken:\n    %2").arg(QLatin1String(after), broken.join(QStringLiteral("\n    "))));
    // No peek picture may outlive its peek.
    const VespinSurface *surface = w.surface()->handle();
    for (int i = 0; i < surface->itemCount; ++i) {
        const VespinItem &item = surface->items[i];
        if (item.kind == VESPIN_ITEM_IMAGE && item.id > CardCount)
            return fail(QStringLiteral("after %1 the peek picture of card %2 is still on the table")
                            .arg(QLatin1String(after)).arg(item.id - CardCount));
    }
    return true;
}

bool Soak::sameAs(const Snapshot &expected, const char *after)
{
    const QStringList changed = expected.differences(Snapshot(t, cards));
    if (!changed.isEmpty())
        return fail(QStringLiteral("after %1 the table changed:\n    %2").arg(QLatin1String(after), changed.join(QStringLiteral("\n    "))));
    return true;
}

void Soak::send(const MouseStep &step)
{
    TableSurface *surface = w.surface();
    const QPoint at = surface->toWidget(step.at);
    switch (step.kind) {
    case MouseStep::Press: QTest::mousePress(surface, step.button, {}, at); break;
    case MouseStep::Move: QTest::mouseMove(surface, at); break;
    case MouseStep::Release: QTest::mouseRelease(surface, step.button, {}, at); break;
    case MouseStep::DoubleClick: QTest::mouseDClick(surface, step.button, {}, at); break;
    }
}

void Soak::run(const Gesture &gesture)
{
    m_log << describe(gesture);
    for (const MouseStep &step : gesture)
        send(step);
}

std::vector<int> Soak::faceUpCards() const
{
    std::vector<int> found;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= t.TableauCounter[c]; ++r)
            if (cards.GetCardStatus(t.Tableau[c][r]) == 1)
                found.push_back(t.Tableau[c][r]);
    return found;
}

std::vector<int> Soak::emptyColumns() const
{
    std::vector<int> found;
    for (int c = 1; c <= 8; ++c)
        if (t.TableauCounter[c] == 0)
            found.push_back(c);
    return found;
}

std::vector<int> Soak::cardsWithALegalDrop() const
{
    const bool emptyColumn = !emptyColumns().empty();
    const Places places = locateAll(t);
    std::vector<int> found;
    for (int card : faceUpCards()) {
        const Place from = places[std::size_t(card)];
        if ((card - 1) % 13 + 1 == 13) {
            // A King from row 1 would only change columns.
            if (emptyColumn && from.row > 1)
                found.push_back(card);
            continue;
        }
        const Place target = places[std::size_t(card + 1)];
        if (target.column != 0 && target.column != from.column && target.row == t.TableauCounter[target.column])
            found.push_back(card);
    }
    return found;
}

int Soak::ruledDestination(int card, QPoint corner, int sourceColumn) const
{
    if ((card - 1) % 13 + 1 == 13) {
        for (int c = 1; c <= 8; ++c)
            if (t.TableauCounter[c] == 0 && std::abs(corner.x() - ColumnX[c]) <= CardWidth)
                return c;
        return 0;
    }
    const Place target = locate(t, card + 1);
    if (target.column == 0 || target.column == sourceColumn || target.row != t.TableauCounter[target.column])
        return 0;
    const QPoint at(ColumnX[target.column], rowY(t.TableTop, target.row));
    const QPoint apart = corner - at;
    return std::abs(apart.x()) < CardWidth && std::abs(apart.y()) < CardHeight ? target.column : 0;
}

QPoint Soak::grabPoint(int card)
{
    const Place p = locate(t, card);
    const bool covered = p.row < t.TableauCounter[p.column];
    return QPoint(cards.GetCardX(card) + pick(0, CardWidth - 1),
                  cards.GetCardY(card) + pick(0, (covered ? RowStep : CardHeight) - 1));
}

QPoint Soak::randomTablePoint()
{
    // Beyond every edge of the table as well: the mouse may leave the window
    // while a button is held.
    return QPoint(pick(-120, TfrmMain::TableWidth + 60), t.TableTop + pick(-120, w.surface()->height() + 60));
}

bool Soak::leftDrag(Drop kind)
{
    std::vector<int> candidates = kind == Drop::Legal ? cardsWithALegalDrop() : std::vector<int>{};
    if (candidates.empty())
        candidates = faceUpCards();
    if (candidates.empty())
        return true;
    const int card = candidates[std::size_t(pick(0, int(candidates.size()) - 1))];
    const Place from = locate(t, card);
    const QPoint start(cards.GetCardX(card), cards.GetCardY(card));
    const QPoint grab = grabPoint(card);

    // Where the corner is meant to go. Aimed drops land anywhere that
    // counts, now and then right at the edge of the reach or one past it.
    QPoint corner;
    const bool king = (card - 1) % 13 + 1 == 13;
    const std::vector<int> empty = emptyColumns();
    auto edge = [this](int reach) { return (chance(50) ? 1 : -1) * (reach + pick(-1, 0)); };
    if (kind == Drop::Legal && king && !empty.empty()) {
        const int c = empty[std::size_t(pick(0, int(empty.size()) - 1))];
        const int dx = chance(20) ? edge(CardWidth + 1) : pick(-CardWidth, CardWidth);
        corner = QPoint(ColumnX[c] + dx, t.TableTop + pick(0, w.surface()->height() - CardHeight));
    } else if (kind == Drop::Legal && !king && locate(t, card + 1).column != 0) {
        const QPoint target(cards.GetCardX(card + 1), cards.GetCardY(card + 1));
        const int dx = chance(20) ? edge(CardWidth) : pick(-CardWidth + 1, CardWidth - 1);
        const int dy = chance(20) ? edge(CardHeight) : pick(-CardHeight + 1, CardHeight - 1);
        corner = target + QPoint(dx, dy);
    } else {
        corner = randomTablePoint();
    }

    const QPoint release = corner + (grab - start);
    Gesture gesture{{MouseStep::Press, Qt::LeftButton, grab}};
    const int moves = pick(1, 5);
    // Now and then the right button goes down and up in the middle of the
    // drag, or just before the drop, or the right or middle button is
    // double-clicked there: the drag goes on all the same.
    const int rightClickAfter = chance(8) ? pick(1, moves) : 0;
    const int doubleClickAfter = chance(5) ? pick(1, moves) : 0;
    for (int k = 1; k <= moves; ++k) {
        gesture.push_back({MouseStep::Move, Qt::NoButton, grab + (release - grab) * k / moves});
        const QPoint here = gesture.back().at;
        if (k == rightClickAfter) {
            gesture.push_back({MouseStep::Press, Qt::RightButton, here});
            gesture.push_back({MouseStep::Release, Qt::RightButton, here});
        }
        if (k == doubleClickAfter) {
            const Qt::MouseButton other = chance(50) ? Qt::RightButton : Qt::MiddleButton;
            for (const MouseStep::Kind kind :
                 {MouseStep::Press, MouseStep::Release, MouseStep::DoubleClick, MouseStep::Release})
                gesture.push_back({kind, other, here});
        }
    }
    gesture.push_back({MouseStep::Release, Qt::LeftButton, release});

    const Snapshot before(t, cards);
    // The press and the moves, then the drop judged by where the card is
    // shown just before the release.
    m_log << describe(gesture);
    for (std::size_t i = 0; i + 1 < gesture.size(); ++i)
        send(gesture[i]);
    const QPoint shown(cards.GetCardX(card), cards.GetCardY(card));
    const int expected = ruledDestination(card, shown, from.column);
    send(gesture.back());
    ++m_figures.releases;
    m_log.last() += QStringLiteral("   [card %1 from column %2/%3, corner shown at (%4, %5): %6]")
                        .arg(card).arg(from.column).arg(from.row).arg(shown.x()).arg(shown.y())
                        .arg(expected ? QStringLiteral("goes to column %1").arg(expected) : QStringLiteral("goes back"));

    if (!tableWhole("a drop"))
        return false;
    const Place now = locate(t, card);
    const bool moved = now.column != from.column;
    if (expected == 0) {
        ++m_figures.refusedDrops;
        if (moved)
            return fail(QStringLiteral("card %1 was taken to %2 although the rules send it back")
                            .arg(card).arg(now.foundation ? QStringLiteral("a foundation") : QStringLiteral("column %1").arg(now.column)));
        return sameAs(before, "a refused drop");
    }
    if (!moved)
        return fail(QStringLiteral("card %1 went back although the rules take it to column %2").arg(card).arg(expected));
    if (now.column != 0 && now.column != expected)
        return fail(QStringLiteral("card %1 went to column %2 instead of column %3").arg(card).arg(now.column).arg(expected));
    ++m_figures.legalMoves;
    m_beforeLastMove = before;

    // While Undo is on, taking the move back must give the table as it was;
    // the same drag again must then give the same table as the first time.
    if (w.commands().mnuUndo->isEnabled()) {
        const Snapshot after(t, cards);
        if (!undo())
            return false;
        m_log << QStringLiteral("the same drag again:");
        run(gesture);
        ++m_figures.releases;
        if (!tableWhole("the drag played again") || !sameAs(after, "the drag played again after its undo"))
            return false;
        m_beforeLastMove = before;
    }
    return true;
}

bool Soak::undo()
{
    m_log << QStringLiteral("Undo");
    w.commands().mnuUndo->trigger();
    ++m_figures.undos;
    if (!tableWhole("an undo"))
        return false;
    if (!m_beforeLastMove)
        return fail(QStringLiteral("Undo was on with no move to take back"));
    const Snapshot expected = *m_beforeLastMove;
    m_beforeLastMove.reset();
    if (w.commands().mnuUndo->isEnabled())
        return fail(QStringLiteral("Undo stays on after taking the move back"));
    return sameAs(expected, "an undo");
}

bool Soak::peek()
{
    // Mostly covered face-up cards, which is what a peek is for; sometimes
    // any point, a face-down card or a foundation included.
    QPoint at = randomTablePoint();
    const std::vector<int> up = faceUpCards();
    if (!up.empty() && chance(80))
        at = grabPoint(up[std::size_t(pick(0, int(up.size()) - 1))]);
    Gesture gesture{{MouseStep::Press, Qt::RightButton, at}};
    const int choice = pick(0, 3);
    if (choice == 1) // stays within the 10 px
        gesture.push_back({MouseStep::Move, Qt::NoButton, at + QPoint(pick(-5, 5), pick(-5, 5))});
    else if (choice == 2) // leaves them
        gesture.push_back({MouseStep::Move, Qt::NoButton, at + QPoint(chance(50) ? 15 : -15, pick(-15, 15))});
    else if (choice == 3) { // the left button pressed and let go during the peek
        gesture.push_back({MouseStep::Press, Qt::LeftButton, at});
        gesture.push_back({MouseStep::Release, Qt::LeftButton, at});
    }
    gesture.push_back({MouseStep::Release, Qt::RightButton, gesture.back().at});

    const Snapshot before(t, cards);
    run(gesture);
    ++m_figures.peeks;
    m_figures.releases += choice == 3 ? 2 : 1;
    return tableWhole("a peek") && sameAs(before, "a peek");
}

bool Soak::toTheFront()
{
    // Minimised or behind another window, the window comes back as the
    // player would bring it: keys reach its commands only while it is active.
    if (w.isMinimized())
        w.showNormal();
    QCoreApplication::processEvents();
    if (!w.isActiveWindow()) {
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w))
            return fail(QStringLiteral("the window did not come back to the front"));
    }
    return true;
}

bool Soak::interruptedDrag()
{
    if (!toTheFront())
        return false;
    const std::vector<int> up = faceUpCards();
    if (up.empty())
        return true;
    const int card = up[std::size_t(pick(0, int(up.size()) - 1))];
    const QPoint grab = grabPoint(card);
    const Snapshot before(t, cards);
    Gesture gesture{{MouseStep::Press, Qt::LeftButton, grab}};
    for (int k = pick(1, 3); k > 0; --k)
        gesture.push_back({MouseStep::Move, Qt::NoButton, randomTablePoint()});
    run(gesture);

    static const char *const kinds[] = {"S", "U", "F2", "Escape", "menu", "another window"};
    QString kind = QString::fromLatin1(kinds[pick(0, int(std::size(kinds)) - 1)]);
    // Off, Undo is no command, and its key leaves the drag alone.
    if (kind == QLatin1String("U") && !w.commands().mnuUndo->isEnabled())
        kind = QStringLiteral("S");
    m_log.last() += QStringLiteral("   [card %1, cut by %2]").arg(card).arg(kind);
    std::optional<Snapshot> expected = before;
    if (kind == QLatin1String("menu")) {
        w.commands().mnuGame->popup(w.mapToGlobal(QPoint(10, 10)));
        w.commands().mnuGame->hide();
    } else if (kind == QLatin1String("another window")) {
        m_otherWindow.show();
        m_otherWindow.activateWindow();
        if (!QTest::qWaitForWindowActive(&m_otherWindow))
            return fail(QStringLiteral("the other window did not come to the front"));
    } else {
        if (kind == QLatin1String("U") && w.commands().mnuUndo->isEnabled()) {
            expected = m_beforeLastMove;
            m_beforeLastMove.reset();
        } else if (kind == QLatin1String("F2")) {
            expected.reset();
            m_dealtElsewhere = true;
        }
        QTest::keyClick(&w, QKeySequence::fromString(kind)[0].key());
    }
    if (w.play().SingleDragging || w.play().BlockDragging)
        return fail(QStringLiteral("the drag went on after %1 (window active: %2, minimised: %3)")
                        .arg(kind).arg(w.isActiveWindow()).arg(w.isMinimized()));
    if (!tableWhole(qPrintable(QStringLiteral("a drag cut by %1").arg(kind))))
        return false;
    if (expected && !sameAs(*expected, "a drag cut into"))
        return false;
    if (!toTheFront())
        return false;
    // The release that comes after drops nothing.
    const Snapshot after(t, cards);
    run({{MouseStep::Release, Qt::LeftButton, randomTablePoint()}});
    ++m_figures.releases;
    ++m_figures.interruptedDrags;
    return tableWhole("the release of a drag cut into") && sameAs(after, "the release of a drag cut into");
}

bool Soak::click()
{
    // A click, sometimes a double click, of either button without moving:
    // on a card of any kind or on a bare part of the table.
    QPoint at = randomTablePoint();
    if (chance(70)) {
        const int card = pick(1, CardCount);
        at = QPoint(cards.GetCardX(card) + pick(0, CardWidth - 1), cards.GetCardY(card) + pick(0, CardHeight - 1));
    }
    const Qt::MouseButton button = chance(75) ? Qt::LeftButton : Qt::RightButton;
    Gesture gesture{{MouseStep::Press, button, at}, {MouseStep::Release, button, at}};
    if (chance(25)) {
        // As Qt delivers a double click: press, release, double click, release.
        gesture.push_back({MouseStep::DoubleClick, button, at});
        gesture.push_back({MouseStep::Release, button, at});
    }
    const Snapshot before(t, cards);
    run(gesture);
    m_figures.releases += int(gesture.size()) / 2;
    return tableWhole("a click") && sameAs(before, "a click");
}

bool Soak::play(std::int32_t gameNumber)
{
    m_game = gameNumber;
    m_step = 0;
    m_log.clear();
    m_beforeLastMove.reset();
    m_dealtElsewhere = false;
    m_random.seed(ActionSeed ^ std::uint32_t(gameNumber));

    t.GameNumber = gameNumber;
    t.PresetGameNumber = true;
    w.commands().mnuNewGame->trigger();
    ++m_figures.games;
    if (t.GameNumber != gameNumber)
        return fail(QStringLiteral("the deal gave game %1").arg(t.GameNumber));
    if (!tableWhole("the deal"))
        return false;

    for (m_step = 1; m_step <= ActionsPerGame && t.Score < CardCount; ++m_step) {
        const int roll = pick(0, 99);
        bool ok = true;
        if (roll < 10 && w.commands().mnuUndo->isEnabled())
            ok = undo();
        else if (roll < 13)
            ok = interruptedDrag();
        else if (roll < 40)
            ok = leftDrag(Drop::Legal);
        else if (roll < 65)
            ok = leftDrag(Drop::Random);
        else if (roll < 82)
            ok = peek();
        else
            ok = click();
        if (!ok)
            return false;
        if (m_dealtElsewhere)
            break;
    }
    if (t.Score == CardCount)
        ++m_figures.wins;

    // What the table shows must be what a full repaint from the model draws:
    // a picture left behind or missing shows up here.
    const QImage shown = w.surface()->backingImage().copy();
    w.surface()->refresh();
    if (w.surface()->backingImage() != shown) {
        m_step = ActionsPerGame + 1;
        const QImage &fresh = w.surface()->backingImage();
        QRect differs;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != fresh.pixel(x, y))
                    differs |= QRect(x, y, 1, 1);
        return fail(QStringLiteral("the table shows something else than a repaint draws, in the device pixels "
                                   "(%1, %2) %3x%4")
                        .arg(differs.x()).arg(differs.y()).arg(differs.width()).arg(differs.height()));
    }
    // Lets the window catch up, as the event loop would between moves.
    QCoreApplication::processEvents();
    return true;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void randomPlayKeepsTheTableWhole();
};

void TestSoak::randomPlayKeepsTheTableWhole()
{
    test::TestServices services;
    TfrmMain w(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    QVERIFY(w.isUsable());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.FormActivate();
    QVERIFY(!w.options().Prompts); // a new game must not stop to ask

    QElapsedTimer clock;
    clock.start();
    Soak soak(w);
    for (std::int32_t game : gameNumbers()) {
        if (!soak.play(game))
            QFAIL(qPrintable(soak.failure()));
    }
    const Soak::Figures &f = soak.figures();
    qInfo("%d games, %d releases, %d legal moves, %d drops sent back, %d peeks, %d undos, %d drags cut into, "
          "%d games won, %.1f s",
          f.games, f.releases, f.legalMoves, f.refusedDrops, f.peeks, f.undos, f.interruptedDrags, f.wins,
          clock.elapsed() / 1000.0);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
