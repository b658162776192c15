#include "CardArt.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QtMath>

#include <array>
#include <functional>
#include <vector>

namespace vespin::art {
namespace {

// ---------------------------------------------------------------------------
// Geometry and palette

constexpr qreal kWidth = 71;
constexpr qreal kHeight = 96;
constexpr QPointF kCentre(kWidth / 2, kHeight / 2);
constexpr qreal kCornerRadius = 4.5;
// A 1-unit pen on a rectangle inset by half a unit lands on whole pixels at 1x.
constexpr QRectF kOutline(0.5, 0.5, kWidth - 1, kHeight - 1);

const QColor kIvory(0xff, 0xfd, 0xf7);
const QColor kBorder(0x3a, 0x3a, 0x3a);
const QColor kRed(0xc8, 0x10, 0x2e);
const QColor kBlack(0x1c, 0x1c, 0x1f);
const QColor kGold(0xd9, 0xa4, 0x1e);
const QColor kGoldDark(0x8a, 0x62, 0x08);
const QColor kBlue(0x1f, 0x4e, 0x9c);
const QColor kSkin(0xf6, 0xdc, 0xc2);
const QColor kInk(0x4a, 0x32, 0x24);
const QColor kSteel(0x6b, 0x7a, 0x8f);
const QColor kLeaf(0x2e, 0x7d, 0x32);
const QColor kPeek(0x1e, 0x78, 0xe6);
const QColor kPeekTint(0xe4, 0xef, 0xff);

enum class Suit { Clubs, Diamonds, Hearts, Spades };

Suit suitOf(int card) { return Suit((card - 1) / 13); }
int rankOf(int card) { return (card - 1) % 13 + 1; }
bool isRed(Suit suit) { return suit == Suit::Diamonds || suit == Suit::Hearts; }
QColor suitColour(Suit suit) { return isRed(suit) ? kRed : kBlack; }

// Paints `draw` once as it is and once turned half a turn about the card's
// centre, which gives double-headed layouts and the rotated corner index.
void twice(QPainter &painter, const std::function<void()> &draw)
{
    draw();
    painter.save();
    painter.translate(kCentre);
    painter.rotate(180);
    painter.translate(-kCentre);
    draw();
    painter.restore();
}

QPainterPath fitted(const QPainterPath &path, QPointF centre, qreal scale)
{
    return QTransform::fromTranslate(centre.x(), centre.y()).scale(scale, scale).map(path);
}

// ---------------------------------------------------------------------------
// Suit pips, drawn in a 100 x 100 box centred on the origin.

QPainterPath makeHeart()
{
    QPainterPath p(QPointF(50, 97));
    p.cubicTo(38, 80, 2, 64, 2, 33);
    p.cubicTo(2, 15, 14, 4, 27, 4);
    p.cubicTo(38, 4, 46, 11, 50, 22);
    p.cubicTo(54, 11, 62, 4, 73, 4);
    p.cubicTo(86, 4, 98, 15, 98, 33);
    p.cubicTo(98, 64, 62, 80, 50, 97);
    p.closeSubpath();
    return p;
}

QPainterPath makeDiamond()
{
    QPainterPath p(QPointF(50, 2));
    p.quadTo(64, 30, 88, 50);
    p.quadTo(64, 70, 50, 98);
    p.quadTo(36, 70, 12, 50);
    p.quadTo(36, 30, 50, 2);
    p.closeSubpath();
    return p;
}

QPainterPath makeSpade()
{
    QPainterPath p(QPointF(50, 2));
    p.cubicTo(62, 22, 98, 38, 98, 62);
    p.cubicTo(98, 78, 86, 85, 75, 85);
    p.cubicTo(65, 85, 57, 80, 53, 72);
    p.quadTo(55, 89, 68, 98);
    p.lineTo(32, 98);
    p.quadTo(45, 89, 47, 72);
    p.cubicTo(43, 80, 35, 85, 25, 85);
    p.cubicTo(14, 85, 2, 78, 2, 62);
    p.cubicTo(2, 38, 38, 22, 50, 2);
    p.closeSubpath();
    return p;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath p;
    p.addEllipse(centre, radius, radius);
    return p;
}

QPainterPath makeClub()
{
    QPainterPath stem(QPointF(46, 50));
    stem.lineTo(46, 58);
    stem.quadTo(46, 86, 31, 98);
    stem.lineTo(69, 98);
    stem.quadTo(54, 86, 54, 58);
    stem.lineTo(54, 50);
    stem.closeSubpath();
    // United one piece at a time: this yields a single outline, with no seam
    // for antialiasing to show where the stem meets the leaves.
    return circle({50, 27}, 23)
        .united(circle({26, 60}, 23))
        .united(circle({74, 60}, 23))
        .united(circle({50, 54}, 12))
        .united(stem);
}

const QPainterPath &pipPath(Suit suit)
{
    static const std::array<QPainterPath, 4> paths = [] {
        const auto centred = QTransform::fromTranslate(-50, -50);
        return std::array<QPainterPath, 4>{centred.map(makeClub()), centred.map(makeDiamond()),
                                           centred.map(makeHeart()), centred.map(makeSpade())};
    }();
    return paths[int(suit)];
}

// A pip of the given height centred on `centre`.
void drawPip(QPainter &painter, Suit suit, QPointF centre, qreal size, const QColor &colour)
{
    painter.fillPath(fitted(pipPath(suit), centre, size / 100), colour);
}

// ---------------------------------------------------------------------------
// Rank glyphs: centre lines in a box 10 units high, stroked once into outlines
// so they stay identical on every machine whatever fonts it has.

constexpr qreal kGlyphStroke = 1.9;

QPainterPath glyphStrokes(int rank)
{
    QPainterPath p;
    switch (rank) {
    case 1:
        p.moveTo(0, 10);
        p.lineTo(3.1, 0);
        p.lineTo(6.2, 10);
        p.moveTo(1.2, 6.7);
        p.lineTo(5.0, 6.7);
        break;
    case 2:
        p.moveTo(0.3, 2.6);
        p.cubicTo(0.6, 0.9, 1.8, 0, 3.1, 0);
        p.cubicTo(4.8, 0, 5.9, 1.1, 5.9, 2.7);
        p.cubicTo(5.9, 4.6, 4.2, 5.9, 0.1, 10);
        p.lineTo(6.1, 10);
        break;
    case 3:
        p.moveTo(0.3, 1.2);
        p.cubicTo(1.0, 0.4, 2.0, 0, 3.0, 0);
        p.cubicTo(4.5, 0, 5.5, 1.0, 5.5, 2.4);
        p.cubicTo(5.5, 3.9, 4.3, 4.8, 2.4, 4.8);
        p.cubicTo(4.7, 4.8, 6.0, 5.9, 6.0, 7.4);
        p.cubicTo(6.0, 9.0, 4.6, 10, 3.0, 10);
        p.cubicTo(1.8, 10, 0.7, 9.5, 0, 8.6);
        break;
    case 4:
        p.moveTo(4.6, 10);
        p.lineTo(4.6, 0);
        p.lineTo(0, 7.0);
        p.lineTo(6.3, 7.0);
        break;
    case 5:
        p.moveTo(5.6, 0);
        p.lineTo(1.1, 0);
        p.lineTo(0.6, 4.6);
        p.cubicTo(1.3, 4.0, 2.2, 3.7, 3.1, 3.7);
        p.cubicTo(4.9, 3.7, 6.0, 5.0, 6.0, 6.8);
        p.cubicTo(6.0, 8.7, 4.7, 10, 2.9, 10);
        p.cubicTo(1.7, 10, 0.7, 9.5, 0, 8.6);
        break;
    case 6:
        p.addEllipse(QPointF(3.05, 6.95), 2.95, 3.05);
        p.moveTo(5.3, 0.8);
        p.cubicTo(4.7, 0.3, 3.9, 0, 3.1, 0);
        p.cubicTo(1.1, 0, 0.1, 2.4, 0.1, 6.9);
        break;
    case 7:
        p.moveTo(0, 0);
        p.lineTo(6.1, 0);
        p.cubicTo(4.0, 2.6, 2.7, 6.0, 2.4, 10);
        break;
    case 8:
        p.addEllipse(QPointF(3.05, 2.45), 2.45, 2.45);
        p.addEllipse(QPointF(3.05, 7.35), 2.95, 2.65);
        break;
    case 9:
        p.addEllipse(QPointF(3.05, 3.05), 2.95, 3.05);
        p.moveTo(6.0, 3.1);
        p.cubicTo(6.0, 7.6, 4.9, 10, 2.9, 10);
        p.cubicTo(2.1, 10, 1.3, 9.7, 0.7, 9.2);
        break;
    case 10:
        // A slim one and a narrow nought, kept a full stroke apart.
        p.moveTo(0, 2.0);
        p.lineTo(1.7, 0);
        p.lineTo(1.7, 10);
        p.addEllipse(QPointF(6.8, 5), 2.2, 5);
        break;
    case 11:
        p.moveTo(2.4, 0);
        p.lineTo(6.2, 0);
        p.moveTo(4.9, 0);
        p.lineTo(4.9, 7.0);
        p.cubicTo(4.9, 9.0, 3.8, 10, 2.5, 10);
        p.cubicTo(1.2, 10, 0.3, 9.1, 0, 7.7);
        break;
    case 12:
        p.addEllipse(QPointF(3.1, 5), 3.1, 5);
        p.moveTo(3.7, 7.3);
        p.lineTo(6.4, 10.6);
        break;
    case 13:
        p.moveTo(0.2, 0);
        p.lineTo(0.2, 10);
        p.moveTo(6.0, 0);
        p.lineTo(0.4, 6.1);
        p.moveTo(2.4, 3.9);
        p.lineTo(6.2, 10);
        break;
    }
    return p;
}

const QPainterPath &rankPath(int rank)
{
    static const std::array<QPainterPath, 13> paths = [] {
        QPainterPathStroker stroker;
        stroker.setWidth(kGlyphStroke);
        stroker.setCapStyle(Qt::FlatCap);
        stroker.setJoinStyle(Qt::MiterJoin);
        // Clip the sharp apex of the A so it stays within the cap height.
        stroker.setMiterLimit(1.2);
        std::array<QPainterPath, 13> result;
        for (int rank = 1; rank <= 13; ++rank) {
            const QPainterPath outline = stroker.createStroke(glyphStrokes(rank));
            // Centre each glyph on the origin horizontally, on the 10-unit
            // cap height vertically, so differing widths line up.
            const qreal middle = outline.boundingRect().center().x();
            result[rank - 1] = QTransform::fromTranslate(-middle, -5).map(outline);
        }
        return result;
    }();
    return paths[rank - 1];
}

// ---------------------------------------------------------------------------
// Faces

// The corner index sits inside the top 16 units, which is all that shows of a
// card covered by the next one in a column.
// A copy in the top-right corner still shows when a card lies partly under
// another one to its left.
constexpr qreal kIndexRankScale = 0.95;
constexpr qreal kIndexPipSize = 9.0;
constexpr QPointF kLeftIndexRank(8.2, 8.0);
constexpr QPointF kLeftIndexPip(18.5, 8.2);
constexpr QPointF kRightIndexRank(53.5, 8.0);
constexpr QPointF kRightIndexPip(63.8, 8.2);

void drawIndex(QPainter &painter, Suit suit, int rank)
{
    const QColor colour = suitColour(suit);
    // The two-digit rank is narrowed a little to leave room for its pip.
    const qreal width = kIndexRankScale * (rank == 10 ? 0.9 : 1.0);
    for (const auto &[rankAt, pipAt] :
         {std::pair{kLeftIndexRank, kLeftIndexPip}, std::pair{kRightIndexRank, kRightIndexPip}}) {
        const QTransform glyph = QTransform::fromTranslate(rankAt.x(), rankAt.y()).scale(width, kIndexRankScale);
        painter.fillPath(glyph.map(rankPath(rank)), colour);
        drawPip(painter, suit, pipAt, kIndexPipSize, colour);
    }
}

// Columns and rows of the pip area, which lies between the two corner indices.
constexpr qreal kPipSize = 12.0;
constexpr qreal kColumnLeft = 20.5;
constexpr qreal kColumnRight = kWidth - kColumnLeft;
constexpr qreal kRowTop = 24.0;
constexpr qreal kRowBottom = kHeight - kRowTop;

struct PipSpot {
    qreal column; // 0 left, 1 middle, 2 right
    qreal row;    // 0 top .. 6 bottom, in sixths of the pip area's height
};

// The traditional arrangements of pips on the number cards.
const std::vector<PipSpot> &pipLayout(int rank)
{
    static const std::array<std::vector<PipSpot>, 11> layouts = {{
        {},
        {},
        {{1, 0}, {1, 6}},
        {{1, 0}, {1, 3}, {1, 6}},
        {{0, 0}, {2, 0}, {0, 6}, {2, 6}},
        {{0, 0}, {2, 0}, {1, 3}, {0, 6}, {2, 6}},
        {{0, 0}, {2, 0}, {0, 3}, {2, 3}, {0, 6}, {2, 6}},
        {{0, 0}, {2, 0}, {1, 1.5}, {0, 3}, {2, 3}, {0, 6}, {2, 6}},
        {{0, 0}, {2, 0}, {1, 1.5}, {0, 3}, {2, 3}, {1, 4.5}, {0, 6}, {2, 6}},
        {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {1, 3}, {0, 4}, {2, 4}, {0, 6}, {2, 6}},
        {{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}, {0, 4}, {2, 4}, {1, 5}, {0, 6}, {2, 6}},
    }};
    return layouts[rank];
}

void drawNumberPips(QPainter &painter, Suit suit, int rank)
{
    const QColor colour = suitColour(suit);
    for (const PipSpot &spot : pipLayout(rank)) {
        const QPointF centre(kColumnLeft + spot.column * (kColumnRight - kColumnLeft) / 2,
                             kRowTop + spot.row * (kRowBottom - kRowTop) / 6);
        // Pips in the lower half face the other player.
        const bool flipped = centre.y() > kCentre.y() + 0.1;
        QTransform t = QTransform::fromTranslate(centre.x(), centre.y());
        if (flipped)
            t.rotate(180);
        painter.fillPath(t.scale(kPipSize / 100, kPipSize / 100).map(pipPath(suit)), colour);
    }
}

void drawAce(QPainter &painter, Suit suit)
{
    const QColor colour = suitColour(suit);
    if (suit != Suit::Spades) {
        // A fine contour around the big pip.
        painter.setPen(QPen(colour, 0.9));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(fitted(pipPath(suit), kCentre, 0.40));
        drawPip(painter, suit, kCentre, 30, colour);
        // An inlaid line suits the solid pips; the club's lobes would cut it.
        if (suit != Suit::Clubs) {
            painter.setPen(QPen(kIvory, 0.9));
            painter.drawPath(fitted(pipPath(suit), kCentre + QPointF(0, -0.6), 0.21));
        }
        return;
    }

    // The ace of spades carries the deck's flourish: a gold medallion behind a
    // tall spade with an inlaid inner line and jewel.
    painter.setPen(QPen(kGoldDark, 0.9));
    painter.setBrush(QColor(0xfb, 0xf0, 0xd0));
    painter.drawEllipse(kCentre, 24, 24);
    painter.setPen(QPen(kGold, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kCentre, 21.5, 21.5);
    constexpr int kBeads = 16;
    painter.setPen(QPen(kGoldDark, 0.8));
    painter.setBrush(kGold);
    for (int i = 0; i < kBeads; ++i) {
        const qreal angle = qDegreesToRadians(360.0 * i / kBeads);
        painter.drawEllipse(kCentre + QPointF(qCos(angle), qSin(angle)) * 24, 1.6, 1.6);
    }
    drawPip(painter, suit, kCentre, 36, colour);
    painter.setPen(QPen(kGold, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(fitted(pipPath(suit), kCentre + QPointF(0, -1.5), 0.24));
    painter.fillPath(fitted(pipPath(Suit::Diamonds), kCentre, 0.07), kRed);
}

// ---------------------------------------------------------------------------
// Court cards: a framed panel with a double-headed half-length figure.

constexpr QRectF kPanel(11, 16.5, kWidth - 22, kHeight - 33);

void outlinedShape(QPainter &painter, const QPainterPath &path, const QColor &fill,
                   const QColor &line = kInk, qreal width = 0.8)
{
    painter.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

QPainterPath polygonPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath shoulderLine()
{
    QPainterPath p(QPointF(16, 44.5));
    p.cubicTo(16, 39.5, 23, 37, 29, 36.5);
    p.lineTo(42, 36.5);
    p.cubicTo(48, 37, 55, 39.5, 55, 44.5);
    return p;
}

QPainterPath shoulders()
{
    QPainterPath p(QPointF(16, 48.5));
    p.connectPath(shoulderLine());
    p.lineTo(55, 48.5);
    p.closeSubpath();
    return p;
}

void drawHead(QPainter &painter)
{
    QPainterPath face;
    face.addEllipse(QPointF(35.5, 30.5), 5.2, 6.2);
    outlinedShape(painter, face, kSkin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(33.4, 29.8), 0.75, 0.75);
    painter.drawEllipse(QPointF(37.6, 29.8), 0.75, 0.75);
    painter.setPen(QPen(kRed.darker(120), 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(34.4, 33.6), QPointF(36.6, 33.6));
}

void drawRobe(QPainter &painter, const QColor &robe, const QColor &panel)
{
    outlinedShape(painter, shoulders(), robe);
    outlinedShape(painter, polygonPath({{31.5, 36.8}, {39.5, 36.8}, {38, 48.5}, {33, 48.5}}), panel);
}

// Trim painted inside the robe's outline only.
void drawOnRobe(QPainter &painter, const std::function<void()> &draw)
{
    painter.save();
    painter.setClipPath(shoulders(), Qt::IntersectClip);
    draw();
    painter.restore();
    painter.setPen(QPen(kInk, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shoulderLine());
}

void drawCollar(QPainter &painter)
{
    outlinedShape(painter, polygonPath({{28, 36.6}, {35.5, 42.5}, {43, 36.6}, {40.5, 36}, {35.5, 39.5}, {30.5, 36}}),
                  kGold, kGoldDark, 0.7);
}

void drawDots(QPainter &painter, std::initializer_list<QPointF> centres, qreal radius, const QColor &fill)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    for (const QPointF &centre : centres)
        painter.drawEllipse(centre, radius, radius);
}

void drawKing(QPainter &painter, Suit suit)
{
    const QColor colour = suitColour(suit);
    // Sceptre, behind the shoulder.
    painter.setPen(QPen(kGoldDark, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(50.5, 47), QPointF(50.5, 24));
    outlinedShape(painter, fitted(pipPath(suit), QPointF(50.5, 21.5), 0.065), kGold, kGoldDark, 0.7);

    drawRobe(painter, colour, kBlue);
    // An ermine stole over the shoulders.
    drawOnRobe(painter, [&] {
        painter.strokePath(shoulderLine(), QPen(Qt::white, 6));
        drawDots(painter, {{18.4, 42.6}, {21.8, 39.6}, {26.2, 38.0}, {44.8, 38.0}, {49.2, 39.6}, {52.6, 42.6}}, 0.7,
                 kBlack);
    });
    drawCollar(painter);
    drawHead(painter);
    // Beard.
    QPainterPath beard(QPointF(30.3, 31));
    beard.cubicTo(30.5, 37.5, 33.5, 40.5, 35.5, 40.5);
    beard.cubicTo(37.5, 40.5, 40.5, 37.5, 40.7, 31);
    beard.cubicTo(39.5, 33.5, 37.5, 34.5, 35.5, 34.8);
    beard.cubicTo(33.5, 34.5, 31.5, 33.5, 30.3, 31);
    outlinedShape(painter, beard, QColor(0x8c, 0x8c, 0x94));
    // Crown.
    outlinedShape(painter,
                  polygonPath({{29.5, 26.5}, {29, 19.5}, {32.3, 22.8}, {35.5, 17.8}, {38.7, 22.8},
                               {42, 19.5}, {41.5, 26.5}}),
                  kGold, kGoldDark, 0.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(35.5, 24.3), 1.3, 1.3);
    painter.setBrush(kBlue);
    painter.drawEllipse(QPointF(31.3, 24.6), 0.9, 0.9);
    painter.drawEllipse(QPointF(39.7, 24.6), 0.9, 0.9);
}

void drawQueen(QPainter &painter, Suit suit)
{
    const QColor colour = suitColour(suit);
    // Hair falls behind the face to the shoulders.
    QPainterPath hair(QPointF(35.5, 23));
    hair.cubicTo(26, 23, 28, 34, 26.5, 39);
    hair.lineTo(44.5, 39);
    hair.cubicTo(43, 34, 45, 23, 35.5, 23);
    outlinedShape(painter, hair, QColor(0x9a, 0x62, 0x2c));

    drawRobe(painter, kBlue, colour);
    drawOnRobe(painter, [&] {
        drawDots(painter, {{21, 43}, {25.5, 40}, {27, 45}, {45.5, 40}, {44, 45}, {50, 43}}, 0.9, kGold);
    });
    drawHead(painter);
    // A string of pearls.
    painter.setPen(QPen(kInk, 0.5));
    painter.setBrush(Qt::white);
    for (int i = 0; i <= 6; ++i) {
        const qreal angle = qDegreesToRadians(20.0 + 140.0 * i / 6);
        painter.drawEllipse(QPointF(35.5, 35.5) + QPointF(qCos(angle) * 5.4, qSin(angle) * 3.6), 0.85, 0.85);
    }
    // Tiara.
    outlinedShape(painter,
                  polygonPath({{30.5, 25.5}, {31.5, 22.5}, {33.5, 24}, {35.5, 20}, {37.5, 24},
                               {39.5, 22.5}, {40.5, 25.5}}),
                  kGold, kGoldDark, 0.7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(35.5, 23.6), 0.9, 0.9);
    // A rose held up by the shoulder.
    painter.setPen(QPen(kLeaf, 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(49, 46.5), QPointF(49.5, 30));
    outlinedShape(painter, fitted(pipPath(Suit::Diamonds), QPointF(47.2, 35), 0.06), kLeaf, kLeaf.darker(160), 0.5);
    outlinedShape(painter, circle({49.5, 28}, 3.2), kRed, kRed.darker(150));
    painter.setPen(QPen(QColor(255, 220, 220), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(47.8, 26.3, 3.4, 3.4), 30 * 16, 250 * 16);
}

void drawJack(QPainter &painter, Suit suit)
{
    const QColor colour = suitColour(suit);
    // Sword, point upwards.
    painter.setPen(QPen(kSteel, 1.6, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(50.5, 44), QPointF(50.5, 22.5));
    outlinedShape(painter, polygonPath({{49.7, 22.6}, {50.5, 19.5}, {51.3, 22.6}}), kSteel, kSteel, 0.6);
    painter.setPen(QPen(kGoldDark, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(47.5, 41.5), QPointF(53.5, 41.5));

    // Short hair under the cap.
    QPainterPath hair(QPointF(29.5, 26));
    hair.cubicTo(28.5, 31, 29, 34, 30.5, 36);
    hair.lineTo(40.5, 36);
    hair.cubicTo(42, 34, 42.5, 31, 41.5, 26);
    hair.closeSubpath();
    outlinedShape(painter, hair, QColor(0xb0, 0x6a, 0x24));

    drawRobe(painter, colour, kGold.lighter(120));
    // A sash from shoulder to hip.
    drawOnRobe(painter, [&] {
        outlinedShape(painter, polygonPath({{15, 40.5}, {19, 37.5}, {57, 47}, {55, 50}}), kBlue, kGoldDark, 0.7);
    });
    drawCollar(painter);
    drawHead(painter);
    // Feather sweeping back from the cap.
    QPainterPath feather(QPointF(39, 23.5));
    feather.cubicTo(42, 18, 46, 17.5, 48, 18.5);
    feather.cubicTo(45.5, 19.5, 43, 21.5, 40.5, 25);
    feather.closeSubpath();
    outlinedShape(painter, feather, kGold, kGoldDark, 0.7);
    // Cap with a blue band.
    QPainterPath cap(QPointF(28.5, 26.5));
    cap.cubicTo(28.5, 20, 42.5, 19.5, 43, 26);
    cap.closeSubpath();
    outlinedShape(painter, cap, colour);
    painter.setPen(QPen(kBlue, 1.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(29, 25.6), QPointF(42.5, 25.6));
}

void drawCourt(QPainter &painter, Suit suit, int rank)
{
    const QColor colour = suitColour(suit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xfb, 0xf3, 0xde));
    painter.drawRect(kPanel);

    twice(painter, [&] {
        painter.save();
        painter.setClipRect(QRectF(kPanel.left(), kPanel.top(), kPanel.width(), kCentre.y() - kPanel.top()));
        if (rank == 13)
            drawKing(painter, suit);
        else if (rank == 12)
            drawQueen(painter, suit);
        else
            drawJack(painter, suit);
        painter.restore();
        drawPip(painter, suit, kPanel.topLeft() + QPointF(5, 5.5), 7, colour);
    });

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGold, 1.0));
    painter.drawLine(QPointF(kPanel.left(), kCentre.y()), QPointF(kPanel.right(), kCentre.y()));
    painter.setPen(QPen(kBlue, 1.0));
    painter.drawRect(kPanel);
    painter.setPen(QPen(kGold, 0.8));
    painter.drawRect(kPanel.adjusted(1.3, 1.3, -1.3, -1.3));
}

void paintCardFace(QPainter &painter, int card, const QColor &background, const QColor &border)
{
    const Suit suit = suitOf(card);
    const int rank = rankOf(card);

    painter.setPen(QPen(border, 1.0));
    painter.setBrush(background);
    painter.drawRoundedRect(kOutline, kCornerRadius - 0.5, kCornerRadius - 0.5);

    twice(painter, [&] { drawIndex(painter, suit, rank); });
    if (rank == 1)
        drawAce(painter, suit);
    else if (rank <= 10)
        drawNumberPips(painter, suit, rank);
    else
        drawCourt(painter, suit, rank);
}

// ---------------------------------------------------------------------------
// Backs: a white margin around a coloured, patterned panel.

constexpr QRectF kBackPanel(3.5, 3.5, kWidth - 7, kHeight - 7);

void hatch(QPainter &painter, qreal spacing, qreal angle)
{
    painter.save();
    painter.translate(kCentre);
    painter.rotate(angle);
    for (qreal x = -kHeight; x <= kHeight; x += spacing)
        painter.drawLine(QPointF(x, -kHeight), QPointF(x, kHeight));
    painter.restore();
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal angle = qDegreesToRadians(-90.0 + 36.0 * i);
        star << centre + QPointF(qCos(angle), qSin(angle)) * r;
    }
    QPainterPath path;
    path.addPolygon(star);
    path.closeSubpath();
    return path;
}

void drawBackPattern(QPainter &painter, int back)
{
    const QRectF r = kBackPanel;
    switch (back) {
    case 1: { // Blue lattice with studs at the crossings.
        painter.fillRect(r, QColor(0x1d, 0x4f, 0x91));
        painter.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
        hatch(painter, 8, 45);
        hatch(painter, 8, -45);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
        const qreal step = 8 / qSqrt(2);
        for (qreal y = kCentre.y() - 12 * step; y < kHeight; y += step)
            for (qreal x = kCentre.x() - 12 * step + (qRound((y - kCentre.y()) / step) % 2 ? step : 0); x < kWidth;
                 x += 2 * step)
                painter.drawEllipse(QPointF(x, y), 1.1, 1.1);
        break;
    }
    case 2: { // Teal waves.
        painter.fillRect(r, QColor(0x0e, 0x6b, 0x6e));
        QPainterPath wave(QPointF(r.left() - 8, 0));
        for (qreal x = r.left() - 8; x < r.right() + 8; x += 16) {
            wave.cubicTo(x + 4, -3.2, x + 4, -3.2, x + 8, 0);
            wave.cubicTo(x + 12, 3.2, x + 12, 3.2, x + 16, 0);
        }
        painter.setBrush(Qt::NoBrush);
        int line = 0;
        for (qreal y = r.top(); y < r.bottom() + 4; y += 3.5, ++line) {
            // Every third crest is a bright one, the rest a softer foam.
            painter.setPen(line % 3 ? QPen(QColor(0x6f, 0xc8, 0xc4), 0.9) : QPen(QColor(0xf4, 0xfb, 0xf7), 1.3));
            painter.drawPath(wave.translated(0, y));
        }
        break;
    }
    case 3: { // Crimson fish scales with gold edges.
        painter.fillRect(r, QColor(0x9b, 0x1b, 0x30));
        constexpr qreal radius = 6;
        int row = 0;
        for (qreal y = r.top() - radius; y < r.bottom() + radius; y += radius * 0.9, ++row) {
            for (qreal x = r.left() - (row % 2 ? radius : 0); x < r.right() + radius; x += 2 * radius) {
                QPainterPath scale;
                scale.moveTo(x - radius, y);
                scale.arcTo(QRectF(x - radius, y - radius, 2 * radius, 2 * radius), 180, 180);
                scale.closeSubpath();
                QRadialGradient shade(QPointF(x, y + radius * 0.6), radius * 1.2);
                shade.setColorAt(0, QColor(0xd6, 0x3b, 0x52));
                shade.setColorAt(1, QColor(0x8a, 0x12, 0x26));
                painter.setBrush(shade);
                painter.setPen(QPen(QColor(0xf2, 0xc1, 0x4e, 220), 0.9));
                painter.drawPath(scale);
            }
        }
        break;
    }
    case 4: { // Gold stars on night blue.
        painter.fillRect(r, QColor(0x17, 0x23, 0x4a));
        painter.setPen(Qt::NoPen);
        int row = 0;
        for (qreal y = r.top() + 4; y < r.bottom(); y += 9, ++row) {
            for (qreal x = r.left() + (row % 2 ? 10 : 4); x < r.right(); x += 12) {
                painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
                painter.drawPath(starPath(QPointF(x, y), 3.6, 1.5));
                painter.setBrush(QColor(255, 255, 255, 150));
                painter.drawEllipse(QPointF(x + 6, y + 4.5), 0.8, 0.8);
            }
        }
        break;
    }
    case 5: { // Green diagonal stripes with a gold pinstripe.
        painter.fillRect(r, QColor(0x2e, 0x7d, 0x32));
        painter.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 3.5, Qt::SolidLine, Qt::FlatCap));
        hatch(painter, 9, 30);
        painter.setPen(QPen(QColor(0xf2, 0xc1, 0x4e), 0.9));
        painter.save();
        painter.translate(4.5, 0);
        hatch(painter, 9, 30);
        painter.restore();
        break;
    }
    case 6: { // A rosette of interlaced circles on plum.
        painter.fillRect(r, QColor(0x5b, 0x26, 0x6e));
        QRadialGradient glow(kCentre, 40);
        glow.setColorAt(0, QColor(0x8e, 0x4a, 0xa6));
        glow.setColorAt(1, QColor(0x5b, 0x26, 0x6e, 0));
        painter.fillRect(r, glow);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0xf5, 0xd9, 0x8b), 0.9));
        constexpr int kPetals = 12;
        constexpr qreal kRadius = 13;
        for (int i = 0; i < kPetals; ++i) {
            const qreal angle = qDegreesToRadians(360.0 * i / kPetals);
            painter.drawEllipse(kCentre + QPointF(qCos(angle), qSin(angle)) * kRadius, kRadius, kRadius);
        }
        painter.setPen(QPen(QColor(255, 255, 255, 160), 1.0));
        painter.drawEllipse(kCentre, 2 * kRadius + 2, 2 * kRadius + 2);
        painter.drawEllipse(kCentre, 3, 3);
        painter.setPen(QPen(QColor(0xf5, 0xd9, 0x8b), 0.9));
        for (const QPointF corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
            painter.drawEllipse(corner, 8, 8);
            painter.drawEllipse(corner, 12, 12);
        }
        break;
    }
    }
}

} // namespace

void paintFace(QPainter &painter, int card)
{
    if (card < 1 || card > 52)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintCardFace(painter, card, kIvory, kBorder);
    painter.restore();
}

void paintPeekFace(QPainter &painter, int card)
{
    if (card < 1 || card > 52)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A cool tint and a coloured rim set the peeked card apart from its
    // neighbours even where only its top strip shows.
    paintCardFace(painter, card, kPeekTint, kPeek.darker(140));
    QColor glow = kPeek;
    glow.setAlpha(150);
    painter.setPen(QPen(glow, 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(kOutline.adjusted(1.2, 1.2, -1.2, -1.2), kCornerRadius - 1.5, kCornerRadius - 1.5);

    // An eye between the two top indices.
    constexpr QPointF kEye(kWidth / 2, 8);
    QPainterPath eye(kEye + QPointF(-6.5, 0));
    eye.quadTo(kEye + QPointF(0, -6.5), kEye + QPointF(6.5, 0));
    eye.quadTo(kEye + QPointF(0, 6.5), kEye + QPointF(-6.5, 0));
    painter.setPen(QPen(kPeek.darker(130), 1.0));
    painter.setBrush(Qt::white);
    painter.drawPath(eye);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPeek);
    painter.drawEllipse(kEye, 2.4, 2.4);
    painter.setBrush(kBlack);
    painter.drawEllipse(kEye, 1.0, 1.0);
    painter.restore();
}

void paintBack(QPainter &painter, int back)
{
    if (back < 1 || back > 6)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kBorder, 1.0));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(kOutline, kCornerRadius - 0.5, kCornerRadius - 0.5);

    QPainterPath panel;
    panel.addRoundedRect(kBackPanel, 2.5, 2.5);
    painter.save();
    painter.setClipPath(panel);
    drawBackPattern(painter, back);
    painter.restore();
    painter.setPen(QPen(QColor(0, 0, 0, 90), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(panel);
    painter.restore();
}

void paintSymbol(QPainter &painter, int symbol)
{
    if (symbol != 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // One outline and emblem, laid twice: a dark offset shadow so it reads
    // on light tables, a translucent light line so it reads on dark ones.
    QPainterPath mark;
    mark.addRoundedRect(QRectF(2, 2, kWidth - 4, kHeight - 4), kCornerRadius, kCornerRadius);
    mark.addEllipse(kCentre, 17, 17);
    constexpr qreal kEmblemPip = 9;
    constexpr qreal kEmblemOffset = 8.5;
    const std::array<std::pair<Suit, QPointF>, 4> emblem = {{
        {Suit::Spades, {0, -kEmblemOffset}},
        {Suit::Hearts, {kEmblemOffset, 0}},
        {Suit::Clubs, {0, kEmblemOffset}},
        {Suit::Diamonds, {-kEmblemOffset, 0}},
    }};
    for (const auto &[suit, offset] : emblem)
        mark.addPath(fitted(pipPath(suit), kCentre + offset, kEmblemPip / 100));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 100), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(mark.translated(0.7, 0.7));
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(mark);
    painter.restore();
}

} // namespace vespin::art
