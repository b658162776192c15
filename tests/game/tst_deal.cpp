#include "TestServices.h"
#include "game/Deal.h"
#include "interaction/CardLibrary.h"

#include <QImage>
#include <QtTest>

#include <set>

using namespace vespin;

class TestDeal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void gameOneShufflesToTheKnownDeck();
    void randomGameNumberComesFromTheClock_data();
    void randomGameNumberComesFromTheClock();
    void generatorFollowsItsRecurrence();
    void layoutMatchesTheModel_data();
    void layoutMatchesTheModel();

private:
    CardLibrary m_cards;
    QImage m_image;
    VespinSurface m_surface{};
    test::FixedClock m_clock;
};

void TestDeal::initTestCase()
{
    QVERIFY2(m_cards.load(QStringLiteral(VESPIN_CARDLIB_PATH)), qPrintable(m_cards.errorString()));
    m_image = QImage(632, 500, QImage::Format_ARGB32_Premultiplied);
    m_surface.bits = m_image.bits();
    m_surface.width = m_image.width();
    m_surface.height = m_image.height();
    m_surface.bytesPerLine = int(m_image.bytesPerLine());
    m_surface.devicePixelRatio = 1.0;
    m_surface.background = 0xff008000;
    QVERIFY(m_cards.InitializeDeck(&m_surface));
}

void TestDeal::gameOneShufflesToTheKnownDeck()
{
    TableModel table;
    table.GameNumber = 1;
    table.PresetGameNumber = true;
    m_clock.millisecondsOfDay = 12345678; // a preset number ignores the clock
    Shuffle(table, m_clock);

    const std::array<int, 52> expected{52, 5,  43, 38, 8,  35, 13, 25, 21, 3,  17, 31, 50, 29, 4,  23, 10, 20,
                                       39, 40, 37, 36, 48, 16, 26, 22, 27, 32, 11, 47, 1,  34, 9,  7,  42, 33,
                                       12, 30, 51, 24, 49, 41, 45, 44, 28, 18, 15, 19, 46, 6,  2,  14};
    for (int i = 1; i <= 52; ++i)
        QCOMPARE(table.Deck[i], expected[std::size_t(i - 1)]);
    QCOMPARE(table.GameNumber, 1);
}

void TestDeal::randomGameNumberComesFromTheClock_data()
{
    QTest::addColumn<uint>("millisecondsOfDay");
    QTest::addColumn<int>("gameNumber");
    // Seed 0: the state becomes 1, and 1 * 2147483647 div 2^32 is 0.
    QTest::newRow("midnight") << 0u << 0;
    // Seed 1: state 134775814; (134775814 * 2147483647) >> 32 = 67387906.
    QTest::newRow("one millisecond") << 1u << 67387906;
}

void TestDeal::randomGameNumberComesFromTheClock()
{
    QFETCH(uint, millisecondsOfDay);
    QFETCH(int, gameNumber);
    TableModel table;
    table.GameNumber = 4711;
    m_clock.millisecondsOfDay = millisecondsOfDay;
    Shuffle(table, m_clock);
    QCOMPARE(table.GameNumber, gameNumber);

    TableModel preset;
    preset.GameNumber = gameNumber;
    preset.PresetGameNumber = true;
    Shuffle(preset, m_clock);
    QCOMPARE(preset.Deck, table.Deck);
}

void TestDeal::generatorFollowsItsRecurrence()
{
    GameRandom random;
    random.RandomState = 0xffffffffu;
    // (2^32 - 1) * 134775813 + 1 wraps to 2^32 - 134775812.
    QCOMPARE(random.RandomBelow(0), 0u);
    QCOMPARE(random.RandomState, 0xffffffffu - 134775812u + 1u);
    for (int i = 0; i < 1000; ++i)
        QVERIFY(random.RandomBelow(52) < 52u);
}

void TestDeal::layoutMatchesTheModel_data()
{
    QTest::addColumn<int>("gameNumber");
    QTest::addColumn<int>("tableTop");
    QTest::newRow("game 0") << 0 << 0;
    QTest::newRow("game 1") << 1 << 0;
    QTest::newRow("game -1") << -1 << 30;
    QTest::newRow("game 2147483647") << 2147483647 << 30;
    QTest::newRow("game 48") << 48 << 0;
    QTest::newRow("game 1707644967") << 1707644967 << 28;
    QTest::newRow("game 2146581175") << 2146581175 << 0;
}

void TestDeal::layoutMatchesTheModel()
{
    QFETCH(int, gameNumber);
    QFETCH(int, tableTop);
    TableModel table;
    table.GameNumber = gameNumber;
    table.PresetGameNumber = true;
    table.TableTop = tableTop;
    Shuffle(table, m_clock);
    m_cards.SetDefaultValues();
    LayOut(table, m_cards, &m_surface);

    std::set<int> seen;
    for (int c = 1; c <= 8; ++c) {
        const int n = c <= 4 ? 6 : 7;
        QCOMPARE(table.TableauCounter[c], n);
        for (int r = 1; r <= n; ++r) {
            const int card = table.Tableau[c][r];
            QVERIFY(card >= 1 && card <= 52);
            QVERIFY2(seen.insert(card).second, "a card was dealt twice");
            const bool faceDown = c >= 5 && r < 7;
            QCOMPARE(m_cards.GetCardStatus(card), faceDown ? 0 : 1);
            QCOMPARE(m_cards.GetCardX(card), ColumnX[c]);
            QCOMPARE(m_cards.GetCardY(card), tableTop + 112 + 16 * (r - 1));
            QCOMPARE(m_cards.GetCardBlocked(card), r < n ? 1 : 0);
            QCOMPARE(m_cards.GetUser3(card), r);
            QCOMPARE(m_cards.GetUser4(card), c);
            // Enabled: the library hands the card to a drag at its top strip.
            const int x = ColumnX[c] + 35;
            const int y = tableTop + 112 + 16 * (r - 1) + 8;
            QCOMPARE(m_cards.PointInCardTop(x, y), card);
        }
    }
    QCOMPARE(int(seen.size()), 52);
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        QCOMPARE(table.FoundationCounter[f], 0);
}

QTEST_MAIN(TestDeal)
#include "tst_deal.moc"
