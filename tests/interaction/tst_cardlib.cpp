#include "interaction/CardLibrary.h"

#include <QImage>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace vespin;

namespace {

constexpr QRgb Green = 0xff008000;

// A surface over an image of its own, at a given device pixel ratio.
struct Surface {
    explicit Surface(double ratio = 1.0, QSize size = QSize(632, 480))
        : image(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)),
                QImage::Format_ARGB32_Premultiplied),
          handle(std::make_unique<VespinSurface>())
    {
        image.fill(Green);
        handle->bits = image.bits();
        handle->width = image.width();
        handle->height = image.height();
        handle->bytesPerLine = int(image.bytesPerLine());
        handle->devicePixelRatio = ratio;
        handle->background = Green;
    }
    VespinSurface *operator->() const { return handle.get(); }
    operator VespinSurface *() const { return handle.get(); }

    QImage image;
    std::unique_ptr<VespinSurface> handle;
};

// Bottom to top: a column of four face-up cards at (85, 112), 16 px apart.
constexpr int Column[] = {13, 27, 5, 44};
constexpr int ColumnLeft = 85;
constexpr int ColumnTop = 112;

} // namespace

class TestCardLibrary : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void valuesAndSuitsFollowTheNumbering();
    void singleDragReturnedLeavesTheTableUnchanged();
    void removingACoveringCardShowsWhatItCovered();
    void hitTestsFollowStackingAndSkipDisabledCards();
    void dealCardRecordsButDrawCardOnlyDraws();
    void blockDragLaysCardsSixteenPixelsApart();
    void extraInitDragDuringBlockDragIsAccepted();
    void blockReturnedLeavesTheTableUnchanged();
    void abortDragIsHarmlessAtAnyTime();
    void cardsAreCrispAtEveryRatio_data();
    void cardsAreCrispAtEveryRatio();
    void peekImageDiffersFromTheFace();
    void resetTakesCardsOffTheTable();

private:
    void dealColumn(VespinSurface *surface);

    CardLibrary m_cards;
    std::unique_ptr<Surface> m_table;
};

void TestCardLibrary::initTestCase()
{
    QVERIFY2(m_cards.load(QStringLiteral(VESPIN_CARDLIB_PATH)), qPrintable(m_cards.errorString()));
}

void TestCardLibrary::init()
{
    m_table = std::make_unique<Surface>();
    QVERIFY(m_cards.InitializeDeck(*m_table));
    m_cards.SetDefaultValues();
}

void TestCardLibrary::dealColumn(VespinSurface *surface)
{
    for (int r = 0; r < 4; ++r) {
        m_cards.DealCard(surface, Column[r], ColumnLeft, ColumnTop + 16 * r);
        m_cards.AdjustCardBlocked(Column[r], r < 3);
    }
}

void TestCardLibrary::valuesAndSuitsFollowTheNumbering()
{
    QCOMPARE(m_cards.GetCardValue(1), 1);
    QCOMPARE(m_cards.GetCardValue(13), 13);
    QCOMPARE(m_cards.GetCardValue(14), 1);
    QCOMPARE(m_cards.GetCardValue(52), 13);
    QCOMPARE(m_cards.GetCardSuit(1), m_cards.GetCardSuit(13));
    QVERIFY(m_cards.GetCardSuit(13) != m_cards.GetCardSuit(14));
    QCOMPARE(m_cards.GetCardSuit(40), m_cards.GetCardSuit(52));
    // Out of range: no card, and nothing recorded.
    QCOMPARE(m_cards.GetCardValue(0), 0);
    m_cards.SetUser3(53, 7);
    QCOMPARE(m_cards.GetUser3(53), 0);
}

void TestCardLibrary::singleDragReturnedLeavesTheTableUnchanged()
{
    dealColumn(*m_table);
    const QImage before = m_table->image.copy();

    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 30, ColumnTop + 48 + 50), 44);
    m_cards.DoDrag(*m_table, ColumnLeft + 130, ColumnTop + 120);
    QCOMPARE(m_cards.GetCardX(44), ColumnLeft + 100);
    QCOMPARE(m_cards.GetCardY(44), ColumnTop + 70);
    QVERIFY(m_table->image != before);
    // Where only the dragged card lay, the table shows again.
    QVERIFY(before.pixel(ColumnLeft + 35, ColumnTop + 135) != Green);
    QCOMPARE(m_table->image.pixel(ColumnLeft + 35, ColumnTop + 135), Green);
    m_cards.DoDrag(*m_table, ColumnLeft + 10, ColumnTop + 300);

    m_cards.ReturnDrag(*m_table, 44, ColumnLeft, ColumnTop + 48);
    m_cards.AbortDrag();
    QCOMPARE(m_table->image, before);
}

