#include "WinPicture.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vespin {

WinPicture::WinPicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
}

void WinPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(width()) / GridSize, double(height()) / GridSize);

    const QColor gold(232, 182, 38);
    const QColor deepGold(170, 118, 16);
    const QColor outline(70, 44, 8);
    p.setPen(QPen(outline, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // A cup on a stepped foot, with two handles.
    QPainterPath cup;
    cup.moveTo(9, 6);
    cup.lineTo(24, 6);
    cup.cubicTo(24, 15, 21, 19, 16.5, 20);
    cup.cubicTo(12, 19, 9, 15, 9, 6);
    cup.closeSubpath();
    QLinearGradient shine(9, 0, 24, 0);
    shine.setColorAt(0, deepGold);
    shine.setColorAt(0.35, QColor(255, 226, 120));
    shine.setColorAt(1, deepGold);
    p.setBrush(shine);
    p.drawPath(cup);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(4.5, 7, 7, 8), 90 * 16, 180 * 16);
    p.drawArc(QRectF(21.5, 7, 7, 8), 270 * 16, 180 * 16);
    p.setPen(QPen(gold, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(4.5, 7, 7, 8), 90 * 16, 180 * 16);
    p.drawArc(QRectF(21.5, 7, 7, 8), 270 * 16, 180 * 16);

    p.setPen(QPen(outline, 0.6));
    p.setBrush(gold);
    p.drawRect(QRectF(15, 20, 3, 4));
    p.setBrush(deepGold);
    p.drawRoundedRect(QRectF(11, 24, 11, 2.5), 0.8, 0.8);
    p.setBrush(QColor(120, 72, 36));
    p.drawRoundedRect(QRectF(9, 26.5, 15, 3.5), 1, 1);

    // A red heart on the cup, and stars around it.
    QPainterPath heart;
    heart.moveTo(16.5, 15);
    heart.cubicTo(13, 12.5, 13.2, 9.2, 15, 9.2);
    heart.cubicTo(15.8, 9.2, 16.3, 9.8, 16.5, 10.4);
    heart.cubicTo(16.7, 9.8, 17.2, 9.2, 18, 9.2);
    heart.cubicTo(19.8, 9.2, 20, 12.5, 16.5, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 16, 46));
    p.drawPath(heart);

    auto star = [&p](QPointF centre, double r) {
        QPainterPath path;
        for (int i = 0; i < 8; ++i) {
            const double radius = i % 2 ? r * 0.35 : r;
            const double angle = i * 3.14159265358979 / 4;
            const QPointF point(centre.x() + radius * std::sin(angle), centre.y() - radius * std::cos(angle));
            if (i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    p.setBrush(QColor(255, 246, 200));
    star(QPointF(4, 3.5), 2.5);
    star(QPointF(29, 3), 2);
    star(QPointF(28.5, 21), 1.8);
    star(QPointF(4.5, 22), 1.5);
}

} // namespace vespin
