// Draws the pictures of the How to Play page with the game's own card library,
// so the help always shows the cards the player will see on the table.
//
// Usage: cardpictures <output directory>
// Writes build.png, king.png, foundations.png, facedown.png and peek.png.

#include "vespin.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// Cards by suit and value, as the library numbers them.
enum Suit { Clubs = 0, Diamonds = 1, Hearts = 2, Spades = 3 };
constexpr int card(Suit suit, int value)
{
    return suit * 13 + value;
}

constexpr int Ace = 1, Jack = 11, Queen = 12, King = 13;

// The table's own spacing: columns 78 pixels apart, cards in a column 16
// pixels apart, 7 pixels of table around the edge.
constexpr int Margin = 7;
constexpr int Pitch = 78;
constexpr int Step = VESPIN_BLOCK_STEP;
constexpr unsigned int TableGreen = 0xff008000;

int columnX(int column)
{
    return Margin + Pitch * column;
}

int rowY(int row, int top = Margin)
{
    return top + Step * row;
}

// The height of a picture that shows a column of `rows` cards.
constexpr int heightFor(int rows, int top = Margin)
{
    return top + VESPIN_CARD_HEIGHT + Step * (rows - 1) + Margin;
}

// A picture `columns` table columns wide.
class Picture {
public:
    Picture(int columns, int height)
        : m_image(Margin + Pitch * columns, height, QImage::Format_ARGB32_Premultiplied),
          m_surface(std::make_unique<VespinSurface>())
    {
        m_image.fill(TableGreen);
        m_surface->bits = m_image.bits();
        m_surface->width = m_image.width();
        m_surface->height = m_image.height();
        m_surface->bytesPerLine = int(m_image.bytesPerLine());
        m_surface->devicePixelRatio = 1.0;
        m_surface->background = TableGreen;
        // The library's records are global: every picture starts from a
        // fresh deck.
        m_ok = InitializeDeck(m_surface.get()) == 1;
        if (!m_ok)
            std::fprintf(stderr, "cardpictures: the card library cannot draw here\n");
        SetDefaultValues();
        SetCurrentBack(1);
    }

    bool ok() const { return m_ok; }
    VespinSurface *surface() { return m_surface.get(); }
    QImage &image() { return m_image; }

    // Deals the cards into one column from its first row down.
    void dealColumn(int column, std::initializer_list<int> cards, int faceDown = 0, int top = Margin)
    {
        int row = 0;
        for (const int c : cards) {
            SetCardStatus(c, row < faceDown ? 0 : 1);
            DealCard(surface(), c, columnX(column), rowY(row, top));
            ++row;
        }
    }

    bool save(const QDir &dir, const QString &name) const
    {
        const QString path = dir.filePath(name);
        if (m_image.save(path, "PNG"))
            return true;
        std::fprintf(stderr, "cardpictures: cannot write %s\n", qPrintable(path));
        return false;
    }

private:
    QImage m_image;
    std::unique_ptr<VespinSurface> m_surface;
    bool m_ok = false;
};

// An arrow over the table, light with a dark rim so that it shows on the
// green and on the cards alike.
void drawArrow(QImage &image, QPointF from, QPointF to)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QLineF line(from, to);
    const qreal angle = qDegreesToRadians(line.angle());
    const qreal head = 11;
    const QPointF back = to - QPointF(std::cos(angle), -std::sin(angle)) * head;
    const QPointF side = QPointF(std::sin(angle), std::cos(angle)) * (head * 0.6);

    QPainterPath arrowHead;
    arrowHead.moveTo(to);
    arrowHead.lineTo(back + side);
    arrowHead.lineTo(back - side);
    arrowHead.closeSubpath();

    const QColor rim(0x20, 0x20, 0x20);
    const QColor fill(0xff, 0xd8, 0x40);
    painter.setPen(QPen(rim, 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QLineF(from, back));
    painter.setPen(QPen(rim, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(rim);
    painter.drawPath(arrowHead);
    painter.setPen(QPen(fill, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QLineF(from, back));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(arrowHead);
}

// The outline of a place where no card lies.
void drawEmptyPlace(QImage &image, int x, int y)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xc8, 0xe6, 0xc8), 1.5, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(x + 0.75, y + 0.75, VESPIN_CARD_WIDTH - 1.5, VESPIN_CARD_HEIGHT - 1.5), 5, 5);
}