void TestCardLibrary::removingACoveringCardShowsWhatItCovered()
{
    Surface reference;
    QVERIFY(m_cards.InitializeDeck(reference));
    m_cards.SetDefaultValues();
    m_cards.DrawSymbol(reference, 2, ColumnLeft + 20, ColumnTop + 70);
    for (int r = 0; r < 3; ++r)
        m_cards.DealCard(reference, Column[r], ColumnLeft, ColumnTop + 16 * r);
    const QImage threeCards = reference.image.copy();

    // The symbol under the column must come back too.
    m_cards.DrawSymbol(*m_table, 2, ColumnLeft + 20, ColumnTop + 70);
    dealColumn(*m_table);
    m_cards.RemoveCard(*m_table, 44);
    QCOMPARE(m_table->image, threeCards);

    m_cards.DrawCard(*m_table, 5 + 52, ColumnLeft, ColumnTop + 32); // a peek over the 5
    QVERIFY(m_table->image != threeCards);
    m_cards.RemoveCard(*m_table, 5 + 52);
    QCOMPARE(m_table->image, threeCards);
}

void TestCardLibrary::hitTestsFollowStackingAndSkipDisabledCards()
{
    dealColumn(*m_table);
    // In the strip of row 2 only the second card shows; lower down the last
    // card dealt lies on top.
    QCOMPARE(m_cards.PointInCardTop(ColumnLeft + 5, ColumnTop + 20), 27);
    QCOMPARE(m_cards.PointInCardTop(ColumnLeft + 5, ColumnTop + 100), 44);
    QCOMPARE(m_cards.PointInCardTop(ColumnLeft - 1, ColumnTop + 20), 0);
    QCOMPARE(m_cards.PointInCardTop(ColumnLeft + 71, ColumnTop + 20), 0);
    QCOMPARE(m_cards.PointInCardTop(ColumnLeft + 70, ColumnTop + 48 + 95), 44);

    // A disabled card is not picked up; the press finds the card under it.
    m_cards.SetCardDisabled(44, 1);
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 5, ColumnTop + 60), 5);
    m_cards.AbortDrag();
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 5, ColumnTop + 48 + 90), 0);
    // A disabled card on top hides what is under it from the peek.
    QCOMPARE(m_cards.PointInCardTop(ColumnLeft + 5, ColumnTop + 60), 0);

    // Dealing again puts a card on top of the stacking order.
    m_cards.SetCardDisabled(44, 0);
    m_cards.DealCard(*m_table, 13, ColumnLeft, ColumnTop + 48);
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 5, ColumnTop + 60), 13);
    m_cards.AbortDrag();
}

void TestCardLibrary::dealCardRecordsButDrawCardOnlyDraws()
{
    m_cards.DealCard(*m_table, 20, 300, 200);
    QCOMPARE(m_cards.GetCardX(20), 300);
    QCOMPARE(m_cards.GetCardY(20), 200);
    const QImage once = m_table->image.copy();

    m_cards.DrawCard(*m_table, 20, 10, 10);
    QCOMPARE(m_cards.GetCardX(20), 300);
    QCOMPARE(m_cards.GetCardY(20), 200);
    // Drawing leaves the earlier picture where it was.
    QCOMPARE(m_table->image.pixel(335, 250), once.pixel(335, 250));
    QVERIFY(m_table->image.pixel(45, 60) != Green);

    // Dealing again moves the card: its old places show the table.
    m_cards.DealCard(*m_table, 20, 400, 300);
    QCOMPARE(m_table->image.pixel(335, 250), Green);
    QCOMPARE(m_table->image.pixel(45, 60), Green);
}

void TestCardLibrary::blockDragLaysCardsSixteenPixelsApart()
{
    dealColumn(*m_table);
    const int block[] = {27, 5, 44};
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 10, ColumnTop + 16 + 5), 27);
    m_cards.BlockDrag(*m_table, block, 3, ColumnLeft + 110, ColumnTop + 16 + 205);
    m_cards.BlockDrag(*m_table, block, 3, ColumnLeft + 210, ColumnTop + 16 + 105);
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(m_cards.GetCardX(block[k]), ColumnLeft + 200);
        QCOMPARE(m_cards.GetCardY(block[k]), ColumnTop + 16 + 100 + 16 * k);
    }
    m_cards.EndBlockDrag(*m_table, block, 3, 400 + 10, 150 + 5);
    m_cards.AbortDrag();
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(m_cards.GetCardX(block[k]), 400);
        QCOMPARE(m_cards.GetCardY(block[k]), 150 + 16 * k);
    }
    // The last card of the block lies on top.
    QCOMPARE(m_cards.PointInCardTop(420, 150 + 40), 44);
    // The column left behind shows only its first card.
    QCOMPARE(m_table->image.pixel(ColumnLeft + 35, ColumnTop + 100), Green);
    QVERIFY(m_table->image.pixel(ColumnLeft + 35, ColumnTop + 50) != Green);
}

