#include "Glyphs.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <initializer_list>

namespace vespin {
namespace {

// Every picture is drawn on a 16-unit square. Outlines are one unit wide and
// run along half units, so that at ratio 1 and 2 they cover whole pixels
// instead of smearing across two.
constexpr qreal Grid = 16;

// The colours a picture is drawn with. The disabled looks draw the same
// shapes with every fill in one face colour and every line in one grey, so
// each shape only names the part it paints, not a literal colour.
struct Inks {
    QColor line;   // outlines
    QColor detail; // thin strokes inside a shape: text lines, clock hands
    QColor shade;  // dark openings
    QColor paper, blue, sky, green, red, gold, glow, wood, steel, skin;
};

const Inks &colourInks()
{
    static const Inks inks{
        QColor(0x27, 0x31, 0x3d), QColor(0x5d, 0x6b, 0x7c), QColor(0x3b, 0x47, 0x59),
        QColor(0xfd, 0xfc, 0xf8), QColor(0x35, 0x74, 0xd0), QColor(0xa8, 0xcb, 0xf3),
        QColor(0x2f, 0xa0, 0x4e), QColor(0xd6, 0x43, 0x39), QColor(0xf2, 0xb1, 0x2a),
        QColor(0xff, 0xe3, 0x7a), QColor(0xc9, 0x8a, 0x4e), QColor(0x9c, 0xa8, 0xb6),
        QColor(0xf3, 0xc9, 0xa0),
    };
    return inks;
}

Inks flatInks(QColor line, QColor face)
{
    return Inks{line, line, line, face, face, face, face, face, face, face, face, face, face};
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath rounded(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath ellipse(QPointF centre, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

// A centre line turned into a solid band, so it can be filled and outlined
// like any other shape.
QPainterPath band(const QPainterPath &centreLine, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(centreLine).simplified();
}

// A triangle whose base is centred on `base`, pointing along `direction`.
QPainterPath arrowHead(QPointF base, QPointF direction, qreal length, qreal halfWidth)
{
    const qreal norm = std::hypot(direction.x(), direction.y());
    const QPointF d = direction / norm;
    const QPointF n(-d.y(), d.x());
    return polygon({base + d * length, base + n * halfWidth, base - n * halfWidth});
}

// An arrow along a circle, from `startDeg` through `spanDeg` (Qt's angles:
// counter-clockwise, zero at three o'clock), its head at the end.
QPainterPath arcArrow(QPointF centre, qreal radius, qreal startDeg, qreal spanDeg, qreal width, qreal headLength,
                      qreal headHalf)
{
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath line;
    line.arcMoveTo(circle, startDeg);
    line.arcTo(circle, startDeg, spanDeg);
    const qreal end = qDegreesToRadians(startDeg + spanDeg);
    const qreal sense = spanDeg < 0 ? -1 : 1;
    const QPointF tangent(-std::sin(end) * sense, -std::cos(end) * sense);
    return band(line, width).united(arrowHead(line.currentPosition(), tangent, headLength, headHalf)).simplified();
}

// Filled with `fill`, outlined in the line colour.
void useInks(QPainter &p, const QColor &fill, const Inks &k)
{
    p.setPen(QPen(k.line, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void drawShape(QPainter &p, const QPainterPath &shape, const QColor &fill, const Inks &k)
{
    useInks(p, fill, k);
    p.drawPath(shape);
}

void drawLines(QPainter &p, const QColor &colour, qreal width, std::initializer_list<QLineF> lines)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    for (const QLineF &l : lines)
        p.drawLine(l);
}

// The standard upright card: 10 by 14 pixels at 16.
constexpr QRectF CardRect(3.5, 1.5, 9, 13);

void card(QPainter &p, const QRectF &rect, const QColor &face, const Inks &k)
{
    drawShape(p, rounded(rect, 1.5), face, k);
}

void page(QPainter &p, const QRectF &r, const Inks &k)
{
    constexpr qreal fold = 3;
    drawShape(p, polygon({r.topLeft(), {r.right() - fold, r.top()}, {r.right(), r.top() + fold}, r.bottomRight(),
                          r.bottomLeft()}),
              k.paper, k);
    drawShape(p, polygon({{r.right() - fold, r.top()}, {r.right() - fold, r.top() + fold}, {r.right(), r.top() + fold}}),
              k.sky, k);
}

// Drawn, not typeset: the pictures must not depend on the fonts installed.
void questionMark(QPainter &p, const QRectF &box, const QColor &colour, qreal weight)
{
    const qreal r = box.width() / 2 - weight / 2;
    const QPointF hook(box.center().x(), box.top() + weight / 2 + r);
    const QRectF circle(hook.x() - r, hook.y() - r, 2 * r, 2 * r);
    const qreal dotRadius = weight * 0.62;
    const QPointF dot(hook.x(), box.bottom() - dotRadius);
    QPainterPath stroke;
    stroke.arcMoveTo(circle, 165);
    stroke.arcTo(circle, 165, -255);
    stroke.lineTo(hook.x(), dot.y() - dotRadius - weight * 0.55);
    p.setPen(QPen(colour, weight, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stroke);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(dot, dotRadius, dotRadius);
}

void bookmark(QPainter &p, qreal left, const Inks &k)
{
    drawShape(p, polygon({{left, 1.5}, {left + 6, 1.5}, {left + 6, 14.5}, {left + 3, 11.5}, {left, 14.5}}), k.red, k);
}

void windowFrame(QPainter &p, const Inks &k)
{
    useInks(p, k.paper, k);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.fillRect(QRectF(2, 3, 12, 2), k.blue);
}

void book(QPainter &p, const QColor &cover, const Inks &k)
{
    drawShape(p, rounded(QRectF(3.5, 11.5, 9, 3), 1), k.paper, k);
    drawShape(p, rounded(QRectF(3.5, 1.5, 9, 11.5), 1), cover, k);
    drawLines(p, k.line, 1, {QLineF(5.5, 2, 5.5, 12.5)});
    drawLines(p, k.detail, 1, {QLineF(5, 13.5, 11.5, 13.5)});
}

// --- the pictures -----------------------------------------------------------

void newGame(QPainter &p, const Inks &k)
{
    const QPointF pivot(8, 13.5);
    auto fanned = [&](qreal angle, const QColor &face, bool pip) {
        p.save();
        p.translate(pivot);
        p.rotate(angle);
        p.translate(-pivot);
        card(p, QRectF(4.5, 4, 7, 9.5), face, k);
        if (pip) {
            p.setPen(Qt::NoPen);
            p.setBrush(k.red);
            p.drawPath(polygon({{8, 5.8}, {9.9, 8.75}, {8, 11.7}, {6.1, 8.75}}));
        } else {
            p.setPen(QPen(k.sky, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(6, 5.5, 4, 6.5), 0.5, 0.5);
        }
        p.restore();
    };
    fanned(-16, k.blue, false);
    fanned(9, k.paper, true);

    // A four-pointed sparkle: what is new.
    const QPointF c(12.8, 3.2);
    constexpr qreal outer = 3, inner = 0.9;
    drawShape(p,
              polygon({c + QPointF(0, -outer), c + QPointF(inner, -inner), c + QPointF(outer, 0), c + QPointF(inner, inner),
                       c + QPointF(0, outer), c + QPointF(-inner, inner), c + QPointF(-outer, 0),
                       c + QPointF(-inner, -inner)}),
              k.gold, k);
}

void selectGame(QPainter &p, const Inks &k)
{
    card(p, CardRect, k.paper, k);
    // A number sign, leaning like a written one.
    drawLines(p, k.blue, 1.6,
              {QLineF(7.2, 3.5, 6, 12.5), QLineF(10.2, 3.5, 9, 12.5), QLineF(4.5, 6.5, 11.5, 6.5),
               QLineF(4.5, 9.5, 11.5, 9.5)});
}

void restartGame(QPainter &p, const Inks &k)
{
    card(p, QRectF(5.5, 4.5, 5, 7), k.paper, k);
    drawShape(p, arcArrow({8, 8}, 5.75, 70, 290, 1.5, 2.6, 2.4), k.green, k);
}

void undo(QPainter &p, const Inks &k)
{
    QPainterPath shaft;
    shaft.moveTo(13.5, 14.5);
    shaft.cubicTo(13.5, 9.5, 11.5, 6.5, 6, 6.5);
    const QPainterPath arrow = band(shaft, 3.2).united(polygon({{1, 6.5}, {6.5, 1.5}, {6.5, 11.5}})).simplified();
    drawShape(p, arrow, k.blue, k);
}

void pause(QPainter &p, const Inks &k)
{
    drawShape(p, rounded(QRectF(3.5, 2.5, 3, 11), 1), k.blue, k);
    drawShape(p, rounded(QRectF(9.5, 2.5, 3, 11), 1), k.blue, k);
}

void topTen(QPainter &p, const Inks &k)
{
    p.setPen(QPen(k.line, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.2, 4.6), 2.6, 2.4);
    p.drawEllipse(QPointF(11.8, 4.6), 2.6, 2.4);

    QPainterPath cup;
    cup.moveTo(3.5, 1.5);
    cup.lineTo(12.5, 1.5);
    cup.lineTo(12.5, 3.5);
    cup.cubicTo(12.5, 7.5, 10.5, 9.5, 8, 9.5);
    cup.cubicTo(5.5, 9.5, 3.5, 7.5, 3.5, 3.5);
    cup.closeSubpath();
    useInks(p, k.gold, k);
    p.drawRect(QRectF(6.5, 9, 3, 3));
    drawShape(p, cup, k.gold, k);
    drawLines(p, k.glow, 1, {QLineF(6, 3, 6, 6.5)});
    drawShape(p, rounded(QRectF(3.5, 11.5, 9, 3), 0.5), k.wood, k);
}

void statistics(QPainter &p, const Inks &k)
{
    useInks(p, k.blue, k);
    p.drawRect(QRectF(3.5, 8.5, 3, 6));
    p.setBrush(k.green);
    p.drawRect(QRectF(6.5, 3.5, 3, 11));
    p.setBrush(k.gold);
    p.drawRect(QRectF(9.5, 6.5, 3, 8));
    drawLines(p, k.line, 1, {QLineF(1.5, 1, 1.5, 15), QLineF(1, 14.5, 15, 14.5)});
}

void exitDoor(QPainter &p, const Inks &k)
{
    useInks(p, k.shade, k);
    p.drawRect(QRectF(6.5, 1.5, 7, 13));
    drawShape(p, polygon({{13.5, 1.5}, {10, 3}, {10, 15.5}, {13.5, 14.5}}), k.wood, k);
    p.setPen(Qt::NoPen);
    p.setBrush(k.line);
    p.drawEllipse(QPointF(11.25, 9.2), 0.6, 0.6);

    QPainterPath shaft;
    shaft.moveTo(9.5, 8.5);
    shaft.lineTo(4.5, 8.5);
    drawShape(p, band(shaft, 3).united(polygon({{0.5, 8.5}, {5, 4}, {5, 13}})).simplified(), k.green, k);
}

void preferences(QPainter &p, const Inks &k)
{
    QPainterPath gear = ellipse({8, 8}, 5, 5);
    QPainterPath tooth;
    tooth.addRect(QRectF(-1.3, -7.5, 2.6, 3.5));
    for (int i = 0; i < 8; ++i)
        gear = gear.united(QTransform().translate(8, 8).rotate(i * 45).map(tooth));
    gear = gear.subtracted(ellipse({8, 8}, 2, 2)).simplified();
    drawShape(p, gear, k.steel, k);
}

void playerName(QPainter &p, const Inks &k)
{
    QPainterPath body;
    body.moveTo(2.5, 14.5);
    body.lineTo(2.5, 13);
    body.cubicTo(2.5, 10.5, 4.5, 9, 8, 9);
    body.cubicTo(11.5, 9, 13.5, 10.5, 13.5, 13);
    body.lineTo(13.5, 14.5);
    body.closeSubpath();
    drawShape(p, body, k.blue, k);
    drawShape(p, ellipse({8, 5}, 3.5, 3.5), k.skin, k);
}

void sound(QPainter &p, const Inks &k)
{
    drawShape(p, polygon({{1.5, 5.5}, {4.5, 5.5}, {8.5, 2}, {8.5, 14}, {4.5, 10.5}, {1.5, 10.5}}), k.steel, k);
    p.setPen(QPen(k.blue, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 4.5, 7, 7), -50 * 16, 100 * 16);
    p.drawArc(QRectF(4.5, 1.5, 11, 13), -55 * 16, 110 * 16);
}

void autoSave(QPainter &p, const Inks &k)
{
    drawShape(p, polygon({{1.5, 1.5}, {10, 1.5}, {12.5, 4}, {12.5, 12.5}, {1.5, 12.5}}), k.blue, k);
    useInks(p, k.steel, k);
    p.drawRect(QRectF(4.5, 1.5, 5, 3.5));
    p.fillRect(QRectF(7, 2, 1.5, 2.5), k.line);
    useInks(p, k.paper, k);
    p.drawRect(QRectF(3.5, 7.5, 6, 5));

    const QPointF c(11.5, 11.5);
    drawShape(p, ellipse(c, 4, 4), k.paper, k);
    p.setPen(QPen(k.line, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -2.6));
    p.drawLine(c, c + QPointF(2, 0));
}

void placeBookmark(QPainter &p, const Inks &k)
{
    bookmark(p, 2.5, k);
    const QPainterPath plus = polygon({{10.5, 1.5}, {12.5, 1.5}, {12.5, 4.5}, {15.5, 4.5}, {15.5, 6.5}, {12.5, 6.5},
                                       {12.5, 9.5}, {10.5, 9.5}, {10.5, 6.5}, {7.5, 6.5}, {7.5, 4.5}, {10.5, 4.5}});
    drawShape(p, plus, k.green, k);
}

void returnToBookmark(QPainter &p, const Inks &k)
{
    bookmark(p, 1.5, k);
    QPainterPath shaft;
    shaft.moveTo(14.5, 14.5);
    shaft.cubicTo(14.5, 9.5, 13.5, 7.5, 11.5, 7.5);
    drawShape(p, band(shaft, 2.6).united(polygon({{7, 7.5}, {11.5, 3.5}, {11.5, 11.5}})).simplified(), k.blue, k);
}

void backgroundColor(QPainter &p, const Inks &k)
{
    QPainterPath board = ellipse({8, 8}, 6.5, 5.5);
    board = board.subtracted(ellipse({10.5, 10.5}, 1.5, 1.5));
    board = board.subtracted(ellipse({13.5, 12.5}, 2.5, 1.8)).simplified();
    drawShape(p, board, k.wood, k);
    p.setPen(Qt::NoPen);
    const struct { QPointF at; QColor colour; } dabs[] = {
        {{4.5, 8.5}, k.red}, {{5.5, 5}, k.gold}, {{9, 4.2}, k.green}, {{12, 6.2}, k.blue}};
    for (const auto &dab : dabs) {
        p.setBrush(dab.colour);
        p.drawEllipse(dab.at, 1.5, 1.5);
    }
}

void cardBack(QPainter &p, const Inks &k)
{
    card(p, CardRect, k.blue, k);
    const QRectF inner(5, 3, 6, 10);
    p.save();
    p.setClipRect(inner);
    p.setPen(QPen(k.sky, 1));
    for (qreal d = -12; d <= 12; d += 3) {
        p.drawLine(QLineF(inner.left() + d, inner.top(), inner.left() + d + 10, inner.bottom()));
        p.drawLine(QLineF(inner.right() - d, inner.top(), inner.right() - d - 10, inner.bottom()));
    }
    p.restore();
    p.setPen(QPen(k.paper, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-0.5, -0.5, 0.5, 0.5));
}

void refresh(QPainter &p, const Inks &k)
{
    drawShape(p, arcArrow({8, 8}, 5.5, 160, -130, 1.6, 2.6, 2.5), k.green, k);
    drawShape(p, arcArrow({8, 8}, 5.5, 340, -130, 1.6, 2.6, 2.5), k.green, k);
}

void viewToolbar(QPainter &p, const Inks &k)
{
    windowFrame(p, k);
    p.fillRect(QRectF(2, 5, 12, 3), k.sky);
    p.fillRect(QRectF(3, 5.5, 2, 2), k.red);
    p.fillRect(QRectF(6, 5.5, 2, 2), k.green);
    p.fillRect(QRectF(9, 5.5, 2, 2), k.gold);
    drawLines(p, k.line, 1, {QLineF(2, 8.5, 14, 8.5)});
}

void viewStatusBar(QPainter &p, const Inks &k)
{
    windowFrame(p, k);
    p.fillRect(QRectF(2, 11, 12, 2), k.sky);
    drawLines(p, k.line, 1, {QLineF(2, 10.5, 14, 10.5), QLineF(9.5, 11, 9.5, 13)});
}

void contents(QPainter &p, const Inks &k)
{
    book(p, k.red, k);
    p.fillRect(QRectF(7, 4, 4, 2), k.gold);
}

void keywordSearch(QPainter &p, const Inks &k)
{
    page(p, QRectF(1.5, 1.5, 10, 13), k);
    drawLines(p, k.detail, 1, {QLineF(3.5, 5.5, 8, 5.5), QLineF(3.5, 7.5, 7, 7.5), QLineF(3.5, 9.5, 5.5, 9.5)});
    p.setPen(QPen(k.line, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.3, 12.3), QPointF(14.6, 14.6));
    drawShape(p, ellipse({9.5, 9.5}, 3.5, 3.5), k.sky, k);
}

void howToPlay(QPainter &p, const Inks &k)
{
    card(p, CardRect, k.paper, k);
    questionMark(p, QRectF(5, 3.5, 6, 9.5), k.blue, 2);
}

void usingHelp(QPainter &p, const Inks &k)
{
    const QPointF c(8, 8);
    const QPainterPath ring = ellipse(c, 6.5, 6.5).subtracted(ellipse(c, 3, 3));
    drawShape(p, ring, k.paper, k);
    QPainterPath bands;
    for (int i = 0; i < 4; ++i) {
        QPainterPath wedge;
        wedge.moveTo(c);
        wedge.arcTo(QRectF(0, 0, 16, 16), 45 + i * 90 - 22, 44);
        wedge.closeSubpath();
        bands.addPath(wedge);
    }
    drawShape(p, ring.intersected(bands).simplified(), k.red, k);
}

void tipOfTheDay(QPainter &p, const Inks &k)
{
    const QPainterPath glass =
        ellipse({8, 6}, 5, 5).united(polygon({{4.8, 8}, {11.2, 8}, {10.5, 11}, {5.5, 11}})).simplified();
    drawShape(p, glass, k.glow, k);
    p.setPen(QPen(k.detail, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(7, 11), QPointF(6.3, 6.5), QPointF(7.2, 7.8), QPointF(8, 6.5),
                              QPointF(8.8, 7.8), QPointF(9.7, 6.5), QPointF(9, 11)}));
    drawShape(p, rounded(QRectF(5.5, 10.5, 5, 4), 0.8), k.steel, k);
    drawLines(p, k.line, 1, {QLineF(6, 12.5, 10, 12.5)});
}

void about(QPainter &p, const Inks &k)
{
    drawShape(p, ellipse({8, 8}, 6.5, 6.5), k.blue, k);
    p.setPen(Qt::NoPen);
    p.setBrush(k.paper);
    p.drawEllipse(QPointF(8, 4.8), 1.3, 1.3);
    p.drawRect(QRectF(7, 7, 2, 5.5));
}

void help(QPainter &p, const Inks &k)
{
    book(p, k.blue, k);
    questionMark(p, QRectF(6.5, 3, 5, 8), k.paper, 1.7);
}

void readme(QPainter &p, const Inks &k)
{
    page(p, QRectF(2.5, 1.5, 11, 13), k);
    drawLines(p, k.detail, 1,
              {QLineF(4.5, 5.5, 9, 5.5), QLineF(4.5, 7.5, 11.5, 7.5), QLineF(4.5, 9.5, 11.5, 9.5),
               QLineF(4.5, 11.5, 9.5, 11.5)});
}

void draw(QPainter &p, Glyph glyph, const Inks &k)
{
    switch (glyph) {
    case Glyph::NewGame: return newGame(p, k);
    case Glyph::SelectGame: return selectGame(p, k);
    case Glyph::RestartGame: return restartGame(p, k);
    case Glyph::Undo: return undo(p, k);
    case Glyph::Pause: return pause(p, k);
    case Glyph::TopTen: return topTen(p, k);
    case Glyph::Statistics: return statistics(p, k);
    case Glyph::Exit: return exitDoor(p, k);
    case Glyph::Preferences: return preferences(p, k);
    case Glyph::PlayerName: return playerName(p, k);
    case Glyph::Sound: return sound(p, k);
    case Glyph::AutoSave: return autoSave(p, k);
    case Glyph::PlaceBookmark: return placeBookmark(p, k);
    case Glyph::ReturnToBookmark: return returnToBookmark(p, k);
    case Glyph::BackgroundColor: return backgroundColor(p, k);
    case Glyph::CardBack: return cardBack(p, k);
    case Glyph::Refresh: return refresh(p, k);
    case Glyph::ViewToolbar: return viewToolbar(p, k);
    case Glyph::ViewStatusBar: return viewStatusBar(p, k);
    case Glyph::Contents: return contents(p, k);
    case Glyph::KeywordSearch: return keywordSearch(p, k);
    case Glyph::HowToPlay: return howToPlay(p, k);
    case Glyph::UsingHelp: return usingHelp(p, k);
    case Glyph::TipOfTheDay: return tipOfTheDay(p, k);
    case Glyph::About: return about(p, k);
    case Glyph::Help: return help(p, k);
    case Glyph::Readme: return readme(p, k);
    }
}

// The tool bar buttons that may be disabled while the game runs carry a look
// of their own for it, engraved into the bar, rather than the style's greying.
bool hasOwnDisabledLook(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Undo:
    case Glyph::Pause:
    case Glyph::Exit:
    case Glyph::Statistics:
    case Glyph::Preferences:
    case Glyph::Readme:
    case Glyph::ReturnToBookmark:
        return true;
    default:
        return false;
    }
}

QImage render(Glyph glyph, QSize size, bool engraved)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const int side = qMin(size.width(), size.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate((size.width() - side) / 2, (size.height() - side) / 2);
    p.scale(side / Grid, side / Grid);
    if (engraved) {
        // A light copy one unit down and right, the grey shape over it: the
        // picture reads as pressed into the bar.
        p.save();
        p.translate(1, 1);
        draw(p, glyph, flatInks(QColor(0xff, 0xff, 0xff), QColor(0xff, 0xff, 0xff)));
        p.restore();
        draw(p, glyph, flatInks(QColor(0x8a, 0x8a, 0x8a), QColor(0xd2, 0xd2, 0xd2)));
    } else {
        draw(p, glyph, colourInks());
    }
    return image;
}

QPixmap cachedRender(Glyph glyph, QSize size, bool engraved)
{
    const QString key = QStringLiteral("vespin.glyph/%1/%2/%3x%4")
                            .arg(int(glyph))
                            .arg(int(engraved))
                            .arg(size.width())
                            .arg(size.height());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(render(glyph, size, engraved));
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

class GlyphEngine final : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph)
        : m_glyph(glyph)
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        if (size.isEmpty())
            return QPixmap();
        if (mode == QIcon::Disabled && hasOwnDisabledLook(m_glyph))
            return cachedRender(m_glyph, size, true);
        const QPixmap normal = cachedRender(m_glyph, size, false);
        if (mode == QIcon::Normal || mode == QIcon::Active)
            return normal;
        // Greying and selection tints belong to the style, as for any other icon.
        if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(mode, normal, &option);
        }
        return normal;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : qApp->devicePixelRatio();
        QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }

    QIconEngine *clone() const override { return new GlyphEngine(m_glyph); }
    QString key() const override { return QStringLiteral("vespin.glyph"); }
    bool isNull() override { return false; }

private:
    Glyph m_glyph;
};

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    return QIcon(new GlyphEngine(glyph));
}

QIcon glyphIcon(int menuImageIndex)
{
    if (menuImageIndex < 0 || menuImageIndex >= MenuGlyphCount)
        return QIcon();
    return glyphIcon(Glyph(menuImageIndex));
}

} // namespace vespin