// A column built down in spades, and the 6 of spades about to join it.
bool buildDown(const QDir &dir)
{
    Picture picture(3, heightFor(6));
    if (!picture.ok())
        return false;
    picture.dealColumn(0, {card(Diamonds, 4), card(Clubs, Queen), card(Spades, 10), card(Spades, 9),
                           card(Spades, 8), card(Spades, 7)});
    picture.dealColumn(2, {card(Hearts, 2), card(Diamonds, Jack), card(Spades, 6)});
    drawArrow(picture.image(), QPointF(columnX(2) - 6, rowY(2) + 48), QPointF(columnX(0) + 76, rowY(5) + 40));
    return picture.save(dir, QStringLiteral("build.png"));
}

// An empty column, and a King with the Queen lying on it that may move there.
bool kingToEmptyColumn(const QDir &dir)
{
    Picture picture(3, heightFor(4));
    if (!picture.ok())
        return false;
    drawEmptyPlace(picture.image(), columnX(0), rowY(0));
    picture.dealColumn(2, {card(Clubs, 3), card(Diamonds, 9), card(Hearts, King), card(Hearts, Queen)});
    drawArrow(picture.image(), QPointF(columnX(2) - 6, rowY(2) + 8), QPointF(columnX(0) + 76, rowY(0) + 30));
    return picture.save(dir, QStringLiteral("king.png"));
}

// Four foundations in different states, and the card that goes up next.
bool foundations(const QDir &dir)
{
    constexpr int ColumnTop = Margin + VESPIN_CARD_HEIGHT + 9;
    Picture picture(4, heightFor(2, ColumnTop));
    if (!picture.ok())
        return false;
    for (int value = Ace; value <= 4; ++value)
        DealCard(picture.surface(), card(Clubs, value), columnX(0), Margin);
    DealCard(picture.surface(), card(Hearts, Ace), columnX(1), Margin);
    DealCard(picture.surface(), card(Diamonds, Ace), columnX(2), Margin);
    DealCard(picture.surface(), card(Diamonds, 2), columnX(2), Margin);
    DrawSymbol(picture.surface(), VESPIN_SYMBOL_EMPTY_FOUNDATION, columnX(3), Margin);
    picture.dealColumn(3, {card(Hearts, 10), card(Diamonds, 3)}, 0, ColumnTop);
    drawArrow(picture.image(), QPointF(columnX(3) - 5, rowY(1, ColumnTop) + 40),
              QPointF(columnX(2) + 45, Margin + VESPIN_CARD_HEIGHT - 6));
    return picture.save(dir, QStringLiteral("foundations.png"));
}

// A column as dealt to columns 5 to 8, and one whose top card has just been
// turned over.
bool faceDown(const QDir &dir)
{
    Picture picture(2, heightFor(7));
    if (!picture.ok())
        return false;
    picture.dealColumn(0, {card(Clubs, 2), card(Clubs, 9), card(Diamonds, 5), card(Hearts, 4), card(Spades, Jack),
                           card(Diamonds, King), card(Hearts, 6)},
                       6);
    picture.dealColumn(1, {card(Spades, 3), card(Hearts, 8), card(Clubs, 6), card(Spades, Queen),
                           card(Diamonds, 7), card(Clubs, 10)},
                       5);
    return picture.save(dir, QStringLiteral("facedown.png"));
}

// The same column twice: as it lies, and with its second card peeked at.
bool peek(const QDir &dir)
{
    Picture picture(2, heightFor(5));
    if (!picture.ok())
        return false;
    const int cards[] = {card(Diamonds, 10), card(Clubs, Jack), card(Hearts, 5), card(Spades, 2), card(Clubs, 8)};
    // The library draws only cards that are on the table; the second copy
    // of the column is a drawing of the dealt one.
    for (int row = 0; row < 5; ++row)
        DealCard(picture.surface(), cards[row], columnX(1), rowY(row));
    for (int row = 0; row < 5; ++row)
        DrawCard(picture.surface(), cards[row], columnX(0), rowY(row));
    DrawCard(picture.surface(), cards[1] + VESPIN_PEEK_IMAGE_OFFSET, columnX(1), rowY(1));
    return picture.save(dir, QStringLiteral("peek.png"));
}

} // namespace

int main(int argc, char **argv)
{
    // Runs during the build, with or without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: cardpictures <output directory>\n");
        return 2;
    }
    const QDir dir(args[1]);
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cardpictures: cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    bool (*const pictures[])(const QDir &) = {buildDown, kingToEmptyColumn, foundations, faceDown, peek};
    for (const auto draw : pictures)
        if (!draw(dir))
            return 1;
    return 0;
}
