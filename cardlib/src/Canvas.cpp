#include "Canvas.h"

#include "CardArt.h"

#include <QHash>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vespin {
namespace {

// Renderings are kept per picture and device size: the vector art is drawn
// once per size, after which every draw is a plain copy of pixels.
QHash<quint64, QImage> &pictureCache()
{
    static QHash<quint64, QImage> cache;
    return cache;
}

quint64 cacheKey(Picture picture, QSize size)
{
    return (quint64(picture.kind) << 56) | (quint64(picture.id & 0xff) << 48)
           | (quint64(size.width() & 0xffffff) << 24) | quint64(size.height() & 0xffffff);
}

const QImage &rendering(Picture picture, QSize size)
{
    auto &cache = pictureCache();
    const quint64 key = cacheKey(picture, size);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(size.width()) / VESPIN_CARD_WIDTH, double(size.height()) / VESPIN_CARD_HEIGHT);
    switch (picture.kind) {
    case Picture::Face: art::paintFace(painter, picture.id); break;
    case Picture::PeekFace: art::paintPeekFace(painter, picture.id); break;
    case Picture::Back: art::paintBack(painter, picture.id); break;
    case Picture::Symbol: art::paintSymbol(painter, picture.id); break;
    case Picture::None: break;
    }
    painter.end();
    return *cache.insert(key, image);
}

int toDevicePixel(int v, double ratio)
{
    return int(std::floor(v * ratio + 0.5));
}

QImage surfaceImage(VespinSurface &surface)
{
    return QImage(surface.bits, surface.width, surface.height, surface.bytesPerLine,
                  QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void clearPictureCache()
{
    pictureCache().clear();
}

Canvas::Canvas(VespinSurface &surface, PictureResolver resolve)
    : m_surface(surface), m_resolve(std::move(resolve))
{
}

QRect Canvas::itemRect(const VespinItem &item)
{
    return QRect(item.x, item.y, VESPIN_CARD_WIDTH, VESPIN_CARD_HEIGHT);
}

QRect Canvas::toDevice(const QRect &rect) const
{
    const double ratio = m_surface.devicePixelRatio;
    const int left = toDevicePixel(rect.x(), ratio);
    const int top = toDevicePixel(rect.y(), ratio);
    const int right = toDevicePixel(rect.x() + rect.width(), ratio);
    const int bottom = toDevicePixel(rect.y() + rect.height(), ratio);
    return QRect(left, top, right - left, bottom - top);
}

QRegion Canvas::appendItem(const VespinItem &item)
{
    // An identical older item would lie hidden under the new one; keeping it
    // would only let the list fill up with repeats of the same picture.
    const QRegion replaced = removeItems([&](const VespinItem &old) {
        return old.kind == item.kind && old.id == item.id && old.x == item.x && old.y == item.y;
    });
    if (m_surface.itemCount >= VESPIN_ITEM_CAPACITY) {
        // Full: the oldest picture stays as pixels but is forgotten.
        std::memmove(m_surface.items, m_surface.items + 1,
                     sizeof(VespinItem) * (VESPIN_ITEM_CAPACITY - 1));
        m_surface.itemCount = VESPIN_ITEM_CAPACITY - 1;
    }
    m_surface.items[m_surface.itemCount++] = item;
    return replaced;
}

QRegion Canvas::removeItems(const std::function<bool(const VespinItem &)> &select)
{
    QRegion covered;
    int kept = 0;
    for (int i = 0; i < m_surface.itemCount; ++i) {
        const VespinItem &item = m_surface.items[i];
        if (select(item))
            covered += toDevice(itemRect(item));
        else
            m_surface.items[kept++] = item;
    }
    m_surface.itemCount = kept;
    return covered;
}

void Canvas::drawOnTop(const VespinItem &item)
{
    const QRegion replaced = appendItem(item);
    if (!m_surface.bits)
        return;
    if (!replaced.isEmpty()) {
        // Drawn over itself, a picture's soft edges would darken: compose
        // the place afresh instead.
        compose(replaced);
        return;
    }
    const Picture picture = m_resolve(item);
    if (picture.kind == Picture::None)
        return;
    const QRect device = toDevice(itemRect(item));
    QImage target = surfaceImage(m_surface);
    QPainter painter(&target);
    painter.drawImage(device.topLeft(), rendering(picture, device.size()));
    painter.end();
    notify(device);
}

void Canvas::compose(const QRegion &deviceRegion)
{
    if (!m_surface.bits || deviceRegion.isEmpty())
        return;
    const QRegion region = deviceRegion & QRect(0, 0, m_surface.width, m_surface.height);
    if (region.isEmpty())
        return;

    QImage target = surfaceImage(m_surface);
    QPainter painter(&target);
    for (const QRect &area : region) {
        painter.setClipRect(area);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(area, QColor::fromRgba(m_surface.background));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        for (int i = 0; i < m_surface.itemCount; ++i) {
            const VespinItem &item = m_surface.items[i];
            const QRect device = toDevice(itemRect(item));
            if (!device.intersects(area))
                continue;
            const Picture picture = m_resolve(item);
            if (picture.kind != Picture::None)
                painter.drawImage(device.topLeft(), rendering(picture, device.size()));
        }
    }
    painter.end();
    notify(region.boundingRect());
}

void Canvas::notify(const QRect &deviceRect)
{
    if (!m_surface.changed || deviceRect.isEmpty())
        return;
    const double ratio = m_surface.devicePixelRatio;
    const int left = int(std::floor(deviceRect.left() / ratio));
    const int top = int(std::floor(deviceRect.top() / ratio));
    const int right = int(std::ceil((deviceRect.right() + 1) / ratio));
    const int bottom = int(std::ceil((deviceRect.bottom() + 1) / ratio));
    m_surface.changed(m_surface.owner, left, top, right - left, bottom - top);
}

} // namespace vespin
