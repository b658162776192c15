#include "DockTexture.h"

#include <QEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionToolBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vespin {
namespace {

// Index 0 is the colour of the gaps between the threads; 1..15 run from the
// lightest thread to the darkest.
constexpr int GapIndex = 0;
constexpr int ThreadShades = 15;
constexpr int ThreadWidth = 2;

QList<QRgb> weavePalette()
{
    const QColor light(0xf8, 0xf4, 0xea);
    const QColor dark(0xdd, 0xd3, 0xbf);
    QList<QRgb> table{qRgb(0xc9, 0xbd, 0xa5)};
    for (int i = 0; i < ThreadShades; ++i) {
        const qreal t = qreal(i) / (ThreadShades - 1);
        table.append(qRgb(int(std::lround(light.red() + (dark.red() - light.red()) * t)),
                          int(std::lround(light.green() + (dark.green() - light.green()) * t)),
                          int(std::lround(light.blue() + (dark.blue() - light.blue()) * t))));
    }
    return table;
}

// A fixed scramble, so that every run weaves the same cloth.
qreal grain(quint32 n)
{
    n ^= n >> 16;
    n *= 0x7feb352du;
    n ^= n >> 15;
    n *= 0x846ca68bu;
    n ^= n >> 16;
    return qreal(n & 0xffff) / 0xffff;
}

// A plain weave: the threads cross over and under in a checker of 2-pixel
// cells, each thread a little lighter or darker than its neighbours, each
// lit along one edge. The slow swell repeats exactly once across the tile
// and the thread counts divide its sides, so the tiles meet without a seam.
QImage weave()
{
    QImage image(DockTextureWidth, DockTextureHeight, QImage::Format_Indexed8);
    image.setColorTable(weavePalette());
    constexpr qreal tau = 2 * std::numbers::pi;
    for (int y = 0; y < DockTextureHeight; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < DockTextureWidth; ++x) {
            if (x % (2 * ThreadWidth) == 0 && y % (2 * ThreadWidth) == 2 * ThreadWidth - 1) {
                line[x] = GapIndex;
                continue;
            }
            const int warp = x / ThreadWidth;
            const int weft = y / ThreadWidth;
            const bool warpOnTop = (warp + weft) % 2 == 0;
            const qreal thread = warpOnTop ? grain(quint32(warp) + 1000) : grain(quint32(weft) + 5000);
            const bool litEdge = (warpOnTop ? x : y) % ThreadWidth == 0;
            const qreal swell = std::sin(tau * x / DockTextureWidth) * std::cos(tau * y / DockTextureHeight);
            const qreal fleck = grain(quint32(y * DockTextureWidth + x) + 9000);
            const qreal tone = 0.42 + 0.22 * (thread - 0.5) + (litEdge ? -0.18 : 0.12) + 0.12 * swell
                + 0.1 * (fleck - 0.5);
            line[x] = uchar(1 + std::clamp(int(tone * ThreadShades), 0, ThreadShades - 1));
        }
    }
    return image;
}

QImage clearBottomLeftColour(QImage image)
{
    const QRgb key = image.pixel(0, image.height() - 1);
    QList<QRgb> table = image.colorTable();
    for (QRgb &colour : table) {
        if (colour == key)
            colour = qRgba(qRed(colour), qGreen(colour), qBlue(colour), 0);
    }
    image.setColorTable(table);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// QToolBar's own painting lays the style's panel over whatever is under it
// (Fusion fills it from the window colour), so the textured bar paints in
// its place and only adds back the grip the bar is moved by.
void drawGrip(QPainter &painter, QToolBar *bar)
{
    auto *window = qobject_cast<QMainWindow *>(bar->parentWidget());
    if (!window || !bar->isMovable())
        return;
    QStyle *style = bar->style();
    QStyleOptionToolBar option;
    option.initFrom(bar);
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.lineWidth = style->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, bar);
    option.features = QStyleOptionToolBar::Movable;
    option.toolBarArea = window->toolBarArea(bar);
    if (bar->isWindow())
        style->drawPrimitive(QStyle::PE_FrameMenu, &option, &painter, bar);
    option.rect = style->subElementRect(QStyle::SE_ToolBarHandle, &option, bar);
    if (option.rect.isValid())
        style->drawPrimitive(QStyle::PE_IndicatorToolBarHandle, &option, &painter, bar);
}

class TexturePainter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        auto *bar = qobject_cast<QToolBar *>(widget);
        {
            QPainter painter(widget);
            painter.fillRect(widget->rect(), QBrush(dockTexture()));
            if (bar)
                drawGrip(painter, bar);
        }
        // Anything else draws its own parts (a dock's title) over the tile.
        return bar != nullptr;
    }
};

const QString PainterName = QStringLiteral("vespin.dockTexture");

} // namespace

QPixmap dockTexture()
{
    static const QString key = QStringLiteral("vespin.dockTexture");
    QPixmap texture;
    if (!QPixmapCache::find(key, &texture)) {
        texture = QPixmap::fromImage(clearBottomLeftColour(weave()));
        QPixmapCache::insert(key, texture);
    }
    return texture;
}

void applyDockTexture(QWidget *toolbarOrDock, bool on)
{
    if (!toolbarOrDock)
        return;
    QObject *painter = toolbarOrDock->findChild<QObject *>(PainterName, Qt::FindDirectChildrenOnly);
    if (on == (painter != nullptr))
        return;
    if (on) {
        painter = new TexturePainter(toolbarOrDock);
        painter->setObjectName(PainterName);
        toolbarOrDock->installEventFilter(painter);
    } else {
        delete painter;
    }
    toolbarOrDock->update();
}

} // namespace vespin
