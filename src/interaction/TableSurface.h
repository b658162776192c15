#pragma once

#include "vespin.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

namespace vespin {

// The widget the table is drawn on. The card library draws into its backing
// image at once; the widget then copies the touched area to the screen.
//
// The backing image is in table pixels: table point (x, y) is shown at widget
// point (x, y - tableTop). That translation lives here and nowhere else.
class TableSurface : public QWidget {
    Q_OBJECT
public:
    explicit TableSurface(QWidget *parent = nullptr);
    ~TableSurface() override;

    // The handle the card library draws on.
    VespinSurface *handle() { return m_surface.get(); }

    void setTableTop(int tableTop);
    int tableTop() const { return m_tableTop; }
    void setTableColour(const QColor &colour);
    QColor tableColour() const { return m_colour; }

    // The table painter: draws the whole table through the card library onto
    // a surface that has just been filled with the table colour.
    void setPainter(std::function<void()> paintTable) { m_paintTable = std::move(paintTable); }

    // Fills the table with its colour and paints it afresh, at once; the
    // window shows the result with its next update, together with whatever
    // is drawn on the table before then (a deal's cards).
    void refresh();

    QPoint toTable(QPoint widgetPoint) const { return widgetPoint + QPoint(0, m_tableTop); }
    QPoint toWidget(QPoint tablePoint) const { return tablePoint - QPoint(0, m_tableTop); }
    // The backing image, for tests and benchmarks: what the table shows.
    const QImage &backingImage() const { return m_image; }

signals:
    void mousePressed(Qt::MouseButton button, QPoint tablePoint);
    void mouseMoved(QPoint tablePoint);
    void mouseReleased(Qt::MouseButton button, QPoint tablePoint);
    void mouseDoubleClicked(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    static void touched(void *owner, int x, int y, int width, int height);
    bool backingFits() const;
    void allocate();
    void paintAfresh();

    std::unique_ptr<VespinSurface> m_surface;
    QImage m_image;
    QColor m_colour;
    int m_tableTop = 0;
    bool m_painting = false;
    std::function<void()> m_paintTable;
};

} // namespace vespin