void TestCardLibrary::extraInitDragDuringBlockDragIsAccepted()
{
    dealColumn(*m_table);
    const int block[] = {5, 44};
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 10, ColumnTop + 32 + 4), 5);
    m_cards.BlockDrag(*m_table, block, 2, 300, 300);
    // At the release the program grabs the block again where the mouse is,
    // then lays it with the offset it measured itself.
    const int grabX = 300 - m_cards.GetCardX(5);
    const int grabY = 300 - m_cards.GetCardY(5);
    QCOMPARE(m_cards.InitDrag(*m_table, 300, 300), 5);
    m_cards.BlockDrag(*m_table, block, 2, 553 + grabX, 96 + 16 + grabY);
    m_cards.EndBlockDrag(*m_table, block, 2, 553 + grabX, 96 + 16 + grabY);
    m_cards.AbortDrag();
    QCOMPARE(m_cards.GetCardX(5), 553);
    QCOMPARE(m_cards.GetCardY(5), 112);
    QCOMPARE(m_cards.GetCardY(44), 128);
}

void TestCardLibrary::blockReturnedLeavesTheTableUnchanged()
{
    dealColumn(*m_table);
    const QImage before = m_table->image.copy();
    const int block[] = {13, 27, 5, 44};
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 3, ColumnTop + 3), 13);
    m_cards.BlockDrag(*m_table, block, 4, 400, 300);
    m_cards.BlockDrag(*m_table, block, 4, 120, 140); // overlapping its own start
    m_cards.ReturnBlockDrag(*m_table, block, 4, ColumnLeft, ColumnTop);
    m_cards.AbortDrag();
    QCOMPARE(m_table->image, before);
}

void TestCardLibrary::abortDragIsHarmlessAtAnyTime()
{
    m_cards.AbortDrag();
    dealColumn(*m_table);
    const QImage before = m_table->image.copy();
    m_cards.AbortDrag();
    m_cards.DoDrag(*m_table, 300, 300); // no drag: nothing moves
    const int block[] = {5, 44};
    m_cards.ReturnBlockDrag(*m_table, block, 2, ColumnLeft, ColumnTop + 32);
    m_cards.AbortDrag();
    QCOMPARE(m_table->image, before);
    QCOMPARE(m_cards.InitDrag(*m_table, 600, 10), 0);
    m_cards.DoDrag(*m_table, 300, 300);
    m_cards.AbortDrag();
    m_cards.AbortDrag();
    QCOMPARE(m_table->image, before);
}

void TestCardLibrary::cardsAreCrispAtEveryRatio_data()
{
    QTest::addColumn<double>("ratio");
    QTest::newRow("1") << 1.0;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
}

void TestCardLibrary::cardsAreCrispAtEveryRatio()
{
    QFETCH(double, ratio);
    Surface surface(ratio);
    QVERIFY(m_cards.InitializeDeck(surface));
    m_cards.SetDefaultValues();
    m_cards.SetCardStatus(30, 0);
    for (int card : {1, 30}) {
        const int x = card == 1 ? 7 : 85;
        m_cards.DealCard(surface, card, x, 112);
        const int left = int(std::floor(x * ratio + 0.5));
        const int right = int(std::floor((x + 71) * ratio + 0.5)); // first pixel past the card
        const int middle = int((112 + 48) * ratio);
        // The edge falls on a pixel boundary: the table right outside, solid
        // card right inside, at any ratio.
        QCOMPARE(surface.image.pixel(left - 1, middle), Green);
        QCOMPARE(qAlpha(surface.image.pixel(left, middle)), 255);
        QVERIFY(surface.image.pixel(left, middle) != Green);
        QVERIFY(surface.image.pixel(right - 1, middle) != Green);
        QCOMPARE(surface.image.pixel(right, middle), Green);
    }
}

void TestCardLibrary::peekImageDiffersFromTheFace()
{
    Surface face, peek;
    m_cards.DealCard(face, 12, 10, 10);
    m_cards.DealCard(peek, 12, 10, 10);
    m_cards.DrawCard(peek, 12 + 52, 10, 10);
    QVERIFY(face.image != peek.image);
}

void TestCardLibrary::resetTakesCardsOffTheTable()
{
    dealColumn(*m_table);
    m_cards.SetCardStatus(13, 0);
    m_cards.SetCardDisabled(27, 1);
    m_cards.SetDefaultValues();
    QCOMPARE(m_cards.GetCardStatus(13), 1);
    QCOMPARE(m_cards.GetCardBlocked(27), 0);
    QCOMPARE(m_cards.InitDrag(*m_table, ColumnLeft + 5, ColumnTop + 5), 0);
    m_cards.AbortDrag();
    // Until dealt again a card is not drawn.
    Surface fresh;
    m_cards.DrawCard(fresh, 13, 0, 0);
    QCOMPARE(fresh.image.pixel(35, 48), Green);
}

QTEST_MAIN(TestCardLibrary)
#include "tst_cardlib.moc"
