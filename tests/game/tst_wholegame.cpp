#include "TestServices.h"
#include "game/Deal.h"
#include "game/TfrmGameOver.h"
#include "interaction/TableSurface.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

using namespace vespin;

namespace {

// A plain model of the position, kept apart from the program so that the
// program's own play can be held against it. Columns and suits are 0-based
// here; cards keep the program's numbers 1..52.
int suitOf(int card) { return (card - 1) / 13; }
int valueOf(int card) { return (card - 1) % 13 + 1; }

QString cardName(int card)
{
    static const char *const values[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    static const char suits[] = {'C', 'D', 'H', 'S'};
    return QStringLiteral("%1%2").arg(QLatin1String(values[valueOf(card) - 1])).arg(QLatin1Char(suits[suitOf(card)]));
}

struct Position {
    std::array<std::array<std::uint8_t, 52>, 8> col{};
    std::array<std::uint8_t, 8> size{};
    std::array<std::uint8_t, 8> down{}; // the first `down` cards of a column lie face down
    std::array<std::uint8_t, 4> found{}; // cards of each suit on the foundations

    int top(int c) const { return col[c][size[c] - 1]; }
    bool won() const { return found[0] + found[1] + found[2] + found[3] == 52; }

    // The program's moves after every move: to a fixed point, since taking
    // one card up can free the next, and a turned card may itself go up.
    void settle()
    {
        for (bool changed = true; changed;) {
            changed = false;
            for (int c = 0; c < 8; ++c) {
                if (size[c] > 0 && size[c] == down[c]) {
                    --down[c];
                    changed = true;
                }
                if (size[c] > down[c] && valueOf(top(c)) == found[suitOf(top(c))] + 1) {
                    ++found[suitOf(top(c))];
                    --size[c];
                    changed = true;
                }
            }
        }
    }

    std::string key() const
    {
        // Columns are interchangeable for whether a position can be won, so
        // they are sorted before hashing: that merges mirror positions.
        std::array<std::string, 8> parts;
        for (int c = 0; c < 8; ++c) {
            parts[c].push_back(char(down[c]));
            parts[c].append(reinterpret_cast<const char *>(col[c].data()), size[c]);
        }
        std::sort(parts.begin(), parts.end());
        std::string k(reinterpret_cast<const char *>(found.data()), found.size());
        for (const std::string &p : parts) {
            k += p;
            k.push_back(char(0x7f));
        }
        return k;
    }
};

struct Move {
    int from = 0;
    int row = 0; // 0-based row of the block's first card
    int to = 0;
};

Position dealt(std::int32_t gameNumber)
{
    TableModel scratch;
    scratch.GameNumber = gameNumber;
    scratch.PresetGameNumber = true;
    test::FixedClock clock;
    Shuffle(scratch, clock);
    Position p;
    int next = 1;
    for (int c = 0; c < 8; ++c) {
        const int n = c < 4 ? 6 : 7;
        for (int r = 0; r < n; ++r)
            p.col[c][r] = std::uint8_t(scratch.Deck[next++]);
        p.size[c] = std::uint8_t(n);
        p.down[c] = c < 4 ? 0 : 6;
    }
    p.settle();
    return p;
}

Position applied(const Position &p, const Move &m)
{
    Position q = p;
    const int count = p.size[m.from] - m.row;
    for (int k = 0; k < count; ++k)
        q.col[m.to][q.size[m.to] + k] = p.col[m.from][m.row + k];
    q.size[m.to] = std::uint8_t(q.size[m.to] + count);
    q.size[m.from] = std::uint8_t(m.row);
    q.settle();
    return q;
}

class Solver {
public:
    explicit Solver(long nodeLimit) : m_limit(nodeLimit) {}

    bool solve(const Position &start)
    {
        m_line.clear();
        m_seen.clear();
        m_nodes = 0;
        return search(start);
    }

    const std::vector<Move> &line() const { return m_line; }
    long nodes() const { return m_nodes; }

private:
    struct Candidate {
        Move move;
        int score;
    };

    std::vector<Candidate> candidates(const Position &p) const
    {
        std::vector<Candidate> out;
        int emptyColumn = -1;
        for (int c = 0; c < 8; ++c)
            if (p.size[c] == 0) {
                emptyColumn = c;
                break;
            }
        for (int s = 0; s < 8; ++s) {
            for (int r = p.down[s]; r < p.size[s]; ++r) {
                const int head = p.col[s][r];
                std::vector<int> targets;
                if (valueOf(head) == 13) {
                    // A whole column headed by a King gains nothing by moving.
                    if (r > 0 && emptyColumn >= 0)
                        targets.push_back(emptyColumn);
                } else {
                    for (int d = 0; d < 8; ++d)
                        if (d != s && p.size[d] > 0 && p.top(d) == head + 1)
                            targets.push_back(d);
                }
                for (int d : targets) {
                    // Turning a card up and freeing foundation cards are what
                    // make progress; a move that leaves fewer face-up cards over
                    // the face-down ones is the next best thing.
                    const Move m{s, r, d};
                    const Position q = applied(p, m);
                    int score = 0;
                    for (int c = 0; c < 8; ++c)
                        score += 100 * (p.down[c] - q.down[c]);
                    for (int f = 0; f < 4; ++f)
                        score += 60 * (q.found[f] - p.found[f]);
                    if (r == 0)
                        score += 30;
                    if (p.down[s] > 0)
                        score += 20 - (r - p.down[s]);
                    out.push_back({m, score});
                }
            }
        }
        std::stable_sort(out.begin(), out.end(), [](const Candidate &a, const Candidate &b) { return a.score > b.score; });
        return out;
    }

    bool search(const Position &p)
    {
        if (p.won())
            return true;
        if (++m_nodes > m_limit)
            return false;
        if (!m_seen.insert(std::hash<std::string>{}(p.key())).second)
            return false;
        for (const Candidate &c : candidates(p)) {
            m_line.push_back(c.move);
            if (search(applied(p, c.move)))
                return true;
            m_line.pop_back();
            if (m_nodes > m_limit)
                return false;
        }
        return false;
    }

    long m_limit;
    long m_nodes = 0;
    std::unordered_set<std::size_t> m_seen;
    std::vector<Move> m_line;
};

// Where the program's table differs from the model; empty when it does not.
QString difference(TfrmMain &w, const Position &p)
{
    const TableModel &t = w.table();
    const CardLibrary &cards = w.cards();
    QStringList out;
    for (int c = 0; c < 8; ++c) {
        QStringList program, model;
        for (int r = 1; r <= t.TableauCounter[c + 1]; ++r) {
            const int card = t.Tableau[c + 1][r];
            program << (cards.GetCardStatus(card) ? cardName(card) : QStringLiteral("(%1)").arg(cardName(card)));
        }
        for (int r = 0; r < p.size[c]; ++r) {
            const int card = p.col[c][r];
            model << (r < p.down[c] ? QStringLiteral("(%1)").arg(cardName(card)) : cardName(card));
        }
        if (program != model)
            out << QStringLiteral("column %1: program [%2], model [%3]").arg(c + 1).arg(program.join(' '), model.join(' '));
    }
    std::array<int, 4> onFoundation{};
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        const int n = t.FoundationCounter[f];
        if (n == 0)
            continue;
        const int suit = suitOf(t.Foundation[f][1]);
        for (int k = 1; k <= n; ++k)
            if (t.Foundation[f][k] != suit * 13 + k)
                out << QStringLiteral("foundation %1 holds %2 at %3").arg(f).arg(cardName(t.Foundation[f][k])).arg(k);
        onFoundation[std::size_t(suit)] += n;
    }
    for (int s = 0; s < 4; ++s)
        if (onFoundation[std::size_t(s)] != p.found[std::size_t(s)])
            out << QStringLiteral("foundations of %1: program %2, model %3")
                       .arg(QLatin1Char("CDHS"[s]))
                       .arg(onFoundation[std::size_t(s)])
                       .arg(p.found[std::size_t(s)]);
    return out.join('\n');
}

} // namespace

