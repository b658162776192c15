#include "TableSurface.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace vespin {

TableSurface::TableSurface(QWidget *parent)
    : QWidget(parent), m_surface(std::make_unique<VespinSurface>()), m_colour(0, 128, 0)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    m_surface->owner = this;
    m_surface->changed = &TableSurface::touched;
    m_surface->devicePixelRatio = 1.0;
    m_surface->background = m_colour.rgba();
}

TableSurface::~TableSurface() = default;

void TableSurface::setTableTop(int tableTop)
{
    m_tableTop = tableTop;
}

void TableSurface::setTableColour(const QColor &colour)
{
    m_colour = colour;
    m_surface->background = colour.rgba();
}

bool TableSurface::backingFits() const
{
    const qreal ratio = devicePixelRatioF();
    const QSize logical(width(), height() + m_tableTop);
    const QSize device(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio)));
    return !m_image.isNull() && m_image.size() == device && m_image.devicePixelRatio() == ratio;
}

void TableSurface::allocate()
{
    const qreal ratio = devicePixelRatioF();
    const QSize logical(std::max(1, width()), std::max(1, height() + m_tableTop));
    m_image = QImage(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio)),
                     QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(ratio);
    m_surface->bits = m_image.bits();
    m_surface->width = m_image.width();
    m_surface->height = m_image.height();
    m_surface->bytesPerLine = int(m_image.bytesPerLine());
    m_surface->devicePixelRatio = ratio;
}

void TableSurface::paintAfresh()
{
    if (!backingFits())
        allocate();
    m_image.fill(m_colour);
    m_surface->itemCount = 0;
    // The whole widget is shown afterwards; reports of single cards would
    // only queue the same work again.
    m_painting = true;
    if (m_paintTable)
        m_paintTable();
    m_painting = false;
}

void TableSurface::refresh()
{
    paintAfresh();
    update();
}

void TableSurface::touched(void *owner, int x, int y, int width, int height)
{
    auto *self = static_cast<TableSurface *>(owner);
    if (!self->m_painting)
        self->update(QRect(self->toWidget(QPoint(x, y)), QSize(width, height)));
}

void TableSurface::paintEvent(QPaintEvent *event)
{
    // First show, or a new screen: the table must be painted afresh before
    // it can be copied.
    if (!backingFits())
        paintAfresh();
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(toWidget(QPoint(0, 0)), m_image);
}

void TableSurface::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A resized widget is painted whole anyway; the table only needs drawing.
    if (isVisible())
        paintAfresh();
}

void TableSurface::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ScreenChangeInternal)
        update();
}

void TableSurface::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event->button(), toTable(event->position().toPoint()));
}

void TableSurface::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(toTable(event->position().toPoint()));
}

void TableSurface::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event->button(), toTable(event->position().toPoint()));
}

void TableSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a press as well, reported after
    // the double click itself.
    emit mouseDoubleClicked(event->button());
    mousePressEvent(event);
}

} // namespace vespin
