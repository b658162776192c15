#pragma once

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace vespin {

// A square picture drawn on a 32-unit grid and scaled to `size` logical
// pixels at the screen's device pixel ratio, so it is crisp on any screen.
inline QPixmap vectorPicture(int size, qreal ratio, const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    painter.end();
    return pixmap;
}

} // namespace vespin