class TestWholeGame : public QObject {
    Q_OBJECT

private slots:
    void solvedLinePlaysToAWinByTheMouse();

private:
    void drag(TfrmMain &w, QPoint from, QPoint to);
};

void TestWholeGame::drag(TfrmMain &w, QPoint from, QPoint to)
{
    TableSurface *surface = w.surface();
    QTest::mousePress(surface, Qt::LeftButton, {}, surface->toWidget(from));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(surface, surface->toWidget(from + (to - from) * step / 4));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, surface->toWidget(to));
}

void TestWholeGame::solvedLinePlaysToAWinByTheMouse()
{
    QElapsedTimer elapsed;
    elapsed.start();

    // A search that fails within its limit says nothing about the deal, so
    // the next known winnable one is tried.
    const std::int32_t winnable[] = {48, 67, 1994, 5555, 7783148, 32541174, 81192381, 1707644967};
    std::int32_t game = 0;
    Position start;
    std::vector<Move> line;
    for (std::int32_t n : winnable) {
        Solver solver(400000);
        start = dealt(n);
        const bool solved = solver.solve(start);
        qInfo("game %d: %s after %ld nodes", n, solved ? "solved" : "not solved", solver.nodes());
        if (solved) {
            game = n;
            line = solver.line();
            break;
        }
    }
    QVERIFY2(game != 0, "no known winnable deal was solved within the node limit");
    {
        // Logged so that a run shows whether the line took the program
        // through blocks and empty columns, not only single cards.
        int blocks = 0, toEmpty = 0;
        Position q = start;
        for (const Move &m : line) {
            blocks += q.size[m.from] - m.row > 1;
            toEmpty += q.size[m.to] == 0;
            q = applied(q, m);
        }
        qInfo("line: %d block moves, %d into an empty column", blocks, toEmpty);
    }
    qInfo("solver: game %d, %d moves, %lld ms", game, int(line.size()), elapsed.elapsed());

    test::TestServices services;
    services.clock.millisecondsOfDay = 1;
    TfrmMain w(services.services(), QStringLiteral(VESPIN_CARDLIB_PATH));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.FormActivate();
    w.options().SlowAnim = false;
    w.table().GameNumber = game;
    w.table().PresetGameNumber = true;
    w.commands().mnuNewGame->trigger();
    QCOMPARE(w.table().GameNumber, game);
    {
        const QString diff = difference(w, start);
        QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("game %1 after the deal:\n%2").arg(game).arg(diff)));
    }

    const qsizetype dialogsBefore = services.modal.shown().size();
    services.modal.answerWhen(QStringLiteral("vespin::TfrmGameOver"), [](QDialog &dialog) {
        static_cast<TfrmGameOver &>(dialog).btNo->click();
        return dialog.result();
    });

    const QPoint grab(20, 8);
    Position p = start;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const Move &m = line[i];
        const int head = p.col[m.from][m.row];
        const QPoint corner(w.cards().GetCardX(head), w.cards().GetCardY(head));
        const QPoint to = p.size[m.to] > 0
            ? QPoint(w.cards().GetCardX(p.top(m.to)), w.cards().GetCardY(p.top(m.to))) + QPoint(0, 16)
            : QPoint(ColumnX[m.to + 1], w.table().TableTop + FirstRowY);
        const QString what = QStringLiteral("game %1, move %2 of %3: %4 (column %5 row %6) to column %7")
                                 .arg(game)
                                 .arg(i + 1)
                                 .arg(line.size())
                                 .arg(cardName(head))
                                 .arg(m.from + 1)
                                 .arg(m.row + 1)
                                 .arg(m.to + 1);
        if (i + 1 == line.size())
            qInfo("the last move starts after %lld ms", elapsed.elapsed());
        drag(w, corner + grab, to + grab);
        p = applied(p, m);
        if (p.won())
            break; // the win sequence has taken the table over
        const QString diff = difference(w, p);
        QVERIFY2(diff.isEmpty(), qPrintable(what + QLatin1Char('\n') + diff));
    }
    QVERIFY(p.won());

    const TableModel &t = w.table();
    // The game over, once, after the statistics of the first best time.
    QCOMPARE(services.modal.shown().size(), dialogsBefore + 2);
    QCOMPARE(services.modal.shown()[dialogsBefore].className, QStringLiteral("vespin::TfrmStatistics"));
    QCOMPARE(services.modal.shown().last().className, QStringLiteral("vespin::TfrmGameOver"));
    QCOMPARE(t.Score, 52);
    QCOMPARE(w.statistics().SessionWon, 1);
    QVERIFY(t.GameFinished);
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        QCOMPARE(t.FoundationCounter[f], 13);
    // Only the four foundation marks stay on the table.
    const QImage table = w.surface()->backingImage();
    const QRgb green = table.pixel(3, t.TableTop + 3);
    for (int c = 1; c <= 8; ++c)
        QCOMPARE(table.pixel(ColumnX[c] + 35, t.TableTop + FirstRowY + 40), green);
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        QVERIFY(table.pixel(ColumnX[f] + 1, t.TableTop + FoundationRowY + 48) != green);
    qInfo("game %d played to a win in %d moves, %lld ms in all", game, int(line.size()), elapsed.elapsed());
}

QTEST_MAIN(TestWholeGame)
#include "tst_wholegame.moc"
